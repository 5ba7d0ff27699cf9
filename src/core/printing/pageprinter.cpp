#include "core/printing/pageprinter.h"

#include "core/printing/printtarget.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPaintDevice>
#include <QPen>

#include <cmath>

namespace {

const QColor kBandGrey(0x80, 0x80, 0x80);

QString tr(const char *text)
{
    return QCoreApplication::translate("PagePrinter", text);
}

// Draws text with its top-left corner at (x, y) in the painter's font.
void drawTextTopLeft(QPainter *canvas, int x, int y, const QString &text)
{
    const QFontMetrics metrics(canvas->font(), canvas->device());
    canvas->drawText(x, y + metrics.ascent(), text);
}

int deviceDpiY(QPainter *canvas)
{
    return canvas->device() ? canvas->device()->logicalDpiY() : 96;
}

QPen bandPen(int dpi)
{
    QPen pen(kBandGrey);
    pen.setStyle(Qt::SolidLine);
    pen.setWidth(nearestWhole(dpi / 72.0));
    return pen;
}

QFont bandFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    return font;
}

} // namespace

int nearestWhole(double x)
{
    return static_cast<int>(std::nearbyint(x));
}

QFont printableFont(const QFont &screenFont)
{
    QFont font(screenFont);
    if (screenFont.pixelSize() > 0)
        font.setPointSizeF(screenFont.pixelSize() * 72.0 / 96.0);
    return font;
}

PagePrinter::PagePrinter(const QString &title)
    : m_title(title)
{
}

void PagePrinter::printHeader(QPainter *painter, int, QRect band, bool &)
{
    const int d = deviceDpiY(painter);
    painter->setPen(bandPen(d));
    const int ruleY = band.bottom() - d / 18;
    painter->drawLine(band.left(), ruleY, band.right(), ruleY);
    painter->setFont(bandFont());
    const QFontMetrics metrics(painter->font(), painter->device());
    const int textHeight = metrics.height();
    drawTextTopLeft(painter, band.left(), band.bottom() - d / 10 - textHeight, m_title);
}

void PagePrinter::printFooter(QPainter *painter, int pageNumber, QRect band, bool &)
{
    const int d = deviceDpiY(painter);
    painter->setPen(bandPen(d));
    painter->drawLine(band.left(), band.top(), band.right(), band.top());
    const QString s = QStringLiteral("Page %1").arg(pageNumber);
    painter->setFont(bandFont());
    const QFontMetrics metrics(painter->font(), painter->device());
    drawTextTopLeft(painter, band.right() - metrics.horizontalAdvance(s), band.top() + d / 18, s);
}

PageBandPainter PagePrinter::header()
{
    return [this](QPainter *canvas, int page, QRect band, bool &go) { printHeader(canvas, page, band, go); };
}

PageBandPainter PagePrinter::footer()
{
    return [this](QPainter *canvas, int page, QRect band, bool &go) { printFooter(canvas, page, band, go); };
}

Expected<int> printString(IPrintTarget &target, const QStringList &lines, const QFont *font, float leftMargin,
                          float rightMargin, float topMargin, float bottomMargin, float linesPerInch,
                          bool measureOnly, const PageBandPainter &onHeader, const PageBandPainter &onFooter)
{
    auto fail = [](const QString &message) { return Expected<int>::failure(message); };
    if (!font)
        return fail(QStringLiteral("PrintString: requires a valid aFont parameter! (uPagePrinter)"));
    if (!(linesPerInch > 0))
        return fail(tr("PrintString: the number of lines per inch must be positive."));

    bool keepPrinting = true;
    int pageNumber = 1;
    qsizetype nextLine = 0;

    const Result begun = target.beginDocument();
    if (!begun)
        return fail(begun.error);
    QPainter *canvas = target.painter();

    const int dpiX = target.dpiX();
    const int dpiY = target.dpiY();
    const QRect area = target.printableArea();
    const QSize paper = target.paperSize();
    const int offX = area.left();
    const int offY = area.top();
    const int pageW = area.width();
    const int pageH = area.height();

    int L = qMax(nearestWhole(dpiX * double(leftMargin)), offX);
    int T = qMax(nearestWhole(dpiY * double(topMargin)), offY);
    int R = qMin(paper.width() - nearestWhole(dpiX * double(rightMargin)), pageW + offX);
    int B = qMin(paper.height() - nearestWhole(dpiY * double(bottomMargin)), pageH + offY);
    if (L >= R || T >= B) {
        // Nothing can be printed: discard the job rather than send out an
        // empty page.
        target.abortDocument();
        return fail(QStringLiteral("PrintString: the supplied margins are too large, there is no area "
                                   "to print left on the page."));
    }
    L -= offX;
    R -= offX;
    T -= offY;
    B -= offY;
    const QRect headerBand(QPoint(L, 0), QPoint(R, T));
    const QRect footerBand(QPoint(L, B), QPoint(R, pageH));
    // QRect's right() and bottom() are the coordinates given here, so a band
    // copy reads back the same four numbers.

    const int lineHeight = nearestWhole(dpiY / double(linesPerInch));
    canvas->setFont(*font);
    const int textHeight = QFontMetrics(*font, canvas->device()).height();

    bool pageBroken = true;
    while (nextLine < lines.size() && keepPrinting) {
        if (!pageBroken && !target.newPage()) {
            target.abortDocument();
            return fail(tr("The printer could not start page %1.").arg(pageNumber));
        }
        pageBroken = false;
        if (onHeader) {
            onHeader(canvas, pageNumber, headerBand, keepPrinting);
            canvas->setFont(*font);
            canvas->setPen(QPen(Qt::black));
        }
        if (!keepPrinting)
            break;
        int y = T;
        const qsizetype firstOnPage = nextLine;
        while (nextLine < lines.size() && y <= B - textHeight) {
            drawTextTopLeft(canvas, L, y, lines.at(nextLine));
            ++nextLine;
            y += lineHeight;
        }
        if (onFooter) {
            onFooter(canvas, pageNumber, footerBand, keepPrinting);
            canvas->setFont(*font);
            canvas->setPen(QPen(Qt::black));
        }
        if (nextLine == firstOnPage && keepPrinting) {
            // Not even one line fits between the margins: more pages would
            // never get any further.
            target.abortDocument();
            return fail(tr("PrintString: the font is too tall for the space between the margins."));
        }
        if (nextLine < lines.size() && keepPrinting)
            ++pageNumber; // the new page starts at the top of the loop
    }

    if (!keepPrinting || measureOnly) {
        target.abortDocument();
    } else {
        const Result ended = target.endDocument();
        if (!ended)
            return fail(ended.error);
    }
    return Expected<int>(keepPrinting ? pageNumber : 0);
}
