#pragma once

#include <QString>

namespace SyncFiles {

// True for the files and folders that synchronisation tools and office
// programs keep beside the user's own: Syncthing's folder marker, ignore
// list, version store, temporary files and conflict copies
// (".stfolder", "NAME.sync-conflict-DATE-TIME-DEVICE.txt",
// ".syncthing.NAME.tmp"), Nextcloud's and ownCloud's journals, Dropbox's
// cache, and the lock files of office programs ("~$NAME", ".~lock.NAME#").
// The program never takes them for its own files, and never removes them.
bool isSyncToolEntry(const QString &name);

} // namespace SyncFiles
