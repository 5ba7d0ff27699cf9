#include "core/datafolder/datafolder.h"
#include "mainwindowfixture.h"
#include "ui/app/filechangewatcher.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/weekcontroller.h"

#include <QDir>
#include <QLabel>
#include <QTest>

// The week shown while another program (a second machine through a
// synchronised folder) changes the notes on disk.
class TestWeekFollowsDisk : public QObject
{
    Q_OBJECT

private:
    static QStringList dbEntries(const MainWindowFixture &f)
    {
        return QDir(f.root() + QStringLiteral("DB")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    static void useLanguage(const QString &language)
    {
        QLocale::setDefault(language == QLatin1String("de_DE") ? QLocale(QLocale::German, QLocale::Germany)
                                                              : QLocale(QLocale::English, QLocale::UnitedStates));
    }
    static void addLanguages()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en_US") << QStringLiteral("en_US");
        QTest::newRow("de_DE") << QStringLiteral("de_DE");
    }

private Q_SLOTS:
    void cleanup() { useLanguage(QStringLiteral("en_US")); }

    void untouchedNoteShowsTheNewText()
    {
        MainWindowFixture f("45296"); // Friday 5 January 2024
        f.start();
        writeFileBytes(f.dbFile("Jan-05-2024.txt"), "first");
        writeFileBytes(f.dbFile("Jan-06-2024.txt"), "saturday");
        QVERIFY(f.form()->week()->reloadWeek());
        DayNoteColumn *friday = dayColumn(f.form(), 1);
        DayNoteColumn *sunday = dayColumn(f.form(), 3);
        QCOMPARE(friday->text(), QString("first"));

        // Changed in place, and made for a day that had no note.
        writeFileBytes(f.dbFile("Jan-05-2024.txt"), "first\r\nand a line from the laptop");
        writeFileBytes(f.dbFile("Jan-07-2024.txt"), "sunday from the laptop");
        QTRY_COMPARE(friday->text(), QString("first\nand a line from the laptop"));
        QTRY_COMPARE(sunday->text(), QString("sunday from the laptop"));
        QVERIFY(!friday->isModified());

        // Replaced the way a synchronisation tool does it, twice: the watch
        // follows the name, not the file first watched.
        for (const char *text : {"replaced once", "replaced twice"}) {
            writeFileBytes(f.dbFile(".Jan-05-2024.txt.tmp"), text);
            QVERIFY(QFile::remove(f.dbFile("Jan-05-2024.txt")));
            QVERIFY(QFile::rename(f.dbFile(".Jan-05-2024.txt.tmp"), f.dbFile("Jan-05-2024.txt")));
            QTRY_COMPARE(friday->text(), QString::fromLatin1(text));
        }

        // Nothing was written back, kept aside or reported.
        QCOMPARE(dbEntries(f), QStringList({"Jan-05-2024.txt", "Jan-06-2024.txt", "Jan-07-2024.txt"}));
        QCOMPARE(fileBytes(f.dbFile("Jan-06-2024.txt")), QByteArray("saturday"));
        QVERIFY(f.fakes.dialogs.messages.isEmpty());
        QVERIFY(f.fakes.dialogs.errors.isEmpty());
        // The program's own saves are not taken for a change from elsewhere.
        noteEdit(friday)->moveCursor(QTextCursor::End);
        QTest::keyClicks(noteEdit(friday), " and typed");
        QVERIFY(f.form()->week()->saveAllNotes());
        QTest::qWait(400);
        QCOMPARE(friday->text(), QString("replaced twice and typed"));
        QVERIFY(f.fakes.dialogs.messages.isEmpty());
    }

    void editedNoteKeepsBothVersions_data() { addLanguages(); }
    void editedNoteKeepsBothVersions()
    {
        QFETCH(QString, language);
        useLanguage(language);
        MainWindowFixture f("45296");
        f.start();
        writeFileBytes(f.dbFile("Jan-05-2024.txt"), "shopping");
        QVERIFY(f.form()->week()->reloadWeek());
        DayNoteColumn *friday = dayColumn(f.form(), 1);
        DayNoteColumn *saturday = dayColumn(f.form(), 2);
        noteEdit(friday)->moveCursor(QTextCursor::End);
        QTest::keyClicks(noteEdit(friday), " and bread");
        QTest::keyClicks(noteEdit(saturday), "typed on an empty day");

        writeFileBytes(f.dbFile("Jan-05-2024.txt"), "shopping and milk");
        writeFileBytes(f.dbFile("Jan-06-2024.txt"), "made on the laptop");
        // The edits stay on screen while the files settle and are looked at.
        f.form()->fileChangeWatcher()->checkNow();
        QTest::qWait(400);
        QCOMPARE(friday->text(), QString("shopping and bread"));
        QCOMPARE(saturday->text(), QString("typed on an empty day"));

        // The next save (here the move of the week) keeps both versions.
        nextDayButton(f.form())->click();
        QVERIFY(f.fakes.dialogs.errors.isEmpty());
        const QString fridayCopy = "Jan-05-2024 (conflict 2024-01-10 0930).txt";
        const QString saturdayCopy = "Jan-06-2024 (conflict 2024-01-10 0930).txt";
        QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("shopping and bread"));
        QCOMPARE(fileBytes(f.dbFile(fridayCopy)), QByteArray("shopping and milk"));
        QCOMPARE(fileBytes(f.dbFile("Jan-06-2024.txt")), QByteArray("typed on an empty day"));
        QCOMPARE(fileBytes(f.dbFile(saturdayCopy)), QByteArray("made on the laptop"));
        QCOMPARE(dbEntries(f), QStringList({fridayCopy, "Jan-05-2024.txt", saturdayCopy, "Jan-06-2024.txt"}));

        // One message names all four files.
        QTRY_COMPARE(f.fakes.dialogs.messages.size(), 1);
        const QString message = f.fakes.dialogs.messages.first();
        for (const QString &name : {QString("Jan-05-2024.txt\""), fridayCopy, QString("Jan-06-2024.txt\""), saturdayCopy})
            QVERIFY2(message.contains(name), qPrintable(message));
        // The week moved on as usual.
        QCOMPARE(f.form()->week()->firstDay(), dayNumberOf(2024, 1, 6));
    }

    void closingTellsOfTheCopiesItMade()
    {
        MainWindowFixture f("45296");
        f.start();
        QTest::keyClicks(noteEdit(dayColumn(f.form(), 4)), "monday plans");
        writeFileBytes(f.dbFile("Jan-08-2024.txt"), "monday from the laptop");
        QVERIFY(f.form()->close());
        QCOMPARE(f.fakes.dialogs.messages.size(), 1);
        QVERIFY(f.fakes.dialogs.messages.first().contains("Jan-08-2024 (conflict 2024-01-10 0930).txt"));
        QCOMPARE(fileBytes(f.dbFile("Jan-08-2024.txt")), QByteArray("monday plans"));
        QCOMPARE(fileBytes(f.dbFile("Jan-08-2024 (conflict 2024-01-10 0930).txt")),
                 QByteArray("monday from the laptop"));
    }
};

QTEST_MAIN(TestWeekFollowsDisk)
#include "tst_weekfollowsdisk.moc"
