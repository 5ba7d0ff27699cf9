#include "ui/grid/stringgridview.h"
#include "ui/common/look.h"

#include "core/grid/gridroutines.h"
#include "core/grid/stringgrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>

#include <limits>

#include <utility>

StringGridView::StringGridView(StringGrid *grid, QWidget *parent)
    : QTableView(parent)
    , m_grid(grid)
{
    setModel(grid);
    setItemDelegate(new GridCellDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(4);
    verticalHeader()->setMinimumSectionSize(4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setDefaultRowHeight(24);
    setDefaultColumnWidth(64);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    connect(grid, &StringGrid::currentCellChanged, this, &StringGridView::followGridCurrent);
    connect(grid, &QAbstractItemModel::modelReset, this,
            [this] { followGridCurrent(m_grid->currentColumn(), m_grid->currentRow()); });
}

void StringGridView::setBackgroundColor(const QColor &color)
{
    m_background = color;
    setBaseColor(this, color);
    viewport()->update();
}

void StringGridView::setFontColor(const QColor &color)
{
    m_fontColor = color;
    viewport()->update();
}

void StringGridView::setDefaultRowHeight(int pixels)
{
    verticalHeader()->setDefaultSectionSize(pixels);
}

void StringGridView::setDefaultColumnWidth(int pixels)
{
    horizontalHeader()->setDefaultSectionSize(pixels);
}

void StringGridView::finishEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void StringGridView::setCellPainter(CellPainter painter)
{
    m_painter = std::move(painter);
    viewport()->update();
}

void StringGridView::paintCell(QPainter *painter, const QRect &rect, int row, int column) const
{
    if (m_painter)
        m_painter(painter, rect, row, column);
    else
        drawStripedCell(painter, *this, rect, row, column);
}

void StringGridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        m_grid->setCurrentCell(current.column(), current.row());
}

void StringGridView::followGridCurrent(int column, int row)
{
    const QModelIndex wanted = m_grid->index(row, column);
    if (!wanted.isValid() || currentIndex() == wanted)
        return;
    // A fixed heading row cannot be selected; only move the focus mark.
    if (m_grid->flags(wanted) & Qt::ItemIsSelectable)
        setCurrentIndex(wanted);
    else
        selectionModel()->setCurrentIndex(wanted, QItemSelectionModel::NoUpdate);
}

GridCellDelegate::GridCellDelegate(StringGridView *view)
    : QStyledItemDelegate(view)
    , m_view(view)
{
}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    painter->save();
    painter->setFont(option.font);
    m_view->paintCell(painter, option.rect, index.row(), index.column());
    painter->restore();
}

QWidget *GridCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        // Cells loaded from a file may be longer than a line editor's usual
        // limit; editing must not cut them.
        line->setMaxLength(std::numeric_limits<int>::max());
        line->setFrame(false);
    }
    return editor;
}

void drawStripedCell(QPainter *painter, const StringGridView &grid, const QRect &rect, int row,
                     int column)
{
    painter->fillRect(rect, stripedRowColor(row, grid.backgroundColor()));
    painter->setPen(grid.fontColor());
    const QString text = stripedCellText(grid.grid()->cell(column, row));
    painter->drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      text);
}
