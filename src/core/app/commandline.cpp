#include "core/app/commandline.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("CommandLine", text);
}

} // namespace

CommandLine::CommandLine()
    : m_dataDir(QStringLiteral("data-dir"),
                tr("Keep the data folder tree in <dir> instead of the user's data folder "
                   "(or, for a portable copy, beside the program)."),
                QStringLiteral("dir"))
    , m_backupDir(QStringLiteral("backup-dir"),
                  tr("Keep the snapshots of the data folder in <dir> (for example on another disk) "
                     "instead of the folder chosen in the Snapshots window or Backups/ in the data folder."),
                  QStringLiteral("dir"))
    , m_screenshots(QStringLiteral("screenshots"),
                    tr("Write a PNG picture of each section into <dir>, then close as on Exit."),
                    QStringLiteral("dir"))
{
    m_parser.setApplicationDescription(
        tr("Vellumark, a desktop organiser: day notes, projects, lists and decisions."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOption(m_dataDir);
    m_parser.addOption(m_backupDir);
    m_parser.addOption(m_screenshots);
    m_parser.addPositionalArgument(QStringLiteral("day"),
                                   tr("Start the week on this day number (days since 30 December "
                                      "1899; 45296 is 5 January 2024). A number that names no day "
                                      "the program can show starts on today."),
                                   QStringLiteral("[day]"));
}

bool CommandLine::parse(const QStringList &arguments)
{
    return m_parser.parse(positionalAfterDashes(arguments));
}

void CommandLine::process(const QStringList &arguments)
{
    m_parser.process(positionalAfterDashes(arguments));
}

QString CommandLine::dataDir() const
{
    return m_parser.value(m_dataDir);
}

QString CommandLine::backupDir() const
{
    return m_parser.value(m_backupDir);
}

QString CommandLine::screenshotsDir() const
{
    return m_parser.value(m_screenshots);
}

bool CommandLine::wantsScreenshots() const
{
    return m_parser.isSet(m_screenshots);
}

QString CommandLine::dayArgument() const
{
    const QStringList positional = m_parser.positionalArguments();
    return positional.isEmpty() ? QString() : positional.first();
}

bool CommandLine::takesValue(const QString &optionName) const
{
    for (const QCommandLineOption *option : {&m_dataDir, &m_backupDir, &m_screenshots}) {
        if (option->names().contains(optionName))
            return !option->valueName().isEmpty();
    }
    return false;
}

QStringList CommandLine::positionalAfterDashes(const QStringList &arguments) const
{
    static const QRegularExpression negativeNumber(QStringLiteral("^-[0-9.,]"));
    if (arguments.isEmpty())
        return arguments;
    QStringList options{arguments.first()};
    QStringList positional;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--")) {
            positional += arguments.mid(i + 1);
            break;
        }
        const bool isOption = argument.startsWith(QLatin1Char('-')) && argument.size() > 1
                              && !negativeNumber.match(argument).hasMatch();
        if (!isOption) {
            positional << argument;
            continue;
        }
        options << argument;
        // "--data-dir dir": the next argument is the value, whatever it
        // looks like.
        const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        if (!name.contains(QLatin1Char('=')) && takesValue(name) && i + 1 < arguments.size())
            options << arguments.at(++i);
    }
    if (positional.isEmpty())
        return options;
    return options + QStringList{QStringLiteral("--")} + positional;
}
