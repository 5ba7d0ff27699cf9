// Ledger amounts added as exact decimals, read the same way whatever the
// desktop's language, and the cells the balance passes over named.

#include "core/projects/amount.h"
#include "core/projects/costledger.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QLocale localeNamed(const QString &name)
{
    return name == QLatin1String("C") ? QLocale::c() : QLocale(name);
}

// A ledger owned by a project, with the given debits and credits from row 1.
void fill(CostLedger &ledger, const QStringList &debits, const QStringList &credits)
{
    for (int i = 0; i < debits.size(); ++i)
        ledger.money().setCell(2, i + 1, debits.at(i));
    for (int i = 0; i < credits.size(); ++i)
        ledger.money().setCell(3, i + 1, credits.at(i));
}

} // namespace

class TestAmount : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void largeSumsAddToTheCent_data()
    {
        QTest::addColumn<QStringList>("credits");
        QTest::addColumn<QString>("caption");
        QTest::newRow("trillions and a cent") << QStringList{"99999999999999.99", "0.01"}
                                              << "Balance: $ 100000000000000.00";
        QTest::newRow("ten to the twentieth less one") << QStringList{"99999999999999999999"}
                                                       << "Balance: $ 99999999999999999999.00";
        QTest::newRow("cents that do not add up in binary") << QStringList{"0.1", "0.2", "0.3"}
                                                            << "Balance: $ 0.60";
        QTest::newRow("half a cent rounds away from zero") << QStringList{"0.005"} << "Balance: $ 0.01";
        QTest::newRow("exponent") << QStringList{"1.5e3", "2E-2"} << "Balance: $ 1500.02";
    }
    void largeSumsAddToTheCent()
    {
        QFETCH(QStringList, credits);
        QFETCH(QString, caption);
        CostLedger ledger;
        fill(ledger, {}, credits);
        const Amount::Balance balance = ledger.Balance(QLocale::c());
        QVERIFY(!balance.overflow);
        QVERIFY(balance.skipped.isEmpty());
        QCOMPARE(balanceCaption(balance, QLocale::c()), caption);
    }

    void tooLargeIsSaidNeverRounded()
    {
        CostLedger ledger;
        // One amount beyond what can be added exactly is named, not added.
        fill(ledger, {"1e308", "5"}, {});
        Amount::Balance balance = ledger.Balance(QLocale::c());
        QCOMPARE(balance.skipped.size(), 1);
        QCOMPARE(balance.skipped.first().reading, Amount::Reading::TooLarge);
        QCOMPARE(balanceCaption(balance, QLocale::c()), QString("Balance: $ -5.00"));
        QVERIFY(skippedRowsNote(balance).contains("too large"));
    }

    // The ledger of a German user: debits 12.5 and 7.75 and a credit written with a
    // decimal comma, under each language.
    void theBalanceDoesNotDependOnTheLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("skipped");
        QTest::newRow("German") << "de_DE" << "Balance: $ -18,75" << 0;
        QTest::newRow("French") << "fr_FR" << "Balance: $ -18,75" << 0;
        // Where a comma groups thousands, "1,50" is neither form: it is
        // named and left out, never read as 150 nor silently dropped.
        QTest::newRow("English") << "en_US" << "Balance: $ -20.25" << 1;
        QTest::newRow("Japanese") << "ja_JP" << "Balance: $ -20.25" << 1;
        QTest::newRow("C") << "C" << "Balance: $ -20.25" << 1;
    }
    void theBalanceDoesNotDependOnTheLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QString, caption);
        QFETCH(int, skipped);
        // Through the default locale, as the window uses it.
        QLocale::setDefault(localeNamed(locale));
        CostLedger ledger;
        fill(ledger, {"12.5", "7.75", ""}, {"", "", "1,50"});
        const Amount::Balance balance = ledger.Balance();
        QCOMPARE(balanceCaption(balance), caption);
        QCOMPARE(balance.skipped.size(), skipped);
        if (skipped) {
            QCOMPARE(balance.skipped.first().row, 3);
            QCOMPARE(balance.skipped.first().column, 3);
            QVERIFY(skippedRowsNote(balance).contains("row 3 (Credit \"1,50\": not an amount)"));
        } else {
            QVERIFY(skippedRowsNote(balance).isEmpty());
        }
    }

    void groupedAmountsReadInTheirLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<QString>("shown"); // in the C locale's form
        QTest::newRow("English grouping") << "en_US" << "1,234.50" << true << "1234.50";
        QTest::newRow("English grouping in German") << "de_DE" << "1,234.50" << false << "";
        QTest::newRow("German grouping") << "de_DE" << "1.234,50" << true << "1234.50";
        QTest::newRow("fixed form in German") << "de_DE" << "1.5" << true << "1.50";
        QTest::newRow("French grouping typed with a blank") << "fr_FR" << "1 234,50" << true << "1234.50";
        QTest::newRow("Japanese grouping") << "ja_JP" << "12,345" << true << "12345.00";
        QTest::newRow("misplaced group separator") << "en_US" << "12,34,5" << false << "";
        QTest::newRow("a word") << "de_DE" << "zwölf" << false << "";
        QTest::newRow("infinity") << "en_US" << "inf" << false << "";
        QTest::newRow("two points") << "C" << "1.2.3" << false << "";
        QTest::newRow("blanks around") << "C" << "  7.5\t" << true << "7.50";
        QTest::newRow("negative") << "C" << "-20" << true << "-20.00";
    }
    void groupedAmountsReadInTheirLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, reads);
        QFETCH(QString, shown);
        Amount::Units units = 0;
        const Amount::Reading reading = Amount::read(text, localeNamed(locale), &units);
        QCOMPARE(reading == Amount::Reading::Value, reads);
        if (reads)
            QCOMPARE(Amount::format(units, QLocale::c()), shown);
    }

    void blanksAreNotSkippedRows()
    {
        CostLedger ledger;
        fill(ledger, {" ", "", "abc", "-3"}, {"\t"});
        const Amount::Balance balance = ledger.Balance(QLocale::c());
        QCOMPARE(balance.skipped.size(), 2);
        const QString note = skippedRowsNote(balance);
        QVERIFY(note.contains("row 3 (Debit \"abc\": not an amount)"));
        QVERIFY(note.contains("row 4 (Debit \"-3\": below zero)"));
    }

    void theBalanceUsesTheLocaleDigitsAndSeparator()
    {
        QCOMPARE(Amount::format(-1875 * Amount::Units(10000000), QLocale("de_DE")), QString("-18,75"));
        QCOMPARE(Amount::format(0, QLocale::c()), QString("0.00"));
        // A balance that rounds to zero carries no minus sign.
        QCOMPARE(Amount::format(-1, QLocale::c()), QString("0.00"));
    }

    void aPastedMultiLineCellIsJoinedAndSaid()
    {
        QTemporaryDir tmp;
        const QString projects = tmp.path() + "/Projects/";
        QVERIFY(QDir().mkpath(projects + "Garden"));
        CostLedger ledger;
        ledger.setProjectsDir(projects);
        QVERIFY(ledger.switchTo("Garden"));
        // As the grid's editor commits a paste.
        ledger.money().setData(ledger.money().index(1, 0), QString("Seeds\nand\r\nbulbs"));
        QCOMPARE(ledger.money().cell(0, 1), QString("Seeds and bulbs"));
        QVERIFY(ledger.takeNotice().contains("joined"));
        QVERIFY(ledger.takeNotice().isEmpty());
        QVERIFY(ledger.saveLedger());
        QFile file(projects + "Garden/money.txt");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.at(1), QByteArray("\"Seeds and bulbs\",,,\r"));
        QCOMPARE(lines.size(), 101); // 100 rows, each ended by CR LF
    }
};

QTEST_GUILESS_MAIN(TestAmount)
#include "tst_amount.moc"
