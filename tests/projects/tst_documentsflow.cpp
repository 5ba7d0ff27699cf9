// The documents list, the folder openers of the bottom bar and the links of
// the Links page, driven through the real main window.
#include "mainwindowfixture.h"

#include "ui/common/pictures.h"
#include "core/datafolder/datafolder.h"
#include "ui/projects/pageeditor.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/documentscommands.h"
#include "ui/projects/documentsbrowser.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"

#include <QDir>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

namespace {

QString clean(const QString &path)
{
    return QDir::cleanPath(path);
}

void clickLabel(QLabel *label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, 4));
}

} // namespace

class TestDocumentsFlow : public QObject
{
    Q_OBJECT

private:
    struct Window
    {
        explicit Window(bool documentsExist = true)
        {
            if (documentsExist)
                QDir().mkpath(documents());
            fixture.start();
            fixture.form()->showProjects();
        }
        ProjectsSection *projects() const { return fixture.form()->projectsSection(); }
        DocumentsBrowser *files() const { return projects()->documentsBrowser(); }
        template<typename T>
        T *control(const char *name) const
        {
            return projects()->findChild<T *>(QLatin1String(name));
        }
        QString documents() const { return fixture.fakes.shell.documents; }
        void select(const QString &name)
        {
            QListWidget *list = departmentList(projects());
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->text() == name) {
                    list->setCurrentRow(i);
                    return;
                }
            QFAIL("no such line");
        }
        MainWindowFixture fixture;
    };

    // Puts the caret on a line of the Links page.
    static void caretToLine(PageEditor *links, int line)
    {
        QTextCursor cursor(links->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::EndOfBlock);
        links->setTextCursor(cursor);
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void listFollowsTheSelectedProject()
    {
        Window w;
        DocumentsBrowser *files = w.files();
        QVERIFY(w.projects()->notebook()->findChild<QWidget *>(QStringLiteral("filesHost"))->isAncestorOf(files));
        // Before any selection: the documents folder itself.
        QCOMPARE(clean(files->root()), clean(w.documents()));

        w.select("Garden");
        QCOMPARE(clean(files->root()), clean(w.documents() + "/Garden"));
        QVERIFY(QFileInfo(w.documents() + "/Garden").isDir());
        QCOMPARE(folderLabel(w.projects())->text(), QStringLiteral("Documents/Garden/"));

        // A subfolder shown, then another project: the list starts at its root.
        QVERIFY(QDir().mkpath(w.documents() + "/Garden/Plans"));
        files->showFolder(w.documents() + "/Garden/Plans");
        w.select("Car");
        QCOMPARE(clean(files->root()), clean(w.documents() + "/Car"));
        QCOMPARE(clean(files->currentFolder()), clean(w.documents() + "/Car"));
        QVERIFY(w.fixture.fakes.dialogs.errors.isEmpty());
    }

    void missingDocumentsFolderIsCreated()
    {
        Window w(false);
        w.select("Garden");
        QVERIFY(QFileInfo(w.documents() + "/Garden").isDir());
        QCOMPARE(clean(w.files()->root()), clean(w.documents() + "/Garden"));
        QVERIFY(w.fixture.fakes.dialogs.errors.isEmpty());
    }

    void documentsFolderThatCannotBeMadeIsReported()
    {
        Window w(false);
        // A file where the documents folder should be.
        writeFileBytes(w.documents(), "not a folder");
        w.select("Garden");
        QCOMPARE(w.fixture.fakes.dialogs.errors.size(), 1);
        QVERIFY(w.fixture.fakes.dialogs.errors.last().contains("Garden"));
        // The rest of the selection still happened.
        QCOMPARE(projectsLabel(w.projects())->text(), QStringLiteral("Garden"));
        QCOMPARE(w.projects()->notebook()->pageEditor(ProjectNotebook::ToDoTab)->ownerName, QStringLiteral("Garden"));
        // Opening the folder says so again instead of opening nothing.
        w.control<QToolButton>("Image3")->click();
        QCOMPARE(w.fixture.fakes.dialogs.errors.size(), 2);
        QVERIFY(w.fixture.fakes.shell.openedFolders.isEmpty());
    }

    void bottomBarOpensTheProjectFolders()
    {
        Window w;
        FakeShell &shell = w.fixture.fakes.shell;
        w.select("Garden");

        clickLabel(folderLabel(w.projects()));
        QCOMPARE(clean(shell.openedFolders.last()), clean(w.documents() + "/Garden"));
        w.control<QToolButton>("Image3")->click();
        QCOMPARE(shell.openedFolders.size(), 2);
        QCOMPARE(clean(shell.openedFolders.last()), clean(w.documents() + "/Garden"));

        const QString projectsDir = w.fixture.form()->dataFolder()->projectsDir();
        clickLabel(w.control<QLabel>("Data_label"));
        QCOMPARE(clean(shell.openedFolders.last()), clean(projectsDir + "Garden"));

        // "Record:" and the balance on the Costs page open the project folder.
        CostLedgerWidget *ledger = w.projects()->ledger();
        w.projects()->notebook()->setCurrentIndex(ProjectNotebook::CostsTab);
        clickLabel(recordLabel(ledger));
        QCOMPARE(clean(shell.openedFolders.last()), clean(projectsDir + "Garden"));
        clickLabel(balanceLabel(ledger));
        QCOMPARE(clean(shell.openedFolders.last()), clean(projectsDir + "Garden"));

        // Each opener follows the selection: the folders are computed afresh,
        // and a documents folder removed meanwhile is created again.
        w.select("Car");
        QVERIFY(QDir(w.documents() + "/Car").removeRecursively());
        w.control<QToolButton>("Image3")->click();
        QCOMPARE(clean(shell.openedFolders.last()), clean(w.documents() + "/Car"));
        QVERIFY(QFileInfo(w.documents() + "/Car").isDir());
        clickLabel(w.control<QLabel>("Data_label"));
        QCOMPARE(clean(shell.openedFolders.last()), clean(projectsDir + "Car"));
        QVERIFY(shell.opened.isEmpty());
    }

    void linksOpenTheCaretLine()
    {
        Window w;
        FakeShell &shell = w.fixture.fakes.shell;
        w.select("Garden");
        w.projects()->notebook()->setCurrentIndex(ProjectNotebook::LinksTab);
        PageEditor *links = w.projects()->notebook()->pageEditor(ProjectNotebook::LinksTab);
        links->setPlainText("  https://example.org/plans \t\n\n   \nthird line");
        QToolButton *open = w.control<QToolButton>("SpeedButton1");
        QVERIFY(open->isVisible());

        caretToLine(links, 0);
        open->click();
        QCOMPARE(shell.opened, QStringList{"https://example.org/plans"});
        caretToLine(links, 1); // empty
        open->click();
        caretToLine(links, 2); // blanks only
        open->click();
        QCOMPARE(shell.opened.size(), 1);
        caretToLine(links, 3);
        open->click();
        QCOMPARE(shell.opened.last(), QStringLiteral("third line"));

        // A double-click opens the line clicked, wherever the caret was.
        caretToLine(links, 0);
        const QRect third = links->cursorRect(QTextCursor(links->document()->findBlockByNumber(3)));
        QTest::mouseDClick(links->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(shell.opened.size(), 3);
        QCOMPARE(shell.opened.last(), QStringLiteral("third line"));
        QCOMPARE(links->textCursor().blockNumber(), 3);
    }
};

QTEST_MAIN(TestDocumentsFlow)
#include "tst_documentsflow.moc"
