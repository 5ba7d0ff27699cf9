// The main window's keyboard actions over ten years of day notes: start-up,
// a day forward (Alt+Right) and a section switch (Ctrl+2, Ctrl+1).
#include "app/tform1.h"
#include "calendar/tweek.h"
#include "common/dateformat.h"
#include "common/daynumber.h"
#include "fakes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One QApplication for the whole program, offscreen.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vellumark_bench";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// A data folder with a note for every day of ten years before 10 January 2024.
const QString &tenYearsOfNotes()
{
    static QTemporaryDir dir;
    static const bool filled = [] {
        QDir().mkpath(dir.filePath(QStringLiteral("DB")));
        const int last = DayNumber::fromDate(QDate(2024, 1, 10));
        for (int day = last - 3652; day <= last; ++day) {
            QFile note(dir.filePath(QStringLiteral("DB/")
                                    + FormatDateTime(QStringLiteral("mmm-dd-yyy"), day, QLocale())
                                    + QStringLiteral(".txt")));
            if (note.open(QIODevice::WriteOnly))
                note.write("Dentist 9:30\r\n\r\nCall Anna about the garden shed\r\nBuy: bread, apples");
        }
        return true;
    }();
    Q_UNUSED(filled);
    static const QString root = dir.path() + QLatin1Char('/');
    return root;
}

struct Window
{
    FakeServices fakes;
    std::unique_ptr<TForm1> form;
    explicit Window(const QString &root)
        : form(std::make_unique<TForm1>(fakes.services(), StartOptions{root, QString()}))
    {
        form->Timer1Timer();
    }
    ~Window() { form->SaveAndClose(); }
};

void BM_StartUp(benchmark::State &state)
{
    ensureApplication();
    const QString root = tenYearsOfNotes();
    for (auto _ : state) {
        Window window(root);
        benchmark::DoNotOptimize(window.form->Week);
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_DayForward(benchmark::State &state)
{
    ensureApplication();
    Window window(tenYearsOfNotes());
    for (auto _ : state)
        window.form->RightClick();
}
BENCHMARK(BM_DayForward)->Unit(benchmark::kMillisecond);

void BM_SwitchSection(benchmark::State &state)
{
    ensureApplication();
    Window window(tenYearsOfNotes());
    for (auto _ : state) {
        window.form->Image2Click();
        window.form->Image1Click();
    }
}
BENCHMARK(BM_SwitchSection)->Unit(benchmark::kMicrosecond);

} // namespace
