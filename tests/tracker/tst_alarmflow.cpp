// The alarm pages and the sleep report inside the real main window: the
// "Time" page header leads to them, the lists follow the project's binding
// and survive a restart, the clock rings from the start, and every save of
// the tracker rewrites the report when the month has readings.
#include "ui/app/mainwindow.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "mainwindowfixture.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "ui/tracker/alarmpages.h"
#include "ui/tracker/alarmsetdialog.h"
#include "ui/tracker/timetracker.h"
#include "ui/tracker/sleepreportwindow.h"

#include <QComboBox>
#include <QDir>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace {

struct AlarmFlowWindow
{
    AlarmFlowWindow() { QDir().mkpath(tmp.path() + QStringLiteral("/Config")); start(); }
    void start()
    {
        fakes.clock.set(QDateTime(QDate(2024, 5, 7), QTime(21, 15)));
        TextFile::writeLines(tmp.path() + QStringLiteral("/Config/departments.txt"),
                             {QStringLiteral("@Home"), QStringLiteral("Garden"), QStringLiteral("Car")});
        form = std::make_unique<MainWindow>(fakes.services(), StartOptions{tmp.path() + QLatin1Char('/'), QString()});
        form->show();
        form->runStartup();
        form->showProjects();
    }
    void restart()
    {
        form->close();
        form.reset();
        start();
    }
    ProjectsSection *projects() const { return form->projectsSection(); }
    ProjectNotebook *book() const { return projects()->notebook(); }
    TimeTracker *tracker() const { return form->projectsSection()->timeTracker(); }
    AlarmPages *alarms() const { return form->projectsSection()->timeTracker()->alarmPages(); }
    void select(const QString &name)
    {
        const QList<QListWidgetItem *> found = departmentList(projects())->findItems(name, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        departmentList(projects())->setCurrentItem(found.first());
    }
    void showTime(const QString &project)
    {
        select(project);
        book()->setCurrentIndex(ProjectNotebook::TimeTab);
    }
    QString folder(const QString &name) const { return form->dataFolder()->projectsDir() + name + QLatin1Char('/'); }
    void answerAlarmSet(QTime time)
    {
        fakes.dialogs.formAnswer = [time](QDialog &shown) {
            auto &dialog = dynamic_cast<AlarmSetDialog &>(shown);
            child<QTimeEdit>(&dialog, "Bed_Time")->setTime(time);
            return int(QDialog::Accepted);
        };
    }

    FakeServices fakes;
    QTemporaryDir tmp;
    std::unique_ptr<MainWindow> form;
};

QStringList captions(const QTreeWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}

} // namespace

class TestAlarmFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void headerButtonsReachThePages()
    {
        AlarmFlowWindow w;
        w.showTime(QStringLiteral("Garden"));
        w.book()->findChild<QToolButton *>(QStringLiteral("btnBed"))->click();
        QCOMPARE(pageStack(w.tracker())->currentWidget(), bedPage(w.tracker()));
        QVERIFY(listBedTimes(w.alarms())->isVisible());
        w.book()->findChild<QToolButton *>(QStringLiteral("btnFeed"))->click();
        QCOMPARE(pageStack(w.tracker())->currentWidget(), feedPage(w.tracker()));
        QVERIFY(alarmSnoozeButton(w.alarms())->isVisible());
        child<QToolButton>(w.book(), "btnChart")->click();
        QCOMPARE(pageStack(w.tracker())->currentIndex(), 1);
        QVERIFY(w.alarms()->alarmClock->isActive());
    }

    void listsFollowTheProjectAndSurviveARestart()
    {
        AlarmFlowWindow w;
        w.showTime(QStringLiteral("Garden"));
        w.answerAlarmSet(QTime(21, 30));
        addBedButton(w.alarms())->click();
        w.answerAlarmSet(QTime(3, 0));
        addFeedButton(w.alarms())->click();
        QCOMPARE(captions(listBedTimes(w.alarms())), QStringList{QStringLiteral("Daily at 09:30 PM")});

        w.select(QStringLiteral("Car"));
        QCOMPARE(listBedTimes(w.alarms())->topLevelItemCount(), 0);
        QCOMPARE(listWakeUp(w.alarms())->topLevelItemCount(), 0);
        QCOMPARE(TextFile::readLines(w.folder(QStringLiteral("Garden")) + QStringLiteral("bedtimes.txt")).value.size(), 1);

        // The next rebinding saves the other project's empty lists.
        w.select(QStringLiteral("Garden"));
        QFile car(w.folder(QStringLiteral("Car")) + QStringLiteral("wakeuptimes.txt"));
        QVERIFY(car.open(QIODevice::ReadOnly));
        QCOMPARE(car.readAll(), QByteArray::fromHex("0100000000"));

        w.restart();
        w.showTime(QStringLiteral("Garden"));
        QCOMPARE(captions(listBedTimes(w.alarms())), QStringList{QStringLiteral("Daily at 09:30 PM")});
        QCOMPARE(captions(listWakeUp(w.alarms())), QStringList{QStringLiteral("Daily at 03:00 AM")});
    }

    void clockRingsTheChosenSound()
    {
        AlarmFlowWindow w;
        w.showTime(QStringLiteral("Garden"));
        w.answerAlarmSet(QTime(21, 30));
        addBedButton(w.alarms())->click();
        bedSound(w.alarms())->setCurrentText(QStringLiteral("Rain"));
        w.fakes.clock.set(QDateTime(QDate(2024, 5, 8), QTime(21, 30, 20)));
        w.alarms()->checkAlarms();
        QVERIFY(w.fakes.sound.playing.endsWith(QStringLiteral("/Rain.wav")));
        alarmStopButton(w.alarms())->click();
        QVERIFY(w.fakes.sound.playing.isEmpty());
    }

    void clickingABedTimeDrawsTheCycle()
    {
        AlarmFlowWindow w;
        w.showTime(QStringLiteral("Garden"));
        w.answerAlarmSet(QTime(21, 30));
        addBedButton(w.alarms())->click();
        listBedTimes(w.alarms())->topLevelItem(0)->setSelected(true);
        w.alarms()->showEntryCycle();
        QCOMPARE(w.tracker()->cycleSeries->count() > 0, true);
    }

    // After a restart the alarms of the project last tracked ring, and
    // show themselves, before the "Time" page is ever opened.
    void alarmsRingAfterARestartWithoutTheTimePage()
    {
        AlarmFlowWindow w;
        w.showTime(QStringLiteral("Car"));
        w.showTime(QStringLiteral("Garden"));
        w.answerAlarmSet(QTime(21, 30));
        addBedButton(w.alarms())->click();
        w.restart();
        QVERIFY(!w.tracker()->sleepRecord.isLoaded());
        QCOMPARE(captions(listBedTimes(w.alarms())), QStringList{QStringLiteral("Daily at 09:30 PM")});
        w.fakes.clock.set(QDateTime(QDate(2024, 5, 8), QTime(21, 30, 5)));
        w.alarms()->checkAlarms();
        QCOMPARE(w.fakes.notifier.shown.size(), 1);
        QVERIFY2(w.fakes.notifier.shown.first().contains(QStringLiteral("Garden")),
                 qPrintable(w.fakes.notifier.shown.first()));
        w.fakes.notifier.stop();
        QVERIFY(!w.alarms()->isRinging());

        // Opening the page binds as before; nothing of Garden goes to Car.
        const QByteArray garden = fileBytes(w.folder(QStringLiteral("Garden")) + QStringLiteral("bedtimes.txt"));
        w.showTime(QStringLiteral("Car"));
        QCOMPARE(listBedTimes(w.alarms())->topLevelItemCount(), 0);
        QCOMPARE(fileBytes(w.folder(QStringLiteral("Garden")) + QStringLiteral("bedtimes.txt")), garden);

        // A name in the file that leads out of the projects folder is
        // not followed.
        TextFile::writeText(w.tracker()->lastTrackedFile(), QStringLiteral("../../Config"));
        w.restart();
        QCOMPARE(listBedTimes(w.alarms())->topLevelItemCount(), 0);
        QVERIFY(w.alarms()->trackedFolder().isEmpty());
    }

    // An alarm ticked off is kept when the program closes, as every
    // other change is.
    void untickingIsSavedAtClose()
    {
        AlarmFlowWindow w;
        w.showTime(QStringLiteral("Garden"));
        w.answerAlarmSet(QTime(21, 30));
        addBedButton(w.alarms())->click();
        listBedTimes(w.alarms())->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        w.restart();
        w.showTime(QStringLiteral("Garden"));
        QCOMPARE(listBedTimes(w.alarms())->topLevelItem(0)->checkState(0), Qt::Unchecked);
        w.fakes.clock.set(QDateTime(QDate(2024, 5, 8), QTime(21, 30, 5)));
        w.alarms()->checkAlarms();
        QVERIFY(w.fakes.notifier.shown.isEmpty());
    }

    void everySaveRewritesTheReport()
    {
        AlarmFlowWindow w;
        const QString readings = w.folder(QStringLiteral("Garden")) + QStringLiteral("Y2024M5/time.txt");
        QDir().mkpath(QFileInfo(readings).path());
        TextFile::writeLines(readings, {QStringLiteral("F=98.6")});
        w.showTime(QStringLiteral("Garden"));
        const QString report = w.form->dataFolder()->buildDir() + QStringLiteral("DedoDurid.html");
        QVERIFY(!QFile::exists(report)); // binding alone saves nothing yet
        w.tracker()->toggleSleepSlot(5, 3);
        QVERIFY(TextFile::readLines(report).value.contains(QStringLiteral("F&nbsp;&nbsp;=&nbsp;98.6 &deg; F")));

        w.book()->findChild<QToolButton *>(QStringLiteral("btnReport"))->click();
        QCOMPARE(w.fakes.shell.opened.last(), report);
    }
};

QTEST_MAIN(TestAlarmFlow)
#include "tst_alarmflow.moc"
