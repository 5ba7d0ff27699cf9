#pragma once

#include "ui/grid/stringgridview.h"

// The sleep grid's view: a StringGridView whose day cells are chosen, not
// edited. A click on a slot selects it, and so does every arrow-key move
// onto a slot; a drag or a move with Shift held only extends the
// highlighted range, and the mouse wheel changes nothing. Each click of a
// quick double click toggles. The hidden column
// 0 and the header row are never reached.
class SleepGridView : public StringGridView
{
    Q_OBJECT
public:
    explicit SleepGridView(StringGrid *grid, QWidget *parent = nullptr);

    // While set (the grid is being rebuilt), moves of the current cell do
    // not select anything.
    void setQuiet(bool quiet) { m_quiet = quiet; }

Q_SIGNALS:
    void cellSelected(int column, int row);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    // The grid never scrolls: the hour labels beside it stand still, so a
    // cell reached with the keyboard below the last visible row stays out
    // of view rather than shifting the rows against their labels.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    bool isSlot(const QModelIndex &index) const;

    bool m_quiet = false;
    bool m_mouseDown = false;
    bool m_extending = false;
};
