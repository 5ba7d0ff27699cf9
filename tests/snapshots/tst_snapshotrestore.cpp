#include "core/calendar/daynotes.h"
#include "core/snapshots/snapshotcatalog.h"
#include "core/snapshots/snapshotrestore.h"
#include "core/snapshots/snapshotwriter.h"
#include "sampledatafolder.h"
#include "testhelpers.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <archive.h>
#include <archive_entry.h>

// Restoring from a snapshot: one file beside or over the current one, and
// everything, also when the restore is cut off at any step.
class TestSnapshotRestore : public QObject
{
    Q_OBJECT

private:
    static QMap<QString, QByteArray> restoreTreeOf(const QString &root)
    {
        QMap<QString, QByteArray> tree;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            const QString relative = QDir(root).relativeFilePath(it.filePath());
            if (relative.startsWith(QLatin1String("Backups")))
                continue;
            tree.insert(relative + (it.fileInfo().isDir() ? QStringLiteral("/") : QString()),
                        it.fileInfo().isDir() ? QByteArray() : fileBytes(it.filePath()));
        }
        return tree;
    }

    // A tar.zst with the given entries; a name ending in "/" is a folder, a
    // name starting with "link:" a symbolic link to "/etc/passwd".
    static void writeHandMadeArchive(const QString &path, const QList<QPair<QString, QByteArray>> &entries)
    {
        archive *out = archive_write_new();
        archive_write_set_format_pax_restricted(out);
        archive_write_add_filter_zstd(out);
        QCOMPARE(archive_write_open_filename(out, QFile::encodeName(path).constData()), ARCHIVE_OK);
        for (const auto &[name, bytes] : entries) {
            archive_entry *entry = archive_entry_new();
            const bool link = name.startsWith(QLatin1String("link:"));
            archive_entry_set_pathname(entry, (link ? name.mid(5) : name).toUtf8().constData());
            if (link) {
                archive_entry_set_filetype(entry, AE_IFLNK);
                archive_entry_set_symlink(entry, "/etc/passwd");
            } else if (name.endsWith(QLatin1Char('/'))) {
                archive_entry_set_filetype(entry, AE_IFDIR);
                archive_entry_set_perm(entry, 0755);
            } else {
                archive_entry_set_filetype(entry, AE_IFREG);
                archive_entry_set_perm(entry, 0644);
                archive_entry_set_size(entry, bytes.size());
            }
            archive_write_header(out, entry);
            if (!bytes.isEmpty())
                archive_write_data(out, bytes.constData(), static_cast<size_t>(bytes.size()));
            archive_entry_free(entry);
        }
        archive_write_close(out);
        archive_write_free(out);
    }

    static QString takeSnapshot(const QString &root, int day)
    {
        const Expected<SnapshotSummary> written =
            SnapshotWriter(root, root + QStringLiteral("Backups")).write(QDateTime(QDate(2026, 12, day), QTime(9, 0)));
        return written ? written.value.path : QString();
    }

private Q_SLOTS:
    // One day note: over the current one (atomically, the rest untouched),
    // beside it under a name that says where it came from, and in place when
    // the current one is gone.
    void oneDayNoteOverBesideAndMissing()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        const QString name = QStringLiteral("DB/") + DayNotes::noteName(45296);
        writeFileBytes(root + name, "Dentist at 10\r\nBuy bread");
        writeFileBytes(root + QStringLiteral("DB/other.txt"), "other");
        const QString snapshot = takeSnapshot(root, 9);
        QVERIFY(!snapshot.isEmpty());

        writeFileBytes(root + name, "");
        writeFileBytes(root + QStringLiteral("DB/other.txt"), "other, changed");
        const Expected<QString> beside = SnapshotRestore::restoreFile(snapshot, name, root,
                                                                      SnapshotRestore::Placement::BesideCurrent, QDate(2026, 12, 9));
        QVERIFY2(beside.ok, qPrintable(beside.error));
        QCOMPARE(QFileInfo(beside.value).fileName(),
                 QFileInfo(name).completeBaseName() + QStringLiteral(" (restored 2026-12-09).txt"));
        QCOMPARE(fileBytes(beside.value), QByteArray("Dentist at 10\r\nBuy bread"));
        QCOMPARE(fileBytes(root + name), QByteArray());
        // A second copy beside does not replace the first.
        const Expected<QString> again = SnapshotRestore::restoreFile(snapshot, name, root,
                                                                     SnapshotRestore::Placement::BesideCurrent, QDate(2026, 12, 9));
        QVERIFY(again.ok);
        QVERIFY(again.value != beside.value);
        QVERIFY(again.value.endsWith(QLatin1String(" (restored 2026-12-09) 2.txt")));

        const Expected<QString> over = SnapshotRestore::restoreFile(snapshot, name, root,
                                                                    SnapshotRestore::Placement::OverCurrent, QDate(2026, 12, 9));
        QVERIFY2(over.ok, qPrintable(over.error));
        QCOMPARE(over.value, root + name);
        QCOMPARE(fileBytes(root + name), QByteArray("Dentist at 10\r\nBuy bread"));
        QCOMPARE(fileBytes(root + QStringLiteral("DB/other.txt")), QByteArray("other, changed"));

        // A page of a deleted project comes back with its folder.
        writeFileBytes(root + QStringLiteral("Projects/Garden/Projects.txt"), "Dig");
        const QString withGarden = takeSnapshot(root, 10);
        QVERIFY(QDir(root + QStringLiteral("Projects/Garden")).removeRecursively());
        const Expected<QString> page = SnapshotRestore::restoreFile(withGarden, QStringLiteral("Projects/Garden/Projects.txt"),
                                                                    root, SnapshotRestore::Placement::BesideCurrent, QDate(2026, 12, 10));
        QVERIFY(page.ok);
        QCOMPARE(page.value, root + QStringLiteral("Projects/Garden/Projects.txt"));
        QCOMPARE(fileBytes(page.value), QByteArray("Dig"));
    }

    void namesOutsideTheDataFolderAreRefused()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QStringLiteral("/data/");
        writeFileBytes(root + QStringLiteral("DB/a.txt"), "a");
        const QString snapshot = takeSnapshot(root, 9);
        for (const char *bad : {"../escape.txt", "/etc/passwd", "DB/../../x.txt", "DB/", "", "DB/missing.txt"}) {
            const Expected<QString> restored = SnapshotRestore::restoreFile(
                snapshot, QString::fromLatin1(bad), root, SnapshotRestore::Placement::OverCurrent, QDate(2026, 12, 9));
            QVERIFY2(!restored.ok, bad);
            QVERIFY(!restored.error.isEmpty());
        }
        QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/escape.txt")));
    }

    // A hand-made archive with names that climb out of the folder, an
    // absolute name and a link: restoring everything places only what
    // belongs inside, and nothing outside the data folder changes.
    void hostileArchiveStaysInside()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QStringLiteral("/data/");
        writeFileBytes(root + QStringLiteral("DB/a.txt"), "a");
        const QString archive = dir.path() + QStringLiteral("/hostile.tar.zst");
        writeHandMadeArchive(archive, {{QStringLiteral("DB/"), {}},
                                       {QStringLiteral("DB/b.txt"), "b"},
                                       {QStringLiteral("../outside.txt"), "out"},
                                       {QStringLiteral("/tmp/absolute-from-archive.txt"), "abs"},
                                       {QStringLiteral("DB/./dot.txt"), "dot"},
                                       {QStringLiteral("evil.sh"), "beside the data"},
                                       {QStringLiteral("Other/x.txt"), "not a data folder"},
                                       {QStringLiteral("link:DB/passwd.txt"), {}}});
        const Result restored = SnapshotRestore::restoreEverything(archive, root, root + QStringLiteral("Backups"));
        QVERIFY2(restored.ok, qPrintable(restored.error));
        QCOMPARE(restoreTreeOf(root), (QMap<QString, QByteArray>{{QStringLiteral("DB/"), {}}, {QStringLiteral("DB/b.txt"), "b"}}));
        QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/outside.txt")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/absolute-from-archive.txt")));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("evil.sh")));
    }

    // Restoring everything, cut off after each step as a crash would, then
    // finished by the next start: the folder is wholly the old one when the
    // cut came before the restore was ready, and wholly the snapshot's from
    // then on; never a mix.
    void cutOffAtEveryStepLeavesOneWholeFolder()
    {
        QTemporaryDir source;
        const QString sourceRoot = source.path() + QLatin1Char('/');
        writeSampleDataFolder(sourceRoot, 60, 4);
        const QString snapshot = takeSnapshot(sourceRoot, 9);
        QVERIFY(!snapshot.isEmpty());
        const QMap<QString, QByteArray> fromSnapshot = restoreTreeOf(sourceRoot);

        QStringList steps;
        {
            QTemporaryDir probe;
            const QString root = probe.path() + QLatin1Char('/');
            writeFileBytes(root + QStringLiteral("Help/only-now.txt"), "x");
            QVERIFY(SnapshotRestore::restoreEverything(snapshot, root, root + QStringLiteral("Backups"), [&](const QString &step) {
                        steps.append(step);
                        return true;
                    }).ok);
        }
        QVERIFY(steps.contains(QStringLiteral("unpacked")));
        QVERIFY(steps.contains(QStringLiteral("ready")));
        QVERIFY(steps.contains(QStringLiteral("moved in DB")));

        for (const QString &cut : std::as_const(steps)) {
            QTemporaryDir dir;
            const QString root = dir.path() + QLatin1Char('/');
            writeSampleDataFolder(root, 30, 2);
            writeFileBytes(root + QStringLiteral("DB/today.txt"), "written after the snapshot");
            writeFileBytes(root + QStringLiteral("Help/only-now.txt"), "x");
            writeFileBytes(root + QStringLiteral("Backups/keep.txt"), "backups stay");
            const QMap<QString, QByteArray> old = restoreTreeOf(root);

            const Result stopped = SnapshotRestore::restoreEverything(snapshot, root, root + QStringLiteral("Backups"),
                                                                      [&](const QString &step) { return step != cut; });
            QVERIFY(!stopped.ok);
            const Result finished = SnapshotRestore::finishInterruptedRestore(root);
            QVERIFY2(finished.ok, qPrintable(finished.error));
            const QMap<QString, QByteArray> after = restoreTreeOf(root);
            if (cut == QLatin1String("unpacked"))
                QCOMPARE(after, old);
            else
                QVERIFY2(after == fromSnapshot, qPrintable(cut));
            QCOMPARE(fileBytes(root + QStringLiteral("Backups/keep.txt")), QByteArray("backups stay"));
            QVERIFY(!QFileInfo::exists(root + SnapshotWriter::restoreStagingName()));
        }
    }

    // A backups folder deep inside a folder the restore replaces would be
    // swapped away with it: refused, nothing changed.
    void backupsInsideAReplacedFolderIsRefused()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        writeFileBytes(root + QStringLiteral("DB/a.txt"), "a");
        const QString backups = root + QStringLiteral("DB/backups/");
        const Expected<SnapshotSummary> snapshot = SnapshotWriter(root, backups).write(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
        QVERIFY(snapshot.ok);
        writeFileBytes(root + QStringLiteral("DB/a.txt"), "changed");
        const Result restored = SnapshotRestore::restoreEverything(snapshot.value.path, root, backups);
        QVERIFY(!restored.ok);
        QVERIFY(restored.error.contains(QLatin1String("DB")));
        QCOMPARE(fileBytes(root + QStringLiteral("DB/a.txt")), QByteArray("changed"));
        QVERIFY(QFileInfo::exists(snapshot.value.path));
    }
};

QTEST_GUILESS_MAIN(TestSnapshotRestore)
#include "tst_snapshotrestore.moc"
