#include "ui/app/program.h"

#include "core/app/commandline.h"
#include "core/app/datafoldermove.h"
#include "core/app/dataroot.h"
#include "ui/app/screenshottour.h"
#include "core/app/singleinstance.h"
#include "core/app/terminationsignals.h"
#include "ui/app/mainwindow.h"
#include "ui/platform/alarmnotifier.h"
#include "core/platform/clock.h"
#include "ui/platform/dialogs.h"
#include "core/platform/qtshell.h"
#include "ui/platform/sound.h"
#include "ui/printing/qtprinting.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPrinter>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

// How long a later start waits for the program that holds its data folder.
constexpr int kAnswerTimeoutMs = 2000;

QString withSeparator(const QString &dir)
{
    QString path = QDir::cleanPath(QDir(dir).absolutePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

void printError(const QString &text)
{
    std::fprintf(stderr, "vellumark: %s\n", qPrintable(text));
    std::fflush(stderr);
}

const char *signalName(int number)
{
    switch (number) {
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    case SIGINT: return "SIGINT";
    default: return "a signal";
    }
}

// Claims the data folder, or hands the day argument to the program that
// holds it. Returns the instance for a program that goes on, else null with
// the exit status set.
std::unique_ptr<SingleInstance> claimDataFolder(const QString &root, const QString &dayArgument,
                                                bool quiet, int *exitStatus)
{
    auto instance = std::make_unique<SingleInstance>(root);
    switch (instance->claim({dayArgument}, kAnswerTimeoutMs)) {
    case SingleInstance::Role::First:
        return instance;
    case SingleInstance::Role::Handed:
        *exitStatus = 0;
        return nullptr;
    case SingleInstance::Role::NoAnswer:
        break;
    }
    const QString text =
        QObject::tr("Vellumark is already running on the data folder %1, but it does not answer (%2). "
                    "Close that window, or end that program, then start Vellumark again.")
            .arg(QDir::toNativeSeparators(QDir::cleanPath(root)), instance->errorString());
    printError(text);
    if (!quiet)
        QMessageBox::warning(nullptr, QStringLiteral("Vellumark"), text);
    *exitStatus = 1;
    return nullptr;
}

} // namespace

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Vellumark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMARK_VERSION));
}

bool asksTheTerminal(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--")
            break;
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v"
            || arg == "--version")
            return true;
    }
    return false;
}

void answerOnTerminal(int argc, char *argv[])
{
    QCoreApplication terminal(argc, argv);
    nameApplication();
    CommandLine commandLine;
    // Prints and exits, unless the flag was the value of an option.
    commandLine.process(QCoreApplication::arguments());
}

int runProgram(QApplication &app)
{
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral(VELLUMARK_APP_ID));

    CommandLine commandLine;
    commandLine.process(QCoreApplication::arguments());
    const bool screenshots = commandLine.wantsScreenshots();

    const QString executableDir = QCoreApplication::applicationDirPath();
    const QString userDataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QString root = chooseDataRoot(commandLine.dataDir(), executableDir, userDataDir);

    int exitStatus = 0;
    std::unique_ptr<SingleInstance> instance =
        claimDataFolder(root, commandLine.dayArgument(), screenshots, &exitStatus);
    if (!instance)
        return exitStatus;

    // A program started from a build tree used to keep its data there,
    // where cleaning the build folder deletes them: they move, once.
    DataFolderMove move;
    if (commandLine.dataDir().isEmpty() && isBuildTree(executableDir)) {
        move = moveDataFolderOutOfBuildTree(withSeparator(executableDir), root);
        if (move.outcome == DataFolderMove::Failed) {
            root = withSeparator(executableDir);
            instance = claimDataFolder(root, commandLine.dayArgument(), screenshots, &exitStatus);
            if (!instance)
                return exitStatus;
        }
        if (!move.message.isEmpty())
            printError(move.message);
    }

    SystemClock clock;
    QtShell shell;
    QtDialogs dialogs;
    QtSound sound;
    QPrinter printer(QPrinter::HighResolution);
    QtPrinting printing(&printer, &dialogs);

    Services services;
    services.clock = &clock;
    services.shell = &shell;
    services.dialogs = &dialogs;
    services.printing = &printing;
    services.sound = &sound;
    DesktopAlarmNotifier alarmNotifier;
    services.alarmNotifier = &alarmNotifier;

    StartOptions options;
    options.dataRoot = root;
    options.dayArgument = commandLine.dayArgument();
    options.backupDir = commandLine.backupDir();
    MainWindow form(services, options);

    QObject::connect(instance.get(), &SingleInstance::messageReceived, &form,
                     [&form](const QStringList &message) {
                         form.showRequestedDay(message.isEmpty() ? QString() : message.first());
                     });

    // From here on SIGTERM, SIGHUP and SIGINT end the program through the
    // event loop, after saving.
    TerminationSignals termination;
    bool ending = false;
    auto endOnSignal = [&form, &ending](int number) {
        if (ending)
            return;
        ending = true;
        QStringList errors;
        if (!form.saveAndEnd(&errors)) {
            for (const QString &error : std::as_const(errors))
                printError(error);
        }
        std::fprintf(stderr, "vellumark: ended by %s%s\n", signalName(number),
                     errors.isEmpty() ? ", everything saved" : "");
    };
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &form, endOnSignal);

    // Logout or shutdown: the session manager asks for the data first.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form](QSessionManager &manager) {
        if (!form.commitDataForSessionEnd(manager.allowsInteraction()))
            manager.cancel();
    });

    QObject::connect(&form, &MainWindow::startupFinished, &form, [&] {
        if (!move.message.isEmpty() && !screenshots) {
            if (move.outcome == DataFolderMove::Moved)
                dialogs.message(&form, move.message);
            else
                dialogs.error(&form, move.message);
        }
        // Once the window is up: the day's snapshot, on a worker thread.
        if (!screenshots)
            form.takeDailySnapshot();
    });

    form.show();

    bool picturesFailed = false;
    if (screenshots) {
        QTimer::singleShot(0, &form, [&] {
            ScreenshotTour tour(&form, commandLine.screenshotsDir());
            const Result pictures = tour.run();
            picturesFailed = !pictures;
            if (picturesFailed)
                printError(pictures.error);
            for (const QString &file : tour.written())
                std::printf("%s\n", qPrintable(file));
            std::fflush(stdout);
            form.close();
        });
    }
    const int result = app.exec();
    return picturesFailed ? 1 : result;
}
