#include "core/snapshots/snapshotcatalog.h"

#include "core/snapshots/archivehandles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

QString catalogTr(const char *text)
{
    return QCoreApplication::translate("SnapshotCatalog", text);
}

const QString kPrefix = QStringLiteral("vellumark-");
const QString kExtension = QStringLiteral(".tar.zst");

} // namespace

namespace SnapshotCatalog {

QString fileNameFor(const QDateTime &taken, int sequence)
{
    const QDate d = taken.date();
    const QTime t = taken.time();
    // Built from numbers, not from a date format, so no locale can change it.
    QString name = kPrefix
                   + QStringLiteral("%1-%2-%3-%4%5")
                         .arg(d.year(), 4, 10, QLatin1Char('0'))
                         .arg(d.month(), 2, 10, QLatin1Char('0'))
                         .arg(d.day(), 2, 10, QLatin1Char('0'))
                         .arg(t.hour(), 2, 10, QLatin1Char('0'))
                         .arg(t.minute(), 2, 10, QLatin1Char('0'));
    if (sequence > 1)
        name += QStringLiteral("-%1").arg(sequence);
    return name + kExtension;
}

std::optional<QDateTime> takenFromFileName(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^vellumark-([0-9]{4})-([0-9]{2})-([0-9]{2})-([0-9]{2})([0-9]{2})(-[0-9]{1,4})?\\.tar\\.zst$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    int sequence = 1;
    if (match.capturedLength(6) > 0)
        sequence = match.captured(6).mid(1).toInt();
    // Later ones of the same minute sort after the first.
    return QDateTime(date, time).addMSecs(qBound(0, sequence - 1, 999));
}

QList<SnapshotFile> list(const QString &backupDir)
{
    QList<SnapshotFile> found;
    const QFileInfoList entries =
        QDir(backupDir).entryInfoList({kPrefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &info : entries) {
        const std::optional<QDateTime> taken = takenFromFileName(info.fileName());
        if (!taken)
            continue;
        found.append({info.absoluteFilePath(), *taken, info.size()});
    }
    std::sort(found.begin(), found.end(), [](const SnapshotFile &a, const SnapshotFile &b) {
        return a.taken != b.taken ? a.taken > b.taken : a.path > b.path;
    });
    return found;
}

bool isSafeEntryName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QChar(0)))
        return false;
    QString body = name;
    if (body.endsWith(QLatin1Char('/')))
        body.chop(1);
    const QStringList parts = body.split(QLatin1Char('/'));
    return std::none_of(parts.begin(), parts.end(), [](const QString &part) {
        return part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..");
    });
}

Expected<QList<ArchivedEntry>> contents(const QString &snapshotPath)
{
    ArchiveHandles::Reader reader;
    const QString shown = QDir::toNativeSeparators(snapshotPath);
    if (archive_read_open_filename(reader.handle, QFile::encodeName(snapshotPath).constData(), 1 << 16)
        != ARCHIVE_OK)
        return Expected<QList<ArchivedEntry>>::failure(
            catalogTr("The snapshot \"%1\" cannot be opened: %2").arg(shown, reader.errorText()));
    QList<ArchivedEntry> entries;
    archive_entry *entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.handle, &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            return Expected<QList<ArchivedEntry>>::failure(
                catalogTr("The snapshot \"%1\" is damaged: %2").arg(shown, reader.errorText()));
        const bool folder = archive_entry_filetype(entry) == AE_IFDIR;
        QString name = ArchiveHandles::entryName(entry);
        if (folder && !name.endsWith(QLatin1Char('/')))
            name += QLatin1Char('/');
        entries.append({name, archive_entry_size(entry), folder});
        // Skipping still decompresses; a damaged body shows up here.
        if (archive_read_data_skip(reader.handle) != ARCHIVE_OK)
            return Expected<QList<ArchivedEntry>>::failure(
                catalogTr("The snapshot \"%1\" is damaged: %2").arg(shown, reader.errorText()));
    }
    return entries;
}

Expected<QByteArray> readFile(const QString &snapshotPath, const QString &name)
{
    ArchiveHandles::Reader reader;
    const QString shown = QDir::toNativeSeparators(snapshotPath);
    if (archive_read_open_filename(reader.handle, QFile::encodeName(snapshotPath).constData(), 1 << 16)
        != ARCHIVE_OK)
        return Expected<QByteArray>::failure(
            catalogTr("The snapshot \"%1\" cannot be opened: %2").arg(shown, reader.errorText()));
    archive_entry *entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.handle, &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            return Expected<QByteArray>::failure(
                catalogTr("The snapshot \"%1\" is damaged: %2").arg(shown, reader.errorText()));
        if (archive_entry_filetype(entry) != AE_IFREG || ArchiveHandles::entryName(entry) != name) {
            archive_read_data_skip(reader.handle);
            continue;
        }
        return ArchiveHandles::readEntryData(reader, entry, shown, name);
    }
    return Expected<QByteArray>::failure(
        catalogTr("The snapshot \"%1\" holds no file \"%2\".").arg(shown, name));
}

} // namespace SnapshotCatalog
