#pragma once

#include "ui/search/searchpanel.h"

#include <QHash>

#include <functional>

class MainWindow;
class DayNoteColumn;
class QPlainTextEdit;
class QTextDocument;

// Between the search and the main window's sections: which editors hold
// text not yet saved, and how to show the place of a result.
class SearchNavigator
{
public:
    explicit SearchNavigator(MainWindow *window);

    // The text of every editor edited since it was loaded or saved, by the
    // path of the file it belongs to.
    QList<SearchPanel::EditorText> editedTexts() const;

    // Shows the result's place: the Calendar with the day in the first
    // column, the project with the page, or the topic; the match is
    // selected and scrolled into view and the editor has the focus. When
    // the place cannot be shown the user is told why; false then.
    bool goTo(const SearchHit &hit, const SearchQuery &query);

    // Selects the query's first match on the line of the editor (or, when
    // that line no longer holds one, the first match in the editor) and
    // makes it visible. False when the editor holds no match.
    static bool selectMatch(QPlainTextEdit *editor, int line, const SearchQuery &query);
    static bool selectMatch(DayNoteColumn *column, int line, const SearchQuery &query);
    // Where the query's first match is in the document: on the line when
    // it matches there, else the first line that matches. Start and
    // length; a negative start when nothing matches.
    static QPair<int, int> findMatch(const QTextDocument *document, int line, const SearchQuery &query);

private:
    bool goToDay(int day, int line, const SearchQuery &query);
    bool goToProject(const SearchPlace &place, int line, const SearchQuery &query);
    bool goToTopic(const SearchPlace &place, int line, const SearchQuery &query);
    void tell(const QString &message) const;
    // The editor's text, taken again only when its document changed since
    // the last search: a long note is not copied at every keystroke.
    QString textOf(const QString &path, const QTextDocument *document, const std::function<QString()> &text) const;

    MainWindow *m_window;
    struct TakenText
    {
        const QTextDocument *document = nullptr;
        int revision = -1;
        QString text;
    };
    mutable QHash<QString, TakenText> m_taken;
};
