#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QTextDocument;
class QTimer;

// Lays a long note into its document a slice at a time from the event
// loop, so that a week move never waits for megabytes of text to be laid
// out. It lives on the document (as its child), so a note that moves to
// another column while it is filled goes on filling there. While a filler
// runs, the note is not complete: its column is read-only and never saved.
class NoteFiller : public QObject
{
    Q_OBJECT
public:
    // Texts up to this many characters are laid in at once.
    static constexpr qsizetype sliceChars = 64 * 1024;

    // Replaces the document's text: at once when it is short, otherwise the
    // first slice now and the rest from the event loop. A filler already at
    // work on the document is dropped first.
    static void fill(QTextDocument *document, const QString &text);
    // The filler at work on the document, if any.
    static NoteFiller *of(const QTextDocument *document);
    // Drops the filler at work on the document (its text is being replaced).
    static void stop(QTextDocument *document);

    // The whole text, also the part not yet laid in.
    QString fullText() const { return m_text; }
    // Called once the whole text is in.
    void setOnFinished(std::function<void()> callback) { m_onFinished = std::move(callback); }

private:
    NoteFiller(QTextDocument *document, const QString &text);
    qsizetype sliceEnd(qsizetype from) const;
    void fillSlice();

    QTextDocument *m_document;
    QString m_text;
    qsizetype m_filled = 0;
    QTimer *m_timer;
    std::function<void()> m_onFinished;
};
