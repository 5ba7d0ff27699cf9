// The benchmark program: Google Benchmark inside a Qt application, so that
// the real windows can be measured offscreen.
#include "core/platform/memorytuning.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>

int main(int argc, char **argv)
{
    keepLargeBuffersInProcess();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
