#pragma once

#include "core/common/result.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

class IPrintTarget;
class QPainter;

// Draws the header or the footer band of one page. The band is a copy;
// clearing keepPrinting stops the printing.
using PageBandPainter = std::function<void(QPainter *painter, int pageNumber, QRect band, bool &keepPrinting)>;

// The header and footer that the program's print buttons use: a grey rule
// and the page title above the text, a grey rule and "Page n" below it.
class PagePrinter
{
public:
    // The title is printed in the header of every page.
    explicit PagePrinter(const QString &title = QString());

    void printHeader(QPainter *painter, int pageNumber, QRect band, bool &keepPrinting);
    void printFooter(QPainter *painter, int pageNumber, QRect band, bool &keepPrinting);

    PageBandPainter header();
    PageBandPainter footer();

private:
    QString m_title;
};

// Prints the lines one per printed line, at a pitch of linesPerInch,
// inside margins measured in inches from the paper's edges, with a header
// and a footer on every page, breaking pages when the next line would not
// fit. No wrapping and no clipping. Returns the number of pages printed (or
// counted, with measureOnly, which discards the job), 0 when a callback
// stopped the printing, or the reason when the printer refused or the
// margins leave nothing to print on (the job is then discarded, nothing
// comes out).
Expected<int> printString(IPrintTarget &target, const QStringList &lines, const QFont *font, float leftMargin,
                          float rightMargin, float topMargin, float bottomMargin, float linesPerInch,
                          bool measureOnly, const PageBandPainter &onHeader, const PageBandPainter &onFooter);

// x to the nearest whole number, halves to the even neighbour.
int nearestWhole(double x);

// The font as it should look on paper: a font sized in screen pixels is
// given the same size in points that it has on a 96 dpi screen, so that it
// does not shrink to dots on a printer.
QFont printableFont(const QFont &screenFont);
