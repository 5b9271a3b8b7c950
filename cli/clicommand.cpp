#include "cli/clicommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

void CliCommand::out(const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void CliCommand::err(const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

QString CliCommand::counted(qint64 n, const QString &one, const QString &many)
{
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
}

int CliCommand::usageError(const QString &message) const
{
    err(QStringLiteral("brisklane-cli %1: %2").arg(name(), message));
    err(QStringLiteral("Try 'brisklane-cli %1 --help'.").arg(name()));
    return UsageError;
}

int CliCommand::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(summary());
    const QCommandLineOption help = parser.addHelpOption();
    // The command's name stands first among the positional arguments, so the usage line shows it.
    parser.addPositionalArgument(name(), QStringLiteral("The command."), name());
    describe(parser);
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    // --help-all is offered by the parser beside --help; there are no other options to add.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        QString text = parser.helpText();
        // The usage line names the executable only.
        text.replace(QCoreApplication::arguments().value(0), QStringLiteral("brisklane-cli"));
        std::fputs(text.toUtf8().constData(), stdout);
        return Success;
    }
    return execute(parser, parser.positionalArguments().mid(1));
}
