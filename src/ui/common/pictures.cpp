#include "ui/common/pictures.h"

#include <QKeyEvent>
#include <QPainter>
#include <QSvgRenderer>

// The artwork lives in a static library, whose resources must be
// registered by hand before first use.
static void ensureResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(vellumark);
        return true;
    }();
    Q_UNUSED(registered);
}

SvgPicture::SvgPicture(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_renderer((ensureResources(), new QSvgRenderer(resource, this)))
{
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_renderer->render(&painter, QRectF(rect()));
}

DottedLine::DottedLine(const QColor &color, QWidget *parent)
    : QWidget(parent)
    , m_color(color)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void DottedLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPen pen(m_color, 1, Qt::DotLine);
    painter.setPen(pen);
    if (height() >= width())
        painter.drawLine(0, 0, 0, height() - 1);
    else
        painter.drawLine(0, 0, width() - 1, 0);
}

QIcon svgIcon(const QString &resource)
{
    ensureResources();
    return QIcon(resource);
}

PictureButton::PictureButton(const QString &resource, const QString &accessibleName, QWidget *parent)
    : QToolButton(parent)
{
    setIcon(svgIcon(resource));
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(accessibleName);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QToolButton::keyPressEvent(event);
}
