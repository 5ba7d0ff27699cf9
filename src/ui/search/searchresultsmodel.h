#pragma once

#include "core/search/searchindex.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QPair>

#include <functional>

// The rows of a search: one per matching line, with where it is and the
// line's text; the texts are read only for the rows that are shown.
class SearchResultsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        PlaceRole = Qt::UserRole + 1,
        // The line as shown (a long line is cut around the first match).
        LineRole,
        // QList<QPair<int, int>>: start and length of each highlighted part
        // of LineRole's text.
        HighlightsRole,
    };

    // Gives a document's text as it is now: an open editor's, when one is
    // edited, or else its file's. Empty with an error for a file that can
    // no longer be read.
    using TextSource = std::function<QString(const SearchPlace &place)>;

    explicit SearchResultsModel(TextSource textSource, QObject *parent = nullptr);

    void setResults(const SearchResults &results, const SearchQuery &query);
    void clear();

    const SearchQuery &query() const { return m_query; }
    const SearchResults &results() const { return m_results; }
    SearchHit hitAt(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Where a document is, as the user calls it: "Sunday Mar 14 2021",
    // "Garden ▸ To Do", "My Lists ▸ Books", "Decisions ▸ New car ▸ Reasons For".
    static QString placeLabel(const SearchPlace &place);
    // The start and length (in characters of the line) of every part of the
    // line that matches one of the query's terms, in order, overlaps merged.
    static QList<QPair<int, int>> matchRanges(QStringView line, const SearchQuery &query);

private:
    struct ShownLine
    {
        QString text;
        QList<QPair<int, int>> highlights;
    };
    ShownLine shownLine(int row) const;

    TextSource m_textSource;
    SearchResults m_results;
    SearchQuery m_query;
    // Texts read for the rows shown, by path; dropped with the results.
    mutable QHash<QString, QString> m_texts;
    mutable QHash<int, ShownLine> m_lines;
};
