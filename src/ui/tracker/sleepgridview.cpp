#include "ui/tracker/sleepgridview.h"

#include "core/grid/stringgrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

SleepGridView::SleepGridView(StringGrid *grid, QWidget *parent)
    : StringGridView(grid, parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAutoScroll(false);
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, [bar](int value) {
            if (value != 0)
                bar->setValue(0);
        });
    }
}

void SleepGridView::scrollTo(const QModelIndex &, ScrollHint)
{
}

void SleepGridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click arrives as this event alone.
    mousePressEvent(event);
}

bool SleepGridView::isSlot(const QModelIndex &index) const
{
    return index.isValid() && index.column() >= 1 && index.row() >= 1;
}

void SleepGridView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex pressed = indexAt(event->position().toPoint());
    const bool extend = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    m_mouseDown = true;
    StringGridView::mousePressEvent(event);
    // Every click selects the slot it lands on, also the current one.
    if (event->button() == Qt::LeftButton && !extend && !m_quiet && isSlot(pressed))
        Q_EMIT cellSelected(pressed.column(), pressed.row());
}

void SleepGridView::mouseReleaseEvent(QMouseEvent *event)
{
    m_mouseDown = false;
    StringGridView::mouseReleaseEvent(event);
}

void SleepGridView::wheelEvent(QWheelEvent *event)
{
    // The grid shows its whole month; a wheel step neither scrolls nor
    // marks anything.
    event->accept();
}

void SleepGridView::keyPressEvent(QKeyEvent *event)
{
    m_extending = event->modifiers() & Qt::ShiftModifier;
    StringGridView::keyPressEvent(event);
    m_extending = false;
}

QModelIndex SleepGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = StringGridView::moveCursor(action, modifiers);
    if (isSlot(next))
        return next;
    // Keep the cursor on the day columns and slot rows.
    if (!next.isValid())
        return next;
    const QModelIndex current = currentIndex();
    return isSlot(current) ? current : QModelIndex();
}

void SleepGridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    StringGridView::currentChanged(current, previous);
    if (m_quiet || m_mouseDown || m_extending || !isSlot(current) || current == previous)
        return;
    Q_EMIT cellSelected(current.column(), current.row());
}
