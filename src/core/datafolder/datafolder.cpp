#include "core/datafolder/datafolder.h"

#include "core/common/syncfiles.h"
#include "core/common/textfile.h"
#include "core/platform/shell.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Taken when the program is loaded, before anything is written.
const qint64 runStartMs = QDateTime::currentMSecsSinceEpoch();

QString tr(const char *text)
{
    return QCoreApplication::translate("DataFolder", text);
}

void createOneLevel(const QString &path)
{
    // One level only: a missing parent means the folder stays absent.
    QDir dir(path);
    if (dir.exists())
        return;
    const QString name = dir.dirName();
    if (dir.cdUp())
        dir.mkdir(name);
}

Result copyRecursively(const QString &source, const QString &destination)
{
    const QFileInfo info(source);
    if (info.isDir() && !info.isSymLink()) {
        if (!QDir().mkdir(destination) && !QFileInfo(destination).isDir())
            return Result::failure(tr("Could not create the folder \"%1\".").arg(destination));
        const QDir dir(source);
        const auto entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &entry : entries) {
            const Result copied = copyRecursively(dir.filePath(entry), QDir(destination).filePath(entry));
            if (!copied)
                return copied;
        }
        return Result::success();
    }
    QFile file(source);
    if (!file.copy(destination))
        return Result::failure(file.errorString());
    return Result::success();
}

} // namespace

DataFolder::DataFolder(const QString &root, IShell *shell, const IClock &clock)
    : m_shell(shell)
{
    m_rootDir = root;
    m_dbDir = m_rootDir + QStringLiteral("DB/");
    m_configDir = m_rootDir + QStringLiteral("Config/");
    m_buildDir = m_rootDir + QStringLiteral("Build/");
    m_helpDir = m_rootDir + QStringLiteral("Help/");
    m_ftpDir = m_rootDir + QStringLiteral("FTP/");
    m_foldersDir = m_rootDir + QStringLiteral("Folders/");
    m_logDir = m_rootDir + QStringLiteral("Log/");
    m_reportDir = m_rootDir + QStringLiteral("Report/");
    m_imagesDir = m_reportDir + QStringLiteral("Images/");
    m_iconsDir = m_rootDir + QStringLiteral("Icons/");
    m_brandDir = m_rootDir + QStringLiteral("Brand/");
    m_userDataDir = m_rootDir + QStringLiteral("UserData/");
    m_projectsDir = m_rootDir + QStringLiteral("Projects/");
    m_summaryDir = m_projectsDir + QStringLiteral("Summary/");
    m_journalDir = m_rootDir + QStringLiteral("Journal/");
    m_decisionDir = m_rootDir + QStringLiteral("Decision/");

    // Parents come before their children, so a fresh root gets them all.
    const QString order[] = {m_rootDir,     m_projectsDir, m_summaryDir, m_journalDir, m_decisionDir,
                             m_logDir,      m_userDataDir, m_dbDir,      m_configDir,  m_buildDir,
                             m_helpDir,     m_ftpDir,      m_reportDir,  m_imagesDir};
    for (const QString &folder : order)
        createOneLevel(folder);
    m_storedFiles = std::make_unique<StoredFiles>(m_rootDir, clock);
}

int DataFolder::removeUnfinishedWrites() const
{
    // The name a safe write gives its temporary file: the target's name,
    // a dot and six letters. Human names with such an ending ("a.txt.backup")
    // are one case throughout; random ones almost never are, so a name of
    // one case is left alone.
    static const QRegularExpression pattern(QStringLiteral("^.+\\.(txt|html)\\.[A-Za-z]{6}$"));
    const QStringList globs{QStringLiteral("*.txt.??????"), QStringLiteral("*.html.??????")};
    const QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks;
    const struct
    {
        QString folder;
        bool nested;
    } folders[] = {{m_dbDir, false}, {m_configDir, false}, {m_journalDir, false}, {m_decisionDir, false}, {m_projectsDir, true}};
    int removed = 0;
    for (const auto &[folder, nested] : folders) {
        if (folder.isEmpty())
            continue;
        QDirIterator it(folder, globs, filters, nested ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString name = it.fileName();
            if (!pattern.match(name).hasMatch() || SyncFiles::isSyncToolEntry(name))
                continue;
            // Nor anything a synchronisation tool keeps in folders of its own.
            const QStringList segments = QStringView(path).mid(folder.size()).toString().split(QLatin1Char('/'));
            if (std::any_of(segments.cbegin(), segments.cend(), SyncFiles::isSyncToolEntry))
                continue;
            const QStringView suffix = QStringView(name).right(6);
            const bool bothCases = std::any_of(suffix.begin(), suffix.end(), [](QChar c) { return c.isLower(); })
                                   && std::any_of(suffix.begin(), suffix.end(), [](QChar c) { return c.isUpper(); });
            if (!bothCases)
                continue;
            struct stat info;
            const QByteArray native = QFile::encodeName(path);
            if (::lstat(native.constData(), &info) != 0 || !S_ISREG(info.st_mode))
                continue;
            const qint64 modifiedMs = static_cast<qint64>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
            if (modifiedMs >= runStartMs)
                continue;
            if (::unlink(native.constData()) == 0)
                ++removed;
        }
    }
    return removed;
}

void DataFolder::shellOpen(const QString &path) const
{
    if (m_shell)
        m_shell->openPath(path);
}

void DataFolder::openFolder(const QString &path) const
{
    if (m_shell)
        m_shell->openFolder(path);
}

Expected<QString> DataFolder::myDocumentsDir() const
{
    QString location = m_shell ? m_shell->documentsLocation() : QString();
    if (location.isEmpty())
        return Expected<QString>::failure(QStringLiteral("Could not find MyDocuments folder location."));
    if (!location.endsWith(QLatin1Char('/')))
        location += QLatin1Char('/');
    return location;
}

QString DataFolder::progressTitle(unsigned kind)
{
    switch (kind) {
    case FO_MOVE: return QStringLiteral("Moving...");
    case FO_COPY: return QStringLiteral("Copying...");
    case FO_DELETE: return QStringLiteral("Deleting...");
    case FO_RENAME: return QStringLiteral("Renaming...");
    default: return {};
    }
}

Result DataFolder::shellFileOperation(const QString &source, const QString &destination, unsigned kind,
                                      quint16 flags) const
{
    const QFileInfo info(source);
    if (source.isEmpty() || (!info.exists() && !info.isSymLink()))
        return Result::failure(tr("\"%1\" does not exist.").arg(source));
    switch (kind) {
    case FO_MOVE:
    case FO_RENAME: {
        if (destination.isEmpty() || QFileInfo::exists(destination))
            return Result::failure(tr("\"%1\" already exists.").arg(destination));
        if (QDir().rename(source, destination))
            return Result::success();
        // Across file systems a move is a copy followed by a removal.
        Result moved;
        if (kind == FO_MOVE) {
            moved = copyRecursively(source, destination);
            if (moved && (info.isDir() ? QDir(source).removeRecursively() : QFile::remove(source)))
                return Result::success();
        }
        if (moved.error.isEmpty())
            moved.error = tr("Could not move \"%1\" to \"%2\".").arg(source, destination);
        return Result::failure(moved.error);
    }
    case FO_COPY:
        if (destination.isEmpty() || QFileInfo::exists(destination))
            return Result::failure(tr("\"%1\" already exists.").arg(destination));
        return copyRecursively(source, destination);
    case FO_DELETE:
        if (flags & FOF_ALLOWUNDO) {
            if (!m_shell)
                return Result::failure(tr("There is no trash on this desktop."));
            return m_shell->moveToTrash(source);
        }
        if (info.isDir() && !info.isSymLink() ? QDir(source).removeRecursively()
                                              : QFile::remove(source))
            return Result::success();
        return Result::failure(tr("Could not delete \"%1\".").arg(source));
    default:
        return Result::failure(tr("Unknown file operation %1.").arg(kind));
    }
}

Result DataFolder::deleteFolder(const QString &folder) const
{
    const QDir dir(folder);
    const auto entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString &name : entries) {
        if (name.startsWith(QLatin1Char('.')))
            continue;
        const Result erased = eraseFile(dir.filePath(name));
        if (!erased)
            return erased;
    }
    if (::rmdir(QFile::encodeName(folder).constData()) != 0) {
        return Result::failure(tr("Could not remove the folder \"%1\": %2")
                                   .arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    }
    return Result::success();
}

Result eraseFile(const QString &path)
{
    // unlink() refuses folders, so a subfolder stops the caller as it should.
    if (::unlink(QFile::encodeName(path).constData()) != 0) {
        return Result::failure(QCoreApplication::translate("DataFolder", "Could not erase the file \"%1\": %2")
                                   .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    return Result::success();
}
