#include "dataroot.h"

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
} // namespace

QString ChooseDataRoot(const QString &explicitDir, const QString &executableDir,
                       const QString &appDataDir)
{
    if (!explicitDir.isEmpty()) {
        QDir().mkpath(explicitDir);
        return withSeparator(explicitDir);
    }
    const QFileInfo exe(executableDir);
    if (exe.isDir() && exe.isWritable())
        return withSeparator(executableDir);
    QDir().mkpath(appDataDir);
    return withSeparator(appDataDir);
}
