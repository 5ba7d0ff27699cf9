#pragma once

#include <QString>

// What became of a data folder found in a build tree.
struct DataFolderMove
{
    enum Outcome {
        // The build tree holds no data files: nothing to do, nothing to say.
        NothingToMove,
        // Every data folder now lies in the user's data folder and is gone
        // from the build tree.
        Moved,
        // Both places hold data files: nothing was moved.
        BothHoldData,
        // The move could not be done; both places are as they were.
        Failed,
    };
    Outcome outcome = NothingToMove;
    // For the user: what happened and where the data are; empty for
    // NothingToMove.
    QString message;
};

// Moves the data folders (DB, Config, Projects, ...) that earlier runs left
// in a build tree's program folder into the user's data folder, so that
// cleaning the build tree cannot delete them. All or nothing: the folders
// are copied beside the target first, then renamed into it (renamed back
// if one of them cannot be); the old copies are removed only after that.
// The target is only filled when it holds no file yet (its lock file
// aside), so the caller may hold the target's lock. Both paths end with "/".
DataFolderMove moveDataFolderOutOfBuildTree(const QString &buildDataRoot, const QString &userDataRoot);

// True when a file (of any kind but a folder) lies somewhere below the
// folder; the data folder's own lock file does not count.
bool folderHoldsFiles(const QString &folder);
