// The week view on the paths where notes used to get lost: unreadable note
// files, failed writes in the middle of a move, the ends of the calendar,
// typing in the date picker, midnight, notes changed by another program,
// and large notes.
#include "ui/calendar/notememo.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "mainwindowfixture.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

#include <tuple>

namespace {

const QStringList kJan05Week{"Friday Jan 05",  "Saturday Jan 06", "Sunday Jan 07",  "Monday Jan 08",
                             "Tuesday Jan 09", "Wednesday Jan 10", "Thursday Jan 11"};
const QStringList kJan06Week{"Saturday Jan 06", "Sunday Jan 07",   "Monday Jan 08",  "Tuesday Jan 09",
                             "Wednesday Jan 10", "Thursday Jan 11", "Friday Jan 12"};


// The captions from left to right, as the columns stand on screen.
QStringList captions(MainWindow *form)
{
    QStringList out;
    for (int tag = 1; tag <= 7; ++tag)
        out << dateLabel(dayColumn(form, tag))->text();
    return out;
}

// Every entry below DB/, files and folders, with the bytes of the files.
QMap<QString, QByteArray> dbContents(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root + "DB", QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        out.insert(info.fileName(), info.isFile() ? fileBytes(path) : QByteArray("<not a file>"));
    }
    return out;
}

void typeInto(DayNoteColumn *editor, const QString &text)
{
    noteEdit(editor)->moveCursor(QTextCursor::End);
    noteEdit(editor)->insertPlainText(text);
}

// Selects the day of the month in the picker's text ("Friday, January 5,
// 2024"), as a double click on it does.
void selectDayField(QDateEdit *picker)
{
    auto *line = picker->findChild<QLineEdit *>();
    const QRegularExpressionMatch day = QRegularExpression(" (\\d+),").match(line->text());
    QVERIFY(day.hasMatch());
    line->setSelection(static_cast<int>(day.capturedStart(1)), static_cast<int>(day.capturedLength(1)));
}

// The user settles on a date in the picker (Enter).
void choose(MainWindow *form, const QDate &date)
{
    datePicker(form)->setDate(date);
    QTest::keyClick(datePicker(form), Qt::Key_Return);
}

} // namespace

class TestWeekView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void unreadableDayKeepsTheWeekWhole_data();
    void unreadableDayKeepsTheWeekWhole();
    void unreadableNoteBecomesEditableOnceReadable();
    void namedPipeInANotesPlaceNeitherBlocksNorIsReplaced();
    void failedWriteMovesNothing();
    void failedMoveThenAnotherLosesNothing();
    void weekStaysInsideNameableDates();
    void typingInThePickerMovesOnlyOnCompleteDate();
    void typingInThePickerStaysInTheField();
    void arrowsMoveOneDayAfterMidnight();
    void untouchedNotesAreNeverWritten();
    void secondWindowDoesNotWriteStaleCopies();
    void noteThatStaysInTheWeekIsNotReadAgain();
    void noteChangedOnDiskIsReadAgainAtTheNextMove();
    void halfLaidNoteIsNeverSaved();
};

void TestWeekView::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestWeekView::unreadableDayKeepsTheWeekWhole_data()
{
    QTest::addColumn<bool>("typeFirst");
    QTest::newRow("untouched") << false;
    QTest::newRow("typed into the day before") << true;
}

void TestWeekView::unreadableDayKeepsTheWeekWhole()
{
    QFETCH(bool, typeFirst);
    MainWindowFixture f("45296");
    QVERIFY(QDir().mkpath(f.dbFile("Jan-07-2024.txt"))); // a folder in the note's place
    f.start();
    QCOMPARE(captions(f.form()), kJan05Week);
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 5));
    DayNoteColumn *sunday = dayColumn(f.form(), 3);
    QVERIFY(sunday->loadFailed());
    QVERIFY(noteEdit(sunday)->isReadOnly());
    QVERIFY2(noteEdit(sunday)->placeholderText().contains("cannot be read"),
             qPrintable(noteEdit(sunday)->placeholderText()));
    QVERIFY(noteEdit(sunday)->placeholderText().contains("Jan-07-2024.txt"));
    // The other columns are editable.
    QVERIFY(!noteEdit(dayColumn(f.form(), 4))->isReadOnly());

    if (typeFirst)
        typeInto(dayColumn(f.form(), 2), "saturday");
    // Typing into the unreadable day does nothing.
    noteEdit(sunday)->setFocus();
    QTest::keyClicks(noteEdit(sunday), "lost?");
    QCOMPARE(sunday->text(), QString());

    nextDayButton(f.form())->click();
    QVERIFY(f.fakes.dialogs.errors.isEmpty());
    QCOMPARE(captions(f.form()), kJan06Week);
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 6));
    QVERIFY(dayColumn(f.form(), 2)->loadFailed()); // Sunday, now second
    QVERIFY(!dayColumn(f.form(), 3)->loadFailed());
    QCOMPARE(dayColumn(f.form(), 1)->text(), typeFirst ? QString("saturday") : QString());

    QVERIFY(f.form()->week()->saveAllNotes());
    QVERIFY(f.form()->close());
    QVERIFY(QFileInfo(f.dbFile("Jan-07-2024.txt")).isDir());
    QMap<QString, QByteArray> expected{{"Jan-07-2024.txt", "<not a file>"}};
    if (typeFirst)
        expected.insert("Jan-06-2024.txt", "saturday");
    QCOMPARE(dbContents(f.root()), expected);
}

void TestWeekView::unreadableNoteBecomesEditableOnceReadable()
{
    MainWindowFixture f("45296");
    QVERIFY(QDir().mkpath(f.dbFile("Jan-08-2024.txt")));
    f.start();
    QVERIFY(noteEdit(dayColumn(f.form(), 4))->isReadOnly());
    // The folder goes away and a real note takes its place.
    QVERIFY(QDir(f.dbFile("Jan-08-2024.txt")).removeRecursively());
    writeFileBytes(f.dbFile("Jan-08-2024.txt"), "monday");
    nextDayButton(f.form())->click();
    DayNoteColumn *monday = dayColumn(f.form(), 3);
    QCOMPARE(dateLabel(monday)->text(), QString("Monday Jan 08"));
    QVERIFY(!monday->loadFailed());
    QVERIFY(!noteEdit(monday)->isReadOnly());
    QVERIFY(noteEdit(monday)->placeholderText().isEmpty());
    QCOMPARE(monday->text(), QString("monday"));
    typeInto(monday, " and more");
    QVERIFY(f.form()->week()->saveAllNotes());
    QCOMPARE(fileBytes(f.dbFile("Jan-08-2024.txt")), QByteArray("monday and more"));
}

void TestWeekView::namedPipeInANotesPlaceNeitherBlocksNorIsReplaced()
{
    MainWindowFixture f("45296");
    QVERIFY(QDir().mkpath(f.root() + "DB"));
    QVERIFY(::mkfifo(QFile::encodeName(f.dbFile("Jan-07-2024.txt")).constData(), 0600) == 0);
    f.start(); // would block for ever in open()
    QCOMPARE(captions(f.form()), kJan05Week);
    QVERIFY(dayColumn(f.form(), 3)->loadFailed());
    QVERIFY(noteEdit(dayColumn(f.form(), 3))->placeholderText().contains("not a regular file"));
    typeInto(dayColumn(f.form(), 1), "friday");
    nextDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    QVERIFY(f.form()->close());
    struct stat st;
    QVERIFY(::lstat(QFile::encodeName(f.dbFile("Jan-07-2024.txt")).constData(), &st) == 0);
    QVERIFY(S_ISFIFO(st.st_mode));
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("friday"));
}

void TestWeekView::failedWriteMovesNothing()
{
    MainWindowFixture f("45296");
    f.start();
    typeInto(dayColumn(f.form(), 1), "friday");
    typeInto(dayColumn(f.form(), 3), "sunday");
    f.form()->dataFolder()->storedFiles().setWriteFault([](const QString &path, qint64) { return path.endsWith("Jan-07-2024.txt") ? 0 : -1; });

    nextDayButton(f.form())->click();
    QCOMPARE(f.fakes.dialogs.errors.size(), 1);
    QVERIFY(f.fakes.dialogs.errors.first().contains("Jan-07-2024.txt"));
    QCOMPARE(captions(f.form()), kJan05Week);
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 5));
    QCOMPARE(dayColumn(f.form(), 1)->text(), QString("friday"));
    QCOMPARE(dayColumn(f.form(), 3)->text(), QString("sunday"));
    QCOMPARE(f.form()->week()->offsetFromToday(), -5);

    // The picker goes back to the week shown when a move from it fails.
    choose(f.form(), QDate(2024, 2, 1));
    QCOMPARE(f.fakes.dialogs.errors.size(), 2);
    QCOMPARE(captions(f.form()), kJan05Week);
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 5));
    QVERIFY(!QFile::exists(f.dbFile("Jan-07-2024.txt")));
}

void TestWeekView::failedMoveThenAnotherLosesNothing()
{
    MainWindowFixture f("45296");
    f.start();
    for (int tag = 1; tag <= 7; ++tag)
        typeInto(dayColumn(f.form(), tag), QStringLiteral("note %1").arg(tag));
    f.form()->dataFolder()->storedFiles().setWriteFault([](const QString &path, qint64) { return path.endsWith("Jan-08-2024.txt") ? 0 : -1; });
    nextDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    QCOMPARE(f.fakes.dialogs.errors.size(), 2);
    QCOMPARE(captions(f.form()), kJan05Week);

    f.form()->dataFolder()->storedFiles().setWriteFault({});
    nextDayButton(f.form())->click();
    QCOMPARE(captions(f.form()), kJan06Week);
    for (int tag = 1; tag <= 6; ++tag)
        QCOMPARE(dayColumn(f.form(), tag)->text(), QStringLiteral("note %1").arg(tag + 1));
    QCOMPARE(dayColumn(f.form(), 7)->text(), QString());
    nextDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    QCOMPARE(captions(f.form()), kJan05Week);
    QVERIFY(f.form()->week()->saveAllNotes());
    QVERIFY(f.form()->close());
    for (int day = 5; day <= 11; ++day)
        QCOMPARE(fileBytes(f.dbFile(QStringLiteral("Jan-%1-2024.txt").arg(day, 2, 10, QChar('0')))),
                 QStringLiteral("note %1").arg(day - 4).toUtf8());
    QCOMPARE(dbContents(f.root()).size(), 7);
}

void TestWeekView::weekStaysInsideNameableDates()
{
    MainWindowFixture f("2958465"); // 31 December 9999
    f.start();
    QCOMPARE(datePicker(f.form())->maximumDate(), QDate(9999, 12, 25));
    choose(f.form(), QDate(9999, 12, 31));
    QCOMPARE(datePicker(f.form())->date(), QDate(9999, 12, 25));
    nextDayButton(f.form())->click();
    nextDayButton(f.form())->click();
    const QStringList last{"Saturday Dec 25", "Sunday Dec 26",   "Monday Dec 27", "Tuesday Dec 28",
                           "Wednesday Dec 29", "Thursday Dec 30", "Friday Dec 31"};
    QCOMPARE(captions(f.form()), last);
    QCOMPARE(datePicker(f.form())->date(), QDate(9999, 12, 25));
    for (int tag = 1; tag <= 7; ++tag)
        typeInto(dayColumn(f.form(), tag), QStringLiteral("day %1").arg(tag));
    QVERIFY(f.form()->week()->saveAllNotes());
    QCOMPARE(fileBytes(f.dbFile("Dec-31-9999.txt")), QByteArray("day 7"));
    QCOMPARE(fileBytes(f.dbFile("Dec-25-9999.txt")), QByteArray("day 1"));
    QCOMPARE(dbContents(f.root()).size(), 7);

    // The first day: 30 December 1899, where picker and week agree.
    QCOMPARE(datePicker(f.form())->minimumDate(), QDate(1899, 12, 30));
    choose(f.form(), QDate(1899, 12, 31));
    previousDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    QCOMPARE(captions(f.form()).first(), QString("Saturday Dec 30"));
    QCOMPARE(captions(f.form()).last(), QString("Friday Jan 05"));
    QCOMPARE(datePicker(f.form())->date(), QDate(1899, 12, 30));
    typeInto(dayColumn(f.form(), 1), "first");
    QVERIFY(f.form()->week()->saveAllNotes());
    QCOMPARE(fileBytes(f.dbFile("Dec-30-1899.txt")), QByteArray("first"));
}

void TestWeekView::typingInThePickerMovesOnlyOnCompleteDate()
{
    MainWindowFixture f("45296");
    QVERIFY(QDir().mkpath(f.root() + "DB"));
    writeFileBytes(f.dbFile("Jan-05-2024.txt"), "friday");
    f.start();
    QApplication::setActiveWindow(f.form());
    QVERIFY(QTest::qWaitForWindowActive(f.form()));
    QDateEdit *picker = datePicker(f.form());
    picker->setFocus();
    selectDayField(picker);
    QTest::keyClick(picker, Qt::Key_2);
    QTest::keyClick(picker, Qt::Key_3);
    QCOMPARE(picker->date(), QDate(2024, 1, 23));
    // Nothing followed the digits yet.
    QCOMPARE(captions(f.form()), kJan05Week);
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(captions(f.form()).first(), QString("Tuesday Jan 23"));
    QCOMPARE(dayColumn(f.form(), 1)->text(), QString());

    // A pause in typing moves the week too.
    selectDayField(picker);
    QTest::keyClick(picker, Qt::Key_1);
    QTest::keyClick(picker, Qt::Key_2);
    QCOMPARE(captions(f.form()).first(), QString("Tuesday Jan 23"));
    QTRY_COMPARE(captions(f.form()).first(), QString("Friday Jan 12"));
    // No file was written for the days passed through, nor for any other.
    QCOMPARE(dbContents(f.root()), (QMap<QString, QByteArray>{{"Jan-05-2024.txt", "friday"}}));
}

void TestWeekView::typingInThePickerStaysInTheField()
{
    MainWindowFixture f("45296");
    f.start();
    QApplication::setActiveWindow(f.form());
    QVERIFY(QTest::qWaitForWindowActive(f.form()));
    QDateEdit *picker = datePicker(f.form());
    picker->setFocus();
    // Friday → Tuesday → Saturday: the weekday at the front changes length
    // with every digit; the digits still all go to the day.
    for (const auto &[first, second, expected] :
         {std::tuple{Qt::Key_2, Qt::Key_0, QDate(2024, 1, 20)}, std::tuple{Qt::Key_1, Qt::Key_7, QDate(2024, 1, 17)},
          std::tuple{Qt::Key_3, Qt::Key_1, QDate(2024, 1, 31)}}) {
        selectDayField(picker);
        QTest::keyClick(picker, first);
        QTest::keyClick(picker, second);
        QCOMPARE(picker->date(), expected);
    }
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(captions(f.form()).first(), QString("Wednesday Jan 31"));
}

void TestWeekView::arrowsMoveOneDayAfterMidnight()
{
    MainWindowFixture f("45296", QDateTime(QDate(2024, 1, 10), QTime(23, 59, 30)));
    f.start();
    QCOMPARE(captions(f.form()), kJan05Week);
    f.fakes.clock.set(QDateTime(QDate(2024, 1, 11), QTime(0, 0, 30)));
    nextDayButton(f.form())->click();
    QCOMPARE(captions(f.form()), kJan06Week);
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 6));
    f.fakes.clock.set(QDateTime(QDate(2024, 1, 12), QTime(0, 0, 30)));
    previousDayButton(f.form())->click();
    QCOMPARE(captions(f.form()), kJan05Week);
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 5));
}

void TestWeekView::untouchedNotesAreNeverWritten()
{
    MainWindowFixture f("45296");
    QVERIFY(QDir().mkpath(f.root() + "DB"));
    writeFileBytes(f.dbFile("Jan-05-2024.txt"), "first");
    f.start();
    QApplication::setActiveWindow(f.form());
    QVERIFY(QTest::qWaitForWindowActive(f.form()));
    QCOMPARE(dayColumn(f.form(), 1)->text(), QString("first"));
    // Another program changes the shown note and adds one.
    writeFileBytes(f.dbFile("Jan-05-2024.txt"), "changed elsewhere");
    writeFileBytes(f.dbFile("Jan-09-2024.txt"), "added elsewhere");
    // Focus moves through the columns, the week moves, the window closes.
    noteEdit(dayColumn(f.form(), 1))->setFocus();
    noteEdit(dayColumn(f.form(), 2))->setFocus();
    nextDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    QVERIFY(f.form()->close());
    QCOMPARE(dbContents(f.root()), (QMap<QString, QByteArray>{{"Jan-05-2024.txt", "changed elsewhere"},
                                                              {"Jan-09-2024.txt", "added elsewhere"}}));
}

void TestWeekView::secondWindowDoesNotWriteStaleCopies()
{
    MainWindowFixture first("45296");
    first.start();
    FakeServices fakes;
    fakes.clock.set(QDateTime(QDate(2024, 1, 10), QTime(9, 30)));
    MainWindow second(fakes.services(), StartOptions{first.root(), "45296"});
    second.show();
    second.runStartup();

    typeInto(dayColumn(first.form(), 1), "typed in the first window");
    typeInto(dayColumn(&second, 2), "typed in the second window");
    QVERIFY(first.form()->close());
    QVERIFY(second.close());
    QCOMPARE(dbContents(first.root()),
             (QMap<QString, QByteArray>{{"Jan-05-2024.txt", "typed in the first window"},
                                        {"Jan-06-2024.txt", "typed in the second window"}}));
}

void TestWeekView::noteThatStaysInTheWeekIsNotReadAgain()
{
    MainWindowFixture f("45296");
    QVERIFY(QDir().mkpath(f.root() + "DB"));
    // A 5 MB note on Tuesday.
    const QByteArray line = QByteArray(79, 'x') + "\r\n";
    writeFileBytes(f.dbFile("Jan-09-2024.txt"), line.repeated(5 * 1024 * 1024 / line.size()));
    f.start();
    QTextDocument *big = noteEdit(dayColumn(f.form(), 5))->document();
    QVERIFY(noteEdit(dayColumn(f.form(), 5))->isReadOnly()); // still being laid in
    QVERIFY(!dayColumn(f.form(), 5)->isModified());
    QCOMPARE(dayColumn(f.form(), 5)->text().size(), 80 * (5 * 1024 * 1024 / line.size()));
    QElapsedTimer clock;
    clock.start();
    nextDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(dateLabel(dayColumn(f.form(), 6))->text(), QString("Tuesday Jan 09"));
    QCOMPARE(noteEdit(dayColumn(f.form(), 6))->document(), big);
    qInfo("three moves with a 5 MB note in the week: %lld ms", elapsed);
    // Laid in a slice at a time; editable once it is all in.
    QTRY_VERIFY(!noteEdit(dayColumn(f.form(), 6))->isReadOnly());
    QCOMPARE(noteEdit(dayColumn(f.form(), 6))->toPlainText(), dayColumn(f.form(), 6)->text());
    // The note left the window untouched on disk, and only text typed is saved.
    typeInto(dayColumn(f.form(), 6), "!");
    QVERIFY(f.form()->week()->saveAllNotes());
    QVERIFY(fileBytes(f.dbFile("Jan-09-2024.txt")).endsWith("xx\r\n!"));
}

void TestWeekView::noteChangedOnDiskIsReadAgainAtTheNextMove()
{
    MainWindowFixture f("45296");
    QVERIFY(QDir().mkpath(f.root() + "DB"));
    writeFileBytes(f.dbFile("Jan-06-2024.txt"), "old");
    f.start();
    QCOMPARE(dayColumn(f.form(), 2)->text(), QString("old"));
    writeFileBytes(f.dbFile("Jan-06-2024.txt"), "new, from elsewhere");
    nextDayButton(f.form())->click();
    QCOMPARE(dayColumn(f.form(), 1)->text(), QString("new, from elsewhere"));
    QVERIFY(QFile::remove(f.dbFile("Jan-06-2024.txt")));
    previousDayButton(f.form())->click();
    QCOMPARE(dayColumn(f.form(), 2)->text(), QString());
}

void TestWeekView::halfLaidNoteIsNeverSaved()
{
    MainWindowFixture f("45296");
    QVERIFY(QDir().mkpath(f.root() + "DB"));
    QByteArray note;
    for (int i = 0; i < 40000; ++i)
        note += "line " + QByteArray::number(i) + " of a long note\r\n";
    writeFileBytes(f.dbFile("Jan-06-2024.txt"), note);
    const QString expected = QString::fromLatin1(note).replace("\r\n", "\n");
    f.start();
    DayNoteColumn *saturday = dayColumn(f.form(), 2);
    QVERIFY(saturday->isFilling());
    QCOMPARE(saturday->text(), expected);
    // Saved, moved away and back, and closed while it is being laid in: the
    // file never changes, and the note comes back whole.
    QVERIFY(f.form()->week()->saveAllNotes());
    nextDayButton(f.form())->click();
    QVERIFY(dayColumn(f.form(), 1)->isFilling());
    choose(f.form(), QDate(2024, 2, 1));
    choose(f.form(), QDate(2024, 1, 5));
    QCOMPARE(dayColumn(f.form(), 2)->text(), expected);
    QTRY_VERIFY(!dayColumn(f.form(), 2)->isFilling());
    QCOMPARE(noteEdit(dayColumn(f.form(), 2))->toPlainText(), expected);
    QVERIFY(!dayColumn(f.form(), 2)->isModified());
    nextDayButton(f.form())->click();
    QVERIFY(f.form()->close());
    QCOMPARE(fileBytes(f.dbFile("Jan-06-2024.txt")), note);
    QCOMPARE(dbContents(f.root()).size(), 1);
}

QTEST_MAIN(TestWeekView)
#include "tst_weekview.moc"
