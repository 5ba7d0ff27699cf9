// The Projects section never loses a word: names that cannot hold a
// folder, switches that cannot save, a data folder that goes away and
// comes back, editors nobody touched, and the commands around the pages,
// driven through the real main window.

#include "mainwindowfixture.h"
#include "testhelpers.h"
#include "ui/app/mainwindow.h"
#include "ui/common/pictures.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "ui/grid/stringgridview.h"
#include "ui/projects/pageeditor.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/documentscommands.h"
#include "ui/projects/documentsbrowser.h"
#include "ui/projects/editcategoriesdialog.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {



// A shell whose opener finds no program for anything.
class RefusingShell final : public IShell
{
public:
    bool openPath(const QString &pathOrUrl) override
    {
        opened.append(pathOrUrl);
        return false;
    }
    bool openFolder(const QString &) override { return false; }
    Result moveToTrash(const QString &) override { return Result::failure(QString()); }
    QString documentsLocation() const override { return documents; }
    QStringList opened;
    QString documents;
};

// One main window on a data folder that outlives it, so that a restart
// finds what the first window left.
struct SafetyWindow
{
    explicit SafetyWindow(QTemporaryDir *dir, IShell *shell = nullptr)
        : tmp(dir)
    {
        fakes.shell.documents = tmp->path() + QStringLiteral("/Documents");
        Services services = fakes.services();
        if (shell)
            services.shell = shell;
        form = std::make_unique<MainWindow>(services, StartOptions{tmp->path() + QLatin1Char('/'), QStringLiteral("45296")});
        form->runStartup();
        p = form->projectsSection();
        form->showProjects();
    }

    QString projects() const { return tmp->path() + QStringLiteral("/Projects/"); }
    int row(const QString &text) const
    {
        for (int i = 0; i < departmentList(p)->count(); ++i)
            if (departmentList(p)->item(i)->text() == text)
                return i;
        return -1;
    }
    int selected() const
    {
        const QList<QListWidgetItem *> items = departmentList(p)->selectedItems();
        return items.isEmpty() ? -1 : departmentList(p)->row(items.first());
    }
    void select(const QString &text) { departmentList(p)->setCurrentRow(row(text)); }
    ProjectNotebook *book() const { return p->notebook(); }
    CostLedgerWidget *ledger() const { return form->projectsSection()->ledger(); }

    QTemporaryDir *tmp;
    FakeServices fakes;
    std::unique_ptr<MainWindow> form;
    ProjectsSection *p = nullptr;
};

// Answers the next "Edit Categories" form: types text and saves; a form
// that refuses to close says so in shownError and is cancelled.
void answerCategoriesDialog(FakeDialogs &dialogs, const QString &text, QString *shownError = nullptr)
{
    dialogs.formAnswer = [=](QDialog &form) {
        auto *dialog = qobject_cast<EditCategoriesDialog *>(&form);
        if (!dialog)
            return int(QDialog::Rejected);
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->setPlainText(text);
        dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        if (dialog->isVisible()) {
            if (shownError)
                *shownError = QStringLiteral("still open");
            dialog->findChild<QPushButton *>(QStringLiteral("BitBtn2"))->click();
        }
        return dialog->result();
    };
}

} // namespace

class TestProjectSafety : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void pageFileNamesAreRefusedAtEntry_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"Done.txt", "Projects.txt", "OnHold.txt", "BuyItem.txt", "SomeDay.txt", "Links.txt",
                                 "Actions.txt", "done.TXT"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void pageFileNamesAreRefusedAtEntry()
    {
        QFETCH(QString, name);
        QTemporaryDir tmp;
        SafetyWindow w(&tmp);
        const QStringList before = w.p->departmentLines();
        QString stillOpen;
        answerCategoriesDialog(w.fakes.dialogs, QStringLiteral("@Home\nGarden\n") + name, &stillOpen);
        editButton(w.p)->click();
        QCOMPARE(stillOpen, QStringLiteral("still open"));
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QVERIFY(w.fakes.dialogs.errors.first().contains(QStringLiteral("Line 3")));
        QVERIFY(w.fakes.dialogs.errors.first().contains(QStringLiteral("page file")));
        QCOMPARE(fileBytes(tmp.path() + QStringLiteral("/Config/departments.txt")), QByteArray("<missing>"));
        QCOMPARE(w.p->departmentLines(), before);
    }

    // A list written by hand (or by an older version) that holds such a
    // name: selecting it says why and opens nothing, and the text on
    // screen is kept across the next switch and a restart.
    void aListHoldingAPageFileNameKeepsEveryWord_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"Done.txt", "Projects.txt", "OnHold.txt", "BuyItem.txt", "SomeDay.txt", "Links.txt",
                                 "Actions.txt"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void aListHoldingAPageFileNameKeepsEveryWord()
    {
        QFETCH(QString, name);
        QTemporaryDir tmp;
        writeFileBytes(tmp.path() + QStringLiteral("/Config/departments.txt"), "@Home\r\nGarden\r\n" + name.toUtf8() + "\r\nCar\r\n");
        // The page of the projects folder itself, typed before any project
        // was chosen, sits where the project's folder would go.
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/") + name, "start page");
        {
            SafetyWindow w(&tmp);
            w.select(QStringLiteral("Garden"));
            w.select(name);
            QCOMPARE(w.fakes.dialogs.errors.size(), 1);
            QVERIFY(w.fakes.dialogs.errors.first().contains(name));
            QCOMPARE(w.selected(), w.row(QStringLiteral("Garden")));
            QCOMPARE(projectsLabel(w.p)->text(), QStringLiteral("Garden"));
            // What is typed now goes to the project on screen.
            w.book()->pageEditor(ProjectNotebook::ToDoTab)->setPlainText(QStringLiteral("typed after the refusal"));
            w.select(QStringLiteral("Car"));
            QVERIFY(w.form->close());
        }
        QCOMPARE(fileBytes(tmp.path() + QStringLiteral("/Projects/Garden/Projects.txt")),
                 QByteArray("typed after the refusal"));
        SafetyWindow again(&tmp);
        again.select(QStringLiteral("Garden"));
        QCOMPARE(again.book()->pageEditor(ProjectNotebook::ToDoTab)->toPlainText(), QStringLiteral("typed after the refusal"));
        // The page files of the projects folder itself are untouched.
        QCOMPARE(fileBytes(tmp.path() + QStringLiteral("/Projects/") + name), QByteArray("start page"));
    }

    void aFileInThePlaceOfTheFolderRefusesTheSwitch()
    {
        QTemporaryDir tmp;
        writeFileBytes(tmp.path() + QStringLiteral("/Config/departments.txt"), "@Home\r\nGarden\r\nShed\r\n");
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Shed"), "a file, not a folder");
        SafetyWindow w(&tmp);
        w.select(QStringLiteral("Garden"));
        w.book()->pageEditor(ProjectNotebook::DoneTab)->setPlainText(QStringLiteral("kept"));
        w.select(QStringLiteral("Shed"));
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QCOMPARE(w.selected(), w.row(QStringLiteral("Garden")));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->ownerName, QStringLiteral("Garden"));
        QVERIFY(w.form->close());
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Done.txt")), QByteArray("kept"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Shed")), QByteArray("a file, not a folder"));
    }

    void aRefusedSwitchPutsTheSelectionBackWithOneMessage()
    {
        QTemporaryDir tmp;
        SafetyWindow w(&tmp);
        w.select(QStringLiteral("Garden"));
        const int garden = w.selected();
        // Neither a page nor the ledger can be written.
        QDir().mkpath(w.projects() + QStringLiteral("Garden/Done.txt"));
        QDir().mkpath(w.projects() + QStringLiteral("Garden/money.txt"));
        w.book()->pageEditor(ProjectNotebook::DoneTab)->setPlainText(QStringLiteral("precious"));
        addRowButton(w.ledger())->click();
        w.select(QStringLiteral("Car"));
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QVERIFY(w.fakes.dialogs.questions.isEmpty());
        QVERIFY(w.fakes.dialogs.errors.first().contains(QStringLiteral("Done.txt")));
        QVERIFY(w.fakes.dialogs.errors.first().contains(QStringLiteral("money.txt")));
        QCOMPARE(w.selected(), garden);
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->ownerName, QStringLiteral("Garden"));
        QCOMPARE(w.ledger()->ownerName(), QStringLiteral("Garden"));
        QCOMPARE(moneyGrid(w.ledger())->grid()->cell(0, 1), QStringLiteral("New Item Name"));
        QVERIFY(!QFileInfo::exists(w.projects() + QStringLiteral("Car")));

        // "Delete" now names the project on screen.
        w.fakes.dialogs.answers.enqueue(false);
        deleteButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.questions.size(), 1);
        QVERIFY(QFileInfo(w.projects() + QStringLiteral("Garden")).isDir());

        // At quit: one question naming every file, no box on top of it.
        w.fakes.dialogs.answers.enqueue(false);
        QVERIFY(!w.form->close());
        QCOMPARE(w.fakes.dialogs.questions.size(), 2);
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QVERIFY(w.fakes.dialogs.questions.last().contains(QStringLiteral("Done.txt")));
        QVERIFY(w.fakes.dialogs.questions.last().contains(QStringLiteral("money.txt")));

        // Freed again, the switch goes through and saves both.
        QDir(w.projects() + QStringLiteral("Garden/Done.txt")).removeRecursively();
        QDir(w.projects() + QStringLiteral("Garden/money.txt")).removeRecursively();
        w.select(QStringLiteral("Car"));
        QCOMPARE(projectsLabel(w.p)->text(), QStringLiteral("Car"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Done.txt")), QByteArray("precious"));
        QVERIFY(fileBytes(w.projects() + QStringLiteral("Garden/money.txt")).contains("New Item Name"));
    }

    // The data folder goes away (a removed disk) and comes back while the
    // program runs: what could not be read is never saved over the files.
    void aDataFolderThatComesBackIsNotWrittenOver()
    {
        QTemporaryDir tmp;
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Garden/Projects.txt"), "todo");
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Garden/BuyItem.txt"), "notes");
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Garden/money.txt"), "\"Item name\",Date,Debit,Credit\r\nSeeds,,3,\r\n");
        SafetyWindow w(&tmp);
        w.select(QStringLiteral("Car"));
        const QString projects = w.projects();
        QVERIFY(QDir().rename(projects, tmp.path() + QStringLiteral("/away")));
        w.select(QStringLiteral("Garden"));
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QCOMPARE(w.selected(), w.row(QStringLiteral("Car")));
        QVERIFY(QDir().rename(tmp.path() + QStringLiteral("/away"), projects));
        w.select(QStringLiteral("Repairs"));
        w.select(QStringLiteral("Car"));
        QVERIFY(w.form->close());
        QCOMPARE(fileBytes(projects + QStringLiteral("Garden/Projects.txt")), QByteArray("todo"));
        QCOMPARE(fileBytes(projects + QStringLiteral("Garden/BuyItem.txt")), QByteArray("notes"));
        QCOMPARE(fileBytes(projects + QStringLiteral("Garden/money.txt")),
                 QByteArray("\"Item name\",Date,Debit,Credit\r\nSeeds,,3,\r\n"));
    }

    // Typed while the folder is away: the save fails and says so, the text
    // stays, and it is saved once the folder is back.
    void textTypedWhileTheFolderIsAwayIsReportedThenSaved()
    {
        QTemporaryDir tmp;
        SafetyWindow w(&tmp);
        w.select(QStringLiteral("Garden"));
        const QString projects = w.projects();
        QVERIFY(QDir().rename(projects, tmp.path() + QStringLiteral("/away")));
        w.book()->pageEditor(ProjectNotebook::SomeDayTab)->setPlainText(QStringLiteral("one day"));
        w.select(QStringLiteral("Car"));
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QVERIFY(w.fakes.dialogs.errors.first().contains(QStringLiteral("SomeDay.txt")));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::SomeDayTab)->toPlainText(), QStringLiteral("one day"));
        QVERIFY(QDir().rename(tmp.path() + QStringLiteral("/away"), projects));
        w.select(QStringLiteral("Car"));
        QCOMPARE(fileBytes(projects + QStringLiteral("Garden/SomeDay.txt")), QByteArray("one day"));
    }

    // Only what was edited is written: a page or ledger another program
    // changed meanwhile keeps that program's text.
    void untouchedPagesAndLedgerAreNeverWrittenBack()
    {
        QTemporaryDir tmp;
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Garden/Projects.txt"), "old");
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Garden/money.txt"), "\"Item name\",Date,Debit,Credit\r\n");
        SafetyWindow w(&tmp);
        w.select(QStringLiteral("Garden"));
        writeFileBytes(w.projects() + QStringLiteral("Garden/Projects.txt"), "changed elsewhere");
        writeFileBytes(w.projects() + QStringLiteral("Garden/money.txt"), "elsewhere\r\n");
        w.select(QStringLiteral("Car"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Projects.txt")), QByteArray("changed elsewhere"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/money.txt")), QByteArray("elsewhere\r\n"));
        // Nothing of Car is written for only looking at it.
        QVERIFY(w.form->close());
        QCOMPARE(QDir(w.projects() + QStringLiteral("Car")).entryList(QDir::Files), QStringList());
    }

    void theSummaryNeverIncludesItself()
    {
        QTemporaryDir tmp;
        writeFileBytes(tmp.path() + QStringLiteral("/Config/departments.txt"), "@Home\r\nGarden\r\nSummary\r\nCar\r\n");
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Garden/Projects.txt"), "dig");
        SafetyWindow w(&tmp);
        w.select(QStringLiteral("Summary"));
        const QString file = w.projects() + QStringLiteral("Summary/Projects.txt");
        const QByteArray first = fileBytes(file);
        QCOMPARE(first, QByteArray("[Garden]\r\n   dig"));
        w.select(QStringLiteral("Car"));
        w.select(QStringLiteral("Summary"));
        QCOMPARE(fileBytes(file), first);
        QVERIFY(!w.book()->pageEditor(ProjectNotebook::ToDoTab)->toPlainText().contains(QStringLiteral("[Summary]")));
    }

    void theBalanceShownIsTheShownProjects()
    {
        QTemporaryDir tmp;
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Garden/money.txt"),
              "\"Item name\",Date,Debit,Credit\r\nSeeds,,,50\r\n");
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Car/money.txt"),
              "\"Item name\",Date,Debit,Credit\r\nBig,,,99999999999999.99\r\nSmall,,,0.01\r\n");
        SafetyWindow w(&tmp);
        w.select(QStringLiteral("Garden"));
        QCOMPARE(balanceLabel(w.ledger())->text(), QStringLiteral("Balance: $ 50.00"));
        w.select(QStringLiteral("Repairs"));
        QCOMPARE(balanceLabel(w.ledger())->text(), QStringLiteral("Balance: $ 0.00"));
        w.select(QStringLiteral("Car"));
        QCOMPARE(balanceLabel(w.ledger())->text(), QStringLiteral("Balance: $ 100000000000000.00"));
        calculateButton(w.ledger())->click();
        QCOMPARE(balanceLabel(w.ledger())->text(), QStringLiteral("Balance: $ 100000000000000.00"));
    }

    void skippedAmountsAreNamedUnderTheGrid()
    {
        QTemporaryDir tmp;
        writeFileBytes(tmp.path() + QStringLiteral("/Projects/Garden/money.txt"),
              "\"Item name\",Date,Debit,Credit\r\nA,,12.5,\r\nB,,7.75,\r\nC,,,\"1,50\"\r\n");
        SafetyWindow w(&tmp);
        w.select(QStringLiteral("Garden"));
        QCOMPARE(balanceLabel(w.ledger())->text(), QStringLiteral("Balance: $ -20.25"));
        QVERIFY(!ledgerNoteLabel(w.ledger())->isHidden());
        QVERIFY(ledgerNoteLabel(w.ledger())->text().contains(QStringLiteral("row 3 (Credit \"1,50\": not an amount)")));
        // The cell keeps its text as typed.
        QCOMPARE(moneyGrid(w.ledger())->grid()->cell(3, 3), QStringLiteral("1,50"));
    }

    void deletedProjectIsNeverWrittenAgain()
    {
        QTemporaryDir tmp;
        SafetyWindow w(&tmp);
        w.select(QStringLiteral("Garden"));
        w.book()->pageEditor(ProjectNotebook::ToDoTab)->setPlainText(QStringLiteral("text"));
        addRowButton(w.ledger())->click();
        w.fakes.dialogs.answers.enqueue(true);
        deleteButton(w.p)->click();
        QVERIFY(!QFileInfo::exists(w.projects() + QStringLiteral("Garden")));
        QVERIFY(w.book()->pageEditor(ProjectNotebook::ToDoTab)->isReadOnly());
        QVERIFY(!w.ledger()->ledger().editable());
        w.select(QStringLiteral("Car"));
        QVERIFY(w.form->close());
        QVERIFY(!QFileInfo::exists(w.projects() + QStringLiteral("Garden")));
        QVERIFY(w.fakes.dialogs.errors.isEmpty());
    }

    void costsPageTabFollowsTheScreen()
    {
        QTemporaryDir tmp;
        SafetyWindow w(&tmp);
        w.form->show();
        QApplication::setActiveWindow(w.form.get());
        w.select(QStringLiteral("Garden"));
        w.book()->setCurrentIndex(ProjectNotebook::CostsTab);
        moneyGrid(w.ledger())->setFocus();
        QTRY_VERIFY(moneyGrid(w.ledger())->hasFocus());
        const QList<QWidget *> expected{static_cast<QWidget *>(addRowButton(w.ledger())), deleteRowButton(w.ledger()),
                                        calculateButton(w.ledger()), w.book()->pageEditor(ProjectNotebook::CostsTab)};
        for (QWidget *next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTRY_COMPARE(QApplication::focusWidget(), next);
        }
    }

    void dataFilesOpensFromTheKeyboard()
    {
        QTemporaryDir tmp;
        SafetyWindow w(&tmp);
        w.form->show();
        QApplication::setActiveWindow(w.form.get());
        w.select(QStringLiteral("Garden"));
        QLabel *data = w.form->projectsSection()->findChild<QLabel *>(QStringLiteral("Data_label"));
        QVERIFY(data->focusPolicy() & Qt::TabFocus);
        data->setFocus();
        QTRY_VERIFY(data->hasFocus());
        QTest::keyClick(data, Qt::Key_Return);
        QCOMPARE(w.fakes.shell.openedFolders.size(), 1);
        QCOMPARE(QDir(w.fakes.shell.openedFolders.first()).canonicalPath(),
                 QDir(w.projects() + QStringLiteral("Garden")).canonicalPath());
    }

    void openLinkSaysWhatFailed()
    {
        QTemporaryDir tmp;
        RefusingShell shell;
        shell.documents = tmp.path() + QStringLiteral("/Documents");
        SafetyWindow w(&tmp, &shell);
        w.select(QStringLiteral("Garden"));
        PageEditor *links = w.book()->pageEditor(ProjectNotebook::LinksTab);
        links->setPlainText(QStringLiteral("/no/such/file.pdf\nhttps://example.invalid/page"));
        QToolButton *open = w.form->projectsSection()->findChild<QToolButton *>(QStringLiteral("SpeedButton1"));
        links->moveCursor(QTextCursor::Start);
        open->click();
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QVERIFY(w.fakes.dialogs.errors.last().contains(QStringLiteral("/no/such/file.pdf")));
        QVERIFY(w.fakes.dialogs.errors.last().contains(QStringLiteral("does not exist")));
        QVERIFY(shell.opened.isEmpty());
        links->moveCursor(QTextCursor::End);
        open->click();
        QCOMPARE(shell.opened, QStringList{QStringLiteral("https://example.invalid/page")});
        QCOMPARE(w.fakes.dialogs.errors.size(), 2);
        QVERIFY(w.fakes.dialogs.errors.last().contains(QStringLiteral("could not be opened")));
    }

    void documentNamesAreShownWholeWithTheirTypeIcons()
    {
        QTemporaryDir tmp;
        SafetyWindow w(&tmp);
        const QString longName = QStringLiteral("A rather long document name about the garden shed plans.txt");
        writeFileBytes(tmp.path() + QStringLiteral("/Documents/Garden/") + longName, "x");
        writeFileBytes(tmp.path() + QStringLiteral("/Documents/Garden/a.txt"), "x");
        w.form->resize(1200, 800);
        w.form->show();
        w.select(QStringLiteral("Garden"));
        w.book()->setCurrentIndex(ProjectNotebook::DocumentsTab);
        DocumentsBrowser *list = w.form->projectsSection()->documentsBrowser();
        auto *model = qobject_cast<QFileSystemModel *>(child<QListView>(list, "files")->model());
        QVERIFY(model);
        QVERIFY(dynamic_cast<QFileIconProvider *>(model->iconProvider()));
        QModelIndex index;
        QTRY_VERIFY((index = model->index(list->currentFolder() + longName)).isValid()
                    && model->rowCount(index.parent()) == 2);
        QTRY_VERIFY(child<QListView>(list, "files")->visualRect(index).width()
                    >= child<QListView>(list, "files")->fontMetrics().horizontalAdvance(longName));
    }
};

QTEST_MAIN(TestProjectSafety)
#include "tst_projectsafety.moc"
