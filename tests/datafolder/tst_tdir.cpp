#include "datafolder/tdir.h"
#include "fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestTDir : public QObject
{
    Q_OBJECT

private:
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
};

void TestTDir::freshRootGetsFourteenFolders()
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/data/";
    TDir dir(root, nullptr);
    QStringList top = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QCOMPARE(top, QStringList({"Build", "Config", "DB", "Decision", "FTP", "Help", "Journal",
                               "Log", "Projects", "Report", "UserData"}));
    QVERIFY(QDir(root + "Projects/Summary").exists());
    QVERIFY(QDir(root + "Report/Images").exists());
    QVERIFY(!QDir(root + "Folders").exists());
    QVERIFY(!QDir(root + "Icons").exists());
    QVERIFY(!QDir(root + "Brand").exists());
}

void TestTDir::existingFoldersAndFilesUntouched()
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/";
    QDir(root).mkpath("DB");
    touch(root + "DB/Jan-05-2024.txt", "kept");
    TDir dir(root, nullptr);
    QFile f(root + "DB/Jan-05-2024.txt");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("kept"));
}

void TestTDir::examplePaths()
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/Apps/Planner/";
    QDir().mkpath(root);
    TDir dir(root, nullptr);
    QCOMPARE(dir.RootDir, root);
    QCOMPARE(dir.DBDir, root + "DB/");
    QCOMPARE(dir.ConfigDir, root + "Config/");
    QCOMPARE(dir.SummaryDir, root + "Projects/Summary/");
    QCOMPARE(dir.ImagesDir, root + "Report/Images/");
    QCOMPARE(dir.UserDataDir, root + "UserData/");
    QCOMPARE(dir.JournalDir, root + "Journal/");
    QCOMPARE(dir.DecisionDir, root + "Decision/");
    QCOMPARE(dir.FoldersDir, root + "Folders/");
    QVERIFY(dir.SummaryDir.startsWith(dir.ProjectsDir));
    QVERIFY(dir.ImagesDir.startsWith(dir.ReportDir));
}

void TestTDir::missingParentIsSkippedSilently()
{
    QTemporaryDir tmp;
    // Two missing levels: the root is created one level only, so nothing is.
    const QString root = tmp.path() + "/a/b/";
    TDir dir(root, nullptr);
    QVERIFY(!QDir(root).exists());
    QVERIFY(!QDir(tmp.path() + "/a").exists());
}

void TestTDir::documentsDirEndsWithSeparator()
{
    FakeShell shell;
    shell.documents = "/home/someone/Documents";
    QTemporaryDir tmp;
    TDir dir(tmp.path() + "/", &shell);
    QString docs, error;
    QVERIFY(dir.GetMyDocumentsDir(&docs, &error));
    QCOMPARE(docs, QString("/home/someone/Documents/"));
}

void TestTDir::documentsDirMissingGivesMessage()
{
    FakeShell shell;
    QTemporaryDir tmp;
    TDir dir(tmp.path() + "/", &shell);
    QString docs, error;
    QVERIFY(!dir.GetMyDocumentsDir(&docs, &error));
    QCOMPARE(error, QString("Could not find MyDocuments folder location."));
}

void TestTDir::shellOpenAndOpenFolderGoToTheShell()
{
    FakeShell shell;
    QTemporaryDir tmp;
    TDir dir(tmp.path() + "/", &shell);
    dir.ShellOpen("https://example.org/");
    dir.OpenFolder(dir.UserDataDir);
    QCOMPARE(shell.opened, QStringList({"https://example.org/"}));
    QCOMPARE(shell.openedFolders, QStringList({dir.UserDataDir}));
}

void TestTDir::deleteToTrash()
{
    FakeShell shell;
    QTemporaryDir tmp;
    shell.trashDir = tmp.path() + "/trash";
    QDir().mkpath(shell.trashDir);
    TDir dir(tmp.path() + "/", &shell);
    touch(tmp.path() + "/gone.txt");
    QVERIFY(dir.ShellFileOperation(tmp.path() + "/gone.txt", "", TDir::FO_DELETE, TDir::FOF_ALLOWUNDO));
    QVERIFY(!QFile::exists(tmp.path() + "/gone.txt"));
    QVERIFY(QFile::exists(shell.trashDir + "/gone.txt"));
    QCOMPARE(shell.trashed.size(), 1);

    // A refusal of the trash is a failure, not a success.
    shell.trashFails = true;
    touch(tmp.path() + "/kept.txt");
    QString error;
    QVERIFY(!dir.ShellFileOperation(tmp.path() + "/kept.txt", "", TDir::FO_DELETE,
                                    TDir::FOF_ALLOWUNDO, &error));
    QVERIFY(QFile::exists(tmp.path() + "/kept.txt"));
    QVERIFY(!error.isEmpty());
}

void TestTDir::deleteMissingPathFails()
{
    FakeShell shell;
    QTemporaryDir tmp;
    TDir dir(tmp.path() + "/", &shell);
    QVERIFY(!dir.ShellFileOperation(tmp.path() + "/nothing.txt", "", TDir::FO_DELETE, TDir::FOF_ALLOWUNDO));
    QVERIFY(shell.trashed.isEmpty());
}

void TestTDir::moveCopyRename()
{
    QTemporaryDir tmp;
    const QString r = tmp.path() + "/";
    TDir dir(r, nullptr);
    touch(r + "a.txt", "A");
    QVERIFY(dir.ShellFileOperation(r + "a.txt", r + "b.txt", TDir::FO_COPY, 0));
    QVERIFY(QFile::exists(r + "a.txt") && QFile::exists(r + "b.txt"));
    // Nothing is overwritten.
    QVERIFY(!dir.ShellFileOperation(r + "a.txt", r + "b.txt", TDir::FO_COPY, 0));
    QVERIFY(dir.ShellFileOperation(r + "b.txt", r + "c.txt", TDir::FO_RENAME, 0));
    QVERIFY(!QFile::exists(r + "b.txt") && QFile::exists(r + "c.txt"));
    QVERIFY(dir.ShellFileOperation(r + "c.txt", r + "DB/c.txt", TDir::FO_MOVE, 0));
    QVERIFY(QFile::exists(r + "DB/c.txt"));
    // Folders copy with their content.
    touch(r + "DB/d.txt");
    QVERIFY(dir.ShellFileOperation(r + "DB", r + "DBcopy", TDir::FO_COPY, 0));
    QVERIFY(QFile::exists(r + "DBcopy/c.txt") && QFile::exists(r + "DBcopy/d.txt"));
    QVERIFY(dir.ShellFileOperation(r + "DBcopy", "", TDir::FO_DELETE, 0));
    QVERIFY(!QDir(r + "DBcopy").exists());
}

void TestTDir::unknownKindFails()
{
    QTemporaryDir tmp;
    TDir dir(tmp.path() + "/", nullptr);
    touch(tmp.path() + "/a.txt");
    QVERIFY(!dir.ShellFileOperation(tmp.path() + "/a.txt", tmp.path() + "/b.txt", 7, 0));
    QVERIFY(QFile::exists(tmp.path() + "/a.txt"));
    QCOMPARE(TDir::ProgressTitle(7), QString());
    QCOMPARE(TDir::ProgressTitle(1), QString("Moving..."));
    QCOMPARE(TDir::ProgressTitle(2), QString("Copying..."));
    QCOMPARE(TDir::ProgressTitle(3), QString("Deleting..."));
    QCOMPARE(TDir::ProgressTitle(4), QString("Renaming..."));
}

void TestTDir::deleteFolderPlainFiles()
{
    QTemporaryDir tmp;
    TDir dir(tmp.path() + "/", nullptr);
    const QString f = dir.ProjectsDir + "Garden/";
    QDir().mkpath(f);
    touch(f + "todo.txt");
    touch(f + "money.txt");
    QString error;
    QVERIFY2(dir.DeleteFolder(f, &error), qPrintable(error));
    QVERIFY(!QDir(f).exists());
}

void TestTDir::deleteFolderWithSubfolderStops()
{
    QTemporaryDir tmp;
    TDir dir(tmp.path() + "/", nullptr);
    const QString f = dir.ProjectsDir + "Garden/";
    QDir().mkpath(f + "Jan-2024");
    touch(f + "todo.txt");
    QString error;
    QVERIFY(!dir.DeleteFolder(f, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QDir(f).exists());
    QVERIFY(QDir(f + "Jan-2024").exists());
}

void TestTDir::deleteFolderMissing()
{
    QTemporaryDir tmp;
    TDir dir(tmp.path() + "/", nullptr);
    QString error;
    QVERIFY(!dir.DeleteFolder(dir.ProjectsDir + "Nothing/", &error));
    QVERIFY(error.contains("Nothing"));
}

void TestTDir::deleteFolderSkipsDotNames()
{
    QTemporaryDir tmp;
    TDir dir(tmp.path() + "/", nullptr);
    const QString f = dir.ProjectsDir + "Dots/";
    QDir().mkpath(f);
    touch(f + ".hidden");
    touch(f + "plain.txt");
    QString error;
    // The dot file is passed over, so the folder cannot be removed.
    QVERIFY(!dir.DeleteFolder(f, &error));
    QVERIFY(QFile::exists(f + ".hidden"));
    QVERIFY(!QFile::exists(f + "plain.txt"));
}

void TestTDir::eraseFileReportsReason()
{
    QTemporaryDir tmp;
    QString error;
    QVERIFY(!EraseFile(tmp.path() + "/missing.txt", &error));
    QVERIFY(error.contains("missing.txt"));
    touch(tmp.path() + "/present.txt");
    QVERIFY(EraseFile(tmp.path() + "/present.txt", &error));
    QVERIFY(!QFile::exists(tmp.path() + "/present.txt"));
}

QTEST_GUILESS_MAIN(TestTDir)
#include "tst_tdir.moc"
