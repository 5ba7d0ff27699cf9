#include "ui/printing/qprintertarget.h"

#include <QCoreApplication>
#include <QPrinter>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("QPrinterTarget", text);
}
} // namespace

QPrinterTarget::QPrinterTarget(QPrinter *printer)
    : m_printer(printer)
{
}

QPrinterTarget::~QPrinterTarget()
{
    if (m_painter.isActive())
        abortDocument();
}

int QPrinterTarget::dpiX() const
{
    return m_printer->resolution();
}

int QPrinterTarget::dpiY() const
{
    return m_printer->resolution();
}

QSize QPrinterTarget::paperSize() const
{
    return m_printer->paperRect(QPrinter::DevicePixel).toRect().size();
}

QRect QPrinterTarget::printableArea() const
{
    return m_printer->pageRect(QPrinter::DevicePixel).toRect();
}

QString QPrinterTarget::printerName() const
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty())
        return m_printer->outputFileName();
    return m_printer->printerName();
}

void QPrinterTarget::setDocumentName(const QString &name)
{
    m_printer->setDocName(name);
}

Result QPrinterTarget::beginDocument()
{
    if (!m_painter.begin(m_printer))
        return Result::failure(tr("The printer \"%1\" could not start the print job.").arg(printerName()));
    return Result::success();
}

QPainter *QPrinterTarget::painter()
{
    return &m_painter;
}

bool QPrinterTarget::newPage()
{
    return m_printer->newPage();
}

void QPrinterTarget::abortDocument()
{
    m_printer->abort();
    if (m_painter.isActive())
        m_painter.end();
}

Result QPrinterTarget::endDocument()
{
    if (!m_painter.end() || m_printer->printerState() == QPrinter::Error)
        return Result::failure(tr("The printer \"%1\" did not accept the print job.").arg(printerName()));
    return Result::success();
}
