// Snapshot archives: listing one and restoring everything from one must
// take any bytes without crashing, and a restore never puts anything
// outside the data folder's own folders.
#include "core/snapshots/snapshotcatalog.h"
#include "core/snapshots/snapshotrestore.h"
#include "core/snapshots/snapshotwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir work;
    const QString archive = work.filePath(QStringLiteral("input.tar.zst"));
    const QString root = work.filePath(QStringLiteral("data")) + QLatin1Char('/');
    const QString backups = work.filePath(QStringLiteral("backups")) + QLatin1Char('/');
    QFile input(archive);
    if (!input.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    input.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    input.close();

    const Expected<QList<ArchivedEntry>> entries = SnapshotCatalog::contents(archive);
    if (entries) {
        for (const ArchivedEntry &entry : entries.value) {
            if (entry.size < 0 && !entry.isFolder)
                continue;
            SnapshotCatalog::isSafeEntryName(entry.name);
        }
    }

    QDir(root).removeRecursively();
    QDir().mkpath(root + QStringLiteral("DB"));
    SnapshotRestore::restoreEverything(archive, root, backups);
    SnapshotRestore::finishInterruptedRestore(root);

    // Nothing beside the data folder's own folders, nothing outside it.
    const QStringList top = QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : top) {
        if (!SnapshotWriter::dataFolderNames().contains(name))
            std::abort();
    }
    const QStringList besideRoot = QDir(work.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : besideRoot) {
        if (name != QLatin1String("input.tar.zst") && name != QLatin1String("data") && name != QLatin1String("backups"))
            std::abort();
    }
    return 0;
}
