#include "core/snapshots/snapshotwriter.h"

#include "core/snapshots/archivehandles.h"
#include "core/snapshots/snapshotcatalog.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString writerTr(const char *text)
{
    return QCoreApplication::translate("SnapshotWriter", text);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString withSlash(const QString &dir)
{
    QString path = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

// A found entry of the data folder, relative to its root.
struct FoundEntry
{
    QString relative;
    bool isFolder = false;
};

// Reads a whole regular file without following a link and without
// blocking on a pipe or a device.
bool readRegularFile(const QString &path, QByteArray *bytes, QString *reason)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *reason = systemReason(errno);
        return false;
    }
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *reason = writerTr("not a regular file");
        ::close(fd);
        return false;
    }
    bytes->clear();
    bytes->reserve(static_cast<qsizetype>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            *reason = systemReason(errno);
            ::close(fd);
            return false;
        }
        if (got == 0)
            break;
        bytes->append(buffer, got);
    }
    ::close(fd);
    return true;
}

bool syncPath(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

class TreeWalker
{
public:
    TreeWalker(const QString &root, const QString &backupDir)
        : m_root(root)
        , m_backupDir(backupDir)
    {
    }

    void walk(const QString &relativeDir)
    {
        QDir dir(m_root + relativeDir);
        const QFileInfoList children = dir.entryInfoList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        if (!dir.exists() || (children.isEmpty() && !dir.isReadable())) {
            unreadable.append(writerTr("\"%1\": the folder cannot be read").arg(relativeDir));
            return;
        }
        for (const QFileInfo &child : children) {
            const QString relative = relativeDir + child.fileName();
            if (child.isSymLink())
                continue;
            if (relativeDir.isEmpty() && !SnapshotWriter::dataFolderNames().contains(child.fileName()))
                continue;
            if (child.isDir()) {
                if (withSlash(child.absoluteFilePath()) == m_backupDir)
                    continue;
                entries.append({relative + QLatin1Char('/'), true});
                walk(relative + QLatin1Char('/'));
            } else if (child.isFile()) {
                entries.append({relative, false});
            } else {
                // A pipe, a socket or a device: nothing a snapshot can hold.
                unreadable.append(writerTr("\"%1\": not a regular file").arg(relative));
            }
        }
    }

    QList<FoundEntry> entries;
    QStringList unreadable;

private:
    QString m_root;
    QString m_backupDir;
};

struct Expectation
{
    qint64 size = 0;
    QByteArray checksum;
};

QByteArray checksumOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Reads the archive back: every file that was written must be there once,
// with its size and checksum, and nothing else.
Result verifyArchive(const QString &path, const QHash<QString, Expectation> &expected, qsizetype folders)
{
    ArchiveHandles::Reader reader;
    const QString shown = QDir::toNativeSeparators(path);
    if (archive_read_open_filename(reader.handle, QFile::encodeName(path).constData(), 1 << 16) != ARCHIVE_OK)
        return Result::failure(writerTr("The new snapshot \"%1\" cannot be read back: %2").arg(shown, reader.errorText()));
    QHash<QString, bool> seen;
    qsizetype foldersSeen = 0;
    QByteArray bytes;
    archive_entry *entry = nullptr;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    char buffer[1 << 16];
    for (;;) {
        const int status = archive_read_next_header(reader.handle, &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK)
            return Result::failure(writerTr("The new snapshot \"%1\" does not read back: %2").arg(shown, reader.errorText()));
        if (archive_entry_filetype(entry) == AE_IFDIR) {
            ++foldersSeen;
            continue;
        }
        const QString name = ArchiveHandles::entryName(entry);
        const auto wanted = expected.constFind(name);
        if (wanted == expected.constEnd() || seen.contains(name))
            return Result::failure(writerTr("The new snapshot \"%1\" holds an unexpected entry \"%2\".").arg(shown, name));
        seen.insert(name, true);
        hash.reset();
        qint64 size = 0;
        for (;;) {
            const la_ssize_t got = archive_read_data(reader.handle, buffer, sizeof buffer);
            if (got < 0)
                return Result::failure(writerTr("The new snapshot \"%1\" does not read back: %2").arg(shown, reader.errorText()));
            if (got == 0)
                break;
            hash.addData(QByteArrayView(buffer, got));
            size += got;
        }
        if (size != wanted->size || hash.result() != wanted->checksum)
            return Result::failure(writerTr("The new snapshot \"%1\" holds a different \"%2\" than the data folder.").arg(shown, name));
    }
    if (seen.size() != expected.size() || foldersSeen != folders)
        return Result::failure(writerTr("The new snapshot \"%1\" misses entries.").arg(shown));
    return Result::success();
}

} // namespace

SnapshotWriter::SnapshotWriter(const QString &dataRoot, const QString &backupDir)
    : m_dataRoot(withSlash(dataRoot))
    , m_backupDir(withSlash(backupDir))
{
}

QString SnapshotWriter::restoreStagingName()
{
    return QStringLiteral(".vellumark-restore");
}

const QStringList &SnapshotWriter::dataFolderNames()
{
    // Those the data folder creates, and those it only names.
    static const QStringList names{
        QStringLiteral("Build"),   QStringLiteral("Config"), QStringLiteral("DB"),      QStringLiteral("Decision"),
        QStringLiteral("FTP"),     QStringLiteral("Help"),   QStringLiteral("Journal"), QStringLiteral("Log"),
        QStringLiteral("Projects"), QStringLiteral("Report"), QStringLiteral("UserData"), QStringLiteral("Folders"),
        QStringLiteral("Icons"),   QStringLiteral("Brand")};
    return names;
}

QString SnapshotWriter::backupDirProblem(const QString &dataRoot, const QString &backupDir)
{
    const QString root = withSlash(dataRoot);
    const QString backups = withSlash(backupDir);
    const QString shownBackups = QDir::toNativeSeparators(backups);
    if (backups == root)
        return writerTr("The backups folder \"%1\" is the data folder itself; choose another folder for the "
                        "snapshots.").arg(shownBackups);
    for (const QString &name : dataFolderNames()) {
        if (backups == root + name + QLatin1Char('/'))
            return writerTr("The backups folder \"%1\" is the data folder's own folder \"%2\", which a snapshot "
                            "must hold; choose another folder for the snapshots.").arg(shownBackups, name);
    }
    return QString();
}

Expected<SnapshotSummary> SnapshotWriter::write(const QDateTime &takenAt)
{
    using Outcome = Expected<SnapshotSummary>;
    const QString shownBackups = QDir::toNativeSeparators(m_backupDir);
    const QString problem = backupDirProblem(m_dataRoot, m_backupDir);
    if (!problem.isEmpty())
        return Outcome::failure(problem);
    if (!QFileInfo(m_dataRoot).isDir())
        return Outcome::failure(writerTr("The data folder \"%1\" is not there; no snapshot was taken.")
                                    .arg(QDir::toNativeSeparators(m_dataRoot)));
    if (!QDir().mkpath(m_backupDir))
        return Outcome::failure(writerTr("The backups folder \"%1\" cannot be made; no snapshot was taken.").arg(shownBackups));

    TreeWalker walker(m_dataRoot, m_backupDir);
    walker.walk(QString());

    QString finalName;
    for (int sequence = 1; sequence < 1000; ++sequence) {
        finalName = m_backupDir + SnapshotCatalog::fileNameFor(takenAt, sequence);
        if (!QFileInfo::exists(finalName) && !QFileInfo(finalName).isSymLink())
            break;
    }
    const QString partialName = finalName + QStringLiteral(".partial");
    const QByteArray partialPath = QFile::encodeName(partialName);
    ::unlink(partialPath.constData());
    const int fd = ::open(partialPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return Outcome::failure(writerTr("The snapshot \"%1\" cannot be written: %2")
                                    .arg(QDir::toNativeSeparators(partialName), systemReason(errno)));
    ArchiveHandles::Writer writer;
    auto abandon = [&](const QString &message) {
        // The archive must not write its end into a descriptor that is
        // closed, or by then another file's.
        archive_write_fail(writer.handle);
        ::close(fd);
        ::unlink(partialPath.constData());
        return Outcome::failure(message);
    };

    archive_write_set_format_pax_restricted(writer.handle);
    archive_write_add_filter_zstd(writer.handle);
    if (archive_write_open_fd(writer.handle, fd) != ARCHIVE_OK)
        return abandon(writerTr("The snapshot \"%1\" cannot be written: %2")
                           .arg(QDir::toNativeSeparators(partialName), writer.errorText()));

    SnapshotSummary summary;
    summary.unreadable = walker.unreadable;
    QHash<QString, Expectation> expected;
    qsizetype folders = 0;
    QByteArray bytes;
    for (const FoundEntry &found : std::as_const(walker.entries)) {
        ArchiveHandles::Entry entry;
        archive_entry_set_pathname_utf8(entry.handle, found.relative.toUtf8().constData());
        const QFileInfo info(m_dataRoot + found.relative);
        const QDateTime modified = info.lastModified();
        archive_entry_set_mtime(entry.handle, modified.toSecsSinceEpoch(), 0);
        if (found.isFolder) {
            archive_entry_set_filetype(entry.handle, AE_IFDIR);
            archive_entry_set_perm(entry.handle, 0755);
            if (archive_write_header(writer.handle, entry.handle) != ARCHIVE_OK)
                return abandon(writerTr("The snapshot \"%1\" cannot be written: %2")
                                   .arg(QDir::toNativeSeparators(partialName), writer.errorText()));
            ++folders;
            continue;
        }
        QString reason;
        if (!readRegularFile(m_dataRoot + found.relative, &bytes, &reason)) {
            summary.unreadable.append(QStringLiteral("\"%1\": %2").arg(found.relative, reason));
            continue;
        }
        archive_entry_set_filetype(entry.handle, AE_IFREG);
        archive_entry_set_perm(entry.handle, 0644);
        archive_entry_set_size(entry.handle, bytes.size());
        if (archive_write_header(writer.handle, entry.handle) != ARCHIVE_OK
            || archive_write_data(writer.handle, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size())
            return abandon(writerTr("The snapshot \"%1\" cannot be written: %2")
                               .arg(QDir::toNativeSeparators(partialName), writer.errorText()));
        expected.insert(found.relative, {bytes.size(), checksumOf(bytes)});
        ++summary.files;
        if (m_progress)
            m_progress(summary.files);
    }
    if (archive_write_close(writer.handle) != ARCHIVE_OK)
        return abandon(writerTr("The snapshot \"%1\" cannot be written: %2")
                           .arg(QDir::toNativeSeparators(partialName), writer.errorText()));
    if (::fsync(fd) != 0)
        return abandon(writerTr("The snapshot \"%1\" cannot be flushed to disk: %2")
                           .arg(QDir::toNativeSeparators(partialName), systemReason(errno)));
    ::close(fd);

    const Result checked = verifyArchive(partialName, expected, folders);
    if (!checked) {
        ::unlink(partialPath.constData());
        return Outcome::failure(checked.error);
    }
    if (::rename(partialPath.constData(), QFile::encodeName(finalName).constData()) != 0) {
        const int error = errno;
        ::unlink(partialPath.constData());
        return Outcome::failure(writerTr("The snapshot \"%1\" cannot be given its name: %2")
                                    .arg(QDir::toNativeSeparators(finalName), systemReason(error)));
    }
    syncPath(m_backupDir, O_RDONLY | O_DIRECTORY);
    summary.path = finalName;
    summary.bytes = QFileInfo(finalName).size();
    return summary;
}

int removeUnfinishedSnapshots(const QString &backupDir)
{
    int removed = 0;
    const QFileInfoList partials = QDir(backupDir).entryInfoList(
        {QStringLiteral("vellumark-*.tar.zst.partial")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    // One still being written (by another program sharing the folder)
    // keeps changing; only what lies still for a while is left over.
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-10 * 60);
    for (const QFileInfo &info : partials) {
        if (info.lastModified().toUTC() < settled && QFile::remove(info.absoluteFilePath()))
            ++removed;
    }
    return removed;
}
