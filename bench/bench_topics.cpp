// Topic workspaces on a large data folder: switching between topics whose
// files hold ten years of lines, and moving a topic in a long list.

#include "core/common/textfile.h"
#include "core/datafolder/datafolder.h"
#include "fakes.h"
#include "mainwindowfixture.h"
#include "ui/topics/linenumberedit.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/topics/listsworkspace.h"
#include "core/topics/topicstore.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kTenYearsOfLines = 3650;

QString longText(const QString &prefix, int lines)
{
    QStringList all;
    all.reserve(lines);
    for (int i = 0; i < lines; ++i)
        all.append(QStringLiteral("%1 %2: something worth keeping on this list").arg(prefix).arg(i));
    return all.join(QLatin1Char('\n'));
}

class MemoryEditors final : public ITopicEditors
{
public:
    explicit MemoryEditors(int count)
        : texts(count)
    {
    }
    QString editorText(int index) const override { return texts.at(index); }
    void setEditorText(int index, const QString &text) override { texts[index] = text; }
    QStringList texts;
};

} // namespace

// Leaving one decision topic and opening another: seven files read, every
// editor holding ten years of lines; with argument 1 one note was edited
// and is written.
static void BM_DecisionStoreSwitchTopic(benchmark::State &state)
{
    QTemporaryDir root;
    TopicWorkspaceSetup setup;
    setup.topicsFile = root.path() + QStringLiteral("/Decision_Topics.txt");
    setup.folder = root.path() + QStringLiteral("/");
    for (const char *name : {"plus", "minus", "made", "Done", "NextStep", "Links", "Other"})
        setup.editors.append({QString::fromLatin1(name), TopicEditorKind::Lines});
    setup.builtInTopics = {QStringLiteral("A"), QStringLiteral("B")};
    MemoryEditors editors(7);
    TopicStore store(setup, &editors);
    for (QString &text : editors.texts)
        text = longText(QStringLiteral("A"), kTenYearsOfLines);
    store.openTopic(QStringLiteral("B"));
    store.openTopic(QStringLiteral("A"));
    const bool edited = state.range(0) != 0;
    bool toB = true;
    for (auto _ : state) {
        // The user changed one of the seven notes before leaving the topic.
        if (edited)
            editors.texts[0] += QLatin1Char('x');
        const WriteResult result = store.openTopic(toB ? QStringLiteral("B") : QStringLiteral("A"));
        benchmark::DoNotOptimize(result.ok);
        toB = !toB;
    }
}
BENCHMARK(BM_DecisionStoreSwitchTopic)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same through the real "My Lists" form: a click on another topic
// stores the list shown and shows the new one in the line-numbered editor;
// the argument is the number of lines on each list.
static void BM_JournalPickTopic(benchmark::State &state)
{
    QTemporaryDir root;
    FakeServices fakes;
    const Services services = fakes.services();
    const FakeClock clock;
    const DataFolder folder(root.path() + QStringLiteral("/"), nullptr, clock);
    ListsWorkspace journal(folder, services);
    journal.resizeTo(1280, 850);
    journal.show();
    journal.selectTopicRow(3);
    const int lines = static_cast<int>(state.range(0));
    LineNumberEdit *todo = todoEdit(&journal);
    todo->setPlainText(longText(QStringLiteral("Bucket"), lines));
    journal.selectTopicRow(10);
    todo->setPlainText(longText(QStringLiteral("Dates"), lines));
    bool toBucket = true;
    for (auto _ : state) {
        // One new line on the list being left, so it is written each time.
        todo->appendPlainText(QStringLiteral("one more"));
        journal.selectTopicRow(toBucket ? 3 : 10);
        QCoreApplication::processEvents();
        toBucket = !toBucket;
    }
}
BENCHMARK(BM_JournalPickTopic)->Arg(365)->Arg(kTenYearsOfLines)->Unit(benchmark::kMillisecond);

// Moving a topic up in a list of two thousand topics.
static void BM_TopicListMoveUp(benchmark::State &state)
{
    QTemporaryDir root;
    FakeServices fakes;
    const Services services = fakes.services();
    const FakeClock clock;
    const DataFolder folder(root.path() + QStringLiteral("/"), nullptr, clock);
    QStringList topics;
    for (int i = 0; i < 2000; ++i)
        topics.append(QStringLiteral("Decision number %1").arg(i));
    TextFile::writeLines(folder.configDir() + QStringLiteral("Decision_Topics.txt"), topics);
    QWidget host;
    DecisionsWorkspace *decision = new DecisionsWorkspace(folder, services);
    decision->embedIn(&host);
    decision->resizeTo(1280, 850);
    host.resize(1280, 850);
    host.show();
    decision->selectTopicRow(1500);
    bool up = true;
    for (auto _ : state) {
        if (up)
            decision->moveSelectedTopicUp();
        else
            decision->moveSelectedTopicDown();
        QCoreApplication::processEvents();
        up = !up;
    }
}
BENCHMARK(BM_TopicListMoveUp)->Unit(benchmark::kMillisecond);

