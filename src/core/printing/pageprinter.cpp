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

void PagePrinter::printHeader(QPainter *aCanvas, int, QRect aBand, bool &)
{
    const int d = deviceDpiY(aCanvas);
    aCanvas->setPen(bandPen(d));
    const int ruleY = aBand.bottom() - d / 18;
    aCanvas->drawLine(aBand.left(), ruleY, aBand.right(), ruleY);
    aCanvas->setFont(bandFont());
    const QFontMetrics metrics(aCanvas->font(), aCanvas->device());
    const int textHeight = metrics.height();
    drawTextTopLeft(aCanvas, aBand.left(), aBand.bottom() - d / 10 - textHeight, m_title);
}

void PagePrinter::printFooter(QPainter *aCanvas, int aPageNumber, QRect aBand, bool &)
{
    const int d = deviceDpiY(aCanvas);
    aCanvas->setPen(bandPen(d));
    aCanvas->drawLine(aBand.left(), aBand.top(), aBand.right(), aBand.top());
    const QString s = QStringLiteral("Page %1").arg(aPageNumber);
    aCanvas->setFont(bandFont());
    const QFontMetrics metrics(aCanvas->font(), aCanvas->device());
    drawTextTopLeft(aCanvas, aBand.right() - metrics.horizontalAdvance(s), aBand.top() + d / 18, s);
}

PageBandPainter PagePrinter::header()
{
    return [this](QPainter *canvas, int page, QRect band, bool &go) { printHeader(canvas, page, band, go); };
}

PageBandPainter PagePrinter::footer()
{
    return [this](QPainter *canvas, int page, QRect band, bool &go) { printFooter(canvas, page, band, go); };
}

Expected<int> printString(IPrintTarget &aPrinter, const QStringList &aLines, const QFont *aFont, float aLeftMargin,
                          float aRightMargin, float aTopMargin, float aBottomMargin, float aLinesPerInch,
                          bool aMeasureOnly, const PageBandPainter &aOnHeader, const PageBandPainter &aOnFooter)
{
    auto fail = [](const QString &message) { return Expected<int>::failure(message); };
    if (!aFont)
        return fail(QStringLiteral("PrintString: requires a valid aFont parameter! (uPagePrinter)"));
    if (!(aLinesPerInch > 0))
        return fail(tr("PrintString: the number of lines per inch must be positive."));

    bool aContinue = true;
    int pageNumber = 1;
    qsizetype nextLine = 0;

    const Result begun = aPrinter.beginDocument();
    if (!begun)
        return fail(begun.error);
    QPainter *canvas = aPrinter.painter();

    const int dpiX = aPrinter.dpiX();
    const int dpiY = aPrinter.dpiY();
    const QRect area = aPrinter.printableArea();
    const QSize paper = aPrinter.paperSize();
    const int offX = area.left();
    const int offY = area.top();
    const int pageW = area.width();
    const int pageH = area.height();

    int L = qMax(nearestWhole(dpiX * double(aLeftMargin)), offX);
    int T = qMax(nearestWhole(dpiY * double(aTopMargin)), offY);
    int R = qMin(paper.width() - nearestWhole(dpiX * double(aRightMargin)), pageW + offX);
    int B = qMin(paper.height() - nearestWhole(dpiY * double(aBottomMargin)), pageH + offY);
    if (L >= R || T >= B) {
        // Nothing can be printed: discard the job rather than send out an
        // empty page.
        aPrinter.abortDocument();
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

    const int lineHeight = nearestWhole(dpiY / double(aLinesPerInch));
    canvas->setFont(*aFont);
    const int textHeight = QFontMetrics(*aFont, canvas->device()).height();

    bool pageBroken = true;
    while (nextLine < aLines.size() && aContinue) {
        if (!pageBroken && !aPrinter.newPage()) {
            aPrinter.abortDocument();
            return fail(tr("The printer could not start page %1.").arg(pageNumber));
        }
        pageBroken = false;
        if (aOnHeader) {
            aOnHeader(canvas, pageNumber, headerBand, aContinue);
            canvas->setFont(*aFont);
            canvas->setPen(QPen(Qt::black));
        }
        if (!aContinue)
            break;
        int y = T;
        const qsizetype firstOnPage = nextLine;
        while (nextLine < aLines.size() && y <= B - textHeight) {
            drawTextTopLeft(canvas, L, y, aLines.at(nextLine));
            ++nextLine;
            y += lineHeight;
        }
        if (aOnFooter) {
            aOnFooter(canvas, pageNumber, footerBand, aContinue);
            canvas->setFont(*aFont);
            canvas->setPen(QPen(Qt::black));
        }
        if (nextLine == firstOnPage && aContinue) {
            // Not even one line fits between the margins: more pages would
            // never get any further.
            aPrinter.abortDocument();
            return fail(tr("PrintString: the font is too tall for the space between the margins."));
        }
        if (nextLine < aLines.size() && aContinue)
            ++pageNumber; // the new page starts at the top of the loop
    }

    if (!aContinue || aMeasureOnly) {
        aPrinter.abortDocument();
    } else {
        const Result ended = aPrinter.endDocument();
        if (!ended)
            return fail(ended.error);
    }
    return Expected<int>(aContinue ? pageNumber : 0);
}
