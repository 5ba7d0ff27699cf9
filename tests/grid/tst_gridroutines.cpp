// Row insertion and deletion, the summing routines and the striped cell
// rules over the string grid model.

#include "core/common/daynumber.h"
#include "core/grid/gridroutines.h"
#include "core/grid/stringgrid.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <cfloat>
#include <climits>

namespace {

// A one-column grid: heading row, then the given cells.
void fillColumn(StringGrid &grid, int column, const QStringList &cells)
{
    grid.setRowCount(static_cast<int>(cells.size()) + 1);
    for (int i = 0; i < cells.size(); ++i)
        grid.setCell(column, i + 1, cells.at(i));
}

} // namespace

class TestGridRoutines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void modelIsConsistent();
    void countsNeverDropBelowOne();
    void insertRow();
    void deleteRow_data();
    void deleteRow();
    void deleteRowLeavesHeadingAndOutsideRowsAlone();
    void numericCellTest_data();
    void numericCellTest();
    void sumsSkipUnusableCells();
    void sumLimitsItsRows();
    void sumSkipsOverflow();
    void floorSum();
    void weekdayAverage();
    void weekdayAverageHugeRangeIsQuick();
    void decimalCommaLocale();
    void stripedText();
    void stripedColours();
};

void TestGridRoutines::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestGridRoutines::modelIsConsistent()
{
    StringGrid grid(4, 3);
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.setRowCells(1, {"a", "b", "c", "d"});
    insertGridRow(grid, 1);
    deleteGridRow(grid, 2);
    grid.setColumnCount(6);
    grid.setColumnCount(2);
    grid.setRowCount(10);
    grid.setRowCount(0);
    QVERIFY(loadGridLines(grid, {"a,b,c", "d"}, "x"));
    QCOMPARE(grid.columnCount(), 3);
    QVERIFY(grid.setData(grid.index(1, 2), "typed"));
    QCOMPARE(grid.cell(2, 1), QString("typed"));
}

void TestGridRoutines::countsNeverDropBelowOne()
{
    StringGrid grid(4, 200);
    grid.setFixedRows(1);
    QCOMPARE(grid.flags(grid.index(0, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);
    QVERIFY(grid.flags(grid.index(1, 0)) & Qt::ItemIsEditable);
    grid.setRowCount(0);
    QCOMPARE(grid.rowCount(), 1);
    // The fixed heading row gives way so that an ordinary row remains.
    QCOMPARE(grid.fixedRows(), 0);
    QVERIFY(grid.flags(grid.index(0, 0)) & Qt::ItemIsEditable);
    grid.setColumnCount(-3);
    QCOMPARE(grid.columnCount(), 1);
    // Outside the grid: reads are empty, writes are ignored.
    grid.setCell(5, 5, "x");
    QCOMPARE(grid.cell(5, 5), QString());
    QCOMPARE(grid.cell(-1, 0), QString());
}

void TestGridRoutines::insertRow()
{
    // Only the heading row: two rows, the second empty.
    StringGrid grid(4, 1);
    grid.setRowCells(0, {"Item name", "Date", "Debit", "Credit"});
    insertGridRow(grid, 1);
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.rowCells(1), (QStringList{"", "", "", ""}));
    QCOMPARE(grid.cell(0, 0), QString("Item name"));

    // A and B move down under an empty row 1; the current cell stays.
    StringGrid ab(2, 3);
    ab.setRowCells(1, {"A", "a"});
    ab.setRowCells(2, {"B", "b"});
    ab.setCurrentCell(1, 2);
    insertGridRow(ab, 1);
    QCOMPARE(ab.rowCount(), 4);
    QCOMPARE(ab.rowCells(1), (QStringList{"", ""}));
    QCOMPARE(ab.rowCells(2), (QStringList{"A", "a"}));
    QCOMPARE(ab.rowCells(3), (QStringList{"B", "b"}));
    QCOMPARE(ab.currentRow(), 2);
    QCOMPARE(ab.currentColumn(), 1);
}

void TestGridRoutines::deleteRow_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("currentAfter");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("current below the deleted row") << 3 << 2 << 2 << QStringList{"H", "1", "3"};
    QTest::newRow("current at row 1 stays") << 1 << 2 << 1 << QStringList{"H", "1", "3"};
    QTest::newRow("current row itself") << 2 << 2 << 1 << QStringList{"H", "1", "3"};
    QTest::newRow("current above, rule uses the current row")
        << 2 << 3 << 1 << QStringList{"H", "1", "2"};
    QTest::newRow("last row") << 3 << 3 << 2 << QStringList{"H", "1", "2"};
}

void TestGridRoutines::deleteRow()
{
    QFETCH(int, current);
    QFETCH(int, deleted);
    QFETCH(int, currentAfter);
    QFETCH(QStringList, remaining);
    StringGrid grid(1, 4);
    const QStringList cells{"H", "1", "2", "3"};
    for (int r = 0; r < 4; ++r)
        grid.setCell(0, r, cells.at(r));
    grid.setCurrentRow(current);
    deleteGridRow(grid, deleted);
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.currentRow(), currentAfter);
    QStringList column;
    for (int r = 0; r < grid.rowCount(); ++r)
        column << grid.cell(0, r);
    QCOMPARE(column, remaining);
}

void TestGridRoutines::deleteRowLeavesHeadingAndOutsideRowsAlone()
{
    StringGrid grid(1, 4);
    grid.setCell(0, 0, "H");
    grid.setCurrentRow(3);
    QSignalSpy resets(&grid, &QAbstractItemModel::rowsRemoved);
    deleteGridRow(grid, 0);
    deleteGridRow(grid, 4);
    deleteGridRow(grid, -1);
    QCOMPARE(grid.rowCount(), 4);
    QCOMPARE(grid.currentRow(), 3);
    QCOMPARE(resets.count(), 0);

    // A grid of the heading row alone has nothing to delete.
    StringGrid heading(1, 1);
    deleteGridRow(heading, 1);
    QCOMPARE(heading.rowCount(), 1);
    // Two rows, delete the only item: the current row follows the count.
    StringGrid two(1, 2);
    two.setCurrentRow(1);
    deleteGridRow(two, 1);
    QCOMPARE(two.rowCount(), 1);
    QCOMPARE(two.currentRow(), 0);
}

void TestGridRoutines::numericCellTest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasValue");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << " " << false << 0.0;
    QTest::newRow("controls") << "\t\x01 " << false << 0.0;
    QTest::newRow("number") << "12.5" << true << 12.5;
    QTest::newRow("padded") << "  7.75\t" << true << 7.75;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("zero point zero") << "0.0" << true << 0.0;
    QTest::newRow("negative") << "-5" << true << -5.0;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("exponent") << "1.5e2" << true << 150.0;
    QTest::newRow("text") << "abc" << true << -1.0;
    QTest::newRow("currency sign") << "$5" << true << -1.0;
    QTest::newRow("group separator") << "1,000" << true << -1.0;
    QTest::newRow("infinity") << "inf" << true << -1.0;
    QTest::newRow("not a number") << "nan" << true << -1.0;
    QTest::newRow("too large") << "1e999" << true << -1.0;
}

void TestGridRoutines::numericCellTest()
{
    QFETCH(QString, text);
    QFETCH(bool, hasValue);
    QFETCH(double, value);
    const std::optional<double> result = numericCellValue(text);
    QCOMPARE(result.has_value(), hasValue);
    if (hasValue)
        QCOMPARE(*result, value);
}

void TestGridRoutines::sumsSkipUnusableCells()
{
    StringGrid grid(2, 1);
    fillColumn(grid, 1, {"-5", "abc", " ", "", "0", "2.5", "4"});
    QCOMPARE(sumGridColumn(grid, 1, 1, 100), 6.5);
    QCOMPARE(sumGridColumnFloor(grid, 1, 1), 6);
    // A column with no usable cell sums to 0; a column outside the grid too.
    QCOMPARE(sumGridColumn(grid, 0, 0, 100), 0.0);
    QCOMPARE(sumGridColumn(grid, 7, 0, 100), 0.0);
}

void TestGridRoutines::sumLimitsItsRows()
{
    StringGrid grid(1, 4);
    grid.setCell(0, 0, "100");
    grid.setCell(0, 1, "1");
    grid.setCell(0, 2, "2");
    grid.setCell(0, 3, "4");
    QCOMPARE(sumGridColumn(grid, 0, 2, INT_MAX), 6.0);
    QCOMPARE(sumGridColumn(grid, 0, -10, 1), 101.0);
    QCOMPARE(sumGridColumn(grid, 0, INT_MIN, INT_MAX), 107.0);
    QCOMPARE(sumGridColumn(grid, 0, 3, 2), 0.0);
}

void TestGridRoutines::sumSkipsOverflow()
{
    StringGrid grid(1, 1);
    fillColumn(grid, 0, {"1e308", "1e308", "5"});
    QCOMPARE(sumGridColumn(grid, 0, 1, 3), 1e308 + 5);
    // The floor of a sum beyond the 32-bit range is the largest number.
    QCOMPARE(sumGridColumnFloor(grid, 0, 1), INT_MAX);
}

void TestGridRoutines::floorSum()
{
    StringGrid grid(1, 1);
    fillColumn(grid, 0, {"2.5", "3.75"});
    QCOMPARE(sumGridColumnFloor(grid, 0, 1), 6);
    // The heading row is never added, whatever the first row asked.
    grid.setCell(0, 0, "100");
    QCOMPARE(sumGridColumnFloor(grid, 0, 0), 6);
    QCOMPARE(sumGridColumnFloor(grid, 0, -4), 6);
    // The sum is rounded down, not each cell.
    fillColumn(grid, 0, {"9.99"});
    QCOMPARE(sumGridColumnFloor(grid, 0, 1), 9);
    fillColumn(grid, 0, {"0.6", "0.6"});
    QCOMPARE(sumGridColumnFloor(grid, 0, 1), 1);
}

void TestGridRoutines::weekdayAverage()
{
    // 2024: 1 January was a Monday, so rows 1, 8, 15 are Mondays and rows
    // 7, 14 Sundays.
    StringGrid grid(3, 20);
    grid.setCell(2, 1, "6");
    grid.setCell(2, 8, "9");
    grid.setCell(2, 15, "0");  // counts
    grid.setCell(2, 2, "100"); // a Tuesday
    grid.setCell(2, 7, "-5");  // a Sunday, skipped
    grid.setCell(2, 14, "x");  // a Sunday, skipped
    QCOMPARE(averageGridWeekday(grid, 2024, 1, 2, 1, 366), 5.0);
    QCOMPARE(averageGridWeekday(grid, 2024, 2, 2, 1, 366), 100.0);
    QCOMPARE(averageGridWeekday(grid, 2024, 7, 2, 1, 366), 0.0);
    QCOMPARE(averageGridWeekday(grid, 2024, 3, 2, 1, 366), 0.0);
    // The first row is limited to 0; row 0 stands for 31 December, a
    // Sunday in 2023, and its text is not a number.
    grid.setCell(2, 0, "Celsius");
    QCOMPARE(averageGridWeekday(grid, 2024, 7, 2, -50, 366), 0.0);
    grid.setCell(2, 0, "8");
    QCOMPARE(averageGridWeekday(grid, 2024, 7, 2, -50, 366), 8.0);
    // 2023 began on a Sunday: rows 1, 8 and 15 are now Sundays.
    QCOMPARE(averageGridWeekday(grid, 2023, 7, 2, 1, 366), 5.0);
    QCOMPARE(averageGridWeekday(grid, 2023, 1, 2, 1, 366), 100.0);
}

void TestGridRoutines::weekdayAverageHugeRangeIsQuick()
{
    StringGrid grid(1, 10);
    grid.setCell(0, 1, "3");
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(averageGridWeekday(grid, 2024, 1, 0, 1, INT_MAX), 3.0);
    QVERIFY(timer.elapsed() < 1000);
}

void TestGridRoutines::decimalCommaLocale()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    StringGrid grid(1, 1);
    // The fixed form (a point, no grouping) reads first in every language,
    // then the locale's form; a German group separator is not read.
    fillColumn(grid, 0, {"2,5", "3,75", "1.000"});
    QCOMPARE(sumGridColumn(grid, 0, 1, 3, german), 7.25);
    QCOMPARE(sumGridColumnFloor(grid, 0, 1, german), 7);
    QCOMPARE(*numericCellValue("2.5", german), 2.5);
    QCOMPARE(*numericCellValue("1.000,5", german), -1.0);
}

void TestGridRoutines::stripedText()
{
    const QString exact(37, QLatin1Char('a'));
    QCOMPARE(stripedCellText(exact), exact);
    const QString longer = QString(37, QLatin1Char('b')) + QStringLiteral("c");
    QCOMPARE(stripedCellText(longer), QString(37, QLatin1Char('b')) + QStringLiteral("..."));
    QCOMPARE(stripedCellText(longer).size(), 40);
    QCOMPARE(stripedCellText(QString()), QString());
}

void TestGridRoutines::stripedColours()
{
    const QColor background(Qt::white);
    QCOMPARE(stripedRowColor(0, background), QColor(0xC0, 0xDC, 0xC0));
    QCOMPARE(stripedRowColor(1, background), QColor(0xF4, 0xF9, 0xFD));
    QCOMPARE(stripedRowColor(3, background), QColor(0xF4, 0xF9, 0xFD));
    QCOMPARE(stripedRowColor(2, background), background);
    QCOMPARE(stripedRowColor(2, QColor(Qt::yellow)), QColor(Qt::yellow));
}

QTEST_GUILESS_MAIN(TestGridRoutines)
#include "tst_gridroutines.moc"
