#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

class StringGrid;

// A QTableView over a StringGrid that behaves like a string grid: no
// header bars (row 0 is the heading row of the data), lines between all
// cells, range selection, cells edited in place by typing, F2 or a double
// click, and a current cell kept in step with the grid's own. Tab leaves
// the table, as in the other forms. Every cell is painted by a cell
// painter, drawStripedCell unless another one is set.
class StringGridView : public QTableView
{
    Q_OBJECT
public:
    using CellPainter =
        std::function<void(QPainter *painter, const QRect &rect, int row, int column)>;

    // The view does not own the grid.
    explicit StringGridView(StringGrid *grid, QWidget *parent = nullptr);

    StringGrid *grid() const { return m_grid; }

    // The grid's own background and text colours, used by the painter.
    QColor backgroundColor() const { return m_background; }
    void setBackgroundColor(const QColor &color);
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor &color);

    void setDefaultRowHeight(int pixels);
    void setDefaultColumnWidth(int pixels);

    // Ends an edit in progress, keeping what was typed; called before the
    // grid's rows are saved.
    void finishEditing();

    void setCellPainter(CellPainter painter);
    void paintCell(QPainter *painter, const QRect &rect, int row, int column) const;

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void followGridCurrent(int column, int row);

    StringGrid *m_grid;
    QColor m_background = Qt::white;
    QColor m_fontColor = Qt::black;
    CellPainter m_painter;
};

// Paints every cell through the view's cell painter; its editor is a line
// editor that holds long texts whole.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit GridCellDelegate(StringGridView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

private:
    StringGridView *m_view;
};

// The striped cell painter: fills the cell with its row colour (the
// heading row green, odd rows pale blue, even rows the grid background;
// selection and focus are not shown), then draws the cell text, cut to 37
// characters and "...", in the grid's font colour 2 px from the left and
// top edges.
void drawStripedCell(QPainter *painter, const StringGridView &grid, const QRect &rect, int row,
                     int column);
