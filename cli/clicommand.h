#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// One command of brisklane-cli. Exit codes: 0 success, 1 an input refused or an output not
// written, 2 a usage error. Results go to stdout, messages to stderr.
class CliCommand
{
public:
    enum ExitCode
    {
        Success = 0,
        Refused = 1,
        UsageError = 2
    };

    virtual ~CliCommand() = default;

    virtual QString name() const = 0;
    virtual QString summary() const = 0;

    // arguments: the whole command line (program name, command name, the rest).
    int run(const QStringList &arguments);

    static void out(const QString &line);
    static void err(const QString &line);
    // "1 record", "2 records".
    static QString counted(qint64 n, const QString &one, const QString &many);

protected:
    // Adds the command's options and positional arguments (after the command name) to parser.
    virtual void describe(QCommandLineParser &parser) const = 0;
    // Runs the parsed command. positional holds the arguments after the command name.
    virtual int execute(const QCommandLineParser &parser, const QStringList &positional) = 0;

    // A usage error: the message and a hint at --help on stderr.
    int usageError(const QString &message) const;
};
