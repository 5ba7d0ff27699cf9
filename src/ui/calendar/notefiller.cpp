#include "ui/calendar/notefiller.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

NoteFiller::NoteFiller(QTextDocument *document, const QString &text)
    : QObject(document)
    , m_document(document)
    , m_text(text)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &NoteFiller::fillSlice);
}

NoteFiller *NoteFiller::of(const QTextDocument *document)
{
    return document->findChild<NoteFiller *>(QString(), Qt::FindDirectChildrenOnly);
}

void NoteFiller::stop(QTextDocument *document)
{
    if (NoteFiller *filler = of(document)) {
        filler->m_timer->stop();
        filler->setParent(nullptr);
        filler->deleteLater();
        document->setUndoRedoEnabled(true);
    }
}

void NoteFiller::fill(QTextDocument *document, const QString &text)
{
    stop(document);
    if (text.size() <= sliceChars) {
        document->setPlainText(text);
        return;
    }
    auto *filler = new NoteFiller(document, text);
    document->setUndoRedoEnabled(false);
    filler->m_filled = filler->sliceEnd(0);
    document->setPlainText(text.left(filler->m_filled));
    filler->m_timer->start();
}

qsizetype NoteFiller::sliceEnd(qsizetype from) const
{
    // Slices end before a line break, so that every later slice starts a
    // line of its own.
    const qsizetype target = from + sliceChars;
    if (target >= m_text.size())
        return m_text.size();
    const qsizetype lineEnd = m_text.indexOf(QLatin1Char('\n'), target);
    return lineEnd < 0 ? m_text.size() : lineEnd;
}

void NoteFiller::fillSlice()
{
    const qsizetype end = sliceEnd(m_filled);
    QTextCursor cursor(m_document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringView(m_text).mid(m_filled, end - m_filled).toString());
    m_filled = end;
    if (m_filled < m_text.size()) {
        m_timer->start();
        return;
    }
    const std::function<void()> done = std::move(m_onFinished);
    setParent(nullptr);
    deleteLater();
    m_document->setUndoRedoEnabled(true);
    m_document->setModified(false);
    if (done)
        done();
}
