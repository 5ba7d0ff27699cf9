#include "core/common/syncfiles.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "testhelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// What synchronisation tools and office programs keep in a synchronised
// data folder is told apart from the program's own files, and left alone.
class TestSyncFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void syncToolEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("syncTool");
        QTest::newRow("Syncthing folder marker") << ".stfolder" << true;
        QTest::newRow("Syncthing ignore list") << ".stignore" << true;
        QTest::newRow("Syncthing versions") << ".stversions" << true;
        QTest::newRow("Syncthing conflict") << "Jan-05-2024.sync-conflict-20240110-093012-ABCDEFG.txt" << true;
        QTest::newRow("Syncthing temporary") << ".syncthing.money.txt.tmp" << true;
        QTest::newRow("office owner file") << "~$port.docx" << true;
        QTest::newRow("LibreOffice lock") << ".~lock.budget.ods#" << true;
        QTest::newRow("Nextcloud journal") << ".sync_3f2a9c.db" << true;
        QTest::newRow("Nextcloud journal log") << ".sync_3f2a9c.db-wal" << true;
        QTest::newRow("Dropbox cache") << ".dropbox.cache" << true;
        QTest::newRow("day note") << "Jan-05-2024.txt" << false;
        QTest::newRow("our own conflict copy") << "Jan-05-2024 (conflict 2024-01-10 0930).txt" << false;
        QTest::newRow("a page") << "Projects.txt" << false;
        QTest::newRow("tilde inside") << "plans~$.txt" << false;
        QTest::newRow("dot file of the user") << ".notes.txt" << false;
        QTest::newRow("word sync in a name") << "sync-conflict notes.txt" << false;
    }
    void syncToolEntries()
    {
        QFETCH(QString, name);
        QFETCH(bool, syncTool);
        QCOMPARE(SyncFiles::isSyncToolEntry(name), syncTool);
    }

    void sweepLeavesSyncToolFilesAlone()
    {
        QTemporaryDir tmp;
        const QString root = tmp.path() + QStringLiteral("/");
        const FakeClock clock;
        {
            const DataFolder first(root, nullptr, clock); // makes the folders
        }
        // Left by writes killed half-way before this run: removed. The same
        // names inside a synchronisation tool's own folder, and the tool's
        // files that look like them, stay.
        const QStringList removed = {"DB/Jan-05-2024.txt.qWbXzA", "Projects/Garden/money.txt.AbCdEf"};
        const QStringList kept = {"Projects/.stversions/money.txt.AbCdEf", "DB/.stversions/Jan-05-2024.txt.qWbXzA",
                                  "Config/~$parts.txt.QwErTy"};
        for (const QString &name : removed + kept) {
            writeFileBytes(root + name, "x");
            const timespec old[2] = {{1600000000, 0}, {1600000000, 0}};
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(root + name).constData(), old, 0) == 0);
        }
        const DataFolder folder(root, nullptr, clock);
        QCOMPARE(folder.removeUnfinishedWrites(), 2);
        for (const QString &name : removed)
            QVERIFY2(!QFileInfo::exists(root + name), qPrintable(name));
        for (const QString &name : kept)
            QVERIFY2(QFileInfo::exists(root + name), qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(TestSyncFiles)
#include "tst_syncfiles.moc"
