// Day notes and day folders are stored under one name whatever the
// desktop's language; notes named under a language by older installs are
// found, adopted once, and never written over.
#include "core/calendar/daynotes.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "core/common/dateformat.h"
#include "core/common/daynumber.h"
#include "mainwindowfixture.h"
#include "recordingprinter.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QToolButton>

namespace {

constexpr int kJan05 = 45296;


QStringList namesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

void addLocales()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << "C";
    QTest::newRow("de_DE") << "de_DE";
    QTest::newRow("fr_FR") << "fr_FR";
    QTest::newRow("ja_JP") << "ja_JP";
}

} // namespace

class TestDayNoteNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void storedNamesIgnoreTheLocale_data() { addLocales(); }
    void storedNamesIgnoreTheLocale();
    void adoptingOneEntry();
    void adoptingAFolderFullOfGermanNames();

    void noteUnderTheFixedNameIsShownAndSaved_data() { addLocales(); }
    void noteUnderTheFixedNameIsShownAndSaved();
    void noteUnderTheLocaleNameIsMovedOnce_data();
    void noteUnderTheLocaleNameIsMovedOnce();
    void bothNamesHoldingTextAreBothKept();
    void dayFolderUnderTheLocaleNameIsMoved();
    void printedNotePdfIsNamedLikeTheNote();
};

void TestDayNoteNames::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void TestDayNoteNames::storedNamesIgnoreTheLocale()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    const QStringList months{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int month = 1; month <= 12; ++month) {
        const double day = DayNumber::fromDate(QDate(2024, month, 5));
        QCOMPARE(DayNotes::noteName(day), months.at(month - 1) + "-05-2024.txt");
        QCOMPARE(DayNotes::folderName(day), months.at(month - 1) + "-05-2024");
    }
    // What the locale would have called them.
    const QString german = DayNotes::localeNoteName(DayNumber::fromDate(QDate(2024, 3, 6)), QLocale("de_DE"));
    QCOMPARE(german, QString::fromUtf8("März-06-2024.txt"));
    QCOMPARE(DayNotes::localeNoteName(kJan05, QLocale("fr_FR")), QString("janv.-05-2024.txt"));
}

void TestDayNoteNames::adoptingOneEntry()
{
    QTemporaryDir dir;
    const QString fixed = dir.filePath("Jan-05-2024.txt");
    const QString old = dir.filePath("Jan.-05-2024.txt");

    // Only the old name: renamed.
    writeFileBytes(old, "note");
    DayNotes::Adoption a = DayNotes::adoptLocaleNamed(fixed, old, false);
    QCOMPARE(a.outcome, DayNotes::Adoption::Moved);
    QCOMPARE(fileBytes(fixed), QByteArray("note"));
    QVERIFY(!QFile::exists(old));

    // Both hold text: both stay.
    writeFileBytes(old, "other note");
    a = DayNotes::adoptLocaleNamed(fixed, old, false);
    QCOMPARE(a.outcome, DayNotes::Adoption::BothHoldText);
    QCOMPARE(fileBytes(fixed), QByteArray("note"));
    QCOMPARE(fileBytes(old), QByteArray("other note"));

    // The fixed name holds an empty note: the old text takes its place.
    writeFileBytes(fixed, "");
    a = DayNotes::adoptLocaleNamed(fixed, old, false);
    QCOMPARE(a.outcome, DayNotes::Adoption::Moved);
    QCOMPARE(fileBytes(fixed), QByteArray("other note"));
    QVERIFY(!QFile::exists(old));

    // An empty old note beside a used name loses nothing: left alone.
    writeFileBytes(old, "");
    QCOMPARE(DayNotes::adoptLocaleNamed(fixed, old, false).outcome, DayNotes::Adoption::Nothing);
    QCOMPARE(fileBytes(fixed), QByteArray("other note"));

    // A folder where a note is looked for is not a note.
    QVERIFY(QFile::remove(old));
    QVERIFY(QFile::remove(fixed));
    QVERIFY(QDir().mkpath(old));
    QCOMPARE(DayNotes::adoptLocaleNamed(fixed, old, false).outcome, DayNotes::Adoption::Nothing);
    QVERIFY(!QFile::exists(fixed));

    // A rename that cannot happen keeps the entry where it is.
    const QString unreachable = dir.filePath("missing/Jan-05-2024.txt");
    QVERIFY(QDir().rmdir(old));
    writeFileBytes(old, "stays");
    a = DayNotes::adoptLocaleNamed(unreachable, old, false);
    QCOMPARE(a.outcome, DayNotes::Adoption::Kept);
    QCOMPARE(fileBytes(old), QByteArray("stays"));
}

void TestDayNoteNames::adoptingAFolderFullOfGermanNames()
{
    QTemporaryDir dir;
    const QString db = dir.filePath("DB/");
    const QString userData = dir.filePath("UserData/");
    QVERIFY(QDir().mkpath(db));
    QVERIFY(QDir().mkpath(userData + QString::fromUtf8("März-06-2024")));
    writeFileBytes(userData + QString::fromUtf8("März-06-2024/ticket.pdf"), "pdf");
    writeFileBytes(db + "Jan.-05-2024.txt", "januar");
    writeFileBytes(db + QString::fromUtf8("März-06-2024.txt"), "märz");
    writeFileBytes(db + "Mai-07-2024.txt", "mai");
    writeFileBytes(db + "Sept.-30-2024.txt", "september");
    writeFileBytes(db + "Jan-05-2023.txt", "already fixed");
    writeFileBytes(db + "Jan.-31-2023.txt.bak", "not a note");
    writeFileBytes(db + "Feb.-30-2024.txt", "no such day");

    const QList<DayNotes::Adoption> done = DayNotes::adoptAllLocaleNamed(db, userData, QLocale("de_DE"));
    QCOMPARE(done.size(), 5);
    for (const DayNotes::Adoption &a : done)
        QCOMPARE(a.outcome, DayNotes::Adoption::Moved);
    QCOMPARE(namesIn(db), QStringList({"Feb.-30-2024.txt", "Jan-05-2023.txt", "Jan-05-2024.txt",
                                       "Jan.-31-2023.txt.bak", "Mar-06-2024.txt", "May-07-2024.txt",
                                       "Sep-30-2024.txt"}));
    QCOMPARE(fileBytes(db + "Mar-06-2024.txt"), QString::fromUtf8("märz").toUtf8());
    QCOMPARE(fileBytes(userData + "Mar-06-2024/ticket.pdf"), QByteArray("pdf"));
    // A second run finds nothing left to do.
    QVERIFY(DayNotes::adoptAllLocaleNamed(db, userData, QLocale("de_DE")).isEmpty());
}

void TestDayNoteNames::noteUnderTheFixedNameIsShownAndSaved()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    MainWindowFixture f(QString::number(kJan05));
    QVERIFY(QDir().mkpath(f.root() + "DB"));
    writeFileBytes(f.dbFile("Jan-05-2024.txt"), "written in English");
    f.start();
    DayNoteColumn *friday = dayColumn(f.form(), 1);
    // Captions follow the locale; the file does not.
    QCOMPARE(dateLabel(friday)->text(), formatDateTime("dddd mmm dd", kJan05, QLocale(locale)));
    QCOMPARE(friday->text(), QString("written in English"));
    noteEdit(friday)->moveCursor(QTextCursor::End);
    noteEdit(friday)->insertPlainText("\nund mehr");
    noteEdit(dayColumn(f.form(), 6))->insertPlainText("wednesday");
    QVERIFY(f.form()->close());
    QCOMPARE(namesIn(f.root() + "DB"), QStringList({"Jan-05-2024.txt", "Jan-10-2024.txt"}));
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("written in English\r\nund mehr"));
    QVERIFY(f.fakes.dialogs.messages.isEmpty());
}

void TestDayNoteNames::noteUnderTheLocaleNameIsMovedOnce_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("oldName");
    QTest::newRow("de_DE") << "de_DE" << "Jan.-05-2024.txt";
    QTest::newRow("fr_FR") << "fr_FR" << "janv.-05-2024.txt";
    QTest::newRow("ja_JP") << "ja_JP" << QString::fromUtf8("1月-05-2024.txt");
}

void TestDayNoteNames::noteUnderTheLocaleNameIsMovedOnce()
{
    QFETCH(QString, locale);
    QFETCH(QString, oldName);
    QLocale::setDefault(QLocale(locale));
    MainWindowFixture f(QString::number(kJan05));
    QVERIFY(QDir().mkpath(f.root() + "DB"));
    writeFileBytes(f.dbFile(oldName), "from an older install");
    f.start();
    QCOMPARE(dayColumn(f.form(), 1)->text(), QString("from an older install"));
    QCOMPARE(namesIn(f.root() + "DB"), QStringList({"Jan-05-2024.txt"}));
    // Said once.
    QCOMPARE(f.fakes.dialogs.messages.size(), 1);
    QVERIFY2(f.fakes.dialogs.messages.first().contains(oldName)
                 && f.fakes.dialogs.messages.first().contains("Jan-05-2024.txt"),
             qPrintable(f.fakes.dialogs.messages.first()));
    noteEdit(dayColumn(f.form(), 1))->insertPlainText("> ");
    nextDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    QVERIFY(f.form()->close());
    QCOMPARE(f.fakes.dialogs.messages.size(), 1);
    QCOMPARE(namesIn(f.root() + "DB"), QStringList({"Jan-05-2024.txt"}));
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("> from an older install"));
}

void TestDayNoteNames::bothNamesHoldingTextAreBothKept()
{
    QLocale::setDefault(QLocale("de_DE"));
    MainWindowFixture f(QString::number(kJan05));
    QVERIFY(QDir().mkpath(f.root() + "DB"));
    writeFileBytes(f.dbFile("Jan-05-2024.txt"), "english name");
    writeFileBytes(f.dbFile("Jan.-05-2024.txt"), "german name");
    f.start();
    QCOMPARE(dayColumn(f.form(), 1)->text(), QString("english name"));
    QCOMPARE(f.fakes.dialogs.messages.size(), 1);
    QVERIFY(f.fakes.dialogs.messages.first().contains("Jan.-05-2024.txt"));
    QVERIFY(f.fakes.dialogs.messages.first().contains("Both are kept"));
    noteEdit(dayColumn(f.form(), 1))->insertPlainText("edited ");
    nextDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    QVERIFY(f.form()->close());
    // Told once per run, and neither text written over the other.
    QCOMPARE(f.fakes.dialogs.messages.size(), 1);
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("edited english name"));
    QCOMPARE(fileBytes(f.dbFile("Jan.-05-2024.txt")), QByteArray("german name"));
}

void TestDayNoteNames::dayFolderUnderTheLocaleNameIsMoved()
{
    QLocale::setDefault(QLocale("fr_FR"));
    MainWindowFixture f(QString::number(kJan05));
    QVERIFY(QDir().mkpath(f.root() + "UserData/janv.-06-2024"));
    writeFileBytes(f.root() + "UserData/janv.-06-2024/photo.jpg", "jpg");
    f.start();
    DayNoteColumn *saturday = dayColumn(f.form(), 2);
    QVERIFY(!openFolderButton(saturday)->isHidden());
    openFolderButton(saturday)->click();
    QCOMPARE(f.fakes.shell.openedFolders, QStringList({f.root() + "UserData/Jan-06-2024"}));
    QCOMPARE(fileBytes(f.root() + "UserData/Jan-06-2024/photo.jpg"), QByteArray("jpg"));
    // A new day folder gets the fixed name.
    createFolderButton(dayColumn(f.form(), 3))->click();
    QCOMPARE(namesIn(f.root() + "UserData"), QStringList({"Jan-06-2024", "Jan-07-2024"}));
}

void TestDayNoteNames::printedNotePdfIsNamedLikeTheNote()
{
    QLocale::setDefault(QLocale("de_DE"));
    QTemporaryDir dir;
    FakeServices fakes;
    fakes.clock.set(QDateTime(QDate(2024, 1, 10), QTime(9, 30)));
    FakePrinting printing;
    printing.printerInstalled = false;
    Services services = fakes.services();
    services.printing = &printing;
    MainWindow form(services, StartOptions{dir.path() + "/", QString::number(kJan05)});
    form.show();
    form.runStartup();
    dayColumn(&form, 1)->setText("Zahnarzt");
    fakes.dialogs.answers.enqueue(true); // save as PDF
    printing.pdfAnswer = dir.filePath("out.pdf");
    dayPrintButton(dayColumn(&form, 1))->click();
    QCOMPARE(printing.pdfSuggestions, QStringList({"Jan-05-2024.pdf"}));
    QVERIFY(form.close());
}

QTEST_MAIN(TestDayNoteNames)
#include "tst_daynotenames.moc"
