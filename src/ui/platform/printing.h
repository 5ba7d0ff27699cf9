#pragma once

#include <QString>

#include <memory>

class IPrintTarget;
class QWidget;

// The printer service: the printer chosen in "Printer Setup", and the way
// out when there is none, a PDF file chosen by the user. Tests put a
// recording target behind it.
class IPrinting
{
public:
    virtual ~IPrinting() = default;

    // True when there is a printer to print on (an installed printer, or a
    // file chosen as the output in "Printer Setup").
    virtual bool hasPrinter() const = 0;
    // A target on the printer chosen in "Printer Setup".
    virtual std::unique_ptr<IPrintTarget> printerTarget() = 0;
    // Asks where to save a PDF file; empty when the user cancels.
    virtual QString askPdfFile(QWidget *parent, const QString &suggestedName) = 0;
    // A target that writes a PDF file.
    virtual std::unique_ptr<IPrintTarget> pdfTarget(const QString &path) = 0;
    // "Printer Setup" on the printer every print job uses; true when the
    // user accepted it.
    virtual bool setUpPrinter(QWidget *parent) = 0;
};
