#include "mainwindowfixture.h"

#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/weekcontroller.h"
#include "ui/common/pictures.h"
#include "ui/grid/stringgridview.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/projectssection.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/topics/linenumberedit.h"
#include "ui/topics/splitterbar.h"
#include "ui/topics/listsworkspace.h"
#include "ui/topics/topicworkspace.h"
#include "ui/tracker/alarmpages.h"
#include "ui/tracker/sleepgridview.h"
#include "ui/tracker/timetracker.h"

#include <QChartView>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QDateEdit>
#include <QTreeWidget>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

MainWindowFixture::MainWindowFixture(const QString &dayArgument, const QDateTime &now)
{
    fakes.clock.set(now);
    fakes.shell.documents = m_dir.path() + QStringLiteral("/Documents");
    m_form = std::make_unique<MainWindow>(fakes.services(), StartOptions{root(), dayArgument});
}

MainWindowFixture::~MainWindowFixture()
{
    if (m_form && !m_form->closing())
        m_form->close();
}

void MainWindowFixture::start()
{
    m_form->show();
    m_form->runStartup();
}

void MainWindowFixture::restart(const QString &dayArgument)
{
    m_form->close();
    m_form = std::make_unique<MainWindow>(fakes.services(), StartOptions{root(), dayArgument});
    start();
}

DayNoteColumn *dayColumn(MainWindow *form, int tag)
{
    for (DayNoteColumn *column : form->week()->columns())
        if (column->position == tag)
            return column;
    return nullptr;
}

namespace {

QWidget *topBar(const MainWindow *form)
{
    return child<QWidget>(form, "bar");
}

QWidget *sectionPage(const MainWindow *form, const char *name)
{
    return child<QWidget>(sectionStack(form), name, Qt::FindDirectChildrenOnly);
}

QWidget *projectsListColumn(const ProjectsSection *section)
{
    return child<QWidget>(section, "Panel13", Qt::FindDirectChildrenOnly);
}

QWidget *projectsBottomBar(const ProjectsSection *section)
{
    return child<QWidget>(section, "Panel9", Qt::FindDirectChildrenOnly);
}

// The one control of that name on either alarm page.
template <class T>
T *alarmControl(const AlarmPages *alarms, const char *name)
{
    T *found = nullptr;
    for (QWidget *page : alarms->pages()) {
        if (!page->findChildren<T *>(QString::fromLatin1(name)).isEmpty()) {
            if (found)
                qFatal("\"%s\" is on both alarm pages", name);
            found = child<T>(page, name);
        }
    }
    if (!found)
        qFatal("no \"%s\" on the alarm pages", name);
    return found;
}

} // namespace

QToolButton *previousDayButton(const MainWindow *form)
{
    return child<QToolButton>(topBar(form), "Left", Qt::FindDirectChildrenOnly);
}

QToolButton *nextDayButton(const MainWindow *form)
{
    return child<QToolButton>(topBar(form), "Right", Qt::FindDirectChildrenOnly);
}

QToolButton *calendarButton(const MainWindow *form)
{
    return child<QToolButton>(topBar(form), "Image1", Qt::FindDirectChildrenOnly);
}

QToolButton *projectsButton(const MainWindow *form)
{
    return child<QToolButton>(topBar(form), "Image2", Qt::FindDirectChildrenOnly);
}

QToolButton *listsButton(const MainWindow *form)
{
    return child<QToolButton>(topBar(form), "btnGoals", Qt::FindDirectChildrenOnly);
}

QToolButton *decisionsButton(const MainWindow *form)
{
    return child<QToolButton>(topBar(form), "Image4", Qt::FindDirectChildrenOnly);
}

QDateEdit *datePicker(const MainWindow *form)
{
    return child<QDateEdit>(topBar(form), "Date_Picker", Qt::FindDirectChildrenOnly);
}

QStackedWidget *sectionStack(const MainWindow *form)
{
    return child<QStackedWidget>(form, "pg");
}

QWidget *calendarPage(const MainWindow *form)
{
    return sectionPage(form, "TabSheet1");
}

QWidget *projectsPage(const MainWindow *form)
{
    return sectionPage(form, "TabSheet2");
}

QWidget *listsPage(const MainWindow *form)
{
    return sectionPage(form, "TabSheet14");
}

QWidget *decisionsPage(const MainWindow *form)
{
    return sectionPage(form, "TabSheet3");
}

QLabel *dateLabel(const DayNoteColumn *column)
{
    return child<QLabel>(column, "Date_Label");
}

NoteMemo *noteEdit(const DayNoteColumn *column)
{
    return child<NoteMemo>(column, "Memo1");
}

QToolButton *createFolderButton(const DayNoteColumn *column)
{
    return child<QToolButton>(column, "FolderCreate");
}

QToolButton *openFolderButton(const DayNoteColumn *column)
{
    return child<QToolButton>(column, "FolderOpen");
}

QToolButton *dayPrintButton(const DayNoteColumn *column)
{
    return child<QToolButton>(column, "print_button");
}

QWidget *mainPanel(const TopicWorkspace *workspace)
{
    return child<QWidget>(workspace, "Main_Panel");
}

QToolButton *topicAddButton(const TopicWorkspace *workspace)
{
    return child<QToolButton>(workspace, "Topic_Add_Button");
}

QToolButton *topicDeleteButton(const TopicWorkspace *workspace)
{
    return child<QToolButton>(workspace, "Topic_Delete_Button");
}

QToolButton *topicUpButton(const TopicWorkspace *workspace)
{
    return child<QToolButton>(workspace, "topic_up_button");
}

QToolButton *topicDownButton(const TopicWorkspace *workspace)
{
    return child<QToolButton>(workspace, "topic_down_button");
}

QToolButton *renameTopicButton(const TopicWorkspace *workspace)
{
    return child<QToolButton>(workspace, "renameTopicButton");
}

QListWidget *topicList(const TopicWorkspace *workspace)
{
    return child<QListWidget>(workspace, "Topic_list");
}

QLabel *titleLabel(const TopicWorkspace *workspace)
{
    return child<QLabel>(workspace, "Title_Label");
}

QLabel *projectsLabel(const ProjectsSection *section)
{
    return child<QLabel>(child<QWidget>(projectsListColumn(section), "Panel8", Qt::FindDirectChildrenOnly),
                         "Projects_Label", Qt::FindDirectChildrenOnly);
}

QListWidget *departmentList(const ProjectsSection *section)
{
    return child<QListWidget>(projectsListColumn(section), "Department", Qt::FindDirectChildrenOnly);
}

QToolButton *editButton(const ProjectsSection *section)
{
    return child<QToolButton>(projectsBottomBar(section), "btnEdit", Qt::FindDirectChildrenOnly);
}

QToolButton *deleteButton(const ProjectsSection *section)
{
    return child<QToolButton>(projectsBottomBar(section), "SpeedButton5", Qt::FindDirectChildrenOnly);
}

QToolButton *clearTextButton(const ProjectsSection *section)
{
    return child<QToolButton>(projectsBottomBar(section), "Clear_Label", Qt::FindDirectChildrenOnly);
}

QToolButton *projectPrintButton(const ProjectsSection *section)
{
    return child<QToolButton>(projectsBottomBar(section), "print_button", Qt::FindDirectChildrenOnly);
}

QLabel *folderLabel(const ProjectsSection *section)
{
    return child<QLabel>(projectsBottomBar(section), "Folder_Label", Qt::FindDirectChildrenOnly);
}

StringGridView *moneyGrid(const CostLedgerWidget *ledger)
{
    return child<StringGridView>(ledger, "money");
}

QWidget *ledgerBottomPanel(const CostLedgerWidget *ledger)
{
    return child<QWidget>(ledger, "Panel11", Qt::FindDirectChildrenOnly);
}

ClickLabel *recordLabel(const CostLedgerWidget *ledger)
{
    return child<ClickLabel>(ledger, "Label6");
}

PictureButton *addRowButton(const CostLedgerWidget *ledger)
{
    return child<PictureButton>(ledger, "btnAdd");
}

PictureButton *deleteRowButton(const CostLedgerWidget *ledger)
{
    return child<PictureButton>(ledger, "btnDel");
}

ClickLabel *balanceLabel(const CostLedgerWidget *ledger)
{
    return child<ClickLabel>(ledger, "Balance_Label");
}

QPushButton *calculateButton(const CostLedgerWidget *ledger)
{
    return child<QPushButton>(ledger, "btnBalance");
}

QLabel *ledgerNoteLabel(const CostLedgerWidget *ledger)
{
    return child<QLabel>(ledger, "ledgerNote");
}

QTreeWidget *listBedTimes(const AlarmPages *alarms)
{
    return alarmControl<QTreeWidget>(alarms, "List_BedTimes");
}

QTreeWidget *listWakeUp(const AlarmPages *alarms)
{
    return alarmControl<QTreeWidget>(alarms, "List_WakeUp");
}

QPushButton *addBedButton(const AlarmPages *alarms)
{
    return alarmControl<QPushButton>(alarms, "Button3");
}

QPushButton *deleteBedButton(const AlarmPages *alarms)
{
    return alarmControl<QPushButton>(alarms, "Button4");
}

QPushButton *addFeedButton(const AlarmPages *alarms)
{
    return alarmControl<QPushButton>(alarms, "Button5");
}

QPushButton *deleteFeedButton(const AlarmPages *alarms)
{
    return alarmControl<QPushButton>(alarms, "Button6");
}

QComboBox *bedSound(const AlarmPages *alarms)
{
    return alarmControl<QComboBox>(alarms, "Bed_Sound");
}

QPushButton *bedPlayButton(const AlarmPages *alarms)
{
    return alarmControl<QPushButton>(alarms, "Bed_Play");
}

QPushButton *stopSoundButton(const AlarmPages *alarms)
{
    return alarmControl<QPushButton>(alarms, "Button2");
}

QComboBox *feedSound(const AlarmPages *alarms)
{
    return alarmControl<QComboBox>(alarms, "feed_Sound");
}

QPushButton *feedPlayButton(const AlarmPages *alarms)
{
    return alarmControl<QPushButton>(alarms, "wakeup_play");
}

QPushButton *alarmStopButton(const AlarmPages *alarms)
{
    return alarmControl<QPushButton>(alarms, "Alarm_StopButton");
}

QPushButton *alarmSnoozeButton(const AlarmPages *alarms)
{
    return alarmControl<QPushButton>(alarms, "Alarm_SnoozeButton");
}

QStackedWidget *pageStack(const TimeTracker *tracker)
{
    return child<QStackedWidget>(tracker, "pgSleep");
}

QWidget *bedPage(const TimeTracker *tracker)
{
    return child<QWidget>(pageStack(tracker), "TabSheet6", Qt::FindDirectChildrenOnly);
}

QWidget *feedPage(const TimeTracker *tracker)
{
    return child<QWidget>(pageStack(tracker), "TabSheet1", Qt::FindDirectChildrenOnly);
}

StringGridView *dateChart(const TimeTracker *tracker)
{
    return child<StringGridView>(tracker, "Date_Chart");
}

SleepGridView *sleepChart(const TimeTracker *tracker)
{
    return child<SleepGridView>(tracker, "Sleep_Chart");
}

QLabel *timeLabel(const TimeTracker *tracker)
{
    return child<QLabel>(tracker, "Time_Label");
}

QLabel *sleepLabel(const TimeTracker *tracker)
{
    return child<QLabel>(tracker, "Sleep_Label");
}

QLabel *recentTotalsLabel(const TimeTracker *tracker)
{
    return child<QLabel>(tracker, "Sleep_7");
}

QLabel *yearError(const TimeTracker *tracker)
{
    return child<QLabel>(tracker, "YearError");
}

QLabel *dateLabel(const TimeTracker *tracker)
{
    return child<QLabel>(tracker, "Date_Label");
}

QPlainTextEdit *noteEdit(const TimeTracker *tracker)
{
    return child<QPlainTextEdit>(tracker, "Note");
}

QLabel *rangeLabel(const TimeTracker *tracker)
{
    return child<QLabel>(tracker, "Label_Range");
}

QChartView *cycleChart(const TimeTracker *tracker)
{
    return child<QChartView>(tracker, "Cycle_graph");
}

LineNumberEdit *todoEdit(const ListsWorkspace *lists)
{
    return child<LineNumberEdit>(lists, "todo");
}

QWidget *columnHeader(const DecisionsWorkspace *decisions)
{
    return child<QWidget>(decisions, "Decision_Panel");
}

QLabel *forLabel(const DecisionsWorkspace *decisions)
{
    return child<QLabel>(decisions, "Label1");
}

QLabel *againstLabel(const DecisionsWorkspace *decisions)
{
    return child<QLabel>(decisions, "Against_Label");
}

QStackedWidget *decisionPages(const DecisionsWorkspace *decisions)
{
    return child<QStackedWidget>(decisions, "pgProject");
}

QTabBar *decisionPageTabs(const DecisionsWorkspace *decisions)
{
    return child<QTabBar>(decisions, "pgProjectTabs");
}

QWidget *reasonsPage(const DecisionsWorkspace *decisions)
{
    return child<QWidget>(decisionPages(decisions), "TabSheet5", Qt::FindDirectChildrenOnly);
}

QWidget *donePage(const DecisionsWorkspace *decisions)
{
    return child<QWidget>(decisionPages(decisions), "TabSheet11", Qt::FindDirectChildrenOnly);
}

QWidget *nextStepPage(const DecisionsWorkspace *decisions)
{
    return child<QWidget>(decisionPages(decisions), "TabSheet6", Qt::FindDirectChildrenOnly);
}

QWidget *linksPage(const DecisionsWorkspace *decisions)
{
    return child<QWidget>(decisionPages(decisions), "Tabsheet9", Qt::FindDirectChildrenOnly);
}

QWidget *otherPage(const DecisionsWorkspace *decisions)
{
    return child<QWidget>(decisionPages(decisions), "TabSheet10", Qt::FindDirectChildrenOnly);
}

LineNumberEdit *reasonsForEdit(const DecisionsWorkspace *decisions)
{
    return child<LineNumberEdit>(decisions, "plus");
}

SplitterBar *editSplitter(const DecisionsWorkspace *decisions)
{
    return child<SplitterBar>(decisions, "Edit_Splitter");
}

LineNumberEdit *reasonsAgainstEdit(const DecisionsWorkspace *decisions)
{
    return child<LineNumberEdit>(decisions, "minus");
}

QPlainTextEdit *finalDecisionEdit(const DecisionsWorkspace *decisions)
{
    return child<QPlainTextEdit>(decisions, "made");
}

QPlainTextEdit *doneEdit(const DecisionsWorkspace *decisions)
{
    return child<QPlainTextEdit>(decisions, "Done");
}

QPlainTextEdit *nextStepEdit(const DecisionsWorkspace *decisions)
{
    return child<QPlainTextEdit>(decisions, "NextStep");
}

QToolButton *openLinkButton(const DecisionsWorkspace *decisions)
{
    return child<QToolButton>(decisions, "SpeedButton1");
}

QPlainTextEdit *linksEdit(const DecisionsWorkspace *decisions)
{
    return child<QPlainTextEdit>(decisions, "Links");
}

QPlainTextEdit *otherEdit(const DecisionsWorkspace *decisions)
{
    return child<QPlainTextEdit>(decisions, "Other");
}
