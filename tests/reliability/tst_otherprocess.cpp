// Another process writes a note while the window shows it: the helper
// program saves the note of 7 January 2024 the way a second copy of the
// program on another machine would, through its own data folder object.

#include "core/common/textfile.h"
#include "mainwindowfixture.h"
#include "testhelpers.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/weekcontroller.h"

#include <QDir>
#include <QProcess>
#include <QTest>

class TestOtherProcess : public QObject
{
    Q_OBJECT

private:
    static void saveFromAnotherProcess(const MainWindowFixture &f)
    {
        QProcess driver;
        driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        driver.start(testBuildFile(QStringLiteral(SAVEDRIVER)), {QStringLiteral("note"), f.root()});
        QVERIFY(driver.waitForFinished(30000));
        QCOMPARE(driver.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(driver.readAllStandardOutput()).trimmed(), QStringLiteral("saved"));
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void untouchedNoteShowsWhatTheOtherProcessSaved()
    {
        MainWindowFixture f("45296");
        f.start();
        DayNoteColumn *sunday = dayColumn(f.form(), 3);
        QCOMPARE(sunday->dayNoteName, QStringLiteral("Jan-07-2024.txt"));
        saveFromAnotherProcess(f);
        const QString saved = TextFile::peekText(f.dbFile("Jan-07-2024.txt")).value;
        QVERIFY(saved.size() > 1000);
        QTRY_COMPARE(sunday->text(), saved);
        QVERIFY(!sunday->isModified());
        QVERIFY(f.form()->close());
        QCOMPARE(QDir(f.root() + "DB").entryList(QDir::Files), QStringList{"Jan-07-2024.txt"});
        QVERIFY(f.fakes.dialogs.messages.isEmpty());
    }

    void editedNoteKeepsBothVersions()
    {
        MainWindowFixture f("45296");
        f.start();
        DayNoteColumn *sunday = dayColumn(f.form(), 3);
        QTest::keyClicks(noteEdit(sunday), "typed while the other machine saved");
        saveFromAnotherProcess(f);
        const QByteArray other = fileBytes(f.dbFile("Jan-07-2024.txt"));
        QVERIFY(other.size() > 1000);
        QTest::qWait(400); // the watcher settles; the edit stays
        QCOMPARE(sunday->text(), QStringLiteral("typed while the other machine saved"));

        QVERIFY(f.form()->week()->saveAllNotesReporting());
        QCOMPARE(fileBytes(f.dbFile("Jan-07-2024.txt")), QByteArray("typed while the other machine saved"));
        QCOMPARE(fileBytes(f.dbFile("Jan-07-2024 (conflict 2024-01-10 0930).txt")), other);
        QTRY_COMPARE(f.fakes.dialogs.messages.size(), 1);
        QVERIFY(f.fakes.dialogs.messages.first().contains("Jan-07-2024 (conflict 2024-01-10 0930).txt"));
        QVERIFY(f.fakes.dialogs.errors.isEmpty());
    }
};

QTEST_MAIN(TestOtherProcess)
#include "tst_otherprocess.moc"
