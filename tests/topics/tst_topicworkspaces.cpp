// "My Lists" and "Decisions" driven through the real main window: picking
// topics, typing, the add dialog, deleting and moving, the decision pages
// and columns, links, resizing and closing; then the files on disk.

#include "mainwindowfixture.h"
#include "testhelpers.h"
#include "ui/app/mainwindow.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "ui/topics/linenumberedit.h"
#include "ui/topics/splitterbar.h"
#include "ui/topics/addtopicdialog.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/topics/listsworkspace.h"

#include <QApplication>
#include <QClipboard>
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
#include <QToolButton>

#include <functional>

namespace {

// The add-topic dialog's controls, found by their names.
QLineEdit *nameField(AddTopicDialog *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("edit1"));
}

QPushButton *okButtonOf(AddTopicDialog *dialog)
{
    return dialog->findChild<QPushButton *>(QStringLiteral("OK"));
}

QPushButton *cancelButtonOf(AddTopicDialog *dialog)
{
    return dialog->findChild<QPushButton *>(QStringLiteral("Cancel"));
}



int rowOf(TopicWorkspace *workspace, const QString &topic)
{
    const QList<QListWidgetItem *> found = topicList(workspace)->findItems(topic, Qt::MatchExactly);
    return found.isEmpty() ? -1 : topicList(workspace)->row(found.first());
}

QStringList shownTopics(TopicWorkspace *workspace)
{
    QStringList shown;
    for (int i = 0; i < topicList(workspace)->count(); ++i)
        shown.append(topicList(workspace)->item(i)->text());
    return shown;
}

// Clicks the topic in the list as the user would.
void pick(TopicWorkspace *workspace, const QString &topic)
{
    QListWidget *list = topicList(workspace);
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
    MainWindow *m_form = nullptr;

    MainWindow *start()
    {
        auto *form = new MainWindow(m_fakes->services(), StartOptions{m_root->path() + "/", "45296"});
        form->runStartup();
        return form;
    }

    void restart()
    {
        m_form->close();
        delete m_form;
        m_form = start();
    }

    ListsWorkspace *journal() { return m_form->listsWorkspace(); }
    DecisionsWorkspace *decision() { return m_form->decisionsWorkspace(); }
    QString journalFile(const QString &name) { return m_form->dataFolder()->journalDir() + name; }
    QString decisionFile(const QString &name) { return m_form->dataFolder()->decisionDir() + name; }
    QString configFile(const QString &name) { return m_form->dataFolder()->configDir() + name; }

    // Answers the next topic-name dialog with what the user does in it;
    // seen says whether it was shown.
    void answerNameDialog(bool &seen, const std::function<void(AddTopicDialog *)> &act)
    {
        m_fakes->dialogs.formAnswer = [&seen, act](QDialog &form) {
            auto *dialog = qobject_cast<AddTopicDialog *>(&form);
            if (!dialog)
                return int(QDialog::Rejected);
            seen = true;
            act(dialog);
            return form.result();
        };
    }

    // Runs the add-topic dialog with what the user does in it.
    void addTopic(TopicWorkspace *workspace, const std::function<void(AddTopicDialog *)> &act)
    {
        bool seen = false;
        answerNameDialog(seen, act);
        topicAddButton(workspace)->click();
        m_fakes->dialogs.formAnswer = nullptr;
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
        const auto host = [](QWidget *page, const char *name) {
            return page->findChild<QWidget *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        };
        QCOMPARE(journal()->parentWidget(), host(listsPage(m_form), "pnlGoals"));
        QCOMPARE(decision()->parentWidget(), host(decisionsPage(m_form), "Decision_Panel"));
        QCOMPARE(journal()->pos(), QPoint(0, 0));
        QCOMPARE(topicList(journal())->count(), 87);
        QCOMPARE(topicList(decision())->count(), 9);
        QCOMPARE(titleLabel(journal())->text(), QStringLiteral("To Do"));
        QVERIFY(todoEdit(journal())->toPlainText().isEmpty());
        QVERIFY(journal()->currentTopic().isEmpty());
        QCOMPARE(topicList(journal())->selectedItems().size(), 0);
        QCOMPARE(titleLabel(decision())->text(), QStringLiteral("Title"));
        QCOMPARE(topicAddButton(journal())->toolTip(), QStringLiteral("Add Topic"));
        for (QToolButton *b : {topicDeleteButton(journal()), topicUpButton(journal()),
                               topicDownButton(journal())})
            QCOMPARE(b->toolTip(), QStringLiteral("DeletTopic"));
        // Only the section buttons switch pages; the workspaces write nothing
        // before they are used.
        m_form->showLists();
        m_form->showDecisions();
        QVERIFY(QDir(m_form->dataFolder()->journalDir()).isEmpty());
        QVERIFY(QDir(m_form->dataFolder()->decisionDir()).isEmpty());
    }

    void listFlow()
    {
        m_form->showLists();
        // Before a topic is picked the editor takes no text and says why.
        QVERIFY(todoEdit(journal())->isReadOnly());
        QVERIFY(!todoEdit(journal())->placeholderText().isEmpty());
        typeLines(todoEdit(journal()), {"belongs to no topic"});
        QCOMPARE(todoEdit(journal())->toPlainText(), QString());
        pick(journal(), "Bucket List");
        QVERIFY(!todoEdit(journal())->isReadOnly());
        QCOMPARE(titleLabel(journal())->text(), QStringLiteral("Bucket List"));
        QCOMPARE(todoEdit(journal())->toPlainText(), QString());
        typeLines(todoEdit(journal()), {"Skydiving", "See the aurora", "Run a marathon"});
        QVERIFY(!QFile::exists(journalFile("Bucket List_todo.txt")));
        pick(journal(), "Dream Dates");
        QCOMPARE(todoEdit(journal())->toPlainText(), QString());
        QVERIFY(!QFile::exists(journalFile("Dream Dates_todo.txt")));
        pick(journal(), "Bucket List");
        QCOMPARE(todoEdit(journal())->lines(), QStringList({"Skydiving", "See the aurora", "Run a marathon"}));
        QCOMPARE(fileBytes(journalFile("Bucket List_todo.txt")),
                 QByteArray("Skydiving\r\nSee the aurora\r\nRun a marathon\r\n"));
        // Dream Dates was left untouched: nothing was written for it.
        QCOMPARE(QDir(m_form->dataFolder()->journalDir()).entryList(QDir::Files),
                 QStringList({"Bucket List_todo.txt"}));
    }

    void keyboardPicksATopic()
    {
        m_form->showLists();
        pick(journal(), "Bucket List");
        QTest::keyClick(topicList(journal()), Qt::Key_Down);
        QCOMPARE(titleLabel(journal())->text(), QStringLiteral("Celebrities I Hate"));
        QCOMPARE(journal()->currentTopic(), QStringLiteral("Celebrities I Hate"));
        // Left untouched, so not written.
        QVERIFY(!QFile::exists(journalFile("Bucket List_todo.txt")));
    }

    void longTitleIsCut()
    {
        QCOMPARE(titleLabel(journal())->width(), 585);
        QCOMPARE(titleLabel(journal())->wordWrap(), false);
    }

    void addedTopicSurvivesRestart()
    {
        m_form->showLists();
        addTopic(journal(), [](AddTopicDialog *dialog) {
            nameField(dialog)->setText(QStringLiteral("Garden Ideas"));
            okButtonOf(dialog)->click();
        });
        QCOMPARE(topicList(journal())->item(87)->text(), QStringLiteral("Garden Ideas"));
        QCOMPARE(shownTopics(journal()), journal()->store().topics());
        QCOMPARE(topicList(journal())->selectedItems().size(), 0);
        QVERIFY(journal()->currentTopic().isEmpty());
        QCOMPARE(TextFile::readLines(configFile("Journal_Topics.txt")).value.last(), QStringLiteral("Garden Ideas"));
        QVERIFY(QDir(m_form->dataFolder()->journalDir()).isEmpty());

        restart();
        QCOMPARE(topicList(journal())->count(), 88);
        QCOMPARE(topicList(journal())->item(87)->text(), QStringLiteral("Garden Ideas"));
    }

    void addRefusesDuplicatesButWrites()
    {
        addTopic(decision(), [](AddTopicDialog *dialog) {
            nameField(dialog)->setText(QStringLiteral("buy a new CAR"));
            okButtonOf(dialog)->click();
        });
        QCOMPARE(topicList(decision())->count(), 9);
        QCOMPARE(TextFile::readLines(configFile("Decision_Topics.txt")).value.size(), 9);
        addTopic(decision(), [](AddTopicDialog *dialog) { okButtonOf(dialog)->click(); });
        QCOMPARE(topicList(decision())->item(9)->text(), QStringLiteral("Topic Name"));
        QCOMPARE(TextFile::readLines(configFile("Decision_Topics.txt")).value.size(), 10);
    }

    void cancelWritesNothing()
    {
        addTopic(journal(), [](AddTopicDialog *dialog) {
            nameField(dialog)->setText(QStringLiteral("Not wanted"));
            cancelButtonOf(dialog)->click();
        });
        addTopic(journal(), [](AddTopicDialog *dialog) {
            nameField(dialog)->setText(QStringLiteral("Not wanted either"));
            dialog->close();
        });
        addTopic(journal(), [](AddTopicDialog *dialog) {
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(topicList(journal())->count(), 87);
        QVERIFY(!QFile::exists(configFile("Journal_Topics.txt")));
    }

    void addDialogTakesTypingAtOnce()
    {
        AddTopicDialog dialog(journal()->store(), &m_fakes->dialogs, journal());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Topic"));
        QCOMPARE(dialog.size(), QSize(581, 213));
        QCOMPARE(nameField(&dialog)->text(), QStringLiteral("Topic Name"));
        QCOMPARE(nameField(&dialog)->width(), 369);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // From the first moment the name field has the focus with its text
        // selected, and no timer takes it away later.
        QCOMPARE(QApplication::focusWidget(), nameField(&dialog));
        QCOMPARE(nameField(&dialog)->selectedText(), QStringLiteral("Topic Name"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Go"));
        QTest::qWait(1300);
        QCOMPARE(QApplication::focusWidget(), nameField(&dialog));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" home"));
        QCOMPARE(nameField(&dialog)->text(), QStringLiteral("Go home"));
        QVERIFY(dialog.isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void deleteAsksFirst()
    {
        m_form->showLists();
        pick(journal(), "Bucket List");
        typeLines(todoEdit(journal()), {"kept"});
        m_fakes->dialogs.answers.enqueue(false);
        topicDeleteButton(journal())->click();
        QCOMPARE(m_fakes->dialogs.questions,
                 QStringList({"Are you sure you wan to delete'Bucket List'"}));
        QCOMPARE(topicList(journal())->count(), 87);
        QCOMPARE(todoEdit(journal())->toPlainText(), QStringLiteral("kept"));
        QVERIFY(!QFile::exists(configFile("Journal_Topics.txt")));

        pick(journal(), "Dream Dates");
        pick(journal(), "Bucket List");
        QVERIFY(QFile::exists(journalFile("Bucket List_todo.txt")));
        writeFileBytes(journalFile("Best Childhood Memories_todo.txt"), "first\r\n");
        m_fakes->dialogs.answers.enqueue(true);
        topicDeleteButton(journal())->click();
        QCOMPARE(topicList(journal())->count(), 86);
        QCOMPARE(rowOf(journal(), "Bucket List"), -1);
        QVERIFY(!QFile::exists(journalFile("Bucket List_todo.txt")));
        // The first entry is open, highlighted and named in the title: the
        // deleted name never stays above another topic's text.
        QCOMPARE(journal()->currentTopic(), QStringLiteral("Best Childhood Memories"));
        QCOMPARE(todoEdit(journal())->toPlainText(), QStringLiteral("first"));
        QCOMPARE(topicList(journal())->selectedItems().size(), 1);
        QCOMPARE(topicList(journal())->currentRow(), 0);
        QCOMPARE(titleLabel(journal())->text(), QStringLiteral("Best Childhood Memories"));
        QCOMPARE(TextFile::readLines(configFile("Journal_Topics.txt")).value.size(), 86);
        QCOMPARE(shownTopics(journal()), journal()->store().topics());
        QCOMPARE(shownTopics(journal()).at(3), QStringLiteral("Celebrities I Hate"));
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
    }

    void moveUpAndDown()
    {
        m_form->showDecisions();
        QListWidget *list = topicList(decision());
        topicUpButton(decision())->click();
        topicDownButton(decision())->click();
        QCOMPARE(m_fakes->dialogs.messages,
                 QStringList({"Select a topic to move up", "Select a topic to move down"}));

        pick(decision(), "Ask for a raise");
        topicUpButton(decision())->click();
        QCOMPARE(list->item(0)->text(), QStringLiteral("Ask for a raise"));
        pick(decision(), "Home School kids");
        topicDownButton(decision())->click();
        QCOMPARE(list->item(8)->text(), QStringLiteral("Home School kids"));
        QCOMPARE(list->currentRow(), 8);

        pick(decision(), "Buy a New car");
        topicUpButton(decision())->click();
        topicUpButton(decision())->click();
        QCOMPARE(list->item(0)->text(), QStringLiteral("Buy a New car"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("Ask for a raise"));
        QCOMPARE(list->selectedItems().value(0), list->item(0));
        topicDownButton(decision())->click();
        QCOMPARE(list->item(1)->text(), QStringLiteral("Buy a New car"));
        QCOMPARE(shownTopics(decision()), decision()->store().topics());
        // Moving opens nothing and writes nothing.
        QCOMPARE(decision()->currentTopic(), QStringLiteral("Buy a New car"));
        QCOMPARE(m_fakes->dialogs.messages.size(), 2);
        QVERIFY(!QFile::exists(configFile("Decision_Topics.txt")));

        restart();
        QCOMPARE(topicList(decision())->item(0)->text(), QStringLiteral("Ask for a raise"));
        QCOMPARE(topicList(decision())->item(1)->text(), QStringLiteral("Buy a New car"));
        QCOMPARE(topicList(decision())->item(2)->text(), QStringLiteral("Buy a New House"));
    }

    void emptyListDoesNothing()
    {
        delete m_form;
        m_form = nullptr;
        QVERIFY(QDir().mkpath(m_root->path() + "/Config"));
        writeFileBytes(m_root->path() + "/Config/Journal_Topics.txt", "");
        m_form = start();
        QCOMPARE(topicList(journal())->count(), 0);
        topicDeleteButton(journal())->click();
        journal()->openSelectedTopic();
        QVERIFY(m_fakes->dialogs.questions.isEmpty());
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
        QVERIFY(QDir(m_form->dataFolder()->journalDir()).isEmpty());

        // Deleting the last topic leaves an empty list and empty editors.
        addTopic(journal(), [](AddTopicDialog *dialog) {
            nameField(dialog)->setText(QStringLiteral("Only"));
            okButtonOf(dialog)->click();
        });
        m_form->showLists();
        pick(journal(), "Only");
        typeLines(todoEdit(journal()), {"text"});
        m_fakes->dialogs.answers.enqueue(true);
        topicDeleteButton(journal())->click();
        QCOMPARE(topicList(journal())->count(), 0);
        QVERIFY(todoEdit(journal())->toPlainText().isEmpty());
        QVERIFY(journal()->currentTopic().isEmpty());
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
        QCOMPARE(fileBytes(configFile("Journal_Topics.txt")), QByteArray());
        QVERIFY(QDir(m_form->dataFolder()->journalDir()).isEmpty());
    }

    void decisionTopics()
    {
        m_form->showDecisions();
        pick(decision(), "Buy a New car");
        QCOMPARE(titleLabel(decision())->text(), QStringLiteral("Buy a New car?"));
        typeLines(reasonsForEdit(decision()), {"Reliable", "Safer"});
        typeLines(reasonsAgainstEdit(decision()), {"Costly"});
        typeLines(finalDecisionEdit(decision()), {"Buy in spring"});
        pick(decision(), "Switch Job");
        // Only the three edited notes are written.
        const QStringList files = QDir(m_form->dataFolder()->decisionDir()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, QStringList({"Buy a New car_made.txt", "Buy a New car_minus.txt",
                                     "Buy a New car_plus.txt"}));
        QCOMPARE(fileBytes(decisionFile("Buy a New car_plus.txt")), QByteArray("Reliable\r\nSafer\r\n"));
        QCOMPARE(fileBytes(decisionFile("Buy a New car_made.txt")), QByteArray("Buy in spring"));

        pick(decision(), "Buy a New car");
        QCOMPARE(reasonsAgainstEdit(decision())->toPlainText(), QStringLiteral("Costly"));
        m_fakes->dialogs.answers.enqueue(true);
        topicDeleteButton(decision())->click();
        QVERIFY(QDir(m_form->dataFolder()->decisionDir()).entryList({"Buy a New car*"}, QDir::Files).isEmpty());
        QVERIFY(QDir(m_form->dataFolder()->decisionDir()).entryList(QDir::Files).isEmpty());
    }

    void decisionPagesAreReachable()
    {
        m_form->showDecisions();
        DecisionsWorkspace *d = decision();
        QCOMPARE(decisionPages(d)->count(), 6);
        QCOMPARE(decisionPages(d)->currentWidget(), reasonsPage(d));
        QVERIFY(columnHeader(d)->isVisible());
        const int columnsTop = decisionPages(d)->y();

        const struct
        {
            QString tab;
            QWidget *page;
            QWidget *editor;
        } pages[] = {{"Done", donePage(d), doneEdit(d)},
                     {"Next Step", nextStepPage(d), nextStepEdit(d)},
                     {"Links", linksPage(d), linksEdit(d)},
                     {"Other", otherPage(d), otherEdit(d)}};
        for (const auto &page : pages) {
            int tab = -1;
            for (int i = 0; i < decisionPageTabs(d)->count(); ++i) {
                if (decisionPageTabs(d)->tabText(i) == page.tab)
                    tab = i;
            }
            QVERIFY2(tab >= 0, qPrintable(page.tab));
            QTest::mouseClick(decisionPageTabs(d), Qt::LeftButton, Qt::NoModifier,
                              decisionPageTabs(d)->tabRect(tab).center());
            QCOMPARE(decisionPages(d)->currentWidget(), page.page);
            QVERIFY(page.editor->isVisible());
            QVERIFY(!columnHeader(d)->isVisible());
            QVERIFY(decisionPages(d)->y() < columnsTop);
        }
        // Back to the columns by keyboard.
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        otherEdit(d)->setFocus();
        QTest::keyClick(otherEdit(d), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(decisionPages(d)->currentWidget(), reasonsPage(d));
        QVERIFY(columnHeader(d)->isVisible());
        QCOMPARE(decisionPages(d)->y(), columnsTop);
    }

    void splitterFigures()
    {
        m_form->showDecisions();
        DecisionsWorkspace *d = decision();
        // The page control spans the writing side, which starts at 289.
        d->resizeTo(289 + 600, 500);
        QCOMPARE(decisionPages(d)->width(), 600);
        QCOMPARE(reasonsForEdit(d)->width(), 290);
        QCOMPARE(editSplitter(d)->x(), 290);
        QCOMPARE(againstLabel(d)->x(), 290);
        QCOMPARE(reasonsAgainstEdit(d)->x() + reasonsAgainstEdit(d)->width(), 600);
        d->resizeTo(289 + 601, 500);
        QCOMPARE(reasonsForEdit(d)->width(), 290);
        d->resizeTo(289 + 602, 500);
        QCOMPARE(reasonsForEdit(d)->width(), 291);
        QCOMPARE(mainPanel(d)->size(), QSize(891, 500));

        dragSplitter(editSplitter(d), -100);
        QCOMPARE(reasonsForEdit(d)->width(), 191);
        QCOMPARE(editSplitter(d)->x(), 191);
        QCOMPARE(againstLabel(d)->x(), 191);
        // Dragging past the edge keeps a column visible.
        dragSplitter(editSplitter(d), -1000);
        QVERIFY(reasonsForEdit(d)->width() > 0);
        QCOMPARE(againstLabel(d)->x(), editSplitter(d)->x());

        d->resizeTo(289 + 600, 500);
        QCOMPARE(reasonsForEdit(d)->width(), 290);
        QCOMPARE(againstLabel(d)->x(), 290);
        // Too small a window still leaves sane sizes.
        d->resizeTo(100, 50);
        QCOMPARE(reasonsForEdit(d)->width(), 0);
        QVERIFY(reasonsAgainstEdit(d)->width() >= 0);
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
        QCOMPARE(mainPanel(journal())->size(), QSize(1288, 638));
        QCOMPARE(mainPanel(decision())->size(), QSize(1288, 638));
        QCOMPARE(reasonsForEdit(decision())->width(), (1288 - 289) / 2 - 10);
    }

    void linksOpenOnlyWhenAsked()
    {
        m_form->showDecisions();
        writeFileBytes(decisionFile("Get married_Links.txt"),
                  "  https://example.com/venue  \r\n\r\n/tmp/guest list.txt\r\nlast");
        pick(decision(), "Get married");
        QCOMPARE(linksEdit(decision())->toPlainText(),
                 QStringLiteral("  https://example.com/venue  \n\n/tmp/guest list.txt\nlast"));
        QVERIFY(m_fakes->shell.opened.isEmpty());
        linksEdit(decision())->moveCursor(QTextCursor::End);
        typeLines(linksEdit(decision()), {"", "more"});
        QVERIFY(m_fakes->shell.opened.isEmpty());

        QTabBar *tabs = decisionPageTabs(decision());
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->tabText(i) == QStringLiteral("Links"))
                tabs->setCurrentIndex(i);
        }
        QVERIFY(linksEdit(decision())->isVisible());
        QPlainTextEdit *links = linksEdit(decision());
        QTextCursor third(links->document()->findBlockByNumber(2));
        links->setTextCursor(third);
        openLinkButton(decision())->click();
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
        m_form->showLists();
        pick(journal(), "Foods I Love");
        typeLines(todoEdit(journal()), {"Figs"});
        m_form->showDecisions();
        pick(decision(), "Take a vacation");
        typeLines(reasonsForEdit(decision()), {"Rest"});
        QVERIFY(m_form->close());
        QCOMPARE(fileBytes(journalFile("Foods I Love_todo.txt")), QByteArray("Figs\r\n"));
        QCOMPARE(fileBytes(decisionFile("Take a vacation_plus.txt")), QByteArray("Rest\r\n"));
        QCOMPARE(TextFile::readLines(configFile("Journal_Topics.txt")).value.size(), 87);
        QCOMPARE(TextFile::readLines(configFile("Decision_Topics.txt")).value.size(), 9);
        QVERIFY(!m_form->listsWorkspace());
        QVERIFY(!m_form->decisionsWorkspace());
    }

    void closeFailureCanKeepTheWindow()
    {
        m_form->showLists();
        pick(journal(), "Foods I Love");
        typeLines(todoEdit(journal()), {"Figs"});
        const QString folder = m_form->dataFolder()->journalDir();
        QVERIFY(QDir(folder).removeRecursively());
        m_fakes->dialogs.answers.enqueue(false);
        QVERIFY(!m_form->close());
        QCOMPARE(m_fakes->dialogs.questions.size(), 1);
        QVERIFY(m_fakes->dialogs.questions.first().contains(QStringLiteral("Foods I Love_todo.txt")));
        QVERIFY(journal());
        QCOMPARE(todoEdit(journal())->toPlainText(), QStringLiteral("Figs"));
        QVERIFY(!m_form->closing());

        QVERIFY(QDir().mkpath(folder));
        QVERIFY(m_form->close());
        QCOMPARE(fileBytes(journalFile("Foods I Love_todo.txt")), QByteArray("Figs\r\n"));
    }

    void pastedLineBreakSurvivesRestart()
    {
        m_form->showLists();
        QApplication::clipboard()->setText(QStringLiteral("Garden ideas\r\n"));
        addTopic(journal(), [](AddTopicDialog *dialog) {
            QTest::keyClick(nameField(dialog), Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(nameField(dialog), Qt::Key_Return);
        });
        QCOMPARE(topicList(journal())->count(), 88);
        QCOMPARE(topicList(journal())->item(87)->text(), QStringLiteral("Garden ideas"));
        pick(journal(), "Garden ideas");
        typeLines(todoEdit(journal()), {"Tomatoes", "A pond"});
        restart();
        QCOMPARE(topicList(journal())->count(), 88);
        QCOMPARE(topicList(journal())->item(87)->text(), QStringLiteral("Garden ideas"));
        QCOMPARE(TextFile::readLines(configFile("Journal_Topics.txt")).value.size(), 88);
        m_form->showLists();
        pick(journal(), "Garden ideas");
        QCOMPARE(todoEdit(journal())->lines(), QStringList({"Tomatoes", "A pond"}));
        QCOMPARE(QDir(m_form->dataFolder()->journalDir()).entryList(QDir::Files),
                 QStringList({"Garden ideas_todo.txt"}));
    }

    void namesThatCannotNameFilesAreRefusedAtEntry()
    {
        m_form->showDecisions();
        const QString tooLong(81, QChar(0x20AC));
        bool stayedOpen = false;
        addTopic(decision(), [&](AddTopicDialog *dialog) {
            nameField(dialog)->setText(tooLong);
            okButtonOf(dialog)->click();
            // Refused with the dialog still open, so the name can be mended.
            stayedOpen = dialog->isVisible();
            nameField(dialog)->setText(QStringLiteral("Buy a New car?"));
            okButtonOf(dialog)->click();
            stayedOpen = stayedOpen && dialog->isVisible();
            cancelButtonOf(dialog)->click();
        });
        QVERIFY(stayedOpen);
        QCOMPARE(m_fakes->dialogs.errors.size(), 2);
        QVERIFY2(m_fakes->dialogs.errors.at(0).contains(QStringLiteral("255")),
                 qPrintable(m_fakes->dialogs.errors.at(0)));
        QVERIFY2(m_fakes->dialogs.errors.at(1).contains(QStringLiteral("\"Buy a New car\"")),
                 qPrintable(m_fakes->dialogs.errors.at(1)));
        QCOMPARE(topicList(decision())->count(), 9);

        m_form->showLists();
        addTopic(journal(), [](AddTopicDialog *dialog) {
            nameField(dialog)->setText(QStringLiteral("A.B"));
            okButtonOf(dialog)->click();
        });
        addTopic(journal(), [](AddTopicDialog *dialog) {
            nameField(dialog)->setText(QStringLiteral("AB"));
            okButtonOf(dialog)->click();
            cancelButtonOf(dialog)->click();
        });
        QCOMPARE(topicList(journal())->count(), 88);
        QVERIFY(m_fakes->dialogs.errors.last().contains(QStringLiteral("\"A.B\"")));
    }

    void failedSwitchKeepsTheHighlight()
    {
        m_form->showLists();
        pick(journal(), "Bucket List");
        typeLines(todoEdit(journal()), {"precious"});
        const QString folder = m_form->dataFolder()->journalDir();
        QVERIFY(QDir(folder).removeRecursively());
        pick(journal(), "Dream Dates");
        QCOMPARE(m_fakes->dialogs.errors.size(), 1);
        // Still on Bucket List: highlight, title and text agree.
        QCOMPARE(journal()->currentTopic(), QStringLiteral("Bucket List"));
        QCOMPARE(topicList(journal())->selectedItems().size(), 1);
        QCOMPARE(topicList(journal())->selectedItems().first()->text(), QStringLiteral("Bucket List"));
        QCOMPARE(titleLabel(journal())->text(), QStringLiteral("Bucket List"));
        QCOMPARE(todoEdit(journal())->toPlainText(), QStringLiteral("precious"));
        // "-" asks about the topic being edited.
        m_fakes->dialogs.answers.enqueue(false);
        topicDeleteButton(journal())->click();
        QCOMPARE(m_fakes->dialogs.questions, QStringList({"Are you sure you wan to delete'Bucket List'"}));
        QVERIFY(QDir().mkpath(folder));
        pick(journal(), "Dream Dates");
        QCOMPARE(fileBytes(journalFile("Bucket List_todo.txt")), QByteArray("precious\r\n"));
    }

    void deleteWithNothingSelectedOnlySaysSo()
    {
        m_form->showLists();
        writeFileBytes(journalFile("Best Childhood Memories_todo.txt"), "first\r\n");
        topicDeleteButton(journal())->click();
        QCOMPARE(m_fakes->dialogs.messages, QStringList({"Select a topic to delete"}));
        QVERIFY(m_fakes->dialogs.questions.isEmpty());
        QCOMPARE(fileBytes(journalFile("Best Childhood Memories_todo.txt")), QByteArray("first\r\n"));
        QCOMPARE(topicList(journal())->count(), 87);
        QVERIFY(journal()->currentTopic().isEmpty());
        QVERIFY(!QFile::exists(configFile("Journal_Topics.txt")));
    }

    void tabReachesTheTopicList()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        m_form->showLists();
        pick(journal(), "Bucket List");
        todoEdit(journal())->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), todoEdit(journal()));
        bool reached = false;
        for (int i = 0; i < 40 && !reached; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached = QApplication::focusWidget() == topicList(journal());
        }
        QVERIFY(reached);
        QCOMPARE(todoEdit(journal())->toPlainText(), QString());

        m_form->showDecisions();
        pick(decision(), "Switch Job");
        for (QPlainTextEdit *editor : {static_cast<QPlainTextEdit *>(reasonsForEdit(decision())),
                                       static_cast<QPlainTextEdit *>(reasonsAgainstEdit(decision())), finalDecisionEdit(decision())}) {
            editor->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), editor);
            QTest::keyClick(editor, Qt::Key_Tab);
            QVERIFY(QApplication::focusWidget() != editor);
            QCOMPARE(editor->toPlainText(), QString());
        }
        reached = false;
        for (int i = 0; i < 40 && !reached; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached = QApplication::focusWidget() == topicList(decision());
        }
        QVERIFY(reached);
    }

    void againstLabelNeverCoversForLabel()
    {
        m_form->showDecisions();
        DecisionsWorkspace *d = decision();
        d->resizeTo(289 + 600, 500);
        const int forRight = forLabel(d)->x() + forLabel(d)->width();
        for (int dx : {-100, -200, -1000}) {
            dragSplitter(editSplitter(d), dx);
            QVERIFY2(againstLabel(d)->x() >= forRight,
                     qPrintable(QStringLiteral("%1 < %2").arg(againstLabel(d)->x()).arg(forRight)));
            QCOMPARE(againstLabel(d)->x(), editSplitter(d)->x());
        }
        dragSplitter(editSplitter(d), 2000);
        QVERIFY(againstLabel(d)->x() + againstLabel(d)->width() <= decisionPages(d)->width());
        // A window too narrow for both still keeps them apart.
        d->resizeTo(289 + 200, 300);
        QVERIFY(againstLabel(d)->x() >= forRight);
    }

    void renameTopic()
    {
        m_form->showDecisions();
        DecisionsWorkspace *d = decision();
        QCOMPARE(renameTopicButton(d)->accessibleName(), QStringLiteral("Rename Topic"));
        QVERIFY(!renameTopicButton(d)->toolTip().isEmpty());
        // Nothing selected: said so, nothing asked.
        renameTopicButton(d)->click();
        QCOMPARE(m_fakes->dialogs.messages, QStringList({"Select a topic to rename"}));

        pick(d, "Buy a New car");
        typeLines(reasonsForEdit(d), {"Reliable"});
        typeLines(finalDecisionEdit(d), {"Yes"});
        // F2 in the list opens the dialog with the name selected.
        bool seen = false;
        answerNameDialog(seen, [](AddTopicDialog *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Rename Topic"));
            QCOMPARE(nameField(dialog)->selectedText(), QStringLiteral("Buy a New car"));
            // A clash is refused inside the dialog.
            nameField(dialog)->setText(QStringLiteral("switch job"));
            okButtonOf(dialog)->click();
            QVERIFY(dialog->isVisible());
            nameField(dialog)->setText(QStringLiteral("Buy an electric car"));
            QTest::keyClick(nameField(dialog), Qt::Key_Return);
        });
        topicList(d)->setFocus();
        QTest::keyClick(topicList(d), Qt::Key_F2);
        m_fakes->dialogs.formAnswer = nullptr;
        QVERIFY(seen);
        QCOMPARE(m_fakes->dialogs.errors.size(), 1);
        QCOMPARE(topicList(d)->item(1)->text(), QStringLiteral("Buy an electric car"));
        QCOMPARE(topicList(d)->selectedItems().value(0), topicList(d)->item(1));
        QCOMPARE(d->currentTopic(), QStringLiteral("Buy an electric car"));
        QCOMPARE(titleLabel(d)->text(), QStringLiteral("Buy an electric car?"));
        QCOMPARE(reasonsForEdit(d)->toPlainText(), QStringLiteral("Reliable"));
        QCOMPARE(QDir(m_form->dataFolder()->decisionDir()).entryList(QDir::Files, QDir::Name),
                 QStringList({"Buy an electric car_made.txt", "Buy an electric car_plus.txt"}));
        QCOMPARE(TextFile::readLines(configFile("Decision_Topics.txt")).value.at(1), QStringLiteral("Buy an electric car"));
        restart();
        m_form->showDecisions();
        pick(decision(), "Buy an electric car");
        QCOMPARE(finalDecisionEdit(decision())->toPlainText(), QStringLiteral("Yes"));
    }

    void unreadableTopicFileIsReadOnly()
    {
        m_form->showDecisions();
        writeFileBytes(decisionFile("Get married_plus.txt"), "love\r\n");
        QVERIFY(QDir().mkpath(decisionFile("Get married_Links.txt")));
        pick(decision(), "Get married");
        QCOMPARE(decision()->currentTopic(), QStringLiteral("Get married"));
        QCOMPARE(reasonsForEdit(decision())->toPlainText(), QStringLiteral("love"));
        QVERIFY(!reasonsForEdit(decision())->isReadOnly());
        // The part that could not be read says why and takes no text.
        QVERIFY(linksEdit(decision())->isReadOnly());
        QVERIFY(linksEdit(decision())->placeholderText().contains(QStringLiteral("Get married_Links.txt")));
        QCOMPARE(m_fakes->dialogs.errors.size(), 1);
        QVERIFY(m_fakes->dialogs.errors.first().contains(QStringLiteral("Get married_Links.txt")));
        reasonsForEdit(decision())->moveCursor(QTextCursor::End);
        typeLines(reasonsForEdit(decision()), {"", "company"});
        // A click on another topic stores the edit, never the folder's place.
        pick(decision(), "Switch Job");
        QVERIFY(QFileInfo(decisionFile("Get married_Links.txt")).isDir());
        QCOMPARE(fileBytes(decisionFile("Get married_plus.txt")), QByteArray("love\r\ncompany\r\n"));

        // Once the file can be read, a click on the open topic loads it.
        pick(decision(), "Get married");
        QCOMPARE(m_fakes->dialogs.errors.size(), 2);
        QVERIFY(QDir().rmdir(decisionFile("Get married_Links.txt")));
        writeFileBytes(decisionFile("Get married_Links.txt"), "https://example.com/venue");
        pick(decision(), "Get married");
        QCOMPARE(m_fakes->dialogs.errors.size(), 2);
        QVERIFY(!linksEdit(decision())->isReadOnly());
        QCOMPARE(linksEdit(decision())->toPlainText(), QStringLiteral("https://example.com/venue"));
        QVERIFY(m_form->close());
        QCOMPARE(fileBytes(decisionFile("Get married_Links.txt")), QByteArray("https://example.com/venue"));
    }

    void closeAnywayNamesEveryFileNotSaved()
    {
        m_form->showDecisions();
        DecisionsWorkspace *d = decision();
        pick(d, "Buy a New car");
        typeLines(reasonsForEdit(d), {"Reliable"});
        for (QPlainTextEdit *memo : {nextStepEdit(d), linksEdit(d), otherEdit(d)})
            memo->setPlainText(QStringLiteral("kept"));
        m_form->dataFolder()->storedFiles().setWriteFault([](const QString &path, qint64) -> qint64 {
            return path.contains(QStringLiteral("_Links")) || path.contains(QStringLiteral("_Other")) ? 0 : -1;
        });
        // A switch that cannot store everything does not happen.
        pick(d, "Switch Job");
        QCOMPARE(d->currentTopic(), QStringLiteral("Buy a New car"));
        QCOMPARE(topicList(d)->selectedItems().value(0)->text(), QStringLiteral("Buy a New car"));
        QCOMPARE(linksEdit(d)->toPlainText(), QStringLiteral("kept"));
        // Closing asks, naming each file that would be lost.
        m_fakes->dialogs.answers.enqueue(false);
        const bool closed = m_form->close();
        m_form->dataFolder()->storedFiles().setWriteFault({});
        QVERIFY(!closed);
        QCOMPARE(m_fakes->dialogs.questions.size(), 1);
        const QString question = m_fakes->dialogs.questions.first();
        QVERIFY2(question.contains(QStringLiteral("Buy a New car_Links.txt")), qPrintable(question));
        QVERIFY2(question.contains(QStringLiteral("Buy a New car_Other.txt")), qPrintable(question));
        QCOMPARE(fileBytes(decisionFile("Buy a New car_NextStep.txt")), QByteArray("kept"));
        QVERIFY(m_form->close());
        QCOMPARE(fileBytes(decisionFile("Buy a New car_Links.txt")), QByteArray("kept"));
        QCOMPARE(fileBytes(decisionFile("Buy a New car_Other.txt")), QByteArray("kept"));
    }

    void untouchedTopicIsNeverWrittenBack()
    {
        m_form->showLists();
        writeFileBytes(journalFile("Bucket List_todo.txt"), "mine\r\n");
        pick(journal(), "Bucket List");
        QVERIFY(!journal()->hasUnsavedEdits());
        // Another program writes the file while it is shown untouched.
        writeFileBytes(journalFile("Bucket List_todo.txt"), "mine\r\ntheirs\r\n");
        QVERIFY(journal()->saveEditedTopic());
        QVERIFY(m_form->close());
        QCOMPARE(fileBytes(journalFile("Bucket List_todo.txt")), QByteArray("mine\r\ntheirs\r\n"));
    }

    void saveEditedTopicWritesOnlyEdits()
    {
        m_form->showLists();
        pick(journal(), "Bucket List");
        typeLines(todoEdit(journal()), {"Skydiving"});
        QVERIFY(journal()->hasUnsavedEdits());
        QVERIFY(journal()->saveEditedTopic());
        QVERIFY(!journal()->hasUnsavedEdits());
        QCOMPARE(fileBytes(journalFile("Bucket List_todo.txt")), QByteArray("Skydiving\r\n"));
        QVERIFY(QDir(m_form->dataFolder()->journalDir()).removeRecursively());
        typeLines(todoEdit(journal()), {"", "Aurora"});
        const WriteResult failed = journal()->saveEditedTopic();
        QVERIFY(!failed);
        QVERIFY(failed.error.contains(QStringLiteral("Bucket List_todo.txt")));
        QVERIFY(journal()->hasUnsavedEdits());
        QCOMPARE(todoEdit(journal())->toPlainText(), QStringLiteral("Skydiving\nAurora"));
    }
};

QTEST_MAIN(TstTopicWorkspaces)
#include "tst_topicworkspaces.moc"
