// The tracker inside the real main window: created at start-up in the
// "Time" page, bound when that page is shown and when a project is chosen
// on it, moving the date picker without moving the week, and switched by
// the page header's "Chart" and "Graph" buttons.
#include "mainwindowfixture.h"
#include "testhelpers.h"
#include "ui/app/mainwindow.h"
#include "ui/calendar/weekcontroller.h"
#include "core/common/daynumber.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "core/grid/stringgrid.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "ui/tracker/sleepgridview.h"
#include "ui/tracker/timetracker.h"

#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {


struct TrackerWindow
{
    TrackerWindow()
    {
        fakes.clock.set(QDateTime(QDate(2024, 5, 7), QTime(21, 15)));
        QDir().mkpath(tmp.path() + QStringLiteral("/Config"));
        TextFile::writeLines(tmp.path() + QStringLiteral("/Config/departments.txt"),
                             {QStringLiteral("@Home"), QStringLiteral("Garden"), QStringLiteral("Car")});
        form = std::make_unique<MainWindow>(fakes.services(), StartOptions{tmp.path() + QLatin1Char('/'), QString()});
        form->show();
        form->runStartup();
        form->showProjects();
    }
    ProjectsSection *projects() const { return form->projectsSection(); }
    ProjectNotebook *book() const { return projects()->notebook(); }
    TimeTracker *tracker() const { return form->projectsSection()->timeTracker(); }
    void select(const QString &name)
    {
        const QList<QListWidgetItem *> found = departmentList(projects())->findItems(name, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        departmentList(projects())->setCurrentItem(found.first());
    }
    QString folder(const QString &name) const { return form->dataFolder()->projectsDir() + name + QLatin1Char('/'); }
    int column(int date) const { return date - tracker()->sleepRecord.firstDate() + 1; }

    FakeServices fakes;
    QTemporaryDir tmp;
    std::unique_ptr<MainWindow> form;
};

} // namespace

class TestTrackerFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void createdAtStartUpUnbound()
    {
        TrackerWindow w;
        QVERIFY(w.tracker());
        QCOMPARE(w.tracker()->parentWidget(), w.book()->trackerHost());
        QVERIFY(!w.tracker()->sleepRecord.isLoaded());
        QCOMPARE(pageStack(w.tracker())->currentIndex(), 1);
        // Unbound, a click marks nothing.
        w.tracker()->toggleSleepSlot(3, 3);
        QCOMPARE(w.tracker()->dayHours(3), 0.0);
    }

    // Showing "Time" binds; choosing another project on it rebinds; a
    // project chosen on another tab binds only when "Time" is shown again.
    void bindingFollowsTheTimePage()
    {
        TrackerWindow w;
        w.select(QStringLiteral("Garden"));
        QVERIFY(!w.tracker()->sleepRecord.isLoaded());
        w.book()->setCurrentIndex(ProjectNotebook::TimeTab);
        QCOMPARE(w.tracker()->sleepRecord.trackedFolder(), w.folder(QStringLiteral("Garden")));
        QCOMPARE(w.tracker()->sleepRecord.selectedDate(), w.fakes.clock.nowDayNumber());

        const int column = w.column(dayNumberOf(2024, 5, 7));
        w.tracker()->toggleSleepSlot(column, 4);
        w.tracker()->toggleSleepSlot(column, 5);

        w.select(QStringLiteral("Car"));
        QCOMPARE(w.tracker()->sleepRecord.trackedFolder(), w.folder(QStringLiteral("Car")));
        QCOMPARE(w.tracker()->dayHours(column), 0.0);
        QVERIFY(QFile::exists(w.folder(QStringLiteral("Garden")) + QStringLiteral("2024-time.txt")));

        w.book()->setCurrentIndex(ProjectNotebook::ToDoTab);
        w.select(QStringLiteral("Garden"));
        QCOMPARE(w.tracker()->sleepRecord.trackedFolder(), w.folder(QStringLiteral("Car")));
        w.book()->setCurrentIndex(ProjectNotebook::TimeTab);
        QCOMPARE(w.tracker()->sleepRecord.trackedFolder(), w.folder(QStringLiteral("Garden")));
        QCOMPARE(w.tracker()->dayHours(column), 1.0);
    }

    void clickMovesThePickerNotTheWeek()
    {
        TrackerWindow w;
        w.select(QStringLiteral("Garden"));
        w.book()->setCurrentIndex(ProjectNotebook::TimeTab);
        const int offset = w.form->week()->offsetFromToday();
        const int column = w.column(dayNumberOf(2024, 5, 20));
        const QRect cell = sleepChart(w.tracker())->visualRect(w.tracker()->sleepGrid.index(10, column));
        QTest::mouseClick(sleepChart(w.tracker())->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QCOMPARE(datePicker(w.form.get())->date(), QDate(2024, 5, 20));
        QCOMPARE(w.form->week()->offsetFromToday(), offset);
        QCOMPARE(sleepLabel(w.tracker())->text(), QStringLiteral("0.5 hours"));
    }

    void headerButtonsSwitchPages()
    {
        TrackerWindow w;
        w.select(QStringLiteral("Garden"));
        w.book()->setCurrentIndex(ProjectNotebook::TimeTab);
        QTest::mouseClick(child<QToolButton>(w.book(), "btnGraph"), Qt::LeftButton);
        QCOMPARE(pageStack(w.tracker())->currentIndex(), 4);
        QCOMPARE(rangeLabel(w.tracker())->text(), QStringLiteral("Apr 7 - May 7"));
        QTest::mouseClick(child<QToolButton>(w.book(), "btnChart"), Qt::LeftButton);
        QCOMPARE(pageStack(w.tracker())->currentIndex(), 1);
    }
};

QTEST_MAIN(TestTrackerFlow)
#include "tst_trackerflow.moc"
