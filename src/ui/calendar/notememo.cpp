#include "ui/calendar/notememo.h"

#include <QFocusEvent>

NoteMemo::NoteMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

void NoteMemo::mousePressEvent(QMouseEvent *event)
{
    QPlainTextEdit::mousePressEvent(event);
    Q_EMIT clicked();
}

void NoteMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    // Opening the editor's own context menu is not leaving it.
    if (event->reason() != Qt::PopupFocusReason)
        Q_EMIT focusLost();
}
