#include "ui/calendar/notememo.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "mainwindowfixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

namespace {
} // namespace

class TestHostileInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void hugeDayNoteLoadsAndSaves();
    void nulAndBinaryBytesInNotes();
    void folderWhereANoteShouldBe();
};

void TestHostileInput::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestHostileInput::hugeDayNoteLoadsAndSaves()
{
    MainWindowFixture f("45296");
    QDir().mkpath(f.root() + "DB");
    QByteArray big;
    big.reserve(20 * 1024 * 1024);
    const QByteArray line = "A line of a very long day note, written over many years.\r\n";
    while (big.size() + line.size() <= 20 * 1024 * 1024)
        big += line;
    writeFileBytes(f.dbFile("Jan-06-2024.txt"), big);
    f.start();
    DayNoteColumn *e = dayColumn(f.form(), 2);
    QCOMPARE(e->text().size(), big.size() - big.count('\r'));
    // Laid in a slice at a time: typing waits until it is all in.
    QTRY_VERIFY_WITH_TIMEOUT(!noteEdit(e)->isReadOnly(), 60000);
    noteEdit(e)->moveCursor(QTextCursor::End);
    noteEdit(e)->insertPlainText("tail");
    QVERIFY(f.form()->week()->saveAllNotes());
    QCOMPARE(fileBytes(f.dbFile("Jan-06-2024.txt")), big + "tail");
}

void TestHostileInput::nulAndBinaryBytesInNotes()
{
    MainWindowFixture f("45296");
    QDir().mkpath(f.root() + "DB");
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 37) % 256);
    writeFileBytes(f.dbFile("Jan-05-2024.txt"), binary);
    f.start();
    // Not valid UTF-8: read as Windows-1252, never a crash.
    QVERIFY(!dayColumn(f.form(), 1)->text().isEmpty());
    QVERIFY(f.form()->close());
    QVERIFY(QFile::exists(f.dbFile("Jan-05-2024.txt")));
}

void TestHostileInput::folderWhereANoteShouldBe()
{
    MainWindowFixture f("45296");
    QDir().mkpath(f.dbFile("Jan-07-2024.txt"));
    f.start();
    // The column cannot read its note: it says so and stays out of the way.
    DayNoteColumn *sunday = dayColumn(f.form(), 3);
    QVERIFY(noteEdit(sunday)->isReadOnly());
    QVERIFY(noteEdit(sunday)->placeholderText().contains("Jan-07-2024.txt"));
    QVERIFY(f.form()->week()->saveAllNotes());
    QVERIFY(QFileInfo(f.dbFile("Jan-07-2024.txt")).isDir());
    QVERIFY(f.form()->close());
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
