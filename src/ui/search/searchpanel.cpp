#include "ui/search/searchpanel.h"

#include "ui/search/searchresultdelegate.h"
#include "ui/search/searchresultsmodel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSet>
#include <QVBoxLayout>

namespace {

// Rows listed at most; the status line counts them all.
constexpr qsizetype kListedRows = 500;
constexpr int kPageSteps = 10;

} // namespace

SearchPanel::SearchPanel(QWidget *fieldParent, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("searchPanel"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    hide();

    m_field = new QLineEdit(fieldParent);
    m_fieldWidget = m_field;
    m_field->setObjectName(QStringLiteral("searchField"));
    m_field->setAccessibleName(tr("Search"));
    m_field->setPlaceholderText(tr("Search (Ctrl+F)"));
    m_field->setToolTip(tr("Search every note, page, list and decision (Ctrl+F)"));
    m_field->setClearButtonEnabled(true);
    // Reached with Ctrl+F (or a click); Tab keeps walking the week.
    m_field->setFocusPolicy(Qt::ClickFocus);
    m_field->installEventFilter(this);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("searchStatus"));
    m_status->setTextFormat(Qt::PlainText);

    m_model = new SearchResultsModel([this](const SearchPlace &place) { return currentText(place); }, this);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("searchResults"));
    m_list->setAccessibleName(tr("Search results"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new SearchResultDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->installEventFilter(this);
    connect(m_list, &QListView::doubleClicked, this, &SearchPanel::chooseCurrent);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(m_status);
    layout->addWidget(m_list, 1);

    connect(m_field, &QLineEdit::textChanged, this, &SearchPanel::search);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { followFocus(now); });
    if (parent)
        parent->installEventFilter(this);
}

void SearchPanel::setIndex(SearchIndex *index)
{
    m_index = index;
    connect(m_index, &SearchIndex::updated, this, &SearchPanel::indexUpdated);
    if (isVisible())
        search();
}

void SearchPanel::setEditorTexts(EditorTexts editorTexts)
{
    m_editorTexts = std::move(editorTexts);
}

void SearchPanel::setFieldGeometry(const QRect &geometry)
{
    m_field->setGeometry(geometry);
    if (isVisible())
        placeResults();
}

void SearchPanel::activate()
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus != m_field && !isAncestorOf(focus))
        m_returnFocus = focus;
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    // A file changed in place by another program does not always make its
    // folder report it: look at every file again while the user types.
    if (m_index)
        m_index->refresh();
    if (!m_field->text().isEmpty())
        search();
}

void SearchPanel::closeResults()
{
    hide();
    if (m_returnFocus)
        m_returnFocus->setFocus(Qt::OtherFocusReason);
}

bool SearchPanel::resultsShown() const
{
    return isVisible();
}

QString SearchPanel::statusText() const
{
    return m_status->text();
}

int SearchPanel::resultCount() const
{
    return m_model->rowCount();
}

void SearchPanel::search()
{
    const SearchQuery query = SearchQuery::parse(m_field->text());
    // Nothing typed but blanks: nothing to show. Anything else that holds
    // no word (control characters, an empty phrase) says it matches nothing.
    if (m_field->text().trimmed().isEmpty()) {
        m_model->clear();
        m_status->clear();
        hide();
        return;
    }
    showResults();
    const SnapshotPointer snapshot = m_index ? m_index->snapshot() : nullptr;
    if (!snapshot) {
        m_model->setResults({}, query);
        m_status->setText(tr("Reading your notes…"));
        return;
    }
    const SearchResults results = SearchIndexing::search(*snapshot, query, editorDocuments(), kListedRows);
    m_model->setResults(results, query);
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(0, 0));
    placeResults();

    QString status;
    if (results.lineCount == 0)
        status = tr("No matches");
    else if (results.lineCount == 1)
        status = tr("1 match");
    else if (results.lineCount > qsizetype(results.hits.size()))
        status = tr("%L1 matches, first %L2 shown").arg(results.lineCount).arg(results.hits.size());
    else
        status = tr("%L1 matches").arg(results.lineCount);
    const qsizetype unreadable = snapshot->unreadable.size();
    if (unreadable == 1)
        status += tr(" · 1 file could not be searched");
    else if (unreadable > 1)
        status += tr(" · %L1 files could not be searched").arg(unreadable);
    m_status->setText(status);
    if (!snapshot->unreadable.isEmpty())
        m_status->setToolTip(snapshot->unreadable.mid(0, 20).join(QLatin1Char('\n')));
    else
        m_status->setToolTip({});
}

void SearchPanel::indexUpdated()
{
    if (!m_field || m_field->text().isEmpty() || !isVisible())
        return;
    const int row = m_list->currentIndex().row();
    search();
    if (row > 0 && row < m_model->rowCount())
        m_list->setCurrentIndex(m_model->index(row, 0));
}

void SearchPanel::showResults()
{
    if (isVisible())
        return;
    placeResults();
    show();
    raise();
}

void SearchPanel::placeResults()
{
    QWidget *host = parentWidget();
    if (!host)
        return;
    const QPoint corner = m_field->mapTo(host, QPoint(m_field->width(), m_field->height()));
    const int width = qMax(120, qMin(qMax(m_field->width(), 520), host->width() - 8));
    const int left = qBound(4, corner.x() - width, qMax(4, host->width() - width - 4));
    const int top = corner.y() + 2;
    // As tall as its rows need, up to 440 px and the window's bottom.
    const int rowHeight = qMax(1, m_list->sizeHintForRow(0));
    const int rows = qBound(3, m_model->rowCount(), 100);
    const int wanted = m_status->sizeHint().height() + rows * rowHeight + 2 * m_list->frameWidth() + 12;
    const int height = qMax(80, qMin(qMin(440, wanted), host->height() - top - 8));
    setGeometry(left, top, width, height);
}

void SearchPanel::moveCurrent(int steps)
{
    if (!isVisible()) {
        if (m_field->text().isEmpty())
            return;
        search();
        return;
    }
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    const int row = qBound(0, m_list->currentIndex().row() + steps, count - 1);
    m_list->setCurrentIndex(m_model->index(row, 0));
    m_list->scrollTo(m_model->index(row, 0));
}

void SearchPanel::chooseCurrent()
{
    int row = m_list->currentIndex().row();
    if (row < 0 && m_model->rowCount() > 0)
        row = 0;
    const SearchHit hit = m_model->hitAt(row);
    if (!hit.document)
        return;
    const SearchQuery query = m_model->query();
    hide();
    Q_EMIT placeChosen(hit, query);
}

bool SearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        placeResults();
    if ((watched == m_fieldWidget || watched == m_list) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (isVisible())
                chooseCurrent();
            return true;
        case Qt::Key_Escape:
            closeResults();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (watched == m_fieldWidget) {
                const int step = key->key() == Qt::Key_Up || key->key() == Qt::Key_PageUp ? -1 : 1;
                const bool page = key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
                moveCurrent(page ? step * kPageSteps : step);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void SearchPanel::followFocus(QWidget *now)
{
    if (!now || now == m_fieldWidget || now == this || isAncestorOf(now))
        return;
    // The focus went elsewhere (a click into an editor): the list goes.
    if (isVisible() && !QApplication::activePopupWidget())
        hide();
}

std::vector<DocumentPointer> SearchPanel::editorDocuments()
{
    std::vector<DocumentPointer> documents;
    if (!m_editorTexts)
        return documents;
    QSet<QString> current;
    const QList<EditorText> texts = m_editorTexts();
    for (const EditorText &editor : texts) {
        current.insert(editor.path);
        const auto known = m_editorDocuments.constFind(editor.path);
        // The same text, most often the very same string, as at the last search.
        if (known != m_editorDocuments.constEnd()
            && (known->text.constData() == editor.text.constData() || known->text == editor.text)) {
            documents.push_back(known->document);
            continue;
        }
        SearchPlace place;
        if (!m_index || !SearchDocuments::placeOf(editor.path, m_index->roots(), &place))
            continue;
        const DocumentPointer document = SearchDocuments::makeDocument(place, editor.text);
        m_editorDocuments.insert(editor.path, {editor.text, document});
        documents.push_back(document);
    }
    for (auto it = m_editorDocuments.begin(); it != m_editorDocuments.end();) {
        if (current.contains(it.key()))
            ++it;
        else
            it = m_editorDocuments.erase(it);
    }
    return documents;
}

QString SearchPanel::currentText(const SearchPlace &place)
{
    const auto edited = m_editorDocuments.constFind(place.path);
    if (edited != m_editorDocuments.constEnd())
        return edited->text;
    return SearchDocuments::readText(place).value;
}
