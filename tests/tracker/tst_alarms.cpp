#include "fakes.h"
#include "mainwindowfixture.h"
#include "testhelpers.h"
#include "core/tracker/listviewstream.h"
#include "ui/tracker/alarmpages.h"
#include "ui/tracker/alarmsetdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QScopeGuard>

#include <memory>

// The alarm lists and the clock on the tracker's two alarm pages, driven
// with a pinned clock, a scripted alarm dialog and a recording player.
class TestAlarms : public QObject
{
    Q_OBJECT

private:
    struct Dialog
    {
        bool ok = true;
        QTime time{21, 30};
        enum { Daily, Weekly, Fixed } kind = Daily;
        QList<bool> days = QList<bool>(7, false);
        QDate date;
    };

    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<QWidget> m_bed;
    std::unique_ptr<QWidget> m_feed;
    std::unique_ptr<AlarmPages> m_alarms;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_sounds;
    QList<Dialog> m_script;
    int m_dialogsShown = 0;

    QString folder(const QString &name) const
    {
        const QString path = m_dir->filePath(name) + QLatin1Char('/');
        QDir().mkpath(path);
        return path;
    }
    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void put(const QString &path, const QByteArray &content)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QStringList captions(const QTreeWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(0);
        return out;
    }
    static Dialog daily(int hour, int minute)
    {
        Dialog d;
        d.time = QTime(hour, minute);
        return d;
    }
    void add(QPushButton *button, const Dialog &d)
    {
        m_script.append(d);
        button->click();
    }

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void controlsAreNamed();
    void dailyEntryFileBytes();
    void weeklyAndFixedDateEntries();
    void weeklyWithoutDaysAddsNothing();
    void newestFirstAndDelete();
    void cancelStillRewrites();
    void feedingAddLeavesBedTimesAlone();
    void bindingEmptiesListsWithoutFiles();
    void uncheckedStateIsSavedWithTheList();
    void damagedFileIsKeptBeforeTheFirstSave();
    void unwritableFolderReportsAndKeepsTheList();
    void clickDrawsTheSleepCycle();
    void playButtons();
    void clockRingsAndStops();
    void stopThenNextMatchingMinute();
    void snoozeRingsAgainAfterFiveMinutes();
    void clockRunsFromTheStart();
    void alarmSetDialog();
    void silentAlarmShowsItself();
    void untickedEntryIsWrittenWhenEditedListsAreSaved();
    void secondDeleteRemovesNothing();
    void longDateCaptionKeepsItsTime();
    void listOfAnotherLanguageRingsAndIsWrittenBack();
    void amAndPmKeysInTheAlarmTime();
};

void TestAlarms::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_sounds = QFINDTESTDATA("../../sounds");
    QVERIFY(!m_sounds.isEmpty());
}

void TestAlarms::init()
{
    m_fakes = std::make_unique<FakeServices>();
    m_fakes->clock.set(QDateTime(QDate(2024, 1, 5), QTime(10, 15, 42)));
    m_bed = std::make_unique<QWidget>();
    m_feed = std::make_unique<QWidget>();
    m_bed->resize(800, 460);
    m_feed->resize(800, 460);
    m_alarms = std::make_unique<AlarmPages>(m_bed.get(), m_feed.get(), m_fakes->services());
    m_alarms->soundFolder = QDir(m_sounds).absolutePath() + QLatin1Char('/');
    m_dir = std::make_unique<QTemporaryDir>();
    m_script.clear();
    m_dialogsShown = 0;
    m_fakes->dialogs.formAnswer = [this](QDialog &shown) {
        auto &form = dynamic_cast<AlarmSetDialog &>(shown);
        ++m_dialogsShown;
        if (m_script.isEmpty())
            return int(QDialog::Rejected);
        const Dialog d = m_script.takeFirst();
        child<QTimeEdit>(&form, "Bed_Time")->setTime(d.time);
        if (d.kind == Dialog::Weekly) {
            child<QRadioButton>(&form, "Weekly")->click();
            const char *days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
            for (int i = 0; i < 7; ++i)
                child<QCheckBox>(&form, days[i])->setChecked(d.days.at(i));
        } else if (d.kind == Dialog::Fixed) {
            child<QRadioButton>(&form, "FixedDate")->click();
            child<QDateEdit>(&form, "Date_Picker")->setDate(d.date);
        }
        return int(d.ok ? QDialog::Accepted : QDialog::Rejected);
    };
    m_alarms->loadLists(folder(QStringLiteral("Garden")));
}

void TestAlarms::cleanup()
{
    m_alarms.reset();
    m_bed.reset();
    m_feed.reset();
    m_fakes.reset();
    m_dir.reset();
}

void TestAlarms::controlsAreNamed()
{
    for (const char *name : {"List_BedTimes", "Button3", "Button4", "Bed_Sound", "Bed_Play",
                             "Button2"})
        QVERIFY2(m_bed->findChild<QWidget *>(QString::fromLatin1(name)), name);
    for (const char *name : {"List_WakeUp", "Button5", "Button6", "feed_Sound", "wakeup_play",
                             "Alarm_StopButton", "Alarm_SnoozeButton"})
        QVERIFY2(m_feed->findChild<QWidget *>(QString::fromLatin1(name)), name);
    QCOMPARE(listBedTimes(m_alarms.get())->headerItem()->text(0), QStringLiteral("Go to Bed"));
    QCOMPARE(listWakeUp(m_alarms.get())->headerItem()->text(0), QStringLiteral("Get up"));
    QCOMPARE(bedSound(m_alarms.get())->currentText(), QStringLiteral("Silence"));
    QCOMPARE(feedSound(m_alarms.get())->count(), 7);
    QCOMPARE(alarmSnoozeButton(m_alarms.get())->toolTip(), QStringLiteral("Snooze 5 Minutes"));
    QVERIFY(!listBedTimes(m_alarms.get())->accessibleName().isEmpty());
}

void TestAlarms::dailyEntryFileBytes()
{
    add(addBedButton(m_alarms.get()), Dialog{});
    QCOMPARE(captions(listBedTimes(m_alarms.get())), QStringList{QStringLiteral("Daily at 09:30 PM")});
    QByteArray expected = QByteArray::fromHex("01" "01000000" "01" "11000000");
    expected += "Daily at 09:30 PM";
    expected += QByteArray::fromHex("02000000" "05000000");
    expected += "Daily";
    // 5 January 2024 is day 45296; 9:30 PM adds 21.5 / 24.
    expected += QByteArray::fromHex("10000000");
    expected += "45296.8958333333";
    QCOMPARE(bytes(m_alarms->trackedFolder() + QStringLiteral("bedtimes.txt")), expected);
    QVERIFY(listBedTimes(m_alarms.get())->topLevelItem(0)->checkState(0) == Qt::Checked);
}

void TestAlarms::weeklyAndFixedDateEntries()
{
    Dialog weekly;
    weekly.kind = Dialog::Weekly;
    weekly.time = QTime(7, 0);
    weekly.days = {true, false, true, false, true, false, false};
    add(addBedButton(m_alarms.get()), weekly);
    Dialog fixed;
    fixed.kind = Dialog::Fixed;
    fixed.time = QTime(22, 0);
    fixed.date = QDate(2008, 4, 5);
    add(addBedButton(m_alarms.get()), fixed);

    QCOMPARE(captions(listBedTimes(m_alarms.get())),
             (QStringList{QStringLiteral("Saturday April, 5, 2008 at 10:00 PM"),
                          QStringLiteral("Mon Wed Fri at 07:00 AM")}));
    ListViewData data;
    QVERIFY(loadListView(&data, m_alarms->trackedFolder() + QStringLiteral("bedtimes.txt")).clean);
    QCOMPARE(data.items.at(1).subItems.at(0), QStringLiteral("Mon Wed Fri "));
    QCOMPARE(data.items.at(0).subItems.at(0), QStringLiteral("Saturday April, 5, 2008"));
    // The time value keeps the day the dialog was opened, not the fixed date.
    QCOMPARE(data.items.at(0).subItems.at(1), QStringLiteral("45296.9166666667"));
}

void TestAlarms::weeklyWithoutDaysAddsNothing()
{
    const QString file = m_alarms->trackedFolder() + QStringLiteral("bedtimes.txt");
    Dialog weekly;
    weekly.kind = Dialog::Weekly;
    add(addBedButton(m_alarms.get()), weekly);
    QCOMPARE(m_fakes->dialogs.messages, QStringList{QStringLiteral("No Days of the Week Selected")});
    QCOMPARE(listBedTimes(m_alarms.get())->topLevelItemCount(), 0);
    QCOMPARE(bytes(file), QByteArray("<missing>"));
}

void TestAlarms::newestFirstAndDelete()
{
    add(addBedButton(m_alarms.get()), daily(21, 0));
    add(addBedButton(m_alarms.get()), daily(22, 0));
    QCOMPARE(captions(listBedTimes(m_alarms.get())),
             (QStringList{QStringLiteral("Daily at 10:00 PM"), QStringLiteral("Daily at 09:00 PM")}));
    listBedTimes(m_alarms.get())->setCurrentItem(listBedTimes(m_alarms.get())->topLevelItem(0));
    deleteBedButton(m_alarms.get())->click();
    QCOMPARE(captions(listBedTimes(m_alarms.get())), QStringList{QStringLiteral("Daily at 09:00 PM")});
    ListViewData data;
    loadListView(&data, m_alarms->trackedFolder() + QStringLiteral("bedtimes.txt"));
    QCOMPARE(data.items.size(), 1);
    add(addBedButton(m_alarms.get()), daily(22, 0));
    QCOMPARE(captions(listBedTimes(m_alarms.get())).first(), QStringLiteral("Daily at 10:00 PM"));

    // Delete with nothing selected deletes nothing but still writes.
    listBedTimes(m_alarms.get())->clearSelection();
    QFile::remove(m_alarms->trackedFolder() + QStringLiteral("bedtimes.txt"));
    deleteBedButton(m_alarms.get())->click();
    QCOMPARE(listBedTimes(m_alarms.get())->topLevelItemCount(), 2);
    QVERIFY(QFile::exists(m_alarms->trackedFolder() + QStringLiteral("bedtimes.txt")));
}

void TestAlarms::cancelStillRewrites()
{
    const QString file = m_alarms->trackedFolder() + QStringLiteral("wakeuptimes.txt");
    Dialog cancel;
    cancel.ok = false;
    add(addFeedButton(m_alarms.get()), cancel);
    QCOMPARE(m_dialogsShown, 1);
    QCOMPARE(bytes(file), QByteArray::fromHex("0100000000"));
}

void TestAlarms::feedingAddLeavesBedTimesAlone()
{
    add(addFeedButton(m_alarms.get()), daily(3, 0));
    QCOMPARE(captions(listWakeUp(m_alarms.get())), QStringList{QStringLiteral("Daily at 03:00 AM")});
    QVERIFY(QFile::exists(m_alarms->trackedFolder() + QStringLiteral("wakeuptimes.txt")));
    QVERIFY(!QFile::exists(m_alarms->trackedFolder() + QStringLiteral("bedtimes.txt")));
}

void TestAlarms::bindingEmptiesListsWithoutFiles()
{
    add(addFeedButton(m_alarms.get()), daily(3, 0));
    add(addBedButton(m_alarms.get()), daily(21, 0));
    const QString other = folder(QStringLiteral("Kitchen"));
    ListViewData bedOnly;
    bedOnly.items.append(ListViewItem{false, QStringLiteral("Sun at 08:00 PM"),
                                      {QStringLiteral("Sun "), QStringLiteral("45000.8333333333")}});
    QVERIFY(saveListView(bedOnly, other + QStringLiteral("bedtimes.txt")).ok);

    m_alarms->saveLists();
    m_alarms->loadLists(other);
    QCOMPARE(captions(listBedTimes(m_alarms.get())), QStringList{QStringLiteral("Sun at 08:00 PM")});
    QVERIFY(listBedTimes(m_alarms.get())->topLevelItem(0)->checkState(0) == Qt::Unchecked);
    QCOMPARE(listWakeUp(m_alarms.get())->topLevelItemCount(), 0);
    QVERIFY(m_alarms->saveLists());
    QCOMPARE(bytes(other + QStringLiteral("wakeuptimes.txt")), QByteArray::fromHex("0100000000"));
    QCOMPARE(bytes(other + QStringLiteral("bedtimes.txt")), encodeListView(bedOnly));

    // Back to the first folder: its entries return (a restart reads the same).
    m_alarms->loadLists(folder(QStringLiteral("Garden")));
    QCOMPARE(captions(listWakeUp(m_alarms.get())), QStringList{QStringLiteral("Daily at 03:00 AM")});
    QCOMPARE(captions(listBedTimes(m_alarms.get())), QStringList{QStringLiteral("Daily at 09:00 PM")});
    QVERIFY(m_fakes->dialogs.errors.isEmpty());
}

void TestAlarms::uncheckedStateIsSavedWithTheList()
{
    add(addBedButton(m_alarms.get()), daily(21, 0));
    const QString file = m_alarms->trackedFolder() + QStringLiteral("bedtimes.txt");
    const QByteArray before = bytes(file);
    listBedTimes(m_alarms.get())->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    QCOMPARE(bytes(file), before); // nothing is written at once
    QVERIFY(m_alarms->saveLists());
    QCOMPARE(bytes(file).at(5), '\0');
}

void TestAlarms::damagedFileIsKeptBeforeTheFirstSave()
{
    const QString other = folder(QStringLiteral("Damaged"));
    const QString file = other + QStringLiteral("bedtimes.txt");
    ListViewData two;
    two.items.append(ListViewItem{true, QStringLiteral("Daily at 09:30 PM"),
                                  {QStringLiteral("Daily"), QStringLiteral("45296.8958333333")}});
    two.items.append(ListViewItem{true, QStringLiteral("Sat at 10:00 PM"),
                                  {QStringLiteral("Sat "), QStringLiteral("45296.9166666667")}});
    const QByteArray whole = encodeListView(two);
    const QByteArray cut = whole.left(whole.size() - 6);
    put(file, cut);

    m_alarms->loadLists(other);
    QCOMPARE(m_fakes->dialogs.errors.size(), 1);
    QVERIFY(m_fakes->dialogs.errors.first().contains(QStringLiteral("bedtimes.txt")));
    QCOMPARE(captions(listBedTimes(m_alarms.get())),
             (QStringList{QStringLiteral("Daily at 09:30 PM"), QStringLiteral("Sat at 10:00 PM")}));

    QVERIFY(m_alarms->saveLists());
    QCOMPARE(bytes(file + QStringLiteral(".damaged")), cut);
    QVERIFY(bytes(file) != cut);
    // Only before the first save.
    QVERIFY(m_alarms->saveLists());
    QVERIFY(!QFile::exists(file + QStringLiteral(".damaged-2")));

    // Random bytes: no crash, and the copy is kept as well.
    put(file, QByteArray::fromHex("FF7F0000FF7F0000FFFF"));
    m_alarms->loadLists(other);
    QVERIFY(m_alarms->saveLists());
    QCOMPARE(bytes(file + QStringLiteral(".damaged-2")), QByteArray::fromHex("FF7F0000FF7F0000FFFF"));
}

void TestAlarms::unwritableFolderReportsAndKeepsTheList()
{
    m_alarms->loadLists(m_dir->filePath(QStringLiteral("gone/")));
    add(addBedButton(m_alarms.get()), daily(21, 0));
    QCOMPARE(listBedTimes(m_alarms.get())->topLevelItemCount(), 1);
    QCOMPARE(m_fakes->dialogs.errors.size(), 1);
    QVERIFY(m_fakes->dialogs.errors.first().contains(QStringLiteral("bedtimes.txt")));
}

void TestAlarms::clickDrawsTheSleepCycle()
{
    QSignalSpy spy(m_alarms.get(), &AlarmPages::sleepCycleRequested);
    m_alarms->showEntryCycle();
    QCOMPARE(spy.count(), 0); // nothing selected
    add(addBedButton(m_alarms.get()), daily(21, 30));
    listBedTimes(m_alarms.get())->topLevelItem(0)->setSelected(true);
    m_alarms->showEntryCycle();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toDouble(), 7.5);
    QCOMPARE(spy.at(0).at(1).toDouble(), 45296.8958333333);

    // A time value that is not a number starts the cycle at day 0.
    listBedTimes(m_alarms.get())->topLevelItem(0)->setData(
        0, Qt::UserRole, QStringList{QStringLiteral("Daily"), QStringLiteral("never")});
    m_alarms->showEntryCycle();
    QCOMPARE(spy.at(1).at(1).toDouble(), 0.0);

    // A click in the feeding list works on the bed-time selection.
    add(addFeedButton(m_alarms.get()), daily(3, 0));
    const QRect row = listWakeUp(m_alarms.get())->visualItemRect(listWakeUp(m_alarms.get())->topLevelItem(0));
    m_feed->show();
    QTest::mouseClick(listWakeUp(m_alarms.get())->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(spy.count(), 3);
}

void TestAlarms::playButtons()
{
    FakeSound &sound = m_fakes->sound;
    bedPlayButton(m_alarms.get())->click();
    QVERIFY(sound.played.isEmpty()); // "Silence" plays nothing
    QCOMPARE(sound.stops, 1);
    QCOMPARE(m_alarms->soundFile, QStringLiteral("Silence.wav"));

    bedSound(m_alarms.get())->setCurrentText(QStringLiteral("Rain"));
    bedPlayButton(m_alarms.get())->click();
    QCOMPARE(sound.playing, m_alarms->soundFolder + QStringLiteral("Rain.wav"));

    feedSound(m_alarms.get())->setCurrentText(QStringLiteral("Klaxon"));
    feedPlayButton(m_alarms.get())->click();
    QCOMPARE(sound.playing, m_alarms->soundFolder + QStringLiteral("Klaxon.wav"));
    stopSoundButton(m_alarms.get())->click();
    QVERIFY(sound.playing.isEmpty());

    // A missing file: the sound stops and nothing plays, without a message.
    feedPlayButton(m_alarms.get())->click();
    m_alarms->soundFolder = m_dir->path() + QLatin1Char('/');
    feedPlayButton(m_alarms.get())->click();
    QVERIFY(sound.playing.isEmpty());
    QVERIFY(m_fakes->dialogs.errors.isEmpty() && m_fakes->dialogs.messages.isEmpty());
}

void TestAlarms::clockRingsAndStops()
{
    FakeSound &sound = m_fakes->sound;
    bedSound(m_alarms.get())->setCurrentText(QStringLiteral("Wind"));
    feedSound(m_alarms.get())->setCurrentText(QStringLiteral("BabyCrying"));
    add(addBedButton(m_alarms.get()), daily(21, 30));
    add(addFeedButton(m_alarms.get()), daily(21, 30));
    listWakeUp(m_alarms.get())->topLevelItem(0)->setCheckState(0, Qt::Unchecked);

    m_fakes->clock.set(QDateTime(QDate(2024, 5, 7), QTime(21, 29, 50)));
    m_alarms->checkAlarms();
    QVERIFY(sound.played.isEmpty());
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 7), QTime(21, 30, 49)));
    m_alarms->checkAlarms();
    QCOMPARE(sound.played, QStringList{m_alarms->soundFolder + QStringLiteral("Wind.wav")});

    // Both lists at once: the feeding sound replaces the bed sound.
    listWakeUp(m_alarms.get())->topLevelItem(0)->setCheckState(0, Qt::Checked);
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 8), QTime(21, 30, 5)));
    m_alarms->checkAlarms();
    QCOMPARE(sound.playing, m_alarms->soundFolder + QStringLiteral("BabyCrying.wav"));

    QDateTime now = m_fakes->clock.now();
    for (int tick = 1; tick <= 58; ++tick) {
        now = now.addSecs(59);
        m_fakes->clock.set(now);
        m_alarms->checkAlarms();
    }
    QVERIFY(!sound.playing.isEmpty());
    m_fakes->clock.set(now.addSecs(59));
    m_alarms->checkAlarms();
    QVERIFY(sound.playing.isEmpty());
    QCOMPARE(m_alarms->ticker.ticks, 0);
}

void TestAlarms::stopThenNextMatchingMinute()
{
    FakeSound &sound = m_fakes->sound;
    feedSound(m_alarms.get())->setCurrentText(QStringLiteral("Chirps"));
    Dialog weekly;
    weekly.kind = Dialog::Weekly;
    weekly.time = QTime(6, 0);
    weekly.days = {true, false, true, false, true, false, false};
    add(addFeedButton(m_alarms.get()), weekly);

    m_fakes->clock.set(QDateTime(QDate(2024, 5, 6), QTime(6, 0, 1))); // Monday
    m_alarms->checkAlarms();
    QVERIFY(!sound.playing.isEmpty());
    alarmStopButton(m_alarms.get())->click();
    QVERIFY(sound.playing.isEmpty());
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 6), QTime(6, 1, 0)));
    m_alarms->checkAlarms();
    QVERIFY(sound.playing.isEmpty());
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 7), QTime(6, 0, 0))); // Tuesday
    m_alarms->checkAlarms();
    QVERIFY(sound.playing.isEmpty());
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 8), QTime(6, 0, 30))); // Wednesday
    m_alarms->checkAlarms();
    QCOMPARE(sound.playing, m_alarms->soundFolder + QStringLiteral("Chirps.wav"));
}

void TestAlarms::snoozeRingsAgainAfterFiveMinutes()
{
    FakeSound &sound = m_fakes->sound;
    feedSound(m_alarms.get())->setCurrentText(QStringLiteral("Buzz"));
    add(addFeedButton(m_alarms.get()), daily(3, 0));
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 7), QTime(3, 0, 10)));
    m_alarms->checkAlarms();
    QVERIFY(!sound.playing.isEmpty());

    alarmSnoozeButton(m_alarms.get())->click();
    QVERIFY(sound.playing.isEmpty());
    QVERIFY(m_alarms->snoozeTimer->isActive());
    QCOMPARE(m_alarms->snoozeTimer->interval(), 5 * 60 * 1000);
    m_alarms->ringSnoozedAlarm();
    QVERIFY(!m_alarms->snoozeTimer->isActive());
    QCOMPARE(sound.playing, m_alarms->soundFolder + QStringLiteral("Buzz.wav"));
    QCOMPARE(m_alarms->ticker.ticks, 1);

    // Snooze, then Stop: nothing comes back.
    alarmSnoozeButton(m_alarms.get())->click();
    alarmStopButton(m_alarms.get())->click();
    QVERIFY(!m_alarms->snoozeTimer->isActive());
    const int plays = sound.played.size();
    m_alarms->ringSnoozedAlarm();
    QCOMPARE(sound.played.size(), plays);

    // Snooze while nothing plays: nothing rings later.
    alarmSnoozeButton(m_alarms.get())->click();
    m_alarms->ringSnoozedAlarm();
    QCOMPARE(sound.played.size(), plays);
    QVERIFY(sound.playing.isEmpty());
}

void TestAlarms::clockRunsFromTheStart()
{
    QVERIFY(m_alarms->alarmClock->isActive());
    QCOMPARE(m_alarms->alarmClock->interval(), 59000);
    QVERIFY(!m_alarms->snoozeTimer->isActive());
}

void TestAlarms::alarmSetDialog()
{
    AlarmSetDialog form(&m_fakes->clock);
    QCOMPARE(form.windowTitle(), QStringLiteral("Alarm Set"));
    QCOMPARE(child<QTimeEdit>(&form, "Bed_Time")->time(), QTime(10, 15));
    QCOMPARE(child<QDateEdit>(&form, "Date_Picker")->date(), QDate(2024, 1, 5));
    QVERIFY(child<QRadioButton>(&form, "Daily")->isChecked());
    QVERIFY(!child<QWidget>(&form, "Weekly_Panel")->isEnabled());
    child<QCheckBox>(&form, "Mon")->setChecked(true);
    child<QRadioButton>(&form, "Weekly")->click();
    QVERIFY(child<QWidget>(&form, "Weekly_Panel")->isEnabled());
    child<QRadioButton>(&form, "FixedDate")->click();
    QVERIFY(!child<QWidget>(&form, "Weekly_Panel")->isEnabled());
    QVERIFY(child<QCheckBox>(&form, "Mon")->isChecked()); // the marks stay while disabled
    child<QTimeEdit>(&form, "Bed_Time")->setTime(QTime(7, 45));
    QCOMPARE(form.timeValue(), 45296.0 + 7.75 / 24);

    // OK and Cancel end the dialog with their results.
    form.show();
    child<QPushButton>(&form, "BitBtn1")->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(!form.isVisible());
    form.show();
    child<QPushButton>(&form, "BitBtn2")->click();
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(!form.isVisible());
}

// With no sound to hear (the sound "Silence" here), a ringing alarm is
// shown: named with its time, highlighted in its list, with Snooze and
// Stop answered from the notification.
void TestAlarms::silentAlarmShowsItself()
{
    FakeAlarmNotifier &notifier = m_fakes->notifier;
    bedSound(m_alarms.get())->setCurrentText(QStringLiteral("Silence"));
    add(addBedButton(m_alarms.get()), daily(22, 0));
    add(addBedButton(m_alarms.get()), daily(21, 30));
    QTreeWidgetItem *entry = listBedTimes(m_alarms.get())->topLevelItem(0);

    m_fakes->clock.set(QDateTime(QDate(2024, 5, 7), QTime(21, 30, 10)));
    m_alarms->checkAlarms();
    QVERIFY(m_fakes->sound.played.isEmpty());
    QCOMPARE(notifier.shown.size(), 1);
    QVERIFY(notifier.showing);
    QVERIFY2(notifier.shown.first().contains(QStringLiteral("09:30 PM")), qPrintable(notifier.shown.first()));
    QVERIFY(notifier.shown.first().contains(QStringLiteral("Daily at 09:30 PM")));
    QVERIFY(m_alarms->isRinging());
    QCOMPARE(m_alarms->ringingEntry(), entry);
    QVERIFY(entry->font(0).bold());
    QVERIFY(entry->background(0).style() != Qt::NoBrush);
    QVERIFY(listBedTimes(m_alarms.get())->topLevelItem(1)->background(0).style() == Qt::NoBrush);
    // Highlighting is not an edit of the list.
    QVERIFY(!m_alarms->isEdited(listBedTimes(m_alarms.get())));

    // A second tick in the same minute rings on without a second notice.
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 7), QTime(21, 30, 59)));
    m_alarms->checkAlarms();
    QCOMPARE(notifier.shown.size(), 1);

    // "Stop" in the notification.
    notifier.stop();
    QVERIFY(!m_alarms->isRinging());
    QVERIFY(!notifier.showing);
    QVERIFY(!entry->font(0).bold());
    QVERIFY(entry->background(0).style() == Qt::NoBrush);

    // "Snooze": the silent alarm comes back after the pause.
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 8), QTime(21, 30, 1)));
    m_alarms->checkAlarms();
    QCOMPARE(notifier.shown.size(), 2);
    notifier.snooze();
    QVERIFY(!notifier.showing);
    QVERIFY(m_alarms->snoozeTimer->isActive());
    m_alarms->ringSnoozedAlarm();
    QCOMPARE(notifier.shown.size(), 3);
    QVERIFY(notifier.showing);
    alarmStopButton(m_alarms.get())->click();
    QVERIFY(!notifier.showing);

    // A feeding alarm with no sound device at all shows itself too.
    m_alarms->soundFolder.clear();
    add(addFeedButton(m_alarms.get()), daily(3, 0));
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 9), QTime(3, 0, 30)));
    m_alarms->checkAlarms();
    QCOMPARE(notifier.shown.size(), 4);
    QCOMPARE(m_alarms->ringingEntry(), listWakeUp(m_alarms.get())->topLevelItem(0));
    // Left ringing, it ends by itself and its notice goes with it.
    QDateTime now = m_fakes->clock.now();
    for (int tick = 0; tick < 60 && notifier.showing; ++tick) {
        now = now.addSecs(59);
        m_fakes->clock.set(now);
        m_alarms->checkAlarms();
    }
    QVERIFY(!notifier.showing);
    QVERIFY(!m_alarms->ringingEntry());
}

// A ticked or unticked entry is a change of the list: the close sequence
// (and the autosave) write it; an untouched list is never written.
void TestAlarms::untickedEntryIsWrittenWhenEditedListsAreSaved()
{
    add(addBedButton(m_alarms.get()), daily(21, 0));
    const QString file = m_alarms->trackedFolder() + QStringLiteral("bedtimes.txt");
    const QString feedFile = m_alarms->trackedFolder() + QStringLiteral("wakeuptimes.txt");
    QVERIFY(!m_alarms->isEdited(listBedTimes(m_alarms.get())));
    listBedTimes(m_alarms.get())->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    QVERIFY(m_alarms->isEdited(listBedTimes(m_alarms.get())));
    QVERIFY(m_alarms->saveEditedLists());
    QCOMPARE(bytes(file).at(5), '\0');
    QVERIFY(!m_alarms->isEdited(listBedTimes(m_alarms.get())));
    QVERIFY(!QFile::exists(feedFile));

    // Saved once, not again: a list changed on disk meanwhile stays.
    put(file, encodeListView(ListViewData{}));
    QVERIFY(m_alarms->saveEditedLists());
    QCOMPARE(bytes(file), QByteArray::fromHex("0100000000"));

    // A write that fails says which file and keeps the change for later.
    listBedTimes(m_alarms.get())->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QVERIFY(QFile::remove(file));
    QVERIFY(QDir().mkpath(file));
    const Result failed = m_alarms->saveEditedLists();
    QVERIFY(!failed);
    QVERIFY2(failed.error.contains(QStringLiteral("bedtimes.txt")), qPrintable(failed.error));
    QVERIFY(m_alarms->isEdited(listBedTimes(m_alarms.get())));
    QVERIFY(m_fakes->dialogs.errors.isEmpty()); // returned, not shown
}

void TestAlarms::secondDeleteRemovesNothing()
{
    add(addBedButton(m_alarms.get()), daily(21, 0));
    add(addBedButton(m_alarms.get()), daily(22, 0));
    add(addBedButton(m_alarms.get()), daily(23, 0));
    listBedTimes(m_alarms.get())->setCurrentItem(listBedTimes(m_alarms.get())->topLevelItem(0));
    deleteBedButton(m_alarms.get())->click();
    QCOMPARE(captions(listBedTimes(m_alarms.get())),
             (QStringList{QStringLiteral("Daily at 10:00 PM"), QStringLiteral("Daily at 09:00 PM")}));
    QVERIFY(listBedTimes(m_alarms.get())->selectedItems().isEmpty());
    deleteBedButton(m_alarms.get())->click();
    QCOMPARE(listBedTimes(m_alarms.get())->topLevelItemCount(), 2);
    QCOMPARE(m_fakes->dialogs.messages.size(), 1);
}

void TestAlarms::longDateCaptionKeepsItsTime()
{
    Dialog fixed;
    fixed.kind = Dialog::Fixed;
    fixed.time = QTime(21, 30);
    fixed.date = QDate(2026, 9, 30);
    add(addBedButton(m_alarms.get()), fixed);
    QTreeWidgetItem *item = listBedTimes(m_alarms.get())->topLevelItem(0);
    const QString caption = QStringLiteral("Wednesday September, 30, 2026 at 09:30 PM");
    QCOMPARE(item->text(0), caption);
    QCOMPARE(item->toolTip(0), caption);
    QCOMPARE(listBedTimes(m_alarms.get())->textElideMode(), Qt::ElideMiddle);
    // In a column narrower than the caption the time stays in view.
    const QFontMetrics metrics(listBedTimes(m_alarms.get())->font());
    const QString shown = metrics.elidedText(caption, listBedTimes(m_alarms.get())->textElideMode(),
                                             metrics.horizontalAdvance(caption) / 2);
    QVERIFY2(shown.endsWith(QStringLiteral("09:30 PM")), qPrintable(shown));
    // Reloaded from the file, it keeps its tooltip.
    m_alarms->loadLists(m_alarms->trackedFolder());
    QCOMPARE(listBedTimes(m_alarms.get())->topLevelItem(0)->toolTip(0), caption);
}

// A list written under German (a date in German, a time value with a
// comma) rings under German, and is written back in the fixed form.
void TestAlarms::listOfAnotherLanguageRingsAndIsWrittenBack()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto english = qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); });
    feedSound(m_alarms.get())->setCurrentText(QStringLiteral("Chirps"));
    const QString other = folder(QStringLiteral("Kitchen"));
    ListViewData old;
    old.items.append(ListViewItem{true, QStringLiteral("Dienstag Mai, 7, 2024 at 09:30 PM"),
                                  {QStringLiteral("Dienstag Mai, 7, 2024"), QStringLiteral("45419,8958333333")}});
    old.items.append(ListViewItem{true, QStringLiteral("Tue at 06:00 AM"),
                                  {QStringLiteral("Tue "), QStringLiteral("45419.25")}});
    QVERIFY(saveListView(old, other + QStringLiteral("wakeuptimes.txt")).ok);
    m_alarms->loadLists(other);
    QVERIFY(m_alarms->isEdited(listWakeUp(m_alarms.get())));

    // Tuesday 7 May 2024: the weekly entry at 6:00, the dated one at 21:30.
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 7), QTime(6, 0, 20)));
    m_alarms->checkAlarms();
    QCOMPARE(m_alarms->ringingEntry(), listWakeUp(m_alarms.get())->topLevelItem(1));
    m_alarms->stopAlarm();
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 7), QTime(21, 30, 20)));
    m_alarms->checkAlarms();
    QCOMPARE(m_alarms->ringingEntry(), listWakeUp(m_alarms.get())->topLevelItem(0));
    m_alarms->stopAlarm();
    // Not at midnight, not a week later.
    m_fakes->clock.set(QDateTime(QDate(2024, 5, 14), QTime(21, 30, 20)));
    m_alarms->checkAlarms();
    QVERIFY(!m_alarms->isRinging());

    QVERIFY(m_alarms->saveEditedLists());
    ListViewData stored;
    QVERIFY(loadListView(&stored, other + QStringLiteral("wakeuptimes.txt")).clean);
    QCOMPARE(stored.items.at(0).subItems,
             (QStringList{QStringLiteral("Tuesday May, 7, 2024"), QStringLiteral("45419.8958333333")}));
    QCOMPARE(stored.items.at(0).caption, QStringLiteral("Tuesday May, 7, 2024 at 09:30 PM"));
    QCOMPARE(stored.items.at(1), old.items.at(1));

    // A new entry made under German is stored in the same fixed form.
    Dialog fixed;
    fixed.kind = Dialog::Fixed;
    fixed.time = QTime(21, 30);
    fixed.date = QDate(2008, 4, 5);
    add(addFeedButton(m_alarms.get()), fixed);
    QVERIFY(loadListView(&stored, other + QStringLiteral("wakeuptimes.txt")).clean);
    QCOMPARE(stored.items.at(0).subItems.at(0), QStringLiteral("Saturday April, 5, 2008"));
    QVERIFY(!stored.items.at(0).subItems.at(1).contains(QLatin1Char(',')));
}

// "a" and "p" choose AM and PM at once; the editor never keeps a half
// typed "A" that turns back into PM.
void TestAlarms::amAndPmKeysInTheAlarmTime()
{
    const auto english = qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); });
    for (const char *name : {"en_US", "de_DE", "ja_JP"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        AlarmSetDialog form(&m_fakes->clock);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        child<QTimeEdit>(&form, "Bed_Time")->setTime(QTime(21, 30));
        child<QTimeEdit>(&form, "Bed_Time")->setFocus();
        child<QTimeEdit>(&form, "Bed_Time")->setCurrentSection(QDateTimeEdit::AmPmSection);
        QTest::keyClick(child<QTimeEdit>(&form, "Bed_Time"), Qt::Key_A);
        QCOMPARE(child<QTimeEdit>(&form, "Bed_Time")->time(), QTime(9, 30));
        QTest::keyClick(child<QTimeEdit>(&form, "Bed_Time"), Qt::Key_A);
        QCOMPARE(child<QTimeEdit>(&form, "Bed_Time")->time(), QTime(9, 30));
        QTest::keyClick(child<QTimeEdit>(&form, "Bed_Time"), Qt::Key_Tab);
        QCOMPARE(child<QTimeEdit>(&form, "Bed_Time")->time(), QTime(9, 30));
        child<QTimeEdit>(&form, "Bed_Time")->setFocus();
        child<QTimeEdit>(&form, "Bed_Time")->setCurrentSection(QDateTimeEdit::HourSection);
        QTest::keyClick(child<QTimeEdit>(&form, "Bed_Time"), Qt::Key_P);
        QCOMPARE(child<QTimeEdit>(&form, "Bed_Time")->time(), QTime(21, 30));
        QVERIFY(child<QTimeEdit>(&form, "Bed_Time")->hasAcceptableInput());
    }
}

QTEST_MAIN(TestAlarms)
#include "tst_alarms.moc"
