#include "ui/projects/pageeditor.h"

#include "core/common/textfile.h"
#include "ui/common/look.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTimer>

#include <utility>

PageEditor::PageEditor(const QString &pageName, const QString &spokenName, const QColor &background,
                       bool verticalScrollBar, bool border, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_pageName(pageName)
{
    setAccessibleName(spokenName);
    setFont(pixelFont(QStringLiteral("Arial"), 16));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setFrameShape(border ? QFrame::Box : QFrame::NoFrame);
    if (border) {
        setLineWidth(1);
        setStyleSheet(QStringLiteral("PageEditor { border: 1px solid #A0A0A0; }"));
    }
    setVerticalScrollBarPolicy(verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!m_layingIn && (removed != 0 || added != 0))
            m_edited = true;
    });
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
    const QScopedValueRollback layingIn(m_layingIn, true);
    m_edited = false;
    stopFilling();
    if (deferWhileHidden && !isVisible()) {
        m_pendingText = text;
        m_pending = true;
        if (!document()->isEmpty())
            setPlainText(QString());
        return;
    }
    m_pending = false;
    m_pendingText.clear();
    layText(text);
}

void PageEditor::layText(const QString &text)
{
    if (text.size() > sliceChars && isVisible())
        startFilling(text);
    else
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
    const QScopedValueRollback layingIn(m_layingIn, true);
    if (m_filling) {
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        end.insertText(QStringView(m_pendingText).mid(m_filled).toString());
        finishFilling();
        return;
    }
    // Asked for the text now: no slices.
    m_pending = false;
    setPlainText(std::exchange(m_pendingText, QString()));
}

qsizetype PageEditor::sliceEnd(qsizetype from) const
{
    // Slices end before a line break, so each later slice starts a line.
    const qsizetype target = from + sliceChars;
    if (target >= m_pendingText.size())
        return m_pendingText.size();
    const qsizetype lineEnd = m_pendingText.indexOf(QLatin1Char('\n'), target);
    return lineEnd < 0 ? m_pendingText.size() : lineEnd;
}

void PageEditor::startFilling(const QString &text)
{
    if (!m_fillTimer) {
        m_fillTimer = new QTimer(this);
        m_fillTimer->setSingleShot(true);
        m_fillTimer->setInterval(0);
        connect(m_fillTimer, &QTimer::timeout, this, &PageEditor::fillSlice);
    }
    m_pendingText = text;
    m_pending = true;
    m_filling = true;
    m_readOnlyAfterFill = isReadOnly();
    setReadOnly(true);
    document()->setUndoRedoEnabled(false);
    m_filled = sliceEnd(0);
    setPlainText(m_pendingText.left(m_filled));
    m_fillTimer->start();
}

void PageEditor::fillSlice()
{
    if (!m_filling)
        return;
    const QScopedValueRollback layingIn(m_layingIn, true);
    const qsizetype end = sliceEnd(m_filled);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringView(m_pendingText).mid(m_filled, end - m_filled).toString());
    m_filled = end;
    if (m_filled >= m_pendingText.size())
        finishFilling();
    else
        m_fillTimer->start();
}

void PageEditor::finishFilling()
{
    m_fillTimer->stop();
    m_filling = false;
    m_pending = false;
    m_pendingText.clear();
    m_filled = 0;
    document()->setUndoRedoEnabled(true);
    document()->setModified(false);
    setReadOnly(m_readOnlyAfterFill);
}

void PageEditor::stopFilling()
{
    if (!m_filling)
        return;
    m_fillTimer->stop();
    m_filling = false;
    document()->setUndoRedoEnabled(true);
    setReadOnly(m_readOnlyAfterFill);
}

void PageEditor::showEvent(QShowEvent *event)
{
    if (m_pending && !m_filling) {
        const QScopedValueRollback layingIn(m_layingIn, true);
        m_pending = false;
        layText(std::exchange(m_pendingText, QString()));
    }
    QPlainTextEdit::showEvent(event);
}

void PageEditor::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!m_opensLineOnDoubleClick) {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    setTextCursor(cursorForPosition(event->position().toPoint()));
    Q_EMIT lineDoubleClicked();
}

void PageEditor::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        Q_EMIT focusLost(this);
}
