// The sleep record without a window: names, slots, the year store on disk,
// toggling slots, the running totals and the chart values.
#include "testhelpers.h"
#include "core/common/daynumber.h"
#include "core/common/textfile.h"
#include "core/grid/gridroutines.h"
#include "core/tracker/sleeprecord.h"
#include "core/tracker/sleeptrack.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace SleepTrack;

namespace {


// A record bound to a folder and a date, its year loaded and its grid built
// for the month, as loadDay leaves it.
void bind(SleepRecord &record, const QString &folder, int date)
{
    record.bind(folder, date);
    QVERIFY(record.loadYear(record.year()));
    record.markLoaded();
}

void build(SleepRecord &record, StringGrid &sleep, StringGrid &dates)
{
    record.fillSleepGrid(sleep, dates, lastDayOfMonth(record.year(), record.month()) - 30);
}

int columnOf(const SleepRecord &record, int date)
{
    return date - record.firstDate() + 1;
}

} // namespace

class TestSleepRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void init()
    {
        QVERIFY(m_dir.isValid());
        m_folder = m_dir.path() + QStringLiteral("/Projects/Garden/");
        QVERIFY(QDir().mkpath(m_folder));
    }

    void cleanup()
    {
        QDir(m_dir.path() + QStringLiteral("/Projects")).removeRecursively();
    }

    void slotLabels_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::newRow("first") << 1 << "8 pm";
        QTest::newRow("half") << 2 << "8:30 pm";
        QTest::newRow("before midnight") << 8 << "11:30 pm";
        QTest::newRow("midnight") << 9 << "12 am";
        QTest::newRow("after midnight") << 10 << "12:30 am";
        QTest::newRow("one am") << 11 << "1:00 am";
        QTest::newRow("noon") << 33 << "12:00 pm";
        QTest::newRow("last") << 48 << "7:30 pm";
        QTest::newRow("below the grid") << 49 << "";
        QTest::newRow("header") << 0 << "";
    }

    void slotLabels()
    {
        QFETCH(int, row);
        QFETCH(QString, label);
        QCOMPARE(slotLabel(row), label);
    }

    void hourLabels()
    {
        const QStringList hours = SleepTrack::hourLabels();
        QCOMPARE(hours.size(), 24);
        QCOMPARE(hours.first(), QStringLiteral(" 8 pm"));
        QCOMPARE(hours.at(4), QStringLiteral("12 am"));
        QCOMPARE(hours.at(16), QStringLiteral("12 pm"));
        QCOMPARE(hours.last(), QStringLiteral(" 7 pm"));
    }

    void namesAndMonthEnds()
    {
        QCOMPARE(yearFileName(2024), QStringLiteral("2024-time.txt"));
        QCOMPARE(noteFileName(QDate(2024, 5, 7)), QStringLiteral("Y2024M5D7-note.txt"));
        QCOMPARE(monthKeyOf(QDate(2024, 5, 7)), QStringLiteral("Y2024M5"));
        QCOMPARE(lastDayOfMonth(2024, 2), dayNumberOf(2024, 2, 29));
        QCOMPARE(lastDayOfMonth(2023, 2), dayNumberOf(2023, 2, 28));
        QCOMPARE(lastDayOfMonth(2024, 12), dayNumberOf(2024, 12, 31));
        QCOMPARE(dayOfYear(dayNumberOf(2024, 12, 31)), 366);
        QCOMPARE(dayOfYear(dayNumberOf(2023, 12, 31)), 365);

        SleepRecord record;
        record.bind(m_folder, dayNumberOf(2024, 5, 7) + 0.75);
        QCOMPARE(record.monthKey(), QStringLiteral("Y2024M5"));
        QCOMPARE(record.monthText(), QStringLiteral("May"));
        QCOMPARE(int(record.year()), 2024);
        QCOMPARE(int(record.month()), 5);
        QCOMPARE(int(record.day()), 7);
        QCOMPARE(record.selectedDate(), dayNumberOf(2024, 5, 7) + 0.75);
    }

    // A project that never used the tracker: header texts and dates, every
    // day of a leap year and every slot, and no file written.
    void freshStore()
    {
        SleepRecord record;
        bind(record, m_folder, dayNumberOf(2024, 5, 7));
        const StringGrid &store = record.yearChart;
        QCOMPARE(store.rowCount(), 367);
        QCOMPARE(store.columnCount(), 62);
        QCOMPARE(store.rowCells(0).mid(0, 6),
                 QStringList({"Date", "Farenheit", "Celsius", "BarHeight", "Time", ""}));
        QCOMPARE(store.cell(0, 1), QStringLiteral("January 1"));
        QCOMPARE(store.cell(0, 366), QStringLiteral("December 31"));
        QCOMPARE(record.yearFile(), m_folder + QStringLiteral("2024-time.txt"));
        QVERIFY(QDir(m_folder).isEmpty());

        // A common year has no 366th date.
        SleepRecord common;
        bind(common, m_folder, dayNumberOf(2023, 5, 7));
        QCOMPARE(common.yearChart.cell(0, 365), QStringLiteral("December 31"));
        QCOMPARE(common.yearChart.cell(0, 366), QString());
    }

    void savedHeaderLine()
    {
        SleepRecord record;
        bind(record, m_folder, dayNumberOf(2024, 5, 7));
        QVERIFY(record.saveYear().ok);
        const QStringList lines = TextFile::readLines(record.yearFile()).value;
        QCOMPARE(lines.size(), 367);
        QCOMPARE(lines.first(), QStringLiteral("Date,Farenheit,Celsius,BarHeight,Time") + QString(57, ','));
        QCOMPARE(lines.at(1).left(11), QStringLiteral("\"January 1\""));
    }

    // Year files of the old layout (366 lines of 55 fields) load unchanged
    // and grow to the full store.
    void narrowYearFileStillLoads()
    {
        QStringList lines;
        lines << QStringLiteral("Date,Farenheit,Celsius,BarHeight,Time") + QString(50, ',');
        for (int r = 1; r <= 365; ++r) {
            QStringList cells(55);
            cells[0] = QStringLiteral("\"Day %1\"").arg(r);
            if (r == 128) {
                cells[1] = QStringLiteral("\"May 7\"");
                cells[2] = QStringLiteral("1.0");
                cells[11] = QStringLiteral("*");
                cells[12] = QStringLiteral("*");
            }
            lines << cells.join(QLatin1Char(','));
        }
        QVERIFY(TextFile::writeLines(m_folder + "2024-time.txt", lines).ok);

        SleepRecord record;
        bind(record, m_folder, dayNumberOf(2024, 5, 7));
        QCOMPARE(record.yearChart.rowCount(), 367);
        QCOMPARE(record.yearChart.columnCount(), 62);
        QCOMPARE(record.yearChart.cell(0, 366), QStringLiteral("December 31"));
        QCOMPARE(record.yearChart.cell(0, 5), QStringLiteral("Day 5"));
        QVERIFY(record.isSlotMarked(dayNumberOf(2024, 5, 7), 1));
        QVERIFY(record.isSlotMarked(dayNumberOf(2024, 5, 7), 2));
        QCOMPARE(record.dayTotal(dayNumberOf(2024, 5, 7)), QStringLiteral("1.0"));
        QCOMPARE(record.dayTotal(dayNumberOf(2024, 5, 8)), QString());
    }

    // A damaged year file is reported and never replaced by an empty store.
    void oversizedYearFileIsNotOverwritten()
    {
        QStringList lines;
        lines << QStringList(2000, QStringLiteral("x")).join(QLatin1Char(','));
        QVERIFY(TextFile::writeLines(m_folder + "2024-time.txt", lines).ok);
        const QByteArray before = TextFile::encodeLines(lines);
        SleepRecord record;
        record.bind(m_folder, dayNumberOf(2024, 5, 7));
        const Result refused = record.loadYear(2024);
        QVERIFY(!refused);
        QVERIFY(refused.error.contains(QStringLiteral("2024-time.txt")));
        record.markLoaded();
        QVERIFY(record.saveYear().ok);
        QFile file(m_folder + "2024-time.txt");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    // The year file reads the same in every language: the dates and totals
    // it stores do not follow the desktop's locale; the grid on screen does.
    void storedTextsIgnoreTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        SleepRecord record;
        StringGrid sleep(34, 52), dates(34, 3);
        bind(record, m_folder, dayNumberOf(2024, 5, 7));
        build(record, sleep, dates);
        const int column = columnOf(record, dayNumberOf(2024, 5, 7));
        const int d = dayOfYear(dayNumberOf(2024, 5, 7));
        QVERIFY(record.toggleSlot(sleep, column, 3).valid);
        const QString shown = sleep.cell(column, 0);
        const QString firstDay = record.yearChart.cell(0, 1);
        const QString shortDate = record.yearChart.cell(1, d);
        const QString total = record.yearChart.cell(2, d);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(shown, QStringLiteral("0,5"));
        QCOMPARE(firstDay, QStringLiteral("January 1"));
        QCOMPARE(shortDate, QStringLiteral("May 7"));
        QCOMPARE(total, QStringLiteral("0.5"));
    }

    void toggleWritesTotalAndMark()
    {
        SleepRecord record;
        StringGrid sleep(34, 52), dates(34, 3);
        bind(record, m_folder, dayNumberOf(2024, 5, 7));
        build(record, sleep, dates);
        const int column = columnOf(record, dayNumberOf(2024, 5, 7));
        const int d = dayOfYear(dayNumberOf(2024, 5, 7));

        SleepRecord::Toggle t = record.toggleSlot(sleep, column, 3);
        QVERIFY(t.valid);
        QCOMPARE(t.hours, 0.5);
        QCOMPARE(sleep.cell(column, 0), QStringLiteral("0.5"));
        QCOMPARE(sleep.cell(column, 3), QStringLiteral(" "));
        QCOMPARE(record.yearChart.cell(1, d), QStringLiteral("May 7"));
        QCOMPARE(record.yearChart.cell(2, d), QStringLiteral("0.5"));
        QCOMPARE(record.yearChart.cell(13, d), QStringLiteral("*"));
        QCOMPARE(record.selectedDate(), double(dayNumberOf(2024, 5, 7)));

        t = record.toggleSlot(sleep, column, 3);
        QCOMPARE(t.hours, 0.0);
        QCOMPARE(sleep.cell(column, 0), QStringLiteral("0.0"));
        QCOMPARE(sleep.cell(column, 3), QString());
        QCOMPARE(record.yearChart.cell(2, d), QStringLiteral("0.0"));
        QCOMPARE(record.yearChart.cell(13, d), QString());

        // The slot rows below the visible ones count and are stored too.
        t = record.toggleSlot(sleep, column, 51);
        QCOMPARE(t.hours, 0.5);
        QCOMPARE(record.yearChart.cell(61, d), QStringLiteral("*"));

        QVERIFY(!record.toggleSlot(sleep, 0, 3).valid);
        QVERIFY(!record.toggleSlot(sleep, column, 0).valid);
        QVERIFY(!record.toggleSlot(sleep, column, 52).valid);
    }

    // One hour on each day from 30 April to 7 May: eight days.
    void lastSevenDaysCoverEightDays()
    {
        SleepRecord record;
        StringGrid sleep(34, 52), dates(34, 3);
        bind(record, m_folder, dayNumberOf(2024, 5, 7));
        for (int date = dayNumberOf(2024, 4, 30); date < dayNumberOf(2024, 5, 7); ++date)
            record.yearChart.setCell(2, dayOfYear(date), QStringLiteral("1.0"));
        // A total far outside both ranges is not counted.
        record.yearChart.setCell(2, dayOfYear(dayNumberOf(2024, 3, 1)), QStringLiteral("5.0"));
        build(record, sleep, dates);
        const int column = columnOf(record, dayNumberOf(2024, 5, 7));
        record.toggleSlot(sleep, column, 10);
        const SleepRecord::Toggle t = record.toggleSlot(sleep, column, 11);
        QCOMPARE(t.hours, 1.0);
        QCOMPARE(t.last7, 8.0);
        QCOMPARE(t.last30, 8.0);
    }

    void earlyJanuarySums()
    {
        SleepRecord record;
        StringGrid sleep(34, 52), dates(34, 3);
        bind(record, m_folder, dayNumberOf(2024, 1, 3));
        record.yearChart.setCell(2, 1, QStringLiteral("2.0"));
        record.yearChart.setCell(2, 2, QStringLiteral("3.0"));
        build(record, sleep, dates);
        QCOMPARE(record.firstDate(), dayNumberOf(2024, 1, 1));
        const SleepRecord::Toggle t = record.toggleSlot(sleep, 3, 5);
        QCOMPARE(t.last7, 5.5);
        QCOMPARE(t.last30, 5.5);
    }

    void monthColumns_data()
    {
        QTest::addColumn<QDate>("bound");
        QTest::addColumn<QDate>("column1");
        QTest::addColumn<QDate>("column31");
        QTest::newRow("30-day month") << QDate(2024, 6, 12) << QDate(2024, 5, 31) << QDate(2024, 6, 30);
        QTest::newRow("31-day month") << QDate(2024, 5, 7) << QDate(2024, 5, 1) << QDate(2024, 5, 31);
        QTest::newRow("leap February") << QDate(2024, 2, 10) << QDate(2024, 1, 30) << QDate(2024, 2, 29);
    }

    void monthColumns()
    {
        QFETCH(QDate, bound);
        QFETCH(QDate, column1);
        QFETCH(QDate, column31);
        SleepRecord record;
        StringGrid sleep(34, 52), dates(34, 3);
        bind(record, m_folder, DayNumber::fromDate(bound));
        build(record, sleep, dates);
        QCOMPARE(DayNumber::toDate(record.columnDate(1)), column1);
        QCOMPARE(DayNumber::toDate(record.columnDate(31)), column31);
        // The date header's column c shows the grid's column c + 1.
        QCOMPARE(dates.cell(0, 0), QLocale().dayName(column1.dayOfWeek(), QLocale::ShortFormat));
        QCOMPARE(dates.cell(0, 2), QString::number(column1.day()));
        QCOMPARE(dates.cell(30, 2), QString::number(column31.day()));
    }

    void gridShowsStoredMarks()
    {
        SleepRecord record;
        StringGrid sleep(34, 52), dates(34, 3);
        bind(record, m_folder, dayNumberOf(2024, 5, 7));
        const int d = dayOfYear(dayNumberOf(2024, 5, 9));
        record.yearChart.setCell(2, d, QStringLiteral("1.0"));
        record.yearChart.setCell(10 + 4, d, QStringLiteral("*"));
        record.yearChart.setCell(10 + 5, d, QStringLiteral(" "));
        record.yearChart.setCell(2, d + 1, QStringLiteral(" "));
        build(record, sleep, dates);
        const int column = columnOf(record, dayNumberOf(2024, 5, 9));
        QCOMPARE(sleep.cell(column, 0), QStringLiteral("1.0"));
        QCOMPARE(sleep.cell(column, 4), QStringLiteral(" "));
        QCOMPARE(sleep.cell(column, 5), QString());
        QCOMPARE(sleep.cell(column + 1, 0), QString());
        QCOMPARE(SleepRecord::dayHours(sleep, column), 0.5);
    }

    // Day 366 of a leap year is kept, and December's columns for the first
    // days of January belong to the following year's own file.
    void leapYearEndAndNextJanuary()
    {
        SleepRecord record;
        StringGrid sleep(34, 52), dates(34, 3);
        bind(record, m_folder, dayNumberOf(2024, 12, 20));
        build(record, sleep, dates);
        QCOMPARE(record.columnDate(31), dayNumberOf(2024, 12, 31));
        QCOMPARE(record.columnDate(33), dayNumberOf(2025, 1, 2));

        record.toggleSlot(sleep, 31, 2);
        const SleepRecord::Toggle t = record.toggleSlot(sleep, 33, 4);
        QVERIFY(t.valid);
        QCOMPARE(t.last7, 0.5);
        QCOMPARE(record.selectedDate(), double(dayNumberOf(2025, 1, 2)));
        QCOMPARE(record.yearChart.cell(14, 2), QString());
        QVERIFY(record.saveYear().ok);

        SleepRecord again;
        bind(again, m_folder, dayNumberOf(2024, 12, 1));
        QVERIFY(again.isSlotMarked(dayNumberOf(2024, 12, 31), 2));
        QCOMPARE(again.yearChart.cell(12, 366), QStringLiteral("*"));
        QVERIFY(!again.isSlotMarked(dayNumberOf(2024, 1, 2), 4));

        SleepRecord next;
        bind(next, m_folder, dayNumberOf(2025, 1, 5));
        QVERIFY(next.isSlotMarked(dayNumberOf(2025, 1, 2), 4));
        QCOMPARE(next.dayTotal(dayNumberOf(2025, 1, 2)), QStringLiteral("0.5"));

        // A December grid shows what the next year's file holds.
        StringGrid sleep2(34, 52), dates2(34, 3);
        build(again, sleep2, dates2);
        QCOMPARE(sleep2.cell(33, 4), QStringLiteral(" "));
        QCOMPARE(sleep2.cell(33, 0), QStringLiteral("0.5"));
    }

    // December saves that leave January alone do not create its file.
    void untouchedNextYearIsNotWritten()
    {
        SleepRecord record;
        StringGrid sleep(34, 52), dates(34, 3);
        bind(record, m_folder, dayNumberOf(2024, 12, 20));
        build(record, sleep, dates);
        record.toggleSlot(sleep, 5, 2);
        QVERIFY(record.saveYear().ok);
        QVERIFY(QFile::exists(m_folder + "2024-time.txt"));
        QVERIFY(!QFile::exists(m_folder + "2025-time.txt"));
    }

    void weekdayAverages()
    {
        SleepRecord record;
        bind(record, m_folder, dayNumberOf(2024, 5, 7));
        // Mondays of the range: 8 and 6 hours; one Tuesday at 0.0 counts,
        // Wednesdays never clicked do not.
        record.yearChart.setCell(2, dayOfYear(dayNumberOf(2024, 4, 29)), QStringLiteral("8.0"));
        record.yearChart.setCell(2, dayOfYear(dayNumberOf(2024, 5, 6)), QStringLiteral("6.0"));
        record.yearChart.setCell(2, dayOfYear(dayNumberOf(2024, 4, 30)), QStringLiteral("4.0"));
        record.yearChart.setCell(2, dayOfYear(dayNumberOf(2024, 5, 7)), QStringLiteral("0.0"));
        // A Monday one day before the 31-day range.
        record.yearChart.setCell(2, dayOfYear(dayNumberOf(2024, 4, 6)), QStringLiteral("9.0"));
        const QList<double> averages = record.weekdayAverages(dayNumberOf(2024, 5, 7));
        QCOMPARE(averages.size(), 7);
        QCOMPARE(averages.at(0), 7.0);
        QCOMPARE(averages.at(1), 2.0);
        QCOMPARE(averages.at(2), 0.0);
        QCOMPARE(averages.at(6), 0.0);
    }

    void sleepCycle()
    {
        const double start = dayNumberOf(2024, 5, 7) + 21.0 / 24;
        const QList<QPointF> points = sleepCyclePoints(start);
        QCOMPARE(points.size(), 36);
        QCOMPARE(points.first(), QPointF(start, 1.0));
        QCOMPARE(points.last().y(), 0.5);
        QVERIFY(qAbs(points.last().x() - (start + 8.75 / 24)) < 1e-9);
        const QList<QPointF> wake = wakeUpLine(start, 7.5);
        QCOMPARE(wake.size(), 2);
        QVERIFY(qAbs(wake.first().x() - (start + 7.5 / 24)) < 1e-9);
        QCOMPARE(wake.first().y(), -4.0);
        QCOMPARE(wake.last().y(), 1.0);
        // The wake-up line stands at the 31st point, in the run of -0.5.
        QVERIFY(qAbs(points.at(30).x() - wake.first().x()) < 1e-9);
        QCOMPARE(points.at(30).y(), -0.5);
    }

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

QTEST_GUILESS_MAIN(TestSleepRecord)
#include "tst_sleeprecord.moc"
