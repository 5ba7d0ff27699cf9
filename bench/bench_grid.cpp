// Loading and saving grid rows files: a ledger of 10,000 items and a
// tracker year store (367 rows, 62 columns); switching the ledger widget
// between two such ledgers and calculating the balance.
#include "fakes.h"
#include "core/grid/gridroutines.h"
#include "core/grid/stringgrid.h"
#include "ui/projects/costledgerwidget.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

void fillLedger(StringGrid &grid, int rows)
{
    grid.setColumnCount(4);
    grid.setRowCount(rows);
    grid.setRowCells(0, {"Item name", "Date", "Debit", "Credit"});
    for (int r = 1; r < rows; ++r) {
        grid.setRowCells(r, {QStringLiteral("Item number %1, paid in cash").arg(r),
                             QStringLiteral("Mar %1, 2024").arg(r % 28 + 1),
                             QString::number(r % 97 + 0.25), r % 5 == 0 ? "12.5" : ""});
    }
}

void fillYearStore(StringGrid &grid)
{
    grid.setColumnCount(62);
    grid.setRowCount(367);
    grid.setRowCells(0, {"Date", "Farenheit", "Celsius", "BarHeight", "Time"});
    const QDate first(2024, 1, 1);
    for (int r = 1; r < 367; ++r) {
        const QDate day = first.addDays(r - 1);
        QStringList cells{QLocale().toString(day, "MMMM d"), QLocale().toString(day, "MMM d"),
                          "7.5"};
        cells.resize(62);
        for (int s = 1; s <= 51; ++s)
            cells[10 + s] = (s + r) % 3 == 0 ? QStringLiteral("*") : QString();
        grid.setRowCells(r, cells);
    }
}

void loadBench(benchmark::State &state, void (*fill)(StringGrid &))
{
    QTemporaryDir dir;
    const QString path = dir.filePath("grid.txt");
    StringGrid source;
    fill(source);
    saveGridRows(source, path);
    StringGrid grid;
    for (auto _ : state) {
        if (!loadGridRows(grid, path))
            state.SkipWithError("load failed");
    }
    state.counters["rows"] = grid.rowCount();
    state.counters["columns"] = grid.columnCount();
}

void saveBench(benchmark::State &state, void (*fill)(StringGrid &))
{
    QTemporaryDir dir;
    const QString path = dir.filePath("grid.txt");
    StringGrid grid;
    fill(grid);
    for (auto _ : state) {
        if (!saveGridRows(grid, path).ok)
            state.SkipWithError("save failed");
    }
}

void ledger10k(StringGrid &grid)
{
    fillLedger(grid, 10000);
}

void BM_LedgerLoad10k(benchmark::State &state)
{
    loadBench(state, ledger10k);
}
BENCHMARK(BM_LedgerLoad10k)->Unit(benchmark::kMillisecond);

void BM_LedgerSave10k(benchmark::State &state)
{
    saveBench(state, ledger10k);
}
BENCHMARK(BM_LedgerSave10k)->Unit(benchmark::kMillisecond);

void BM_YearStoreLoad(benchmark::State &state)
{
    loadBench(state, fillYearStore);
}
BENCHMARK(BM_YearStoreLoad)->Unit(benchmark::kMillisecond);

void BM_YearStoreSave(benchmark::State &state)
{
    saveBench(state, fillYearStore);
}
BENCHMARK(BM_YearStoreSave)->Unit(benchmark::kMillisecond);

// The user's action: select another project while the Costs page shows;
// the shown ledger of 10,000 rows is saved and the other one loaded.
void BM_LedgerSwitch10k(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString projects = dir.path() + "/Projects/";
    for (const char *name : {"Garden", "Car"}) {
        QDir().mkpath(projects + name);
        StringGrid grid;
        fillLedger(grid, 10000);
        saveGridRows(grid, projects + name + "/money.txt");
    }
    FakeServices fakes;
    CostLedgerWidget ledger(fakes.services());
    ledger.setProjectsDir(projects);
    ledger.resize(800, 600);
    ledger.show();
    bool garden = true;
    for (auto _ : state) {
        ledger.switchLedger(garden ? "Garden" : "Car");
        garden = !garden;
    }
    if (!fakes.dialogs.errors.isEmpty() || !fakes.dialogs.questions.isEmpty())
        state.SkipWithError("the switch reported a problem");
}
BENCHMARK(BM_LedgerSwitch10k)->Unit(benchmark::kMillisecond);

void BM_LedgerBalance10k(benchmark::State &state)
{
    FakeServices fakes;
    CostLedgerWidget ledger(fakes.services());
    fillLedger(ledger.ledger().money(), 10000);
    for (auto _ : state)
        ledger.calculateBalance();
}
BENCHMARK(BM_LedgerBalance10k)->Unit(benchmark::kMillisecond);

} // namespace
