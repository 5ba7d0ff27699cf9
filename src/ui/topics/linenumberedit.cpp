#include "ui/topics/linenumberedit.h"

#include "core/topics/topicfiles.h"

#include <QPainter>
#include <QTextBlock>

// The strip beside the text area; it only forwards painting to the editor,
// which knows where each line sits.
class LineNumberGutter final : public QWidget
{
public:
    explicit LineNumberGutter(LineNumberEdit *editor)
        : QWidget(editor)
        , m_editor(editor)
    {
        setObjectName(QStringLiteral("gutter"));
    }

    QSize sizeHint() const override { return QSize(m_editor->gutterWidth(), 0); }

protected:
    void paintEvent(QPaintEvent *event) override { m_editor->paintGutter(event); }

private:
    LineNumberEdit *m_editor;
};

namespace {
// Room right of the numbers, before the text starts.
constexpr int kGutterRightPadding = 4;
} // namespace

LineNumberEdit::LineNumberEdit(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_gutter(new LineNumberGutter(this))
    , m_gutterFont(font())
{
    connect(this, &QPlainTextEdit::blockCountChanged, this, &LineNumberEdit::updateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &LineNumberEdit::updateGutter);
    updateGutterWidth();
}

void LineNumberEdit::setGutterColor(const QColor &color)
{
    m_gutterColor = color;
    m_gutter->update();
}

void LineNumberEdit::setGutterDigits(int digits)
{
    m_gutterDigits = qMax(1, digits);
    updateGutterWidth();
}

void LineNumberEdit::setGutterFont(const QFont &font)
{
    m_gutterFont = font;
    updateGutterWidth();
}

void LineNumberEdit::setGutterLeftOffset(int pixels)
{
    m_gutterLeftOffset = qMax(0, pixels);
    updateGutterWidth();
}

int LineNumberEdit::gutterWidth() const
{
    int digits = 1;
    for (int count = qMax(1, blockCount()); count >= 10; count /= 10)
        ++digits;
    digits = qMax(digits, m_gutterDigits);
    const QFontMetrics metrics(m_gutterFont);
    return m_gutterLeftOffset + metrics.horizontalAdvance(QLatin1Char('9')) * digits
           + kGutterRightPadding;
}

QStringList LineNumberEdit::lines() const
{
    return Topics::editorLines(toPlainText());
}

void LineNumberEdit::setLines(const QStringList &lines)
{
    setPlainText(Topics::joinEditorLines(lines));
}

void LineNumberEdit::updateGutterWidth()
{
    setViewportMargins(gutterWidth(), 0, 0, 0);
    const QRect area = contentsRect();
    m_gutter->setGeometry(area.left(), area.top(), gutterWidth(), area.height());
    m_gutter->update();
}

void LineNumberEdit::updateGutter(const QRect &rect, int dy)
{
    if (dy != 0)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
}

void LineNumberEdit::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    m_gutter->setGeometry(area.left(), area.top(), gutterWidth(), area.height());
}

void LineNumberEdit::paintGutter(QPaintEvent *event)
{
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), m_gutterColor);
    painter.setFont(m_gutterFont);
    painter.setPen(QColor(0x80, 0x80, 0x80));

    const int numberWidth = m_gutter->width() - m_gutterLeftOffset - kGutterRightPadding;
    const QFontMetrics numbers(m_gutterFont);
    const QFontMetrics text(font());
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top()) {
            // Line the number up with the first row of the line's text.
            const QTextLayout *layout = block.layout();
            const bool laidOut = layout && layout->lineCount() > 0;
            const int baseline = top
                                 + qRound(laidOut ? layout->lineAt(0).y() + layout->lineAt(0).ascent()
                                                  : text.ascent());
            painter.drawText(m_gutterLeftOffset, baseline - numbers.ascent(), numberWidth,
                             numbers.height(), Qt::AlignRight | Qt::AlignTop,
                             QString::number(block.blockNumber() + 1));
        }
        top += height;
        block = block.next();
    }
}
