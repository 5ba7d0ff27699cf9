// Drives the real main window on a data folder with edits that save all the
// time, until it is killed: day notes, project pages with project switches,
// ledger rows with switches, slot toggles in the time tracker and topic
// switches in My Lists and Decisions.
//
// Every text it types is self-checking: a header line with the length and
// checksum of the body, so a checker can tell a whole text from a torn one.
// Ledger rows carry a generation mark in their first cell ("G<serial>/<row>/
// <rows>"), so a whole ledger file is one generation from its first row to
// its last.
#include "mainwindowfixture.h"
#include "ui/app/mainwindow.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "fakes.h"
#include "core/grid/stringgrid.h"
#include "ui/grid/stringgridview.h"
#include "core/platform/clock.h"
#include "ui/projects/pageeditor.h"
#include "ui/projects/costledgerwidget.h"
#include "ui/projects/projectnotebook.h"
#include "ui/projects/projectssection.h"
#include "ui/topics/decisionsworkspace.h"
#include "ui/topics/listsworkspace.h"
#include "ui/tracker/timetracker.h"

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTimer>

#include <cstdio>

namespace {

QString checkedText(quint32 serial, QRandomGenerator &random, int maxLength)
{
    const int length = static_cast<int>(random.bounded(1, maxLength));
    QString body;
    body.reserve(length);
    for (int i = 0; i < length; ++i) {
        const quint32 r = random.bounded(64);
        body += r == 0 ? QChar(QLatin1Char('\n')) : QChar(static_cast<char16_t>(u'a' + r % 26));
    }
    // The body never ends with a line break, so a list writer's final
    // break is the only one after it.
    body += QLatin1Char('z');
    const QByteArray bytes = body.toUtf8().replace("\n", "\r\n");
    return QStringLiteral("CHECK %1 %2 %3\n").arg(serial).arg(bytes.size()).arg(qChecksum(bytes)) + body;
}

void replaceText(QPlainTextEdit *editor, const QString &text)
{
    editor->selectAll();
    editor->insertPlainText(text);
}

// Any row of the list but the current one.
void switchRow(QListWidget *list, int rows, QRandomGenerator &random)
{
    const int count = qMin(rows, list->count());
    if (count < 2)
        return;
    int row = list->currentRow();
    while (row == list->currentRow())
        row = static_cast<int>(random.bounded(count));
    list->setCurrentRow(row);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: crashdriver DATA_ROOT [SEED]\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const quint32 seed = argc > 2 ? QString::fromLatin1(argv[2]).toUInt() : 1;
    QRandomGenerator random(seed);

    SystemClock clock;
    FakeShell shell;
    FakeDialogs dialogs; // no modal boxes: errors are recorded, questions answered No
    FakePrinting printing;
    FakeSound sound;
    FakeAlarmNotifier notifier;
    Services services{&clock, &shell, &dialogs, &printing, &sound, &notifier};
    MainWindow form(services, StartOptions{root, QStringLiteral("45296")});
    form.show();
    form.runStartup();

    // The projects section with the tracker bound to a project.
    form.showProjects();
    ProjectsSection *projects = form.projectsSection();
    ProjectNotebook *book = projects->notebook();
    switchRow(departmentList(projects), 4, random);
    book->setCurrentIndex(ProjectNotebook::TimeTab);

    quint32 serial = seed * 100000;
    QTimer edits;
    QObject::connect(&edits, &QTimer::timeout, [&] {
        switch (random.bounded(5)) {
        case 0: { // a day note, saved by a save or a week turn
            WeekController *week = form.week();
            if (!week)
                return;
            DayNoteColumn *editor = week->columns().at(static_cast<int>(random.bounded(7)));
            replaceText(noteEdit(editor), checkedText(++serial, random, 40000));
            switch (random.bounded(3)) {
            case 0: week->saveAllNotes(); break;
            case 1: form.moveWeekForward(); break;
            default: form.moveWeekBack(); break;
            }
            break;
        }
        case 1: { // project pages, saved by a project switch
            const QList<PageEditor *> pages = book->pageEditors();
            for (int i = 0, n = static_cast<int>(random.bounded(1, 3)); i < n; ++i)
                replaceText(pages.at(static_cast<int>(random.bounded(pages.size()))),
                            checkedText(++serial, random, 20000));
            switchRow(departmentList(projects), 4, random);
            break;
        }
        case 2: { // ledger rows, saved by a project switch
            StringGrid *grid = moneyGrid(form.projectsSection()->ledger())->grid();
            if (random.bounded(4) == 0)
                form.projectsSection()->ledger()->addRow();
            const quint32 generation = ++serial;
            const int rows = grid->rowCount();
            for (int r = 0; r < rows; ++r) {
                grid->setCell(0, r, QStringLiteral("G%1/%2/%3").arg(generation).arg(r).arg(rows));
                grid->setCell(2, r, QString::number(random.bounded(100000) / 100.0, 'f', 2));
            }
            switchRow(departmentList(projects), 4, random);
            break;
        }
        case 3: { // a slot of the sleep grid, saved with the year store
            TimeTracker *tracker = form.projectsSection()->timeTracker();
            if (book->currentIndex() != ProjectNotebook::TimeTab)
                book->setCurrentIndex(ProjectNotebook::TimeTab);
            for (int i = 0, n = static_cast<int>(random.bounded(1, 6)); i < n; ++i)
                tracker->toggleSleepSlot(static_cast<int>(random.bounded(1, 32)),
                                               static_cast<int>(random.bounded(1, 49)));
            break;
        }
        default: { // a topic, saved by a topic switch
            TopicWorkspace *workspace = random.bounded(2) == 0 ? static_cast<TopicWorkspace *>(form.listsWorkspace())
                                                               : static_cast<TopicWorkspace *>(form.decisionsWorkspace());
            if (workspace == form.listsWorkspace())
                form.showLists();
            else
                form.showDecisions();
            const QList<QPlainTextEdit *> editors = workspace->findChildren<QPlainTextEdit *>();
            if (!workspace->currentTopic().isEmpty() && !editors.isEmpty())
                replaceText(editors.at(static_cast<int>(random.bounded(editors.size()))),
                            checkedText(++serial, random, 8000));
            switchRow(topicList(workspace), 5, random);
            form.showProjects();
            break;
        }
        }
    });
    edits.start(0);
    std::fprintf(stdout, "ready\n");
    std::fflush(stdout);
    return app.exec();
}
