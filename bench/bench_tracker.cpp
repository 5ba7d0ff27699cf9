// The tracker on a project with a full year of marks: one slot toggle end
// to end (mark, totals, statistics, year file save, note switch) and one
// loadDay (saving the previous binding, loading the year and the note,
// building the month).
#include "core/common/daynumber.h"
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "core/grid/gridroutines.h"
#include "core/tracker/sleeprecord.h"
#include "core/tracker/sleeptrack.h"
#include "ui/tracker/timetracker.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

const QDateTime kTrackerNow(QDate(2024, 5, 7), QTime(21, 15));

// Every day of 2024 with a night of 16 marked slots, its total and a note.
void writeFullYear(const QString &folder)
{
    SleepRecord record;
    record.bind(folder, DayNumber::fromDate(QDate(2024, 1, 1)));
    record.loadYear(2024);
    for (int d = 1; d <= 366; ++d) {
        const QDate date = QDate(2024, 1, 1).addDays(d - 1);
        record.yearChart.setCell(1, d, date.toString(QStringLiteral("MMM d")));
        record.yearChart.setCell(2, d, QStringLiteral("8.0"));
        for (int s = 5 + d % 4; s < 21 + d % 4; ++s)
            record.yearChart.setCell(SleepTrack::kSlotColumnBase + s, d, QStringLiteral("*"));
        TextFile::writeText(folder + SleepTrack::noteFileName(date),
                            QStringLiteral("Woke twice, fed at 3 am.\nNap after lunch."));
    }
    saveGridRows(record.yearChart, record.yearFile());
}

struct TrackerBench
{
    TrackerBench()
    {
        root = dir.path() + QLatin1Char('/');
        fakes.clock.set(kTrackerNow);
        data = std::make_unique<DataFolder>(root, &fakes.shell, fakes.clock);
        writeFullYear(data->projectsDir() + QStringLiteral("Garden/"));
        writeFullYear(data->projectsDir() + QStringLiteral("Car/"));
        form = std::make_unique<TimeTracker>(data.get(), fakes.services());
        form->resize(900, 600);
        form->show();
    }
    QString folder(const char *name) const { return data->projectsDir() + QLatin1String(name) + QLatin1Char('/'); }

    QTemporaryDir dir;
    QString root;
    FakeServices fakes;
    std::unique_ptr<DataFolder> data;
    std::unique_ptr<TimeTracker> form;
};

void BM_TrackerSlotToggle(benchmark::State &state)
{
    TrackerBench bench;
    bench.form->loadDay(bench.folder("Garden"), bench.fakes.clock.nowDayNumber());
    const int column = DayNumber::fromDate(kTrackerNow.date()) - bench.form->sleepRecord.firstDate() + 1;
    for (auto _ : state)
        bench.form->toggleSleepSlot(column, 30);
}
BENCHMARK(BM_TrackerSlotToggle)->Unit(benchmark::kMillisecond);

void BM_TrackerLoadDay(benchmark::State &state)
{
    TrackerBench bench;
    bench.form->loadDay(bench.folder("Garden"), bench.fakes.clock.nowDayNumber());
    bool garden = false;
    for (auto _ : state) {
        bench.form->loadDay(bench.folder(garden ? "Garden" : "Car"), bench.fakes.clock.nowDayNumber());
        garden = !garden;
    }
}
BENCHMARK(BM_TrackerLoadDay)->Unit(benchmark::kMillisecond);

} // namespace
