#include "cli/checkcommand.h"

#include "interfaces/device/osdfile.h"

#include <QDir>

QString CheckCommand::summary() const
{
    return QStringLiteral("Reads and validates OSD files completely; prints \"FILE: ok (N records)\", or the "
                          "reason a file is refused on stderr (exit code 1).");
}

void CheckCommand::describe(QCommandLineParser &parser) const
{
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("OSD files to check."),
                                 QStringLiteral("FILE..."));
}

int CheckCommand::execute(const QCommandLineParser &parser, const QStringList &positional)
{
    Q_UNUSED(parser)
    if (positional.isEmpty())
        return usageError(QStringLiteral("no file given"));
    int code = Success;
    for (const QString &file : positional) {
        OsdFile::Contents contents;
        QString reason;
        const QString shown = QDir::toNativeSeparators(file);
        if (OsdFile::read(file, &contents, &reason)) {
            out(QStringLiteral("%1: ok (%2)")
                    .arg(shown,
                         counted(contents.count(), QStringLiteral("record"), QStringLiteral("records"))));
        } else {
            err(QStringLiteral("%1: %2").arg(shown, reason));
            code = Refused;
        }
    }
    return code;
}
