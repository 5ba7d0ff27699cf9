#pragma once

#include "core/common/textfile.h"

#include <QString>
#include <QStringList>

class PageCache;
class DataFolder;

// Where the notebook pages of a project live and how they are read,
// written and gathered into the summary. A page belongs to its owner, the
// project whose folder is ProjectsDir + owner + "/"; the empty owner is
// ProjectsDir itself.
namespace ProjectPages {

// The seven pages of a project, each stored as name + ".txt" in the owner
// folder; the summary of a page is stored under the same name.
inline const QString kToDoPage = QStringLiteral("Projects");
inline const QString kDonePage = QStringLiteral("Done");
inline const QString kWaitingPage = QStringLiteral("OnHold");
inline const QString kCostNotesPage = QStringLiteral("BuyItem");
inline const QString kSomeDayPage = QStringLiteral("SomeDay");
inline const QString kLinksPage = QStringLiteral("Links");
inline const QString kOtherPage = QStringLiteral("Actions");
// The seven page names, in the order a project switch walks them.
QStringList pageNames();

QString ownerFolder(const QString &projectsDir, const QString &owner);
// Owner folder + page name + ".txt".
QString pageFile(const QString &projectsDir, const QString &owner, const QString &pageName);

// The page's text with "\n" line ends; a missing file is an empty page.
// The reason when the file exists but cannot be read.
Expected<QString> loadPageText(const QString &path);

// Writes the page when its owner folder exists (a deleted project's pages
// are not written back); *written tells whether it did.
WriteResult savePageText(const QString &ownerFolder, const QString &path, const QString &text,
                         bool *written = nullptr);

// The summary of one page across the list: for each line but the first
// whose page file holds at least one line, "[" + trimmed line + "]" and
// the file's non-blank lines after three blanks, sections apart by one
// empty line. Lines that cannot name a folder and the summary line itself
// are passed over.
QStringList buildSummary(const QStringList &departmentLines, const QString &projectsDir,
                         const QString &editorName);
// The same summary as one text, lines apart by "\n". With a cache, page
// files unchanged since the last call are not read again.
QString buildSummaryText(const QStringList &departmentLines, const QString &projectsDir,
                         const QString &editorName, PageCache *cache);
// "\n   " + line for each non-blank line of the text (lines end with
// CR LF, CR or LF): the body of one summary section.
QString indentedLines(QStringView text);

// The text with leading and trailing blanks, control characters and empty
// lines removed (what leaving a page editor keeps).
QString trimPageText(const QString &text);

// Deletes the project folder with everything in it: each subfolder,
// deepest first, then the folder itself, through DataFolder::deleteFolder. A
// symbolic link is removed, never followed. Stops at the first failure.
Result deleteProjectFolder(const DataFolder &dataFolder, const QString &folder);

} // namespace ProjectPages
