#include "core/projects/costledger.h"

#include "core/common/dateformat.h"
#include "core/common/textfile.h"
#include "core/grid/gridroutines.h"
#include "core/projects/projectnames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopedValueRollback>

#include <climits>
#include <cmath>

namespace {

constexpr int kColumns = 4;
constexpr int kStartRows = 200;
constexpr int kEmptyLedgerRows = 100;

constexpr int kDebitColumn = 2;
constexpr int kCreditColumn = 3;

} // namespace

QString trimProjectName(const QString &name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && name.at(end - 1).unicode() <= 32)
        --end;
    return name.mid(begin, end - begin);
}

QString balanceCaption(const Amount::Balance &balance, const QLocale &locale)
{
    if (balance.overflow)
        return QCoreApplication::translate("CostLedger", "Balance: too large to add up exactly");
    return QStringLiteral("Balance: $ ") + Amount::format(balance.balance, locale);
}

QString skippedRowsNote(const Amount::Balance &balance)
{
    if (balance.skipped.isEmpty())
        return {};
    return QCoreApplication::translate("CostLedger", "Not added: %1.")
        .arg(Amount::describeSkipped(balance.skipped, {QStringLiteral("Item name"), QStringLiteral("Date"),
                                                       QStringLiteral("Debit"), QStringLiteral("Credit")}));
}

CostLedger::CostLedger()
    : m_money(kColumns, kStartRows)
{
    m_money.setFixedRows(1);
    m_money.setCurrentCell(0, 1);
    auto anyChange = [this] {
        if (!m_layingIn)
            m_edited = true;
    };
    QObject::connect(&m_money, &StringGrid::dataChanged, &m_money,
                     [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                         gridChanged(topLeft, bottomRight);
                     });
    QObject::connect(&m_money, &StringGrid::rowsInserted, &m_money, anyChange);
    QObject::connect(&m_money, &StringGrid::rowsRemoved, &m_money, anyChange);
    QObject::connect(&m_money, &StringGrid::columnsInserted, &m_money, anyChange);
    QObject::connect(&m_money, &StringGrid::modelReset, &m_money, anyChange);
}

void CostLedger::gridChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    if (m_layingIn)
        return;
    m_edited = true;
    // A pasted cell of several lines would break the file's one line per
    // row: its lines are joined with a blank, and the user is told.
    if (topLeft != bottomRight)
        return;
    const QString text = m_money.cell(topLeft.column(), topLeft.row());
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))
        && !text.contains(QChar::LineSeparator) && !text.contains(QChar::ParagraphSeparator))
        return;
    QStringList parts = text.split(QRegularExpression(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]+")),
                                   Qt::SkipEmptyParts);
    m_money.setCell(topLeft.column(), topLeft.row(), parts.join(QLatin1Char(' ')));
    m_notice = QCoreApplication::translate("CostLedger",
                                           "The cell in row %1 held several lines; a ledger cell keeps "
                                           "one line, so they were joined with a blank.")
                   .arg(topLeft.row() + 1);
}

void CostLedger::setReadOnly(const QString &reason)
{
    m_readOnly = true;
    m_readOnlyReason = reason;
    const QScopedValueRollback layingIn(m_layingIn, true);
    m_money.setEditable(false);
}

void CostLedger::ownerDeleted()
{
    m_edited = false;
    setReadOnly(QCoreApplication::translate("CostLedger", "The project \"%1\" was deleted.").arg(m_owner));
}

QString CostLedger::ledgerFileName() const
{
    if (m_owner.isEmpty() || m_projectsDir.isEmpty())
        return {};
    // A name that would lead out of the projects folder, or that cannot
    // name a folder there, names no ledger.
    if (m_owner.contains(QLatin1Char('\\')) || !ProjectNames::nameProblem(m_owner).isEmpty())
        return {};
    return m_projectsDir + m_owner + QStringLiteral("/money.txt");
}

void CostLedger::setLedgerHeadings()
{
    const QScopedValueRollback layingIn(m_layingIn, true);
    if (m_money.columnCount() < kColumns)
        m_money.setColumnCount(kColumns);
    m_money.setCell(0, 0, QStringLiteral("Item name"));
    m_money.setCell(1, 0, QStringLiteral("Date"));
    m_money.setCell(2, 0, QStringLiteral("Debit"));
    m_money.setCell(3, 0, QStringLiteral("Credit"));
}

void CostLedger::clearLedger()
{
    const QScopedValueRollback layingIn(m_layingIn, true);
    m_money.setRowCount(1);
    m_money.setFixedRows(0);
    m_money.setColumnCount(kColumns);
    m_money.setRowCount(kEmptyLedgerRows);
    setLedgerHeadings();
}

Result CostLedger::saveLedger()
{
    if (m_readOnly || !m_edited)
        return Result::success();
    const QString fileName = ledgerFileName();
    if (fileName.isEmpty())
        return Result::success();
    const QString folder = m_projectsDir + m_owner;
    if (!QFileInfo(folder).isDir() && !(QFileInfo(m_projectsDir).isDir() && QDir(m_projectsDir).mkdir(m_owner))) {
        return Result::failure(QCoreApplication::translate("CostLedger",
                                                           "Could not write the file \"%1\": its folder \"%2\" is not "
                                                           "there and could not be made (is the data folder's disk "
                                                           "still there?).")
                                   .arg(QFileInfo(fileName).absoluteFilePath(), QFileInfo(folder).absoluteFilePath()));
    }
    const WriteResult result = saveGridRows(m_money, fileName);
    if (result.ok)
        m_edited = false;
    return result;
}

Result CostLedger::switchTo(const QString &projectName)
{
    const QScopedValueRollback layingIn(m_layingIn, true);
    m_owner = trimProjectName(projectName);
    m_readOnly = false;
    m_readOnlyReason.clear();
    m_edited = false;
    m_notice.clear();
    clearLedger();
    const QString fileName = ledgerFileName();
    QString reason;
    if (!m_owner.isEmpty() && fileName.isEmpty()) {
        // Rows typed here could never be stored; do not let them be typed.
        reason = QCoreApplication::translate("CostLedger",
                                             "The project name \"%1\" cannot be used as a "
                                             "folder name, so its costs cannot be kept.")
                     .arg(m_owner);
    } else if (!fileName.isEmpty() && !QFileInfo(m_projectsDir + m_owner).isDir()) {
        // The folder (or the whole data folder) is not there: an empty
        // ledger now says nothing about the file, so it must not replace
        // it when the folder comes back.
        reason = QCoreApplication::translate("CostLedger",
                                             "The costs of \"%1\" could not be read: the folder \"%2\" "
                                             "is not there.")
                     .arg(m_owner, QFileInfo(m_projectsDir + m_owner).absoluteFilePath());
    } else if (!fileName.isEmpty() && TextFile::entryExists(fileName)) {
        // Never write over a file that could not be read.
        QString movedAside;
        const Result loaded = loadGridRows(m_money, fileName, &movedAside);
        if (!loaded) {
            reason = loaded.error;
            if (reason.isEmpty())
                reason = QCoreApplication::translate("CostLedger", "Could not read the file \"%1\".")
                             .arg(QFileInfo(fileName).absoluteFilePath());
        } else if (!movedAside.isEmpty()) {
            // The file did not hold text and was moved aside: a new ledger
            // starts that can be edited, and the caller shows where the old
            // one is kept.
            m_money.setEditable(true);
            setLedgerHeadings();
            return Result::failure(movedAside);
        }
    }
    if (!reason.isEmpty())
        setReadOnly(reason);
    else
        m_money.setEditable(true);
    setLedgerHeadings();
    return reason.isEmpty() ? Result::success() : Result::failure(reason);
}

void CostLedger::AddItem(const QDateTime &now, const QLocale &locale)
{
    if (m_readOnly)
        return;
    insertGridRow(m_money, 1);
    m_money.setCell(0, 1, QStringLiteral("New Item Name"));
    m_money.setCell(1, 1, formatDateTime(QStringLiteral("mmm d, yyyy"), now, locale));
    m_money.setCell(2, 1, QStringLiteral("0.0"));
}

void CostLedger::deleteCurrentItem()
{
    if (m_readOnly)
        return;
    deleteGridRow(m_money, m_money.currentRow());
}

Amount::Balance CostLedger::Balance(const QLocale &locale) const
{
    return Amount::balanceOf(m_money, kDebitColumn, kCreditColumn, 1, locale);
}
