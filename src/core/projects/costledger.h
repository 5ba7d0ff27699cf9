#pragma once

#include "grid/stringgrid.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// The cost ledger of the current project: the grid `money` (item name,
// date, debit, credit; row 0 the headings), the project its rows belong
// to (the owner) and its file "money.txt" in the owner's project folder.
//
// At start-up the grid has 200 rows with a fixed heading row and no owner;
// rows typed then belong to no project and are never written. From the
// first switch on, the grid holds the switched-to project's file, or 100
// empty rows when it has none, and row 0 is an ordinary row.
//
// Rows reach the file when the ledger is switched away and at close. A
// file that could not be read is never written over: the ledger of that
// project is then read-only until the next switch.
class CostLedger
{
public:
    CostLedger();

    StringGrid &money() { return m_money; }
    const StringGrid &money() const { return m_money; }

    // The folder holding the project folders, ending with "/".
    void setProjectsDir(const QString &dir) { m_projectsDir = dir; }
    QString projectsDir() const { return m_projectsDir; }

    QString ownerName() const { return m_owner; }
    // Empty without an owner, or when the owner's name cannot name a
    // folder inside the projects folder.
    QString ledgerFileName() const;
    // False while the owner's file could not be read.
    bool editable() const { return !m_readOnly; }

    // The four headings into row 0 (and at least four columns).
    void SetLedgerHeadings();
    // An empty ledger of 100 rows and four columns under its headings.
    void ClearLedger();
    // Writes the grid to the owner's file when there is an owner whose
    // project folder still exists; otherwise writes nothing and succeeds.
    // False with a message naming the file when the write fails.
    bool SaveLedger(QString *error);
    // Makes the project the owner (trimmed) and shows its rows: steps 2 to
    // 5 of a switch; the caller saves the previous owner first. False with
    // a message when the project's file exists but cannot be loaded; the
    // ledger is then empty and read-only. A file that does not hold text
    // is moved aside (see TextFile::readTextBytes): false with the message
    // saying where it is kept, and an empty ledger that can be edited.
    bool SwitchTo(const QString &projectName, QString *error);

    // A new item at row 1, under the headings, whatever row is current.
    void AddItem(const QDateTime &now, const QLocale &locale = QLocale());
    // Deletes the current row unless it is the heading row.
    void DeleteCurrentItem();

    // Credit total minus debit total of the usable amounts of rows 1 on,
    // to the cent.
    double Balance(const QLocale &locale = QLocale()) const;

private:
    StringGrid m_money;
    QString m_projectsDir;
    QString m_owner;
    bool m_readOnly = false;
};

// The name without leading and trailing blanks and control characters.
QString TrimProjectName(const QString &name);

// "Balance: $ " followed by the balance with two decimals.
QString BalanceCaption(double balance, const QLocale &locale = QLocale());
