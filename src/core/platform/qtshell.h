#pragma once

#include "core/platform/shell.h"

// The real desktop: QDesktopServices (xdg-open), QFile::moveToTrash and
// QStandardPaths.
class QtShell final : public IShell
{
public:
    bool openPath(const QString &pathOrUrl) override;
    bool openFolder(const QString &path) override;
    Result moveToTrash(const QString &path) override;
    QString documentsLocation() const override;
};
