#include "core/projects/documents.h"

#include <QFileInfo>
#include <QStringList>

namespace Documents {

QString nextNewFileName(const QString &root)
{
    for (int n = 1; n <= kMaxNewFiles; ++n) {
        const QString name = root + QStringLiteral("New File%1.txt").arg(n);
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return name;
    }
    return {};
}

QByteArray newFileContent()
{
    return QByteArrayLiteral(" \r\n");
}

bool mayDelete(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (path == QLatin1String("Control Panel") || path == QLatin1String("Recycle Bin"))
        return false;
    return !path.contains(QLatin1String("nethood"));
}

QString folderFor(const QString &documentsDir, const QString &projectName)
{
    const QString name = projectName.trimmed();
    if (name.isEmpty())
        return documentsDir;
    // A name must stay one folder below the documents folder.
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/'))
        || name.contains(QLatin1Char('\\')))
        return {};
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return {};
    }
    return documentsDir + name + QLatin1Char('/');
}

QString linkAt(const QString &text, int line)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (line < 0 || line >= lines.size())
        return {};
    return lines.at(line).trimmed();
}

} // namespace Documents
