#include "core/datafolder/datafolder.h"
#include "fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

class TestDataFolder : public QObject
{
    Q_OBJECT

private:
    FakeClock clock;

    static void touch(const QString &path, const QByteArray &bytes = "x")
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private Q_SLOTS:
    void freshRootGetsFourteenFolders();
    void existingFoldersAndFilesUntouched();
    void examplePaths();
    void missingParentIsSkippedSilently();
    void documentsDirEndsWithSeparator();
    void documentsDirMissingGivesMessage();
    void shellOpenAndOpenFolderGoToTheShell();
    void deleteToTrash();
    void deleteMissingPathFails();
    void moveCopyRename();
    void unknownKindFails();
    void deleteFolderPlainFiles();
    void deleteFolderWithSubfolderStops();
    void deleteFolderMissing();
    void deleteFolderSkipsDotNames();
    void eraseFileReportsReason();
    void unfinishedWritesOfEarlierRunsRemoved();
    void unfinishedWritesScanIsQuickOnTenYears();
};

void TestDataFolder::freshRootGetsFourteenFolders()
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/data/";
    DataFolder dir(root, nullptr, clock);
    QStringList top = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QCOMPARE(top, QStringList({"Build", "Config", "DB", "Decision", "FTP", "Help", "Journal",
                               "Log", "Projects", "Report", "UserData"}));
    QVERIFY(QDir(root + "Projects/Summary").exists());
    QVERIFY(QDir(root + "Report/Images").exists());
    QVERIFY(!QDir(root + "Folders").exists());
    QVERIFY(!QDir(root + "Icons").exists());
    QVERIFY(!QDir(root + "Brand").exists());
}

void TestDataFolder::existingFoldersAndFilesUntouched()
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/";
    QDir(root).mkpath("DB");
    touch(root + "DB/Jan-05-2024.txt", "kept");
    DataFolder dir(root, nullptr, clock);
    QFile f(root + "DB/Jan-05-2024.txt");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("kept"));
}

void TestDataFolder::examplePaths()
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/Apps/Planner/";
    QDir().mkpath(root);
    DataFolder dir(root, nullptr, clock);
    QCOMPARE(dir.rootDir(), root);
    QCOMPARE(dir.dbDir(), root + "DB/");
    QCOMPARE(dir.configDir(), root + "Config/");
    QCOMPARE(dir.summaryDir(), root + "Projects/Summary/");
    QCOMPARE(dir.imagesDir(), root + "Report/Images/");
    QCOMPARE(dir.userDataDir(), root + "UserData/");
    QCOMPARE(dir.journalDir(), root + "Journal/");
    QCOMPARE(dir.decisionDir(), root + "Decision/");
    QCOMPARE(dir.foldersDir(), root + "Folders/");
    QVERIFY(dir.summaryDir().startsWith(dir.projectsDir()));
    QVERIFY(dir.imagesDir().startsWith(dir.reportDir()));
}

void TestDataFolder::missingParentIsSkippedSilently()
{
    QTemporaryDir tmp;
    // Two missing levels: the root is created one level only, so nothing is.
    const QString root = tmp.path() + "/a/b/";
    DataFolder dir(root, nullptr, clock);
    QVERIFY(!QDir(root).exists());
    QVERIFY(!QDir(tmp.path() + "/a").exists());
}

void TestDataFolder::documentsDirEndsWithSeparator()
{
    FakeShell shell;
    shell.documents = "/home/someone/Documents";
    QTemporaryDir tmp;
    DataFolder dir(tmp.path() + "/", &shell, clock);
    const Expected<QString> docs = dir.myDocumentsDir();
    QVERIFY(docs);
    QCOMPARE(docs.value, QString("/home/someone/Documents/"));
}

void TestDataFolder::documentsDirMissingGivesMessage()
{
    FakeShell shell;
    QTemporaryDir tmp;
    DataFolder dir(tmp.path() + "/", &shell, clock);
    const Expected<QString> docs = dir.myDocumentsDir();
    QVERIFY(!docs);
    QCOMPARE(docs.error, QString("Could not find MyDocuments folder location."));
}

void TestDataFolder::shellOpenAndOpenFolderGoToTheShell()
{
    FakeShell shell;
    QTemporaryDir tmp;
    DataFolder dir(tmp.path() + "/", &shell, clock);
    dir.shellOpen("https://example.org/");
    dir.openFolder(dir.userDataDir());
    QCOMPARE(shell.opened, QStringList({"https://example.org/"}));
    QCOMPARE(shell.openedFolders, QStringList({dir.userDataDir()}));
}

void TestDataFolder::deleteToTrash()
{
    FakeShell shell;
    QTemporaryDir tmp;
    shell.trashDir = tmp.path() + "/trash";
    QDir().mkpath(shell.trashDir);
    DataFolder dir(tmp.path() + "/", &shell, clock);
    touch(tmp.path() + "/gone.txt");
    QVERIFY(dir.shellFileOperation(tmp.path() + "/gone.txt", "", DataFolder::FO_DELETE, DataFolder::FOF_ALLOWUNDO));
    QVERIFY(!QFile::exists(tmp.path() + "/gone.txt"));
    QVERIFY(QFile::exists(shell.trashDir + "/gone.txt"));
    QCOMPARE(shell.trashed.size(), 1);

    // A refusal of the trash is a failure, not a success.
    shell.trashFails = true;
    touch(tmp.path() + "/kept.txt");
    const Result refused = dir.shellFileOperation(tmp.path() + "/kept.txt", "", DataFolder::FO_DELETE,
                                                  DataFolder::FOF_ALLOWUNDO);
    QVERIFY(!refused);
    QVERIFY(QFile::exists(tmp.path() + "/kept.txt"));
    QVERIFY(!refused.error.isEmpty());
}

void TestDataFolder::deleteMissingPathFails()
{
    FakeShell shell;
    QTemporaryDir tmp;
    DataFolder dir(tmp.path() + "/", &shell, clock);
    QVERIFY(!dir.shellFileOperation(tmp.path() + "/nothing.txt", "", DataFolder::FO_DELETE, DataFolder::FOF_ALLOWUNDO));
    QVERIFY(shell.trashed.isEmpty());
}

void TestDataFolder::moveCopyRename()
{
    QTemporaryDir tmp;
    const QString r = tmp.path() + "/";
    DataFolder dir(r, nullptr, clock);
    touch(r + "a.txt", "A");
    QVERIFY(dir.shellFileOperation(r + "a.txt", r + "b.txt", DataFolder::FO_COPY, 0));
    QVERIFY(QFile::exists(r + "a.txt") && QFile::exists(r + "b.txt"));
    // Nothing is overwritten.
    QVERIFY(!dir.shellFileOperation(r + "a.txt", r + "b.txt", DataFolder::FO_COPY, 0));
    QVERIFY(dir.shellFileOperation(r + "b.txt", r + "c.txt", DataFolder::FO_RENAME, 0));
    QVERIFY(!QFile::exists(r + "b.txt") && QFile::exists(r + "c.txt"));
    QVERIFY(dir.shellFileOperation(r + "c.txt", r + "DB/c.txt", DataFolder::FO_MOVE, 0));
    QVERIFY(QFile::exists(r + "DB/c.txt"));
    // Folders copy with their content.
    touch(r + "DB/d.txt");
    QVERIFY(dir.shellFileOperation(r + "DB", r + "DBcopy", DataFolder::FO_COPY, 0));
    QVERIFY(QFile::exists(r + "DBcopy/c.txt") && QFile::exists(r + "DBcopy/d.txt"));
    QVERIFY(dir.shellFileOperation(r + "DBcopy", "", DataFolder::FO_DELETE, 0));
    QVERIFY(!QDir(r + "DBcopy").exists());
}

void TestDataFolder::unknownKindFails()
{
    QTemporaryDir tmp;
    DataFolder dir(tmp.path() + "/", nullptr, clock);
    touch(tmp.path() + "/a.txt");
    QVERIFY(!dir.shellFileOperation(tmp.path() + "/a.txt", tmp.path() + "/b.txt", 7, 0));
    QVERIFY(QFile::exists(tmp.path() + "/a.txt"));
    QCOMPARE(DataFolder::progressTitle(7), QString());
    QCOMPARE(DataFolder::progressTitle(1), QString("Moving..."));
    QCOMPARE(DataFolder::progressTitle(2), QString("Copying..."));
    QCOMPARE(DataFolder::progressTitle(3), QString("Deleting..."));
    QCOMPARE(DataFolder::progressTitle(4), QString("Renaming..."));
}

void TestDataFolder::deleteFolderPlainFiles()
{
    QTemporaryDir tmp;
    DataFolder dir(tmp.path() + "/", nullptr, clock);
    const QString f = dir.projectsDir() + "Garden/";
    QDir().mkpath(f);
    touch(f + "todo.txt");
    touch(f + "money.txt");
    const Result deleted = dir.deleteFolder(f);
    QVERIFY2(deleted, qPrintable(deleted.error));
    QVERIFY(!QDir(f).exists());
}

void TestDataFolder::deleteFolderWithSubfolderStops()
{
    QTemporaryDir tmp;
    DataFolder dir(tmp.path() + "/", nullptr, clock);
    const QString f = dir.projectsDir() + "Garden/";
    QDir().mkpath(f + "Jan-2024");
    touch(f + "todo.txt");
    const Result stopped = dir.deleteFolder(f);
    QVERIFY(!stopped);
    QVERIFY(!stopped.error.isEmpty());
    QVERIFY(QDir(f).exists());
    QVERIFY(QDir(f + "Jan-2024").exists());
}

void TestDataFolder::deleteFolderMissing()
{
    QTemporaryDir tmp;
    DataFolder dir(tmp.path() + "/", nullptr, clock);
    const Result missing = dir.deleteFolder(dir.projectsDir() + "Nothing/");
    QVERIFY(!missing);
    QVERIFY(missing.error.contains("Nothing"));
}

void TestDataFolder::deleteFolderSkipsDotNames()
{
    QTemporaryDir tmp;
    DataFolder dir(tmp.path() + "/", nullptr, clock);
    const QString f = dir.projectsDir() + "Dots/";
    QDir().mkpath(f);
    touch(f + ".hidden");
    touch(f + "plain.txt");
    // The dot file is passed over, so the folder cannot be removed.
    QVERIFY(!dir.deleteFolder(f));
    QVERIFY(QFile::exists(f + ".hidden"));
    QVERIFY(!QFile::exists(f + "plain.txt"));
}

void TestDataFolder::eraseFileReportsReason()
{
    QTemporaryDir tmp;
    const Result missing = eraseFile(tmp.path() + "/missing.txt");
    QVERIFY(!missing);
    QVERIFY(missing.error.contains("missing.txt"));
    touch(tmp.path() + "/present.txt");
    QVERIFY(eraseFile(tmp.path() + "/present.txt"));
    QVERIFY(!QFile::exists(tmp.path() + "/present.txt"));
}

namespace {

// Dates a file an hour back, before this run started.
void makeOld(const QString &path)
{
    struct timespec times[2];
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= 3600;
    times[1] = times[0];
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0);
}

} // namespace

void TestDataFolder::unfinishedWritesOfEarlierRunsRemoved()
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/";
    DataFolder dir(root, nullptr, clock);
    QDir().mkpath(root + "Projects/Garden/2024-01");
    const QStringList leftovers = {"DB/Jan-07-2024.txt.qWbXzA", "Config/departments.txt.XyZabc",
                                   "Journal/Garden_Goals.txt.AbcDef", "Decision/Car_Pros.txt.mNoPQr",
                                   "Projects/Garden/money.txt.GhIjkL", "Projects/Garden/2024-01/time.txt.tUvWxY",
                                   "Projects/Summary/Projects.txt.ZzYyXx", "Projects/Garden/DedoDurid.html.PpQqRr"};
    const QStringList kept = {
        "DB/Jan-07-2024.txt",            // the file itself
        "DB/notes.txt.backup",           // a name of one case: a person's
        "DB/NOTES.txt.BACKUP",           //
        "Projects/Garden/plan.odt.AbCdEf", // not a kind this program writes
        "DB/Jan-08-2024.txt.AbCdE",      // five letters
        "DB/Jan-09-2024.txt.AbC1Ef",     // a digit
        "x.txt.AbCdEf",                  // the data folder itself is not searched
        "UserData/x.txt.AbCdEf",         // nor folders the program does not write
    };
    for (const QString &name : leftovers + kept) {
        touch(root + name);
        makeOld(root + name);
    }
    // This run's own writes may be under way: a fresh one stays.
    touch(root + "DB/Jan-10-2024.txt.FrEsHa");
    // Links and folders are never removed.
    QVERIFY(QFile::link(root + "DB/Jan-07-2024.txt", root + "DB/link.txt.LiNkSa"));
    QVERIFY(QDir().mkdir(root + "DB/folder.txt.FoLdEr"));

    QCOMPARE(dir.removeUnfinishedWrites(), leftovers.size());
    for (const QString &name : leftovers)
        QVERIFY2(!QFileInfo::exists(root + name), qPrintable(name));
    for (const QString &name : kept)
        QVERIFY2(QFileInfo::exists(root + name), qPrintable(name));
    QVERIFY(QFileInfo::exists(root + "DB/Jan-10-2024.txt.FrEsHa"));
    QVERIFY(QFileInfo(root + "DB/link.txt.LiNkSa").isSymLink());
    QVERIFY(QFileInfo(root + "DB/folder.txt.FoLdEr").isDir());
}

void TestDataFolder::unfinishedWritesScanIsQuickOnTenYears()
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/";
    DataFolder dir(root, nullptr, clock);
    QDate day(2015, 1, 1);
    for (int i = 0; i < 3650; ++i, day = day.addDays(1))
        touch(root + "DB/" + QLocale::c().toString(day, "MMM-dd-yyyy") + ".txt");
    for (int p = 0; p < 20; ++p) {
        const QString folder = root + QStringLiteral("Projects/Project %1/").arg(p);
        QDir().mkpath(folder);
        for (const char *page : {"Projects", "Done", "OnHold", "BuyItem", "SomeDay", "Links", "Actions", "money"})
            touch(folder + page + ".txt");
        for (int m = 1; m <= 12; ++m) {
            QDir().mkpath(folder + QStringLiteral("2024-%1").arg(m));
            touch(folder + QStringLiteral("2024-%1/time.txt").arg(m));
        }
    }
    touch(root + "DB/Mar-03-2020.txt.AbCdEf");
    makeOld(root + "DB/Mar-03-2020.txt.AbCdEf");

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(dir.removeUnfinishedWrites(), 1);
    const qint64 ms = clock.elapsed();
    qInfo("clean-up of unfinished writes over 3,650 notes and 20 projects: %lld ms", ms);
    QVERIFY2(ms < 500, qPrintable(QString::number(ms)));
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
