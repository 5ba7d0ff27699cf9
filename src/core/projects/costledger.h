#pragma once

#include "core/common/result.h"
#include "core/projects/amount.h"
#include "core/grid/stringgrid.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <utility>

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
    // False while the owner's file could not be read, its folder could not
    // be found or made, or the owner was deleted; readOnlyReason() says why.
    bool editable() const { return !m_readOnly; }
    QString readOnlyReason() const { return m_readOnlyReason; }

    // True once the rows were changed by anything but the ledger's own
    // loading (typing, pasting, adding or deleting an item) since they were
    // loaded or last saved. Rows that are not edited are never written.
    bool edited() const { return m_edited; }
    // The owner project was deleted: its rows are kept on screen, read-only,
    // and are never written.
    void ownerDeleted();
    // What the ledger changed on its own in a cell that was typed or
    // pasted (line breaks joined into one line); empty when nothing. Taken
    // once.
    QString takeNotice() { return std::exchange(m_notice, QString()); }

    // The four headings into row 0 (and at least four columns).
    void setLedgerHeadings();
    // An empty ledger of 100 rows and four columns under its headings.
    void clearLedger();
    // Writes the edited grid to the owner's file; rows that are not edited,
    // are read-only or belong to no project are not written, and that
    // succeeds. A project folder that went away is made again (one level,
    // inside an existing projects folder). False with a message naming the
    // file or folder when the rows could not be written; they stay.
    Result saveLedger();
    // Makes the project the owner (trimmed) and shows its rows: steps 2 to
    // 5 of a switch; the caller saves the previous owner first. Fails with
    // a message when the project's file exists but cannot be loaded, or
    // the project's folder is not there; the ledger is then empty and
    // read-only. A file that does not hold text is moved aside (see
    // TextFile::readTextBytes): a failure with the message saying where it
    // is kept, and an empty ledger that can be edited.
    Result switchTo(const QString &projectName);

    // A new item at row 1, under the headings, whatever row is current.
    void AddItem(const QDateTime &now, const QLocale &locale = QLocale());
    // Deletes the current row unless it is the heading row.
    void deleteCurrentItem();

    // Credit total minus debit total of the usable amounts of rows 1 on,
    // added exactly; the cells it passed over are listed (see Amount).
    Amount::Balance Balance(const QLocale &locale = QLocale()) const;

private:
    void setReadOnly(const QString &reason);
    void gridChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    StringGrid m_money;
    QString m_projectsDir;
    QString m_owner;
    bool m_readOnly = false;
    QString m_readOnlyReason;
    bool m_edited = false;
    // Set while the ledger itself fills or shapes the grid.
    bool m_layingIn = false;
    QString m_notice;
};

// The name without leading and trailing blanks and control characters.
QString trimProjectName(const QString &name);

// "Balance: $ " followed by the balance with two decimals and the locale's
// decimal separator, or a word that the sum is too large to add exactly.
QString balanceCaption(const Amount::Balance &balance, const QLocale &locale = QLocale());
// Which rows the balance passed over and why; empty when none.
QString skippedRowsNote(const Amount::Balance &balance);
