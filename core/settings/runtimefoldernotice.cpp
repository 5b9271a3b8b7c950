#include "core/settings/runtimefoldernotice.h"

#include <QString>

#include <cstdio>

namespace {
QtMessageHandler g_previous = nullptr;

void withoutNotice(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (RuntimeFolderNotice::matches(type, message))
        return;
    if (g_previous)
        g_previous(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
} // namespace

bool RuntimeFolderNotice::matches(QtMsgType type, const QString &message)
{
    return type == QtWarningMsg &&
           message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void RuntimeFolderNotice::filterOut()
{
    // Installing twice would chain the handler to itself.
    const QtMessageHandler previous = qInstallMessageHandler(withoutNotice);
    if (previous != withoutNotice)
        g_previous = previous;
}
