#include "projectpages.h"

#include "datafolder/tdir.h"
#include "projectnames.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace ProjectPages {

QString OwnerFolder(const QString &projectsDir, const QString &owner)
{
    if (owner.isEmpty())
        return projectsDir;
    return projectsDir + owner + QLatin1Char('/');
}

QString PageFile(const QString &projectsDir, const QString &owner, const QString &editorName)
{
    return OwnerFolder(projectsDir, owner) + editorName + QStringLiteral(".txt");
}

bool LoadPageText(const QString &path, QString *text, QString *error)
{
    QString readError;
    *text = TextFile::readText(path, &readError);
    if (!readError.isEmpty()) {
        text->clear();
        if (error)
            *error = readError;
        return false;
    }
    return true;
}

WriteResult SavePageText(const QString &ownerFolder, const QString &path, const QString &text, bool *written)
{
    if (written)
        *written = false;
    if (!QFileInfo(ownerFolder).isDir())
        return {};
    const WriteResult result = TextFile::writeText(path, text);
    if (written)
        *written = result.ok;
    return result;
}

QStringList BuildSummary(const QStringList &departmentLines, const QString &projectsDir,
                         const QString &editorName)
{
    QStringList out;
    bool first = true;
    const QString fileName = editorName + QStringLiteral(".txt");
    for (qsizetype i = 1; i < departmentLines.size(); ++i) {
        const QString name = ProjectNames::TrimBlanks(departmentLines.at(i));
        if (!name.isEmpty() && !ProjectNames::NameProblem(name).isEmpty())
            continue;
        // A blank line reads the page of the projects folder itself.
        const QString path = projectsDir + name + QLatin1Char('/') + fileName;
        const QStringList lines = TextFile::readLines(path);
        if (lines.isEmpty())
            continue;
        if (!first)
            out.append(QString());
        first = false;
        out.append(QLatin1Char('[') + name + QLatin1Char(']'));
        for (const QString &line : lines) {
            if (!ProjectNames::TrimBlanks(line).isEmpty())
                out.append(QStringLiteral("   ") + line);
        }
    }
    return out;
}

QString TrimPageText(const QString &text)
{
    return ProjectNames::TrimBlanks(text);
}

bool DeleteProjectFolder(const TDir &dataFolder, const QString &folder, QString *error)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const QFileInfo info(path);
    if (info.isSymLink())
        return EraseFile(path, error);
    if (!info.isDir())
        return true; // nothing on disk: nothing to delete

    QStringList subfolders;
    QDirIterator it(path, QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        subfolders.append(it.next());
    // Deepest first, so every folder holds only files when its turn comes.
    std::stable_sort(subfolders.begin(), subfolders.end(), [](const QString &a, const QString &b) {
        return a.count(QLatin1Char('/')) > b.count(QLatin1Char('/'));
    });
    for (const QString &sub : std::as_const(subfolders)) {
        if (!dataFolder.DeleteFolder(sub, error))
            return false;
    }
    return dataFolder.DeleteFolder(path, error);
}

} // namespace ProjectPages
