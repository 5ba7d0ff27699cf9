#include "ui/calendar/notememo.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "mainwindowfixture.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {


bool run(const QString &program, const QStringList &args)
{
    return QProcess::execute(program, args) == 0;
}

// A tiny file system of its own, for a real full or read-only disk.
class SmallDisk
{
public:
    explicit SmallDisk(const QString &size)
    {
        if (::geteuid() != 0)
            return;
        m_mounted = run("mount", {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", m_dir.path()});
    }
    ~SmallDisk()
    {
        if (m_mounted)
            run("umount", {"-l", m_dir.path()});
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    bool remount(const QString &mode) { return run("mount", {"-o", "remount," + mode, m_dir.path()}); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace

class TestWriteFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void partWayFailureKeepsFileAndText();
    void failedMoveKeepsColumnThenSucceeds();
    void fullDiskReportsAndRecovers();
    void readOnlyDiskReportsAndRecovers();
    void faultsInjectedInBulk();
};

void TestWriteFailures::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestWriteFailures::partWayFailureKeepsFileAndText()
{
    MainWindowFixture f("45296");
    f.start();
    DayNoteColumn *e = dayColumn(f.form(), 1);
    noteEdit(e)->insertPlainText("first version");
    QVERIFY(f.form()->week()->saveAllNotes());

    noteEdit(e)->selectAll();
    noteEdit(e)->insertPlainText("second version, much longer than the first");
    f.form()->dataFolder()->storedFiles().setWriteFault([](const QString &path, qint64 size) {
        return path.endsWith("Jan-05-2024.txt") ? size / 2 : -1;
    });
    const Result failed = f.form()->week()->saveAllNotes();
    QVERIFY(!failed);
    const QString error = failed.error;
    QVERIFY2(error.contains("Jan-05-2024.txt") && error.contains("No space left"), qPrintable(error));
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("first version"));
    QCOMPARE(e->text(), QString("second version, much longer than the first"));
    // No temporary file is left beside the note.
    QCOMPARE(QDir(f.root() + "DB").entryList({"*Jan-05*"}, QDir::Files | QDir::Hidden).size(), 1);

    f.form()->dataFolder()->storedFiles().setWriteFault({});
    QVERIFY(f.form()->week()->saveAllNotesReporting());
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("second version, much longer than the first"));
}

void TestWriteFailures::failedMoveKeepsColumnThenSucceeds()
{
    MainWindowFixture f("45296");
    f.start();
    noteEdit(dayColumn(f.form(), 3))->insertPlainText("sunday plans");
    f.form()->dataFolder()->storedFiles().setWriteFault([](const QString &, qint64) { return 0; });
    f.form()->moveWeekForward();
    QCOMPARE(f.fakes.dialogs.errors.size(), 1);
    QVERIFY(f.fakes.dialogs.errors.first().contains("Jan-07-2024.txt"));
    QCOMPARE(dateLabel(dayColumn(f.form(), 3))->text(), QString("Sunday Jan 07"));
    QCOMPARE(dayColumn(f.form(), 3)->text(), QString("sunday plans"));

    f.form()->dataFolder()->storedFiles().setWriteFault({});
    f.form()->moveWeekForward();
    QCOMPARE(fileBytes(f.dbFile("Jan-07-2024.txt")), QByteArray("sunday plans"));
    // The failed move did not move the week: this one moves it one day.
    QCOMPARE(dateLabel(dayColumn(f.form(), 3))->text(), QString("Monday Jan 08"));
    QCOMPARE(dayColumn(f.form(), 2)->text(), QString("sunday plans"));
}

void TestWriteFailures::fullDiskReportsAndRecovers()
{
    SmallDisk disk("256k");
    if (!disk.mounted())
        QSKIP("needs root to mount a small file system");
    FakeServices fakes;
    fakes.clock.set(QDateTime(QDate(2024, 1, 10), QTime(9, 0)));
    MainWindow form(fakes.services(), StartOptions{disk.path() + "/", "45296"});
    form.show();
    form.runStartup();
    DayNoteColumn *e = dayColumn(&form, 2);
    noteEdit(e)->insertPlainText("short note");
    QVERIFY(form.week()->saveAllNotes());

    // A note larger than the disk.
    const QString big = QString(79, QLatin1Char('x')).append(QLatin1Char('\n')).repeated(5 * 1024);
    noteEdit(e)->selectAll();
    noteEdit(e)->insertPlainText(big);
    const Result failed = form.week()->saveAllNotes();
    QVERIFY(!failed);
    const QString error = failed.error;
    QVERIFY2(error.contains("Jan-06-2024.txt"), qPrintable(error));
    QCOMPARE(fileBytes(disk.path() + "/DB/Jan-06-2024.txt"), QByteArray("short note"));
    QCOMPARE(e->text().size(), big.size());

    // Closing asks; the answer No keeps the window and the text.
    fakes.dialogs.answers.enqueue(false);
    QVERIFY(!form.close());
    QCOMPARE(e->text().size(), big.size());

    noteEdit(e)->selectAll();
    noteEdit(e)->insertPlainText(QString(99, QLatin1Char('y')).append(QLatin1Char('\n')).repeated(1024));
    QVERIFY(form.week()->saveAllNotes());
    QCOMPARE(fileBytes(disk.path() + "/DB/Jan-06-2024.txt").size(), 101 * 1024);
    QVERIFY(form.close());
}

void TestWriteFailures::readOnlyDiskReportsAndRecovers()
{
    SmallDisk disk("1m");
    if (!disk.mounted())
        QSKIP("needs root to mount a small file system");
    FakeServices fakes;
    fakes.clock.set(QDateTime(QDate(2024, 1, 10), QTime(9, 0)));
    MainWindow form(fakes.services(), StartOptions{disk.path() + "/", "45296"});
    form.show();
    form.runStartup();
    noteEdit(dayColumn(&form, 1))->insertPlainText("written later");
    QVERIFY(disk.remount("ro"));
    const Result failed = form.week()->saveAllNotes();
    QVERIFY(!failed);
    const QString error = failed.error;
    QVERIFY2(error.contains("Jan-05-2024.txt"), qPrintable(error));
    QVERIFY(disk.remount("rw"));
    QVERIFY(form.week()->saveAllNotes());
    QCOMPARE(fileBytes(disk.path() + "/DB/Jan-05-2024.txt"), QByteArray("written later"));
    QVERIFY(form.close());
}

void TestWriteFailures::faultsInjectedInBulk()
{
    // Every note write fails at a different byte; nothing on disk ever
    // changes while the fault lasts, and nothing is reported as saved.
    MainWindowFixture f("45296");
    f.start();
    for (int tag = 1; tag <= 7; ++tag)
        noteEdit(dayColumn(f.form(), tag))->insertPlainText(QStringLiteral("day %1 original").arg(tag));
    QVERIFY(f.form()->week()->saveAllNotes());
    QMap<QString, QByteArray> before;
    for (const QString &name : QDir(f.root() + "DB").entryList(QDir::Files))
        before.insert(name, fileBytes(f.dbFile(name)));

    int injected = 0;
    for (int cut = 0; cut < 40; ++cut) {
        f.form()->dataFolder()->storedFiles().setWriteFault([&](const QString &, qint64 size) {
            ++injected;
            return qMin<qint64>(cut, size - 1);
        });
        for (int tag = 1; tag <= 7; ++tag) {
            DayNoteColumn *e = dayColumn(f.form(), tag);
            noteEdit(e)->selectAll();
            noteEdit(e)->insertPlainText(QStringLiteral("day %1 edit %2 ").arg(tag).arg(cut).repeated(3));
        }
        QVERIFY(!f.form()->week()->saveAllNotes());
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(fileBytes(f.dbFile(it.key())), it.value());
    }
    f.form()->dataFolder()->storedFiles().setWriteFault({});
    QVERIFY(f.form()->week()->saveAllNotes());
    QVERIFY(fileBytes(f.dbFile("Jan-05-2024.txt")).startsWith("day 1 edit 39"));
    qInfo("write faults injected: %d", injected);
}

QTEST_MAIN(TestWriteFailures)
#include "tst_writefailures.moc"
