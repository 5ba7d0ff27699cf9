#pragma once

#include <QString>
#include <QStringList>

// The rules of the project list's lines. A project is nothing but the
// trimmed text of its line, and that text names its folder.
namespace ProjectNames {

// The line that gathers every other project's pages.
inline const QString SummaryName = QStringLiteral("Summary");

// The text without leading and trailing blanks and control characters.
QString trimBlanks(const QString &text);

// A category heading: the line holds "@" anywhere.
bool isCategoryLine(const QString &line);

// The 25 lines of a first run, blank separators included.
QStringList builtInDepartments();

// Why a trimmed project name cannot name a folder inside the projects
// folder ("." or "..", a path separator, a control character, longer than
// a file name may be, or the name of a page file that the projects folder
// itself holds, compared without regard to case); empty when the name is
// usable.
QString nameProblem(const QString &name);

// Why the lines of an edited project list cannot be stored: one line per
// refused project line, naming its line number; empty when all are usable.
QString listProblems(const QStringList &lines);

} // namespace ProjectNames
