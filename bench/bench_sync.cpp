// What the check for changes made elsewhere costs a save: a day note and
// a 10,000-line ledger saved into a data folder (the file on disk is the
// version read: one stat), the same after another program touched the file
// (its content is read and compared), and the plain write outside any data
// folder for comparison.
#include "core/common/storedfiles.h"
#include "core/common/textfile.h"
#include "fakes.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

QByteArray syncBenchText(int lines)
{
    QByteArray text;
    for (int i = 0; i < lines; ++i)
        text += QByteArrayLiteral("Item number ") + QByteArray::number(i) + QByteArrayLiteral(", paid in cash\r\n");
    return text;
}

// Arg 0: a note of 20 lines, or a ledger of 10,000; arg 1: 0 outside any
// data folder, 1 inside one, 2 inside one with the file touched elsewhere
// before every save.
void BM_SaveWithChangeCheck(benchmark::State &state)
{
    QTemporaryDir tmp;
    const FakeClock clock;
    std::unique_ptr<StoredFiles> folder;
    if (state.range(1) > 0)
        folder = std::make_unique<StoredFiles>(tmp.path(), clock);
    const QString path = tmp.path() + QStringLiteral("/note.txt");
    const QByteArray bytes = syncBenchText(int(state.range(0)));
    TextFile::writeBytes(path, bytes);
    TextFile::readBytes(path);
    const QByteArray native = QFile::encodeName(path);
    qint64 second = 1600000000;
    for (auto _ : state) {
        if (state.range(1) == 2) {
            state.PauseTiming();
            const timespec touched[2] = {{second, 0}, {second, 0}};
            ::utimensat(AT_FDCWD, native.constData(), touched, 0);
            ++second;
            state.ResumeTiming();
        }
        const WriteResult written = TextFile::writeBytes(path, bytes);
        if (!written || !written.notice.isEmpty())
            state.SkipWithError("the save failed or kept a copy");
    }
}
BENCHMARK(BM_SaveWithChangeCheck)
    ->Args({20, 0})->Args({20, 1})->Args({20, 2})
    ->Args({10000, 0})->Args({10000, 1})->Args({10000, 2})
    ->Unit(benchmark::kMicrosecond);

// The check alone, as a save makes it before writing: arg 1 = 0 the file
// is the version read (one stat), 1 another program touched it (read and
// compared).
void BM_ChangeCheckBeforeSave(benchmark::State &state)
{
    QTemporaryDir tmp;
    const FakeClock clock;
    const StoredFiles folder(tmp.path(), clock);
    const QString path = tmp.path() + QStringLiteral("/note.txt");
    TextFile::writeBytes(path, syncBenchText(int(state.range(0))));
    TextFile::readBytes(path);
    if (state.range(1) == 1) {
        const timespec touched[2] = {{1600000000, 0}, {1600000000, 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), touched, 0);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(TextFile::changedOnDisk(path));
}
BENCHMARK(BM_ChangeCheckBeforeSave)
    ->Args({20, 0})->Args({20, 1})->Args({10000, 0})->Args({10000, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace
