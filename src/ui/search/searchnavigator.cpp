#include "ui/search/searchnavigator.h"

#include "core/datafolder/datafolder.h"
#include "core/grid/stringgrid.h"
#include "core/projects/costledger.h"
#include "core/projects/projectpages.h"
#include "ui/app/mainwindow.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/weekcontroller.h"
#include "ui/grid/stringgridview.h"
#include "ui/platform/dialogs.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/pageeditor.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "ui/search/searchresultsmodel.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/topics/listsworkspace.h"

#include <QCoreApplication>
#include <QSet>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("SearchNavigator", text);
}

} // namespace

SearchNavigator::SearchNavigator(MainWindow *window)
    : m_window(window)
{
}

QList<SearchPanel::EditorText> SearchNavigator::editedTexts() const
{
    QList<SearchPanel::EditorText> texts;
    if (!m_window->started())
        return texts;
    if (WeekController *week = m_window->week()) {
        for (DayNoteColumn *column : std::as_const(week->columns())) {
            if (column->isModified() && !column->loadFailed())
                texts.append({column->dayNoteFile, textOf(column->dayNoteFile, column->document(),
                                                          [column] { return column->text(); })});
        }
    }
    if (const DataFolder *dataFolder = m_window->dataFolder()) {
        for (PageEditor *editor : m_window->projectsSection()->notebook()->pageEditors()) {
            if (editor->isEdited() && !editor->loadFailed && !editor->ownerName.isEmpty()) {
                const QString path =
                    ProjectPages::pageFile(dataFolder->projectsDir(), editor->ownerName, editor->pageName());
                texts.append({path, textOf(path, editor->document(), [editor] { return editor->pageText(); })});
            }
        }
    }
    // The ledger: the item names under the headings, one line per row.
    if (CostLedgerWidget *costs = m_window->projectsSection()->ledger()) {
        const CostLedger &ledger = costs->ledger();
        const QString file = ledger.ledgerFileName();
        if (ledger.edited() && ledger.editable() && !file.isEmpty()) {
            QStringList names;
            for (int row = 1; row < ledger.money().rowCount(); ++row)
                names.append(ledger.money().cell(0, row));
            texts.append({file, names.join(QLatin1Char('\n'))});
        }
    }
    for (TopicWorkspace *workspace : {static_cast<TopicWorkspace *>(m_window->listsWorkspace()),
                                      static_cast<TopicWorkspace *>(m_window->decisionsWorkspace())}) {
        if (!workspace || workspace->currentTopic().isEmpty() || !workspace->hasUnsavedEdits())
            continue;
        const QList<TopicEditor> &editors = workspace->store().setup().editors;
        for (int i = 0; i < editors.size(); ++i)
            texts.append({workspace->store().topicFileName(workspace->currentTopic(), editors.at(i).name),
                          workspace->editorText(i)});
    }
    // Texts of editors no longer edited are let go.
    QSet<QString> current;
    for (const SearchPanel::EditorText &text : std::as_const(texts))
        current.insert(text.path);
    m_taken.removeIf([&current](const auto &entry) { return !current.contains(entry.key()); });
    return texts;
}

QString SearchNavigator::textOf(const QString &path, const QTextDocument *document,
                                const std::function<QString()> &text) const
{
    TakenText &taken = m_taken[path];
    if (taken.document != document || taken.revision != document->revision()) {
        taken.document = document;
        taken.revision = document->revision();
        taken.text = text();
    }
    return taken.text;
}

bool SearchNavigator::goTo(const SearchHit &hit, const SearchQuery &query)
{
    if (!hit.document || !m_window->started())
        return false;
    const SearchPlace &place = hit.document->place;
    switch (place.kind) {
    case SearchPlace::DayNote:
        return goToDay(place.day, hit.line, query);
    case SearchPlace::ProjectPage:
    case SearchPlace::ProjectLedger:
        return goToProject(place, hit.line, query);
    case SearchPlace::ListTopic:
    case SearchPlace::DecisionNote:
        return goToTopic(place, hit.line, query);
    }
    return false;
}

bool SearchNavigator::goToDay(int day, int line, const SearchQuery &query)
{
    WeekController *week = m_window->week();
    if (!week)
        return false;
    m_window->showCalendar();
    const Result moved = week->showWeekFrom(day);
    m_window->setPickerDate(week->firstDay());
    if (!moved) {
        tell(moved.error);
        return false;
    }
    for (DayNoteColumn *column : std::as_const(week->columns())) {
        if (column->position != 1)
            continue;
        if (column->isFilling() && column->document()->blockCount() <= line + 1) {
            // A long note is still being laid in: the match is selected once
            // its line is in (unless the week moves on first).
            column->focusText();
            auto *wait = new QTimer(column);
            wait->setInterval(20);
            const double date = column->noteDate;
            QObject::connect(wait, &QTimer::timeout, column, [column, wait, date, line, query] {
                if (column->noteDate != date) {
                    wait->deleteLater();
                } else if (!column->isFilling() || column->document()->blockCount() > line + 1) {
                    wait->deleteLater();
                    selectMatch(column, line, query);
                }
            });
            wait->start();
            return true;
        }
        return selectMatch(column, line, query);
    }
    return false;
}

bool SearchNavigator::goToProject(const SearchPlace &place, int line, const SearchQuery &query)
{
    m_window->showProjects();
    ProjectsSection *section = m_window->projectsSection();
    const bool ledger = place.kind == SearchPlace::ProjectLedger;
    PageEditor *editor = section->showProjectPage(place.project, ledger ? ProjectPages::kCostNotesPage : place.page);
    if (!editor) {
        if (section->currentProjectName() != place.project)
            tell(translated("The project \"%1\" is not in the project list, so its pages cannot be shown.")
                     .arg(place.project));
        return false;
    }
    if (!ledger)
        return selectMatch(editor, line, query);
    // The ledger's item names: line n is the row under the headings.
    return section->ledger()->showItemRow(line + 1);
}

bool SearchNavigator::goToTopic(const SearchPlace &place, int line, const SearchQuery &query)
{
    TopicWorkspace *workspace = nullptr;
    if (place.kind == SearchPlace::ListTopic) {
        m_window->showLists();
        workspace = m_window->listsWorkspace();
    } else {
        m_window->showDecisions();
        workspace = m_window->decisionsWorkspace();
    }
    if (!workspace)
        return false;
    QPlainTextEdit *editor = workspace->showTopicEditor(place.topicStem, place.order);
    if (!editor) {
        if (workspace->currentTopic() == place.topicStem)
            return false;
        tell(translated("No topic named \"%1\" is in the list any more, so it cannot be shown.").arg(place.topicStem));
        return false;
    }
    return selectMatch(editor, line, query);
}

QPair<int, int> SearchNavigator::findMatch(const QTextDocument *document, int line, const SearchQuery &query)
{
    auto matchIn = [&query](const QTextBlock &block) -> QPair<int, int> {
        const QList<QPair<int, int>> ranges = SearchResultsModel::matchRanges(block.text(), query);
        if (ranges.isEmpty())
            return {-1, 0};
        return {block.position() + ranges.first().first, ranges.first().second};
    };
    const QTextBlock block = document->findBlockByNumber(line);
    if (block.isValid()) {
        const QPair<int, int> match = matchIn(block);
        if (match.first >= 0)
            return match;
    }
    for (QTextBlock other = document->begin(); other.isValid(); other = other.next()) {
        const QPair<int, int> match = matchIn(other);
        if (match.first >= 0)
            return match;
    }
    return {-1, 0};
}

bool SearchNavigator::selectMatch(QPlainTextEdit *editor, int line, const SearchQuery &query)
{
    editor->setFocus(Qt::OtherFocusReason);
    const QPair<int, int> match = findMatch(editor->document(), line, query);
    if (match.first < 0)
        return false;
    QTextCursor cursor(editor->document());
    cursor.setPosition(match.first);
    cursor.setPosition(match.first + match.second, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    editor->ensureCursorVisible();
    return true;
}

bool SearchNavigator::selectMatch(DayNoteColumn *column, int line, const SearchQuery &query)
{
    column->focusText();
    const QPair<int, int> match = findMatch(column->document(), line, query);
    if (match.first < 0)
        return false;
    column->selectText(match.first, match.second);
    return true;
}

void SearchNavigator::tell(const QString &message) const
{
    if (!message.isEmpty())
        m_window->services().dialogs->error(m_window, message);
}
