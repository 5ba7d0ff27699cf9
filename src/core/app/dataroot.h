#pragma once

#include <QString>

// Where the data folder tree lives: the folder given with --data-dir, else
// the executable's folder when the program may write there (a portable
// install), else the user's application-data folder (a system install).
// The result ends with "/".
QString ChooseDataRoot(const QString &explicitDir, const QString &executableDir,
                       const QString &appDataDir);
