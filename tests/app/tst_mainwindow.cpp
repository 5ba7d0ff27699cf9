#include "ui/calendar/notememo.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "mainwindowfixture.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QToolButton>

namespace {

// The column captions from left to right.
QStringList captions(MainWindow *form)
{
    QStringList out;
    for (const char *host : {"Panel1", "Panel2", "Panel3", "Panel4", "Panel5", "Panel7", "Panel6"}) {
        QWidget *panel = form->findChild<QWidget *>(QStringLiteral("TabSheet1"))
                             ->findChild<QWidget *>(QString::fromLatin1(host), Qt::FindDirectChildrenOnly);
        auto *editor = panel->findChild<DayNoteColumn *>();
        out << (editor ? dateLabel(editor)->text() : QStringLiteral("<none>"));
    }
    return out;
}


QStringList dbFiles(const QString &root)
{
    return QDir(root + "DB").entryList(QDir::Files, QDir::Name);
}

// Every file below the root with its bytes, to compare before and after.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out.insert(path, fileBytes(path));
    }
    return out;
}

// Gives the window the outer size the layout figures speak of.
void resizeOuter(QWidget *window, int width, int height)
{
    const QSize frame = window->frameGeometry().size() - window->size();
    window->resize(width - frame.width(), height - frame.height());
}

// The user settles on a date in the picker (Enter).
void choose(MainWindow *form, const QDate &date)
{
    datePicker(form)->setDate(date);
    QTest::keyClick(datePicker(form), Qt::Key_Return);
}

void typeInto(DayNoteColumn *editor, const QString &text)
{
    noteEdit(editor)->setFocus();
    QTest::keyClicks(noteEdit(editor), text);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void startsOnDayNumberArgument();
    void startsOnTodayWithoutArgument();
    void unusableArgumentStartsOnToday_data();
    void unusableArgumentStartsOnToday();
    void weekendColours();
    void controlsCarryTheirNames();
    void arrowsMoveWeekAndPicker();
    void pickerMovesWeekAtAnyTimeOfDay();
    void pickerSetFromCodeDoesNotMoveWeek();
    void sectionButtonsChangeNoFile();
    void layoutFigures();
    void narrowWindowKeepsPickerRight();
    void focusLossWritesTheEditedNote();
    void dayWithoutNoteCreatesNoFileUntilTyped();
    void typedTextOnNewDaySurvivesMove();
    void loadedEditorLeavesItsFileAlone();
    void notesReloadAfterRestart();
    void saveKeepsNotesChangedOnDisk();
    void unchangedNotesAreNotRewritten();
    void closeWritesTheEditedNotes();
    void closeBeforeStartWritesNothing();
    void removedDataFolderReportsAndKeepsText();
    void closeWithUnwritableNotesAsks();
    void folderPictureCreatesAndOpensDayFolder();
    void editMenuActsOnFocusedEditor();
    void smallCalendar();
};

void TestMainWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestMainWindow::startsOnDayNumberArgument()
{
    MainWindowFixture f("45296");
    f.start();
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 5));
    QCOMPARE(captions(f.form()),
             QStringList({"Friday Jan 05", "Saturday Jan 06", "Sunday Jan 07", "Monday Jan 08",
                          "Tuesday Jan 09", "Wednesday Jan 10", "Thursday Jan 11"}));
    QCOMPARE(sectionStack(f.form())->currentWidget(), calendarPage(f.form()));
    QCOMPARE(f.form()->windowTitle(), QString("Lumora"));
    // Fourteen data folders exist after start-up.
    QVERIFY(QDir(f.root() + "Report/Images").exists());
    QVERIFY(QDir(f.root() + "Projects/Summary").exists());
}

void TestMainWindow::startsOnTodayWithoutArgument()
{
    MainWindowFixture f;
    f.start();
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 10));
    QCOMPARE(captions(f.form()).first(), QString("Wednesday Jan 10"));
    QCOMPARE(captions(f.form()).last(), QString("Tuesday Jan 16"));
    QCOMPARE(f.form()->week()->offsetFromToday(), 0);
}

void TestMainWindow::unusableArgumentStartsOnToday_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("text") << "tomorrow";
    QTest::newRow("fraction") << "45296.5";
    QTest::newRow("negative") << "-5";
    QTest::newRow("huge") << "99999999999999";
    QTest::newRow("past the picker") << "2958466";
    QTest::newRow("blank") << "   ";
}

void TestMainWindow::unusableArgumentStartsOnToday()
{
    QFETCH(QString, argument);
    MainWindowFixture f(argument);
    f.start();
    QVERIFY(f.form()->started());
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 10));
    QCOMPARE(captions(f.form()).first(), QString("Wednesday Jan 10"));
}

void TestMainWindow::weekendColours()
{
    MainWindowFixture f;
    f.start();
    for (int tag = 1; tag <= 7; ++tag) {
        DayNoteColumn *e = dayColumn(f.form(), tag);
        const bool weekend = tag == 4 || tag == 5; // sat 13, sun 14
        QCOMPARE(e->dayColor(), weekend ? QColor(0xFF, 0xFF, 0xF0) : QColor(Qt::white));
        QCOMPARE(noteEdit(e)->palette().color(QPalette::Base), e->dayColor());
        QCOMPARE(e->findChild<QWidget *>(QStringLiteral("Panel_Bottom"))->palette().color(QPalette::Window), e->dayColor());
    }
}

void TestMainWindow::controlsCarryTheirNames()
{
    MainWindowFixture f;
    f.start();
    const struct
    {
        const char *name;
        const char *spoken;
    } buttons[] = {{"Image1", "Calendar"}, {"Image2", "Projects"}, {"btnGoals", "My Lists"}, {"Image4", "Decisions"}};
    for (const auto &b : buttons) {
        auto *button = f.form()->findChild<QToolButton *>(b.name);
        QVERIFY2(button, b.name);
        QCOMPARE(button->accessibleName(), QString(b.spoken));
        QVERIFY(button->focusPolicy() & Qt::TabFocus);
    }
    QCOMPARE(f.form()->findChild<QLabel *>("SHoppingList_Label")->text(), QString("Calendar"));
    QCOMPARE(f.form()->findChild<QLabel *>("Label5")->text(), QString("Decisions"));
    for (const char *name : {"Left", "Right", "Date_Picker", "pg", "bar", "Panel6", "Panel7",
                             "TabSheet13", "pnlGoals", "Decision_Panel"})
        QVERIFY2(f.form()->findChild<QWidget *>(name), name);
    DayNoteColumn *e = dayColumn(f.form(), 1);
    for (const char *name : {"Top_panel", "Date_Label", "Memo1", "Panel_Bottom", "sepeartor",
                             "FolderCreate", "FolderOpen", "print_button"})
        QVERIFY2(e->findChild<QWidget *>(name), name);
    QVERIFY(f.form()->findChild<QAction *>("PrinterSetup1"));
    QVERIFY(f.form()->findChild<QAction *>("SmallCalendar2"));
}

void TestMainWindow::arrowsMoveWeekAndPicker()
{
    MainWindowFixture f;
    f.start();
    choose(f.form(), QDate(2024, 1, 5));
    QCOMPARE(captions(f.form()).first(), QString("Friday Jan 05"));
    nextDayButton(f.form())->click();
    QCOMPARE(captions(f.form()).first(), QString("Saturday Jan 06"));
    QCOMPARE(captions(f.form()).last(), QString("Friday Jan 12"));
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 6));

    for (int i = 0; i < 3; ++i)
        previousDayButton(f.form())->click();
    for (int i = 0; i < 3; ++i)
        nextDayButton(f.form())->click();
    QCOMPARE(captions(f.form()).first(), QString("Saturday Jan 06"));
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 6));

    // The keyboard does the same.
    QApplication::setActiveWindow(f.form());
    QVERIFY(QTest::qWaitForWindowActive(f.form()));
    noteEdit(dayColumn(f.form(), 3))->setFocus();
    QTest::keyClick(f.form()->windowHandle(), Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(captions(f.form()).first(), QString("Friday Jan 05"));
}

void TestMainWindow::pickerMovesWeekAtAnyTimeOfDay()
{
    MainWindowFixture f(QString(), QDateTime(QDate(2024, 1, 10), QTime(23, 59, 59)));
    f.start();
    choose(f.form(), QDate(2024, 1, 5));
    QCOMPARE(f.form()->week()->offsetFromToday(), -5);
    QCOMPARE(captions(f.form()).first(), QString("Friday Jan 05"));
    QCOMPARE(captions(f.form()).last(), QString("Thursday Jan 11"));
}

void TestMainWindow::pickerSetFromCodeDoesNotMoveWeek()
{
    MainWindowFixture f;
    f.start();
    f.form()->setPickerDate(45300);
    QCOMPARE(captions(f.form()).first(), QString("Wednesday Jan 10"));
    nextDayButton(f.form())->click();
    QCOMPARE(captions(f.form()).first(), QString("Thursday Jan 11"));
    QCOMPARE(datePicker(f.form())->date(), QDate(2024, 1, 11));
}

void TestMainWindow::sectionButtonsChangeNoFile()
{
    MainWindowFixture f;
    f.start();
    const auto before = snapshot(f.root());
    listsButton(f.form())->click();
    QCOMPARE(sectionStack(f.form())->currentWidget(), listsPage(f.form()));
    projectsButton(f.form())->click();
    QCOMPARE(sectionStack(f.form())->currentWidget(), projectsPage(f.form()));
    decisionsButton(f.form())->click();
    QCOMPARE(sectionStack(f.form())->currentWidget(), decisionsPage(f.form()));
    calendarButton(f.form())->click();
    QCOMPARE(sectionStack(f.form())->currentWidget(), calendarPage(f.form()));
    QCOMPARE(snapshot(f.root()), before);
}

void TestMainWindow::layoutFigures()
{
    MainWindowFixture f;
    f.start();
    f.form()->showNormal();
    resizeOuter(f.form(), 1288, 808);
    QCOMPARE(f.form()->frameGeometry().size(), QSize(1288, 808));
    for (DayNoteColumn *e : f.form()->week()->columns()) {
        QCOMPARE(e->width(), 184);
        QCOMPARE(e->hostPanel()->width(), 184);
        QCOMPARE(e->height(), 676);
        QCOMPARE(noteEdit(e)->width(), 182);
    }
    QCOMPARE(datePicker(f.form())->x(), 503);
    // Columns are packed left to right in tag order.
    QWidget *calendarPage = f.form()->findChild<QWidget *>(QStringLiteral("TabSheet1"));
    const auto host = [calendarPage](const char *name) {
        return calendarPage->findChild<QWidget *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    };
    QVERIFY(host("Panel5")->x() < host("Panel7")->x());
    QVERIFY(host("Panel7")->x() < host("Panel6")->x());
}

void TestMainWindow::narrowWindowKeepsPickerRight()
{
    MainWindowFixture f;
    f.start();
    f.form()->showNormal();
    resizeOuter(f.form(), 600, 500);
    QCOMPARE(f.form()->frameGeometry().width(), 600);
    QCOMPARE(datePicker(f.form())->x(), 270);
}

void TestMainWindow::focusLossWritesTheEditedNote()
{
    MainWindowFixture f("45296");
    f.start();
    QApplication::setActiveWindow(f.form());
    QVERIFY(QTest::qWaitForWindowActive(f.form()));
    QVERIFY(dbFiles(f.root()).isEmpty());
    typeInto(dayColumn(f.form(), 1), "Dentist at 10");
    noteEdit(dayColumn(f.form(), 3))->setFocus();
    // Only the edited note is written; untouched days get no file.
    QTRY_COMPARE(dbFiles(f.root()), QStringList({"Jan-05-2024.txt"}));
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("Dentist at 10"));
}

void TestMainWindow::dayWithoutNoteCreatesNoFileUntilTyped()
{
    MainWindowFixture f;
    f.start();
    nextDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    QVERIFY(dbFiles(f.root()).isEmpty());
    QVERIFY(f.form()->week()->saveAllNotes());
    QVERIFY(dbFiles(f.root()).isEmpty());
    noteEdit(dayColumn(f.form(), 2))->insertPlainText("x");
    QVERIFY(f.form()->week()->saveAllNotes());
    QCOMPARE(dbFiles(f.root()), QStringList({"Jan-11-2024.txt"}));
}

void TestMainWindow::typedTextOnNewDaySurvivesMove()
{
    MainWindowFixture f("45296");
    f.start();
    DayNoteColumn *first = dayColumn(f.form(), 1);
    noteEdit(first)->insertPlainText("Buy milk\nand bread");
    nextDayButton(f.form())->click();
    // The column now shows 6 January; the note typed for 5 January is on disk.
    QCOMPARE(dateLabel(first)->text(), QString("Saturday Jan 06"));
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("Buy milk\r\nand bread"));
    previousDayButton(f.form())->click();
    QCOMPARE(first->text(), QString("Buy milk\nand bread"));
    // Untouched columns did not write anything.
    QVERIFY(!QFile::exists(f.dbFile("Jan-09-2024.txt")));
}

void TestMainWindow::loadedEditorLeavesItsFileAlone()
{
    MainWindowFixture f("45296");
    QDir().mkpath(f.root() + "DB");
    writeFileBytes(f.dbFile("Jan-05-2024.txt"), "old\r\nnote");
    f.start();
    DayNoteColumn *first = dayColumn(f.form(), 1);
    QCOMPARE(first->text(), QString("old\nnote"));
    QVERIFY(first->noteLoaded);
    const QDateTime written = QFileInfo(f.dbFile("Jan-05-2024.txt")).lastModified();
    nextDayButton(f.form())->click(); // leaves 5 January untouched: not written
    nextDayButton(f.form())->click(); // leaves 6 January, which had no note: no file
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("old\r\nnote"));
    QCOMPARE(QFileInfo(f.dbFile("Jan-05-2024.txt")).lastModified(), written);
    QCOMPARE(dbFiles(f.root()), QStringList({"Jan-05-2024.txt"}));
}

void TestMainWindow::notesReloadAfterRestart()
{
    MainWindowFixture f("45296");
    f.start();
    noteEdit(dayColumn(f.form(), 2))->insertPlainText(QString::fromUtf8("Café ‘Lumière’"));
    f.restart("45297");
    QCOMPARE(dayColumn(f.form(), 1)->text(), QString::fromUtf8("Café ‘Lumière’"));
}

void TestMainWindow::saveKeepsNotesChangedOnDisk()
{
    MainWindowFixture f("45296");
    f.start();
    noteEdit(dayColumn(f.form(), 1))->insertPlainText("mine");
    QVERIFY(f.form()->week()->saveAllNotes());
    // Another program deletes one note and rewrites another behind our back:
    // the editors hold nothing edited since, so nothing is written over it.
    QVERIFY(QFile::remove(f.dbFile("Jan-05-2024.txt")));
    writeFileBytes(f.dbFile("Jan-06-2024.txt"), "changed elsewhere, longer");
    QVERIFY(f.form()->week()->saveAllNotes());
    QVERIFY(!QFile::exists(f.dbFile("Jan-05-2024.txt")));
    QCOMPARE(fileBytes(f.dbFile("Jan-06-2024.txt")), QByteArray("changed elsewhere, longer"));
    // The next move shows what is on disk now.
    nextDayButton(f.form())->click();
    QCOMPARE(dayColumn(f.form(), 1)->text(), QString("changed elsewhere, longer"));
}

void TestMainWindow::unchangedNotesAreNotRewritten()
{
    MainWindowFixture f("45296");
    f.start();
    noteEdit(dayColumn(f.form(), 1))->insertPlainText("once");
    QVERIFY(f.form()->week()->saveAllNotes());
    const QDateTime written = QFileInfo(f.dbFile("Jan-05-2024.txt")).lastModified();
    // A file the editors hold unchanged is not written again: prove it by
    // swapping the file's bytes while keeping its size and time.
    QFile file(f.dbFile("Jan-05-2024.txt"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.write("ONCE");
    file.flush();
    file.setFileTime(written, QFileDevice::FileModificationTime);
    file.close();
    QVERIFY(f.form()->week()->saveAllNotes());
    nextDayButton(f.form())->click();
    previousDayButton(f.form())->click();
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("ONCE"));
}

void TestMainWindow::closeWritesTheEditedNotes()
{
    MainWindowFixture f("45296");
    f.start();
    noteEdit(dayColumn(f.form(), 7))->insertPlainText("last");
    QVERIFY(f.form()->close());
    QCOMPARE(dbFiles(f.root()), QStringList({"Jan-11-2024.txt"}));
    QCOMPARE(fileBytes(f.dbFile("Jan-11-2024.txt")), QByteArray("last"));
    QVERIFY(f.form()->week()->columns().isEmpty());
}

void TestMainWindow::closeBeforeStartWritesNothing()
{
    MainWindowFixture f;
    f.form()->show();
    QVERIFY(f.form()->close());
    QVERIFY(!QDir(f.root() + "DB").exists());
    // The start-up timer does not fire after the close.
    QVERIFY(!f.form()->findChild<QTimer *>(QStringLiteral("Timer1"), Qt::FindDirectChildrenOnly)->isActive());
}

void TestMainWindow::removedDataFolderReportsAndKeepsText()
{
    MainWindowFixture f("45296");
    f.start();
    DayNoteColumn *first = dayColumn(f.form(), 1);
    noteEdit(first)->insertPlainText("precious words");
    QVERIFY(QDir(f.root() + "DB").removeRecursively());

    nextDayButton(f.form())->click();
    QCOMPARE(f.fakes.dialogs.errors.size(), 1);
    QVERIFY2(f.fakes.dialogs.errors.first().contains("Jan-05-2024.txt"),
             qPrintable(f.fakes.dialogs.errors.first()));
    // The column did not move away from the unsaved text.
    QCOMPARE(dateLabel(first)->text(), QString("Friday Jan 05"));
    QCOMPARE(first->text(), QString("precious words"));

    // Once the folder is back, the next save succeeds.
    QDir().mkpath(f.root() + "DB");
    QVERIFY(f.form()->week()->saveAllNotesReporting());
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("precious words"));
}

void TestMainWindow::closeWithUnwritableNotesAsks()
{
    MainWindowFixture f("45296");
    f.start();
    noteEdit(dayColumn(f.form(), 1))->insertPlainText("keep me");
    QVERIFY(QDir(f.root() + "DB").removeRecursively());
    f.fakes.dialogs.answers.enqueue(false); // "Close anyway?" No
    QVERIFY(!f.form()->close());
    QCOMPARE(f.fakes.dialogs.questions.size(), 1);
    QVERIFY(f.fakes.dialogs.questions.first().contains("Jan-05-2024.txt"));
    QCOMPARE(dayColumn(f.form(), 1)->text(), QString("keep me"));
    QVERIFY(!f.form()->closing());

    QDir().mkpath(f.root() + "DB");
    QVERIFY(f.form()->close());
    QCOMPARE(fileBytes(f.dbFile("Jan-05-2024.txt")), QByteArray("keep me"));
}

void TestMainWindow::folderPictureCreatesAndOpensDayFolder()
{
    MainWindowFixture f("45296");
    f.start();
    DayNoteColumn *e = dayColumn(f.form(), 2);
    QVERIFY(!createFolderButton(e)->isHidden());
    QVERIFY(openFolderButton(e)->isHidden());
    createFolderButton(e)->click();
    const QString folder = f.root() + "UserData/Jan-06-2024";
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(f.fakes.shell.openedFolders, QStringList({folder}));
    QVERIFY(createFolderButton(e)->isHidden());
    QVERIFY(!openFolderButton(e)->isHidden());
    // Shown again later, the date keeps its open folder picture.
    nextDayButton(f.form())->click();
    QVERIFY(!openFolderButton(dayColumn(f.form(), 1))->isHidden());
    QVERIFY(openFolderButton(dayColumn(f.form(), 2))->isHidden());
}

void TestMainWindow::editMenuActsOnFocusedEditor()
{
    MainWindowFixture f;
    f.start();
    QApplication::setActiveWindow(f.form());
    QVERIFY(QTest::qWaitForWindowActive(f.form()));
    DayNoteColumn *e = dayColumn(f.form(), 2);
    typeInto(e, "hello");
    f.form()->selectAllText();
    f.form()->cutSelection();
    QCOMPARE(e->text(), QString());
    f.form()->pasteClipboard();
    f.form()->pasteClipboard();
    QCOMPARE(e->text(), QString("hellohello"));
    f.form()->undoEdit();
    QCOMPARE(e->text(), QString("hello"));
}

void TestMainWindow::smallCalendar()
{
    MainWindowFixture f;
    f.start();
    f.form()->showSmallCalendar();
    QCOMPARE(f.form()->frameGeometry().size(), QSize(770, 550));
    QCOMPARE(f.form()->frameGeometry().top(), 5);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
