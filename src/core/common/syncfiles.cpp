#include "core/common/syncfiles.h"

#include <QStringList>

namespace SyncFiles {

bool isSyncToolEntry(const QString &name)
{
    static const QStringList exactNames = {
        QStringLiteral(".stfolder"),      QStringLiteral(".stignore"),    QStringLiteral(".stversions"),
        QStringLiteral(".dropbox"),       QStringLiteral(".dropbox.attr"), QStringLiteral(".dropbox.cache"),
        QStringLiteral(".owncloudsync.log"), QStringLiteral(".sync-exclude.lst"),
    };
    if (exactNames.contains(name))
        return true;
    if (name.contains(QLatin1String(".sync-conflict-")))
        return true;
    if (name.startsWith(QLatin1String("~$")) || name.startsWith(QLatin1String(".~lock.")))
        return true;
    if (name.startsWith(QLatin1String(".syncthing.")) && name.endsWith(QLatin1String(".tmp")))
        return true;
    // Nextcloud and ownCloud keep their journal as ".sync_XXXX.db" (with
    // "-wal" and "-shm" files beside it), older versions as "._sync_XXXX.db".
    if ((name.startsWith(QLatin1String(".sync_")) || name.startsWith(QLatin1String("._sync_")))
        && name.contains(QLatin1String(".db")))
        return true;
    return false;
}

} // namespace SyncFiles
