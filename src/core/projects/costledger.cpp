#include "costledger.h"

#include "common/dateformat.h"
#include "grid/gridroutines.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <climits>
#include <cmath>

namespace {

constexpr int kColumns = 4;
constexpr int kStartRows = 200;
constexpr int kEmptyLedgerRows = 100;

constexpr int kDebitColumn = 2;
constexpr int kCreditColumn = 3;

} // namespace

QString TrimProjectName(const QString &name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && name.at(end - 1).unicode() <= 32)
        --end;
    return name.mid(begin, end - begin);
}

QString BalanceCaption(double balance, const QLocale &locale)
{
    return QStringLiteral("Balance: $ ") + FormatFloat(QStringLiteral("0.00"), balance, locale);
}

CostLedger::CostLedger()
    : m_money(kColumns, kStartRows)
{
    m_money.setFixedRows(1);
    m_money.setCurrentCell(0, 1);
}

QString CostLedger::ledgerFileName() const
{
    if (m_owner.isEmpty() || m_projectsDir.isEmpty())
        return {};
    // A name that would lead out of the projects folder names no ledger.
    if (m_owner.contains(QLatin1Char('/')) || m_owner.contains(QLatin1Char('\\'))
        || m_owner == QLatin1String(".") || m_owner == QLatin1String(".."))
        return {};
    return m_projectsDir + m_owner + QStringLiteral("/money.txt");
}

void CostLedger::SetLedgerHeadings()
{
    if (m_money.columnCount() < kColumns)
        m_money.setColumnCount(kColumns);
    m_money.setCell(0, 0, QStringLiteral("Item name"));
    m_money.setCell(1, 0, QStringLiteral("Date"));
    m_money.setCell(2, 0, QStringLiteral("Debit"));
    m_money.setCell(3, 0, QStringLiteral("Credit"));
}

void CostLedger::ClearLedger()
{
    m_money.setRowCount(1);
    m_money.setFixedRows(0);
    m_money.setColumnCount(kColumns);
    m_money.setRowCount(kEmptyLedgerRows);
    SetLedgerHeadings();
}

bool CostLedger::SaveLedger(QString *error)
{
    if (m_readOnly)
        return true;
    const QString fileName = ledgerFileName();
    if (fileName.isEmpty() || !QFileInfo(m_projectsDir + m_owner).isDir())
        return true;
    const WriteResult result = SaveGridRows(m_money, fileName);
    if (!result.ok && error)
        *error = result.error;
    return result.ok;
}

bool CostLedger::SwitchTo(const QString &projectName, QString *error)
{
    m_owner = TrimProjectName(projectName);
    m_readOnly = false;
    ClearLedger();
    const QString fileName = ledgerFileName();
    bool ok = true;
    if (!m_owner.isEmpty() && fileName.isEmpty()) {
        // Rows typed here could never be stored; do not let them be typed.
        m_readOnly = true;
        ok = false;
        if (error)
            *error = QCoreApplication::translate("CostLedger",
                                                 "The project name \"%1\" cannot be used as a "
                                                 "folder name, so its costs cannot be kept.")
                         .arg(m_owner);
    } else if (!fileName.isEmpty() && TextFile::entryExists(fileName)) {
        QString notice;
        ok = LoadGridRows(m_money, fileName, error, &notice);
        // Never write over a file that could not be read.
        m_readOnly = !ok;
        if (ok && !notice.isEmpty()) {
            // The file did not hold text and was moved aside: a new ledger
            // starts, and the caller shows where the old one is kept.
            ok = false;
            if (error)
                *error = notice;
        }
    }
    m_money.setEditable(!m_readOnly);
    SetLedgerHeadings();
    return ok;
}

void CostLedger::AddItem(const QDateTime &now, const QLocale &locale)
{
    if (m_readOnly)
        return;
    InsertGridRow(m_money, 1);
    m_money.setCell(0, 1, QStringLiteral("New Item Name"));
    m_money.setCell(1, 1, FormatDateTime(QStringLiteral("mmm d, yyyy"), now, locale));
    m_money.setCell(2, 1, QStringLiteral("0.0"));
}

void CostLedger::DeleteCurrentItem()
{
    if (m_readOnly)
        return;
    DeleteGridRow(m_money, m_money.currentRow());
}

double CostLedger::Balance(const QLocale &locale) const
{
    const double debit = SumGridColumn(m_money, kDebitColumn, 1, INT_MAX, locale);
    const double credit = SumGridColumn(m_money, kCreditColumn, 1, INT_MAX, locale);
    double balance = credit - debit;
    // Amounts are kept to the cent; drop the binary noise of the sums so
    // that 0.1 + 0.2 - 0.3 reads 0.00, never -0.00.
    if (std::fabs(balance) < 1e13)
        balance = std::round(balance * 100.0) / 100.0;
    return balance == 0.0 ? 0.0 : balance;
}
