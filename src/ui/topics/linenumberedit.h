#pragma once

#include <QColor>
#include <QFont>
#include <QPlainTextEdit>

class LineNumberGutter;

// A plain-text editor with a gutter of line numbers on its left. Each line
// of the text (a paragraph, however it wraps) gets one number, painted at
// the top of the line. The workspace only empties, loads and saves the
// lines; editing, undo and the clipboard are the plain-text editor's.
class LineNumberEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit LineNumberEdit(QWidget *parent = nullptr);

    // How the gutter looks: its background, the number of digits it makes
    // room for at least, the numbers' font and the space left of them.
    void setGutterColor(const QColor &color);
    void setGutterDigits(int digits);
    void setGutterFont(const QFont &font);
    void setGutterLeftOffset(int pixels);

    QColor gutterColor() const { return m_gutterColor; }
    int gutterWidth() const;

    // The lines of the text; no lines for an empty editor.
    QStringList lines() const;
    void setLines(const QStringList &lines);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class LineNumberGutter;
    void paintGutter(QPaintEvent *event);
    void updateGutterWidth();
    void updateGutter(const QRect &rect, int dy);

    LineNumberGutter *m_gutter;
    QColor m_gutterColor = Qt::white;
    QFont m_gutterFont;
    int m_gutterDigits = 2;
    int m_gutterLeftOffset = 3;
};
