#pragma once

#include "core/common/result.h"

#include <QString>

// The desktop around the program: its opener for files, folders and web
// addresses, its trash, and the user's documents location. Tests use a
// fake that records what would have been opened.
class IShell
{
public:
    virtual ~IShell() = default;

    // Opens a file with its associated program, a folder in the file
    // manager, or a web address in the browser. False when nothing opened.
    virtual bool openPath(const QString &pathOrUrl) = 0;

    // Shows a folder in the file manager.
    virtual bool openFolder(const QString &path) = 0;

    // Moves a file or folder to the desktop's trash (the user's undo).
    virtual Result moveToTrash(const QString &path) = 0;

    // The user's documents folder without a trailing separator, or an empty
    // text when the desktop does not tell one.
    virtual QString documentsLocation() const = 0;
};
