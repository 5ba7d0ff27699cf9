#pragma once

#include "core/common/result.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// One snapshot in the backups folder: a tar archive compressed with zstd,
// named "vellumark-YYYY-MM-DD-HHMM.tar.zst" after the local time it was
// taken (one fixed form whatever the locale), with "-2", "-3"… before the
// extension when several were taken in the same minute.
struct SnapshotFile
{
    QString path;
    QDateTime taken;
    qint64 size = 0;
};

// An entry of a snapshot: a path relative to the data folder, "/"
// separated, with a trailing "/" for a folder.
struct ArchivedEntry
{
    QString name;
    qint64 size = 0;
    bool isFolder = false;
};

namespace SnapshotCatalog {

// The file name of a snapshot taken at the given moment; sequence 1 is the
// plain name, higher ones add "-N".
QString fileNameFor(const QDateTime &taken, int sequence = 1);
// The moment a snapshot's file name says it was taken; nothing for any
// other name (a ".partial" left by an interrupted snapshot included).
std::optional<QDateTime> takenFromFileName(const QString &fileName);

// The finished snapshots in the folder, newest first. A missing folder has
// none.
QList<SnapshotFile> list(const QString &backupDir);

// Every entry of a snapshot, in archive order; fails with a message naming
// the snapshot when it cannot be read to its end.
Expected<QList<ArchivedEntry>> contents(const QString &snapshotPath);

// The bytes of one file of a snapshot.
Expected<QByteArray> readFile(const QString &snapshotPath, const QString &name);

// True when an archive entry's name may be placed under the data folder:
// relative, no "." or ".." part, no empty part, no NUL or backslash.
bool isSafeEntryName(const QString &name);

} // namespace SnapshotCatalog
