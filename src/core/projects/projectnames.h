#pragma once

#include <QString>
#include <QStringList>

// The rules of the project list's lines. A project is nothing but the
// trimmed text of its line, and that text names its folder.
namespace ProjectNames {

// The line that gathers every other project's pages.
inline const QString SummaryName = QStringLiteral("Summary");

// The text without leading and trailing blanks and control characters.
QString TrimBlanks(const QString &text);

// A category heading: the line holds "@" anywhere.
bool IsCategoryLine(const QString &line);

// The 25 lines of a first run, blank separators included.
QStringList BuiltInDepartments();

// Why a trimmed project name cannot name a folder inside the projects
// folder ("." or "..", a path separator, a control character, or longer
// than a file name may be); empty when the name is usable.
QString NameProblem(const QString &name);

} // namespace ProjectNames
