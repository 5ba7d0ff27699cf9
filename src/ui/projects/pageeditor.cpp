#include "pageeditor.h"

#include "common/textfile.h"

#include <QFocusEvent>

PageEditor::PageEditor(const QString &name, const QString &spokenName, const QColor &background,
                       bool verticalScrollBar, bool border, QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(name);
    setAccessibleName(spokenName);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    setFont(font);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setFrameShape(border ? QFrame::Box : QFrame::NoFrame);
    if (border) {
        setLineWidth(1);
        setStyleSheet(QStringLiteral("PageEditor { border: 1px solid #A0A0A0; }"));
    }
    setVerticalScrollBarPolicy(verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    if (background.isValid()) {
        QPalette pal = palette();
        pal.setColor(QPalette::Base, background);
        pal.setColor(QPalette::Text, Qt::black);
        setPalette(pal);
    }
}

QStringList PageEditor::lines() const
{
    return TextFile::splitLines(pageText());
}

void PageEditor::setPageText(const QString &text, bool deferWhileHidden)
{
    if (deferWhileHidden && !isVisible()) {
        m_pendingText = text;
        m_pending = true;
        if (!document()->isEmpty())
            setPlainText(QString());
        return;
    }
    m_pending = false;
    m_pendingText.clear();
    setPlainText(text);
}

QString PageEditor::pageText() const
{
    return m_pending ? m_pendingText : toPlainText();
}

void PageEditor::ensureFilled()
{
    if (!m_pending)
        return;
    const QString text = m_pendingText;
    setPageText(text);
}

void PageEditor::showEvent(QShowEvent *event)
{
    ensureFilled();
    QPlainTextEdit::showEvent(event);
}

void PageEditor::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        Q_EMIT focusLost(this);
}
