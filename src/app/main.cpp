#include "app/dataroot.h"
#include "app/screenshottour.h"
#include "app/tform1.h"
#include "platform/alarmnotifier.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/memorytuning.h"
#include "platform/qtshell.h"
#include "printing/qtprinting.h"
#include "platform/sound.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPrinter>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

namespace {

struct CommandLine
{
    QCommandLineParser parser;
    const QCommandLineOption dataDir{
        QStringLiteral("data-dir"),
        QStringLiteral("Keep the data folder tree in <dir> instead of beside the program "
                       "(or, for an installed program, in the user's data folder)."),
        QStringLiteral("dir")};
    const QCommandLineOption screenshots{
        QStringLiteral("screenshots"),
        QStringLiteral("Write a PNG picture of each section into <dir>, then close as on Exit."),
        QStringLiteral("dir")};

    CommandLine()
    {
        parser.setApplicationDescription(
            QStringLiteral("Vellumark, a desktop organiser: day notes, projects, lists and decisions."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(dataDir);
        parser.addOption(screenshots);
        parser.addPositionalArgument(QStringLiteral("day"),
                                     QStringLiteral("Start the week on this day number "
                                                    "(days since 30 December 1899; 45296 is 5 January 2024)."),
                                     QStringLiteral("[day]"));
    }
};

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Vellumark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMARK_VERSION));
}

// --help and --version answer on the terminal, also where there is no
// display to open a window on.
bool asksTheTerminal(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v"
            || arg == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    KeepLargeBuffersInProcess();
    if (asksTheTerminal(argc, argv)) {
        QCoreApplication terminal(argc, argv);
        nameApplication();
        CommandLine commandLine;
        // Prints and exits, unless the flag was the value of an option.
        commandLine.parser.process(terminal);
    }

    QApplication app(argc, argv);
    nameApplication();
    QApplication::setApplicationDisplayName(QStringLiteral("Vellumark"));
    QApplication::setDesktopFileName(QStringLiteral(VELLUMARK_APP_ID));

    CommandLine commandLine;
    QCommandLineParser &parser = commandLine.parser;
    const QCommandLineOption &dataDir = commandLine.dataDir;
    const QCommandLineOption &screenshots = commandLine.screenshots;
    parser.process(app);

    StartOptions options;
    options.dataRoot = ChooseDataRoot(parser.value(dataDir), QCoreApplication::applicationDirPath(),
                                      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty())
        options.dayArgument = positional.first();

    SystemClock clock;
    QtShell shell;
    QtDialogs dialogs;
    QtSound sound;
    QPrinter printer(QPrinter::HighResolution);
    QtPrinting printing(&printer);

    Services services;
    services.clock = &clock;
    services.shell = &shell;
    services.dialogs = &dialogs;
    services.printer = &printer;
    services.printing = &printing;
    services.sound = &sound;
    DesktopAlarmNotifier alarmNotifier;
    services.alarmNotifier = &alarmNotifier;

    TForm1 form(services, options);
    form.show();

    bool picturesFailed = false;
    if (parser.isSet(screenshots)) {
        QTimer::singleShot(0, &form, [&] {
            ScreenshotTour tour(&form, parser.value(screenshots));
            QString error;
            picturesFailed = !tour.run(&error);
            if (picturesFailed)
                std::fprintf(stderr, "vellumark: %s\n", qPrintable(error));
            for (const QString &file : tour.written())
                std::printf("%s\n", qPrintable(file));
            std::fflush(stdout);
            form.close();
        });
    }
    const int result = app.exec();
    return picturesFailed ? 1 : result;
}
