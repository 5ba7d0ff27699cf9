#pragma once

#include "core/common/result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// What a finished snapshot holds.
struct SnapshotSummary
{
    QString path;
    int files = 0;
    qint64 bytes = 0; // the archive's size on disk
    // Files of the data folder that could not be read and are not in the
    // snapshot, each with the reason.
    QStringList unreadable;
};

// Writes the whole data folder into one snapshot in the backups folder:
// the data folder's own folders (DB, Config, Projects…) with everything in
// them. What else lies beside them (the program itself in a portable copy,
// a sync tool's files) is neither archived nor touched by a restore.
// Regular files and folders only: a symbolic link is neither followed nor
// stored, and the backups folder is never archived into itself. The
// archive is written as NAME.partial, flushed to disk, read back with
// every file's size and checksum compared, and only then renamed to its
// name; whatever fails before the rename leaves the snapshots that were
// there as they were.
class SnapshotWriter
{
public:
    SnapshotWriter(const QString &dataRoot, const QString &backupDir);

    // Called after each file written, with the number done so far.
    void setProgress(std::function<void(int filesDone)> progress) { m_progress = std::move(progress); }

    Expected<SnapshotSummary> write(const QDateTime &takenAt);

    // Why a folder cannot hold the snapshots of a data folder (it is the
    // data folder, or one of its own folders); empty when it can.
    static QString backupDirProblem(const QString &dataRoot, const QString &backupDir);

    // The name of the folder a restore of everything prepares its files in,
    // inside the data folder; never part of a snapshot.
    static QString restoreStagingName();

    // The names of the data folder's own folders, as the data folder lays
    // them out under its root.
    static const QStringList &dataFolderNames();

private:
    QString m_dataRoot;
    QString m_backupDir;
    std::function<void(int)> m_progress;
};

// Removes the ".partial" files that interrupted snapshots left in the
// backups folder (those untouched for ten minutes); returns how many.
int removeUnfinishedSnapshots(const QString &backupDir);
