// The ledger inside the real main window: start-up shape, saving at
// close, a restart that brings the rows back, and the project folder.

#include "ui/common/pictures.h"
#include "core/common/textfile.h"
#include "ui/grid/stringgridview.h"
#include "mainwindowfixture.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/projectssection.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestLedgerWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startUpWritesHeadings();
    void rowsSurviveARestart();
    void closeAsksWhenTheLedgerCannotBeSaved();
    void rowsWithoutAProjectAreNotSavedAtClose();
    void labelsOpenTheProjectFolder();
};

void TestLedgerWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestLedgerWindow::startUpWritesHeadings()
{
    MainWindowFixture fixture;
    auto *money = fixture.form()->findChild<StringGridView *>("money");
    QVERIFY(money);
    // Before the start-up step the grid is there, without headings.
    QCOMPARE(money->grid()->cell(0, 0), QString());
    fixture.start();
    QCOMPARE(money->grid()->rowCount(), 200);
    QCOMPARE(money->grid()->fixedRows(), 1);
    QCOMPARE(money->grid()->rowCells(0), (QStringList{"Item name", "Date", "Debit", "Credit"}));
    QCOMPARE(fixture.form()->findChild<QLabel *>("Balance_Label")->text(), QString("Balance:"));
    QCOMPARE(fixture.form()->projectsSection()->ledger()->ownerName(), QString());
}

void TestLedgerWindow::rowsSurviveARestart()
{
    MainWindowFixture fixture;
    fixture.start();
    const QString garden = fixture.root() + "Projects/Garden/";
    QVERIFY(QDir().mkpath(garden));
    fixture.form()->showProjects();
    CostLedgerWidget *ledger = fixture.form()->projectsSection()->ledger();
    QVERIFY(ledger->switchLedger("Garden"));
    QTest::mouseClick(addRowButton(ledger), Qt::LeftButton);
    // Typing into the item name; still being edited when the window closes.
    moneyGrid(ledger)->setFocus();
    moneyGrid(ledger)->setCurrentIndex(moneyGrid(ledger)->grid()->index(1, 0));
    QTest::keyClick(moneyGrid(ledger), Qt::Key_F2);
    QLineEdit *editor = moneyGrid(ledger)->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "Rake, wooden");

    fixture.restart();
    const QStringList lines = TextFile::readLines(garden + "money.txt").value;
    QCOMPARE(lines.size(), 101);
    QCOMPARE(lines.at(1), QString("\"Rake, wooden\",\"Jan 10, 2024\",0.0,"));

    ledger = fixture.form()->projectsSection()->ledger();
    QVERIFY(ledger->switchLedger("Garden"));
    QCOMPARE(moneyGrid(ledger)->grid()->rowCount(), 101);
    QCOMPARE(moneyGrid(ledger)->grid()->rowCells(1),
             (QStringList{"Rake, wooden", "Jan 10, 2024", "0.0", " "}));
}

void TestLedgerWindow::closeAsksWhenTheLedgerCannotBeSaved()
{
    MainWindowFixture fixture;
    fixture.start();
    const QString garden = fixture.root() + "Projects/Garden/";
    QVERIFY(QDir().mkpath(garden));
    fixture.form()->showProjects();
    CostLedgerWidget *ledger = fixture.form()->projectsSection()->ledger();
    QVERIFY(ledger->switchLedger("Garden"));
    QTest::mouseClick(addRowButton(ledger), Qt::LeftButton);
    QVERIFY(QDir().mkpath(garden + "money.txt"));

    fixture.fakes.dialogs.answers.enqueue(false);
    QVERIFY(!fixture.form()->close());
    QCOMPARE(fixture.fakes.dialogs.questions.size(), 1);
    QVERIFY(fixture.fakes.dialogs.questions.first().contains("money.txt"));
    QVERIFY(!fixture.form()->closing());
    QCOMPARE(moneyGrid(ledger)->grid()->cell(0, 1), QString("New Item Name"));

    // Freed again, the next close saves.
    QVERIFY(QDir(garden + "money.txt").removeRecursively());
    QVERIFY(fixture.form()->close());
    QCOMPARE(TextFile::readLines(garden + "money.txt").value.size(), 101);
}

void TestLedgerWindow::rowsWithoutAProjectAreNotSavedAtClose()
{
    MainWindowFixture fixture;
    fixture.start();
    fixture.form()->showProjects();
    QTest::mouseClick(addRowButton(fixture.form()->projectsSection()->ledger()), Qt::LeftButton);
    fixture.restart();
    QDir projects(fixture.root() + "Projects");
    QCOMPARE(projects.entryList(QStringList{"money.txt"}, QDir::Files), QStringList());
    QVERIFY(fixture.fakes.dialogs.questions.isEmpty());
}

void TestLedgerWindow::labelsOpenTheProjectFolder()
{
    MainWindowFixture fixture;
    fixture.start();
    const QString garden = fixture.root() + "Projects/Garden/";
    QVERIFY(QDir().mkpath(garden));
    fixture.form()->showProjects();
    QVERIFY(fixture.form()->projectsSection()->ledger()->switchLedger("Garden"));
    QTest::mouseClick(recordLabel(fixture.form()->projectsSection()->ledger()), Qt::LeftButton);
    QCOMPARE(fixture.fakes.shell.openedFolders.size(), 1);
    QCOMPARE(QDir(fixture.fakes.shell.openedFolders.first()).canonicalPath(),
             QDir(garden).canonicalPath());
}

QTEST_MAIN(TestLedgerWindow)
#include "tst_ledgerwindow.moc"
