#pragma once

#include "grid/stringgridview.h"

// The sleep grid's view: a StringGridView whose day cells are chosen, not
// edited. A click on a slot selects it, and so does every arrow-key move
// onto a slot; a drag or a move with Shift held only extends the
// highlighted range, and the mouse wheel changes nothing. The hidden column
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
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    bool isSlot(const QModelIndex &index) const;

    bool m_quiet = false;
    bool m_mouseDown = false;
    bool m_extending = false;
};
