// The ledger driven by the project list in the real main window: each
// selected project shows its own rows on the "Costs" page.

#include "mainwindowfixture.h"
#include "ui/common/pictures.h"
#include "core/common/textfile.h"
#include "fakes.h"
#include "ui/grid/stringgridview.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "ui/app/mainwindow.h"
#include "core/datafolder/datafolder.h"

#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

int lineOf(ProjectsSection *projects, const QString &text)
{
    for (int i = 0; i < departmentList(projects)->count(); ++i)
        if (departmentList(projects)->item(i)->text() == text)
            return i;
    return -1;
}

} // namespace

class TestLedgerFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void projectsKeepTheirOwnRows()
    {
        FakeServices fakes;
        QTemporaryDir tmp;
        auto form = std::make_unique<MainWindow>(fakes.services(),
                                             StartOptions{tmp.path() + "/", QStringLiteral("45296")});
        form->show();
        form->runStartup();
        form->showProjects();
        ProjectsSection *projects = form->projectsSection();
        CostLedgerWidget *ledger = form->projectsSection()->ledger();
        projects->notebook()->setCurrentIndex(ProjectNotebook::CostsTab);
        // The ledger sits on the Costs page, left of the notes editor.
        QVERIFY(projects->notebook()->findChild<QWidget *>(QStringLiteral("moneyHost"))->isAncestorOf(ledger));
        QTRY_VERIFY(moneyGrid(ledger)->isVisible());

        departmentList(projects)->setCurrentRow(lineOf(projects, "Garden"));
        QCOMPARE(ledger->ownerName(), QString("Garden"));
        QCOMPARE(moneyGrid(ledger)->grid()->rowCount(), 100);
        QTest::mouseClick(addRowButton(ledger), Qt::LeftButton);
        QTest::mouseClick(addRowButton(ledger), Qt::LeftButton);
        moneyGrid(ledger)->grid()->setCell(2, 1, "12.5");

        departmentList(projects)->setCurrentRow(lineOf(projects, "Car"));
        QCOMPARE(ledger->ownerName(), QString("Car"));
        QCOMPARE(moneyGrid(ledger)->grid()->cell(0, 1), QString());
        const QString gardenFile = form->dataFolder()->projectsDir() + "Garden/money.txt";
        QCOMPARE(TextFile::readLines(gardenFile).value.size(), 102);

        departmentList(projects)->setCurrentRow(lineOf(projects, "Garden"));
        QCOMPARE(moneyGrid(ledger)->grid()->rowCount(), 102);
        QCOMPARE(moneyGrid(ledger)->grid()->cell(2, 1), QString("12.5"));
        QCOMPARE(moneyGrid(ledger)->grid()->cell(0, 2), QString("New Item Name"));

        // A blank line changes nothing.
        moneyGrid(ledger)->grid()->setCell(0, 3, "typed");
        departmentList(projects)->setCurrentRow(lineOf(projects, ""));
        QCOMPARE(ledger->ownerName(), QString("Garden"));
        QCOMPARE(moneyGrid(ledger)->grid()->cell(0, 3), QString("typed"));

        // Closing keeps what was typed since the last switch.
        QVERIFY(form->close());
        QCOMPARE(TextFile::readLines(gardenFile).value.at(3), QString("typed,\" \",\" \",\" \""));
    }
};

QTEST_MAIN(TestLedgerFlow)
#include "tst_ledgerflow.moc"
