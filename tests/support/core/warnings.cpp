#include "support/core/warnings.h"

#include <QString>
#include <QTest>

namespace TestSupport {

namespace {
QtMessageHandler g_previous = nullptr;

void failingHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (g_previous)
        g_previous(type, context, message);
    // The offscreen platform plugin reports this for every top-level window it cannot size.
    const bool platformNoise = message.startsWith(QLatin1String("This plugin does not support"));
    if ((type == QtWarningMsg || type == QtCriticalMsg) && !platformNoise)
        QFAIL(qPrintable(QStringLiteral("Qt warning: ") + message));
}
} // namespace

void failOnQtWarnings()
{
    // Installing twice would chain the handler to itself.
    const QtMessageHandler previous = qInstallMessageHandler(failingHandler);
    if (previous != failingHandler)
        g_previous = previous;
}

} // namespace TestSupport
