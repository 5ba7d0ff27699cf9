#include "core/snapshots/snapshotrestore.h"

#include "core/common/textfile.h"
#include "core/snapshots/archivehandles.h"
#include "core/snapshots/snapshotcatalog.h"
#include "core/snapshots/snapshotwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

// Restoring everything, and what a crash at each point leaves:
//
// 1. The snapshot is unpacked into STAGING/new inside the data folder (same
//    file system, so the renames below are atomic). A crash here leaves the
//    data folder untouched; the next start removes STAGING.
// 2. STAGING/ready is written (through a temporary name, flushed): the list
//    of top-level names to replace, "+NAME" for one the snapshot has,
//    "-NAME" for one it lacks. From the moment it exists the restore is
//    decided and every later start finishes it.
// 3. For each name in turn: the current entry moves to STAGING/old, then
//    STAGING/new/NAME moves into its place. Each move is one rename. A
//    crash between the two leaves NAME missing for a moment; the next
//    start sees STAGING/new/NAME still there and moves it in. A crash after
//    both leaves nothing to do for that name.
// 4. STAGING (the old state, which the caller has kept in a snapshot) is
//    removed. A crash while removing leaves some of it; the next start
//    finds "ready", nothing left to move, and removes the rest.
//
// So after a crash and the next start the data folder is either wholly the
// old one (before step 2) or wholly the snapshot's (from step 2 on).

namespace {

QString restoreTr(const char *text)
{
    return QCoreApplication::translate("SnapshotRestore", text);
}

QString rootWithSlash(const QString &dir)
{
    QString path = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool exists(const QString &path)
{
    return TextFile::entryExists(path);
}

void syncFolder(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

Result renameEntry(const QString &from, const QString &to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return Result::failure(restoreTr("\"%1\" cannot be moved to \"%2\": %3")
                                   .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to), errnoText()));
    return Result::success();
}

// Writes a new file (never replacing one); flushed to disk with the
// others by flushFileSystem(), or at once when asked to.
Result writeNewFile(const QString &path, const QByteArray &bytes, bool flushNow = false)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return Result::failure(restoreTr("\"%1\" cannot be written: %2").arg(QDir::toNativeSeparators(path), errnoText()));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            const QString reason = errnoText();
            ::close(fd);
            return Result::failure(restoreTr("\"%1\" cannot be written: %2").arg(QDir::toNativeSeparators(path), reason));
        }
        done += wrote;
    }
    const bool synced = !flushNow || ::fsync(fd) == 0;
    const QString reason = errnoText();
    ::close(fd);
    if (!synced)
        return Result::failure(restoreTr("\"%1\" cannot be flushed to disk: %2").arg(QDir::toNativeSeparators(path), reason));
    return Result::success();
}

// Unpacks every file and folder of the snapshot under target (ending in
// "/"); the top-level names found go into topNames.
Result unpack(const QString &snapshotPath, const QString &target, QSet<QString> *topNames)
{
    ArchiveHandles::Reader reader;
    const QString shown = QDir::toNativeSeparators(snapshotPath);
    if (archive_read_open_filename(reader.handle, QFile::encodeName(snapshotPath).constData(), 1 << 16) != ARCHIVE_OK)
        return Result::failure(restoreTr("The snapshot \"%1\" cannot be opened: %2").arg(shown, reader.errorText()));
    archive_entry *entry = nullptr;
    QByteArray bytes;
    for (;;) {
        const int status = archive_read_next_header(reader.handle, &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            return Result::failure(restoreTr("The snapshot \"%1\" is damaged: %2").arg(shown, reader.errorText()));
        const QString name = ArchiveHandles::entryName(entry);
        const auto type = archive_entry_filetype(entry);
        // Only plain files and folders with names that stay inside the data
        // folder; anything else in an archive is passed over.
        if (!SnapshotCatalog::isSafeEntryName(name) || (type != AE_IFDIR && type != AE_IFREG)) {
            archive_read_data_skip(reader.handle);
            continue;
        }
        QString relative = name;
        if (relative.endsWith(QLatin1Char('/')))
            relative.chop(1);
        const QString top = relative.section(QLatin1Char('/'), 0, 0);
        // Only the data folder's own folders; a file beside them in an
        // archive (or the folder name as a file) is passed over.
        if (!SnapshotWriter::dataFolderNames().contains(top) || (relative == top && type != AE_IFDIR)) {
            archive_read_data_skip(reader.handle);
            continue;
        }
        topNames->insert(top);
        const QString path = target + relative;
        if (type == AE_IFDIR) {
            if (!QDir().mkpath(path))
                return Result::failure(restoreTr("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(path)));
            continue;
        }
        Expected<QByteArray> data = ArchiveHandles::readEntryData(reader, entry, shown, name);
        if (!data)
            return Result(data);
        bytes = std::move(data.value);
        const QString parent = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(parent))
            return Result::failure(restoreTr("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(parent)));
        const Result written = writeNewFile(path, bytes);
        if (!written)
            return written;
    }
    // Every new file and name must be on disk before "ready" is: one flush
    // of the whole file system costs less than one per file.
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::syncfs(fd) == 0;
    const QString reason = errnoText();
    if (fd >= 0)
        ::close(fd);
    if (!flushed)
        return Result::failure(restoreTr("The restored files in \"%1\" cannot be flushed to disk: %2")
                                   .arg(QDir::toNativeSeparators(target), reason));
    return Result::success();
}

// Top-level entries of the data folder that a restore replaces.
QSet<QString> replaceableNames(const QString &root, const QString &backupDir)
{
    QSet<QString> names;
    const QFileInfoList entries =
        QDir(root).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : entries) {
        const QString name = info.fileName();
        if (!SnapshotWriter::dataFolderNames().contains(name))
            continue;
        if (rootWithSlash(info.absoluteFilePath()) == backupDir)
            continue;
        names.insert(name);
    }
    return names;
}

// Step 3 and 4 from a "ready" list; safe to run again after a crash.
Result swapIn(const QString &root, const QString &staging, const QStringList &plan, const SnapshotRestore::StepHook &step)
{
    const QString incoming = staging + QStringLiteral("new/");
    const QString outgoing = staging + QStringLiteral("old/");
    if (!QDir().mkpath(outgoing))
        return Result::failure(restoreTr("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(outgoing)));
    for (const QString &line : plan) {
        if (line.size() < 2)
            continue;
        const bool fromSnapshot = line.startsWith(QLatin1Char('+'));
        const QString name = line.mid(1);
        if (!SnapshotWriter::dataFolderNames().contains(name))
            continue;
        const QString current = root + name;
        if (fromSnapshot && !exists(incoming + name))
            continue; // moved in before
        if (exists(current)) {
            QString parked = outgoing + name;
            for (int n = 2; exists(parked); ++n)
                parked = outgoing + name + QStringLiteral(".%1").arg(n);
            const Result moved = renameEntry(current, parked);
            if (!moved)
                return moved;
        }
        if (step && !step(QStringLiteral("moved out ") + name))
            return Result::failure(QStringLiteral("stopped"));
        if (fromSnapshot) {
            const Result moved = renameEntry(incoming + name, current);
            if (!moved)
                return moved;
        }
        if (step && !step(QStringLiteral("moved in ") + name))
            return Result::failure(QStringLiteral("stopped"));
    }
    syncFolder(root);
    if (!QDir(staging).removeRecursively())
        return Result::failure(restoreTr("The restore is complete, but the earlier files in \"%1\" could not all be "
                                         "removed; the next start tries again.")
                                   .arg(QDir::toNativeSeparators(staging)));
    return Result::success();
}

QString readyFile(const QString &staging)
{
    return staging + QStringLiteral("ready");
}

} // namespace

namespace SnapshotRestore {

QString besideName(const QString &path, const QDate &snapshotDay)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath() + QLatin1Char('/');
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString day = QStringLiteral("%1-%2-%3")
                            .arg(snapshotDay.year(), 4, 10, QLatin1Char('0'))
                            .arg(snapshotDay.month(), 2, 10, QLatin1Char('0'))
                            .arg(snapshotDay.day(), 2, 10, QLatin1Char('0'));
    QString candidate = folder + QStringLiteral("%1 (restored %2)%3").arg(base, day, suffix);
    for (int n = 2; exists(candidate); ++n)
        candidate = folder + QStringLiteral("%1 (restored %2) %3%4").arg(base, day).arg(n).arg(suffix);
    return candidate;
}

Expected<QString> placeFile(const QByteArray &bytes, const QString &entryName, const QString &dataRoot,
                            Placement placement, const QDate &snapshotDay)
{
    if (!SnapshotCatalog::isSafeEntryName(entryName) || entryName.endsWith(QLatin1Char('/')))
        return Expected<QString>::failure(restoreTr("\"%1\" cannot be restored: it names no file of the data folder.").arg(entryName));
    const QString current = rootWithSlash(dataRoot) + entryName;
    const QString parent = QFileInfo(current).absolutePath();
    if (!QDir().mkpath(parent))
        return Expected<QString>::failure(restoreTr("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(parent)));
    const QString target = placement == Placement::BesideCurrent && exists(current) ? besideName(current, snapshotDay) : current;
    const WriteResult written = TextFile::writeBytes(target, bytes);
    if (!written)
        return Expected<QString>(Result(written));
    return target;
}

Expected<QString> restoreFile(const QString &snapshotPath, const QString &entryName, const QString &dataRoot,
                              Placement placement, const QDate &snapshotDay)
{
    if (!SnapshotCatalog::isSafeEntryName(entryName) || entryName.endsWith(QLatin1Char('/')))
        return Expected<QString>::failure(restoreTr("\"%1\" cannot be restored: it names no file of the data folder.").arg(entryName));
    const Expected<QByteArray> bytes = SnapshotCatalog::readFile(snapshotPath, entryName);
    if (!bytes)
        return Expected<QString>(Result(bytes));
    return placeFile(bytes.value, entryName, dataRoot, placement, snapshotDay);
}

Result restoreEverything(const QString &snapshotPath, const QString &dataRoot, const QString &backupDir,
                         const StepHook &step)
{
    const QString root = rootWithSlash(dataRoot);
    const QString backups = rootWithSlash(backupDir);
    const QString staging = root + SnapshotWriter::restoreStagingName() + QLatin1Char('/');
    const QString incoming = staging + QStringLiteral("new/");

    const QSet<QString> current = replaceableNames(root, backups);
    // A backups folder deeper inside one of the folders to be replaced
    // would go with it.
    if (backups.startsWith(root)) {
        const QString top = backups.mid(root.size()).section(QLatin1Char('/'), 0, 0);
        if (backups.mid(root.size()).count(QLatin1Char('/')) > 1 && current.contains(top))
            return Result::failure(restoreTr("The backups folder \"%1\" lies inside the data folder's \"%2\", which a "
                                             "restore of everything replaces; choose a backups folder elsewhere first.")
                                       .arg(QDir::toNativeSeparators(backups), top));
    }

    // An earlier restore that never got ready is dropped.
    if (exists(staging)) {
        const Result finished = finishInterruptedRestore(root);
        if (!finished)
            return finished;
    }
    if (!QDir().mkpath(incoming))
        return Result::failure(restoreTr("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(incoming)));

    QSet<QString> fromSnapshot;
    const Result unpacked = unpack(snapshotPath, incoming, &fromSnapshot);
    if (!unpacked) {
        QDir(staging).removeRecursively();
        return unpacked;
    }
    if (step && !step(QStringLiteral("unpacked")))
        return Result::failure(QStringLiteral("stopped"));
    if (fromSnapshot.isEmpty()) {
        QDir(staging).removeRecursively();
        return Result::failure(restoreTr("The snapshot \"%1\" holds no files; nothing was restored.")
                                   .arg(QDir::toNativeSeparators(snapshotPath)));
    }

    QStringList plan;
    QStringList names = (fromSnapshot | current).values();
    names.sort();
    for (const QString &name : std::as_const(names))
        plan.append((fromSnapshot.contains(name) ? QLatin1Char('+') : QLatin1Char('-')) + name);
    const QString ready = readyFile(staging);
    const Result planned = writeNewFile(ready + QStringLiteral(".partial"), plan.join(QLatin1Char('\n')).toUtf8(), true);
    if (!planned) {
        QDir(staging).removeRecursively();
        return planned;
    }
    const Result decided = renameEntry(ready + QStringLiteral(".partial"), ready);
    if (!decided) {
        QDir(staging).removeRecursively();
        return decided;
    }
    syncFolder(staging);
    if (step && !step(QStringLiteral("ready")))
        return Result::failure(QStringLiteral("stopped"));
    return swapIn(root, staging, plan, step);
}

Result finishInterruptedRestore(const QString &dataRoot)
{
    const QString root = rootWithSlash(dataRoot);
    const QString staging = root + SnapshotWriter::restoreStagingName() + QLatin1Char('/');
    if (!exists(staging))
        return Result::success();
    QFile ready(readyFile(staging));
    if (!ready.open(QIODevice::ReadOnly)) {
        // Never got ready: the data folder was not touched.
        if (!QDir(staging).removeRecursively())
            return Result::failure(restoreTr("The unfinished restore in \"%1\" could not be removed.")
                                       .arg(QDir::toNativeSeparators(staging)));
        return Result::success();
    }
    const QStringList plan = QString::fromUtf8(ready.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ready.close();
    return swapIn(root, staging, plan, {});
}

} // namespace SnapshotRestore
