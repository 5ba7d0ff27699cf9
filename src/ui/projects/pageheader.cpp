#include "ui/projects/pageheader.h"

#include <QPainter>

PageHeader::PageHeader(int height, bool stripe, QWidget *parent)
    : QWidget(parent)
    , m_stripe(stripe)
{
    setFixedHeight(height);
}

void PageHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_stripe)
        painter.fillRect(QRect(0, height() - 3, width(), 3), QColor(0xC1, 0xE0, 0xFF));
}
