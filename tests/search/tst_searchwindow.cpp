// The search in the running window: Ctrl+F, results as the user types,
// Enter going to the day, the project page, the list or the decision with
// the match selected, unsaved text found, files changed after start-up
// found, and the keys of the results list.
#include "core/calendar/daynotes.h"
#include "core/common/daynumber.h"
#include "core/common/textfile.h"
#include "core/search/searchindex.h"
#include "mainwindowfixture.h"
#include "testhelpers.h"
#include "ui/app/autosave.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/weekcontroller.h"
#include "ui/grid/stringgridview.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/pageeditor.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "ui/search/searchpanel.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/topics/linenumberedit.h"
#include "ui/topics/listsworkspace.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QStackedWidget>
#include <QTest>

#include <sys/stat.h>

namespace {

QString noteFileOf(const QDate &date)
{
    return DayNotes::noteName(DayNumber::fromDate(date));
}

QString selectedIn(QPlainTextEdit *editor)
{
    return editor->textCursor().selectedText();
}

} // namespace

class TestSearchWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void enterOnADayShowsItFirstWithTheWordSelected();
    void enterOnAPageOpensTheProjectAndPage();
    void listTopicAndDecisionNoteAreOpened();
    void ledgerItemIsOpenedAndEditedRowsCount();
    void matchInALongNoteIsSelectedOnceLaidIn();
    void unsavedEditorTextIsFound();
    void filesChangedOnDiskAfterStartupAreFound();
    void keysOfTheResultsList();
    void emptyQueryShowsNothingAndUnreadableFilesAreCounted();

private:
    void startWindow();
    // Ctrl+F in the window, then the text typed into the search field.
    void searchFor(const QString &text);
    void waitForIndex();

    std::unique_ptr<MainWindowFixture> m_fixture;
    MainWindow *m_form = nullptr;
    SearchPanel *m_panel = nullptr;
    QLineEdit *m_field = nullptr;
    QListView *m_results = nullptr;
};

void TestSearchWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestSearchWindow::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    const QString root = m_fixture->root();
    for (const char *folder : {"DB", "Config", "Projects/Garden", "Journal", "Decision"})
        QDir().mkpath(root + QLatin1String(folder));
    writeFileBytes(root + "Config/departments.txt", "@Home\r\nGarden\r\nShed\r\n");
    writeFileBytes(m_fixture->dbFile(noteFileOf(QDate(2021, 3, 14))), "Zoo day\r\nSaw a quokka by the pond");
    writeFileBytes(root + "Projects/Garden/Projects.txt", "Dig the beds\r\nPhotograph the Quokka");
    writeFileBytes(root + "Journal/Books I Want To Read_todo.txt", "Dune\r\nThe Quokka Book\r\n");
    writeFileBytes(root + "Decision/Buy a New car_Done.txt", "Asked about the quokka badge");
}

void TestSearchWindow::cleanup()
{
    if (m_form && !m_form->closing())
        m_form->saveAndClose();
    m_fixture.reset();
    m_form = nullptr;
}

void TestSearchWindow::startWindow()
{
    m_fixture->start();
    m_form = m_fixture->form();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    m_panel = m_form->findChild<SearchPanel *>(QStringLiteral("searchPanel"));
    m_field = m_form->findChild<QLineEdit *>(QStringLiteral("searchField"));
    m_results = m_form->findChild<QListView *>(QStringLiteral("searchResults"));
    QVERIFY(m_panel && m_field && m_results);
    QCOMPARE(m_field->accessibleName(), QStringLiteral("Search"));
    QCOMPARE(m_results->accessibleName(), QStringLiteral("Search results"));
    waitForIndex();
}

void TestSearchWindow::waitForIndex()
{
    auto *index = m_form->findChild<SearchIndex *>();
    QVERIFY(index);
    QTRY_VERIFY_WITH_TIMEOUT(index->snapshot() && !index->isBusy(), 10000);
}

void TestSearchWindow::searchFor(const QString &text)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : m_form;
    QTest::keyClick(target, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), m_field);
    // Ctrl+F selects what was there: typing replaces it.
    QTest::keyClicks(m_field, text);
    QCOMPARE(m_field->text(), text);
}

void TestSearchWindow::enterOnADayShowsItFirstWithTheWordSelected()
{
    startWindow();
    searchFor(QStringLiteral("quokka"));
    QVERIFY(m_panel->resultsShown());
    QCOMPARE(m_panel->resultCount(), 4);
    QCOMPARE(m_panel->statusText(), QStringLiteral("4 matches"));
    // The day note first, with its date and its line.
    QCOMPARE(m_results->model()->index(0, 0).data().toString(),
             QStringLiteral("Sunday Mar 14 2021: Saw a quokka by the pond"));
    QCOMPARE(m_results->model()->index(1, 0).data().toString(),
             QStringLiteral("Garden \u25B8 To Do: Photograph the Quokka"));

    QTest::keyClick(m_field, Qt::Key_Return);
    QVERIFY(!m_panel->resultsShown());
    QCOMPARE(sectionStack(m_form)->currentWidget(), calendarPage(m_form));
    DayNoteColumn *first = dayColumn(m_form, 1);
    QCOMPARE(dateLabel(first)->text(), QStringLiteral("Sunday Mar 14"));
    QCOMPARE(datePicker(m_form)->date(), QDate(2021, 3, 14));
    QCOMPARE(selectedIn(noteEdit(first)), QStringLiteral("quokka"));
    QCOMPARE(noteEdit(first)->textCursor().blockNumber(), 1);
    QCOMPARE(QApplication::focusWidget(), noteEdit(first));
}

void TestSearchWindow::enterOnAPageOpensTheProjectAndPage()
{
    startWindow();
    searchFor(QStringLiteral("QUOKKA photo"));
    QCOMPARE(m_panel->resultCount(), 1);
    QTest::keyClick(m_field, Qt::Key_Enter);
    QCOMPARE(sectionStack(m_form)->currentWidget(), projectsPage(m_form));
    ProjectsSection *projects = m_form->projectsSection();
    QCOMPARE(projects->currentProjectName(), QStringLiteral("Garden"));
    QCOMPARE(projects->notebook()->currentIndex(), int(ProjectNotebook::ToDoTab));
    QCOMPARE(projects->notebook()->pageEditor(ProjectNotebook::ToDoTab)->ownerName, QStringLiteral("Garden"));
    // The first of the words on the line is selected.
    QCOMPARE(selectedIn(projects->notebook()->pageEditor(ProjectNotebook::ToDoTab)), QStringLiteral("Photo"));
    QCOMPARE(QApplication::focusWidget(), projects->notebook()->pageEditor(ProjectNotebook::ToDoTab));

    // A page of another project that has its file: the switch saves and opens.
    writeFileBytes(m_fixture->root() + "Projects/Garden/SomeDay.txt", "a greenhouse");
    QDir().mkpath(m_fixture->root() + "Projects/Shed");
    writeFileBytes(m_fixture->root() + "Projects/Shed/OnHold.txt", "new greenhouse glass");
    searchFor(QStringLiteral("glass"));
    QTRY_COMPARE(m_panel->resultCount(), 1);
    QTest::keyClick(m_field, Qt::Key_Return);
    QCOMPARE(projects->currentProjectName(), QStringLiteral("Shed"));
    QCOMPARE(projects->notebook()->currentIndex(), int(ProjectNotebook::WaitingTab));
    QCOMPARE(selectedIn(projects->notebook()->pageEditor(ProjectNotebook::WaitingTab)), QStringLiteral("glass"));
}

void TestSearchWindow::listTopicAndDecisionNoteAreOpened()
{
    startWindow();
    searchFor(QStringLiteral("book quokka"));
    QCOMPARE(m_panel->resultCount(), 1);
    QCOMPARE(m_results->model()->index(0, 0).data().toString(),
             QStringLiteral("My Lists \u25B8 Books I Want To Read: The Quokka Book"));
    QTest::keyClick(m_field, Qt::Key_Return);
    QCOMPARE(sectionStack(m_form)->currentWidget(), listsPage(m_form));
    ListsWorkspace *lists = m_form->listsWorkspace();
    QCOMPARE(lists->currentTopic(), QStringLiteral("Books I Want To Read"));
    QCOMPARE(selectedIn(child<LineNumberEdit>(lists, "todo")), QStringLiteral("Quokka"));
    QCOMPARE(QApplication::focusWidget(), child<LineNumberEdit>(lists, "todo"));

    searchFor(QStringLiteral("badge"));
    QCOMPARE(m_results->model()->index(0, 0).data().toString(),
             QStringLiteral("Decisions \u25B8 Buy a New car \u25B8 Done: Asked about the quokka badge"));
    QTest::keyClick(m_field, Qt::Key_Return);
    QCOMPARE(sectionStack(m_form)->currentWidget(), decisionsPage(m_form));
    DecisionsWorkspace *decisions = m_form->decisionsWorkspace();
    QCOMPARE(decisions->currentTopic(), QStringLiteral("Buy a New car"));
    // The Done note is on a page of its own: that page is shown.
    QCOMPARE(child<QStackedWidget>(decisions, "pgProject")->currentWidget(), child<QWidget>(decisions, "TabSheet11"));
    QCOMPARE(selectedIn(child<QPlainTextEdit>(decisions, "Done")), QStringLiteral("badge"));
    QCOMPARE(QApplication::focusWidget(), child<QPlainTextEdit>(decisions, "Done"));
}

void TestSearchWindow::ledgerItemIsOpenedAndEditedRowsCount()
{
    writeFileBytes(m_fixture->root() + "Projects/Garden/money.txt",
                   "\"Item name\",Date,Debit,Credit\r\nSeeds,\"Mar 5, 2024\",4.50,\r\n"
                   "\"Quokka food\",\"Mar 6, 2024\",12.50,\r\n");
    startWindow();
    m_form->autoSave()->setIntervals(600000, 600000);
    searchFor(QStringLiteral("food"));
    QCOMPARE(m_panel->resultCount(), 1);
    QCOMPARE(m_results->model()->index(0, 0).data().toString(),
             QStringLiteral("Garden \u25B8 Costs \u25B8 Ledger: Quokka food"));
    QTest::keyClick(m_field, Qt::Key_Return);
    CostLedgerWidget *costs = m_form->projectsSection()->ledger();
    QCOMPARE(m_form->projectsSection()->notebook()->currentIndex(), int(ProjectNotebook::CostsTab));
    QCOMPARE(moneyGrid(costs)->currentIndex().row(), 2);
    QCOMPARE(moneyGrid(costs)->currentIndex().column(), 0);
    QCOMPARE(QApplication::focusWidget(), moneyGrid(costs));

    // An item typed and not yet saved is found, and the one overwritten is not.
    QVERIFY(moneyGrid(costs)->model()->setData(moneyGrid(costs)->model()->index(1, 0), QStringLiteral("Wombat feed")));
    QVERIFY(costs->ledger().edited());
    searchFor(QStringLiteral("feed"));
    QCOMPARE(m_panel->resultCount(), 1);
    QCOMPARE(m_results->model()->index(0, 0).data().toString(),
             QStringLiteral("Garden \u25B8 Costs \u25B8 Ledger: Wombat feed"));
    QVERIFY(!fileBytes(m_fixture->root() + "Projects/Garden/money.txt").contains("Wombat"));
    m_field->clear();
    QTest::keyClicks(m_field, QStringLiteral("seeds"));
    QCOMPARE(m_panel->resultCount(), 0);
}

void TestSearchWindow::matchInALongNoteIsSelectedOnceLaidIn()
{
    // Far more than is laid in at once: the last line comes in a later slice.
    const QByteArray line = QByteArray(70, 'x') + "\r\n";
    writeFileBytes(m_fixture->dbFile(noteFileOf(QDate(2020, 6, 1))), line.repeated(20000) + "the wombat at the end");
    startWindow();
    searchFor(QStringLiteral("wombat"));
    QCOMPARE(m_panel->resultCount(), 1);
    QTest::keyClick(m_field, Qt::Key_Return);
    DayNoteColumn *first = dayColumn(m_form, 1);
    QCOMPARE(dateLabel(first)->text(), QStringLiteral("Monday Jun 01"));
    QTRY_COMPARE_WITH_TIMEOUT(selectedIn(noteEdit(first)), QStringLiteral("wombat"), 20000);
    QCOMPARE(noteEdit(first)->textCursor().blockNumber(), 20000);
    QCOMPARE(QApplication::focusWidget(), noteEdit(first));
}

void TestSearchWindow::unsavedEditorTextIsFound()
{
    startWindow();
    m_form->autoSave()->setIntervals(600000, 600000);
    // A list is kept in memory until another topic is opened: typed, not
    // saved, and found all the same.
    m_form->showLists();
    ListsWorkspace *lists = m_form->listsWorkspace();
    QPlainTextEdit *todo = lists->showTopicEditor(QStringLiteral("Books I Want To Read"), 0);
    QVERIFY(todo);
    todo->setFocus();
    todo->moveCursor(QTextCursor::End);
    QTest::keyClick(todo, Qt::Key_Return);
    QTest::keyClicks(todo, QStringLiteral("Numbat facts"));
    const QString listFile = m_fixture->root() + "Journal/Books I Want To Read_todo.txt";
    searchFor(QStringLiteral("numbat"));
    QCOMPARE(m_panel->resultCount(), 1);
    QCOMPARE(m_results->model()->index(0, 0).data().toString(),
             QStringLiteral("My Lists \u25B8 Books I Want To Read: Numbat facts"));
    QVERIFY(!fileBytes(listFile).contains("Numbat"));
    QTest::keyClick(m_field, Qt::Key_Return);
    QCOMPARE(selectedIn(todo), QStringLiteral("Numbat"));

    // What was taken out of an edited page is no longer found there.
    m_form->showProjects();
    QVERIFY(m_form->projectsSection()->showProjectPage(QStringLiteral("Garden"), QStringLiteral("Projects")));
    PageEditor *toDo = m_form->projectsSection()->notebook()->pageEditor(ProjectNotebook::ToDoTab);
    toDo->setFocus();
    toDo->selectAll();
    QTest::keyClicks(toDo, QStringLiteral("feed the numbat"));
    searchFor(QStringLiteral("numbat"));
    QTRY_COMPARE(m_panel->resultCount(), 2);
    QCOMPARE(m_results->model()->index(0, 0).data().toString(),
             QStringLiteral("Garden \u25B8 To Do: feed the numbat"));
    m_field->clear();
    QTest::keyClicks(m_field, QStringLiteral("photograph"));
    QTRY_COMPARE(m_panel->statusText(), QStringLiteral("No matches"));

    // A day note is saved when its editor is left (for the search field,
    // too); the search follows that save.
    m_form->showCalendar();
    DayNoteColumn *today = dayColumn(m_form, 1);
    noteEdit(today)->setFocus();
    QTest::keyClicks(noteEdit(today), QStringLiteral("Numbat spotted"));
    searchFor(QStringLiteral("numbat"));
    QTRY_COMPARE(m_panel->resultCount(), 3);
    QCOMPARE(m_results->model()->index(0, 0).data().toString(),
             QStringLiteral("Wednesday Jan 10 2024: Numbat spotted"));
}

void TestSearchWindow::filesChangedOnDiskAfterStartupAreFound()
{
    startWindow();
    searchFor(QStringLiteral("platypus"));
    QCOMPARE(m_panel->resultCount(), 0);
    // Another program (a sync tool) brings a new note while the list is open.
    writeFileBytes(m_fixture->dbFile(noteFileOf(QDate(2022, 2, 2))), "a platypus!");
    QTRY_COMPARE_WITH_TIMEOUT(m_panel->resultCount(), 1, 5000);
    QCOMPARE(m_results->model()->index(0, 0).data().toString(), QStringLiteral("Wednesday Feb 02 2022: a platypus!"));

    // A page changed in place, without its folder saying so: Ctrl+F looks
    // at every file again.
    QTest::keyClick(m_field, Qt::Key_Escape);
    QFile page(m_fixture->root() + "Projects/Garden/Projects.txt");
    QVERIFY(page.open(QIODevice::Append));
    page.write("\r\nplatypus food");
    page.close();
    searchFor(QStringLiteral("platypus"));
    QTRY_COMPARE_WITH_TIMEOUT(m_panel->resultCount(), 2, 5000);
    // A note deleted is gone from the results.
    QFile::remove(m_fixture->dbFile(noteFileOf(QDate(2022, 2, 2))));
    QTRY_COMPARE_WITH_TIMEOUT(m_panel->resultCount(), 1, 5000);
}

void TestSearchWindow::keysOfTheResultsList()
{
    startWindow();
    m_form->showLists();
    ListsWorkspace *lists = m_form->listsWorkspace();
    topicList(lists)->setFocus();
    QCOMPARE(QApplication::focusWidget(), topicList(lists));
    searchFor(QStringLiteral("quokka"));
    QCOMPARE(m_results->currentIndex().row(), 0);
    QTest::keyClick(m_field, Qt::Key_Down);
    QTest::keyClick(m_field, Qt::Key_Down);
    QCOMPARE(m_results->currentIndex().row(), 2);
    QTest::keyClick(m_field, Qt::Key_Up);
    QCOMPARE(m_results->currentIndex().row(), 1);
    QTest::keyClick(m_field, Qt::Key_PageDown);
    QCOMPARE(m_results->currentIndex().row(), 3);
    QTest::keyClick(m_field, Qt::Key_Up);
    // Escape: the list goes and the focus returns where it was.
    QTest::keyClick(m_field, Qt::Key_Escape);
    QVERIFY(!m_panel->resultsShown());
    QCOMPARE(QApplication::focusWidget(), topicList(lists));
    QCOMPARE(sectionStack(m_form)->currentWidget(), listsPage(m_form));

    // A double-click goes to the row clicked.
    searchFor(QStringLiteral("quokka"));
    const QRect second = m_results->visualRect(m_results->model()->index(1, 0));
    QTest::mouseClick(m_results->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(m_results->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(sectionStack(m_form)->currentWidget(), projectsPage(m_form));
    QCOMPARE(selectedIn(m_form->projectsSection()->notebook()->pageEditor(ProjectNotebook::ToDoTab)), QStringLiteral("Quokka"));
}

void TestSearchWindow::emptyQueryShowsNothingAndUnreadableFilesAreCounted()
{
    const QString pipe = m_fixture->dbFile(noteFileOf(QDate(2021, 3, 15)));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString other = m_fixture->root() + "Projects/Garden/Done.txt";
    QCOMPARE(mkfifo(QFile::encodeName(other).constData(), 0600), 0);
    startWindow();
    searchFor(QStringLiteral("quokka"));
    QCOMPARE(m_panel->statusText(), QStringLiteral("4 matches \u00B7 2 files could not be searched"));
    m_field->clear();
    QVERIFY(!m_panel->resultsShown());
    QCOMPARE(m_panel->resultCount(), 0);
    QTest::keyClicks(m_field, QStringLiteral("   "));
    QVERIFY(!m_panel->resultsShown());
    // Control characters are no words: no matches, at once.
    m_field->setText(QStringLiteral("\x01\x02\x1b\x7f"));
    QVERIFY(m_panel->resultsShown());
    QCOMPARE(m_panel->resultCount(), 0);
    QCOMPARE(m_panel->statusText(), QStringLiteral("No matches \u00B7 2 files could not be searched"));
    // Ten thousand characters answer at once, with nothing.
    m_field->setText(QString(10000, QLatin1Char('q')));
    QVERIFY(m_panel->resultsShown());
    QCOMPARE(m_panel->resultCount(), 0);
    QCOMPARE(m_panel->statusText(), QStringLiteral("No matches \u00B7 2 files could not be searched"));
}

QTEST_MAIN(TestSearchWindow)
#include "tst_searchwindow.moc"
