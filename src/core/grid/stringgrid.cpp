#include "core/grid/stringgrid.h"

#include <algorithm>
#include <utility>

StringGrid::StringGrid(QObject *parent)
    : QAbstractTableModel(parent)
{
    m_rows.resize(1);
}

StringGrid::StringGrid(int columns, int rows, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columns(clampCount(columns))
{
    m_rows.resize(clampCount(rows));
}

int StringGrid::clampCount(int count)
{
    return std::max(1, count);
}

int StringGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int StringGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant StringGrid::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cell(index.column(), index.row());
    return {};
}

bool StringGrid::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    setCell(index.column(), index.row(), value.toString());
    return true;
}

Qt::ItemFlags StringGrid::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.row() < m_fixedRows)
        return Qt::ItemIsEnabled;
    if (!m_editable)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void StringGrid::setEditable(bool editable)
{
    if (m_editable == editable)
        return;
    m_editable = editable;
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, m_columns - 1));
}

void StringGrid::setRowCount(int rows)
{
    rows = clampCount(rows);
    const int old = rowCount();
    if (rows > old) {
        beginInsertRows({}, old, rows - 1);
        m_rows.resize(rows);
        endInsertRows();
    } else if (rows < old) {
        beginRemoveRows({}, rows, old - 1);
        m_rows.resize(rows);
        endRemoveRows();
    }
    if (m_fixedRows >= rows)
        m_fixedRows = rows - 1;
    clampCurrent();
}

void StringGrid::setColumnCount(int columns)
{
    columns = clampCount(columns);
    const int old = m_columns;
    if (columns > old) {
        beginInsertColumns({}, old, columns - 1);
        m_columns = columns;
        endInsertColumns();
    } else if (columns < old) {
        beginRemoveColumns({}, columns, old - 1);
        m_columns = columns;
        for (QStringList &row : m_rows) {
            if (row.size() > columns)
                row.resize(columns);
        }
        endRemoveColumns();
    }
    clampCurrent();
}

QString StringGrid::cell(int column, int row) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns)
        return {};
    const QStringList &cells = m_rows.at(row);
    return column < cells.size() ? cells.at(column) : QString();
}

void StringGrid::setCell(int column, int row, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns)
        return;
    QStringList &cells = m_rows[row];
    if (column >= cells.size()) {
        if (text.isEmpty())
            return;
        cells.resize(column + 1);
    }
    if (cells.at(column) == text)
        return;
    cells[column] = text;
    const QModelIndex at = index(row, column);
    Q_EMIT dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
}

QStringList StringGrid::rowCells(int row) const
{
    QStringList cells;
    if (row < 0 || row >= rowCount())
        return cells;
    cells = m_rows.at(row);
    cells.resize(m_columns);
    return cells;
}

void StringGrid::setRowCells(int row, const QStringList &cells)
{
    if (row < 0 || row >= rowCount())
        return;
    QStringList &stored = m_rows[row];
    stored = cells;
    if (stored.size() > m_columns)
        stored.resize(m_columns);
    Q_EMIT dataChanged(index(row, 0), index(row, m_columns - 1), {Qt::DisplayRole, Qt::EditRole});
}

void StringGrid::clearRow(int row)
{
    setRowCells(row, {});
}

void StringGrid::setFixedRows(int rows)
{
    m_fixedRows = std::clamp(rows, 0, rowCount() - 1);
    clampCurrent();
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, m_columns - 1));
}

void StringGrid::setCurrentCell(int column, int row)
{
    const int oldRow = m_currentRow;
    const int oldColumn = m_currentColumn;
    m_currentColumn = column;
    m_currentRow = row;
    keepCurrentInside();
    if (m_currentRow != oldRow || m_currentColumn != oldColumn)
        Q_EMIT currentCellChanged(m_currentColumn, m_currentRow);
}

void StringGrid::clampCurrent()
{
    const int oldRow = m_currentRow;
    const int oldColumn = m_currentColumn;
    keepCurrentInside();
    if (m_currentRow != oldRow || m_currentColumn != oldColumn)
        Q_EMIT currentCellChanged(m_currentColumn, m_currentRow);
}

void StringGrid::keepCurrentInside()
{
    m_currentRow = std::clamp(m_currentRow, m_fixedRows, rowCount() - 1);
    m_currentColumn = std::clamp(m_currentColumn, 0, m_columns - 1);
}

void StringGrid::insertEmptyRow(int row)
{
    row = std::clamp(row, 0, rowCount());
    beginInsertRows({}, row, row);
    m_rows.insert(row, QStringList());
    endInsertRows();
}

void StringGrid::removeRowAt(int row)
{
    if (row < 0 || row >= rowCount() || rowCount() <= 1)
        return;
    beginRemoveRows({}, row, row);
    m_rows.remove(row);
    endRemoveRows();
    if (m_fixedRows >= rowCount())
        m_fixedRows = rowCount() - 1;
    clampCurrent();
}

void StringGrid::replaceAll(int columns, QList<QStringList> rows)
{
    beginResetModel();
    m_columns = clampCount(columns);
    m_rows = std::move(rows);
    if (m_rows.isEmpty())
        m_rows.resize(1);
    for (QStringList &row : m_rows) {
        if (row.size() > m_columns)
            row.resize(m_columns);
    }
    if (m_fixedRows >= rowCount())
        m_fixedRows = rowCount() - 1;
    endResetModel();
    clampCurrent();
}
