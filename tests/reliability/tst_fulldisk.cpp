// A full disk, down to the system calls: a store's save either replaces its
// file whole or fails with a message naming the file and the system's
// reason, and the old file stays exactly as it was.
#include "testhelpers.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "core/tracker/listviewstream.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {



QString longText()
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("Line %1 of a note typed while the disk was full.\n").arg(i);
    return text;
}

// Unmounts the small file system however the test ends.
struct Mount
{
    QString point;
    ~Mount()
    {
        if (!point.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), point});
    }
};

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storeSaveOnFullDiskKeepsTheFile_data();
    void storeSaveOnFullDiskKeepsTheFile();
    void smallFileSystemFillsUp();
};

void TestFullDisk::storeSaveOnFullDiskKeepsTheFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("old");
    QTest::newRow("day note") << "note" << "DB/Jan-07-2024.txt" << QByteArray("The note as it was.");
    QTest::newRow("project page") << "page" << "Projects/Garden/Projects.txt"
                                  << QByteArray("Dig the beds\r\nSow the beans");
    QTest::newRow("ledger") << "ledger" << "Projects/Garden/money.txt"
                            << QByteArray("Item name,Date,Debit,Credit\r\nSeeds,\"Jan 5, 2024\",12.50, \r\n");
    QTest::newRow("project list") << "list" << "Config/departments.txt" << QByteArray("\r\nGarden\r\nCar\r\n");
    ListViewData alarms;
    alarms.items.append(ListViewItem{true, QStringLiteral("Bed"), {QStringLiteral("10:30 PM")}});
    QTest::newRow("alarm list") << "alarms" << "Projects/Garden/bedtimes.txt" << encodeListView(alarms);
}

void TestFullDisk::storeSaveOnFullDiskKeepsTheFile()
{
#ifdef VELLUMARK_SANITIZED
    QSKIP("The sanitizer runtime must come first in a process; the preloaded library would come before it.");
#else
    QFETCH(QString, kind);
    QFETCH(QString, file);
    QFETCH(QByteArray, old);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = QFileInfo(dir.path()).canonicalFilePath();
    const QString path = root + QLatin1Char('/') + file;
    writeFileBytes(path, old);

    QProcess driver;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), testBuildFile(QStringLiteral(NOSPACE_PRELOAD)));
    environment.insert(QStringLiteral("VELLUMARK_NOSPACE_DIR"), root);
    driver.setProcessEnvironment(environment);
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    driver.start(testBuildFile(QStringLiteral(SAVEDRIVER)), {kind, root});
    QVERIFY(driver.waitForFinished(30000));
    QCOMPARE(driver.exitCode(), 0);
    const QString report = QString::fromLocal8Bit(driver.readAllStandardOutput()).trimmed();

    QVERIFY2(report.startsWith(QLatin1String("failed: ")), qPrintable(report));
    QVERIFY2(report.contains(QLatin1String("No space left on device")), qPrintable(report));
    QVERIFY2(report.contains(QFileInfo(path).fileName()), qPrintable(report));
    QCOMPARE(fileBytes(path), old);
    // Nothing half-written is left beside it.
    const QStringList beside = QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : beside)
        QVERIFY2(!name.startsWith(QFileInfo(path).fileName() + QLatin1Char('.')), qPrintable(name));

    // The same save with room on the disk goes through: the failure above
    // came from the full disk.
    QProcess control;
    control.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    control.start(testBuildFile(QStringLiteral(SAVEDRIVER)), {kind, root});
    QVERIFY(control.waitForFinished(30000));
    QCOMPARE(QString::fromLocal8Bit(control.readAllStandardOutput()).trimmed(), QStringLiteral("saved"));
    QVERIFY(fileBytes(path) != old);
#endif
}

void TestFullDisk::smallFileSystemFillsUp()
{
    if (::geteuid() != 0)
        QSKIP("Mounting a small file system needs root.");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Mount mount;
    const QString point = dir.filePath(QStringLiteral("small"));
    QVERIFY(QDir().mkpath(point));
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                    QStringLiteral("size=600k"), QStringLiteral("tmpfs"), point})
        != 0)
        QSKIP("A small tmpfs cannot be mounted here.");
    mount.point = point;

    const FakeClock clock;
    const DataFolder data(point + QLatin1Char('/'), nullptr, clock);
    const QString note = data.dbDir() + QStringLiteral("Jan-07-2024.txt");
    writeFileBytes(note, "The note as it was.");
    // Fill the rest of the file system.
    const QString filler = point + QStringLiteral("/filler");
    {
        QFile fill(filler);
        QVERIFY(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (fill.write(block) == block.size()) {
        }
    }

    const WriteResult full = TextFile::writeText(note, longText());
    QVERIFY2(!full.ok, "a save on a full disk reported success");
    QVERIFY2(full.error.contains(QLatin1String("No space left on device")), qPrintable(full.error));
    QVERIFY2(full.error.contains(QLatin1String("Jan-07-2024.txt")), qPrintable(full.error));
    QCOMPARE(fileBytes(note), QByteArray("The note as it was."));

    // Once there is room again the same save lands whole.
    QVERIFY(QFile::remove(filler));
    QVERIFY(TextFile::writeText(note, longText()).ok);
    QCOMPARE(TextFile::readText(note).value, longText());
}

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
