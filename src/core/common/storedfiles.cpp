#include "core/common/storedfiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace {

std::mutex &registryMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<StoredFiles *> &registeredFolders()
{
    static std::vector<StoredFiles *> folders;
    return folders;
}

bool isInsideFolder(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path.size() > folder.size() && path.startsWith(folder) && path.at(folder.size()) == QLatin1Char('/');
}

} // namespace

bool FileVersion::sameEntryAs(const FileVersion &other) const
{
    return exists == other.exists && size == other.size && modifiedNs == other.modifiedNs
           && changedNs == other.changedNs && inode == other.inode && device == other.device;
}

StoredFiles::StoredFiles(const QString &root, const IClock &clock)
    : m_clock(clock)
{
    const QFileInfo info(root);
    m_root = QDir::cleanPath(info.absoluteFilePath());
    m_canonicalRoot = info.canonicalFilePath();
    if (m_canonicalRoot.isEmpty())
        m_canonicalRoot = m_root;
    std::lock_guard<std::mutex> lock(registryMutex());
    registeredFolders().push_back(this);
}

StoredFiles::~StoredFiles()
{
    std::lock_guard<std::mutex> lock(registryMutex());
    auto &folders = registeredFolders();
    folders.erase(std::remove(folders.begin(), folders.end(), this), folders.end());
}

bool StoredFiles::holds(const QString &absolutePath) const
{
    return isInsideFolder(absolutePath, m_root) || isInsideFolder(absolutePath, m_canonicalRoot);
}

StoredFiles *StoredFiles::holding(const QString &absolutePath)
{
    std::lock_guard<std::mutex> lock(registryMutex());
    const auto &folders = registeredFolders();
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        if ((*it)->holds(absolutePath))
            return *it;
    }
    return nullptr;
}

std::optional<FileVersion> StoredFiles::knownVersion(const QString &path) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_versions.constFind(path);
    if (it == m_versions.constEnd())
        return std::nullopt;
    return *it;
}

void StoredFiles::remember(const QString &path, const FileVersion &version)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_versions.insert(path, version);
}

void StoredFiles::forget(const QString &path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_versions.remove(path);
}

void StoredFiles::move(const QString &from, const QString &to)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_versions.constFind(from);
    if (it == m_versions.constEnd()) {
        m_versions.remove(to);
        return;
    }
    const FileVersion version = *it;
    m_versions.remove(from);
    m_versions.insert(to, version);
}
