#include "testhelpers.h"
#include "ui/app/filechangewatcher.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The watcher of the files on screen: which changes it tells, and that it
// keeps following a name whose file was replaced.
class TestFileChangeWatcher : public QObject
{
    Q_OBJECT

private:
    static QStringList changedIn(const QSignalSpy &spy)
    {
        QStringList all;
        for (const QList<QVariant> &call : spy)
            all += call.at(0).toStringList();
        all.sort();
        return all;
    }

private Q_SLOTS:
    void toldWhatChangedAndNothingElse()
    {
        QTemporaryDir tmp;
        const QString shown = tmp.filePath("shown.txt");
        const QString missing = tmp.filePath("missing.txt");
        const QString other = tmp.filePath("other.txt");
        writeFileBytes(shown, "a");
        writeFileBytes(other, "a");
        FileChangeWatcher watcher;
        watcher.setFiles("week", {shown, missing});
        watcher.setFiles("projects", {shown});
        QCOMPARE(watcher.watchedFiles().size(), 2);
        QSignalSpy spy(&watcher, &FileChangeWatcher::filesChanged);

        // Nothing changed: nothing told.
        watcher.checkNow();
        QCOMPARE(spy.size(), 0);

        // A file that is not shown changes; one shown is made.
        writeFileBytes(other, "bb");
        writeFileBytes(missing, "made elsewhere");
        QTRY_COMPARE(changedIn(spy), QStringList{missing});

        // Replaced twice the way safe writes do it: each time told, once,
        // although two sections show it.
        for (const char *text : {"one", "two"}) {
            spy.clear();
            writeFileBytes(tmp.filePath(".shown.tmp"), text);
            QVERIFY(QFile::remove(shown));
            QVERIFY(QFile::rename(tmp.filePath(".shown.tmp"), shown));
            QTRY_COMPARE(changedIn(spy), QStringList{shown});
        }

        // Removed, and told so; then no longer shown: not told.
        spy.clear();
        QVERIFY(QFile::remove(missing));
        QTRY_COMPARE(changedIn(spy), QStringList{missing});
        watcher.setFiles("week", {});
        watcher.setFiles("projects", {});
        QVERIFY(watcher.watchedFiles().isEmpty());
        spy.clear();
        writeFileBytes(shown, "three");
        QTest::qWait(400);
        watcher.checkNow();
        QCOMPARE(spy.size(), 0);
    }
};

QTEST_MAIN(TestFileChangeWatcher)
#include "tst_filechangewatcher.moc"
