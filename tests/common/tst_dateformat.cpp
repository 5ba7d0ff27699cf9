#include "core/common/dateformat.h"
#include "core/common/daynumber.h"

#include <QTest>

class TestDateFormat : public QObject
{
    Q_OBJECT

private:
    const QLocale us{QLocale::English, QLocale::UnitedStates};
    // Friday 5 January 2024, 21:30:00.
    const QDateTime friday{QDate(2024, 1, 5), QTime(21, 30)};

private Q_SLOTS:
    void dayNumbers_data();
    void dayNumbers();
    void dayNumberFractions();
    void representableRange();
    void patterns_data();
    void patterns();
    void minutesOnlyAfterHour();
    void twelveHourClock_data();
    void twelveHourClock();
    void followsLocale();
    void numberPatterns_data();
    void numberPatterns();
};

void TestDateFormat::dayNumbers_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("number");
    QTest::newRow("epoch") << QDate(1899, 12, 30) << 0;
    QTest::newRow("day before epoch") << QDate(1899, 12, 29) << -1;
    QTest::newRow("1 Jan 1900") << QDate(1900, 1, 1) << 2;
    QTest::newRow("5 Jan 2024") << QDate(2024, 1, 5) << 45296;
    QTest::newRow("leap day") << QDate(2024, 2, 29) << 45351;
    QTest::newRow("last day") << QDate(9999, 12, 31) << 2958465;
}

void TestDateFormat::dayNumbers()
{
    QFETCH(QDate, date);
    QFETCH(int, number);
    QCOMPARE(DayNumber::fromDate(date), number);
    QCOMPARE(DayNumber::toDate(number), date);
}

void TestDateFormat::dayNumberFractions()
{
    QCOMPARE(DayNumber::fromDateTime(QDateTime(QDate(2024, 1, 5), QTime(12, 0))), 45296.5);
    QCOMPARE(DayNumber::toDateTime(45296.75), QDateTime(QDate(2024, 1, 5), QTime(18, 0)));
    // A negative day number with a time of day still belongs to its whole day.
    QCOMPARE(DayNumber::toDate(-0.25), QDate(1899, 12, 29));
    QCOMPARE(DayNumber::wholeDay(45296.999), 45296);
}

void TestDateFormat::representableRange()
{
    QVERIFY(DayNumber::isRepresentable(45296));
    QVERIFY(!DayNumber::isRepresentable(1e12));
    QVERIFY(!DayNumber::isRepresentable(-1e12));
    QVERIFY(!DayNumber::isRepresentable(std::numeric_limits<double>::quiet_NaN()));
    QVERIFY(!DayNumber::isRepresentable(std::numeric_limits<double>::infinity()));
    QVERIFY(!DayNumber::toDate(1e12).isValid());
}

void TestDateFormat::patterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("column caption") << "dddd mmm dd" << "Friday Jan 05";
    QTest::newRow("note file name") << "mmm-dd-yyy" << "Jan-05-2024";
    QTest::newRow("time") << "hh:mm ampm" << "09:30 PM";
    QTest::newRow("d") << "d" << "5";
    QTest::newRow("dd") << "dd" << "05";
    QTest::newRow("ddd") << "ddd" << "Fri";
    QTest::newRow("dddd") << "dddd" << "Friday";
    QTest::newRow("ddddd") << "ddddd" << us.toString(QDate(2024, 1, 5), QLocale::ShortFormat);
    QTest::newRow("dddddd") << "dddddd" << us.toString(QDate(2024, 1, 5), QLocale::LongFormat);
    QTest::newRow("m") << "m" << "1";
    QTest::newRow("mm") << "mm" << "01";
    QTest::newRow("mmm") << "mmm" << "Jan";
    QTest::newRow("mmmm") << "mmmm" << "January";
    QTest::newRow("yy") << "yy" << "24";
    QTest::newRow("yyy") << "yyy" << "2024";
    QTest::newRow("yyyy") << "yyyy" << "2024";
    QTest::newRow("h") << "h" << "21";
    QTest::newRow("hh") << "hh" << "21";
    QTest::newRow("literal characters") << "[d/m] x,y! ." << "[5/1] x,y! .";
    QTest::newRow("uppercase is literal") << "D M Y H" << "D M Y H";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("seven d") << "ddddddd" << us.toString(QDate(2024, 1, 5), QLocale::LongFormat) + "5";
}

void TestDateFormat::patterns()
{
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(formatDateTime(pattern, friday, us), expected);
    // The day-number overload gives the same text.
    QCOMPARE(formatDateTime(pattern, DayNumber::fromDateTime(friday), us), expected);
}

void TestDateFormat::minutesOnlyAfterHour()
{
    const QDateTime t(QDate(2024, 3, 7), QTime(8, 5));
    QCOMPARE(formatDateTime("h:m", t, us), "8:5");
    QCOMPARE(formatDateTime("hh mm", t, us), "08 05");
    // A day or year letter in between ends the hour's claim on "m".
    QCOMPARE(formatDateTime("hh d mm", t, us), "08 7 03");
    // "mmm" is always the month name, even after an hour.
    QCOMPARE(formatDateTime("hh mmm", t, us), "08 Mar");
    // "m" before any hour is the month.
    QCOMPARE(formatDateTime("m/d h:mm", t, us), "3/7 8:05");
}

void TestDateFormat::twelveHourClock_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");
    QTest::newRow("midnight") << QTime(0, 0) << "12:00 AM";
    QTest::newRow("morning") << QTime(9, 7) << "09:07 AM";
    QTest::newRow("noon") << QTime(12, 0) << "12:00 PM";
    QTest::newRow("evening") << QTime(23, 59) << "11:59 PM";
}

void TestDateFormat::twelveHourClock()
{
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    QCOMPARE(formatDateTime("hh:mm ampm", QDateTime(QDate(2024, 1, 5), time), us), expected);
    // The designator switches the hour wherever it stands.
    QCOMPARE(formatDateTime("ampm hh:mm", QDateTime(QDate(2024, 1, 5), time), us),
             expected.right(2) + " " + expected.left(5));
}

void TestDateFormat::followsLocale()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(formatDateTime("dddd mmmm", friday, german), "Freitag Januar");
    QCOMPARE(formatFloat("0.00", 3.14159, german), "3,14");
}

void TestDateFormat::numberPatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one decimal down") << "0.0" << 7.24 << "7.2";
    QTest::newRow("half away from zero") << "0.0" << 7.25 << "7.3";
    QTest::newRow("negative half") << "0.0" << -7.25 << "-7.3";
    QTest::newRow("one decimal up") << "0.0" << 7.26 << "7.3";
    QTest::newRow("two decimals") << "0.00" << 1234.5 << "1234.50";
    QTest::newRow("no group separator") << "0.00" << 1234567.891 << "1234567.89";
    QTest::newRow("negative") << "0.00" << -9.99 << "-9.99";
    QTest::newRow("zero") << "0.0" << 0.0 << "0.0";
}

void TestDateFormat::numberPatterns()
{
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatFloat(pattern, value, us), expected);
}

QTEST_GUILESS_MAIN(TestDateFormat)
#include "tst_dateformat.moc"
