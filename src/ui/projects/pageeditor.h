#pragma once

#include <QPlainTextEdit>

class QTimer;

// One page editor of the project notebook. Its text belongs to its owner,
// the project it was last switched to, whatever line is selected in the
// project list; its page file is named after its page name (one of the
// ProjectPages names).
class PageEditor : public QPlainTextEdit
{
    Q_OBJECT
public:
    PageEditor(const QString &pageName, const QString &spokenName, const QColor &background,
               bool verticalScrollBar, bool border, QWidget *parent = nullptr);

    QString ownerName;
    // The page file could not be read: the editor is read-only and is not
    // saved, so the unread file is never replaced by an empty page.
    bool loadFailed = false;

    QString pageName() const { return m_pageName; }

    // True once the text was changed by anything but setPageText (typing,
    // pasting, "Clear Text", a program's setPlainText) since it was loaded
    // or last saved. An editor that is not edited is never written back,
    // so a file changed meanwhile by someone else is left as it is.
    bool isEdited() const { return m_edited; }
    void markSaved() { m_edited = false; }

    // Replaces the page's text. With deferWhileHidden an editor that is not
    // on screen keeps the text aside and fills itself when it is first
    // shown or asked for it: a summary of many projects fills seven editors,
    // and only the one on screen needs to be laid out at once. A long text
    // shows its first screens at once and the rest a slice at a time from
    // the event loop, read-only until it is all in, so the window never
    // waits for a megabyte to be laid out.
    void setPageText(const QString &text, bool deferWhileHidden = false);
    // The page's text, also while it waits to be filled.
    QString pageText() const;
    bool hasPendingText() const { return m_pending; }
    bool isFilling() const { return m_filling; }
    // Fills a waiting editor now.
    void ensureFilled();

    // Texts up to this many characters are laid out in one go.
    static constexpr qsizetype sliceChars = 32 * 1024;
    // The editor's text, or its lines, as stored.
    QStringList lines() const;

    // With this on, a double-click puts the caret on the clicked line and
    // emits lineDoubleClicked instead of selecting a word.
    void setOpensLineOnDoubleClick(bool on) { m_opensLineOnDoubleClick = on; }

Q_SIGNALS:
    // The keyboard focus left the editor (not for its own context menu).
    void focusLost(PageEditor *editor);
    void lineDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Lays the text in at once, or in slices when it is long and on screen.
    void layText(const QString &text);
    void startFilling(const QString &text);
    void fillSlice();
    void finishFilling();
    void stopFilling();
    qsizetype sliceEnd(qsizetype from) const;

    QString m_pageName;
    QString m_pendingText;
    bool m_pending = false;
    bool m_edited = false;
    // Set while the editor lays in a text it was given, which is no edit.
    bool m_layingIn = false;
    // Slices of m_pendingText from m_filled on are still to be appended.
    bool m_filling = false;
    bool m_readOnlyAfterFill = false;
    qsizetype m_filled = 0;
    QTimer *m_fillTimer = nullptr;
    bool m_opensLineOnDoubleClick = false;
};
