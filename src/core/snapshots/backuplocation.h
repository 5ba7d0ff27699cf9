#pragma once

#include "core/common/result.h"

#include <QString>

// Where the snapshots of a data folder go: the folder given on the command
// line (--backup-dir), else the one chosen in the Snapshots window (one
// line in "Config/backup-dir.txt"), else "Backups/" beside the data
// folder's own folders. Paths end with "/".
namespace BackupLocation {

QString defaultDir(const QString &dataRoot);
QString settingFile(const QString &dataRoot);
// The chosen folder; empty when none was chosen or the file cannot be read.
QString chosenDir(const QString &dataRoot);
QString resolve(const QString &dataRoot, const QString &commandLineDir);
// Stores the chosen folder; an empty one goes back to the default.
Result choose(const QString &dataRoot, const QString &dir);

} // namespace BackupLocation
