#include "core/projects/pagecache.h"

#include "core/projects/projectpages.h"

#include <QFile>

#include <sys/stat.h>

bool PageCache::stampOf(const QString &path, Stamp *stamp)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    stamp->size = static_cast<qint64>(info.st_size);
    stamp->modifiedNs = static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}

const PageCache::Section &PageCache::section(const QString &path)
{
    Stamp stamp;
    if (!stampOf(path, &stamp)) {
        m_sections.remove(path);
        return m_missing;
    }
    auto it = m_sections.find(path);
    if (it != m_sections.end() && it->stamp == stamp)
        return it->section;

    SectionEntry entry;
    QFile file;
    if (TextFile::openForReading(path, &file).value == TextFile::OpenOutcome::Opened) {
        ++m_reads;
        const QByteArray bytes = file.readAll();
        // Stamp the entry with what was read: a file growing while it is
        // read is read again next time.
        entry.stamp = stamp;
        entry.stamp.size = bytes.size() == stamp.size ? stamp.size : -1;
        entry.section.exists = !bytes.isEmpty();
        entry.section.body = ProjectPages::indentedLines(TextFile::decode(bytes));
    }
    it = m_sections.insert(path, std::move(entry));
    return it->section;
}

WriteResult PageCache::saveText(const QString &ownerFolder, const QString &path, const QString &text)
{
    Stamp stamp;
    const auto known = m_written.constFind(path);
    if (known != m_written.cend() && stampOf(path, &stamp) && known->stamp == stamp && known->text == text)
        return {};
    bool written = false;
    const WriteResult result = ProjectPages::savePageText(ownerFolder, path, text, &written);
    if (written && stampOf(path, &stamp))
        m_written.insert(path, TextEntry{stamp, text});
    else
        m_written.remove(path);
    return result;
}
