// The project pages, the project list and the topic workspaces while
// another program (a second machine through a synchronised folder) changes
// their files on disk.

#include "core/datafolder/datafolder.h"
#include "core/projects/projectpages.h"
#include "fakes.h"
#include "mainwindowfixture.h"
#include "testhelpers.h"
#include "ui/app/filechangewatcher.h"
#include "ui/app/mainwindow.h"
#include "core/projects/costledger.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/pageeditor.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/tracker/timetracker.h"
#include "ui/topics/linenumberedit.h"
#include "ui/topics/listsworkspace.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestSectionsFollowDisk : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<MainWindow> m_form;

    QString root() const { return m_tmp->path() + QLatin1Char('/'); }
    ProjectsSection *projects() const { return m_form->projectsSection(); }
    PageEditor *page(const QString &name) const
    {
        for (PageEditor *editor : projects()->notebook()->pageEditors())
            if (editor->pageName() == name)
                return editor;
        return nullptr;
    }
    void openProject(const QString &name)
    {
        QListWidget *list = departmentList(projects());
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->text().trimmed() == name)
                list->setCurrentRow(row);
        QCOMPARE(page(ProjectPages::kToDoPage)->ownerName, name);
    }
    QString selectedProject() const
    {
        const QList<QListWidgetItem *> selected = departmentList(projects())->selectedItems();
        return selected.isEmpty() ? QString() : selected.first()->text().trimmed();
    }
    static QStringList listed(QListWidget *list)
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts.append(list->item(row)->text());
        return texts;
    }
    // What another program does, then the watcher's look at once.
    void changeElsewhere(const QString &path, const QByteArray &bytes)
    {
        writeFileBytes(path, bytes);
        m_form->fileChangeWatcher()->checkNow();
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        writeFileBytes(root() + "Config/departments.txt", "[Home]\r\n   Garden\r\n   Kitchen\r\n");
        writeFileBytes(root() + "Projects/Garden/Projects.txt", "dig the beds");
        writeFileBytes(root() + "Projects/Garden/Done.txt", "bought seeds");
        m_fakes = std::make_unique<FakeServices>();
        m_fakes->shell.documents = root() + "Documents";
        m_form = std::make_unique<MainWindow>(m_fakes->services(), StartOptions{root(), QStringLiteral("45296")});
        m_form->runStartup();
        m_form->showProjects();
    }
    void cleanup()
    {
        m_form.reset();
        m_fakes.reset();
        m_tmp.reset();
    }

    void projectPagesFollowTheirFiles()
    {
        openProject("Garden");
        PageEditor *todo = page(ProjectPages::kToDoPage);
        PageEditor *done = page(ProjectPages::kDonePage);
        QCOMPARE(todo->pageText(), QString("dig the beds"));

        // Not edited here: the new text is shown, nothing is written.
        changeElsewhere(root() + "Projects/Garden/Projects.txt", "dig the beds\r\nwater the roses");
        QCOMPARE(todo->pageText(), QString("dig the beds\nwater the roses"));
        QVERIFY(!todo->isEdited());

        // Edited here: the text typed stays, and the save keeps both.
        done->moveCursor(QTextCursor::End);
        QTest::keyClicks(done, " and bulbs");
        changeElsewhere(root() + "Projects/Garden/Done.txt", "bought seeds and a hose");
        QCOMPARE(done->pageText(), QString("bought seeds and bulbs"));
        QStringList errors;
        QVERIFY(projects()->saveEdited(&errors));
        QCOMPARE(fileBytes(root() + "Projects/Garden/Done.txt"), QByteArray("bought seeds and bulbs"));
        QCOMPARE(fileBytes(root() + "Projects/Garden/Done (conflict 2024-01-10 0930).txt"),
                 QByteArray("bought seeds and a hose"));
        QCOMPARE(fileBytes(root() + "Projects/Garden/Projects.txt"), QByteArray("dig the beds\r\nwater the roses"));
        QTRY_COMPARE(m_fakes->dialogs.messages.size(), 1);
        QVERIFY2(m_fakes->dialogs.messages.first().contains("Done (conflict 2024-01-10 0930).txt"),
                 qPrintable(m_fakes->dialogs.messages.first()));
        QVERIFY2(m_fakes->dialogs.errors.isEmpty(), qPrintable(m_fakes->dialogs.errors.join("|")));
    }

    void ledgerFollowsItsFile()
    {
        writeFileBytes(root() + "Projects/Garden/money.txt",
                       "\"Item name\",Date,Debit,Credit\r\nSeeds,\"Jan 5, 2024\",4.50,\r\n");
        openProject("Garden");
        CostLedger &ledger = projects()->ledger()->ledger();
        QCOMPARE(ledger.money().cell(0, 1), QString("Seeds"));
        changeElsewhere(root() + "Projects/Garden/money.txt",
                        "\"Item name\",Date,Debit,Credit\r\nSeeds,\"Jan 5, 2024\",4.50,\r\n"
                        "Hose,\"Jan 6, 2024\",19.90,\r\n");
        QCOMPARE(ledger.money().cell(0, 2), QString("Hose"));
        QVERIFY(!ledger.edited());
        QVERIFY(m_fakes->dialogs.errors.isEmpty());
    }

    void trackerNoteFollowsItsFile()
    {
        openProject("Garden");
        projects()->notebook()->setCurrentIndex(ProjectNotebook::TimeTab);
        TimeTracker *tracker = projects()->timeTracker();
        const QString note = tracker->shownNoteFile();
        QVERIFY2(note.startsWith(root() + "Projects/Garden/"), qPrintable(note));
        changeElsewhere(note, "slept well\r\nwoke at six");
        QCOMPARE(noteEdit(tracker)->toPlainText(), QString("slept well\nwoke at six"));

        // Edited here: kept, and saved beside the other version.
        noteEdit(tracker)->moveCursor(QTextCursor::End);
        QTest::keyClicks(noteEdit(tracker), " thirty");
        changeElsewhere(note, "slept badly");
        QCOMPARE(noteEdit(tracker)->toPlainText(), QString("slept well\nwoke at six thirty"));
        const Result saved = tracker->saveEdited();
        QVERIFY2(saved, qPrintable(saved.error));
        QCOMPARE(fileBytes(note), QByteArray("slept well\r\nwoke at six thirty"));
        const QString copy = note.chopped(4) + " (conflict 2024-01-10 0930).txt";
        QCOMPARE(fileBytes(copy), QByteArray("slept badly"));
    }

    void projectListIsReadAgainKeepingTheSelection()
    {
        openProject("Kitchen");
        changeElsewhere(root() + "Config/departments.txt", "[Home]\r\n   Attic\r\n   Garden\r\n   Kitchen\r\n");
        QCOMPARE(listed(departmentList(projects())), QStringList({"[Home]", "   Attic", "   Garden", "   Kitchen"}));
        QCOMPARE(selectedProject(), QString("Kitchen"));
        QCOMPARE(page(ProjectPages::kToDoPage)->ownerName, QString("Kitchen"));
        // The list read is the one on disk: closing does not write it back.
        QVERIFY(m_form->close());
        QCOMPARE(fileBytes(root() + "Config/departments.txt"),
                 QByteArray("[Home]\r\n   Attic\r\n   Garden\r\n   Kitchen\r\n"));
        QCOMPARE(QDir(root() + "Config").entryList({"departments*"}, QDir::Files), QStringList{"departments.txt"});
    }

    void topicsFollowTheirFiles()
    {
        m_form->showLists();
        ListsWorkspace *lists = m_form->listsWorkspace();
        const int row = int(lists->store().topics().indexOf("Bucket List"));
        QVERIFY(row >= 0);
        topicList(lists)->setCurrentRow(row);
        lists->openSelectedTopic();
        QCOMPARE(lists->currentTopic(), QString("Bucket List"));
        const QString file = lists->store().topicFileName("Bucket List", lists->store().setup().editors.first().name);

        // Not edited: shown as the other program left it.
        changeElsewhere(file, "see the aurora\r\nlearn to sail\r\n");
        QCOMPARE(child<LineNumberEdit>(lists, "todo")->toPlainText(), QString("see the aurora\nlearn to sail"));
        QVERIFY(!lists->hasUnsavedEdits());

        // The topic list changed elsewhere: read again, the open topic stays.
        const QString topicsFile = lists->store().setup().topicsFile;
        changeElsewhere(topicsFile, "Bucket List\r\nTrips\r\n");
        QCOMPARE(listed(topicList(lists)), QStringList({"Bucket List", "Trips"}));
        QCOMPARE(lists->currentTopic(), QString("Bucket List"));

        // Edited: kept, and the save keeps the other version too.
        child<LineNumberEdit>(lists, "todo")->moveCursor(QTextCursor::End);
        QTest::keyClick(child<LineNumberEdit>(lists, "todo"), Qt::Key_Return);
        QTest::keyClicks(child<LineNumberEdit>(lists, "todo"), "run a marathon");
        changeElsewhere(file, "see the aurora\r\nclimb a mountain\r\n");
        QVERIFY(child<LineNumberEdit>(lists, "todo")->toPlainText().endsWith("run a marathon"));
        QVERIFY(lists->saveEditedTopic());
        QCOMPARE(fileBytes(file), QByteArray("see the aurora\r\nlearn to sail\r\nrun a marathon\r\n"));
        const QString copy = QFileInfo(file).absolutePath() + "/" + QFileInfo(file).completeBaseName()
                             + " (conflict 2024-01-10 0930).txt";
        QCOMPARE(fileBytes(copy), QByteArray("see the aurora\r\nclimb a mountain\r\n"));
        QTRY_COMPARE(m_fakes->dialogs.messages.size(), 1);
    }
};

QTEST_MAIN(TestSectionsFollowDisk)
#include "tst_sectionsfollowdisk.moc"
