#include "ui/app/filechangewatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>

namespace {

// Long enough for a program to finish writing a small file, short enough
// to feel immediate.
constexpr int kFileSettleMs = 250;

QString watchedPathOf(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

FileChangeWatcher::FileChangeWatcher(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kFileSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FileChangeWatcher::checkNow);
    // Counted from the first event, not the last: a synchronisation tool
    // writing a thousand files must not hold back the look at the few shown.
    const auto settleSoon = [this] {
        if (!m_settle.isActive())
            m_settle.start();
    };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, settleSoon);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, settleSoon);
}

FileChangeWatcher::Stamp FileChangeWatcher::stampOf(const QString &path)
{
    Stamp stamp;
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = info.st_size;
    stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changedNs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    stamp.inode = info.st_ino;
    return stamp;
}

void FileChangeWatcher::setFiles(const QString &section, const QStringList &files)
{
    QStringList cleaned;
    cleaned.reserve(files.size());
    for (const QString &file : files) {
        if (!file.isEmpty())
            cleaned.append(watchedPathOf(file));
    }
    if (cleaned.isEmpty())
        m_filesBySection.remove(section);
    else
        m_filesBySection.insert(section, cleaned);

    // A file newly shown starts from how it is now: what it held before
    // was read by the section that shows it.
    const QStringList watched = watchedFiles();
    const QSet<QString> keep(watched.cbegin(), watched.cend());
    for (auto it = m_stamps.begin(); it != m_stamps.end();) {
        if (keep.contains(it.key()))
            ++it;
        else
            it = m_stamps.erase(it);
    }
    for (const QString &file : watched) {
        if (!m_stamps.contains(file))
            m_stamps.insert(file, stampOf(file));
    }
    renewWatches();
}

QStringList FileChangeWatcher::watchedFiles() const
{
    QStringList all;
    for (const QStringList &files : m_filesBySection)
        all += files;
    all.removeDuplicates();
    return all;
}

void FileChangeWatcher::renewWatches()
{
    const QStringList files = watchedFiles();
    QSet<QString> wantedFiles;
    QSet<QString> wantedFolders;
    for (const QString &file : files) {
        wantedFolders.insert(QFileInfo(file).absolutePath());
        if (QFileInfo::exists(file))
            wantedFiles.insert(file);
    }
    const QStringList watchedNow = m_watcher.files();
    const QStringList foldersNow = m_watcher.directories();
    QStringList drop;
    for (const QString &path : watchedNow) {
        if (!wantedFiles.contains(path))
            drop.append(path);
    }
    for (const QString &path : foldersNow) {
        if (!wantedFolders.contains(path))
            drop.append(path);
    }
    if (!drop.isEmpty())
        m_watcher.removePaths(drop);
    // Adding a path that is watched already only warns; the rest is new
    // or was dropped by the system when its file was replaced.
    const QSet<QString> haveFiles(watchedNow.cbegin(), watchedNow.cend());
    const QSet<QString> haveFolders(foldersNow.cbegin(), foldersNow.cend());
    QStringList add;
    for (const QString &file : std::as_const(wantedFiles)) {
        if (!haveFiles.contains(file))
            add.append(file);
    }
    for (const QString &folder : std::as_const(wantedFolders)) {
        if (!haveFolders.contains(folder) && QFileInfo(folder).isDir())
            add.append(folder);
    }
    if (!add.isEmpty())
        m_watcher.addPaths(add);
}

void FileChangeWatcher::checkNow()
{
    m_settle.stop();
    QStringList changed;
    for (auto it = m_stamps.begin(); it != m_stamps.end(); ++it) {
        const Stamp now = stampOf(it.key());
        if (now == it.value())
            continue;
        it.value() = now;
        changed.append(it.key());
    }
    renewWatches();
    if (!changed.isEmpty())
        Q_EMIT filesChanged(changed);
}
