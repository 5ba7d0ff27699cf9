#include "core/projects/projectnames.h"
#include "core/projects/projectpages.h"

#include <QCoreApplication>

namespace ProjectNames {

namespace {
constexpr qsizetype kMaxNameBytes = 255;

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}
} // namespace

QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size() - 1;
    while (first <= last && isBlankOrControl(text.at(first)))
        ++first;
    while (last >= first && isBlankOrControl(text.at(last)))
        --last;
    return text.mid(first, last - first + 1);
}

bool isCategoryLine(const QString &line)
{
    return line.contains(QLatin1Char('@'));
}

QStringList builtInDepartments()
{
    return {QStringLiteral("@Home"),      QStringLiteral("Repairs"),   QStringLiteral("Garden"),
            QStringLiteral("Organize"),   QStringLiteral("Car"),       QString(),
            QStringLiteral("@Work"),      QStringLiteral("Birthdays"), QStringLiteral("Projects"),
            QString(),                    QStringLiteral("@Education"), QStringLiteral("Projects"),
            QStringLiteral("Read"),       QStringLiteral("Write"),     QStringLiteral("Draw"),
            QStringLiteral("Research"),   QString(),                   QStringLiteral("@Computer"),
            QStringLiteral("Upgrade"),    QString(),                   QStringLiteral("@Organize"),
            QString(),                    QStringLiteral("@Shopping"), QStringLiteral("Groceries"),
            QStringLiteral("Gifts")};
}

QString nameProblem(const QString &name)
{
    auto refuse = [&name](const char *why) {
        return QCoreApplication::translate("ProjectNames", "The project name \"%1\" cannot be used: %2")
            .arg(name, QCoreApplication::translate("ProjectNames", why));
    };
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return refuse("it would name the folder of the projects themselves or the folder above it. "
                      "Choose \"Edit\" and rename the line.");
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return refuse("a project name must not contain \"/\" or \"\\\". "
                          "Choose \"Edit\" and rename the line.");
        if (c.category() == QChar::Other_Control)
            return refuse("a project name must not contain control characters. "
                          "Choose \"Edit\" and rename the line.");
    }
    if (name.toUtf8().size() > kMaxNameBytes)
        return refuse("the name is too long for a folder name. Choose \"Edit\" and shorten the line.");
    // The projects folder holds the pages of the empty project under these
    // names, so no project folder can be made under them (and on a disk
    // that ignores case, not under any spelling of them either).
    for (const QString &page : ProjectPages::pageNames()) {
        if (name.compare(page + QStringLiteral(".txt"), Qt::CaseInsensitive) == 0)
            return refuse("it is the name of a page file that the projects folder itself holds, so the "
                          "project's folder could not be made and nothing typed could be kept. "
                          "Choose \"Edit\" and rename the line.");
    }
    return {};
}

QString listProblems(const QStringList &lines)
{
    QStringList problems;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = trimBlanks(lines.at(i));
        if (name.isEmpty())
            continue;
        const QString problem = nameProblem(name);
        if (!problem.isEmpty())
            problems.append(QCoreApplication::translate("ProjectNames", "Line %1: %2").arg(i + 1).arg(problem));
    }
    return problems.join(QLatin1Char('\n'));
}

} // namespace ProjectNames
