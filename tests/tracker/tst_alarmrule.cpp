#include "core/common/daynumber.h"
#include "core/common/dateformat.h"
#include "core/tracker/alarmrule.h"
#include "core/tracker/listviewstream.h"

#include <QScopeGuard>

#include <QTest>

// When an alarm entry rings, and the clock's tick counter, on a pinned clock.
class TestAlarmRule : public QObject
{
    Q_OBJECT

private:
    static QDateTime at(int y, int m, int d, int h, int min, int s = 0)
    {
        return QDateTime(QDate(y, m, d), QTime(h, min, s));
    }
    // An entry made on some other day at the given time of day.
    static AlarmEntry entry(const QString &schedule, int h, int min, bool checked = true)
    {
        const double value = DayNumber::fromDateTime(at(2020, 2, 3, h, min));
        return AlarmEntry{checked, schedule, AlarmRule::timeValueText(value)};
    }
    static bool rings(const AlarmEntry &e, const QDateTime &now)
    {
        return AlarmRule::matches(e, AlarmRule::nowTexts(now));
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void texts();
    void timeValueReading_data();
    void timeValueReading();
    void dailyRingsEveryDayAtItsMinute();
    void uncheckedNeverRings();
    void weekdaysRingOnTheirDaysOnly();
    void fixedDateRingsOnItsDateOnly();
    void anyLanguage_data();
    void anyLanguage();
    void listsOfTheLocaleAreTurnedIntoTheFixedForm();
    void firstMatchWins();
    void tickCounterStopsAtThe59thTick();
    void matchingAgainRestartsTheCount();
    void bothListsMatchingPlayBoth();
    void retimedEntryRingsAtItsNewMinute();
};

void TestAlarmRule::texts()
{
    const double value = DayNumber::fromDateTime(at(2024, 1, 5, 21, 30));
    QCOMPARE(AlarmRule::timeValueText(value), QStringLiteral("45296.8958333333"));
    QCOMPARE(AlarmRule::timeValueText(45296.0), QStringLiteral("45296"));
    // Stored with a point in every language.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(AlarmRule::timeValueText(45296.5), QStringLiteral("45296.5"));
    QCOMPARE(AlarmRule::fixedDateSchedule(QDate(2008, 4, 5)), QStringLiteral("Saturday April, 5, 2008"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(AlarmRule::formatTime(value), QStringLiteral("09:30 PM"));
    QCOMPARE(AlarmRule::weeklySchedule({true, false, true, false, true, false, false}),
             QStringLiteral("Mon Wed Fri "));
    QCOMPARE(AlarmRule::weeklySchedule({false, false, false, false, false, true, true}),
             QStringLiteral("Sat Sun "));
    QCOMPARE(AlarmRule::weeklySchedule(QList<bool>(7, false)), QString());
    QCOMPARE(AlarmRule::fixedDateSchedule(QDate(2008, 4, 5)),
             QStringLiteral("Saturday April, 5, 2008"));
    QCOMPARE(AlarmRule::caption(QStringLiteral("Mon Wed Fri "), QStringLiteral("07:00 AM")),
             QStringLiteral("Mon Wed Fri at 07:00 AM"));
    const AlarmRule::NowTexts now = AlarmRule::nowTexts(at(2008, 4, 5, 22, 0));
    QCOMPARE(now.time, QStringLiteral("10:00 PM"));
    QCOMPARE(now.day, QStringLiteral("Sat"));
    QCOMPARE(now.date, QStringLiteral("Saturday April, 5, 2008"));
}

void TestAlarmRule::timeValueReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("locale form") << QStringLiteral("45296.8958333333") << 45296.8958333333;
    QTest::newRow("blank around") << QStringLiteral(" 2.5 ") << 2.5;
    QTest::newRow("not a number") << QStringLiteral("soon") << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("infinite") << QStringLiteral("inf") << 0.0;
    QTest::newRow("not a date any more") << QStringLiteral("1e300") << 0.0;
}

void TestAlarmRule::timeValueReading()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(AlarmRule::parseTimeValue(text), value);
}

void TestAlarmRule::dailyRingsEveryDayAtItsMinute()
{
    const AlarmEntry daily = entry(QStringLiteral("Daily"), 21, 30);
    QVERIFY(rings(daily, at(2024, 5, 7, 21, 30)));
    QVERIFY(rings(daily, at(2024, 5, 8, 21, 30, 59)));
    QVERIFY(rings(daily, at(1999, 12, 31, 21, 30, 1)));
    QVERIFY(!rings(daily, at(2024, 5, 7, 21, 31)));
    QVERIFY(!rings(daily, at(2024, 5, 7, 9, 30)));
    // A time value that is not a number rings at midnight.
    AlarmEntry broken{true, QStringLiteral("Daily"), QStringLiteral("x")};
    QVERIFY(rings(broken, at(2024, 5, 7, 0, 0)));
}

void TestAlarmRule::uncheckedNeverRings()
{
    QVERIFY(!rings(entry(QStringLiteral("Daily"), 21, 30, false), at(2024, 5, 7, 21, 30)));
}

void TestAlarmRule::weekdaysRingOnTheirDaysOnly()
{
    const AlarmEntry e = entry(QStringLiteral("Mon Wed Fri "), 7, 0);
    // 6 May 2024 is a Monday.
    const bool expected[] = {true, false, true, false, true, false, false};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(rings(e, at(2024, 5, 6 + i, 7, 0)), expected[i]);
}

// A date rings on that date only, not on the same weekday of other weeks.
void TestAlarmRule::fixedDateRingsOnItsDateOnly()
{
    const AlarmEntry e = entry(AlarmRule::fixedDateSchedule(QDate(2008, 4, 5)), 22, 0);
    QVERIFY(rings(e, at(2008, 4, 5, 22, 0)));
    QVERIFY(!rings(e, at(2008, 4, 12, 22, 0)));
    QVERIFY(!rings(e, at(2024, 5, 11, 22, 0)));
    QVERIFY(!rings(e, at(2008, 4, 6, 22, 0)));
    QVERIFY(!rings(e, at(2008, 4, 5, 21, 59)));
    // Wednesday 2 December does not ring on Wednesday 9 December.
    const AlarmEntry wednesday = entry(AlarmRule::fixedDateSchedule(QDate(2026, 12, 2)), 7, 0);
    QVERIFY(rings(wednesday, at(2026, 12, 2, 7, 0)));
    QVERIFY(!rings(wednesday, at(2026, 12, 9, 7, 0)));
}

// The same entries ring the same whatever the desktop's language, and an
// entry made under one language is stored as under any other.
void TestAlarmRule::anyLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << QStringLiteral("C");
    QTest::newRow("de_DE") << QStringLiteral("de_DE");
    QTest::newRow("fr_FR") << QStringLiteral("fr_FR");
    QTest::newRow("ja_JP") << QStringLiteral("ja_JP");
    QTest::newRow("en_US") << QStringLiteral("en_US");
}

void TestAlarmRule::anyLanguage()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    const auto english = qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); });

    // What an entry made now stores.
    const double value = DayNumber::fromDateTime(at(2024, 1, 5, 21, 30));
    QCOMPARE(AlarmRule::timeValueText(value), QStringLiteral("45296.8958333333"));
    QCOMPARE(AlarmRule::formatTime(value), QStringLiteral("09:30 PM"));
    QCOMPARE(AlarmRule::fixedDateSchedule(QDate(2008, 4, 5)), QStringLiteral("Saturday April, 5, 2008"));
    QCOMPARE(AlarmRule::weeklySchedule({true, false, true, false, true, false, false}),
             QStringLiteral("Mon Wed Fri "));

    // A weekly alarm for today's weekday rings (Tuesday 7 May 2024), and
    // not on other days.
    const AlarmEntry weekly = entry(QStringLiteral("Tue "), 21, 30);
    QVERIFY(AlarmRule::matches(weekly, AlarmRule::nowTexts(at(2024, 5, 7, 21, 30))));
    QVERIFY(!AlarmRule::matches(weekly, AlarmRule::nowTexts(at(2024, 5, 8, 21, 30))));
    AlarmTicker clock;
    QVERIFY(clock.tick({weekly}, {}, at(2024, 5, 7, 21, 30, 10)).playBed);

    // A date and a time value in the stored form ring on their date.
    const AlarmEntry date{true, QStringLiteral("Saturday April, 5, 2008"), QStringLiteral("39543.9166666667")};
    QVERIFY(AlarmRule::matches(date, AlarmRule::nowTexts(at(2008, 4, 5, 22, 0))));
    QVERIFY(!AlarmRule::matches(date, AlarmRule::nowTexts(at(2008, 4, 12, 22, 0))));
    // A time value with a point is never read as midnight.
    QVERIFY(!AlarmRule::matches(AlarmEntry{true, QStringLiteral("Daily"), QStringLiteral("0.9375")},
                                AlarmRule::nowTexts(at(2024, 5, 7, 0, 0))));
    QVERIFY(AlarmRule::matches(AlarmEntry{true, QStringLiteral("Daily"), QStringLiteral("0.9375")},
                               AlarmRule::nowTexts(at(2024, 5, 7, 22, 30))));

    // A date and a time value written in this language's own form (as
    // older lists hold them) are read too.
    const QLocale here;
    const QString localDate = formatDateTime(QStringLiteral("dddd mmmm, d, yyyy"), DayNumber::fromDate(QDate(2008, 4, 5)), here);
    QString localValue = QString::number(39543.9166666667, 'g', 15);
    localValue.replace(QLatin1Char('.'), here.decimalPoint());
    const AlarmEntry local{true, localDate, localValue};
    QVERIFY(AlarmRule::matches(local, AlarmRule::nowTexts(at(2008, 4, 5, 22, 0))));
    QVERIFY(!AlarmRule::matches(local, AlarmRule::nowTexts(at(2008, 4, 12, 22, 0))));
    QCOMPARE(AlarmRule::parseSchedule(localDate).date, QDate(2008, 4, 5));
}

void TestAlarmRule::listsOfTheLocaleAreTurnedIntoTheFixedForm()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto english = qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); });

    ListViewItem old{true, QStringLiteral("Samstag April, 5, 2008 at 10:00 PM"),
                     {QStringLiteral("Samstag April, 5, 2008"), QStringLiteral("39543,9166666667")}};
    QVERIFY(AlarmRule::toStoredForm(&old));
    QCOMPARE(old.subItems, (QStringList{QStringLiteral("Saturday April, 5, 2008"),
                                        QStringLiteral("39543.9166666667")}));
    QCOMPARE(old.caption, QStringLiteral("Saturday April, 5, 2008 at 10:00 PM"));
    QVERIFY(old.checked);
    // Already in the fixed form: left as it is.
    QVERIFY(!AlarmRule::toStoredForm(&old));
    ListViewItem daily{false, QStringLiteral("Daily at 09:30 PM"), {QStringLiteral("Daily"), QStringLiteral("45296.8958333333")}};
    QVERIFY(!AlarmRule::toStoredForm(&daily));
    // Not understood: left as it is.
    ListViewItem odd{false, QStringLiteral("x"), {QStringLiteral("whenever"), QStringLiteral("soon")}};
    QVERIFY(!AlarmRule::toStoredForm(&odd));
    QCOMPARE(odd.subItems.first(), QStringLiteral("whenever"));
}

void TestAlarmRule::firstMatchWins()
{
    const QList<AlarmEntry> list{entry(QStringLiteral("Daily"), 6, 0),
                                 entry(QStringLiteral("Daily"), 7, 0, false),
                                 entry(QStringLiteral("Tue "), 7, 0),
                                 entry(QStringLiteral("Daily"), 7, 0)};
    QCOMPARE(AlarmRule::firstMatch(list, AlarmRule::nowTexts(at(2024, 5, 7, 7, 0))), 2);
    QCOMPARE(AlarmRule::firstMatch(list, AlarmRule::nowTexts(at(2024, 5, 8, 7, 0))), 3);
    QCOMPARE(AlarmRule::firstMatch(list, AlarmRule::nowTexts(at(2024, 5, 8, 8, 0))), -1);
    QCOMPARE(AlarmRule::firstMatch({}, AlarmRule::nowTexts(at(2024, 5, 8, 8, 0))), -1);
}

void TestAlarmRule::tickCounterStopsAtThe59thTick()
{
    const QList<AlarmEntry> bed{entry(QStringLiteral("Daily"), 21, 30)};
    AlarmTicker clock;
    QDateTime now = at(2024, 5, 7, 21, 29, 30);
    AlarmTicker::Actions a = clock.tick(bed, {}, now);
    QVERIFY(!a.playBed && !a.stop);
    QCOMPARE(clock.ticks, 0);

    now = now.addSecs(59); // 21:30:29
    a = clock.tick(bed, {}, now);
    QVERIFY(a.playBed);
    QVERIFY(!a.playFeed);
    QCOMPARE(clock.ticks, 2);

    // 21:31:28 and on: no match any more.
    for (int tick = 1; tick <= 58; ++tick) {
        now = now.addSecs(59);
        a = clock.tick(bed, {}, now);
        QVERIFY(!a.playBed);
        QVERIFY2(!a.stop, qPrintable(QString::number(tick)));
    }
    now = now.addSecs(59);
    a = clock.tick(bed, {}, now);
    QVERIFY(a.stop);
    QCOMPARE(clock.ticks, 0);
    now = now.addSecs(59);
    a = clock.tick(bed, {}, now);
    QVERIFY(!a.stop);
}

void TestAlarmRule::matchingAgainRestartsTheCount()
{
    const QList<AlarmEntry> bed{entry(QStringLiteral("Daily"), 21, 30)};
    AlarmTicker clock;
    // Two ticks in the same minute: both play afresh.
    QVERIFY(clock.tick(bed, {}, at(2024, 5, 7, 21, 30, 0)).playBed);
    QVERIFY(clock.tick(bed, {}, at(2024, 5, 7, 21, 30, 59)).playBed);
    QCOMPARE(clock.ticks, 2);
    clock.fire();
    QCOMPARE(clock.ticks, 1);
}

void TestAlarmRule::bothListsMatchingPlayBoth()
{
    AlarmTicker clock;
    const AlarmTicker::Actions a =
        clock.tick({entry(QStringLiteral("Daily"), 6, 0)}, {entry(QStringLiteral("Daily"), 6, 0)},
                   at(2024, 5, 7, 6, 0));
    QVERIFY(a.playBed);
    QVERIFY(a.playFeed);
}

// The clock remembers the time texts of the values it has seen; an entry
// edited to another time, or another language, must not ring on the old.
void TestAlarmRule::retimedEntryRingsAtItsNewMinute()
{
    QList<AlarmEntry> bed{entry(QStringLiteral("Daily"), 21, 30)};
    AlarmTicker clock;
    QVERIFY(clock.tick(bed, {}, at(2024, 5, 7, 21, 30)).playBed);
    bed[0] = entry(QStringLiteral("Daily"), 22, 0);
    QVERIFY(!clock.tick(bed, {}, at(2024, 5, 8, 21, 30)).playBed);
    QVERIFY(clock.tick(bed, {}, at(2024, 5, 8, 22, 0)).playBed);
    // The same value read in another language: its time text in that
    // language is compared, not the one remembered.
    const QLocale german(QLocale::German, QLocale::Germany);
    const AlarmRule::NowTexts nowInGerman = AlarmRule::nowTexts(at(2024, 5, 9, 22, 0), german);
    QCOMPARE(clock.tick(bed, {}, at(2024, 5, 9, 22, 0), german).playBed,
             AlarmRule::matches(bed[0], nowInGerman, german));
    QVERIFY(clock.tick(bed, {}, at(2024, 5, 9, 22, 0)).playBed);
    // Many different values seen over time do not pile up without end.
    for (int i = 0; i < 6000; ++i)
        clock.tick({AlarmEntry{true, QStringLiteral("Daily"), QString::number(45000 + i / 7000.0, 'f', 9)}}, {},
                   at(2024, 5, 9, 3, 0));
    QVERIFY(clock.tick(bed, {}, at(2024, 5, 10, 22, 0)).playBed);
}

QTEST_GUILESS_MAIN(TestAlarmRule)
#include "tst_alarmrule.moc"
