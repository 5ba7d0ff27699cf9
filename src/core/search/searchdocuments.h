#pragma once

#include "core/common/result.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

class DataFolder;

// The folders whose files the search covers, each ending with "/".
struct SearchRoots
{
    QString dbDir;
    QString projectsDir;
    QString summaryDir;
    QString journalDir;
    QString decisionDir;

    static SearchRoots of(const DataFolder &dataFolder);
};

// What a searched file is and where the user finds it.
struct SearchPlace
{
    enum Kind {
        DayNote,       // a day note in DB
        ProjectPage,   // a notebook page of a project
        ProjectLedger, // the item names of a project's cost ledger
        ListTopic,     // a topic of My Lists
        DecisionNote,  // one of the seven notes of a decision
    };
    Kind kind = DayNote;
    QString path;
    // Day notes: the day number of the date.
    int day = 0;
    // Project pages and ledgers: the project's folder name and the page
    // name (a ProjectPages name; "money" for the ledger).
    QString project;
    QString page;
    // Topics: the topic name as it appears in the file name (stripped of
    // the characters a file name cannot hold), and the editor's name.
    QString topicStem;
    QString editor;
    // The page's or editor's place in its notebook or editor set.
    int order = 0;
};

// One searched file: its place, its text folded (see TextFolding), and the
// size and times the file had when it was read.
struct IndexedDocument
{
    SearchPlace place;
    std::string folded;
    qint64 size = -1;
    qint64 modified = 0;
    qint64 changed = 0;
};
using DocumentPointer = std::shared_ptr<const IndexedDocument>;

namespace SearchDocuments {

// The ledger's page name in a SearchPlace.
inline const QString kLedgerPage = QStringLiteral("money");
// The editor names of My Lists and Decisions, in the order of their sets.
QStringList listEditors();
QStringList decisionEditors();

// The place of a file in one of the searched folders, or false when the
// search does not cover it (the summary, a file of another kind, a note
// named in an older form).
bool placeOf(const QString &path, const SearchRoots &roots, SearchPlace *place);

// The folders whose files are searched: DB, every project folder but the
// summary's, Journal and Decision.
QStringList searchedFolders(const SearchRoots &roots);

// The file's text as the search sees it, lines apart by "\n": a note or
// page as stored; for a ledger the item names, one line per row after the
// heading row (line n is row n + 1). Fails with a message naming the file.
Expected<QString> readText(const SearchPlace &place);

// The file's text folded (see TextFolding), as readText would give it.
Expected<std::string> readFolded(const SearchPlace &place);

// A document of the text as it is now (an editor's text).
DocumentPointer makeDocument(const SearchPlace &place, const QString &text);

// The order results are listed in: day notes newest first, then the
// projects' pages by project and page, My Lists, Decisions.
bool listedBefore(const SearchPlace &a, const SearchPlace &b);

// Line n of the text (lines apart by "\n"); empty past the end.
QStringView lineOf(const QString &text, int line);

} // namespace SearchDocuments
