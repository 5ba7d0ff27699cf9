// The search on the benchmark data folder: ten years of day notes, 300
// projects of seven 50-line pages and 2,000 list topics. A keystroke runs
// one search over the snapshot; the snapshot is built on a worker thread
// after start-up and kept current by looking at the files again.
#include "core/calendar/daynotes.h"
#include "core/common/daynumber.h"
#include "core/common/textfile.h"
#include "core/projects/projectpages.h"
#include "core/search/searchindex.h"
#include "fakes.h"
#include "ui/app/mainwindow.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/weekcontroller.h"
#include "ui/search/searchpanel.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

const QStringList &vocabulary()
{
    static const QStringList words = QStringLiteral(
        "the and to of a in for on with at from by about call buy fix clean plan meet write read check "
        "order pay book visit garden kitchen garage car brakes winter tyres dentist doctor school bank "
        "insurance birthday present holiday train ticket paint fence roof gutter window door shelf lamp "
        "mother father sister brother friend neighbour office meeting report budget invoice project "
        "deadline review draft email letter parcel post market bread milk coffee tea apple cheese "
        "tomatoes potatoes onions seeds compost hedge lawn mower bicycle chain lights battery charger")
                                         .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words;
}

QString sentence(QRandomGenerator &random, int words)
{
    const QStringList &pool = vocabulary();
    QStringList out;
    for (int i = 0; i < words; ++i)
        out.append(pool.at(int(random.bounded(quint32(pool.size())))));
    out.first()[0] = out.first().at(0).toUpper();
    return out.join(QLatin1Char(' '));
}

QString lines(QRandomGenerator &random, int count, int words)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out.append(sentence(random, words));
    return out.join(QLatin1Char('\n'));
}

// Written once per run of the program; "quokka" is the rare word, in one
// note, one page and one list.
SearchRoots benchmarkFolder()
{
    static QTemporaryDir dir;
    static bool written = false;
    const QString root = dir.path() + QLatin1Char('/');
    const SearchRoots roots{root + "DB/", root + "Projects/", root + "Projects/Summary/", root + "Journal/",
                            root + "Decision/"};
    if (written)
        return roots;
    written = true;
    for (const QString &folder : {roots.dbDir, roots.summaryDir, roots.journalDir, roots.decisionDir})
        QDir().mkpath(folder);
    QRandomGenerator random(17);
    const int today = DayNumber::fromDate(QDate(2024, 1, 10));
    for (int day = today - 3649; day <= today; ++day) {
        QString text = lines(random, 5, 8);
        if (day == today - 1000)
            text += QStringLiteral("\nSaw a quokka at the zoo");
        TextFile::writeText(roots.dbDir + DayNotes::noteName(day), text);
    }
    for (int project = 0; project < 300; ++project) {
        const QString folder = roots.projectsDir + QStringLiteral("Project %1/").arg(project);
        QDir().mkpath(folder);
        for (const QString &page : ProjectPages::pageNames()) {
            QString text = lines(random, 50, 7);
            if (project == 150 && page == ProjectPages::kToDoPage)
                text += QStringLiteral("\nPhotograph the quokka");
            TextFile::writeText(folder + page + QStringLiteral(".txt"), text);
        }
    }
    for (int topic = 0; topic < 2000; ++topic) {
        QStringList entries = lines(random, 30, 5).split(QLatin1Char('\n'));
        if (topic == 1234)
            entries.append(QStringLiteral("The Quokka Book"));
        TextFile::writeLines(roots.journalDir + QStringLiteral("Topic %1_todo.txt").arg(topic), entries);
    }
    return roots;
}

const SearchSnapshot &benchmarkSnapshot()
{
    static const SnapshotPointer snapshot = SearchIndexing::build(benchmarkFolder());
    return *snapshot;
}

void runSearch(benchmark::State &state, const QString &typed, qsizetype expectedAtLeast)
{
    const SearchSnapshot &snapshot = benchmarkSnapshot();
    const SearchQuery query = SearchQuery::parse(typed);
    qsizetype found = 0;
    for (auto _ : state) {
        const SearchResults results = SearchIndexing::search(snapshot, query);
        found = results.lineCount;
        benchmark::DoNotOptimize(found);
    }
    if (found < expectedAtLeast)
        state.SkipWithError("the search found too little");
    state.counters["matches"] = double(found);
}

} // namespace

// The snapshot built from scratch: every file listed, read and folded.
// This is the worker's work after start-up, before the first search can
// answer; counters give the folded text held against the files' bytes.
static void BM_SearchIndexBuild(benchmark::State &state)
{
    const SearchRoots roots = benchmarkFolder();
    SnapshotPointer snapshot;
    qint64 held = 0;
    for (auto _ : state) {
        snapshot.reset();
        const qint64 before = qint64(mallinfo2().uordblks);
        snapshot = SearchIndexing::build(roots);
        held = qint64(mallinfo2().uordblks) - before;
        benchmark::DoNotOptimize(snapshot.get());
    }
    // Everything the snapshot keeps allocated: documents, places, folded text.
    state.counters["held_MB"] = double(held) / 1e6;
    state.counters["documents"] = double(snapshot->documents.size());
    state.counters["file_MB"] = double(snapshot->fileBytes) / 1e6;
    state.counters["folded_MB"] = double(snapshot->foldedBytes) / 1e6;
}
BENCHMARK(BM_SearchIndexBuild)->Unit(benchmark::kMillisecond);

// Ctrl+F: every file's size and times looked at again, nothing changed.
static void BM_SearchIndexRefreshUnchanged(benchmark::State &state)
{
    const SearchRoots roots = benchmarkFolder();
    const SearchSnapshot &previous = benchmarkSnapshot();
    for (auto _ : state) {
        const SnapshotPointer snapshot = SearchIndexing::build(roots, &previous);
        benchmark::DoNotOptimize(snapshot.get());
    }
}
BENCHMARK(BM_SearchIndexRefreshUnchanged)->Unit(benchmark::kMillisecond);

// One saved note: only its folder is looked at again.
static void BM_SearchIndexAfterOneSave(benchmark::State &state)
{
    const SearchRoots roots = benchmarkFolder();
    const SearchSnapshot &previous = benchmarkSnapshot();
    const QSet<QString> dirty = {roots.projectsDir + QStringLiteral("Project 7/")};
    for (auto _ : state) {
        const SnapshotPointer snapshot = SearchIndexing::build(roots, &previous, &dirty);
        benchmark::DoNotOptimize(snapshot.get());
    }
}
BENCHMARK(BM_SearchIndexAfterOneSave)->Unit(benchmark::kMillisecond);

static void BM_SearchRareWord(benchmark::State &state)
{
    runSearch(state, QStringLiteral("quokka"), 3);
}
BENCHMARK(BM_SearchRareWord)->Unit(benchmark::kMillisecond);

static void BM_SearchCommonWord(benchmark::State &state)
{
    runSearch(state, QStringLiteral("the"), 10000);
}
BENCHMARK(BM_SearchCommonWord)->Unit(benchmark::kMillisecond);

static void BM_SearchTwoWords(benchmark::State &state)
{
    runSearch(state, QStringLiteral("brakes winter"), 100);
}
BENCHMARK(BM_SearchTwoWords)->Unit(benchmark::kMillisecond);

static void BM_SearchPhrase(benchmark::State &state)
{
    runSearch(state, QStringLiteral("\"winter tyres\""), 10);
}
BENCHMARK(BM_SearchPhrase)->Unit(benchmark::kMillisecond);

// The whole keystroke in the real panel: the search, the list's rows
// replaced, and the text of the rows on screen read and marked.
static void BM_SearchPanelKeystroke(benchmark::State &state)
{
    const SearchRoots roots = benchmarkFolder();
    SearchIndex index(roots);
    QSignalSpy ready(&index, &SearchIndex::updated);
    index.start();
    if (!ready.wait(60000)) {
        state.SkipWithError("the index was not built");
        return;
    }
    QWidget window;
    QWidget bar(&window);
    SearchPanel panel(&bar, &window);
    panel.setIndex(&index);
    window.resize(1200, 800);
    panel.setFieldGeometry(QRect(900, 10, 240, 24));
    window.show();
    auto *field = bar.findChild<QLineEdit *>(QStringLiteral("searchField"));
    auto *list = panel.findChild<QListView *>(QStringLiteral("searchResults"));
    const QStringList typed = {QStringLiteral("t"), QStringLiteral("th"), QStringLiteral("the")};
    int step = 0;
    for (auto _ : state) {
        field->setText(typed.at(step++ % typed.size()));
        for (int row = 0; row < 20 && row < list->model()->rowCount(); ++row)
            benchmark::DoNotOptimize(list->model()->index(row, 0).data(Qt::DisplayRole));
    }
}
BENCHMARK(BM_SearchPanelKeystroke)->Unit(benchmark::kMillisecond);

// A keystroke in the real window while the week shows a 5 MB note that was
// edited and not yet saved: its text counts in place of its file, taken and
// folded once, not at every keystroke.
static void BM_SearchKeystrokeWithEditedLargeNote(benchmark::State &state)
{
    QTemporaryDir root;
    const QString folder = root.path() + QLatin1Char('/');
    QDir().mkpath(folder + "DB");
    const int day = DayNumber::fromDate(QDate(2024, 1, 9));
    const QString line = QString(79, QLatin1Char('x')) + QLatin1Char('\n');
    TextFile::writeText(folder + "DB/" + DayNotes::noteName(day), line.repeated(5 * 1024 * 1024 / 80));
    FakeServices fakes;
    fakes.clock.set(QDateTime(QDate(2024, 1, 10), QTime(9, 30)));
    MainWindow form(fakes.services(), StartOptions{folder, QString::number(day)});
    form.show();
    form.runStartup();
    DayNoteColumn *column = nullptr;
    for (DayNoteColumn *candidate : form.week()->columns()) {
        if (candidate->position == 1)
            column = candidate;
    }
    auto *index = form.findChild<SearchIndex *>();
    QElapsedTimer waited;
    waited.start();
    while ((column->isFilling() || !index->snapshot() || index->isBusy()) && waited.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    // Typed at the end of the note, as a user would.
    auto *note = column->findChild<NoteMemo *>(QString(), Qt::FindDirectChildrenOnly);
    note->moveCursor(QTextCursor::End);
    note->insertPlainText(QStringLiteral("wombat"));
    if (!column->isModified()) {
        state.SkipWithError("the note was not edited");
        return;
    }
    auto *field = form.findChild<QLineEdit *>(QStringLiteral("searchField"));
    // Typed into the field: the note keeps its edit (it is not left by a click).
    const QStringList typed = {QStringLiteral("womb"), QStringLiteral("wombat")};
    int step = 0;
    for (auto _ : state)
        field->setText(typed.at(step++ % typed.size()));
    state.counters["results"] = double(form.findChild<SearchPanel *>()->resultCount());
    form.saveAndClose();
}
BENCHMARK(BM_SearchKeystrokeWithEditedLargeNote)->Unit(benchmark::kMillisecond);
