// The grid rows file: comma text of single rows, expected files, damaged
// and hostile files, and a fuzz round trip.

#include "testhelpers.h"
#include "core/common/textfile.h"
#include "core/grid/commatext.h"
#include "core/grid/gridroutines.h"
#include "core/grid/stringgrid.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {



QStringList row(const StringGrid &grid, int r)
{
    return grid.rowCells(r);
}

} // namespace

class TestGridRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writeRow_data();
    void writeRow();
    void readLine_data();
    void readLine();
    void rentRowRoundTrip();
    void expectedFiles();
    void emptyFileKeepsOneRow();
    void damagedFilesLoadSafely();
    void refusedFilesLeaveGridUnchanged();
    void unwritableFileReportsIt();
    void fuzzRoundTrip();
};

void TestGridRows::writeRow_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("line");
    QTest::newRow("rent") << QStringList{"Rent", "Mar 5, 2024", "12.5", ""}
                          << QString("Rent,\"Mar 5, 2024\",12.5,");
    QTest::newRow("one empty cell") << QStringList{""} << QString("\"\"");
    QTest::newRow("two empty cells") << QStringList{"", ""} << QString(",");
    QTest::newRow("four empty cells") << QStringList{"", "", "", ""} << QString(",,,");
    QTest::newRow("single blank") << QStringList{" ", "x"} << QString("\" \",x");
    QTest::newRow("quote doubled") << QStringList{"say \"hi\""} << QString("\"say \"\"hi\"\"\"");
    QTest::newRow("lone quote") << QStringList{"\""} << QString("\"\"\"\"");
    QTest::newRow("comma") << QStringList{"a,b"} << QString("\"a,b\"");
    QTest::newRow("tab") << QStringList{"a\tb"} << QString("\"a\tb\"");
    QTest::newRow("plain") << QStringList{"12.5", "Jan-5"} << QString("12.5,Jan-5");
    QTest::newRow("line break becomes blank") << QStringList{"a\r\nb"} << QString("\"a  b\"");
    QTest::newRow("no cells") << QStringList{} << QString("");
}

void TestGridRows::writeRow()
{
    QFETCH(QStringList, cells);
    QFETCH(QString, line);
    QCOMPARE(CommaText::encodeRow(cells), line);
}

void TestGridRows::readLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("rent") << QString("Rent,\"Mar 5, 2024\",12.5,")
                          << QStringList{"Rent", "Mar 5, 2024", "12.5", ""};
    QTest::newRow("unquoted blank splits") << QString("two words") << QStringList{"two", "words"};
    QTest::newRow("trailing comma adds a field") << QString("a,b,") << QStringList{"a", "b", ""};
    QTest::newRow("comma then blank adds nothing") << QString("a, ") << QStringList{"a"};
    QTest::newRow("three commas") << QString(",,,") << QStringList{"", "", "", ""};
    QTest::newRow("doubled quote") << QString("\"say \"\"hi\"\"\"") << QStringList{"say \"hi\""};
    QTest::newRow("leading controls skipped") << QString("\t\x01  a") << QStringList{"a"};
    QTest::newRow("blanks around commas") << QString(" a , \t b ") << QStringList{"a", "b"};
    QTest::newRow("empty line") << QString("") << QStringList{};
    QTest::newRow("only blanks") << QString("   ") << QStringList{};
    QTest::newRow("quoted empty") << QString("\"\"") << QStringList{""};
    QTest::newRow("unclosed quote runs to the end") << QString("\"abc, d") << QStringList{"abc, d"};
    QTest::newRow("lone quote") << QString("\"") << QStringList{""};
    QTest::newRow("text after closing quote") << QString("\"ab\"cd") << QStringList{"ab", "cd"};
    QTest::newRow("nul is a separator") << QString("a") + QChar(0) + QString("b")
                                        << QStringList{"a", "b"};
    QTest::newRow("nul inside quotes kept")
        << QString("\"a") + QChar(0) + QString("b\"") << QStringList{QString("a") + QChar(0) + "b"};
}

void TestGridRows::readLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(CommaText::decodeLine(line), fields);
}

void TestGridRows::rentRowRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("money.txt");
    StringGrid grid(4, 2);
    grid.setRowCells(1, {"Rent", "Mar 5, 2024", "12.5", ""});
    QVERIFY(saveGridRows(grid, path).ok);
    QCOMPARE(fileBytes(path), QByteArray(",,,\r\nRent,\"Mar 5, 2024\",12.5,\r\n"));

    StringGrid loaded;
    QVERIFY(loadGridRows(loaded, path));
    QCOMPARE(loaded.columnCount(), 4);
    QCOMPARE(loaded.rowCount(), 2);
    QCOMPARE(row(loaded, 1), (QStringList{"Rent", "Mar 5, 2024", "12.5", " "}));
    QCOMPARE(row(loaded, 0), (QStringList{" ", " ", " ", " "}));
}

void TestGridRows::expectedFiles()
{
    // Grid -> file.
    const QString saved = QFINDTESTDATA("grid/data/ledger-saved.txt");
    const QString resaved = QFINDTESTDATA("grid/data/ledger-resaved.txt");
    QVERIFY(!saved.isEmpty() && !resaved.isEmpty());
    QTemporaryDir dir;
    StringGrid grid(4, 3);
    grid.setRowCells(0, {"Item name", "Date", "Debit", "Credit"});
    grid.setRowCells(1, {"Rent", "Mar 5, 2024", "12.5"});
    const QString out = dir.filePath("out.txt");
    QVERIFY(saveGridRows(grid, out).ok);
    QCOMPARE(fileBytes(out), fileBytes(saved));

    // File -> grid -> file: empty fields come back as quoted blanks.
    StringGrid loaded;
    const Result savedLoad = loadGridRows(loaded, saved);
    QVERIFY2(savedLoad, qPrintable(savedLoad.error));
    QVERIFY(saveGridRows(loaded, out).ok);
    QCOMPARE(fileBytes(out), fileBytes(resaved));
    // ... and from then on the file is stable.
    QVERIFY(loadGridRows(loaded, out));
    QVERIFY(saveGridRows(loaded, out).ok);
    QCOMPARE(fileBytes(out), fileBytes(resaved));

    // Quoting rules, blanks, trailing commas and damaged quotes.
    const QString mixed = QFINDTESTDATA("grid/data/mixed.txt");
    QVERIFY(loadGridRows(loaded, mixed));
    QCOMPARE(loaded.rowCount(), 10);
    QCOMPARE(loaded.columnCount(), 3);
    QCOMPARE(row(loaded, 0), (QStringList{"two", "words", ""}));
    QCOMPARE(row(loaded, 6), (QStringList{"", "", ""}));
    QVERIFY(saveGridRows(loaded, out).ok);
    QCOMPARE(fileBytes(out), fileBytes(QFINDTESTDATA("grid/data/mixed-resaved.txt")));
}

void TestGridRows::emptyFileKeepsOneRow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.txt");
    writeFileBytes(path, QByteArray());
    StringGrid grid(4, 5);
    grid.setRowCells(0, {"a", "b"});
    grid.setCell(0, 3, "gone");
    QVERIFY(loadGridRows(grid, path));
    QCOMPARE(grid.rowCount(), 1);
    QCOMPARE(grid.columnCount(), 1);
    QCOMPARE(grid.cell(0, 0), QString("a"));
}

void TestGridRows::damagedFilesLoadSafely()
{
    QTemporaryDir dir;

    // Binary bytes: loads as some text, never more columns than allowed.
    QByteArray binary;
    QRandomGenerator random(7);
    for (int i = 0; i < 20000; ++i)
        binary.append(static_cast<char>(random.bounded(256)));
    const QString binaryPath = dir.filePath("binary.txt");
    writeFileBytes(binaryPath, binary);
    StringGrid grid;
    const Result binaryLoad = loadGridRows(grid, binaryPath);
    if (binaryLoad)
        QVERIFY(grid.columnCount() <= kMaxGridColumns);
    else
        QVERIFY(binaryLoad.error.contains(binaryPath));
    QCOMPARE(fileBytes(binaryPath), binary);

    // A line of a megabyte of text is one cell, kept whole.
    const QByteArray longCell(1024 * 1024, 'x');
    const QString longPath = dir.filePath("long.txt");
    writeFileBytes(longPath, "a," + longCell + "\r\n");
    QVERIFY(loadGridRows(grid, longPath));
    QCOMPARE(grid.cell(1, 0).size(), longCell.size());

    // A hundred thousand lines.
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
        many += "Item,\"Jan 1, 2024\",1.5,\r\n";
    const QString manyPath = dir.filePath("many.txt");
    writeFileBytes(manyPath, many);
    QVERIFY(loadGridRows(grid, manyPath));
    QCOMPARE(grid.rowCount(), 100000);
    QCOMPARE(grid.cell(3, 99999), QString(" "));

    // Unbalanced quotes on every line.
    const QString quotesPath = dir.filePath("quotes.txt");
    writeFileBytes(quotesPath, "\"a,b\r\n\"\"\"\r\nc\"d,\"e\r\n");
    QVERIFY(loadGridRows(grid, quotesPath));
    QCOMPARE(row(grid, 0), (QStringList{"a,b", ""}));
    QCOMPARE(row(grid, 1), (QStringList{"\"", ""}));
    QCOMPARE(row(grid, 2), (QStringList{"c\"d", "e"}));
}

void TestGridRows::refusedFilesLeaveGridUnchanged()
{
    QTemporaryDir dir;
    StringGrid grid(2, 2);
    grid.setCell(1, 1, "kept");

    // A megabyte of commas would be a million columns.
    const QString commas = dir.filePath("commas.txt");
    const QByteArray bytes(1024 * 1024, ',');
    writeFileBytes(commas, bytes);
    const Result commasLoad = loadGridRows(grid, commas);
    QVERIFY(!commasLoad);
    QVERIFY(commasLoad.error.contains(commas));
    QCOMPARE(grid.cell(1, 1), QString("kept"));
    QCOMPARE(grid.columnCount(), 2);
    QCOMPARE(fileBytes(commas), bytes);

    // A folder where the file should be.
    QVERIFY(QDir(dir.path()).mkdir("folder.txt"));
    const Result folderLoad = loadGridRows(grid, dir.filePath("folder.txt"));
    QVERIFY(!folderLoad);
    QVERIFY(!folderLoad.error.isEmpty());
    QCOMPARE(grid.cell(1, 1), QString("kept"));
}

void TestGridRows::unwritableFileReportsIt()
{
    QTemporaryDir dir;
    StringGrid grid(2, 2);
    const QString path = dir.filePath("missing-folder/money.txt");
    const WriteResult result = saveGridRows(grid, path);
    QVERIFY(!result.ok);
    QVERIFY(result.error.contains("money.txt"));
}

void TestGridRows::fuzzRoundTrip()
{
    // Random lines, and random lines cut anywhere: whatever a line reads
    // as, writing the row and reading it back keeps every cell.
    QRandomGenerator random(20241209);
    const QString alphabet = QStringLiteral("ab ,\"\t\x01xyz0.9-;'\\\xe9") + QChar(0x20AC);
    QTemporaryDir dir;
    const QString path = dir.filePath("fuzz.txt");
    for (int round = 0; round < 1000; ++round) {
        QStringList lines;
        const int lineCount = 1 + random.bounded(12);
        for (int l = 0; l < lineCount; ++l) {
            QString line;
            const int length = random.bounded(40);
            for (int i = 0; i < length; ++i)
                line += alphabet.at(random.bounded(alphabet.size()));
            if (random.bounded(3) == 0)
                line.truncate(random.bounded(line.size() + 1));
            lines.append(line);
        }

        StringGrid grid;
        QVERIFY(loadGridLines(grid, lines, path));
        StringGrid back;
        // Through the bytes a file would hold; every tenth time through a
        // real file.
        if (round % 10 == 0) {
            QVERIFY(saveGridRows(grid, path).ok);
            QVERIFY(loadGridRows(back, path));
        } else {
            const QByteArray bytes = TextFile::encodeLines(gridRowsToLines(grid));
            QVERIFY(loadGridLines(back, TextFile::splitLines(TextFile::decode(bytes)), path));
        }
        QCOMPARE(back.rowCount(), grid.rowCount());
        QCOMPARE(back.columnCount(), grid.columnCount());
        for (int r = 0; r < grid.rowCount(); ++r) {
            for (int c = 0; c < grid.columnCount(); ++c) {
                const QString before = grid.cell(c, r);
                // An empty cell, whether an empty field or a cell beyond
                // a line's last field, is read back as a single blank, the
                // file's mark for an empty field.
                const QString expected = before.isEmpty() ? QStringLiteral(" ") : before;
                QCOMPARE(back.cell(c, r), expected);
            }
        }
    }

    // Random cells straight from a grid round-trip exactly, once empty
    // cells have become blanks.
    for (int round = 0; round < 1000; ++round) {
        const int columns = 1 + random.bounded(6);
        const int rows = 1 + random.bounded(6);
        StringGrid grid(columns, rows);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                QString cell;
                const int length = random.bounded(8);
                for (int i = 0; i < length; ++i)
                    cell += alphabet.at(random.bounded(alphabet.size()));
                grid.setCell(c, r, cell.isEmpty() ? QStringLiteral(" ") : cell);
            }
        }
        const QByteArray bytes = TextFile::encodeLines(gridRowsToLines(grid));
        StringGrid back;
        QVERIFY(loadGridLines(back, TextFile::splitLines(TextFile::decode(bytes)), path));
        QCOMPARE(back.rowCount(), rows);
        QCOMPARE(back.columnCount(), columns);
        for (int r = 0; r < rows; ++r)
            QCOMPARE(back.rowCells(r), grid.rowCells(r));
    }
}

QTEST_GUILESS_MAIN(TestGridRows)
#include "tst_gridrows.moc"
