// "My Lists" and "Decisions" driven through the real main window: picking
// topics, typing, the add dialog, deleting and moving, the decision pages
// and columns, links, resizing and closing; then the files on disk.

#include "app/tform1.h"
#include "common/textfile.h"
#include "datafolder/tdir.h"
#include "fakes.h"
#include "topics/linenumberedit.h"
#include "topics/splitterbar.h"
#include "topics/taddtopic.h"
#include "topics/tdecision.h"
#include "topics/tjournal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

int rowOf(TopicWorkspace *workspace, const QString &topic)
{
    const QList<QListWidgetItem *> found = workspace->Topic_list->findItems(topic, Qt::MatchExactly);
    return found.isEmpty() ? -1 : workspace->Topic_list->row(found.first());
}

QStringList shownTopics(TopicWorkspace *workspace)
{
    QStringList shown;
    for (int i = 0; i < workspace->Topic_list->count(); ++i)
        shown.append(workspace->Topic_list->item(i)->text());
    return shown;
}

// Clicks the topic in the list as the user would.
void pick(TopicWorkspace *workspace, const QString &topic)
{
    QListWidget *list = workspace->Topic_list;
    const int row = rowOf(workspace, topic);
    QVERIFY2(row >= 0, qPrintable(topic));
    list->scrollToItem(list->item(row));
    QApplication::processEvents();
    const QRect rect = list->visualItemRect(list->item(row));
    QVERIFY(!rect.isEmpty());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

void typeLines(QWidget *editor, const QStringList &lines)
{
    editor->setFocus();
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, lines.at(i));
    }
}

} // namespace

class TstTopicWorkspaces : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir *m_root = nullptr;
    FakeServices *m_fakes = nullptr;
    TForm1 *m_form = nullptr;

    TForm1 *start()
    {
        auto *form = new TForm1(m_fakes->services(), StartOptions{m_root->path() + "/", "45296"});
        form->Timer1Timer();
        return form;
    }

    void restart()
    {
        m_form->close();
        delete m_form;
        m_form = start();
    }

    TJournal *journal() { return m_form->Journal; }
    TDecision *decision() { return m_form->Decision; }
    QString journalFile(const QString &name) { return m_form->DataFolder->JournalDir + name; }
    QString decisionFile(const QString &name) { return m_form->DataFolder->DecisionDir + name; }
    QString configFile(const QString &name) { return m_form->DataFolder->ConfigDir + name; }

    // Runs the add-topic dialog with what the user does in it.
    void addTopic(TopicWorkspace *workspace, const std::function<void(TAddTopic *)> &act)
    {
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<TAddTopic *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            act(dialog);
        });
        workspace->Topic_Add_Button->click();
        QVERIFY(seen);
    }

    // Drags the splitter bar by dx pixels with the left button held.
    static void dragSplitter(SplitterBar *bar, int dx)
    {
        const QPoint from(1, bar->height() / 2);
        const QPoint to = from + QPoint(dx, 0);
        QMouseEvent press(QEvent::MouseButtonPress, from, bar->mapToGlobal(from), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        QMouseEvent move(QEvent::MouseMove, to, bar->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, bar->mapToGlobal(to), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &release);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QStandardPaths::setTestModeEnabled(true);
    }

    void init()
    {
        m_root = new QTemporaryDir;
        QVERIFY(m_root->isValid());
        m_fakes = new FakeServices;
        m_form = start();
        QVERIFY(journal());
        QVERIFY(decision());
    }

    void cleanup()
    {
        delete m_form;
        m_form = nullptr;
        delete m_fakes;
        delete m_root;
    }

    void workspacesAreEmbedded()
    {
        QCOMPARE(journal()->parentWidget(), m_form->pnlGoals);
        QCOMPARE(decision()->parentWidget(), m_form->Decision_Panel);
        QCOMPARE(journal()->pos(), QPoint(0, 0));
        QCOMPARE(journal()->Topic_list->count(), 87);
        QCOMPARE(decision()->Topic_list->count(), 9);
        QCOMPARE(journal()->Title_Label->text(), QStringLiteral("To Do"));
        QVERIFY(journal()->todo->toPlainText().isEmpty());
        QVERIFY(journal()->CurrentTopic().isEmpty());
        QCOMPARE(journal()->Topic_list->selectedItems().size(), 0);
        QCOMPARE(decision()->Title_Label->text(), QStringLiteral("Title"));
        QCOMPARE(journal()->Topic_Add_Button->toolTip(), QStringLiteral("Add Topic"));
        for (QToolButton *b : {journal()->Topic_Delete_Button, journal()->topic_up_button,
                               journal()->topic_down_button})
            QCOMPARE(b->toolTip(), QStringLiteral("DeletTopic"));
        // Only the section buttons switch pages; the workspaces write nothing
        // before they are used.
        m_form->btnGoalsClick();
        m_form->Image4Click();
        QVERIFY(QDir(m_form->DataFolder->JournalDir).isEmpty());
        QVERIFY(QDir(m_form->DataFolder->DecisionDir).isEmpty());
    }

    void listFlow()
    {
        m_form->btnGoalsClick();
        typeLines(journal()->todo, {"belongs to no topic"});
        pick(journal(), "Bucket List");
        QCOMPARE(journal()->Title_Label->text(), QStringLiteral("Bucket List"));
        QCOMPARE(journal()->todo->toPlainText(), QString());
        typeLines(journal()->todo, {"Skydiving", "See the aurora", "Run a marathon"});
        QVERIFY(!QFile::exists(journalFile("Bucket List_todo.txt")));
        pick(journal(), "Dream Dates");
        QCOMPARE(journal()->todo->toPlainText(), QString());
        QVERIFY(!QFile::exists(journalFile("Dream Dates_todo.txt")));
        pick(journal(), "Bucket List");
        QCOMPARE(journal()->todo->lines(), QStringList({"Skydiving", "See the aurora", "Run a marathon"}));
        QCOMPARE(fileBytes(journalFile("Bucket List_todo.txt")),
                 QByteArray("Skydiving\r\nSee the aurora\r\nRun a marathon\r\n"));
        QCOMPARE(fileBytes(journalFile("Dream Dates_todo.txt")), QByteArray());
        QCOMPARE(QDir(m_form->DataFolder->JournalDir).entryList(QDir::Files).size(), 2);
    }

    void keyboardPicksATopic()
    {
        m_form->btnGoalsClick();
        pick(journal(), "Bucket List");
        QTest::keyClick(journal()->Topic_list, Qt::Key_Down);
        QCOMPARE(journal()->Title_Label->text(), QStringLiteral("Celebrities I Hate"));
        QCOMPARE(journal()->CurrentTopic(), QStringLiteral("Celebrities I Hate"));
        QVERIFY(QFile::exists(journalFile("Bucket List_todo.txt")));
    }

    void longTitleIsCut()
    {
        QCOMPARE(journal()->Title_Label->width(), 585);
        QCOMPARE(journal()->Title_Label->wordWrap(), false);
    }

    void addedTopicSurvivesRestart()
    {
        m_form->btnGoalsClick();
        addTopic(journal(), [](TAddTopic *dialog) {
            dialog->edit1->setText(QStringLiteral("Garden Ideas"));
            dialog->OK->click();
        });
        QCOMPARE(journal()->Topic_list->item(87)->text(), QStringLiteral("Garden Ideas"));
        QCOMPARE(shownTopics(journal()), journal()->store().topics());
        QCOMPARE(journal()->Topic_list->selectedItems().size(), 0);
        QVERIFY(journal()->CurrentTopic().isEmpty());
        QCOMPARE(TextFile::readLines(configFile("Journal_Topics.txt")).last(), QStringLiteral("Garden Ideas"));
        QVERIFY(QDir(m_form->DataFolder->JournalDir).isEmpty());

        restart();
        QCOMPARE(journal()->Topic_list->count(), 88);
        QCOMPARE(journal()->Topic_list->item(87)->text(), QStringLiteral("Garden Ideas"));
    }

    void addRefusesDuplicatesButWrites()
    {
        addTopic(decision(), [](TAddTopic *dialog) {
            dialog->edit1->setText(QStringLiteral("buy a new CAR"));
            dialog->OK->click();
        });
        QCOMPARE(decision()->Topic_list->count(), 9);
        QCOMPARE(TextFile::readLines(configFile("Decision_Topics.txt")).size(), 9);
        addTopic(decision(), [](TAddTopic *dialog) { dialog->OK->click(); });
        QCOMPARE(decision()->Topic_list->item(9)->text(), QStringLiteral("Topic Name"));
        QCOMPARE(TextFile::readLines(configFile("Decision_Topics.txt")).size(), 10);
    }

    void cancelWritesNothing()
    {
        addTopic(journal(), [](TAddTopic *dialog) {
            dialog->edit1->setText(QStringLiteral("Not wanted"));
            dialog->Cancel->click();
        });
        addTopic(journal(), [](TAddTopic *dialog) {
            dialog->edit1->setText(QStringLiteral("Not wanted either"));
            dialog->close();
        });
        addTopic(journal(), [](TAddTopic *dialog) {
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(journal()->Topic_list->count(), 87);
        QVERIFY(!QFile::exists(configFile("Journal_Topics.txt")));
    }

    void addDialogMovesTheFocus()
    {
        TAddTopic dialog(journal());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Topic"));
        QCOMPARE(dialog.size(), QSize(581, 213));
        QCOMPARE(dialog.edit1->text(), QStringLiteral("Topic Name"));
        QCOMPARE(dialog.edit1->width(), 369);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.focusWidget(), dialog.OK);
        QCOMPARE(dialog.Timer1->interval(), 1000);
        QVERIFY(dialog.Timer1->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(dialog.focusWidget(), dialog.edit1, 3000);
        QVERIFY(!dialog.Timer1->isActive());
        QCOMPARE(dialog.edit1->selectedText(), QStringLiteral("Topic Name"));
        QTest::keyClicks(dialog.edit1, QStringLiteral("Tea"));
        QCOMPARE(dialog.edit1->text(), QStringLiteral("Tea"));
        QTest::keyClick(dialog.edit1, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void deleteAsksFirst()
    {
        m_form->btnGoalsClick();
        pick(journal(), "Bucket List");
        typeLines(journal()->todo, {"kept"});
        m_fakes->dialogs.answers.enqueue(false);
        journal()->Topic_Delete_Button->click();
        QCOMPARE(m_fakes->dialogs.questions,
                 QStringList({"Are you sure you wan to delete'Bucket List'"}));
        QCOMPARE(journal()->Topic_list->count(), 87);
        QCOMPARE(journal()->todo->toPlainText(), QStringLiteral("kept"));
        QVERIFY(!QFile::exists(configFile("Journal_Topics.txt")));

        pick(journal(), "Dream Dates");
        pick(journal(), "Bucket List");
        QVERIFY(QFile::exists(journalFile("Bucket List_todo.txt")));
        writeFile(journalFile("Best Childhood Memories_todo.txt"), "first\r\n");
        m_fakes->dialogs.answers.enqueue(true);
        journal()->Topic_Delete_Button->click();
        QCOMPARE(journal()->Topic_list->count(), 86);
        QCOMPARE(rowOf(journal(), "Bucket List"), -1);
        QVERIFY(!QFile::exists(journalFile("Bucket List_todo.txt")));
        // The first entry is open, nothing is selected, the title waits for
        // the next click.
        QCOMPARE(journal()->CurrentTopic(), QStringLiteral("Best Childhood Memories"));
        QCOMPARE(journal()->todo->toPlainText(), QStringLiteral("first"));
        QCOMPARE(journal()->Topic_list->selectedItems().size(), 0);
        QCOMPARE(journal()->Title_Label->text(), QStringLiteral("Bucket List"));
        QCOMPARE(TextFile::readLines(configFile("Journal_Topics.txt")).size(), 86);
        QCOMPARE(shownTopics(journal()), journal()->store().topics());
        QCOMPARE(shownTopics(journal()).at(3), QStringLiteral("Celebrities I Hate"));
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
    }

    void moveUpAndDown()
    {
        m_form->Image4Click();
        QListWidget *list = decision()->Topic_list;
        decision()->topic_up_button->click();
        decision()->topic_down_button->click();
        QCOMPARE(m_fakes->dialogs.messages,
                 QStringList({"Select a topic to move up", "Select a topic to move down"}));

        pick(decision(), "Ask for a raise");
        decision()->topic_up_button->click();
        QCOMPARE(list->item(0)->text(), QStringLiteral("Ask for a raise"));
        pick(decision(), "Home School kids");
        decision()->topic_down_button->click();
        QCOMPARE(list->item(8)->text(), QStringLiteral("Home School kids"));
        QCOMPARE(list->currentRow(), 8);

        pick(decision(), "Buy a New car");
        decision()->topic_up_button->click();
        decision()->topic_up_button->click();
        QCOMPARE(list->item(0)->text(), QStringLiteral("Buy a New car"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("Ask for a raise"));
        QCOMPARE(list->selectedItems().value(0), list->item(0));
        decision()->topic_down_button->click();
        QCOMPARE(list->item(1)->text(), QStringLiteral("Buy a New car"));
        QCOMPARE(shownTopics(decision()), decision()->store().topics());
        // Moving opens nothing and writes nothing.
        QCOMPARE(decision()->CurrentTopic(), QStringLiteral("Buy a New car"));
        QCOMPARE(m_fakes->dialogs.messages.size(), 2);
        QVERIFY(!QFile::exists(configFile("Decision_Topics.txt")));

        restart();
        QCOMPARE(decision()->Topic_list->item(0)->text(), QStringLiteral("Ask for a raise"));
        QCOMPARE(decision()->Topic_list->item(1)->text(), QStringLiteral("Buy a New car"));
        QCOMPARE(decision()->Topic_list->item(2)->text(), QStringLiteral("Buy a New House"));
    }

    void emptyListDoesNothing()
    {
        delete m_form;
        m_form = nullptr;
        QVERIFY(QDir().mkpath(m_root->path() + "/Config"));
        writeFile(m_root->path() + "/Config/Journal_Topics.txt", "");
        m_form = start();
        QCOMPARE(journal()->Topic_list->count(), 0);
        journal()->Topic_Delete_Button->click();
        journal()->Topic_listClick();
        QVERIFY(m_fakes->dialogs.questions.isEmpty());
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
        QVERIFY(QDir(m_form->DataFolder->JournalDir).isEmpty());

        // Deleting the last topic leaves an empty list and empty editors.
        addTopic(journal(), [](TAddTopic *dialog) {
            dialog->edit1->setText(QStringLiteral("Only"));
            dialog->OK->click();
        });
        m_form->btnGoalsClick();
        pick(journal(), "Only");
        typeLines(journal()->todo, {"text"});
        m_fakes->dialogs.answers.enqueue(true);
        journal()->Topic_Delete_Button->click();
        QCOMPARE(journal()->Topic_list->count(), 0);
        QVERIFY(journal()->todo->toPlainText().isEmpty());
        QVERIFY(journal()->CurrentTopic().isEmpty());
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
        QCOMPARE(fileBytes(configFile("Journal_Topics.txt")), QByteArray());
        QVERIFY(QDir(m_form->DataFolder->JournalDir).isEmpty());
    }

    void decisionTopics()
    {
        m_form->Image4Click();
        pick(decision(), "Buy a New car");
        QCOMPARE(decision()->Title_Label->text(), QStringLiteral("Buy a New car?"));
        typeLines(decision()->plus, {"Reliable", "Safer"});
        typeLines(decision()->minus, {"Costly"});
        typeLines(decision()->made, {"Buy in spring"});
        pick(decision(), "Switch Job");
        const QStringList files = QDir(m_form->DataFolder->DecisionDir).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, QStringList({"Buy a New car_Done.txt", "Buy a New car_Links.txt",
                                     "Buy a New car_NextStep.txt", "Buy a New car_Other.txt",
                                     "Buy a New car_made.txt", "Buy a New car_minus.txt",
                                     "Buy a New car_plus.txt"}));
        QCOMPARE(fileBytes(decisionFile("Buy a New car_plus.txt")), QByteArray("Reliable\r\nSafer\r\n"));
        QCOMPARE(fileBytes(decisionFile("Buy a New car_made.txt")), QByteArray("Buy in spring"));

        pick(decision(), "Buy a New car");
        QCOMPARE(decision()->minus->toPlainText(), QStringLiteral("Costly"));
        m_fakes->dialogs.answers.enqueue(true);
        decision()->Topic_Delete_Button->click();
        QVERIFY(QDir(m_form->DataFolder->DecisionDir).entryList({"Buy a New car*"}, QDir::Files).isEmpty());
        QCOMPARE(QDir(m_form->DataFolder->DecisionDir).entryList(QDir::Files).size(), 7);
    }

    void decisionPagesAreReachable()
    {
        m_form->Image4Click();
        TDecision *d = decision();
        QCOMPARE(d->pgProject->count(), 6);
        QCOMPARE(d->pgProject->currentWidget(), d->TabSheet5);
        QVERIFY(d->Decision_Panel->isVisible());
        const int columnsTop = d->pgProject->y();

        const struct
        {
            QString tab;
            QWidget *page;
            QWidget *editor;
        } pages[] = {{"Done", d->TabSheet11, d->Done},
                     {"Next Step", d->TabSheet6, d->NextStep},
                     {"Links", d->Tabsheet9, d->Links},
                     {"Other", d->TabSheet10, d->Other}};
        for (const auto &page : pages) {
            int tab = -1;
            for (int i = 0; i < d->pgProjectTabs->count(); ++i) {
                if (d->pgProjectTabs->tabText(i) == page.tab)
                    tab = i;
            }
            QVERIFY2(tab >= 0, qPrintable(page.tab));
            QTest::mouseClick(d->pgProjectTabs, Qt::LeftButton, Qt::NoModifier,
                              d->pgProjectTabs->tabRect(tab).center());
            QCOMPARE(d->pgProject->currentWidget(), page.page);
            QVERIFY(page.editor->isVisible());
            QVERIFY(!d->Decision_Panel->isVisible());
            QVERIFY(d->pgProject->y() < columnsTop);
        }
        // Back to the columns by keyboard.
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        d->Other->setFocus();
        QTest::keyClick(d->Other, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(d->pgProject->currentWidget(), d->TabSheet5);
        QVERIFY(d->Decision_Panel->isVisible());
        QCOMPARE(d->pgProject->y(), columnsTop);
    }

    void splitterFigures()
    {
        m_form->Image4Click();
        TDecision *d = decision();
        // The page control spans the writing side, which starts at 289.
        d->ResizeTo(289 + 600, 500);
        QCOMPARE(d->pgProject->width(), 600);
        QCOMPARE(d->plus->width(), 290);
        QCOMPARE(d->Edit_Splitter->x(), 290);
        QCOMPARE(d->Against_Label->x(), 290);
        QCOMPARE(d->minus->x() + d->minus->width(), 600);
        d->ResizeTo(289 + 601, 500);
        QCOMPARE(d->plus->width(), 290);
        d->ResizeTo(289 + 602, 500);
        QCOMPARE(d->plus->width(), 291);
        QCOMPARE(d->Main_Panel->size(), QSize(891, 500));

        dragSplitter(d->Edit_Splitter, -100);
        QCOMPARE(d->plus->width(), 191);
        QCOMPARE(d->Edit_Splitter->x(), 191);
        QCOMPARE(d->Against_Label->x(), 191);
        // Dragging past the edge keeps a column visible.
        dragSplitter(d->Edit_Splitter, -1000);
        QVERIFY(d->plus->width() > 0);
        QCOMPARE(d->Against_Label->x(), d->Edit_Splitter->x());

        d->ResizeTo(289 + 600, 500);
        QCOMPARE(d->plus->width(), 290);
        QCOMPARE(d->Against_Label->x(), 290);
        // Too small a window still leaves sane sizes.
        d->ResizeTo(100, 50);
        QCOMPARE(d->plus->width(), 0);
        QVERIFY(d->minus->width() >= 0);
    }

    void windowResizeReachesTheWorkspaces()
    {
        m_form->showNormal();
        // The figures count the window's frame: make the outer size 1288 x 808.
        m_form->resize(1288, 808);
        QApplication::processEvents();
        const QSize frame = m_form->frameGeometry().size() - m_form->size();
        m_form->resize(QSize(1288, 808) - frame);
        QApplication::processEvents();
        QCOMPARE(m_form->frameGeometry().size(), QSize(1288, 808));
        QCOMPARE(journal()->Main_Panel->size(), QSize(1288, 638));
        QCOMPARE(decision()->Main_Panel->size(), QSize(1288, 638));
        QCOMPARE(decision()->plus->width(), (1288 - 289) / 2 - 10);
    }

    void linksOpenOnlyWhenAsked()
    {
        m_form->Image4Click();
        writeFile(decisionFile("Get married_Links.txt"),
                  "  https://example.com/venue  \r\n\r\n/tmp/guest list.txt\r\nlast");
        pick(decision(), "Get married");
        QCOMPARE(decision()->Links->toPlainText(),
                 QStringLiteral("  https://example.com/venue  \n\n/tmp/guest list.txt\nlast"));
        QVERIFY(m_fakes->shell.opened.isEmpty());
        decision()->Links->moveCursor(QTextCursor::End);
        typeLines(decision()->Links, {"", "more"});
        QVERIFY(m_fakes->shell.opened.isEmpty());

        QTabBar *tabs = decision()->pgProjectTabs;
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->tabText(i) == QStringLiteral("Links"))
                tabs->setCurrentIndex(i);
        }
        QVERIFY(decision()->Links->isVisible());
        QPlainTextEdit *links = decision()->Links;
        QTextCursor third(links->document()->findBlockByNumber(2));
        links->setTextCursor(third);
        decision()->SpeedButton1->click();
        QCOMPARE(m_fakes->shell.opened, QStringList({"/tmp/guest list.txt"}));

        const QRect first = links->cursorRect(QTextCursor(links->document()->findBlockByNumber(0)));
        QTest::mouseDClick(links->viewport(), Qt::LeftButton, Qt::NoModifier, first.center() + QPoint(40, 0));
        QCOMPARE(m_fakes->shell.opened.last(), QStringLiteral("https://example.com/venue"));
        const int opened = m_fakes->shell.opened.size();
        const QRect empty = links->cursorRect(QTextCursor(links->document()->findBlockByNumber(1)));
        QTest::mouseDClick(links->viewport(), Qt::LeftButton, Qt::NoModifier, empty.center());
        QCOMPARE(m_fakes->shell.opened.size(), opened);
    }

    void closeStoresBothWorkspaces()
    {
        m_form->btnGoalsClick();
        pick(journal(), "Foods I Love");
        typeLines(journal()->todo, {"Figs"});
        m_form->Image4Click();
        pick(decision(), "Take a vacation");
        typeLines(decision()->plus, {"Rest"});
        QVERIFY(m_form->close());
        QCOMPARE(fileBytes(journalFile("Foods I Love_todo.txt")), QByteArray("Figs\r\n"));
        QCOMPARE(fileBytes(decisionFile("Take a vacation_plus.txt")), QByteArray("Rest\r\n"));
        QCOMPARE(TextFile::readLines(configFile("Journal_Topics.txt")).size(), 87);
        QCOMPARE(TextFile::readLines(configFile("Decision_Topics.txt")).size(), 9);
        QVERIFY(!m_form->Journal);
        QVERIFY(!m_form->Decision);
    }

    void closeFailureCanKeepTheWindow()
    {
        m_form->btnGoalsClick();
        pick(journal(), "Foods I Love");
        typeLines(journal()->todo, {"Figs"});
        const QString folder = m_form->DataFolder->JournalDir;
        QVERIFY(QDir(folder).removeRecursively());
        m_fakes->dialogs.answers.enqueue(false);
        QVERIFY(!m_form->close());
        QCOMPARE(m_fakes->dialogs.questions.size(), 1);
        QVERIFY(m_fakes->dialogs.questions.first().contains(QStringLiteral("Foods I Love_todo.txt")));
        QVERIFY(journal());
        QCOMPARE(journal()->todo->toPlainText(), QStringLiteral("Figs"));
        QVERIFY(!m_form->closing());

        QVERIFY(QDir().mkpath(folder));
        QVERIFY(m_form->close());
        QCOMPARE(fileBytes(journalFile("Foods I Love_todo.txt")), QByteArray("Figs\r\n"));
    }
};

QTEST_MAIN(TstTopicWorkspaces)
#include "tst_topicworkspaces.moc"
