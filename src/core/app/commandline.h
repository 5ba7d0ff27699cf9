#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

// The program's command line: --data-dir, --backup-dir, --screenshots, --help, --version
// and the optional day number. A negative day ("-5") is a day argument,
// not an unknown option, wherever it stands; "--" ends the options as usual.
class CommandLine
{
public:
    CommandLine();

    // Parses the arguments (the program's name first). False with
    // errorText() on an unknown option or a missing value.
    bool parse(const QStringList &arguments);
    // As parse(), but answers --help and --version and reports an error on
    // the terminal, ending the program as QCommandLineParser::process does.
    void process(const QStringList &arguments);

    QString errorText() const { return m_parser.errorText(); }

    // The folder given with --data-dir; empty when not given.
    QString dataDir() const;
    // The folder given with --backup-dir; empty when not given.
    QString backupDir() const;
    // The folder given with --screenshots; empty when not given.
    QString screenshotsDir() const;
    bool wantsScreenshots() const;
    // The first positional argument: the start date as a day number, as
    // typed; empty when there is none.
    QString dayArgument() const;

private:
    // The arguments with every positional one after a "--", so that one
    // that starts with "-" (a negative number) is not read as an option.
    QStringList positionalAfterDashes(const QStringList &arguments) const;
    bool takesValue(const QString &optionName) const;

    QCommandLineParser m_parser;
    QCommandLineOption m_dataDir;
    QCommandLineOption m_backupDir;
    QCommandLineOption m_screenshots;
};
