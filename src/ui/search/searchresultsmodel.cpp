#include "ui/search/searchresultsmodel.h"

#include "core/common/dateformat.h"
#include "core/projects/projectpages.h"
#include "core/search/textfolding.h"

#include <algorithm>

namespace {

// Characters of context shown before the first match of a long line.
constexpr int kContextBefore = 40;
// Longest text shown for a line.
constexpr int kShownLength = 300;

const QString kArrow = QStringLiteral(" \u25B8 ");

QString pageCaption(const QString &page)
{
    if (page == ProjectPages::kToDoPage)
        return SearchResultsModel::tr("To Do");
    if (page == ProjectPages::kDonePage)
        return SearchResultsModel::tr("Done");
    if (page == ProjectPages::kWaitingPage)
        return SearchResultsModel::tr("Waiting On");
    if (page == ProjectPages::kCostNotesPage)
        return SearchResultsModel::tr("Costs");
    if (page == ProjectPages::kSomeDayPage)
        return SearchResultsModel::tr("Some Day");
    if (page == ProjectPages::kLinksPage)
        return SearchResultsModel::tr("Links");
    if (page == ProjectPages::kOtherPage)
        return SearchResultsModel::tr("Other");
    return page;
}

QString decisionCaption(const QString &editor)
{
    static const QHash<QString, const char *> captions = {
        {QStringLiteral("plus"), QT_TRANSLATE_NOOP("SearchResultsModel", "Reasons For")},
        {QStringLiteral("minus"), QT_TRANSLATE_NOOP("SearchResultsModel", "Reasons Against")},
        {QStringLiteral("made"), QT_TRANSLATE_NOOP("SearchResultsModel", "Final Decision")},
        {QStringLiteral("Done"), QT_TRANSLATE_NOOP("SearchResultsModel", "Done")},
        {QStringLiteral("NextStep"), QT_TRANSLATE_NOOP("SearchResultsModel", "Next Step")},
        {QStringLiteral("Links"), QT_TRANSLATE_NOOP("SearchResultsModel", "Links")},
        {QStringLiteral("Other"), QT_TRANSLATE_NOOP("SearchResultsModel", "Other")},
    };
    const char *caption = captions.value(editor);
    return caption ? SearchResultsModel::tr(caption) : editor;
}

} // namespace

SearchResultsModel::SearchResultsModel(TextSource textSource, QObject *parent)
    : QAbstractListModel(parent)
    , m_textSource(std::move(textSource))
{
}

void SearchResultsModel::setResults(const SearchResults &results, const SearchQuery &query)
{
    beginResetModel();
    m_results = results;
    m_query = query;
    m_texts.clear();
    m_lines.clear();
    endResetModel();
}

void SearchResultsModel::clear()
{
    setResults({}, {});
}

SearchHit SearchResultsModel::hitAt(int row) const
{
    if (row < 0 || row >= int(m_results.hits.size()))
        return {};
    return m_results.hits.at(size_t(row));
}

int SearchResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_results.hits.size());
}

QVariant SearchResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_results.hits.size()))
        return {};
    const SearchHit &hit = m_results.hits.at(size_t(index.row()));
    switch (role) {
    case PlaceRole:
        return placeLabel(hit.document->place);
    case LineRole:
        return shownLine(index.row()).text;
    case HighlightsRole:
        return QVariant::fromValue(shownLine(index.row()).highlights);
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return placeLabel(hit.document->place) + QStringLiteral(": ") + shownLine(index.row()).text;
    default:
        return {};
    }
}

SearchResultsModel::ShownLine SearchResultsModel::shownLine(int row) const
{
    const auto cached = m_lines.constFind(row);
    if (cached != m_lines.constEnd())
        return *cached;
    const SearchHit &hit = m_results.hits.at(size_t(row));
    const SearchPlace &place = hit.document->place;
    auto text = m_texts.constFind(place.path);
    if (text == m_texts.constEnd())
        text = m_texts.insert(place.path, m_textSource(place));
    QString line = SearchDocuments::lineOf(*text, hit.line).toString();
    QList<QPair<int, int>> ranges = matchRanges(line, m_query);
    // A long line shows the part around its first match.
    int cut = 0;
    if (!ranges.isEmpty() && ranges.first().first > kContextBefore)
        cut = ranges.first().first - kContextBefore;
    QString shown = line.mid(cut, kShownLength);
    if (cut > 0)
        shown.prepend(QChar(0x2026));
    const int shift = cut > 0 ? 1 - cut : 0;
    QList<QPair<int, int>> highlights;
    for (const auto &range : std::as_const(ranges)) {
        const int start = range.first + shift;
        const int end = qMin(range.first + range.second + shift, int(shown.size()));
        if (start >= 0 && end > start)
            highlights.append({start, end - start});
    }
    // Tabs and other control characters would draw as boxes.
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    ShownLine result{shown, highlights};
    m_lines.insert(row, result);
    return result;
}

QString SearchResultsModel::placeLabel(const SearchPlace &place)
{
    switch (place.kind) {
    case SearchPlace::DayNote:
        return formatDateTime(QStringLiteral("dddd mmm dd yyyy"), double(place.day));
    case SearchPlace::ProjectPage:
        return place.project + kArrow + pageCaption(place.page);
    case SearchPlace::ProjectLedger:
        return place.project + kArrow + tr("Costs") + kArrow + tr("Ledger");
    case SearchPlace::ListTopic:
        return tr("My Lists") + kArrow + place.topicStem;
    case SearchPlace::DecisionNote:
        return tr("Decisions") + kArrow + place.topicStem + kArrow + decisionCaption(place.editor);
    }
    return place.path;
}

QList<QPair<int, int>> SearchResultsModel::matchRanges(QStringView line, const SearchQuery &query)
{
    QList<QPair<int, int>> ranges;
    if (query.isEmpty())
        return ranges;
    const TextFolding::MappedLine mapped = TextFolding::foldedWithOrigins(line);
    for (const std::string &term : query.terms) {
        for (size_t at = mapped.bytes.find(term); at != std::string::npos; at = mapped.bytes.find(term, at + 1)) {
            const int start = int(mapped.origins.at(at));
            int end = int(mapped.origins.at(at + term.size()));
            // A match ending inside a character's folded form covers that
            // whole character.
            if (at + term.size() < mapped.bytes.size() && end == int(mapped.origins.at(at + term.size() - 1)))
                end = int(mapped.origins.at(at + term.size()) + 1);
            if (end <= start)
                end = start + 1;
            ranges.append({start, end - start});
        }
    }
    std::sort(ranges.begin(), ranges.end());
    QList<QPair<int, int>> merged;
    for (const auto &range : std::as_const(ranges)) {
        if (!merged.isEmpty() && range.first <= merged.last().first + merged.last().second) {
            const int end = qMax(merged.last().first + merged.last().second, range.first + range.second);
            merged.last().second = end - merged.last().first;
        } else {
            merged.append(range);
        }
    }
    return merged;
}
