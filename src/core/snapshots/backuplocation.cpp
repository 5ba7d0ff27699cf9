#include "core/snapshots/backuplocation.h"

#include "core/common/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString asFolder(const QString &dir)
{
    QString path = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace

namespace BackupLocation {

QString defaultDir(const QString &dataRoot)
{
    return asFolder(dataRoot + QStringLiteral("/Backups"));
}

QString settingFile(const QString &dataRoot)
{
    return asFolder(dataRoot) + QStringLiteral("Config/backup-dir.txt");
}

QString chosenDir(const QString &dataRoot)
{
    const Expected<QByteArray> read = TextFile::readBytes(settingFile(dataRoot));
    if (!read)
        return QString();
    const QStringList lines = TextFile::splitLines(TextFile::decode(read.value));
    const QString dir = lines.isEmpty() ? QString() : lines.first().trimmed();
    // Only an absolute path names a folder; anything else is ignored.
    return QDir::isAbsolutePath(dir) ? asFolder(dir) : QString();
}

QString resolve(const QString &dataRoot, const QString &commandLineDir)
{
    if (!commandLineDir.trimmed().isEmpty())
        return asFolder(commandLineDir.trimmed());
    const QString chosen = chosenDir(dataRoot);
    return chosen.isEmpty() ? defaultDir(dataRoot) : chosen;
}

Result choose(const QString &dataRoot, const QString &dir)
{
    const QString line = dir.isEmpty() ? QString() : asFolder(dir);
    return TextFile::writeBytes(settingFile(dataRoot), line.isEmpty() ? QByteArray() : (line + QStringLiteral("\r\n")).toUtf8());
}

} // namespace BackupLocation
