#pragma once

#include "ui/platform/services.h"
#include "core/projects/costledger.h"

#include <QLabel>
#include <QSet>
#include <QWidget>

class PictureButton;
class QHBoxLayout;
class QPushButton;
class StringGridView;

// A label that is also a link: clicking it runs an action.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    // With a largest pixel size set, the font shrinks (down to 9 px) so that
    // the whole text fits the label's width: a long balance stays readable.
    void setFittedText(const QString &text, int largestPixelSize);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitText();
    int m_largestPixelSize = 0;
};

// The ledger part of the "Costs" page: the grid `money` on the left, a
// slot on its right for the page's notes editor, and the bottom panel
// `bottomPanel` with "Record:", the plus and minus buttons, the balance label
// and "Calculate".
//
// The host creates it once, hands it the notes editor and the projects
// folder, calls setLedgerHeadings at start-up, switchLedger from the
// project selection and saveLedger at close.
class CostLedgerWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CostLedgerWidget(const Services &services, QWidget *parent = nullptr);

    // Places the page's notes editor beside the grid.
    void setNotesEditor(QWidget *editor);
    // The folder holding the project folders, ending with "/".
    void setProjectsDir(const QString &dir);

    CostLedger &ledger() { return m_ledger; }
    // Selects the item name of a row of the grid (0 is the headings),
    // scrolls it into view and gives the grid the keyboard focus; false
    // when the grid has no such row.
    bool showItemRow(int row);
    QString ownerName() const { return m_ledger.ownerName(); }

    // Orders Tab through the grid, the plus and minus buttons and
    // "Calculate"; the last of them, where Tab goes on to the page.
    void orderTabChain();
    QWidget *lastInTabChain() const;
    // True while an edit is open in one of the grid's cells.
    bool cellEditorIsOpen() const;

    void setLedgerHeadings();
    void clearLedger();
    // Writes the rows to the owner's "money.txt" (see CostLedger); the
    // message when the file could not be written, and the rows stay.
    Result saveLedger();
    // Saves the rows to their project, then shows the given project's.
    // When the save fails the user is asked whether to switch anyway; on
    // No the ledger keeps its project and rows and false is returned.
    bool switchLedger(const QString &projectName);
    // Shows the given project's rows and balance without saving the rows
    // shown (the caller saved them); the message when its file could not
    // be read (the ledger is then read-only and says so).
    Result showProject(const QString &projectName);
    // The owner project was deleted: its rows stay, read-only, unsaved.
    void ownerDeleted();

    void addRow();
    void deleteRow();
    void calculateBalance();
    void drawCell(QPainter *painter, const QRect &rect, int row, int column);

Q_SIGNALS:
    // "Record:" or the balance label was clicked: open the project folder.
    void projectFolderRequested();

private:
    StringGridView *m_money;
    QWidget *m_bottomPanel;
    ClickLabel *m_recordLabel;
    PictureButton *m_addRowButton;
    PictureButton *m_deleteRowButton;
    ClickLabel *m_balanceLabel;
    QPushButton *m_calculateButton;
    // Under the grid: why the ledger is read-only, which rows the balance
    // passed over, or what was changed in a pasted cell; hidden when empty.
    QLabel *m_noteLabel;

    void applyColumnWidths();
    void showEditableState();
    void showBalance();
    void showNote(const QString &note);
    void cellsChanged();

    Services m_services;
    CostLedger m_ledger;
    QHBoxLayout *m_top;
    QWidget *m_notes = nullptr;
    // The cells the last balance passed over, painted marked: row * 4 + column.
    QSet<qint64> m_marked;
};
