#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// An editable table of text cells, addressed by column and row (both from
// 0), with a row count and a column count that can be changed, a current
// cell and a number of fixed heading rows (0 or 1). It is the data behind
// the ledger and the tracker's year store and the model a StringGridView
// shows.
//
// Counts never drop below 1: asking for 0 rows gives 1 row, and when the
// row count falls to the number of fixed rows or below, the fixed rows are
// reduced so that one ordinary row remains (a grid of 1 row has no fixed
// row). Reading a cell outside the grid gives an empty text; writing one
// there is ignored. Rows are stored only as long as their last written
// cell, so a grid with many columns and short rows stays small.
class StringGrid : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit StringGrid(QObject *parent = nullptr);
    StringGrid(int columns, int rows, QObject *parent = nullptr);

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setRowCount(int rows);
    void setColumnCount(int columns);

    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);

    // The cells of a row, as many as the grid has columns.
    QStringList rowCells(int row) const;
    // The cells of a row as stored: possibly fewer than the grid has
    // columns, the missing ones being empty.
    const QStringList &storedRow(int row) const { return m_rows.at(row); }
    // Replaces the cells of a row: the row is emptied, then filled from
    // column 0 with as many texts as fit into the columns.
    void setRowCells(int row, const QStringList &cells);
    // Empties every cell of a row.
    void clearRow(int row);

    // The number of heading rows that are neither selectable nor editable.
    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int rows);

    // A grid that is not editable shows its cells but takes no typing.
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

    // The current cell; kept inside the grid and below the fixed rows when
    // the counts change.
    int currentRow() const { return m_currentRow; }
    int currentColumn() const { return m_currentColumn; }
    void setCurrentCell(int column, int row);
    void setCurrentRow(int row) { setCurrentCell(m_currentColumn, row); }

    // Bulk changes for the grid routines. Each call notifies views once.
    void insertEmptyRow(int row);
    void removeRowAt(int row);
    // Replaces the whole content in one step: the counts and every row.
    // Rows longer than the column count are cut.
    void replaceAll(int columns, QList<QStringList> rows);

Q_SIGNALS:
    void currentCellChanged(int column, int row);

private:
    // Moves the current cell into the grid; clampCurrent also notifies.
    void keepCurrentInside();
    void clampCurrent();
    static int clampCount(int count);

    QList<QStringList> m_rows;
    int m_columns = 1;
    int m_fixedRows = 0;
    bool m_editable = true;
    int m_currentRow = 0;
    int m_currentColumn = 0;
};
