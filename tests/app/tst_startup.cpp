// The command line as the program reads it, the window's frame from its
// first moment, and the file name offered for a printed day note.
#include "core/app/commandline.h"
#include "ui/app/program.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "ui/common/pictures.h"
#include "mainwindowfixture.h"
#include "recordingprinter.h"

#include <QApplication>
#include <QDateEdit>
#include <QTest>
#include <QToolButton>

namespace {

QStringList withProgram(const QStringList &arguments)
{
    return QStringList{QStringLiteral("vellumark")} + arguments;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void dayArgumentAsTyped_data();
    void dayArgumentAsTyped();
    void wrongOptionsAreStillRefused_data();
    void wrongOptionsAreStillRefused();
    void negativeDayFromTheParserStartsOnToday();

    void captionIsTheWindowsOwn();
    void barIsLaidOutBeforeTheStartUpStep();
    void printedDayNoteIsOfferedWithItsYear();
};

void TestStartup::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestStartup::dayArgumentAsTyped_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("dataDir");

    QTest::newRow("none") << QStringList() << QString() << QString();
    QTest::newRow("day") << QStringList{"45296"} << "45296" << QString();
    QTest::newRow("negative") << QStringList{"-5"} << "-5" << QString();
    QTest::newRow("negative fraction") << QStringList{"-0.5"} << "-0.5" << QString();
    QTest::newRow("negative before an option")
        << QStringList{"-5", "--data-dir", "/tmp/notes"} << "-5" << "/tmp/notes";
    QTest::newRow("negative after an option")
        << QStringList{"--data-dir", "/tmp/notes", "-12"} << "-12" << "/tmp/notes";
    QTest::newRow("option value that looks negative")
        << QStringList{"--data-dir", "-5", "45296"} << "45296" << "-5";
    QTest::newRow("option with =") << QStringList{"--data-dir=/tmp/x", "-5"} << "-5" << "/tmp/x";
    QTest::newRow("after --") << QStringList{"--", "-5"} << "-5" << QString();
    QTest::newRow("option name after --") << QStringList{"--", "--data-dir"} << "--data-dir" << QString();
    QTest::newRow("first of two") << QStringList{"45296", "-5"} << "45296" << QString();
    QTest::newRow("negative first of two") << QStringList{"-5", "45296"} << "-5" << QString();
    QTest::newRow("text") << QStringList{"tomorrow"} << "tomorrow" << QString();
}

void TestStartup::dayArgumentAsTyped()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, day);
    QFETCH(QString, dataDir);
    CommandLine commandLine;
    QVERIFY2(commandLine.parse(withProgram(arguments)), qPrintable(commandLine.errorText()));
    QCOMPARE(commandLine.dayArgument(), day);
    QCOMPARE(commandLine.dataDir(), dataDir);
}

void TestStartup::wrongOptionsAreStillRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown long option") << QStringList{"--colour"};
    QTest::newRow("unknown short option") << QStringList{"-x"};
    QTest::newRow("missing value") << QStringList{"--data-dir"};
}

void TestStartup::wrongOptionsAreStillRefused()
{
    QFETCH(QStringList, arguments);
    CommandLine commandLine;
    QVERIFY(!commandLine.parse(withProgram(arguments)));
    QVERIFY(!commandLine.errorText().isEmpty());
}

void TestStartup::negativeDayFromTheParserStartsOnToday()
{
    CommandLine commandLine;
    QVERIFY(commandLine.parse(withProgram({QStringLiteral("-5")})));
    MainWindowFixture f(commandLine.dayArgument());
    f.start();
    // The fixture's clock says 10 January 2024.
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 10));
    QCOMPARE(f.form()->week()->offsetFromToday(), 0);
}

void TestStartup::captionIsTheWindowsOwn()
{
    // The platform appends a display name that was set to every caption
    // ("Lumora — Vellumark"); the program sets none, so the display name
    // stays the application's name, whatever that is.
    nameApplication();
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Vellumark"));
    QCoreApplication::setApplicationName(QStringLiteral("Renamed"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Renamed"));
    nameApplication();

    MainWindowFixture f;
    QCOMPARE(f.form()->windowTitle(), QStringLiteral("Lumora"));
}

void TestStartup::barIsLaidOutBeforeTheStartUpStep()
{
    MainWindowFixture f(QStringLiteral("45296"));
    MainWindow *form = f.form();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    // The start-up step has not run yet...
    QVERIFY(!form->started());
    // ...but the picker shows the start day and ">" sits at the bar's end.
    QCOMPARE(datePicker(form)->date(), QDate(2024, 1, 5));
    QCOMPARE(nextDayButton(form)->geometry().right(),
             form->centralWidget()->findChild<QWidget *>(QStringLiteral("bar"), Qt::FindDirectChildrenOnly)->width() - 3);
    QVERIFY(nextDayButton(form)->x() > datePicker(form)->geometry().right());

    MainWindowFixture today;
    QCOMPARE(datePicker(today.form())->date(), QDate(2024, 1, 10));
}

void TestStartup::printedDayNoteIsOfferedWithItsYear()
{
    FakeServices fakes;
    fakes.clock.set(QDateTime(QDate(2024, 1, 10), QTime(9, 0)));
    FakePrinting printing;
    printing.printerInstalled = false;
    Services services = fakes.services();
    services.printing = &printing;
    fakes.dialogs.defaultAnswer = true;
    QTemporaryDir dir;
    MainWindow form(services, StartOptions{dir.path() + QLatin1Char('/'), QStringLiteral("45296")});
    form.show();
    form.runStartup();

    DayNoteColumn *first = nullptr;
    for (DayNoteColumn *editor : form.week()->columns())
        if (editor->position == 1)
            first = editor;
    QVERIFY(first);
    dayPrintButton(first)->click();
    QCOMPARE(printing.pdfSuggestions, QStringList{QStringLiteral("Jan-05-2024.pdf")});
    form.saveAndClose();
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
