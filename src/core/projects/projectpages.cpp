#include "core/projects/projectpages.h"

#include "core/datafolder/datafolder.h"
#include "core/projects/pagecache.h"
#include "core/projects/projectnames.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ProjectPages {

namespace {
bool isBlankLine(QStringView line)
{
    for (const QChar c : line)
        if (c.unicode() > 0x20)
            return false;
    return true;
}
} // namespace

QString ownerFolder(const QString &projectsDir, const QString &owner)
{
    if (owner.isEmpty())
        return projectsDir;
    return projectsDir + owner + QLatin1Char('/');
}

QStringList pageNames()
{
    return {kToDoPage, kDonePage, kWaitingPage, kCostNotesPage, kSomeDayPage, kLinksPage, kOtherPage};
}

QString pageFile(const QString &projectsDir, const QString &owner, const QString &pageName)
{
    return ownerFolder(projectsDir, owner) + pageName + QStringLiteral(".txt");
}

Expected<QString> loadPageText(const QString &path)
{
    return TextFile::readText(path);
}

WriteResult savePageText(const QString &ownerFolder, const QString &path, const QString &text, bool *written)
{
    if (written)
        *written = false;
    if (!QFileInfo(ownerFolder).isDir())
        return {};
    // A page that already holds exactly this text is left alone: most
    // switches change nothing, and every real write waits for the disk.
    const QByteArray bytes = TextFile::encodeText(text);
    QFile current;
    if (TextFile::openForReading(path, &current).value == TextFile::OpenOutcome::Opened
        && current.size() == bytes.size() && current.readAll() == bytes) {
        if (written)
            *written = true;
        return {};
    }
    current.close();
    const WriteResult result = TextFile::writeBytes(path, bytes);
    if (written)
        *written = result.ok;
    return result;
}

QString indentedLines(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        // One line, ended by CR LF, CR or LF.
        qsizetype end = start;
        while (end < n && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        const QStringView line = text.mid(start, end - start);
        if (!isBlankLine(line))
            out.append(QLatin1String("\n   ")).append(line);
        if (end < n && text[end] == QLatin1Char('\r') && end + 1 < n && text[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
    return out;
}

QString buildSummaryText(const QStringList &departmentLines, const QString &projectsDir,
                         const QString &editorName, PageCache *cache)
{
    PageCache scratch;
    PageCache &pages = cache ? *cache : scratch;
    const QString fileName = editorName + QStringLiteral(".txt");
    // Gathered first, so that the summary is laid out in one allocation.
    QList<std::pair<QString, QString>> sections;
    qsizetype size = 0;
    for (qsizetype i = 1; i < departmentLines.size(); ++i) {
        const QString name = ProjectNames::trimBlanks(departmentLines.at(i));
        if (!name.isEmpty() && !ProjectNames::nameProblem(name).isEmpty())
            continue;
        // The summary's own files hold the previous summary: gathering them
        // would nest every summary inside the next one.
        if (name == ProjectNames::SummaryName)
            continue;
        // A blank line reads the page of the projects folder itself. A
        // missing, unreadable or empty file holds no line.
        const PageCache::Section &section = pages.section(projectsDir + name + QLatin1Char('/') + fileName);
        if (!section.exists)
            continue;
        size += name.size() + section.body.size() + 4;
        sections.append({name, section.body});
    }
    QString out;
    out.reserve(size);
    for (const auto &[name, body] : std::as_const(sections)) {
        if (!out.isEmpty())
            out.append(QLatin1String("\n\n"));
        out.append(QLatin1Char('[')).append(name).append(QLatin1Char(']')).append(body);
    }
    return out;
}

QStringList buildSummary(const QStringList &departmentLines, const QString &projectsDir,
                         const QString &editorName)
{
    const QString text = buildSummaryText(departmentLines, projectsDir, editorName, nullptr);
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

QString trimPageText(const QString &text)
{
    return ProjectNames::trimBlanks(text);
}

Result deleteProjectFolder(const DataFolder &dataFolder, const QString &folder)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const QFileInfo info(path);
    if (info.isSymLink())
        return eraseFile(path);
    if (!info.isDir())
        return Result::success(); // nothing on disk: nothing to delete

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
        const Result deleted = dataFolder.deleteFolder(sub);
        if (!deleted)
            return deleted;
    }
    return dataFolder.deleteFolder(path);
}

} // namespace ProjectPages
