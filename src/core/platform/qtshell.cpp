#include "core/platform/qtshell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {

QUrl urlFor(const QString &pathOrUrl)
{
    const QString text = pathOrUrl.trimmed();
    // Anything that names an existing file or folder is a local path, even
    // when it contains a colon; otherwise a text with a scheme is a URL.
    if (QFileInfo::exists(text) || text.startsWith(QLatin1Char('/')))
        return QUrl::fromLocalFile(text);
    const QUrl url = QUrl::fromUserInput(text, QDir::currentPath(), QUrl::AssumeLocalFile);
    return url;
}

} // namespace

bool QtShell::openPath(const QString &pathOrUrl)
{
    if (pathOrUrl.trimmed().isEmpty())
        return false;
    return QDesktopServices::openUrl(urlFor(pathOrUrl));
}

bool QtShell::openFolder(const QString &path)
{
    if (path.trimmed().isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

Result QtShell::moveToTrash(const QString &path)
{
    // Qt 6.4 falls back to a folder below the working directory when the
    // user's data location is missing; make sure the real one exists.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        QDir().mkpath(data);
    QFile file(path);
    if (!file.exists())
        return Result::failure(QStringLiteral("\"%1\" does not exist.").arg(path));
    if (!file.moveToTrash())
        return Result::failure(file.errorString());
    return Result::success();
}

QString QtShell::documentsLocation() const
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}
