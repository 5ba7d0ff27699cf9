#pragma once

#include "ui/app/mainwindow.h"

class DayNoteColumn;
class NoteMemo;
class QDateEdit;
class QLabel;
class QListWidget;
class TopicWorkspace;
class ProjectsSection;
class CostLedgerWidget;
class StringGridView;
class ClickLabel;
class PictureButton;
class QPushButton;
class AlarmPages;
class QComboBox;
class QTreeWidget;
class TimeTracker;
class ListsWorkspace;
class DecisionsWorkspace;
class LineNumberEdit;
class SplitterBar;
class QTabBar;
class SleepGridView;
class QPlainTextEdit;
class QChartView;
class QStackedWidget;
class QToolButton;
#include "fakes.h"
#include "testhelpers.h"

#include <QTemporaryDir>

#include <memory>

// A real main window on a fresh temporary data root with pinned clock,
// fake shell and scripted dialogs. start() runs the start-up step at once.
class MainWindowFixture
{
public:
    explicit MainWindowFixture(const QString &dayArgument = QString(),
                               const QDateTime &now = QDateTime(QDate(2024, 1, 10), QTime(9, 30)));
    ~MainWindowFixture();

    MainWindow *form() const { return m_form.get(); }
    QString root() const { return m_dir.path() + QLatin1Char('/'); }
    QString dbFile(const QString &name) const { return root() + QStringLiteral("DB/") + name; }

    // Runs the start-up step and shows the window.
    void start();
    // Creates a second window on the same data root (a restart).
    void restart(const QString &dayArgument = QString());

    FakeServices fakes;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_form;
};

// The day column showing the given position (0 to 6, the Tag), or null.
DayNoteColumn *dayColumn(MainWindow *form, int tag);

// The main window's controls, found by their object names from the part
// of the window that holds them (several names repeat further down).
QToolButton *previousDayButton(const MainWindow *form);
QToolButton *nextDayButton(const MainWindow *form);
QToolButton *calendarButton(const MainWindow *form);
QToolButton *projectsButton(const MainWindow *form);
QToolButton *listsButton(const MainWindow *form);
QToolButton *decisionsButton(const MainWindow *form);
QDateEdit *datePicker(const MainWindow *form);
// The stack of the four section pages, and the pages.
QStackedWidget *sectionStack(const MainWindow *form);
QWidget *calendarPage(const MainWindow *form);
QWidget *projectsPage(const MainWindow *form);
QWidget *listsPage(const MainWindow *form);
QWidget *decisionsPage(const MainWindow *form);

// A day column's controls, found by their object names.
QLabel *dateLabel(const DayNoteColumn *column);
NoteMemo *noteEdit(const DayNoteColumn *column);
QToolButton *createFolderButton(const DayNoteColumn *column);
QToolButton *openFolderButton(const DayNoteColumn *column);
QToolButton *dayPrintButton(const DayNoteColumn *column);

// A topic workspace's controls, found by their object names.
QWidget *mainPanel(const TopicWorkspace *workspace);
QToolButton *topicAddButton(const TopicWorkspace *workspace);
QToolButton *topicDeleteButton(const TopicWorkspace *workspace);
QToolButton *topicUpButton(const TopicWorkspace *workspace);
QToolButton *topicDownButton(const TopicWorkspace *workspace);
QToolButton *renameTopicButton(const TopicWorkspace *workspace);
QListWidget *topicList(const TopicWorkspace *workspace);
QLabel *titleLabel(const TopicWorkspace *workspace);

// The Projects section's list and bottom-bar controls, found by their
// object names.
QLabel *projectsLabel(const ProjectsSection *section);
QListWidget *departmentList(const ProjectsSection *section);
QToolButton *editButton(const ProjectsSection *section);
QToolButton *deleteButton(const ProjectsSection *section);
QToolButton *clearTextButton(const ProjectsSection *section);
QToolButton *projectPrintButton(const ProjectsSection *section);
QLabel *folderLabel(const ProjectsSection *section);

// The cost ledger's controls, found by their object names.
StringGridView *moneyGrid(const CostLedgerWidget *ledger);
QWidget *ledgerBottomPanel(const CostLedgerWidget *ledger);
ClickLabel *recordLabel(const CostLedgerWidget *ledger);
PictureButton *addRowButton(const CostLedgerWidget *ledger);
PictureButton *deleteRowButton(const CostLedgerWidget *ledger);
ClickLabel *balanceLabel(const CostLedgerWidget *ledger);
QPushButton *calculateButton(const CostLedgerWidget *ledger);
QLabel *ledgerNoteLabel(const CostLedgerWidget *ledger);

// The alarm pages' controls, found by their object names on the two pages.
QTreeWidget *listBedTimes(const AlarmPages *alarms);
QTreeWidget *listWakeUp(const AlarmPages *alarms);
QPushButton *addBedButton(const AlarmPages *alarms);
QPushButton *deleteBedButton(const AlarmPages *alarms);
QPushButton *addFeedButton(const AlarmPages *alarms);
QPushButton *deleteFeedButton(const AlarmPages *alarms);
QComboBox *bedSound(const AlarmPages *alarms);
QPushButton *bedPlayButton(const AlarmPages *alarms);
QPushButton *stopSoundButton(const AlarmPages *alarms);
QComboBox *feedSound(const AlarmPages *alarms);
QPushButton *feedPlayButton(const AlarmPages *alarms);
QPushButton *alarmStopButton(const AlarmPages *alarms);
QPushButton *alarmSnoozeButton(const AlarmPages *alarms);

// The tracker's controls, found by their object names.
QStackedWidget *pageStack(const TimeTracker *tracker);
QWidget *bedPage(const TimeTracker *tracker);
QWidget *feedPage(const TimeTracker *tracker);
StringGridView *dateChart(const TimeTracker *tracker);
SleepGridView *sleepChart(const TimeTracker *tracker);
QLabel *timeLabel(const TimeTracker *tracker);
QLabel *sleepLabel(const TimeTracker *tracker);
QLabel *recentTotalsLabel(const TimeTracker *tracker);
QLabel *yearError(const TimeTracker *tracker);
QLabel *dateLabel(const TimeTracker *tracker);
QPlainTextEdit *noteEdit(const TimeTracker *tracker);
QLabel *rangeLabel(const TimeTracker *tracker);
QChartView *cycleChart(const TimeTracker *tracker);

// The list editor of My Lists.
LineNumberEdit *todoEdit(const ListsWorkspace *lists);

// The Decisions workspace's controls, found by their object names.
QWidget *columnHeader(const DecisionsWorkspace *decisions);
QLabel *forLabel(const DecisionsWorkspace *decisions);
QLabel *againstLabel(const DecisionsWorkspace *decisions);
QStackedWidget *decisionPages(const DecisionsWorkspace *decisions);
QTabBar *decisionPageTabs(const DecisionsWorkspace *decisions);
QWidget *reasonsPage(const DecisionsWorkspace *decisions);
QWidget *donePage(const DecisionsWorkspace *decisions);
QWidget *nextStepPage(const DecisionsWorkspace *decisions);
QWidget *linksPage(const DecisionsWorkspace *decisions);
QWidget *otherPage(const DecisionsWorkspace *decisions);
LineNumberEdit *reasonsForEdit(const DecisionsWorkspace *decisions);
SplitterBar *editSplitter(const DecisionsWorkspace *decisions);
LineNumberEdit *reasonsAgainstEdit(const DecisionsWorkspace *decisions);
QPlainTextEdit *finalDecisionEdit(const DecisionsWorkspace *decisions);
QPlainTextEdit *doneEdit(const DecisionsWorkspace *decisions);
QPlainTextEdit *nextStepEdit(const DecisionsWorkspace *decisions);
QToolButton *openLinkButton(const DecisionsWorkspace *decisions);
QPlainTextEdit *linksEdit(const DecisionsWorkspace *decisions);
QPlainTextEdit *otherEdit(const DecisionsWorkspace *decisions);
