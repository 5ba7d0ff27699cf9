#include "core/datafolder/datafolder.h"
#include "core/snapshots/snapshotcatalog.h"
#include "core/snapshots/snapshotrestore.h"
#include "core/snapshots/snapshotwriter.h"
#include "fakes.h"
#include "sampledatafolder.h"
#include "testhelpers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

// Writing snapshots: what goes in, what stays out, and that an interrupted
// or refused snapshot never costs an earlier one.
class TestSnapshotArchive : public QObject
{
    Q_OBJECT

private:
    // Every folder and file under root (folders end with "/"), with the
    // files' bytes; the names in `skip` (top-level) left out.
    static QMap<QString, QByteArray> archiveTreeOf(const QString &root, const QStringList &skip = {})
    {
        QMap<QString, QByteArray> tree;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            const QString relative = QDir(root).relativeFilePath(it.filePath());
            if (skip.contains(relative.section(QLatin1Char('/'), 0, 0)))
                continue;
            if (it.fileInfo().isDir())
                tree.insert(relative + QLatin1Char('/'), "<folder>");
            else
                tree.insert(relative, fileBytes(it.filePath()));
        }
        return tree;
    }

    static QStringList archivedNames(const QString &snapshot)
    {
        const Expected<QList<ArchivedEntry>> entries = SnapshotCatalog::contents(snapshot);
        if (!entries)
            return {QStringLiteral("<unreadable: %1>").arg(entries.error)};
        QStringList names;
        for (const ArchivedEntry &entry : entries.value)
            names.append(entry.name);
        return names;
    }

    static QDateTime noon(int day)
    {
        return QDateTime(QDate(2026, 12, day), QTime(12, 0));
    }

private Q_SLOTS:
    // Ten years of notes and 300 projects: the snapshot holds every file,
    // and restoring everything after the folder was changed in every way
    // gives back each file byte for byte, and nothing more.
    void tenYearRoundTripIsByteIdentical()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        const int written = writeSampleDataFolder(root);
        QVERIFY(written > 3650 + 300 * 8);
        QDir(root).mkpath(QStringLiteral("Projects/Empty project"));
        const QMap<QString, QByteArray> before = archiveTreeOf(root);
        // A portable copy keeps the program beside the data; a sync tool
        // keeps its own files there. Neither is the data.
        writeFileBytes(root + QStringLiteral("vellumark"), "\x7f" "ELF program");
        writeFileBytes(root + QStringLiteral(".stfolder/marker"), "sync");
        const QStringList besideData{QStringLiteral("Backups"), QStringLiteral("vellumark"), QStringLiteral(".stfolder")};

        const Expected<SnapshotSummary> snapshot = SnapshotWriter(root, root + QStringLiteral("Backups")).write(noon(1));
        QVERIFY2(snapshot.ok, qPrintable(snapshot.error));
        QCOMPARE(snapshot.value.files, written);
        QVERIFY(snapshot.value.unreadable.isEmpty());
        QCOMPARE(QFileInfo(snapshot.value.path).fileName(), QStringLiteral("vellumark-2026-12-01-1200.tar.zst"));

        // Changed, removed and added files and folders, a whole folder gone.
        writeFileBytes(root + QStringLiteral("DB/") + QDir(root + QStringLiteral("DB")).entryList(QDir::Files).first(), "changed");
        QVERIFY(QDir(root + QStringLiteral("Projects/Project 3")).removeRecursively());
        QVERIFY(QDir(root + QStringLiteral("Journal")).removeRecursively());
        writeFileBytes(root + QStringLiteral("Projects/New one/Projects.txt"), "new");
        writeFileBytes(root + QStringLiteral("DB/stray.txt"), "stray");
        writeFileBytes(root + QStringLiteral("vellumark"), "\x7f" "ELF program, newer");

        const Result restored = SnapshotRestore::restoreEverything(snapshot.value.path, root, root + QStringLiteral("Backups"));
        QVERIFY2(restored.ok, qPrintable(restored.error));
        QCOMPARE(archiveTreeOf(root, besideData), before);
        QCOMPARE(fileBytes(root + QStringLiteral("vellumark")), QByteArray("\x7f" "ELF program, newer"));
        QCOMPARE(fileBytes(root + QStringLiteral(".stfolder/marker")), QByteArray("sync"));
        // The snapshot itself is still there.
        QCOMPARE(SnapshotCatalog::list(root + QStringLiteral("Backups")).size(), 1);
    }

    // The backups folder is never archived into a snapshot, wherever it is
    // in the data folder; nor the program's lock or a restore in the making.
    void backupsFolderIsNeverArchived()
    {
        for (const QString &inside : {QStringLiteral("Backups/"), QStringLiteral("DB/deep/backups/")}) {
            QTemporaryDir dir;
            const QString root = dir.path() + QLatin1Char('/');
            const QString backups = root + inside;
            writeFileBytes(root + QStringLiteral("DB/note.txt"), "note");
            writeFileBytes(root + QStringLiteral(".vellumark.lock"), "12345");
            writeFileBytes(root + QStringLiteral(".vellumark-restore/new/DB/x.txt"), "x");
            for (int day = 1; day <= 2; ++day) {
                const Expected<SnapshotSummary> snapshot = SnapshotWriter(root, backups).write(noon(day));
                QVERIFY2(snapshot.ok, qPrintable(snapshot.error));
                const QStringList names = archivedNames(snapshot.value.path);
                QVERIFY(names.contains(QStringLiteral("DB/note.txt")));
                for (const QString &name : names) {
                    QVERIFY2(!name.contains(QLatin1String(".tar.zst")), qPrintable(name));
                    QVERIFY2(!name.startsWith(QLatin1String(".vellumark")), qPrintable(name));
                    QVERIFY2(!(name + QLatin1Char('/')).startsWith(inside), qPrintable(name));
                }
            }
            QCOMPARE(SnapshotCatalog::list(backups).size(), 2);
        }
    }

    // The folders a snapshot holds are the ones the data folder lays out.
    void snapshotsHoldTheDataFoldersOwnFolders()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        FakeShell shell;
        FakeClock clock;
        const DataFolder folder(root, &shell, clock);
        QStringList laidOut;
        for (const QString &path : {folder.dbDir(), folder.configDir(), folder.buildDir(), folder.helpDir(),
                                    folder.ftpDir(), folder.foldersDir(), folder.logDir(), folder.reportDir(),
                                    folder.iconsDir(), folder.brandDir(), folder.userDataDir(), folder.projectsDir(),
                                    folder.journalDir(), folder.decisionDir()})
            laidOut.append(path.mid(root.size()).section(QLatin1Char('/'), 0, 0));
        QStringList names = SnapshotWriter::dataFolderNames();
        names.sort();
        laidOut.sort();
        QCOMPARE(names, laidOut);
    }

    void backupsFolderCannotBeTheDataFolder()
    {
        QTemporaryDir dir;
        writeFileBytes(dir.path() + QStringLiteral("/DB/note.txt"), "note");
        const Expected<SnapshotSummary> snapshot = SnapshotWriter(dir.path(), dir.path() + QStringLiteral("/")).write(noon(1));
        QVERIFY(!snapshot.ok);
        QVERIFY(snapshot.error.contains(QLatin1String("data folder itself")));
        QVERIFY(SnapshotCatalog::list(dir.path()).isEmpty());
        // Nor one of its own folders: that folder would never be in a snapshot.
        const Expected<SnapshotSummary> intoNotes = SnapshotWriter(dir.path(), dir.path() + QStringLiteral("/DB")).write(noon(1));
        QVERIFY(!intoNotes.ok);
        QVERIFY(intoNotes.error.contains(QLatin1String("\"DB\"")));
        QVERIFY(SnapshotCatalog::list(dir.path() + QStringLiteral("/DB")).isEmpty());
    }

    // A pipe, links out of the folder and dangling links: the snapshot is
    // taken without blocking, names the pipe, and follows no link.
    void strangeEntriesAreReportedNotFollowed()
    {
        QTemporaryDir dir;
        QTemporaryDir outside;
        const QString root = dir.path() + QLatin1Char('/');
        writeFileBytes(root + QStringLiteral("DB/note.txt"), "note");
        writeFileBytes(outside.path() + QStringLiteral("/secret.txt"), "secret");
        QCOMPARE(::mkfifo(QFile::encodeName(root + QStringLiteral("DB/pipe.txt")).constData(), 0644), 0);
        QVERIFY(QFile::link(outside.path() + QStringLiteral("/secret.txt"), root + QStringLiteral("DB/link.txt")));
        QVERIFY(QFile::link(outside.path(), root + QStringLiteral("Projects")));
        QVERIFY(QFile::link(root + QStringLiteral("nowhere"), root + QStringLiteral("DB/dangling.txt")));

        const Expected<SnapshotSummary> snapshot = SnapshotWriter(root, root + QStringLiteral("Backups")).write(noon(1));
        QVERIFY2(snapshot.ok, qPrintable(snapshot.error));
        QCOMPARE(snapshot.value.files, 1);
        QCOMPARE(snapshot.value.unreadable.size(), 1);
        QVERIFY(snapshot.value.unreadable.first().contains(QLatin1String("DB/pipe.txt")));
        QCOMPARE(archivedNames(snapshot.value.path), (QStringList{QStringLiteral("DB/"), QStringLiteral("DB/note.txt")}));
    }

    // Snapshot names are one fixed form whatever the locale, later ones of
    // the same minute are numbered, and only finished snapshots are listed.
    void namesAreFixedAndListedNewestFirst()
    {
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(SnapshotCatalog::fileNameFor(QDateTime(QDate(2026, 3, 4), QTime(5, 6))),
                 QStringLiteral("vellumark-2026-03-04-0506.tar.zst"));
        QLocale::setDefault(previous);
        QCOMPARE(SnapshotCatalog::takenFromFileName(QStringLiteral("vellumark-2026-12-10-1415.tar.zst")),
                 std::optional<QDateTime>(QDateTime(QDate(2026, 12, 10), QTime(14, 15))));
        for (const char *bad : {"vellumark-2026-13-10-1415.tar.zst", "vellumark-2026-12-10-1415.tar.zst.partial",
                                "vellumark-2026-12-10-2460.tar.zst", "other-2026-12-10-1415.tar.zst",
                                "vellumark-2026-12-10-1415.zip"})
            QVERIFY2(!SnapshotCatalog::takenFromFileName(QString::fromLatin1(bad)), bad);

        QTemporaryDir dir;
        const QString root = dir.path() + QStringLiteral("/data/");
        const QString backups = dir.path() + QStringLiteral("/backups/");
        writeFileBytes(root + QStringLiteral("DB/note.txt"), "note");
        for (int i = 0; i < 3; ++i)
            QVERIFY(SnapshotWriter(root, backups).write(noon(5)).ok);
        QVERIFY(SnapshotWriter(root, backups).write(noon(4)).ok);
        writeFileBytes(backups + QStringLiteral("vellumark-2026-12-09-1200.tar.zst.partial"), "half");
        writeFileBytes(backups + QStringLiteral("notes.txt"), "not a snapshot");
        QStringList listed;
        for (const SnapshotFile &snapshot : SnapshotCatalog::list(backups))
            listed.append(QFileInfo(snapshot.path).fileName());
        QCOMPARE(listed, (QStringList{QStringLiteral("vellumark-2026-12-05-1200-3.tar.zst"),
                                      QStringLiteral("vellumark-2026-12-05-1200-2.tar.zst"),
                                      QStringLiteral("vellumark-2026-12-05-1200.tar.zst"),
                                      QStringLiteral("vellumark-2026-12-04-1200.tar.zst")}));
    }

    // The writer killed half way: the snapshots taken before are untouched
    // and still the only ones listed; its leftover goes once it has lain
    // still, and the next snapshot succeeds.
    void killedSnapshotLeavesEarlierOnes()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QStringLiteral("/data/");
        const QString backups = dir.path() + QStringLiteral("/backups/");
        writeSampleDataFolder(root, 400, 20);
        const Expected<SnapshotSummary> earlier = SnapshotWriter(root, backups).write(noon(1));
        QVERIFY(earlier.ok);
        const QByteArray earlierBytes = fileBytes(earlier.value.path);

        QProcess driver;
        driver.start(testBuildFile(QStringLiteral(SNAPSHOTDRIVER)), {root, backups});
        QVERIFY(driver.waitForStarted());
        QByteArray said;
        while (!said.contains("files 100\n")) {
            QVERIFY2(driver.waitForReadyRead(10000), said.right(200).constData());
            said += driver.readAllStandardOutput();
        }
        ::kill(static_cast<pid_t>(driver.processId()), SIGKILL);
        QVERIFY(driver.waitForFinished());
        QVERIFY(!said.contains("done"));

        const QList<SnapshotFile> listed = SnapshotCatalog::list(backups);
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed.first().path, earlier.value.path);
        QCOMPARE(fileBytes(earlier.value.path), earlierBytes);
        QVERIFY(SnapshotCatalog::contents(earlier.value.path).ok);
        const QString partial = backups + QStringLiteral("vellumark-2026-12-10-1200.tar.zst.partial");
        QVERIFY(QFileInfo::exists(partial));

        // Fresh leftovers may belong to a writer still at work.
        QCOMPARE(removeUnfinishedSnapshots(backups), 0);
        QFile leftover(partial);
        QVERIFY(leftover.open(QIODevice::ReadWrite));
        QVERIFY(leftover.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        leftover.close();
        QCOMPARE(removeUnfinishedSnapshots(backups), 1);

        const Expected<SnapshotSummary> next = SnapshotWriter(root, backups).write(noon(10));
        QVERIFY2(next.ok, qPrintable(next.error));
        QCOMPARE(SnapshotCatalog::list(backups).size(), 2);
    }

    // A snapshot damaged on disk says so instead of listing half of it.
    void damagedSnapshotIsReported()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QStringLiteral("/data/");
        writeSampleDataFolder(root, 200, 5);
        const Expected<SnapshotSummary> snapshot = SnapshotWriter(root, dir.path() + QStringLiteral("/b")).write(noon(1));
        QVERIFY(snapshot.ok);
        QByteArray bytes = fileBytes(snapshot.value.path);
        QFile::resize(snapshot.value.path, bytes.size() / 2);
        const Expected<QList<ArchivedEntry>> entries = SnapshotCatalog::contents(snapshot.value.path);
        QVERIFY(!entries.ok);
        QVERIFY(entries.error.contains(QFileInfo(snapshot.value.path).fileName()));
        // Restoring from it changes nothing.
        const QMap<QString, QByteArray> before = archiveTreeOf(root);
        QVERIFY(!SnapshotRestore::restoreEverything(snapshot.value.path, root, dir.path() + QStringLiteral("/b")).ok);
        QCOMPARE(archiveTreeOf(root), before);
    }
};

QTEST_GUILESS_MAIN(TestSnapshotArchive)
#include "tst_snapshotarchive.moc"
