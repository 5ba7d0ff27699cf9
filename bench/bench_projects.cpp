// The Projects section's user actions on a large data folder: switching
// between projects (seven pages saved and loaded, the folder checked) and
// selecting "Summary" over 300 projects of seven 50-line pages each.
#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "core/projects/pagecache.h"
#include "ui/projects/pageeditor.h"
#include "core/projects/projectpages.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"

#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QStringList kPages = {QStringLiteral("Projects"), QStringLiteral("Done"),    QStringLiteral("OnHold"),
                            QStringLiteral("BuyItem"),  QStringLiteral("SomeDay"), QStringLiteral("Links"),
                            QStringLiteral("Actions")};

QString pageText(int project, const QString &page)
{
    QStringList lines;
    for (int i = 0; i < 50; ++i)
        lines << QStringLiteral("%1 item %2 of project %3, with some words to make a line").arg(page).arg(i).arg(project);
    return lines.join(QLatin1Char('\n'));
}

// A data folder of `projects` projects with seven full pages each, and the
// Projects section on it with "Summary" as its first line.
struct Fixture
{
    explicit Fixture(int projects)
    {
        dataFolder = std::make_unique<DataFolder>(tmp.path() + QLatin1Char('/'), &fakes.shell, fakes.clock);
        // "Summary" as the first line: a summary line further down would
        // gather the previous summary too, growing with every selection.
        QStringList lines{QStringLiteral("Summary")};
        for (int p = 0; p < projects; ++p) {
            const QString name = QStringLiteral("Project %1").arg(p);
            lines << name;
            QDir(dataFolder->projectsDir()).mkdir(name);
            for (const QString &page : kPages)
                TextFile::writeText(dataFolder->projectsDir() + name + QLatin1Char('/') + page + QStringLiteral(".txt"),
                                    pageText(p, page));
        }
        section = std::make_unique<ProjectsSection>(fakes.services(), nullptr);
        section->resize(1280, 900);
        section->loadStartPages(dataFolder.get());
        section->setDepartmentLines(lines);
        section->show();
    }

    FakeServices fakes;
    QTemporaryDir tmp;
    std::unique_ptr<DataFolder> dataFolder;
    std::unique_ptr<ProjectsSection> section;
};

void BM_ProjectSwitch(benchmark::State &state)
{
    Fixture f(2);
    int row = 1;
    for (auto _ : state) {
        f.section->selectProjectRow(row);
        row = row == 1 ? 2 : 1;
    }
    if (f.section->notebook()->pageEditor(ProjectNotebook::ToDoTab)->toPlainText().isEmpty())
        state.SkipWithError("the switch loaded nothing");
}
BENCHMARK(BM_ProjectSwitch)->Unit(benchmark::kMillisecond);

// Selecting the "Summary" line: the seven pages of the project shown are
// saved, the seven summaries are built from 2,100 page files and written,
// and the page on screen is filled (the hidden ones fill when shown).
void BM_SelectSummaryOver300Projects(benchmark::State &state)
{
    Fixture f(300);
    for (auto _ : state) {
        state.PauseTiming();
        f.section->selectProjectRow(1);
        state.ResumeTiming();
        f.section->selectProjectRow(0);
    }
    if (f.section->notebook()->pageEditor(ProjectNotebook::ToDoTab)->lines().size() < 300 * 51)
        state.SkipWithError("the summary is short");
}
BENCHMARK(BM_SelectSummaryOver300Projects)->Unit(benchmark::kMillisecond);

// Showing another tab of the summary: 15,300 lines laid into its editor.
void BM_ShowSummaryTab(benchmark::State &state)
{
    Fixture f(300);
    for (auto _ : state) {
        state.PauseTiming();
        f.section->notebook()->setCurrentIndex(ProjectNotebook::ToDoTab);
        f.section->selectProjectRow(1);
        f.section->selectProjectRow(0);
        state.ResumeTiming();
        f.section->notebook()->setCurrentIndex(ProjectNotebook::DoneTab);
    }
    if (f.section->notebook()->pageEditor(ProjectNotebook::DoneTab)->lines().size() < 300 * 51)
        state.SkipWithError("the summary is short");
}
BENCHMARK(BM_ShowSummaryTab)->Unit(benchmark::kMillisecond)->Iterations(10);

// One slice of a long summary laid into the editor on screen from the
// event loop, until the whole summary is in.
void BM_SummaryFillSlice(benchmark::State &state)
{
    Fixture f(300);
    PageEditor *editor = f.section->notebook()->pageEditor(ProjectNotebook::ToDoTab);
    int slices = 0;
    for (auto _ : state) {
        if (!editor->isFilling()) {
            state.PauseTiming();
            f.section->selectProjectRow(1);
            f.section->selectProjectRow(0);
            state.ResumeTiming();
        }
        QCoreApplication::processEvents();
        ++slices;
    }
    editor->ensureFilled();
    if (editor->document()->blockCount() < 300 * 51)
        state.SkipWithError("the summary is short");
    state.counters["slices"] = slices;
}
BENCHMARK(BM_SummaryFillSlice)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_BuildSummaryOver300Projects(benchmark::State &state)
{
    Fixture f(300);
    const QStringList lines = f.section->departmentLines();
    for (auto _ : state) {
        for (const QString &page : kPages)
            benchmark::DoNotOptimize(ProjectPages::buildSummary(lines, f.dataFolder->projectsDir(), page));
    }
}
BENCHMARK(BM_BuildSummaryOver300Projects)->Unit(benchmark::kMillisecond);

// The same with the page files already seen: each is only looked up.
void BM_BuildSummaryAgainOver300Projects(benchmark::State &state)
{
    Fixture f(300);
    const QStringList lines = f.section->departmentLines();
    PageCache cache;
    for (const QString &page : kPages)
        ProjectPages::buildSummaryText(lines, f.dataFolder->projectsDir(), page, &cache);
    for (auto _ : state) {
        for (const QString &page : kPages)
            benchmark::DoNotOptimize(ProjectPages::buildSummaryText(lines, f.dataFolder->projectsDir(), page, &cache));
    }
    if (cache.readsDone() != 300 * 7)
        state.SkipWithError("page files were read again");
}
BENCHMARK(BM_BuildSummaryAgainOver300Projects)->Unit(benchmark::kMillisecond);

} // namespace
