// The two charts of the tracker: averages per weekday and the sleep cycle.
#include "ui/common/look.h"
#include "ui/tracker/timetracker.h"

#include "core/common/dateformat.h"
#include "core/common/daynumber.h"
#include "core/tracker/sleeptrack.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <cmath>

namespace {

QLabel *caption(const QString &name, const QString &text, const QFont &font, QWidget *parent)
{
    return captionLabel(name, text, font, parent);
}

qreal msecsOf(double dayNumber)
{
    return static_cast<qreal>(DayNumber::toDateTime(dayNumber).toMSecsSinceEpoch());
}

QString rangeText(double date)
{
    return formatDateTime(QStringLiteral("mmm d"), date - 30) + QStringLiteral(" - ")
           + formatDateTime(QStringLiteral("mmm d"), date);
}

} // namespace

void TimeTracker::createGraphPage()
{
    graphTitle = caption(QStringLiteral("Label10"), tr("Time Per Weekday"), pixelFont(QStringLiteral("Arial"), 19),
                      graphPage);
    graphTitle->move(8, 8);
    graphSubtitle = caption(QStringLiteral("Label13"), tr("30 Day Averrage"), pixelFont(QStringLiteral("Arial"), 13),
                      graphPage);
    graphSubtitle->move(8, 36);
    rangeLabel = caption(QStringLiteral("Label_Range"), QStringLiteral("."),
                          pixelFont(QStringLiteral("Arial"), 13), graphPage);
    rangeLabel->setAccessibleName(tr("Date range"));
    rangeLabel->setGeometry(graphSubtitle->x() + graphSubtitle->width() + 16, 36, 220, graphSubtitle->height());

    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setMargins(QMargins(4, 4, 4, 4));
    weekdaySeries = new QStackedBarSeries;
    weekdaySeries->setObjectName(QStringLiteral("Series1"));
    const QStringList days = {QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
                              QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat"),
                              QStringLiteral("Sun")};
    // One set per weekday, each holding only its own bar, so that every
    // bar takes the next colour of the chart's theme.
    for (int w = 0; w < 7; ++w) {
        auto *set = new QBarSet(days.at(w));
        for (int i = 0; i < 7; ++i)
            set->append(0.0);
        weekdaySeries->append(set);
    }
    weekdaySeries->setLabelsVisible(false);
    weekdaySeries->setBarWidth(0.6);
    chart->addSeries(weekdaySeries);
    auto *weekdays = new QBarCategoryAxis;
    weekdays->append(days);
    chart->addAxis(weekdays, Qt::AlignBottom);
    weekdaySeries->attachAxis(weekdays);
    auto *hours = new QValueAxis;
    hours->setTitleText(tr("Hours of Sleep"));
    hours->setRange(0, 1);
    hours->setLabelFormat(QStringLiteral("%.1f"));
    chart->addAxis(hours, Qt::AlignLeft);
    weekdaySeries->attachAxis(hours);

    weekChart = new QChartView(chart, graphPage);
    weekChart->setObjectName(QStringLiteral("Week_chart"));
    weekChart->setAccessibleName(tr("Time per weekday"));
    weekChart->setRenderHint(QPainter::Antialiasing);
    weekChart->setGeometry(8, 60, 465, 241);
}

void TimeTracker::createBedPage()
{
    const QFont bold = pixelFont(QStringLiteral("Arial"), 11, FontStyle::Bold);
    const char *names[] = {"Label_Awake", "Label_Dreaming", "Label_Light", "Label_Deep"};
    const QString texts[] = {tr("Awake"), tr("Dreaming"), tr("Light Sleep"), tr("Deep Sleep")};
    for (int i = 0; i < 4; ++i)
        caption(QString::fromLatin1(names[i]), texts[i], bold, bedPage)->move(8, 40 + i * 30);

    auto *chart = new QChart;
    chart->setTitle(tr("Adult Sleep Cycle (7.5 hours)"));
    chart->setTitleFont(pixelFont(QStringLiteral("Arial"), 13));
    chart->setTitleBrush(QColor(0x80, 0x80, 0x80));
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    // The plot area's picture: night blue fading to the morning.
    QLinearGradient night(0, 0, 1, 0);
    night.setCoordinateMode(QGradient::ObjectBoundingMode);
    night.setColorAt(0, QColor(0xE4, 0xEC, 0xFA));
    night.setColorAt(1, QColor(0xFF, 0xF6, 0xE0));
    chart->setPlotAreaBackgroundBrush(night);
    chart->setPlotAreaBackgroundVisible(true);

    cycleSeries = new QLineSeries;
    cycleSeries->setObjectName(QStringLiteral("Series3"));
    QPen curve(QColor(0x00, 0x80, 0xFF));
    curve.setWidth(2);
    cycleSeries->setPen(curve);
    cycleSeries->setPointsVisible(false);
    wakeSeries = new QLineSeries;
    wakeSeries->setObjectName(QStringLiteral("Series4"));
    wakeSeries->setName(tr("  Wake Up"));
    QPen wake(QColor(0xFF, 0x00, 0x00));
    wake.setWidth(3);
    wakeSeries->setPen(wake);
    chart->addSeries(cycleSeries);
    chart->addSeries(wakeSeries);

    auto *times = new QCategoryAxis;
    times->setObjectName(QStringLiteral("CycleTimes"));
    times->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    chart->addAxis(times, Qt::AlignBottom);
    auto *depth = new QValueAxis;
    depth->setRange(-4.5, 1.5);
    depth->setVisible(false);
    chart->addAxis(depth, Qt::AlignLeft);
    for (QLineSeries *s : {cycleSeries, wakeSeries}) {
        s->attachAxis(times);
        s->attachAxis(depth);
    }

    cycleChart = new QChartView(chart, bedPage);
    cycleChart->setObjectName(QStringLiteral("Cycle_graph"));
    cycleChart->setAccessibleName(tr("Sleep cycle"));
    cycleChart->setRenderHint(QPainter::Antialiasing);
    cycleChart->setGeometry(100, 20, 689, 185);
    auto *awake = caption(QStringLiteral("Label_AwakeTop"), tr("Awake"), bold, cycleChart);
    awake->move(cycleChart->width() - awake->width() - 24, 28);
}

void TimeTracker::showWeekChart(double date)
{
    rangeLabel->setText(rangeText(date));
    const QList<double> averages = sleepRecord.weekdayAverages(DayNumber::wholeDay(date));
    const QList<QBarSet *> sets = weekdaySeries->barSets();
    double top = 0;
    for (int w = 0; w < 7 && w < sets.size(); ++w) {
        const double v = averages.value(w);
        for (int i = 0; i < 7; ++i)
            sets.at(w)->replace(i, i == w ? v : 0.0);
        top = std::max(top, v);
    }
    const QList<QAbstractAxis *> axes = weekChart->chart()->axes(Qt::Vertical);
    if (auto *hours = axes.isEmpty() ? nullptr : qobject_cast<QValueAxis *>(axes.first()))
        hours->setRange(0, top > 0 ? std::ceil(top * 1.1) : 1.0);
}

void TimeTracker::showSleepCycle(double hours, double start)
{
    if (!DayNumber::isRepresentable(start) || !std::isfinite(hours) || hours < 0 || hours > 24)
        return;
    rangeLabel->setText(rangeText(start));
    const QList<QPointF> points = SleepTrack::sleepCyclePoints(start);
    // Stairs: each value holds until the next quarter hour.
    QList<QPointF> stairs;
    for (int k = 0; k < points.size(); ++k) {
        const QPointF p(msecsOf(points.at(k).x()), points.at(k).y());
        if (k > 0)
            stairs.append(QPointF(p.x(), stairs.last().y()));
        stairs.append(p);
    }
    cycleSeries->replace(stairs);
    QList<QPointF> wake;
    for (const QPointF &p : SleepTrack::wakeUpLine(start, hours))
        wake.append(QPointF(msecsOf(p.x()), p.y()));
    wakeSeries->replace(wake);

    // The time axis spans the curve and is labelled on every whole hour.
    auto *times = qobject_cast<QCategoryAxis *>(cycleChart->chart()->axes(Qt::Horizontal).value(0));
    if (!times || stairs.isEmpty())
        return;
    for (const QString &label : times->categoriesLabels())
        times->remove(label);
    const double first = points.first().x();
    const double last = std::max(points.last().x(), SleepTrack::wakeUpLine(start, hours).first().x());
    times->setRange(msecsOf(first), msecsOf(last));
    // The first label stands on the bed time itself, so the first
    // category starts just before it.
    times->setStartValue(msecsOf(first) - 1);
    // Whole hours counted, not added up, so that midnight is exact.
    const auto firstHour = static_cast<qint64>(std::ceil(first * 24 - 1e-6));
    for (qint64 k = firstHour; k / 24.0 <= last + 1e-9; ++k)
        times->append(formatDateTime(QStringLiteral("h ampm"), k / 24.0), msecsOf(k / 24.0));
}
