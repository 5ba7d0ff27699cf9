// Section switches from the keyboard (Ctrl+2, then Ctrl+1) on a started
// main window.
#include "ui/app/mainwindow.h"
#include "fakes.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_SectionSwitch(benchmark::State &state)
{
    QTemporaryDir root;
    FakeServices fakes;
    MainWindow form(fakes.services(), StartOptions{root.path() + QLatin1Char('/'), QStringLiteral("45296")});
    form.show();
    form.runStartup();
    for (auto _ : state) {
        form.showProjects();
        form.showCalendar();
    }
    form.close();
}
BENCHMARK(BM_SectionSwitch)->Unit(benchmark::kMicrosecond);

} // namespace
