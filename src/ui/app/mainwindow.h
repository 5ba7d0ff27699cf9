#pragma once

#include "ui/platform/services.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class DateCommitter;
class QDateEdit;
class QLabel;
class QMenu;
class QStackedWidget;
class QTimer;
class QToolButton;
class AutoSave;
class SvgPicture;
class DecisionsWorkspace;
class DataFolder;
class ListsWorkspace;
class ProjectsSection;
class SearchIndex;
class SearchNavigator;
class SearchPanel;
class WeekController;

// What the program entry hands to the main window.
struct StartOptions
{
    // The data folder root, ending with "/".
    QString dataRoot;
    // The first positional argument: the start date as a day number.
    QString dayArgument;
};

// The main window: top bar with the section buttons, the arrows and the
// date picker, the page control holding the four sections, the menus, the
// deferred start-up step, the layout on resize and the close sequence.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(const Services &services, const StartOptions &options, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Top bar.
    QToolButton *previousDayButton = nullptr;
    QToolButton *nextDayButton = nullptr;
    QToolButton *calendarButton = nullptr;
    QToolButton *projectsButton = nullptr;
    QToolButton *listsButton = nullptr;
    QToolButton *decisionsButton = nullptr;
    QDateEdit *datePicker = nullptr;

    // Sections.
    QStackedWidget *sections = nullptr;
    QWidget *calendarPage = nullptr;
    QWidget *projectsPage = nullptr;
    QWidget *listsPage = nullptr;
    QWidget *decisionsPage = nullptr;

    // Created by the start-up step; null before it.
    DataFolder *dataFolder() const { return m_dataFolder.get(); }
    WeekController *week() const { return m_week.get(); }
    ListsWorkspace *listsWorkspace() const { return m_listsWorkspace.get(); }
    DecisionsWorkspace *decisionsWorkspace() const { return m_decisionsWorkspace.get(); }

    // The Projects section, filling projectsPage.
    ProjectsSection *projectsSection = nullptr;

    bool started() const { return m_started; }
    bool closing() const { return m_closing; }

    // The start-up step; runs once, from startupTimer or directly.
    void runStartup();
    bool saveAndClose();

    void showCalendar();
    void showProjects();
    void showLists();
    void showDecisions();
    void showSmallCalendar();
    void undoEdit();
    void cutSelection();
    void pasteClipboard();
    void selectAllText();
    // Ctrl+F: the focus goes to the search field.
    void findText();

    void moveWeekBack();
    void moveWeekForward();

    // Sets the picker from code; does not move the week.
    void setPickerDate(double dayNumber);

    // Another start on this data folder asked for this window: comes to
    // the front and, given a day argument, moves the week to that day.
    void showRequestedDay(const QString &dayArgument);

    // Writes every store the close sequence writes, without a question and
    // without closing; each failure's message goes into errors. An edit
    // still open in a ledger cell is finished first only when asked to.
    bool saveEdits(QStringList *errors, bool finishOpenEdits);
    AutoSave *autoSave() const { return m_autoSave; }

    // The session ends or the process was told to end: saves like the
    // close sequence, without questions, and ends the event loop. Returns
    // false when something could not be saved (the messages go to
    // errors).
    bool saveAndEnd(QStringList *errors);
    // The desktop's session manager asks to commit the data before the
    // session ends. Saves; when something could not be saved and the user
    // can be asked, says so and returns false (the logout is cancelled),
    // otherwise ends the program.
    bool commitDataForSessionEnd(bool userCanBeAsked);

Q_SIGNALS:
    // The start-up step has run.
    void startupFinished();

public:

    const Services &services() const { return m_services; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void exitProgram();
    void showPrinterSetup();
    // Ctrl+P: prints what is in front of the user, the day note with the
    // keyboard focus (else the week's first) or the project page shown.
    void printShownPage();
    void copySelection();
    // The date picker settled on a date: the week starts there.
    void showPickedWeek();

private:
    // The layout rules, run on every resize and once after the start-up.
    void applyLayout();
    // Runs the close sequence; false when the window must stay open.
    bool handleCloseRequest();
    // The day number the start-up step starts the week on.
    double startDayNumber() const;
    // The day a day argument names: now without an argument, today for
    // one that names no day the picker can show.
    double dayNumberFor(const QString &dayArgument) const;
    // The automatic save after a pause in typing: saveEdits, with each
    // distinct failure reported once.
    void autoSaveEdits();
    void createTopBar();
    void createPages();
    void createMenus();
    void placeNextDayButton();
    void packDayPanels();
    void reportWeekError(bool ok, const QString &error);
    // Shows the week's first day in the picker after a move, done or not.
    void showWeekInPicker();
    bool closeTopicWorkspaces();
    QWidget *focusedEditor() const;
    // The search field at the right of the top bar, left of ">".
    void placeSearchField();

    Services m_services;
    StartOptions m_options;
    // Top bar: its background picture and the captions under the section
    // buttons.
    SvgPicture *m_bar = nullptr;
    QLabel *m_calendarCaption = nullptr;
    QLabel *m_projectsCaption = nullptr;
    QLabel *m_listsCaption = nullptr;
    QLabel *m_decisionsCaption = nullptr;
    // The page of the section stack that no control selects.
    QWidget *m_emptyPage = nullptr;
    // The hosts of the seven day columns, left to right (the column
    // positions 1 to 7).
    QList<QWidget *> m_dayColumnHosts;
    // The panels the lists and decisions workspaces are embedded in.
    QWidget *m_listsHost = nullptr;
    QWidget *m_decisionsHost = nullptr;
    // Runs the start-up step once, a second after the window was created.
    QTimer *m_startupTimer = nullptr;
    // Created by the start-up step. Declared before m_central: members go
    // in reverse order, so the data folder and the week outlive every
    // widget that refers to them.
    std::unique_ptr<DataFolder> m_dataFolder;
    std::unique_ptr<WeekController> m_week;
    // The central widget holding the sections. The window holds it as its
    // child as well; owned here, it is destroyed with the members, before
    // the ones declared above it.
    std::unique_ptr<QWidget> m_central;
    // The workspaces hosted in the lists and decisions pages (children of
    // widgets in m_central, so declared after it and destroyed first);
    // the close sequence destroys them earlier.
    std::unique_ptr<ListsWorkspace> m_listsWorkspace;
    std::unique_ptr<DecisionsWorkspace> m_decisionsWorkspace;
    DateCommitter *m_pickerCommitter = nullptr;
    bool m_closing = false;
    bool m_started = false;
    bool m_closed = false;
    AutoSave *m_autoSave = nullptr;
    // The search over every note: its field and results, the index it
    // reads (made by the start-up step), and the way to a result's place.
    SearchPanel *m_searchPanel = nullptr;
    SearchIndex *m_searchIndex = nullptr;
    std::unique_ptr<SearchNavigator> m_searchNavigator;
    // The autosave failure last shown; the same failure is not shown again.
    QString m_autoSaveReported;
};
