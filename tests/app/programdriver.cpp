// The real program, started the way the process tests start it, with a few
// commands read from standard input so a test can act as the user:
//   type TEXT   types TEXT into the week's first column, then says "typed"
//   week        says "week YYYY-MM-DD", the date of the week's first column
// It says "started" once the start-up step has run.
#include "mainwindowfixture.h"
#include "ui/app/program.h"
#include "ui/app/mainwindow.h"
#include "ui/calendar/notememo.h"
#include "ui/calendar/daynotecolumn.h"
#include "ui/calendar/weekcontroller.h"
#include "core/common/daynumber.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

DayNoteColumn *firstColumn(MainWindow &form)
{
    for (DayNoteColumn *editor : form.week()->columns()) {
        if (editor->position == 1)
            return editor;
    }
    return nullptr;
}

void runCommand(MainWindow &form, const QString &line)
{
    if (line.startsWith(QLatin1String("type "))) {
        DayNoteColumn *column = firstColumn(form);
        noteEdit(column)->setFocus();
        QTest::keyClicks(noteEdit(column), line.mid(5));
        say(QStringLiteral("typed"));
    } else if (line == QLatin1String("week")) {
        const double first = form.week()->now() + form.week()->offsetFromToday();
        say(QStringLiteral("week ") + DayNumber::toDate(first).toString(Qt::ISODate));
    }
}

// Reads the commands once the main window has run its start-up step.
void listenToStandardInput(MainWindow &form, QByteArray &pending)
{
    auto *input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &form);
    QObject::connect(input, &QSocketNotifier::activated, &form, [&form, &pending, input] {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input->setEnabled(false);
            return;
        }
        pending.append(buffer, got);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            runCommand(form, line);
        }
    });
    say(QStringLiteral("started"));
}

// Finds the main window when the program first shows it, and waits there
// for the end of its start-up step (after the program's own handling).
class MainWindowWatcher : public QObject
{
public:
    explicit MainWindowWatcher(QByteArray *pending) : m_pending(pending) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *form = qobject_cast<MainWindow *>(watched)) {
                qApp->removeEventFilter(this);
                QByteArray *pending = m_pending;
                QObject::connect(form, &MainWindow::startupFinished, form,
                                 [form, pending] { listenToStandardInput(*form, *pending); });
            }
        }
        return false;
    }

private:
    QByteArray *m_pending;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QByteArray pending;
    MainWindowWatcher watcher(&pending);
    app.installEventFilter(&watcher);
    return runProgram(app);
}
