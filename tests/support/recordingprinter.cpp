#include "recordingprinter.h"

#include "ui/printing/qtprinting.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QTextItem>

class RecordingEngine final : public QPaintEngine
{
public:
    explicit RecordingEngine(RecordingDevice *device)
        : QPaintEngine(QPaintEngine::AllFeatures)
        , m_device(device)
    {
    }

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            m_pen = state.pen();
    }

    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            m_device->job.lines.append(
                {m_device->currentPage, lines[i], m_pen.widthF(), m_pen.color(), m_pen.style()});
    }
    void drawLines(const QLine *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            m_device->job.lines.append(
                {m_device->currentPage, QLineF(lines[i]), m_pen.widthF(), m_pen.color(), m_pen.style()});
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QFontMetrics metrics(item.font(), m_device);
        m_device->job.texts.append({m_device->currentPage, item.text(), QPointF(p.x(), p.y() - metrics.ascent()),
                                    item.font(), m_pen.color()});
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    void drawRects(const QRectF *, int) override {}

private:
    RecordingDevice *m_device;
    QPen m_pen;
};

RecordingDevice::RecordingDevice(int dpi, QSize paper)
    : m_dpi(dpi)
    , m_paper(paper)
    , m_engine(std::make_unique<RecordingEngine>(this))
{
}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine *RecordingDevice::paintEngine() const
{
    return m_engine.get();
}

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_paper.width();
    case PdmHeight: return m_paper.height();
    case PdmWidthMM: return m_paper.width() * 254 / (10 * m_dpi);
    case PdmHeightMM: return m_paper.height() * 254 / (10 * m_dpi);
    case PdmNumColors: return 0xFFFFFF;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return m_dpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return 0;
}

RecordingTarget::RecordingTarget(int dpi, QSize paper, QRect printable, RecordedJob *log)
    : m_dpi(dpi)
    , m_paper(paper)
    , m_printable(printable)
    , m_log(log)
    , m_device(dpi, printable.size())
{
}

RecordingTarget::~RecordingTarget()
{
    finish();
}

Result RecordingTarget::beginDocument()
{
    if (refuseBegin)
        return Result::failure(QStringLiteral("The recording printer refused the job."));
    m_painter = std::make_unique<QPainter>(&m_device);
    m_device.job.begun = true;
    m_device.job.pages = 1;
    return Result::success();
}

QPainter *RecordingTarget::painter()
{
    return m_painter.get();
}

bool RecordingTarget::newPage()
{
    ++m_device.currentPage;
    ++m_device.job.pages;
    return true;
}

void RecordingTarget::abortDocument()
{
    m_device.job.aborted = true;
    finish();
}

Result RecordingTarget::endDocument()
{
    m_device.job.ended = true;
    finish();
    return Result::success();
}

void RecordingTarget::finish()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    if (m_log)
        *m_log = m_device.job;
}

std::unique_ptr<IPrintTarget> FakePrinting::printerTarget()
{
    jobs.append(RecordedJob());
    return std::make_unique<RecordingTarget>(dpi, paper, printable, &jobs.last());
}

QString FakePrinting::askPdfFile(QWidget *, const QString &suggestedName)
{
    pdfSuggestions.append(suggestedName);
    return pdfAnswer;
}

std::unique_ptr<IPrintTarget> FakePrinting::pdfTarget(const QString &path)
{
    // The program's own PDF target, on a printer set to Letter.
    if (!m_sharedPrinter) {
        m_sharedPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_sharedPrinter->setPageSize(QPageSize(QPageSize::Letter));
        m_real = std::make_unique<QtPrinting>(m_sharedPrinter.get(), nullptr);
    }
    return m_real->pdfTarget(path);
}

FakePrinting::FakePrinting() = default;
FakePrinting::~FakePrinting() = default;
