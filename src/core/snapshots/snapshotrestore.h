#pragma once

#include "core/common/result.h"

#include <QDate>
#include <QString>

#include <functional>

namespace SnapshotRestore {

enum class Placement {
    // The snapshot's copy replaces the current file (written atomically).
    OverCurrent,
    // The copy goes beside the current file as "NAME (restored YYYY-MM-DD).ext".
    BesideCurrent,
};

// The free name beside path for a copy from the snapshot of the given day:
// "2024-01-05 (restored 2026-12-09).txt", then "… (restored 2026-12-09) 2.txt"…
QString besideName(const QString &path, const QDate &snapshotDay);

// Writes the bytes of one file of a snapshot (an entry name such as
// "DB/2024-01-05.txt") into the data folder through the safe write, making
// its folder when it is gone; returns the path written.
Expected<QString> placeFile(const QByteArray &bytes, const QString &entryName, const QString &dataRoot,
                            Placement placement, const QDate &snapshotDay);

// Reads one file of a snapshot and places it as placeFile() does.
Expected<QString> restoreFile(const QString &snapshotPath, const QString &entryName, const QString &dataRoot,
                              Placement placement, const QDate &snapshotDay);

// Called at each step of restoring everything with the step's name;
// returning false ends the restore right there, as a crash would (tests).
using StepHook = std::function<bool(const QString &step)>;

// Replaces the data folder's contents with a snapshot's: each of the data
// folder's own folders (SnapshotWriter::dataFolderNames()) becomes what the
// snapshot holds; a backups folder among them stays where it is. The caller takes a snapshot of the current
// state first. See snapshotrestore.cpp for what a crash at each step
// leaves; finishInterruptedRestore() completes it at the next start.
Result restoreEverything(const QString &snapshotPath, const QString &dataRoot, const QString &backupDir,
                         const StepHook &step = {});

// At start-up, before anything reads the data folder: completes a restore
// of everything that was ready to be swapped in, or drops one that was not.
Result finishInterruptedRestore(const QString &dataRoot);

} // namespace SnapshotRestore
