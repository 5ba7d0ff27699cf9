#pragma once

#include "core/common/result.h"

#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// A printer as the page printer sees it: its resolution, its paper, the
// part of the paper it can print on, and one document at a time made of
// pages drawn with a painter. The painter's origin is the top-left corner
// of the printable area. The real one wraps a QPrinter; tests use one that
// records what is drawn.
class IPrintTarget
{
public:
    virtual ~IPrintTarget() = default;

    // Dots per inch.
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    // The whole paper, in dots.
    virtual QSize paperSize() const = 0;
    // The printable area in paper coordinates: its top-left corner is the
    // offset of the unprintable edge.
    virtual QRect printableArea() const = 0;

    // The name the print queue shows for the next document.
    virtual void setDocumentName(const QString &name) = 0;
    // Starts a document and its first page; the reason when the printer
    // refuses.
    virtual Result beginDocument() = 0;
    // Valid between beginDocument and the end or abort of the document.
    virtual QPainter *painter() = 0;
    virtual bool newPage() = 0;
    // Discards the document: nothing comes out.
    virtual void abortDocument() = 0;
    // Hands the document to the printer.
    virtual Result endDocument() = 0;
};
