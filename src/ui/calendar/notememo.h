#pragma once

#include <QPlainTextEdit>

// The day editor's text area: a plain word-wrapping editor that tells when
// it is clicked and when the keyboard focus leaves it.
class NoteMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit NoteMemo(QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();
    void focusLost();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
