// Snapshots of a ten-year data folder (3,650 day notes, 300 projects): the
// time a snapshot takes on its worker, and the longest the window's event
// loop waits while one runs.
#include "core/snapshots/snapshotrestore.h"
#include "core/snapshots/snapshotwriter.h"
#include "fakes.h"
#include "sampledatafolder.h"
#include "ui/snapshots/snapshotkeeper.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString &tenYearFolder()
{
    static QTemporaryDir dir;
    static const QString root = dir.path() + QStringLiteral("/data/");
    static bool written = false;
    if (!written) {
        writeSampleDataFolder(root, 3650, 300);
        written = true;
    }
    return root;
}

void BM_Snapshot(benchmark::State &state)
{
    const QString root = tenYearFolder();
    QTemporaryDir backups;
    int files = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        const Expected<SnapshotSummary> written = SnapshotWriter(root, backups.path()).write(
            QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
        if (!written) {
            state.SkipWithError(qPrintable(written.error));
            return;
        }
        files = written.value.files;
        bytes = written.value.bytes;
        state.PauseTiming();
        QFile::remove(written.value.path);
        state.ResumeTiming();
    }
    state.counters["files"] = files;
    state.counters["archive_kB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_Snapshot)->Unit(benchmark::kMillisecond)->Iterations(5);

// "Snapshot now" from the window: a 1 ms timer on the main thread records
// the longest gap between its ticks while the snapshot runs in the
// background; that gap is the longest the window could not answer.
void BM_SnapshotWindowStall(benchmark::State &state)
{
    const QString root = tenYearFolder();
    QTemporaryDir backups;
    FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    double longestStallMs = 0;
    double backgroundMs = 0;
    for (auto _ : state) {
        SnapshotKeeper keeper(root, backups.path(), &clock);
        QEventLoop loop;
        QElapsedTimer sinceTick;
        QElapsedTimer running;
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestStallMs = std::max(longestStallMs, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        bool ok = true;
        QObject::connect(&keeper, &SnapshotKeeper::snapshotFinished, [&](const Result &outcome) {
            ok = outcome.ok;
            backgroundMs = running.nsecsElapsed() / 1e6;
            loop.quit();
        });
        tick.start();
        sinceTick.start();
        running.start();
        keeper.takeSnapshotNow();
        loop.exec();
        tick.stop();
        if (!ok) {
            state.SkipWithError("the snapshot failed");
            return;
        }
        state.PauseTiming();
        QDir(backups.path()).removeRecursively();
        QDir().mkpath(backups.path());
        state.ResumeTiming();
    }
    state.counters["longest_ui_stall_ms"] = longestStallMs;
    state.counters["background_ms"] = backgroundMs;
}
BENCHMARK(BM_SnapshotWindowStall)->Unit(benchmark::kMillisecond)->Iterations(3);

// "Restore everything" of the ten-year snapshot, on the keeper's worker:
// unpacking beside the data folder, one flush, the folders swapped in.
void BM_RestoreEverything(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/data/");
    writeSampleDataFolder(root, 3650, 300);
    const QString backups = dir.path() + QStringLiteral("/backups/");
    const Expected<SnapshotSummary> snapshot =
        SnapshotWriter(root, backups).write(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    if (!snapshot) {
        state.SkipWithError(qPrintable(snapshot.error));
        return;
    }
    for (auto _ : state) {
        const Result restored = SnapshotRestore::restoreEverything(snapshot.value.path, root, backups);
        if (!restored) {
            state.SkipWithError(qPrintable(restored.error));
            return;
        }
    }
    state.counters["files"] = snapshot.value.files;
}
BENCHMARK(BM_RestoreEverything)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
