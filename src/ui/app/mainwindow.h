#pragma once

#include "ui/platform/services.h"

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
    SvgPicture *bar = nullptr;
    QToolButton *Left = nullptr;
    QToolButton *Right = nullptr;
    QToolButton *Image1 = nullptr;
    QToolButton *Image2 = nullptr;
    QToolButton *btnGoals = nullptr;
    QToolButton *Image4 = nullptr;
    QLabel *shoppingListLabel = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label5 = nullptr;
    QDateEdit *datePicker = nullptr;

    // Sections.
    QStackedWidget *pg = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *TabSheet13 = nullptr;
    QWidget *TabSheet14 = nullptr;
    QWidget *TabSheet3 = nullptr;
    QWidget *Panel1 = nullptr;
    QWidget *Panel2 = nullptr;
    QWidget *Panel3 = nullptr;
    QWidget *Panel4 = nullptr;
    QWidget *Panel5 = nullptr;
    QWidget *Panel6 = nullptr;
    QWidget *Panel7 = nullptr;
    QWidget *pnlGoals = nullptr;
    QWidget *decisionPanel = nullptr;

    QTimer *Timer1 = nullptr;

    // Created by the start-up step.
    DataFolder *dataFolder = nullptr;
    WeekController *Week = nullptr;
    // The Projects section, filling TabSheet2.
    ProjectsSection *projectsSection = nullptr;
    ListsWorkspace *Journal = nullptr;
    DecisionsWorkspace *Decision = nullptr;

    bool started() const { return m_started; }
    bool closing() const { return Closing; }

    // The start-up step; runs once, from Timer1 or directly.
    void Timer1Timer();
    void formResize();
    // Runs the close sequence; false when the window must stay open.
    bool formCloseQuery();
    bool saveAndClose();

    void Exit1Click();
    void Image1Click();
    void Image2Click();
    void btnGoalsClick();
    void Image4Click();
    void PrinterSetup1Click();
    // Ctrl+P: prints what is in front of the user, the day note with the
    // keyboard focus (else the week's first) or the project page shown.
    void printShown();
    void SmallCalendar2Click();
    void Undo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void SelectAll1Click();

    void leftClick();
    void rightClick();
    void datePickerChange();

    // Sets the picker from code; does not move the week.
    void setPickerDate(double dayNumber);

    // The day number the start-up step starts the week on.
    double startDayNumber() const;
    // The day a day argument names: now without an argument, today for
    // one that names no day the picker can show.
    double dayNumberFor(const QString &dayArgument) const;

    // Another start on this data folder asked for this window: comes to
    // the front and, given a day argument, moves the week to that day.
    void showRequestedDay(const QString &dayArgument);

    // Writes every store the close sequence writes, without a question and
    // without closing; each failure's message goes into errors. An edit
    // still open in a ledger cell is finished first only when asked to.
    bool saveEdits(QStringList *errors, bool finishOpenEdits);
    // The automatic save after a pause in typing: saveEdits, with each
    // distinct failure reported once.
    void autoSaveEdits();
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

private:
    void createTopBar();
    void createPages();
    void createMenus();
    void placeRightArrow();
    void packDayPanels();
    void reportWeekError(bool ok, const QString &error);
    // Shows the week's first day in the picker after a move, done or not.
    void showWeekInPicker();
    bool closeTopicWorkspaces();
    QWidget *focusedEditor() const;

    Services m_services;
    StartOptions m_options;
    DateCommitter *m_pickerCommitter = nullptr;
    bool Closing = false;
    bool m_started = false;
    bool m_closed = false;
    AutoSave *m_autoSave = nullptr;
    // The autosave failure last shown; the same failure is not shown again.
    QString m_autoSaveReported;
};
