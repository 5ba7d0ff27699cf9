#include "core/search/searchdocuments.h"

#include "core/calendar/daynotes.h"
#include "core/common/daynumber.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "core/grid/commatext.h"
#include "core/projects/projectpages.h"
#include "core/search/textfolding.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QDir>
#include <QFileInfo>

namespace {

const QLatin1String kTextSuffix(".txt");

// "Mar-14-2021.txt": the day it names, or 0.
int dayOfNoteName(const QString &name)
{
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (name.size() != 15 || !name.endsWith(kTextSuffix) || name.at(3) != QLatin1Char('-')
        || name.at(6) != QLatin1Char('-'))
        return 0;
    int month = 0;
    for (int m = 0; m < 12; ++m) {
        if (QStringView(name).first(3) == QLatin1String(months[m]))
            month = m + 1;
    }
    bool dayOk = false;
    bool yearOk = false;
    const int dayOfMonth = QStringView(name).sliced(4, 2).toInt(&dayOk);
    const int year = QStringView(name).sliced(7, 4).toInt(&yearOk);
    const QDate date(year, month, dayOfMonth);
    if (!month || !dayOk || !yearOk || !date.isValid())
        return 0;
    // Only the one fixed form: two digits for the day, four for the year
    // ("Mar-4-2021.txt" or "Mar-+4-2021.txt" are not the note of any day).
    for (const qsizetype at : {4, 5, 7, 8, 9, 10}) {
        if (!name.at(at).isDigit() || name.at(at).unicode() > '9')
            return 0;
    }
    return DayNumber::fromDate(date);
}

bool placeOfTopic(const QString &name, const QStringList &editors, SearchPlace *place)
{
    if (!name.endsWith(kTextSuffix))
        return false;
    const QStringView stem = QStringView(name).chopped(kTextSuffix.size());
    for (int i = 0; i < editors.size(); ++i) {
        const QString suffix = QLatin1Char('_') + editors.at(i);
        if (stem.endsWith(suffix)) {
            place->topicStem = stem.chopped(suffix.size()).toString();
            place->editor = editors.at(i);
            place->order = i;
            return true;
        }
    }
    return false;
}

int kindRank(SearchPlace::Kind kind)
{
    switch (kind) {
    case SearchPlace::DayNote:
        return 0;
    case SearchPlace::ProjectPage:
    case SearchPlace::ProjectLedger:
        return 1;
    case SearchPlace::ListTopic:
        return 2;
    case SearchPlace::DecisionNote:
        return 3;
    }
    return 4;
}

} // namespace

SearchRoots SearchRoots::of(const DataFolder &dataFolder)
{
    return {dataFolder.dbDir(), dataFolder.projectsDir(), dataFolder.summaryDir(), dataFolder.journalDir(),
            dataFolder.decisionDir()};
}

namespace SearchDocuments {

QStringList listEditors()
{
    return {QStringLiteral("todo")};
}

QStringList decisionEditors()
{
    return {QStringLiteral("plus"),     QStringLiteral("minus"), QStringLiteral("made"),
            QStringLiteral("Done"),     QStringLiteral("NextStep"), QStringLiteral("Links"),
            QStringLiteral("Other")};
}

bool placeOf(const QString &path, const SearchRoots &roots, SearchPlace *place)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return false;
    const QString folder = path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    SearchPlace found;
    found.path = path;
    if (folder == roots.dbDir) {
        found.kind = SearchPlace::DayNote;
        found.day = dayOfNoteName(name);
        if (!found.day)
            return false;
    } else if (folder == roots.journalDir) {
        found.kind = SearchPlace::ListTopic;
        static const QStringList editors = listEditors();
        if (!placeOfTopic(name, editors, &found))
            return false;
    } else if (folder == roots.decisionDir) {
        found.kind = SearchPlace::DecisionNote;
        static const QStringList editors = decisionEditors();
        if (!placeOfTopic(name, editors, &found))
            return false;
    } else if (folder.startsWith(roots.projectsDir) && folder != roots.summaryDir
               && folder.indexOf(QLatin1Char('/'), roots.projectsDir.size()) == folder.size() - 1
               && folder.size() > roots.projectsDir.size() + 1) {
        found.project = folder.sliced(roots.projectsDir.size()).chopped(1);
        if (name == kLedgerPage + kTextSuffix) {
            found.kind = SearchPlace::ProjectLedger;
            found.page = kLedgerPage;
            // Listed right after the notes beside it on the Costs page.
            static const int costsOrder = 2 * int(ProjectPages::pageNames().indexOf(ProjectPages::kCostNotesPage)) + 1;
            found.order = costsOrder;
        } else {
            found.kind = SearchPlace::ProjectPage;
            static const QStringList pages = ProjectPages::pageNames();
            const qsizetype index = name.endsWith(kTextSuffix) ? pages.indexOf(name.chopped(4)) : -1;
            if (index < 0)
                return false;
            found.page = pages.at(index);
            found.order = 2 * int(index);
        }
    } else {
        return false;
    }
    *place = found;
    return true;
}

QStringList searchedFolders(const SearchRoots &roots)
{
    QStringList folders = {roots.dbDir};
    const QDir projects(roots.projectsDir);
    const QStringList names = projects.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &name : names) {
        const QString folder = roots.projectsDir + name + QLatin1Char('/');
        if (folder != roots.summaryDir)
            folders.append(folder);
    }
    folders.append(roots.journalDir);
    folders.append(roots.decisionDir);
    return folders;
}

namespace {

Expected<QByteArray> readStoredBytes(const SearchPlace &place)
{
    // Only the safe open and the decoding: the search reads on a worker
    // thread and keeps no record of what it read, so it never stands for a
    // load by the sections.
    QFile file;
    QByteArray bytes;
    const Expected<TextFile::OpenOutcome> opened = TextFile::openForReading(place.path, &file);
    if (!opened)
        return Expected<QByteArray>(Result(opened));
    if (opened.value == TextFile::OpenOutcome::Opened) {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return Expected<QByteArray>::failure(QCoreApplication::translate("SearchDocuments",
                                                                          "Could not read the file \"%1\": %2")
                                                  .arg(QDir::toNativeSeparators(place.path), file.errorString()));
    }
    return bytes;
}

} // namespace

Expected<QString> readText(const SearchPlace &place)
{
    const Expected<QByteArray> bytes = readStoredBytes(place);
    if (!bytes)
        return Expected<QString>(Result(bytes));
    const QString text = TextFile::normaliseLineEnds(TextFile::decode(bytes.value));
    if (place.kind != SearchPlace::ProjectLedger)
        return text;
    // The ledger: the item name of each row after the headings.
    QStringList rows = text.split(QLatin1Char('\n'));
    // Every row ends with a line break; the last one starts no row.
    if (rows.size() > 1 && rows.last().isEmpty())
        rows.removeLast();
    QStringList names;
    names.reserve(rows.size());
    for (qsizetype row = 1; row < rows.size(); ++row)
        names.append(CommaText::decodeLine(rows.at(row), 4).value(0));
    return names.join(QLatin1Char('\n'));
}

Expected<std::string> readFolded(const SearchPlace &place)
{
    if (place.kind == SearchPlace::ProjectLedger) {
        const Expected<QString> text = readText(place);
        if (!text)
            return Expected<std::string>(Result(text));
        return TextFolding::folded(text.value);
    }
    const Expected<QByteArray> bytes = readStoredBytes(place);
    if (!bytes)
        return Expected<std::string>(Result(bytes));
    return TextFolding::folded(TextFile::decode(bytes.value));
}

DocumentPointer makeDocument(const SearchPlace &place, const QString &text)
{
    auto document = std::make_shared<IndexedDocument>();
    document->place = place;
    document->folded = TextFolding::folded(text);
    return document;
}

bool listedBefore(const SearchPlace &a, const SearchPlace &b)
{
    const int rankA = kindRank(a.kind);
    const int rankB = kindRank(b.kind);
    if (rankA != rankB)
        return rankA < rankB;
    switch (a.kind) {
    case SearchPlace::DayNote:
        return a.day > b.day;
    case SearchPlace::ProjectPage:
    case SearchPlace::ProjectLedger:
        if (const int c = a.project.compare(b.project, Qt::CaseInsensitive))
            return c < 0;
        if (a.project != b.project)
            return a.project < b.project;
        return a.order < b.order;
    case SearchPlace::ListTopic:
    case SearchPlace::DecisionNote:
        if (const int c = a.topicStem.compare(b.topicStem, Qt::CaseInsensitive))
            return c < 0;
        if (a.topicStem != b.topicStem)
            return a.topicStem < b.topicStem;
        return a.order < b.order;
    }
    return a.path < b.path;
}

QStringView lineOf(const QString &text, int line)
{
    qsizetype start = 0;
    for (int i = 0; i < line; ++i) {
        const qsizetype next = text.indexOf(QLatin1Char('\n'), start);
        if (next < 0)
            return {};
        start = next + 1;
    }
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    if (end < 0)
        end = text.size();
    return QStringView(text).sliced(start, end - start);
}

} // namespace SearchDocuments
