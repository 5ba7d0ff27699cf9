// The alarm clock's tick, loading and saving an alarm list, and the sleep
// report, on lists and readings far larger than anyone keeps.
#include "fakes.h"
#include "core/tracker/alarmrule.h"
#include "core/tracker/listviewstream.h"
#include "core/tracker/sleepreport.h"
#include "ui/tracker/alarmpages.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>

namespace {

// 1,000 entries: a mix of daily, weekday and date schedules, none ringing
// at the benchmark's moment, so every tick walks the whole list.
ListViewData bigList()
{
    ListViewData list;
    for (int i = 0; i < 1000; ++i) {
        const double value = 45000 + (i % 1440) / 1440.0;
        const QString schedule = i % 3 == 0   ? QStringLiteral("Daily")
                                 : i % 3 == 1 ? QStringLiteral("Mon Wed Fri ")
                                              : AlarmRule::fixedDateSchedule(QDate(2008, 4, 5));
        list.items.append(ListViewItem{true,
                                       AlarmRule::caption(schedule, AlarmRule::formatTime(value)),
                                       {schedule, AlarmRule::timeValueText(value)}});
    }
    return list;
}

void BM_ClockTick(benchmark::State &state)
{
    QTemporaryDir dir;
    ListViewData list = bigList();
    saveListView(list, dir.filePath(QStringLiteral("bedtimes.txt")));
    saveListView(list, dir.filePath(QStringLiteral("wakeuptimes.txt")));
    FakeServices fakes;
    fakes.clock.set(QDateTime(QDate(2024, 5, 7), QTime(23, 59, 30)));
    QWidget bed, feed;
    AlarmPages alarms(&bed, &feed, fakes.services());
    alarms.loadLists(dir.path() + QLatin1Char('/'));
    for (auto _ : state)
        alarms.checkAlarms();
}
BENCHMARK(BM_ClockTick)->Unit(benchmark::kMillisecond);

void BM_LoadAndSaveAlarmLists(benchmark::State &state)
{
    QTemporaryDir dir;
    ListViewData list = bigList();
    saveListView(list, dir.filePath(QStringLiteral("bedtimes.txt")));
    saveListView(list, dir.filePath(QStringLiteral("wakeuptimes.txt")));
    FakeServices fakes;
    QWidget bed, feed;
    AlarmPages alarms(&bed, &feed, fakes.services());
    for (auto _ : state) {
        alarms.loadLists(dir.path() + QLatin1Char('/'));
        alarms.saveLists();
    }
}
BENCHMARK(BM_LoadAndSaveAlarmLists)->Unit(benchmark::kMillisecond);

void BM_WriteSleepReport(benchmark::State &state)
{
    QTemporaryDir dir;
    QStringList readings;
    for (int i = 0; i < 3650; ++i)
        readings << QStringLiteral("Day %1=97.%2").arg(i).arg(i % 10);
    TextFile::writeLines(dir.filePath(QStringLiteral("time.txt")), readings);
    for (auto _ : state) {
        SleepReport::writeReport(dir.filePath(QStringLiteral("time.txt")),
                           dir.filePath(QStringLiteral("DedoDurid.html")), QStringLiteral("May"),
                           QStringLiteral("5/7/24"));
    }
}
BENCHMARK(BM_WriteSleepReport)->Unit(benchmark::kMillisecond);

} // namespace
