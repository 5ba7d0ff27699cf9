#include "core/calendar/daynotes.h"
#include "core/app/commandline.h"
#include "core/snapshots/backuplocation.h"
#include "core/snapshots/snapshotcatalog.h"
#include "core/snapshots/snapshotrestore.h"
#include "core/snapshots/snapshotwriter.h"
#include "mainwindowfixture.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/notememo.h"
#include "ui/projects/pageeditor.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "ui/snapshots/snapshotkeeper.h"
#include "ui/snapshots/snapshotsdialog.h"

#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

// The snapshots in the running window: one a day at start-up, File ▸
// "Snapshots…" listing them, and restoring a deleted project or a day note
// from there, with the window showing what was restored.
class TestSnapshotsWindow : public QObject
{
    Q_OBJECT

private:
    static QDateTime dayOne() { return QDateTime(QDate(2026, 12, 9), QTime(9, 0)); }
    static QDateTime dayTwo() { return QDateTime(QDate(2026, 12, 10), QTime(9, 0)); }

    static void seedGarden(const QString &root)
    {
        writeFileBytes(root + QStringLiteral("Config/departments.txt"), "Home\r\nGarden\r\nCar\r\n");
        writeFileBytes(root + QStringLiteral("Projects/Garden/Projects.txt"), "Dig the beds");
    }

    static int rowOf(QListWidget *list, const QString &text)
    {
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().trimmed() == text)
                return row;
        }
        return -1;
    }

    static QAction *fileMenuAction(MainWindow *form, const char *name)
    {
        return form->menuBar()->findChild<QAction *>(QString::fromLatin1(name));
    }

    // Selects the snapshot at the row and waits until its files are read.
    static void selectSnapshot(QDialog &dialog, int row)
    {
        auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("snapshotList"));
        QVERIFY(list);
        QTRY_VERIFY(list->topLevelItemCount() > row && list->topLevelItem(row)->text(2) != QStringLiteral("…"));
        list->setCurrentItem(list->topLevelItem(row));
        QTRY_VERIFY(dialog.findChild<QListWidget *>(QStringLiteral("snapshotFiles"))->count() > 0);
    }

    static void selectFile(QDialog &dialog, const QString &name)
    {
        auto *files = dialog.findChild<QListWidget *>(QStringLiteral("snapshotFiles"));
        const QList<QListWidgetItem *> found = files->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        files->setCurrentItem(found.first());
    }

    static void waitForKeeper(MainWindow *form)
    {
        QTRY_VERIFY_WITH_TIMEOUT(!form->snapshots()->busy(), 20000);
    }

private Q_SLOTS:
    // Started on two days: two snapshots, one each, listed with their
    // files; a deleted project comes back with "Restore everything…", in
    // the project list and on its page, and the state before is kept.
    void twoDaysThenRestoreADeletedProject()
    {
        MainWindowFixture f(QString(), dayOne());
        seedGarden(f.root());
        f.start();
        QVERIFY(fileMenuAction(f.form(), "Snapshots1"));
        QAction *status = fileMenuAction(f.form(), "SnapshotStatus1");
        QCOMPARE(status->text(), QStringLiteral("No snapshot yet"));
        f.form()->takeDailySnapshot();
        waitForKeeper(f.form());
        QVERIFY(status->text().startsWith(QLatin1String("Last snapshot: ")));
        // Once a day: a second start that day takes none.
        f.form()->takeDailySnapshot();
        QVERIFY(!f.form()->snapshots()->busy());

        f.fakes.clock.set(dayTwo());
        f.restart();
        f.form()->takeDailySnapshot();
        waitForKeeper(f.form());
        const QList<SnapshotFile> snapshots = SnapshotCatalog::list(f.root() + QStringLiteral("Backups"));
        QCOMPARE(snapshots.size(), 2);
        QCOMPARE(snapshots.at(1).taken.date(), dayOne().date());

        // Delete "Garden".
        ProjectsSection *projects = f.form()->projectsSection();
        f.form()->showProjects();
        departmentList(projects)->setCurrentRow(rowOf(departmentList(projects), QStringLiteral("Garden")));
        f.fakes.dialogs.answers.enqueue(true);
        deleteButton(projects)->click();
        QVERIFY(!QFileInfo::exists(f.root() + QStringLiteral("Projects/Garden")));
        QCOMPARE(rowOf(departmentList(projects), QStringLiteral("Garden")), -1);

        bool driven = false;
        f.fakes.dialogs.formAnswer = [&](QDialog &dialog) {
            [&] {
                auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("snapshotList"));
                QCOMPARE(list->topLevelItemCount(), 2);
                selectSnapshot(dialog, 1);
                QVERIFY(list->topLevelItem(1)->text(2).toInt() >= 2);
                QVERIFY(dialog.findChild<QListWidget *>(QStringLiteral("snapshotFiles"))
                            ->findItems(QStringLiteral("Projects/Garden/Projects.txt"), Qt::MatchExactly)
                            .size() == 1);
                f.fakes.dialogs.answers.enqueue(true);
                dialog.findChild<QPushButton *>(QStringLiteral("restoreEverythingButton"))->click();
                QVERIFY(f.fakes.dialogs.questions.last().startsWith(QLatin1String("Replace everything in the data folder")));
                waitForKeeper(f.form());
                driven = true;
            }();
            return int(QDialog::Accepted);
        };
        fileMenuAction(f.form(), "Snapshots1")->trigger();
        QVERIFY(driven);
        QCOMPARE(f.fakes.dialogs.formsShown.last(), QStringLiteral("Snapshots"));
        QVERIFY2(f.fakes.dialogs.errors.isEmpty(), qPrintable(f.fakes.dialogs.errors.join(QLatin1Char('\n'))));
        QVERIFY(f.fakes.dialogs.messages.last().startsWith(QLatin1String("The data folder holds the snapshot of")));

        QCOMPARE(fileBytes(f.root() + QStringLiteral("Projects/Garden/Projects.txt")), QByteArray("Dig the beds"));
        // The window read everything again: the project is listed and opens.
        projects = f.form()->projectsSection();
        const int garden = rowOf(departmentList(projects), QStringLiteral("Garden"));
        QVERIFY(garden >= 0);
        departmentList(projects)->setCurrentRow(garden);
        QCOMPARE(projects->notebook()->pageEditor(ProjectNotebook::ToDoTab)->pageText(), QStringLiteral("Dig the beds"));
        QVERIFY(f.form()->focusWidget());
        // Three snapshots now: the state without Garden was kept first.
        const QList<SnapshotFile> after = SnapshotCatalog::list(f.root() + QStringLiteral("Backups"));
        QCOMPARE(after.size(), 3);
        const Expected<QByteArray> listKept = SnapshotCatalog::readFile(after.first().path, QStringLiteral("Config/departments.txt"));
        QVERIFY(listKept.ok);
        QVERIFY(!listKept.value.contains("Garden"));
        // Closing writes nothing stale over the restored files.
        f.form()->close();
        QVERIFY(fileBytes(f.root() + QStringLiteral("Config/departments.txt")).contains("Garden"));
    }

    // One day note, typed over and not yet saved: "Restore file…" saves the
    // edit first (kept in the snapshot taken before), puts the old text over
    // the note after the question, and the week shows it.
    void restoreOneDayNoteOverTheShownOne()
    {
        MainWindowFixture f(QString(), dayTwo());
        const QString note = QStringLiteral("DB/") + DayNotes::noteName(f.fakes.clock.todayDayNumber());
        writeFileBytes(f.root() + note, "Call the plumber");
        f.start();
        QVERIFY(f.form()->snapshots()->takeSnapshotNow());
        waitForKeeper(f.form());

        DayNoteColumn *today = dayColumn(f.form(), 1);
        QCOMPARE(today->text(), QStringLiteral("Call the plumber"));
        noteEdit(today)->setFocus();
        noteEdit(today)->selectAll();
        QTest::keyClicks(noteEdit(today), QStringLiteral("Gone"));

        f.fakes.clock.set(dayTwo().addSecs(3600));
        f.fakes.dialogs.formAnswer = [&](QDialog &dialog) {
            [&] {
                selectSnapshot(dialog, 0);
                selectFile(dialog, note);
                f.fakes.dialogs.answers.enqueue(true); // over the current file
                dialog.findChild<QPushButton *>(QStringLiteral("restoreFileButton"))->click();
                QVERIFY(f.fakes.dialogs.questions.last().contains(QLatin1String("over the current file")));
                waitForKeeper(f.form());
            }();
            return int(QDialog::Accepted);
        };
        fileMenuAction(f.form(), "Snapshots1")->trigger();
        QVERIFY2(f.fakes.dialogs.errors.isEmpty(), qPrintable(f.fakes.dialogs.errors.join(QLatin1Char('\n'))));
        QCOMPARE(fileBytes(f.root() + note), QByteArray("Call the plumber"));
        QCOMPARE(dayColumn(f.form(), 1)->text(), QStringLiteral("Call the plumber"));
        // The typed text was saved and kept in the snapshot taken first.
        const QList<SnapshotFile> snapshots = SnapshotCatalog::list(f.root() + QStringLiteral("Backups"));
        QCOMPARE(snapshots.size(), 2);
        const Expected<QByteArray> kept = SnapshotCatalog::readFile(snapshots.first().path, note);
        QVERIFY(kept.ok);
        QCOMPARE(kept.value, QByteArray("Gone"));
    }

    // Answering No puts the copy beside the note; the note stays.
    void restoreOneDayNoteBeside()
    {
        MainWindowFixture f(QString(), dayTwo());
        const QString note = QStringLiteral("DB/") + DayNotes::noteName(f.fakes.clock.todayDayNumber());
        writeFileBytes(f.root() + note, "Old");
        f.start();
        QVERIFY(f.form()->snapshots()->takeSnapshotNow());
        waitForKeeper(f.form());
        writeFileBytes(f.root() + note, "New");
        f.fakes.dialogs.formAnswer = [&](QDialog &dialog) {
            [&] {
                selectSnapshot(dialog, 0);
                selectFile(dialog, note);
                f.fakes.dialogs.answers.enqueue(false);
                dialog.findChild<QPushButton *>(QStringLiteral("restoreFileButton"))->click();
                waitForKeeper(f.form());
            }();
            return int(QDialog::Accepted);
        };
        fileMenuAction(f.form(), "Snapshots1")->trigger();
        QCOMPARE(fileBytes(f.root() + note), QByteArray("New"));
        const QString beside = SnapshotRestore::besideName(f.root() + note, dayTwo().date());
        // besideName gives the next free name; the copy took the first one.
        const QString copy = f.root() + QStringLiteral("DB/") + QFileInfo(note).completeBaseName()
                             + QStringLiteral(" (restored 2026-12-10).txt");
        QCOMPARE(fileBytes(copy), QByteArray("Old"));
        QVERIFY(beside != copy);
        QVERIFY(f.fakes.dialogs.messages.last().contains(QLatin1String("restored")));
    }

    // A note that is gone comes back in its place without a question, and
    // with nothing to lose no snapshot is taken first.
    void restoreAMissingNoteAsksNothing()
    {
        MainWindowFixture f(QString(), dayTwo());
        const QString note = QStringLiteral("DB/") + DayNotes::noteName(f.fakes.clock.todayDayNumber() + 1);
        writeFileBytes(f.root() + note, "Tomorrow's note");
        f.start();
        QVERIFY(f.form()->snapshots()->takeSnapshotNow());
        waitForKeeper(f.form());
        QVERIFY(QFile::remove(f.root() + note));
        f.fakes.dialogs.formAnswer = [&](QDialog &dialog) {
            [&] {
                selectSnapshot(dialog, 0);
                selectFile(dialog, note);
                dialog.findChild<QPushButton *>(QStringLiteral("restoreFileButton"))->click();
                waitForKeeper(f.form());
            }();
            return int(QDialog::Accepted);
        };
        fileMenuAction(f.form(), "Snapshots1")->trigger();
        QVERIFY(f.fakes.dialogs.questions.isEmpty());
        QCOMPARE(fileBytes(f.root() + note), QByteArray("Tomorrow's note"));
        QCOMPARE(SnapshotCatalog::list(f.root() + QStringLiteral("Backups")).size(), 1);
        QCOMPARE(dayColumn(f.form(), 2)->text(), QStringLiteral("Tomorrow's note"));
    }

    // A restore of everything cut off half way by a crash is finished by
    // the next start before anything is read: the week shows the snapshot's
    // note, and no folder is missing.
    void interruptedRestoreIsFinishedAtStart()
    {
        MainWindowFixture f(QString(), dayTwo());
        const QString note = QStringLiteral("DB/") + DayNotes::noteName(f.fakes.clock.todayDayNumber());
        writeFileBytes(f.root() + note, "From the snapshot");
        writeFileBytes(f.root() + QStringLiteral("Projects/Garden/Projects.txt"), "Dig");
        const Expected<SnapshotSummary> snapshot =
            SnapshotWriter(f.root(), f.root() + QStringLiteral("Backups")).write(dayOne());
        QVERIFY(snapshot.ok);
        writeFileBytes(f.root() + note, "Newer");
        const Result cut = SnapshotRestore::restoreEverything(snapshot.value.path, f.root(), f.root() + QStringLiteral("Backups"),
                                                              [](const QString &step) { return step != QLatin1String("moved out DB"); });
        QVERIFY(!cut.ok);
        QVERIFY(!QFileInfo::exists(f.root() + QStringLiteral("DB")));
        f.start();
        QCOMPARE(dayColumn(f.form(), 1)->text(), QStringLiteral("From the snapshot"));
        QVERIFY(!QFileInfo::exists(f.root() + SnapshotWriter::restoreStagingName()));
        QVERIFY(f.fakes.dialogs.errors.isEmpty());
    }

    // A failed snapshot is shown, not hidden: a backups folder that cannot
    // be made (a file is in its way).
    void failedSnapshotShowsTheError()
    {
        MainWindowFixture f(QString(), dayTwo());
        writeFileBytes(f.root() + QStringLiteral("Backups"), "a file, not a folder");
        f.start();
        f.form()->takeDailySnapshot();
        waitForKeeper(f.form());
        QAction *status = fileMenuAction(f.form(), "SnapshotStatus1");
        QVERIFY2(status->text().startsWith(QLatin1String("The last snapshot failed: ")), qPrintable(status->text()));
        QVERIFY(status->text().contains(QLatin1String("Backups")));
        QCOMPARE(f.fakes.dialogs.errors.size(), 1);
        QVERIFY(f.fakes.dialogs.errors.first().startsWith(QLatin1String("No snapshot of the data folder could be taken today.")));
        // The hourly look tries again, and says nothing more that day.
        f.form()->takeDailySnapshot();
        waitForKeeper(f.form());
        QCOMPARE(f.fakes.dialogs.errors.size(), 1);
        // "Snapshot now" failing says so in the Snapshots window only once.
        f.fakes.dialogs.formAnswer = [&](QDialog &dialog) {
            [&] {
                dialog.findChild<QPushButton *>(QStringLiteral("snapshotNowButton"))->click();
                waitForKeeper(f.form());
            }();
            return int(QDialog::Accepted);
        };
        fileMenuAction(f.form(), "Snapshots1")->trigger();
        QCOMPARE(f.fakes.dialogs.errors.size(), 2);
    }

    // "Choose backup folder…" moves the snapshots elsewhere from then on:
    // the choice is stored with the data, "Snapshot now" writes there and
    // the list shows that folder; --backup-dir wins over the choice.
    void chosenBackupFolderIsUsed()
    {
        QTemporaryDir elsewhere;
        MainWindowFixture f(QString(), dayTwo());
        f.start();
        f.fakes.dialogs.formAnswer = [&](QDialog &dialog) {
            if (dialog.objectName() == QLatin1String("chooseBackupFolderDialog")) {
                static_cast<QFileDialog &>(dialog).selectFile(elsewhere.path());
                return int(QDialog::Accepted);
            }
            [&] {
                dialog.findChild<QPushButton *>(QStringLiteral("chooseBackupFolderButton"))->click();
                QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("backupFolder"))->text(), elsewhere.path() + QLatin1Char('/'));
                dialog.findChild<QPushButton *>(QStringLiteral("snapshotNowButton"))->click();
                waitForKeeper(f.form());
                QCOMPARE(dialog.findChild<QTreeWidget *>(QStringLiteral("snapshotList"))->topLevelItemCount(), 1);
            }();
            return int(QDialog::Accepted);
        };
        fileMenuAction(f.form(), "Snapshots1")->trigger();
        QCOMPARE(SnapshotCatalog::list(elsewhere.path()).size(), 1);
        QVERIFY(!QFileInfo::exists(f.root() + QStringLiteral("Backups")));
        QCOMPARE(BackupLocation::resolve(f.root(), QString()), elsewhere.path() + QLatin1Char('/'));
        QCOMPARE(BackupLocation::resolve(f.root(), QStringLiteral("/mnt/disk/")), QStringLiteral("/mnt/disk/"));
        QCOMPARE(BackupLocation::resolve(f.root() + QStringLiteral("x/"), QString()), f.root() + QStringLiteral("x/Backups/"));
        // The data folder or one of its own folders cannot be chosen.
        for (const QString &wrong : {f.root(), f.root() + QStringLiteral("Projects")}) {
            const Result refused = f.form()->snapshots()->chooseBackupDir(wrong);
            QVERIFY(!refused.ok);
            QVERIFY(!refused.error.isEmpty());
        }
        QCOMPARE(f.form()->snapshots()->backupDir(), elsewhere.path() + QLatin1Char('/'));
    }

    // --backup-dir takes a value like --data-dir, leaves the day argument
    // alone, and fixes the folder: the window cannot choose another.
    void backupDirOnTheCommandLine()
    {
        CommandLine commandLine;
        QVERIFY(commandLine.parse({QStringLiteral("vellumark"), QStringLiteral("--backup-dir"), QStringLiteral("-b"),
                                   QStringLiteral("-5")}));
        QCOMPARE(commandLine.backupDir(), QStringLiteral("-b"));
        QCOMPARE(commandLine.dayArgument(), QStringLiteral("-5"));
        QVERIFY(!CommandLine().parse({QStringLiteral("vellumark"), QStringLiteral("--backup-dir")}));

        QTemporaryDir dir;
        FakeClock clock(dayTwo());
        SnapshotKeeper keeper(dir.path(), dir.path() + QStringLiteral("/elsewhere"), &clock);
        QVERIFY(keeper.backupDirFixed());
        QCOMPARE(keeper.backupDir(), dir.path() + QStringLiteral("/elsewhere/"));
        FakeDialogs dialogs;
        SnapshotsDialog dialog(&keeper, &dialogs);
        QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("chooseBackupFolderButton"))->isEnabled());
    }
};

QTEST_MAIN(TestSnapshotsWindow)
#include "tst_snapshotswindow.moc"
