#pragma once

#include "ui/platform/printing.h"
#include "core/printing/printtarget.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QPaintDevice>
#include <QPointF>
#include <QString>

#include <memory>

class QPaintEngine;
class QPrinter;
class QtPrinting;
class RecordingEngine;

// What a recording printer saw of one document.
struct RecordedJob
{
    struct Text
    {
        int page;
        QString text;
        // Top-left corner of the text, from the baseline and the ascent.
        QPointF topLeft;
        QFont font;
        QColor color;
    };
    struct Line
    {
        int page;
        QLineF line;
        qreal penWidth;
        QColor color;
        Qt::PenStyle style;
    };
    bool begun = false;
    bool ended = false;
    bool aborted = false;
    QString documentName;
    int pages = 0; // pages started
    QList<Text> texts;
    QList<Line> lines;
};

// A paint device of a chosen resolution and paper that records the text
// and lines painted on it, page by page.
class RecordingDevice final : public QPaintDevice
{
public:
    RecordingDevice(int dpi, QSize paper);
    ~RecordingDevice() override;

    QPaintEngine *paintEngine() const override;
    RecordedJob job;
    int currentPage = 1;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int m_dpi;
    QSize m_paper;
    std::unique_ptr<RecordingEngine> m_engine;
};

// A printer target on a RecordingDevice: paper size, printable area and
// resolution as chosen by the test.
class RecordingTarget final : public IPrintTarget
{
public:
    // printable: the printable area in paper coordinates.
    RecordingTarget(int dpi, QSize paper, QRect printable, RecordedJob *log);
    ~RecordingTarget() override;

    int dpiX() const override { return m_dpi; }
    int dpiY() const override { return m_dpi; }
    QSize paperSize() const override { return m_paper; }
    QRect printableArea() const override { return m_printable; }
    void setDocumentName(const QString &name) override { m_device.job.documentName = name; }
    Result beginDocument() override;
    QPainter *painter() override;
    bool newPage() override;
    void abortDocument() override;
    Result endDocument() override;

    bool refuseBegin = false;

private:
    void finish();

    int m_dpi;
    QSize m_paper;
    QRect m_printable;
    RecordedJob *m_log;
    RecordingDevice m_device;
    std::unique_ptr<QPainter> m_painter;
};

// The printer service with a recording printer of 600 dpi on Letter paper
// (no unprintable edge unless the test says so), or no printer at all.
class FakePrinting final : public IPrinting
{
public:
    bool hasPrinter() const override { return printerInstalled; }
    std::unique_ptr<IPrintTarget> printerTarget() override;
    QString askPdfFile(QWidget *parent, const QString &suggestedName) override;
    std::unique_ptr<IPrintTarget> pdfTarget(const QString &path) override;
    bool setUpPrinter(QWidget *) override
    {
        ++printerSetups;
        return false;
    }

    bool printerInstalled = true;
    int printerSetups = 0;
    int dpi = 600;
    QSize paper{5100, 6600};
    QRect printable{0, 0, 5100, 6600};
    QList<RecordedJob> jobs;
    // The answer to the save dialog; empty: cancelled.
    QString pdfAnswer;
    QStringList pdfSuggestions;

    FakePrinting();
    ~FakePrinting() override;

private:
    std::unique_ptr<QPrinter> m_sharedPrinter;
    std::unique_ptr<QtPrinting> m_real;
};
