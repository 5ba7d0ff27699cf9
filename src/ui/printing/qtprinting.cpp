#include "ui/printing/qtprinting.h"

#include "ui/platform/dialogs.h"
#include "ui/printing/qprintertarget.h"

#include <QDir>
#include <QFileDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

QtPrinting::QtPrinting(QPrinter *printer, IDialogs *dialogs)
    : m_printer(printer), m_dialogs(dialogs)
{
}

QtPrinting::~QtPrinting() = default;

bool QtPrinting::hasPrinter() const
{
    // "Printer Setup" can send the output to a file; that is a printer too.
    if (m_printer && m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty())
        return true;
    // Without an installed printer a QPrinter quietly becomes a 96 dpi PDF
    // printer with no file: nothing would come out.
    return m_printer && !QPrinterInfo::availablePrinters().isEmpty();
}

std::unique_ptr<IPrintTarget> QtPrinting::printerTarget()
{
    return std::make_unique<QPrinterTarget>(m_printer);
}

QString QtPrinting::askPdfFile(QWidget *parent, const QString &suggestedName)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString path = QFileDialog::getSaveFileName(parent, QObject::tr("Save as PDF"),
                                                QDir(folder).filePath(suggestedName),
                                                QObject::tr("PDF files (*.pdf)"));
    if (!path.isEmpty() && !path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return path;
}

std::unique_ptr<IPrintTarget> QtPrinting::pdfTarget(const QString &path)
{
    m_pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_pdf->setOutputFormat(QPrinter::PdfFormat);
    m_pdf->setResolution(600);
    if (m_printer)
        m_pdf->setPageSize(m_printer->pageLayout().pageSize());
    // A file has no unprintable edge.
    m_pdf->setFullPage(true);
    m_pdf->setOutputFileName(path);
    return std::make_unique<QPrinterTarget>(m_pdf.get());
}

bool QtPrinting::setUpPrinter(QWidget *parent)
{
    return m_printer && m_dialogs && m_dialogs->printerSetup(parent, m_printer);
}
