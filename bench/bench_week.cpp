// Start-up and week moves on a data folder holding ten years of day notes.
#include "core/calendar/daynotes.h"
#include "core/common/daynumber.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "core/common/textfile.h"
#include "mainwindowfixture.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {

const QDateTime kNow(QDate(2024, 1, 10), QTime(9, 30));

// 3,650 notes of a few lines each, ending today, written once per run of
// the program (Google Benchmark calls each benchmark several times).
QString tenYearsOfNotes()
{
    static QTemporaryDir dir;
    static bool written = false;
    const QString root = dir.path() + "/";
    if (written)
        return root;
    written = true;
    QDir().mkpath(root + "DB");
    const int today = DayNumber::fromDate(kNow.date());
    for (int day = today - 3649; day <= today; ++day) {
        const QString text = QStringLiteral("Note of day %1\nDentist at 10\nCall the garage about the "
                                            "brakes and the winter tyres\n- milk\n- bread")
                                 .arg(day);
        TextFile::writeText(root + "DB/" + DayNotes::noteName(day), text);
    }
    return root;
}

void BM_StartupStep(benchmark::State &state)
{
    const QString root = tenYearsOfNotes();
    FakeServices fakes;
    fakes.clock.set(kNow);
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<MainWindow>(fakes.services(), StartOptions{root, "45000"});
        form->show();
        state.ResumeTiming();
        form->runStartup();
        state.PauseTiming();
        form->close();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupStep)->Unit(benchmark::kMillisecond);

void BM_WeekMove(benchmark::State &state)
{
    const QString root = tenYearsOfNotes();
    FakeServices fakes;
    fakes.clock.set(kNow);
    MainWindow form(fakes.services(), StartOptions{root, "44000"});
    form.show();
    form.runStartup();
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            form.moveWeekForward();
        else
            form.moveWeekBack();
        forward = !forward;
    }
    form.close();
}
BENCHMARK(BM_WeekMove)->Unit(benchmark::kMicrosecond);

// A data folder with one 5 MB note, on Tuesday 9 January 2024.
QString oneLargeNote()
{
    static QTemporaryDir dir;
    static bool written = false;
    const QString root = dir.path() + "/";
    if (written)
        return root;
    written = true;
    QDir().mkpath(root + "DB");
    const QString line = QString(79, QLatin1Char('x')) + QLatin1Char('\n');
    TextFile::writeText(root + "DB/" + DayNotes::noteName(45300), line.repeated(5 * 1024 * 1024 / 80));
    return root;
}

// "<" and ">" with the large note in the week all the time: it moves from
// column to column.
void BM_WeekMoveLargeNoteInWeek(benchmark::State &state)
{
    FakeServices fakes;
    fakes.clock.set(kNow);
    MainWindow form(fakes.services(), StartOptions{oneLargeNote(), "45296"});
    form.show();
    form.runStartup();
    // The note is all laid in before the moves are timed.
    auto filling = [&form] {
        for (DayNoteColumn *editor : form.week()->columns())
            if (editor->isFilling())
                return true;
        return false;
    };
    while (filling())
        QCoreApplication::processEvents();
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            form.moveWeekForward();
        else
            form.moveWeekBack();
        forward = !forward;
    }
    form.close();
}
BENCHMARK(BM_WeekMoveLargeNoteInWeek)->Unit(benchmark::kMillisecond);

// A jump that brings the large note into the week, and one that takes it
// out again: the note is read and laid out each time it comes in.
void BM_WeekJumpToLargeNote(benchmark::State &state)
{
    FakeServices fakes;
    fakes.clock.set(kNow);
    MainWindow form(fakes.services(), StartOptions{oneLargeNote(), "45310"});
    form.show();
    form.runStartup();
    for (auto _ : state) {
        form.week()->showWeekFrom(45296);
        state.PauseTiming();
        form.week()->showWeekFrom(45310);
        state.ResumeTiming();
    }
    form.close();
}
BENCHMARK(BM_WeekJumpToLargeNote)->Unit(benchmark::kMillisecond);

// Closing the window with the large note shown and untouched.
void BM_CloseWithLargeNote(benchmark::State &state)
{
    FakeServices fakes;
    fakes.clock.set(kNow);
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<MainWindow>(fakes.services(), StartOptions{oneLargeNote(), "45296"});
        form->show();
        form->runStartup();
        state.ResumeTiming();
        form->close();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CloseWithLargeNote)->Unit(benchmark::kMillisecond);

} // namespace
