#include "core/app/dataroot.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString withSeparator(const QString &dir)
{
    QString path = QDir::cleanPath(QDir(dir).absolutePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

// The install prefix above bin/, or empty when the folder is not a bin/.
QString prefixOf(const QString &executableDir)
{
    const QString bin = QDir::cleanPath(QDir(executableDir).absolutePath());
    if (QFileInfo(bin).fileName() != QLatin1String("bin"))
        return {};
    return QFileInfo(bin).path();
}
} // namespace

bool isBuildTree(const QString &executableDir)
{
    QDir dir(QDir::cleanPath(QDir(executableDir).absolutePath()));
    do {
        if (QFileInfo(dir.filePath(QStringLiteral("CMakeCache.txt"))).isFile())
            return true;
    } while (dir.cdUp());
    return false;
}

bool isInstalledProgram(const QString &executableDir)
{
    const QString prefix = prefixOf(executableDir);
    if (prefix.isEmpty())
        return false;
    return QFileInfo::exists(prefix + QStringLiteral("/share/applications/")
                             + QStringLiteral(VELLUMARK_APP_ID) + QStringLiteral(".desktop"));
}

QString installedDataDir(const QString &executableDir)
{
    if (!isInstalledProgram(executableDir))
        return {};
    return withSeparator(prefixOf(executableDir) + QStringLiteral("/share/vellumark"));
}

QString chooseDataRoot(const QString &explicitDir, const QString &executableDir,
                       const QString &appDataDir)
{
    if (!explicitDir.isEmpty()) {
        QDir().mkpath(explicitDir);
        return withSeparator(explicitDir);
    }
    const QFileInfo exe(executableDir);
    if (!isInstalledProgram(executableDir) && !isBuildTree(executableDir) && exe.isDir()
        && exe.isWritable())
        return withSeparator(executableDir);
    QDir().mkpath(appDataDir);
    return withSeparator(appDataDir);
}
