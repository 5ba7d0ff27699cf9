#pragma once

#include "core/printing/printtarget.h"

#include <QPainter>

class QPrinter;

// The page printer's target on a real QPrinter: its resolution, paper and
// printable area in device pixels, one painter for the whole document.
class QPrinterTarget final : public IPrintTarget
{
public:
    // The printer is not owned and must outlive the target.
    explicit QPrinterTarget(QPrinter *printer);
    ~QPrinterTarget() override;

    int dpiX() const override;
    int dpiY() const override;
    QSize paperSize() const override;
    QRect printableArea() const override;
    void setDocumentName(const QString &name) override;
    Result beginDocument() override;
    QPainter *painter() override;
    bool newPage() override;
    void abortDocument() override;
    Result endDocument() override;

private:
    QString printerName() const;

    QPrinter *m_printer;
    QPainter m_painter;
};
