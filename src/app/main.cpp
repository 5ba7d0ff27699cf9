#include "app/dataroot.h"
#include "app/tform1.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/qtshell.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPrinter>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumark"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vellumark"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMARK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vellumark"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vellumark, a desktop organiser: day notes, projects, lists and decisions."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("Keep the data folder tree in <dir> instead of beside the program "
                       "(or, for an installed program, in the user's data folder)."),
        QStringLiteral("dir"));
    parser.addOption(dataDir);
    parser.addPositionalArgument(QStringLiteral("day"),
                                 QStringLiteral("Start the week on this day number "
                                                "(days since 30 December 1899; 45296 is 5 January 2024)."),
                                 QStringLiteral("[day]"));
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
    QPrinter printer(QPrinter::HighResolution);

    Services services;
    services.clock = &clock;
    services.shell = &shell;
    services.dialogs = &dialogs;
    services.printer = &printer;

    TForm1 form(services, options);
    form.show();
    return app.exec();
}
