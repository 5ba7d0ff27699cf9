#pragma once

#include "core/search/searchindex.h"

#include <QFrame>
#include <QHash>
#include <QPointer>

#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class SearchResultsModel;

// The search: a field (placed in the top bar) and, under it, the list of
// results, which answer as the user types. Enter or a double-click on a
// result asks for its place (placeChosen); Escape closes the list and
// gives the focus back to where it was before the search.
class SearchPanel : public QFrame
{
    Q_OBJECT
public:
    // The text of a document that an open editor holds edited.
    struct EditorText
    {
        QString path;
        QString text;
    };
    using EditorTexts = std::function<QList<EditorText>()>;

    // The field becomes a child of fieldParent, the list of parent (over
    // whose contents it is shown).
    SearchPanel(QWidget *fieldParent, QWidget *parent);

    // The index searched; until there is one the list says it is reading.
    void setIndex(SearchIndex *index);

    // The texts that count in place of their files.
    void setEditorTexts(EditorTexts editorTexts);

    void setFieldGeometry(const QRect &geometry);
    // Ctrl+F: the focus goes to the field, its text selected; the list
    // shows the results of what is there.
    void activate();
    // Escape: the list closes and the focus goes back.
    void closeResults();
    bool resultsShown() const;

    // What the status line says ("2 matches", "No matches").
    QString statusText() const;
    int resultCount() const;
    // Runs the search for the field's text now.
    void search();

Q_SIGNALS:
    // The user chose a result: show it, with the match selected.
    void placeChosen(const SearchHit &hit, const SearchQuery &query);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void chooseCurrent();
    void indexUpdated();

private:
    void showResults();
    void placeResults();
    void moveCurrent(int steps);
    std::vector<DocumentPointer> editorDocuments();
    QString currentText(const SearchPlace &place);
    void followFocus(QWidget *now);

    SearchIndex *m_index = nullptr;
    QPointer<QLineEdit> m_field;
    // The same field, only compared with: focus moves while the window's
    // widgets are torn down, when the field may be half destroyed.
    const QWidget *m_fieldWidget = nullptr;
    QLabel *m_status;
    QListView *m_list;
    SearchResultsModel *m_model;
    EditorTexts m_editorTexts;
    // Where the focus was before the search took it.
    QPointer<QWidget> m_returnFocus;
    // Folded editor texts, by path, kept while the text stays the same.
    struct FoldedEditor
    {
        QString text;
        DocumentPointer document;
    };
    QHash<QString, FoldedEditor> m_editorDocuments;
};
