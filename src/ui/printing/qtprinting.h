#pragma once

#include "ui/platform/printing.h"

class IDialogs;
class QPrinter;

// The printer service on Qt's printing: the shared QPrinter that "Printer
// Setup" configures, and PDF files at 600 dpi on the same paper.
class QtPrinting final : public IPrinting
{
public:
    // Neither the printer nor the dialogs are owned; "Printer Setup" is
    // shown through the dialogs.
    QtPrinting(QPrinter *printer, IDialogs *dialogs);
    ~QtPrinting() override;

    bool hasPrinter() const override;
    std::unique_ptr<IPrintTarget> printerTarget() override;
    QString askPdfFile(QWidget *parent, const QString &suggestedName) override;
    std::unique_ptr<IPrintTarget> pdfTarget(const QString &path) override;
    bool setUpPrinter(QWidget *parent) override;

private:
    QPrinter *m_printer;
    IDialogs *m_dialogs;
    std::unique_ptr<QPrinter> m_pdf;
};
