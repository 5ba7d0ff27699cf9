#include "testhelpers.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "core/projects/documents.h"
#include "ui/projects/documentsbrowser.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {
void touch(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
}
} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    FakeServices m_fakes;
    std::unique_ptr<DataFolder> m_dir;
    QString docs() const { return m_tmp.path() + "/Documents/"; }

    // Selects the list entry of a file once the model has read the folder.
    bool select(DocumentsBrowser &list, const QString &name)
    {
        auto *model = static_cast<QFileSystemModel *>(child<QListView>(&list, "files")->model());
        const QString path = list.currentFolder() + name;
        if (!QTest::qWaitFor([&] { return model->index(path).isValid(); }, 5000))
            return false;
        const QModelIndex index = model->index(path);
        child<QListView>(&list, "files")->setCurrentIndex(index);
        return list.selectedPath() == path;
    }

private Q_SLOTS:
    void init();
    void newFileNumbering();
    void twentyFilesAndNoMore();
    void deleteRefusals();
    void folderForProjectNames();
    void linkLines();
    void listStartsOnDocumentsFolder();
    void switchCreatesProjectFolder();
    void unsafeNameKeepsList();
    void missingDocumentsLocation();
    void newFileGoesToRootWhileSubfolderShown();
    void deleteAsksThenTrashes();
    void deleteSaysWhyWhenTrashFails();
    void doubleClickOpensFileOrEntersFolder();
    void openThisFolderOpensDocumentsFolder();
    void modelIsSound();
};

void TestDocuments::init()
{
    m_fakes.shell = FakeShell();
    m_fakes.dialogs = FakeDialogs();
    QDir(docs()).removeRecursively();
    QDir().mkpath(docs());
    m_fakes.shell.documents = m_tmp.path() + "/Documents";
    m_fakes.shell.trashDir = m_tmp.path() + "/Trash";
    QDir().mkpath(m_fakes.shell.trashDir);
    m_dir = std::make_unique<DataFolder>(m_tmp.path() + "/data/", &m_fakes.shell, m_fakes.clock);
}

void TestDocuments::newFileNumbering()
{
    touch(docs() + "New File1.txt");
    touch(docs() + "New File2.txt");
    QCOMPARE(Documents::nextNewFileName(docs()), docs() + "New File3.txt");
    QFile::remove(docs() + "New File1.txt");
    QCOMPARE(Documents::nextNewFileName(docs()), docs() + "New File1.txt");
    QCOMPARE(Documents::newFileContent(), QByteArray(" \r\n"));
}

void TestDocuments::twentyFilesAndNoMore()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(list.switchTo("Garden"));
    for (int i = 0; i < 20; ++i)
        list.createNewFile();
    QCOMPARE(QDir(docs() + "Garden").entryList(QDir::Files).size(), 20);
    QCOMPARE(fileBytes(docs() + "Garden/New File20.txt"), QByteArray(" \r\n"));
    // The 21st is refused with a message; nothing is overwritten.
    QFile f(docs() + "Garden/New File7.txt");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("mine");
    f.close();
    list.createNewFile();
    QCOMPARE(QDir(docs() + "Garden").entryList(QDir::Files).size(), 20);
    QCOMPARE(fileBytes(docs() + "Garden/New File7.txt"), QByteArray("mine"));
    QCOMPARE(m_fakes.dialogs.messages.size(), 1);
    QVERIFY(m_fakes.dialogs.messages.first().contains("New File20.txt"));
}

void TestDocuments::deleteRefusals()
{
    QVERIFY(!Documents::mayDelete(""));
    QVERIFY(!Documents::mayDelete("Control Panel"));
    QVERIFY(!Documents::mayDelete("Recycle Bin"));
    QVERIFY(!Documents::mayDelete("/home/x/nethood/share"));
    QVERIFY(Documents::mayDelete("/home/x/NetHood/share")); // the test is case-sensitive
    QVERIFY(Documents::mayDelete("/home/x/Documents/Garden/plan.txt"));
}

void TestDocuments::folderForProjectNames()
{
    QCOMPARE(Documents::folderFor("/d/", "  Garden "), QString("/d/Garden/"));
    QCOMPARE(Documents::folderFor("/d/", "@Home"), QString("/d/@Home/"));
    QCOMPARE(Documents::folderFor("/d/", "   "), QString("/d/"));
    QCOMPARE(Documents::folderFor("/d/", ".."), QString());
    QCOMPARE(Documents::folderFor("/d/", "."), QString());
    QCOMPARE(Documents::folderFor("/d/", "a/b"), QString());
    QCOMPARE(Documents::folderFor("/d/", "a\\b"), QString());
    QCOMPARE(Documents::folderFor("/d/", QString("tab\there")), QString());
    QCOMPARE(Documents::folderFor("/d/", "..hidden trip"), QString("/d/..hidden trip/"));
}

void TestDocuments::linkLines()
{
    const QString text = "first\n   https://example.org/garden   \n\nthird line";
    QCOMPARE(Documents::linkAt(text, 1), QString("https://example.org/garden"));
    QCOMPARE(Documents::linkAt(text, 2), QString());
    QCOMPARE(Documents::linkAt(text, 3), QString("third line"));
    QCOMPARE(Documents::linkAt(text, 9), QString());
    QCOMPARE(Documents::linkAt(text, -1), QString());
}

void TestDocuments::listStartsOnDocumentsFolder()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QCOMPARE(list.root(), docs());
    QCOMPARE(list.currentFolder(), docs());
    QVERIFY(!child<QToolButton>(&list, "btnUp")->isEnabled());
}

void TestDocuments::switchCreatesProjectFolder()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(list.switchTo("Garden"));
    QVERIFY(QDir(docs() + "Garden").exists());
    QCOMPARE(list.root(), docs() + "Garden/");
    QVERIFY(list.switchTo("@Home"));
    QVERIFY(QDir(docs() + "@Home").exists());
}

void TestDocuments::unsafeNameKeepsList()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(list.switchTo("Garden"));
    QVERIFY(!list.switchTo(".."));
    QCOMPARE(list.root(), docs() + "Garden/");
    QCOMPARE(m_fakes.dialogs.errors.size(), 1);
    // Opening the folder still means Garden's.
    list.openShownFolder();
    QCOMPARE(m_fakes.shell.openedFolders, QStringList({docs() + "Garden/"}));
}

void TestDocuments::missingDocumentsLocation()
{
    m_fakes.shell.documents.clear();
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(!list.switchTo("Garden"));
    QCOMPARE(m_fakes.dialogs.errors, QStringList({"Could not find MyDocuments folder location."}));
    list.createNewFile(); // no root: nothing happens
    QVERIFY(m_fakes.shell.openedFolders.isEmpty());
}

void TestDocuments::newFileGoesToRootWhileSubfolderShown()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(list.switchTo("Garden"));
    QDir().mkpath(docs() + "Garden/Plans");
    list.showFolder(docs() + "Garden/Plans");
    QVERIFY(child<QToolButton>(&list, "btnUp")->isEnabled());
    list.createNewFile();
    QVERIFY(QFile::exists(docs() + "Garden/New File1.txt"));
    QVERIFY(!QFile::exists(docs() + "Garden/Plans/New File1.txt"));
    QCOMPARE(list.root(), docs() + "Garden/");
    child<QToolButton>(&list, "btnUp")->click();
    QCOMPARE(list.currentFolder(), docs() + "Garden/");
    QVERIFY(!child<QToolButton>(&list, "btnUp")->isEnabled());
    list.goUp(); // never above the root
    QCOMPARE(list.currentFolder(), docs() + "Garden/");
}

void TestDocuments::deleteAsksThenTrashes()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(list.switchTo("Garden"));
    touch(docs() + "Garden/old plan.txt");
    list.deleteSelected(); // nothing selected: nothing happens
    QVERIFY(m_fakes.dialogs.questions.isEmpty());
    QVERIFY(select(list, "old plan.txt"));

    m_fakes.dialogs.answers.enqueue(false);
    list.deleteSelected();
    QVERIFY(QFile::exists(docs() + "Garden/old plan.txt"));
    QVERIFY(m_fakes.dialogs.questions.first().contains("old plan.txt"));

    m_fakes.dialogs.answers.enqueue(true);
    list.deleteSelected();
    QVERIFY(!QFile::exists(docs() + "Garden/old plan.txt"));
    QVERIFY(QFile::exists(m_fakes.shell.trashDir + "/old plan.txt"));
    QCOMPARE(m_fakes.shell.trashed, QStringList({docs() + "Garden/old plan.txt"}));
}

void TestDocuments::deleteSaysWhyWhenTrashFails()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(list.switchTo("Garden"));
    touch(docs() + "Garden/keep.txt");
    QVERIFY(select(list, "keep.txt"));
    m_fakes.shell.trashFails = true;
    m_fakes.dialogs.defaultAnswer = true;
    list.deleteSelected();
    QVERIFY(QFile::exists(docs() + "Garden/keep.txt"));
    QCOMPARE(m_fakes.dialogs.errors.size(), 1);
    QVERIFY(m_fakes.dialogs.errors.first().contains("keep.txt"));
    QVERIFY(m_fakes.dialogs.errors.first().contains("refused"));
}

void TestDocuments::doubleClickOpensFileOrEntersFolder()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(list.switchTo("Garden"));
    QDir().mkpath(docs() + "Garden/Photos");
    touch(docs() + "Garden/list.txt");
    QVERIFY(select(list, "list.txt"));
    list.openEntry(child<QListView>(&list, "files")->currentIndex());
    QCOMPARE(m_fakes.shell.opened, QStringList({docs() + "Garden/list.txt"}));
    QVERIFY(select(list, "Photos"));
    list.openEntry(child<QListView>(&list, "files")->currentIndex());
    QCOMPARE(list.currentFolder(), docs() + "Garden/Photos/");
    QCOMPARE(m_fakes.shell.opened.size(), 1);
}

void TestDocuments::openThisFolderOpensDocumentsFolder()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(list.switchTo("Garden"));
    QDir(docs() + "Garden").removeRecursively(); // gone meanwhile: made again
    list.openShownFolder();
    QCOMPARE(m_fakes.shell.openedFolders, QStringList({docs() + "Garden/"}));
    QVERIFY(QDir(docs() + "Garden").exists());
}

void TestDocuments::modelIsSound()
{
    DocumentsBrowser list(m_dir.get(), m_fakes.services());
    QVERIFY(list.switchTo("Garden"));
    touch(docs() + "Garden/a.txt");
    QAbstractItemModelTester tester(child<QListView>(&list, "files")->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.refresh();
    QVERIFY(select(list, "a.txt"));
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
