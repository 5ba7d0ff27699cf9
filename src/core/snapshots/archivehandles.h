#pragma once

#include "core/common/result.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <archive.h>
#include <archive_entry.h>

// Owners of libarchive's handles, for the snapshot code only.
namespace ArchiveHandles {

struct Reader
{
    archive *handle = archive_read_new();
    Reader()
    {
        archive_read_support_filter_zstd(handle);
        archive_read_support_format_tar(handle);
    }
    ~Reader() { archive_read_free(handle); }
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;
    QString errorText() const
    {
        const char *text = archive_error_string(handle);
        return text ? QString::fromLocal8Bit(text) : QStringLiteral("unknown archive error");
    }
};

struct Writer
{
    archive *handle = archive_write_new();
    ~Writer() { archive_write_free(handle); }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;
    Writer() = default;
    QString errorText() const
    {
        const char *text = archive_error_string(handle);
        return text ? QString::fromLocal8Bit(text) : QStringLiteral("unknown archive error");
    }
};

struct Entry
{
    archive_entry *handle = archive_entry_new();
    ~Entry() { archive_entry_free(handle); }
    Entry(const Entry &) = delete;
    Entry &operator=(const Entry &) = delete;
    Entry() = default;
};

// The entry's path as stored (UTF-8 written by this program).
inline QString entryName(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    if (const char *raw = archive_entry_pathname(entry))
        return QString::fromLocal8Bit(raw);
    return QString();
}

// The data of the entry the reader stands on. A size no file of the data
// folder can have (a damaged header) or data that ends early fail with a
// message naming the snapshot, as shown to the user, and the entry.
inline Expected<QByteArray> readEntryData(const Reader &reader, archive_entry *entry, const QString &shownSnapshot,
                                          const QString &name)
{
    const la_int64_t size = archive_entry_size(entry);
    if (size < 0 || size > (la_int64_t(1) << 30))
        return Expected<QByteArray>::failure(
            QCoreApplication::translate("SnapshotCatalog", "The snapshot \"%1\" is damaged: \"%2\" has an impossible size.")
                .arg(shownSnapshot, name));
    QByteArray bytes;
    bytes.resize(static_cast<qsizetype>(size));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const la_ssize_t got =
            archive_read_data(reader.handle, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (got <= 0)
            return Expected<QByteArray>::failure(
                QCoreApplication::translate("SnapshotCatalog", "The snapshot \"%1\" is damaged: \"%2\" ends early.")
                    .arg(shownSnapshot, name));
        done += got;
    }
    return bytes;
}

} // namespace ArchiveHandles
