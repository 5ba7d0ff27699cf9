// The ledger widget: buttons, editing in place, the balance label, and
// what the user is told when a ledger file cannot be read or written.

#include "mainwindowfixture.h"
#include "core/common/textfile.h"
#include "ui/common/pictures.h"
#include "fakes.h"
#include "ui/grid/stringgridview.h"
#include "ui/projects/costledgerwidget.h"

#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestCostLedgerWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void namedControls();
    void plusTwiceAndMinus();
    void minusOnHeadingRowDeletesNothing();
    void typedCellIsSavedOnSwitch();
    void calculateShowsExactBalance();
    void labelsAskForTheProjectFolder();
    void saveFailureAsksBeforeSwitching();
    void unreadableLedgerIsReadOnly();
    void notesEditorSitsBesideTheGrid();

private:
    QTemporaryDir *m_dir = nullptr;
    FakeServices *m_fakes = nullptr;
    CostLedgerWidget *m_ledger = nullptr;
    QString m_projects;
    StringGrid &money() { return m_ledger->ledger().money(); }
    void makeProject(const QString &name) { QVERIFY(QDir().mkpath(m_projects + name)); }
};

void TestCostLedgerWidget::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestCostLedgerWidget::init()
{
    m_dir = new QTemporaryDir;
    m_projects = m_dir->path() + "/Projects/";
    QVERIFY(QDir().mkpath(m_projects));
    m_fakes = new FakeServices;
    m_fakes->clock.set(QDateTime(QDate(2024, 3, 5), QTime(10, 0)));
    m_ledger = new CostLedgerWidget(m_fakes->services());
    m_ledger->setProjectsDir(m_projects);
    m_ledger->setLedgerHeadings();
    m_ledger->resize(700, 500);
    m_ledger->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ledger));
}

void TestCostLedgerWidget::cleanup()
{
    delete m_ledger;
    delete m_fakes;
    delete m_dir;
}

void TestCostLedgerWidget::namedControls()
{
    for (const char *name : {"money", "Panel11", "Label6", "btnAdd", "btnDel", "Balance_Label",
                             "btnBalance"})
        QVERIFY2(m_ledger->findChild<QWidget *>(name), name);
    QCOMPARE(recordLabel(m_ledger)->text(), QString("Record:"));
    QCOMPARE(balanceLabel(m_ledger)->text(), QString("Balance:"));
    QCOMPARE(calculateButton(m_ledger)->text(), QString("Calculate"));
    QCOMPARE(addRowButton(m_ledger)->accessibleName(), QString("Add item"));
    QCOMPARE(ledgerBottomPanel(m_ledger)->height(), 41);
    QCOMPARE(moneyGrid(m_ledger)->width(), 433);
    QCOMPARE(moneyGrid(m_ledger)->columnWidth(0), 175);
    QCOMPARE(moneyGrid(m_ledger)->columnWidth(1), 103);
    QCOMPARE(moneyGrid(m_ledger)->rowHeight(5), 20);
}

void TestCostLedgerWidget::plusTwiceAndMinus()
{
    makeProject("Garden");
    QVERIFY(m_ledger->switchLedger("Garden"));
    money().setCurrentRow(40);
    QTest::mouseClick(addRowButton(m_ledger), Qt::LeftButton);
    money().setCell(0, 1, "First");
    QTest::mouseClick(addRowButton(m_ledger), Qt::LeftButton);
    QCOMPARE(money().rowCount(), 102);
    QCOMPARE(money().rowCells(1), (QStringList{"New Item Name", "Mar 5, 2024", "0.0", ""}));
    QCOMPARE(money().cell(0, 2), QString("First"));

    // Minus deletes the current row, without asking.
    moneyGrid(m_ledger)->setCurrentIndex(money().index(2, 0));
    QTest::mouseClick(deleteRowButton(m_ledger), Qt::LeftButton);
    QCOMPARE(money().rowCount(), 101);
    QCOMPARE(money().cell(0, 1), QString("New Item Name"));
    QCOMPARE(money().cell(0, 2), QString());
    QCOMPARE(moneyGrid(m_ledger)->currentIndex().row(), 1);
    QVERIFY(m_fakes->dialogs.questions.isEmpty());

    // The keyboard reaches the buttons.
    addRowButton(m_ledger)->setFocus();
    QTest::keyClick(addRowButton(m_ledger), Qt::Key_Space);
    QCOMPARE(money().rowCount(), 102);
}

void TestCostLedgerWidget::minusOnHeadingRowDeletesNothing()
{
    makeProject("Garden");
    QVERIFY(m_ledger->switchLedger("Garden"));
    moneyGrid(m_ledger)->setCurrentIndex(money().index(0, 1));
    QCOMPARE(money().currentRow(), 0);
    QTest::mouseClick(deleteRowButton(m_ledger), Qt::LeftButton);
    QCOMPARE(money().rowCount(), 100);
    QCOMPARE(money().cell(0, 0), QString("Item name"));
}

void TestCostLedgerWidget::typedCellIsSavedOnSwitch()
{
    makeProject("Garden");
    makeProject("Car");
    QVERIFY(m_ledger->switchLedger("Garden"));
    moneyGrid(m_ledger)->setFocus();
    moneyGrid(m_ledger)->setCurrentIndex(money().index(1, 2));
    QTest::keyClick(moneyGrid(m_ledger), '4');
    QLineEdit *editor = moneyGrid(m_ledger)->findChild<QLineEdit *>();
    QVERIFY(editor);
    QTest::keyClicks(editor, "2.5");
    // Still editing when the project changes: what was typed is kept.
    QVERIFY(m_ledger->switchLedger("Car"));
    const QStringList lines = TextFile::readLines(m_projects + "Garden/money.txt").value;
    QCOMPARE(lines.size(), 100);
    QCOMPARE(lines.at(1), QString(",,42.5,"));
    QVERIFY(m_ledger->switchLedger("Garden"));
    QCOMPARE(money().cell(2, 1), QString("42.5"));
}

void TestCostLedgerWidget::calculateShowsExactBalance()
{
    makeProject("Garden");
    QVERIFY(m_ledger->switchLedger("Garden"));
    QTest::mouseClick(calculateButton(m_ledger), Qt::LeftButton);
    QCOMPARE(balanceLabel(m_ledger)->text(), QString("Balance: $ 0.00"));
    money().setCell(2, 1, "0.0");
    money().setCell(2, 2, "12.5");
    money().setCell(2, 3, "7.75");
    money().setCell(3, 1, "50");
    money().setCell(2, 4, "-20");
    QTest::mouseClick(calculateButton(m_ledger), Qt::LeftButton);
    QCOMPARE(balanceLabel(m_ledger)->text(), QString("Balance: $ 29.75"));
    // After a switch the caption is the new project's at once.
    makeProject("Car");
    QVERIFY(m_ledger->switchLedger("Car"));
    QCOMPARE(balanceLabel(m_ledger)->text(), QString("Balance: $ 0.00"));
    money().setCell(2, 1, "9.99");
    QTest::mouseClick(calculateButton(m_ledger), Qt::LeftButton);
    QCOMPARE(balanceLabel(m_ledger)->text(), QString("Balance: $ -9.99"));
}

void TestCostLedgerWidget::labelsAskForTheProjectFolder()
{
    QSignalSpy spy(m_ledger, &CostLedgerWidget::projectFolderRequested);
    QTest::mouseClick(recordLabel(m_ledger), Qt::LeftButton);
    QTest::mouseClick(balanceLabel(m_ledger), Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
}

void TestCostLedgerWidget::saveFailureAsksBeforeSwitching()
{
    makeProject("Garden");
    makeProject("Car");
    QVERIFY(m_ledger->switchLedger("Garden"));
    QTest::mouseClick(addRowButton(m_ledger), Qt::LeftButton);
    // A folder where the file should be: the write fails.
    QVERIFY(QDir().mkpath(m_projects + "Garden/money.txt"));

    m_fakes->dialogs.answers.enqueue(false);
    QVERIFY(!m_ledger->switchLedger("Car"));
    QCOMPARE(m_fakes->dialogs.questions.size(), 1);
    QVERIFY(m_fakes->dialogs.questions.first().contains("money.txt"));
    QVERIFY(m_fakes->dialogs.questions.first().contains("\"Car\""));
    QCOMPARE(m_ledger->ownerName(), QString("Garden"));
    QCOMPARE(money().cell(0, 1), QString("New Item Name"));

    m_fakes->dialogs.answers.enqueue(true);
    QVERIFY(m_ledger->switchLedger("Car"));
    QCOMPARE(m_ledger->ownerName(), QString("Car"));
}

void TestCostLedgerWidget::unreadableLedgerIsReadOnly()
{
    makeProject("Garden");
    makeProject("Car");
    const QString path = m_projects + "Garden/money.txt";
    const QByteArray damaged(200000, ',');
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    QVERIFY(m_ledger->switchLedger("Garden"));
    QCOMPARE(m_fakes->dialogs.errors.size(), 1);
    QVERIFY(m_fakes->dialogs.errors.first().contains(path));
    QVERIFY(!addRowButton(m_ledger)->isEnabled());
    QVERIFY(!deleteRowButton(m_ledger)->isEnabled());
    moneyGrid(m_ledger)->setCurrentIndex(money().index(1, 0));
    QTest::keyClick(moneyGrid(m_ledger), 'x');
    QVERIFY(!moneyGrid(m_ledger)->findChild<QLineEdit *>());
    QVERIFY(m_ledger->switchLedger("Car"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), damaged);
    QVERIFY(addRowButton(m_ledger)->isEnabled());
}

void TestCostLedgerWidget::notesEditorSitsBesideTheGrid()
{
    auto *notes = new QPlainTextEdit;
    notes->setObjectName("BuyItem");
    m_ledger->setNotesEditor(notes);
    QCOMPARE(notes->parentWidget(), m_ledger);
    QTRY_VERIFY(notes->isVisible());
    QCOMPARE(notes->x(), moneyGrid(m_ledger)->geometry().right() + 1);
    QVERIFY(notes->width() > 200);
    QVERIFY(notes->geometry().bottom() < ledgerBottomPanel(m_ledger)->y());
}

QTEST_MAIN(TestCostLedgerWidget)
#include "tst_costledgerwidget.moc"
