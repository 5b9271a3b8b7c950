#include "cli/checkcommand.h"

#include "interfaces/device/osdfile.h"
#include "interfaces/project/projectfile.h"

#include <QDir>

bool CheckCommand::isProject(const QString &fileName)
{
    return fileName.endsWith(QLatin1Char('.') + ProjectFile::suffix(), Qt::CaseInsensitive) ||
           ProjectFile::looksLikeProject(fileName);
}

QString CheckCommand::summary() const
{
    return QStringLiteral(
        "Reads and validates OSD files and projects (.brisklane) completely; prints \"FILE: ok "
        "(N records)\" or \"FILE: ok (project, N entries)\", or the reason a file is refused "
        "on stderr (exit code 1).");
}

void CheckCommand::describe(QCommandLineParser &parser) const
{
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("OSD files and projects to check."),
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
        OsdFileError reason;
        const QString shown = QDir::toNativeSeparators(file);
        if (isProject(file)) {
            ProjectState state;
            ProjectFile project;
            ProjectFile::Error error;
            if (project.load(file, &state, &error)) {
                out(QStringLiteral("%1: ok (project, %2)")
                        .arg(shown, counted(state.entries.size(), QStringLiteral("entry"),
                                            QStringLiteral("entries"))));
            } else {
                err(error.message());
                code = Refused;
            }
            continue;
        }
        if (OsdFile::read(file, &contents, &reason)) {
            out(QStringLiteral("%1: ok (%2)")
                    .arg(shown,
                         counted(contents.count(), QStringLiteral("record"), QStringLiteral("records"))));
        } else {
            err(QStringLiteral("%1: %2").arg(shown, reason.message()));
            code = Refused;
        }
    }
    return code;
}
