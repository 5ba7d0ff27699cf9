#pragma once

#include "ui/platform/printing.h"

class QPrinter;

// The printer service on Qt's printing: the shared QPrinter that "Printer
// Setup" configures, and PDF files at 600 dpi on the same paper.
class QtPrinting final : public IPrinting
{
public:
    // The printer is not owned.
    explicit QtPrinting(QPrinter *printer);
    ~QtPrinting() override;

    bool hasPrinter() const override;
    std::unique_ptr<IPrintTarget> printerTarget() override;
    QString askPdfFile(QWidget *parent, const QString &suggestedName) override;
    std::unique_ptr<IPrintTarget> pdfTarget(const QString &path) override;

private:
    QPrinter *m_printer;
    std::unique_ptr<QPrinter> m_pdf;
};
