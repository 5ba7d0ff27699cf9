#pragma once

#include "ui/platform/services.h"

#include <QDate>
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
class FileChangeWatcher;
class ListsWorkspace;
class ProjectsSection;
class SnapshotKeeper;
class SearchIndex;
class SearchNavigator;
class SearchPanel;
class WeekController;
struct Result;

// What the program entry hands to the main window.
struct StartOptions
{
    // The data folder root, ending with "/".
    QString dataRoot;
    // The first positional argument: the start date as a day number.
    QString dayArgument;
    // The folder given with --backup-dir; empty for the chosen or default one.
    QString backupDir;
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

    // Created by the start-up step; null before it.
    DataFolder *dataFolder() const { return m_dataFolder.get(); }
    WeekController *week() const { return m_week.get(); }
    ListsWorkspace *listsWorkspace() const { return m_listsWorkspace.get(); }
    DecisionsWorkspace *decisionsWorkspace() const { return m_decisionsWorkspace.get(); }

    // The Projects section, filling its page.
    ProjectsSection *projectsSection() const { return m_projectsSection; }

    // The snapshots of the data folder; made by the start-up step.
    SnapshotKeeper *snapshots() const { return m_snapshots.get(); }
    // A snapshot unless one was taken today, taken in the background.
    void takeDailySnapshot();
    // Builds the sections again on the files as they are on disk now,
    // after a restore replaced them (every edit was saved before it).
    void reloadData();

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
    // Follows the files the editors show; created by the start-up step.
    FileChangeWatcher *fileChangeWatcher() const { return m_fileChangeWatcher; }

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
    void changeEvent(QEvent *event) override;
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
    // Shows what the writes since the last call kept as conflict copies.
    void showConflictNotices();
    // File > "Snapshots…".
    void showSnapshots();

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
    // The data-bound parts of the start-up step, also run by reloadData().
    void buildSections(double firstDay);
    // A new Projects section on its page (at start and after a restore).
    void createProjectsSection();
    void placeNextDayButton();
    void packDayPanels();
    void reportWeekError(const Result &moved);
    // Shows the week's first day in the picker after a move, done or not.
    void showWeekInPicker();
    bool closeTopicWorkspaces();
    QWidget *focusedEditor() const;
    // The search field at the right of the top bar, left of ">".
    void placeSearchField();

    Services m_services;
    StartOptions m_options;
    // Top bar.
    QToolButton *m_previousDayButton = nullptr;
    QToolButton *m_nextDayButton = nullptr;
    QToolButton *m_calendarButton = nullptr;
    QToolButton *m_projectsButton = nullptr;
    QToolButton *m_listsButton = nullptr;
    QToolButton *m_decisionsButton = nullptr;
    QDateEdit *m_datePicker = nullptr;
    // Sections.
    QStackedWidget *m_sections = nullptr;
    QWidget *m_calendarPage = nullptr;
    QWidget *m_projectsPage = nullptr;
    QWidget *m_listsPage = nullptr;
    QWidget *m_decisionsPage = nullptr;
    ProjectsSection *m_projectsSection = nullptr;
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
    std::unique_ptr<SnapshotKeeper> m_snapshots;
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
    // Set while reloadData() builds the sections again.
    bool m_reloading = false;
    // The status of the last snapshot, shown in the File menu.
    QAction *m_snapshotStatus = nullptr;
    bool m_snapshotsShown = false;
    // Looks once an hour whether the day's snapshot is still to be taken.
    QTimer *m_dailySnapshotTimer = nullptr;
    QDate m_snapshotFailureToldOn;
    AutoSave *m_autoSave = nullptr;
    FileChangeWatcher *m_fileChangeWatcher = nullptr;
    // Conflict copies made by writes and not yet shown.
    QStringList m_conflictNotices;
    // The search over every note: its field and results, the index it
    // reads (made by the start-up step), and the way to a result's place.
    SearchPanel *m_searchPanel = nullptr;
    SearchIndex *m_searchIndex = nullptr;
    std::unique_ptr<SearchNavigator> m_searchNavigator;
    // The autosave failure last shown; the same failure is not shown again.
    QString m_autoSaveReported;
};
