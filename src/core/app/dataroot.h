#pragma once

#include <QString>

// Where the data folder tree lives: the folder given with --data-dir, else
// the user's application-data folder for an installed program and for a
// program started from a build tree (cleaning a build folder must never
// take the notes with it), else the executable's folder when the program
// may write there (a portable copy), else the user's application-data
// folder. The result ends with "/".
QString chooseDataRoot(const QString &explicitDir, const QString &executableDir,
                       const QString &appDataDir);

// True when the executable sits in the bin/ folder of an installed prefix:
// the prefix's share/applications holds the program's desktop entry. Such a
// program never writes beside itself, not even when run by root.
bool isInstalledProgram(const QString &executableDir);

// True when the executable lies in a CMake build tree: a CMakeCache.txt
// beside it or in a folder above it.
bool isBuildTree(const QString &executableDir);

// The folder of the files an installed program ships (the sounds), that is
// <prefix>/share/vellumark/, ending with "/"; empty when not installed.
QString installedDataDir(const QString &executableDir);
