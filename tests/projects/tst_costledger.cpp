// The cost ledger without a window: its shape over time, switching between
// projects, the balance, and files that are damaged or cannot be written.

#include "testhelpers.h"
#include "core/common/textfile.h"
#include "core/grid/gridroutines.h"
#include "core/projects/costledger.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {


const QDateTime kNow(QDate(2024, 3, 5), QTime(10, 0));

} // namespace

class TestCostLedger : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void startUpShape();
    void firstSwitchShowsAnEmptyLedger();
    void addTwiceAndDelete();
    void deleteOnHeadingRowDoesNothing();
    void itemsBeforeAnySelectionVanish();
    void gardenCarGardenRoundTrip();
    void trimmedNamesShareALedger();
    void deletedProjectIsNotWritten();
    void balance_data();
    void balance();
    void balanceInAnotherLocale();
    void damagedFileIsNeverWrittenOver();
    void unreadableNameIsReadOnly();
    void writeFailureKeepsRows();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_projects;
    QString folder(const QString &name) const { return m_projects + name + "/"; }
    void makeProject(const QString &name) { QVERIFY(QDir().mkpath(folder(name))); }
};

void TestCostLedger::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestCostLedger::init()
{
    // The folder of the previous case goes with its owner.
    m_dir = std::make_unique<QTemporaryDir>();
    m_projects = m_dir->path() + "/Projects/";
    QVERIFY(QDir().mkpath(m_projects));
}

void TestCostLedger::startUpShape()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    ledger.setLedgerHeadings();
    const StringGrid &money = ledger.money();
    QCOMPARE(money.rowCount(), 200);
    QCOMPARE(money.columnCount(), 4);
    QCOMPARE(money.fixedRows(), 1);
    QCOMPARE(money.rowCells(0), (QStringList{"Item name", "Date", "Debit", "Credit"}));
    QCOMPARE(ledger.ownerName(), QString());
    QCOMPARE(ledger.ledgerFileName(), QString());
    QVERIFY(ledger.editable());
}

void TestCostLedger::firstSwitchShowsAnEmptyLedger()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    makeProject("Garden");
    QVERIFY(ledger.switchTo("Garden"));
    QCOMPARE(ledger.money().rowCount(), 100);
    QCOMPARE(ledger.money().fixedRows(), 0);
    QCOMPARE(ledger.money().rowCells(0), (QStringList{"Item name", "Date", "Debit", "Credit"}));
    QCOMPARE(ledger.money().rowCells(99), (QStringList{"", "", "", ""}));
    QCOMPARE(ledger.ledgerFileName(), m_projects + "Garden/money.txt");
    // Nothing is written by switching to a project.
    QVERIFY(!QFile::exists(m_projects + "Garden/money.txt"));

    // Switching away untouched writes nothing; once edited, every row,
    // empty rows as three commas.
    makeProject("Car");
    QVERIFY(ledger.saveLedger());
    QVERIFY(!QFile::exists(m_projects + "Garden/money.txt"));
    ledger.money().setCell(0, 5, "x");
    ledger.money().setCell(0, 5, "");
    QVERIFY(ledger.saveLedger());
    QVERIFY(ledger.switchTo("Car"));
    const QStringList lines = TextFile::readLines(m_projects + "Garden/money.txt").value;
    QCOMPARE(lines.size(), 100);
    QCOMPARE(lines.first(), QString("\"Item name\",Date,Debit,Credit"));
    QCOMPARE(lines.last(), QString(",,,"));
}

void TestCostLedger::addTwiceAndDelete()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    makeProject("Garden");
    ledger.switchTo("Garden");
    ledger.money().setCurrentRow(50);
    ledger.AddItem(kNow);
    ledger.money().setCell(0, 1, "Hose");
    ledger.AddItem(kNow.addDays(1));
    QCOMPARE(ledger.money().rowCount(), 102);
    QCOMPARE(ledger.money().rowCells(1), (QStringList{"New Item Name", "Mar 6, 2024", "0.0", ""}));
    QCOMPARE(ledger.money().rowCells(2), (QStringList{"Hose", "Mar 5, 2024", "0.0", ""}));
    // The current row is not moved by adding.
    QCOMPARE(ledger.money().currentRow(), 50);

    ledger.money().setCurrentRow(1);
    ledger.deleteCurrentItem();
    QCOMPARE(ledger.money().rowCount(), 101);
    QCOMPARE(ledger.money().cell(0, 1), QString("Hose"));
    QCOMPARE(ledger.money().currentRow(), 1);
}

void TestCostLedger::deleteOnHeadingRowDoesNothing()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    makeProject("Garden");
    ledger.switchTo("Garden");
    // After a switch the heading row is an ordinary row and can be current.
    ledger.money().setCurrentRow(0);
    QCOMPARE(ledger.money().currentRow(), 0);
    ledger.deleteCurrentItem();
    QCOMPARE(ledger.money().rowCount(), 100);
    QCOMPARE(ledger.money().cell(0, 0), QString("Item name"));
}

void TestCostLedger::itemsBeforeAnySelectionVanish()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    ledger.setLedgerHeadings();
    ledger.AddItem(kNow);
    QCOMPARE(ledger.money().rowCount(), 201);
    QVERIFY(ledger.saveLedger());
    makeProject("Garden");
    QVERIFY(ledger.switchTo("Garden"));
    QCOMPARE(ledger.money().cell(0, 1), QString());
    // No file was written anywhere for the rows without a project.
    QCOMPARE(QDir(m_projects).entryList(QDir::Files), QStringList());
    QVERIFY(!QFile::exists(m_projects + "money.txt"));
    QVERIFY(!QFile::exists(m_projects + "Garden/money.txt"));
}

void TestCostLedger::gardenCarGardenRoundTrip()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    makeProject("Garden");
    makeProject("Car");
    ledger.switchTo("Garden");
    ledger.AddItem(kNow);
    ledger.money().setRowCells(1, {"Seeds", "Mar 5, 2024", "12.5", ""});
    ledger.AddItem(kNow);
    ledger.money().setRowCells(1, {"Sold \"old\" mower, blue", "Mar 6, 2024", "", "50"});

    QVERIFY(ledger.saveLedger());
    QVERIFY(ledger.switchTo("Car"));
    QCOMPARE(ledger.money().cell(0, 1), QString());
    ledger.AddItem(kNow);
    ledger.money().setCell(0, 1, "Tyres");

    QVERIFY(ledger.saveLedger());
    QVERIFY(ledger.switchTo("Garden"));
    // The row count is the number of lines Garden's file holds.
    QCOMPARE(ledger.money().rowCount(), TextFile::readLines(m_projects + "Garden/money.txt").value.size());
    QCOMPARE(ledger.money().rowCount(), 102);
    QCOMPARE(ledger.money().rowCells(1),
             (QStringList{"Sold \"old\" mower, blue", "Mar 6, 2024", " ", "50"}));
    QCOMPARE(ledger.money().rowCells(2), (QStringList{"Seeds", "Mar 5, 2024", "12.5", " "}));
    QCOMPARE(ledger.money().rowCells(0), (QStringList{"Item name", "Date", "Debit", "Credit"}));
    QCOMPARE(balanceCaption(ledger.Balance()), QString("Balance: $ 37.50"));

    QVERIFY(ledger.saveLedger());
    QVERIFY(ledger.switchTo("Car"));
    QCOMPARE(ledger.money().cell(0, 1), QString("Tyres"));
}

void TestCostLedger::trimmedNamesShareALedger()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    makeProject("Garden");
    ledger.switchTo("  Garden\t ");
    QCOMPARE(ledger.ownerName(), QString("Garden"));
    QCOMPARE(ledger.ledgerFileName(), m_projects + "Garden/money.txt");
}

void TestCostLedger::deletedProjectIsNotWritten()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    makeProject("Garden");
    ledger.switchTo("Garden");
    ledger.AddItem(kNow);
    // Deleted through the project list: never written again.
    QVERIFY(QDir(folder("Garden")).removeRecursively());
    ledger.ownerDeleted();
    QVERIFY(!ledger.editable());
    QVERIFY(ledger.saveLedger());
    QVERIFY(!QFile::exists(folder("Garden")));

    // Gone behind the program's back while rows were being typed: the
    // folder is made again and the rows are kept.
    makeProject("Car");
    QVERIFY(ledger.switchTo("Car"));
    ledger.AddItem(kNow);
    QVERIFY(QDir(folder("Car")).removeRecursively());
    QVERIFY(ledger.saveLedger());
    QCOMPARE(TextFile::readLines(folder("Car") + "money.txt").value.size(), 101);

    // Without the projects folder itself the save fails and says so.
    ledger.AddItem(kNow);
    QVERIFY(QDir(m_projects).removeRecursively());
    const Result refused = ledger.saveLedger();
    QVERIFY(!refused);
    QVERIFY(refused.error.contains("money.txt"));
}

void TestCostLedger::balance_data()
{
    QTest::addColumn<QStringList>("debits");
    QTest::addColumn<QStringList>("credits");
    QTest::addColumn<QString>("caption");
    // Each case as the exact balance to the cent.
    QTest::newRow("worked example") << QStringList{"0.0", "12.5", "7.75"} << QStringList{"50", ""}
                                    << "Balance: $ 29.75";
    QTest::newRow("no items") << QStringList{} << QStringList{} << "Balance: $ 0.00";
    QTest::newRow("negative debit ignored") << QStringList{"-20", "5"} << QStringList{"10"}
                                            << "Balance: $ 5.00";
    QTest::newRow("single debit of 9.99") << QStringList{"9.99"} << QStringList{}
                                          << "Balance: $ -9.99";
    QTest::newRow("text and blanks ignored") << QStringList{"abc", " ", "1"}
                                             << QStringList{"x", "2.5"} << "Balance: $ 1.50";
    QTest::newRow("cents that do not add up in binary") << QStringList{"0.1", "0.2"}
                                                        << QStringList{"0.3"} << "Balance: $ 0.00";
    QTest::newRow("amount too large to add exactly is passed over")
        << QStringList{"1e308", "1e308"} << QStringList{} << "Balance: $ 0.00";
}

void TestCostLedger::balance()
{
    QFETCH(QStringList, debits);
    QFETCH(QStringList, credits);
    QFETCH(QString, caption);
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    makeProject("Garden");
    ledger.switchTo("Garden");
    for (int i = 0; i < debits.size(); ++i)
        ledger.money().setCell(2, i + 1, debits.at(i));
    for (int i = 0; i < credits.size(); ++i)
        ledger.money().setCell(3, i + 1, credits.at(i));
    // The headings are never counted.
    ledger.money().setRowCells(0, {"Item name", "Date", "1000", "2000"});
    QCOMPARE(balanceCaption(ledger.Balance()), caption);
}

void TestCostLedger::balanceInAnotherLocale()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    CostLedger ledger;
    ledger.money().setCell(2, 1, "12,5");
    ledger.money().setCell(3, 1, "20");
    QCOMPARE(balanceCaption(ledger.Balance(german), german), QString("Balance: $ 7,50"));
}

void TestCostLedger::damagedFileIsNeverWrittenOver()
{
    makeProject("Garden");
    makeProject("Car");
    const QString path = m_projects + "Garden/money.txt";
    // A megabyte of commas: far more cells than a ledger line can have.
    const QByteArray damaged = QByteArray(1024 * 1024, ',') + "\r\n";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    const Result unread = ledger.switchTo("Garden");
    QVERIFY(!unread);
    QVERIFY(unread.error.contains(path));
    QVERIFY(!ledger.editable());
    QVERIFY(!(ledger.money().flags(ledger.money().index(1, 0)) & Qt::ItemIsEditable));
    ledger.AddItem(kNow);
    QCOMPARE(ledger.money().rowCount(), 100);
    QVERIFY(ledger.saveLedger());
    QCOMPARE(fileBytes(path), damaged);

    // The next project is an ordinary, editable ledger again.
    QVERIFY(ledger.switchTo("Car"));
    QVERIFY(ledger.editable());
    ledger.AddItem(kNow);
    QCOMPARE(ledger.money().rowCount(), 101);

    // Binary bytes are not read as text: the file is moved aside whole,
    // the message says where, and a new, editable ledger starts.
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(static_cast<char>((i * 37 + 11) % 256));
    binary += "\"unclosed,\r\n";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(binary);
    }
    QVERIFY(ledger.saveLedger());
    const Result movedAside = ledger.switchTo("Garden");
    QVERIFY(!movedAside);
    QVERIFY2(movedAside.error.contains("could not be read as text") && movedAside.error.contains(path + ".damaged"),
             qPrintable(movedAside.error));
    QCOMPARE(fileBytes(path + ".damaged"), binary);
    QVERIFY(ledger.editable());
    QCOMPARE(ledger.money().cell(0, 0), QString("Item name"));
    ledger.AddItem(kNow);
    QVERIFY(ledger.saveLedger());
    QVERIFY(fileBytes(path).contains("Item name"));
    QCOMPARE(fileBytes(path + ".damaged"), binary);
}

void TestCostLedger::unreadableNameIsReadOnly()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    for (const QString &name : {QString("../Config"), QString(".."), QString("a\\b")}) {
        const Result refused = ledger.switchTo(name);
        QVERIFY(!refused);
        QVERIFY(refused.error.contains(name));
        QCOMPARE(ledger.ledgerFileName(), QString());
        QVERIFY(!ledger.editable());
        QVERIFY(ledger.saveLedger());
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
}

void TestCostLedger::writeFailureKeepsRows()
{
    CostLedger ledger;
    ledger.setProjectsDir(m_projects);
    makeProject("Garden");
    ledger.switchTo("Garden");
    ledger.AddItem(kNow);
    // A folder in the place of the file makes the write fail.
    QVERIFY(QDir().mkpath(m_projects + "Garden/money.txt"));
    const Result refused = ledger.saveLedger();
    QVERIFY(!refused);
    QVERIFY(refused.error.contains("money.txt"));
    QCOMPARE(ledger.money().cell(0, 1), QString("New Item Name"));
}

QTEST_GUILESS_MAIN(TestCostLedger)
#include "tst_costledger.moc"
