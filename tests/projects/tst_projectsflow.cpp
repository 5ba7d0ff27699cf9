#include "mainwindowfixture.h"
#include "testhelpers.h"
#include "ui/app/mainwindow.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "core/printing/pageprinter.h"
#include "ui/projects/pageeditor.h"
#include "core/projects/projectnames.h"
#include "ui/projects/editcategoriesdialog.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "recordingprinter.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {



// One main window on a fresh data folder, started as at a real start.
struct ProjectsWindow
{
    explicit ProjectsWindow(const QByteArray &departments = QByteArray(), bool hasDepartments = false)
    {
        if (hasDepartments)
            writeFileBytes(tmp.path() + QStringLiteral("/Config/departments.txt"), departments);
        fakes.shell.documents = tmp.path() + QStringLiteral("/Documents");
        Services services = fakes.services();
        services.printing = &printing;
        form = std::make_unique<MainWindow>(services, StartOptions{tmp.path() + QLatin1Char('/'), QStringLiteral("45296")});
        form->runStartup();
        p = form->projectsSection();
        form->showProjects();
    }

    QString projects() const { return form->dataFolder()->projectsDir(); }
    int row(const QString &text) const
    {
        for (int i = 0; i < departmentList(p)->count(); ++i)
            if (departmentList(p)->item(i)->text() == text)
                return i;
        return -1;
    }
    void select(int row) { departmentList(p)->setCurrentRow(row); }
    void select(const QString &text) { select(row(text)); }
    ProjectNotebook *book() const { return p->notebook(); }
    QList<PageEditor *> editors() const { return book()->pageEditors(); }

    FakeServices fakes;
    FakePrinting printing;
    QTemporaryDir tmp;
    std::unique_ptr<MainWindow> form;
    ProjectsSection *p = nullptr;
};

const QStringList kPages = {QStringLiteral("Projects"), QStringLiteral("Done"),    QStringLiteral("OnHold"),
                            QStringLiteral("BuyItem"),  QStringLiteral("SomeDay"), QStringLiteral("Links"),
                            QStringLiteral("Actions")};

} // namespace

class TestProjectsFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void firstRunShowsBuiltInListAndCloseWritesIt()
    {
        ProjectsWindow w;
        QCOMPARE(w.p->departmentLines(), ProjectNames::builtInDepartments());
        QCOMPARE(projectsLabel(w.p)->text(), QStringLiteral("Projects"));
        QVERIFY(w.form->close());
        QByteArray expected;
        for (const QString &line : ProjectNames::builtInDepartments())
            expected += line.toUtf8() + "\r\n";
        QCOMPARE(fileBytes(w.tmp.path() + QStringLiteral("/Config/departments.txt")), expected);
    }

    void listComesFromTheFileWithBlanksKept()
    {
        ProjectsWindow w("@Home\r\nGarden  \r\n\r\nCar\r\n", true);
        QCOMPARE(w.p->departmentLines(),
                 (QStringList{QStringLiteral("@Home"), QStringLiteral("Garden  "), QString(), QStringLiteral("Car")}));
        QVERIFY(w.form->close());
        QCOMPARE(fileBytes(w.tmp.path() + QStringLiteral("/Config/departments.txt")),
                 QByteArray("@Home\r\nGarden  \r\n\r\nCar\r\n"));
    }

    void selectingANewProjectShowsEmptyPagesAndSwitchingAwayWritesThem()
    {
        ProjectsWindow w;
        w.select(QStringLiteral("Garden"));
        QVERIFY(QFileInfo(w.projects() + QStringLiteral("Garden")).isDir());
        for (PageEditor *e : w.editors()) {
            QVERIFY(e->toPlainText().isEmpty());
            QCOMPARE(e->ownerName, QStringLiteral("Garden"));
        }
        QCOMPARE(projectsLabel(w.p)->text(), QStringLiteral("Garden"));
        QCOMPARE(w.book()->findChild<QLabel *>(QStringLiteral("Todo_Label"))->text(), QStringLiteral("\"Garden\"  To Do"));
        QCOMPARE(w.book()->findChild<QLabel *>(QStringLiteral("Links_Label"))->text(), QStringLiteral("\"Garden\"  Web Links"));
        QCOMPARE(w.book()->findChild<QLabel *>(QStringLiteral("Time_Label"))->text(), QStringLiteral("\"Garden\"  Time Tracker"));
        QCOMPARE(folderLabel(w.p)->text(), QStringLiteral("Documents/Garden/"));

        w.book()->pageEditor(ProjectNotebook::ToDoTab)->setPlainText(QStringLiteral("Dig\nPlant"));
        w.book()->pageEditor(ProjectNotebook::LinksTab)->setPlainText(QStringLiteral("http://example.org"));
        w.select(QStringLiteral("Car"));
        // Only the pages that were edited are written.
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Projects.txt")), QByteArray("Dig\r\nPlant"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Links.txt")), QByteArray("http://example.org"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Done.txt")), QByteArray("<missing>"));
        QVERIFY(w.book()->pageEditor(ProjectNotebook::ToDoTab)->toPlainText().isEmpty());

        w.select(QStringLiteral("Garden"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::ToDoTab)->toPlainText(), QStringLiteral("Dig\nPlant"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::LinksTab)->toPlainText(), QStringLiteral("http://example.org"));
    }

    void startupLoadsEveryPageOfTheProjectsFolder()
    {
        ProjectsWindow w;
        // The files are there when a second window starts.
        const QString projects = w.projects();
        QVERIFY(w.form->close());
        w.form.reset();
        writeFileBytes(projects + QStringLiteral("OnHold.txt"), "waiting");
        writeFileBytes(projects + QStringLiteral("Actions.txt"), "other");
        writeFileBytes(projects + QStringLiteral("Projects.txt"), "todo");
        Services services = w.fakes.services();
        services.printing = &w.printing;
        MainWindow again(services, StartOptions{w.tmp.path() + QLatin1Char('/'), QString()});
        again.runStartup();
        ProjectsSection *p = again.projectsSection();
        QCOMPARE(p->notebook()->pageEditor(ProjectNotebook::ToDoTab)->toPlainText(), QStringLiteral("todo"));
        QCOMPARE(p->notebook()->pageEditor(ProjectNotebook::WaitingTab)->toPlainText(), QStringLiteral("waiting"));
        QCOMPARE(p->notebook()->pageEditor(ProjectNotebook::OtherTab)->toPlainText(), QStringLiteral("other"));
        departmentList(p)->setCurrentRow(2);
        QCOMPARE(fileBytes(projects + QStringLiteral("OnHold.txt")), QByteArray("waiting"));
        QCOMPARE(fileBytes(projects + QStringLiteral("Actions.txt")), QByteArray("other"));
        QVERIFY(again.close());
    }

    void blankLineChangesNothing()
    {
        ProjectsWindow w;
        w.select(QStringLiteral("Garden"));
        w.book()->pageEditor(ProjectNotebook::DoneTab)->setPlainText(QStringLiteral("kept"));
        w.select(5); // blank
        QCOMPARE(projectsLabel(w.p)->text(), QStringLiteral("Garden"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->toPlainText(), QStringLiteral("kept"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->ownerName, QStringLiteral("Garden"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Done.txt")), QByteArray("<missing>"));
    }

    void categoriesTrailingBlanksAndTwinLinesAreProjects()
    {
        ProjectsWindow w("@Home\r\nGarden\r\nGarden   \r\nProjects\r\nX\r\nProjects\r\n", true);
        w.select(QStringLiteral("@Home"));
        QVERIFY(QFileInfo(w.projects() + QStringLiteral("@Home")).isDir());
        w.select(QStringLiteral("Garden"));
        w.book()->pageEditor(ProjectNotebook::SomeDayTab)->setPlainText(QStringLiteral("one day"));
        w.select(QStringLiteral("Garden   "));
        QCOMPARE(projectsLabel(w.p)->text(), QStringLiteral("Garden"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::SomeDayTab)->toPlainText(), QStringLiteral("one day"));
        QVERIFY(!QFileInfo::exists(w.projects() + QStringLiteral("Garden   ")));

        w.select(3);
        w.book()->pageEditor(ProjectNotebook::DoneTab)->setPlainText(QStringLiteral("shared"));
        w.select(5);
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->toPlainText(), QStringLiteral("shared"));
    }

    void summaryGathersTheOtherProjects()
    {
        ProjectsWindow w("@Home\r\nRepairs\r\nGarden\r\nSummary\r\n", true);
        writeFileBytes(w.projects() + QStringLiteral("Garden/Projects.txt"), "A\r\n\r\nB");
        w.select(QStringLiteral("Summary"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::ToDoTab)->toPlainText(), QStringLiteral("[Garden]\n   A\n   B"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Summary/Projects.txt")), QByteArray("[Garden]\r\n   A\r\n   B"));
        for (PageEditor *e : w.editors())
            QCOMPARE(e->ownerName, QStringLiteral("Summary"));


        // The summary never gathers its own previous files.
        w.select(QStringLiteral("Repairs"));
        w.select(QStringLiteral("Summary"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::ToDoTab)->toPlainText(), QStringLiteral("[Garden]\n   A\n   B"));
    }

    void summaryPagesOffScreenFillWhenShown()
    {
        ProjectsWindow w("@Home\r\nRepairs\r\nSummary\r\n", true);
        // A page off screen fills when its tab is shown, with the same text.
        writeFileBytes(w.projects() + QStringLiteral("Repairs/Done.txt"), "fixed tap");
        w.select(QStringLiteral("Summary"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->pageText(), QStringLiteral("[Repairs]\n   fixed tap"));
        QVERIFY(w.book()->pageEditor(ProjectNotebook::DoneTab)->hasPendingText());
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Summary/Done.txt")), QByteArray("[Repairs]\r\n   fixed tap"));
        w.book()->setCurrentIndex(ProjectNotebook::DoneTab);
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->toPlainText(), QStringLiteral("[Repairs]\n   fixed tap"));
        QVERIFY(!w.book()->pageEditor(ProjectNotebook::DoneTab)->hasPendingText());
        w.book()->setCurrentIndex(ProjectNotebook::ToDoTab);
    }

    void leavingAPageSavesItUnlessTheFirstLineIsSelected()
    {
        ProjectsWindow w;
        w.form->show();
        QApplication::setActiveWindow(w.form.get());
        w.select(0); // @Home, the first line
        w.book()->setCurrentIndex(ProjectNotebook::WaitingTab);
        PageEditor *onHold = w.book()->pageEditor(ProjectNotebook::WaitingTab);
        onHold->setFocus();
        QTRY_VERIFY(onHold->hasFocus());
        QTest::keyClicks(onHold, QStringLiteral("parts"));
        departmentList(w.p)->setFocus();
        QTRY_VERIFY(!onHold->hasFocus());
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("@Home/OnHold.txt")), QByteArray("<missing>"));
        w.select(QStringLiteral("Garden"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("@Home/OnHold.txt")), QByteArray("parts"));

        // Another line selected: leaving writes at once, trimmed; To Do too.
        w.book()->setCurrentIndex(ProjectNotebook::LinksTab);
        PageEditor *links = w.book()->pageEditor(ProjectNotebook::LinksTab);
        links->setFocus();
        QTRY_VERIFY(links->hasFocus());
        QTest::keyClicks(links, QStringLiteral("http://a.org"));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(links, Qt::Key_Return);
        departmentList(w.p)->setFocus();
        QTRY_VERIFY(!links->hasFocus());
        QCOMPARE(links->toPlainText(), QStringLiteral("http://a.org"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Links.txt")), QByteArray("http://a.org"));

        w.book()->setCurrentIndex(ProjectNotebook::ToDoTab);
        PageEditor *todo = w.book()->pageEditor(ProjectNotebook::ToDoTab);
        todo->setFocus();
        QTRY_VERIFY(todo->hasFocus());
        QTest::keyClicks(todo, QStringLiteral("weed"));
        departmentList(w.p)->setFocus();
        QTRY_VERIFY(!todo->hasFocus());
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Projects.txt")), QByteArray("weed"));
    }

    void keyboardSelectionSwitchesProjects()
    {
        ProjectsWindow w;
        w.form->show();
        QApplication::setActiveWindow(w.form.get());
        departmentList(w.p)->setFocus();
        QTRY_VERIFY(departmentList(w.p)->hasFocus());
        // Tabbing into the list chooses nothing.
        QCOMPARE(projectsLabel(w.p)->text(), QStringLiteral("Projects"));
        QTest::keyClick(departmentList(w.p), Qt::Key_Down);
        QTest::keyClick(departmentList(w.p), Qt::Key_Down);
        QVERIFY(projectsLabel(w.p)->text() != QStringLiteral("Projects"));
        const QString chosen = projectsLabel(w.p)->text();
        QVERIFY(QFileInfo(w.projects() + chosen).isDir());
    }

    void clearTextAsksFirst()
    {
        ProjectsWindow w;
        w.select(QStringLiteral("Garden"));
        w.book()->setCurrentIndex(ProjectNotebook::DoneTab);
        w.book()->pageEditor(ProjectNotebook::DoneTab)->setPlainText(QStringLiteral("finished"));
        w.fakes.dialogs.answers.enqueue(false);
        clearTextButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.questions.last(), QStringLiteral("Clear all text?"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->toPlainText(), QStringLiteral("finished"));
        w.fakes.dialogs.answers.enqueue(true);
        clearTextButton(w.p)->click();
        QVERIFY(w.book()->pageEditor(ProjectNotebook::DoneTab)->toPlainText().isEmpty());
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Done.txt")), QByteArray("<missing>"));
    }

    void tabChangesShowCommandsAndBindTheTracker()
    {
        ProjectsWindow w;
        QSignalSpy binds(w.p, &ProjectsSection::trackerBindRequested);
        struct Case
        {
            int tab;
            bool visible;
        };
        for (const Case c : {Case{ProjectNotebook::DoneTab, true}, Case{ProjectNotebook::TimeTab, false},
                             Case{ProjectNotebook::CostsTab, true}, Case{ProjectNotebook::OtherTab, false},
                             Case{ProjectNotebook::LinksTab, true}, Case{ProjectNotebook::DocumentsTab, false},
                             Case{ProjectNotebook::SomeDayTab, true}}) {
            w.book()->setCurrentIndex(c.tab);
            QCOMPARE(clearTextButton(w.p)->isVisibleTo(w.p), c.visible);
            QCOMPARE(projectPrintButton(w.p)->isVisibleTo(w.p), c.visible);
        }
        // No line selected: the first line's folder.
        QCOMPARE(binds.size(), 1);
        QCOMPARE(binds.at(0).at(0).toString(), w.projects() + QStringLiteral("@Home/"));

        w.book()->setCurrentIndex(ProjectNotebook::TimeTab);
        w.select(QStringLiteral("Garden"));
        QCOMPARE(binds.last().at(0).toString(), w.projects() + QStringLiteral("Garden/"));
        QCOMPARE(binds.last().at(1).toDouble(), w.fakes.clock.nowDayNumber());
        w.book()->setCurrentIndex(ProjectNotebook::ToDoTab);
        const int before = binds.size();
        w.select(QStringLiteral("Car"));
        QCOMPARE(binds.size(), before);
        w.book()->setCurrentIndex(ProjectNotebook::TimeTab);
        QCOMPARE(binds.last().at(0).toString(), w.projects() + QStringLiteral("Car/"));
    }

    void selectionTellsLedgerThenDocuments()
    {
        ProjectsWindow w;
        QStringList order;
        QObject::connect(w.p, &ProjectsSection::ledgerSwitchRequested, w.p,
                         [&](const QString &n) { order << QStringLiteral("ledger ") + n; });
        QObject::connect(w.p, &ProjectsSection::documentsSwitchRequested, w.p,
                         [&](const QString &n) { order << QStringLiteral("documents ") + n; });
        w.select(QStringLiteral("Car"));
        QCOMPARE(order, (QStringList{QStringLiteral("ledger Car"), QStringLiteral("documents Car")}));
    }

    void deleteAsksAndRemovesTheWholeFolder()
    {
        ProjectsWindow w;
        w.select(QStringLiteral("Garden"));
        w.book()->pageEditor(ProjectNotebook::ToDoTab)->setPlainText(QStringLiteral("text"));
        writeFileBytes(w.projects() + QStringLiteral("Garden/2024/Jan/time.txt"), "1");
        writeFileBytes(w.projects() + QStringLiteral("Garden/money.txt"), "x");
        const int rows = departmentList(w.p)->count();

        w.fakes.dialogs.answers.enqueue(false);
        deleteButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.questions.last(),
                 QStringLiteral("Are you sure you want to delete this project? All project data will be deleted. "));
        QVERIFY(QFileInfo::exists(w.projects() + QStringLiteral("Garden/2024/Jan/time.txt")));
        QCOMPARE(departmentList(w.p)->count(), rows);

        w.book()->setCurrentIndex(ProjectNotebook::TimeTab);
        w.fakes.dialogs.answers.enqueue(true);
        deleteButton(w.p)->click();
        QVERIFY(!QFileInfo::exists(w.projects() + QStringLiteral("Garden")));
        QCOMPARE(departmentList(w.p)->count(), rows - 1);
        QCOMPARE(w.row(QStringLiteral("Garden")), -1);
        QVERIFY(departmentList(w.p)->selectedItems().isEmpty());
        QCOMPARE(w.book()->currentIndex(), int(ProjectNotebook::ToDoTab));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::ToDoTab)->toPlainText(), QStringLiteral("text"));
        QVERIFY(w.fakes.dialogs.errors.isEmpty());

        // Selecting another project does not bring the deleted one back.
        w.select(QStringLiteral("Car"));
        QVERIFY(!QFileInfo::exists(w.projects() + QStringLiteral("Garden")));
    }

    void deleteOnABlankLineAsksNothing()
    {
        ProjectsWindow w;
        w.select(5);
        deleteButton(w.p)->click();
        QVERIFY(w.fakes.dialogs.questions.isEmpty());
        QCOMPARE(departmentList(w.p)->count(), 25);
        // Nothing selected: nothing either.
        ProjectsWindow v;
        deleteButton(v.p)->click();
        QVERIFY(v.fakes.dialogs.questions.isEmpty());
    }

    void namesThatLeaveTheProjectsFolderAreRefused()
    {
        ProjectsWindow w("@Home\r\n..\r\na/b\r\nGarden\r\n", true);
        writeFileBytes(w.tmp.path() + QStringLiteral("/Projects.txt"), "outside");
        w.select(QStringLiteral("Garden"));
        w.book()->pageEditor(ProjectNotebook::ToDoTab)->setPlainText(QStringLiteral("garden text"));
        w.select(QStringLiteral(".."));
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QVERIFY(w.fakes.dialogs.errors.last().contains(QLatin1String("\"..\"")));
        QCOMPARE(projectsLabel(w.p)->text(), QStringLiteral("Garden"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::ToDoTab)->ownerName, QStringLiteral("Garden"));
        QCOMPARE(fileBytes(w.tmp.path() + QStringLiteral("/Projects.txt")), QByteArray("outside"));

        // The refusal puts the selection back on the project on screen.
        QCOMPARE(departmentList(w.p)->currentRow(), w.row(QStringLiteral("Garden")));
        QCOMPARE(w.row(QStringLiteral("..")), 1);
        QVERIFY(QFileInfo::exists(w.tmp.path() + QStringLiteral("/Projects.txt")));
        QVERIFY(QFileInfo(w.tmp.path() + QStringLiteral("/Config")).isDir());

        w.select(QStringLiteral("a/b"));
        QCOMPARE(w.fakes.dialogs.errors.size(), 2);
        QVERIFY(!QFileInfo::exists(w.projects() + QStringLiteral("a")));
    }

    void pageThatCannotBeWrittenKeepsItsTextAndProject()
    {
        ProjectsWindow w;
        w.select(QStringLiteral("Garden"));
        // A folder where the page file should be: the write fails.
        QDir().mkpath(w.projects() + QStringLiteral("Garden/Done.txt"));
        w.book()->pageEditor(ProjectNotebook::DoneTab)->setPlainText(QStringLiteral("precious"));
        w.select(QStringLiteral("Car"));
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QVERIFY(w.fakes.dialogs.errors.last().contains(QLatin1String("Done.txt")));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->toPlainText(), QStringLiteral("precious"));
        QCOMPARE(w.book()->pageEditor(ProjectNotebook::DoneTab)->ownerName, QStringLiteral("Garden"));
        QCOMPARE(projectsLabel(w.p)->text(), QStringLiteral("Garden"));
    }

    void unreadableListIsNotReplacedAtClose()
    {
        ProjectsWindow w;
        QVERIFY(w.form->close());
        w.form.reset();
        const QString path = w.tmp.path() + QStringLiteral("/Config/departments.txt");
        QFile::remove(path);
        QDir().mkdir(path); // exists, cannot be read as a file
        Services services = w.fakes.services();
        services.printing = &w.printing;
        MainWindow again(services, StartOptions{w.tmp.path() + QLatin1Char('/'), QString()});
        again.runStartup();
        QCOMPARE(w.fakes.dialogs.errors.size(), 1);
        QCOMPARE(again.projectsSection()->departmentLines(), ProjectNames::builtInDepartments());
        QVERIFY(again.close());
        QVERIFY(QFileInfo(path).isDir());
    }

    void categoriesDialogEditsTheListOnScreen()
    {
        ProjectsWindow w;
        // No file yet: the dialog shows the list on screen.
        w.select(QStringLiteral("Garden"));
        w.fakes.dialogs.answers.enqueue(true);
        deleteButton(w.p)->click();
        QString shown;
        w.fakes.dialogs.formAnswer = [&](QDialog &form) {
            auto *dialog = qobject_cast<EditCategoriesDialog *>(&form);
            if (!dialog)
                return int(QDialog::Rejected);
            shown = dialog->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->toPlainText();
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->setPlainText(QStringLiteral("@Garden\nShed\n\nPond"));
            dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
            return dialog->result();
        };
        editButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.formsShown, QStringList{QStringLiteral("Edit Categories")});
        QVERIFY(!shown.isEmpty());
        QVERIFY(!shown.contains(QLatin1String("Garden")));
        QVERIFY(shown.startsWith(QLatin1String("@Home\nRepairs\nOrganize")));
        QCOMPARE(fileBytes(w.tmp.path() + QStringLiteral("/Config/departments.txt")), QByteArray("@Garden\r\nShed\r\n\r\nPond"));
        QCOMPARE(w.p->departmentLines(),
                 (QStringList{QStringLiteral("@Garden"), QStringLiteral("Shed"), QString(), QStringLiteral("Pond")}));
        QVERIFY(departmentList(w.p)->selectedItems().isEmpty());

        // Cancel keeps the list.
        w.fakes.dialogs.formAnswer = [](QDialog &form) {
            auto *dialog = qobject_cast<EditCategoriesDialog *>(&form);
            if (!dialog)
                return int(QDialog::Rejected);
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->setPlainText(QString());
            dialog->findChild<QPushButton *>(QStringLiteral("BitBtn2"))->click();
            return dialog->result();
        };
        editButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.formsShown.size(), 2);
        QCOMPARE(departmentList(w.p)->count(), 4);

        // Saving an empty text empties the list: no current project.
        w.fakes.dialogs.formAnswer = [](QDialog &form) {
            auto *dialog = qobject_cast<EditCategoriesDialog *>(&form);
            if (!dialog)
                return int(QDialog::Rejected);
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->setPlainText(QString());
            dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
            return dialog->result();
        };
        editButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.formsShown.size(), 3);
        QCOMPARE(departmentList(w.p)->count(), 0);
        QVERIFY(w.p->currentProjectName().isEmpty());
        QVERIFY(w.p->projectFolder().isEmpty());
    }

    void closeSavesEveryPage()
    {
        ProjectsWindow w;
        w.select(QStringLiteral("Garden"));
        w.book()->pageEditor(ProjectNotebook::ToDoTab)->setPlainText(QStringLiteral("typed before closing"));
        w.book()->pageEditor(ProjectNotebook::CostsTab)->setPlainText(QStringLiteral("seeds"));
        QVERIFY(w.form->close());
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/Projects.txt")), QByteArray("typed before closing"));
        QCOMPARE(fileBytes(w.projects() + QStringLiteral("Garden/BuyItem.txt")), QByteArray("seeds"));
    }

    void printingTheCostsTabPrintsTheNotes()
    {
        ProjectsWindow w;
        w.select(QStringLiteral("Garden"));
        w.book()->setCurrentIndex(ProjectNotebook::CostsTab);
        w.book()->pageEditor(ProjectNotebook::CostsTab)->setPlainText(QStringLiteral("seeds\nhose"));
        projectPrintButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.messages.last(), QStringLiteral("1 pages printed"));
        QCOMPARE(w.printing.jobs.size(), 1);
        const RecordedJob &job = w.printing.jobs.first();
        QVERIFY(job.ended);
        QStringList texts;
        for (const auto &t : job.texts)
            texts << t.text;
        QCOMPARE(texts, (QStringList{QStringLiteral("Garden"), QStringLiteral("seeds"), QStringLiteral("hose"),
                                     QStringLiteral("Page 1")}));
        // Left margin a quarter inch at 600 dpi.
        QCOMPARE(job.texts.at(1).topLeft, QPointF(150, 450));
        QCOMPARE(job.documentName, QStringLiteral("Garden"));
    }

    void printingBeforeAnySelectionIsTitledProjects()
    {
        ProjectsWindow w;
        w.book()->pageEditor(ProjectNotebook::ToDoTab)->setPlainText(QString());
        projectPrintButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.messages.last(), QStringLiteral("1 pages printed"));
        QCOMPARE(w.printing.jobs.last().documentName, QStringLiteral("Projects"));
    }

    void dayEditorPrintsItsNote()
    {
        ProjectsWindow w;
        DayNoteColumn *first = w.form->week()->columns().first();
        first->setText(QStringLiteral("call the plumber"));
        dayPrintButton(first)->click();
        QCOMPARE(w.fakes.dialogs.messages.last(), QStringLiteral("1 pages printed"));
        const RecordedJob &job = w.printing.jobs.last();
        QCOMPARE(job.texts.at(0).text, QStringLiteral("Friday Jan 05"));
        QCOMPARE(job.texts.at(1).text, QStringLiteral("call the plumber"));
        QCOMPARE(job.texts.at(1).topLeft, QPointF(300, 450));
    }

    void longNotesWrapAsDisplayedAndSpanPages()
    {
        ProjectsWindow w;
        w.select(QStringLiteral("Garden"));
        QStringList many;
        for (int i = 0; i < 60; ++i)
            many << QStringLiteral("item %1").arg(i);
        w.book()->pageEditor(ProjectNotebook::ToDoTab)->setPlainText(many.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        projectPrintButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.messages.last(), QStringLiteral("2 pages printed"));
    }

    void noPrinterOffersAPdf()
    {
        ProjectsWindow w;
        w.printing.printerInstalled = false;
        w.select(QStringLiteral("Garden"));
        w.book()->pageEditor(ProjectNotebook::ToDoTab)->setPlainText(QStringLiteral("dig"));

        w.fakes.dialogs.answers.enqueue(false);
        projectPrintButton(w.p)->click();
        QVERIFY(w.fakes.dialogs.messages.isEmpty());
        QVERIFY(w.printing.pdfSuggestions.isEmpty());

        const QString pdf = w.tmp.path() + QStringLiteral("/garden.pdf");
        w.printing.pdfAnswer = pdf;
        w.fakes.dialogs.answers.enqueue(true);
        projectPrintButton(w.p)->click();
        QCOMPARE(w.printing.pdfSuggestions.last(), QStringLiteral("Garden.pdf"));
        QCOMPARE(w.fakes.dialogs.messages.last(), QStringLiteral("1 pages printed"));
        QVERIFY(fileBytes(pdf).startsWith("%PDF"));

        // Cancelling the save dialog prints nothing.
        w.printing.pdfAnswer.clear();
        w.fakes.dialogs.answers.enqueue(true);
        projectPrintButton(w.p)->click();
        QCOMPARE(w.fakes.dialogs.messages.size(), 1);
    }
};

QTEST_MAIN(TestProjectsFlow)
#include "tst_projectsflow.moc"
