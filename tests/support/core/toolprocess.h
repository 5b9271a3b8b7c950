#pragma once

#include <QString>
#include <QStringList>

// A command-line program run as its own process, under the C locale and without a session's
// runtime folder, as in a pipeline.
namespace ToolProcess {

struct Run
{
    // -1 when the program did not finish normally.
    int code = -1;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &arguments, const QString &workDir = QString());

} // namespace ToolProcess
