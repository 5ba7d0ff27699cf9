#include "ui/topics/splitterbar.h"

#include "ui/common/look.h"

#include <QMouseEvent>

SplitterBar::SplitterBar(const QColor &color, QWidget *parent)
    : QWidget(parent)
{
    fillBackground(this, color);
    setCursor(Qt::SplitHCursor);
}

void SplitterBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_grabX = qRound(event->position().x());
}

void SplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPoint inParent = parentWidget() ? parentWidget()->mapFromGlobal(event->globalPosition().toPoint())
                                           : event->globalPosition().toPoint();
    Q_EMIT draggedTo(inParent.x() - m_grabX);
}

void SplitterBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}
