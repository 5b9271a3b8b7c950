#include "cli/progressline.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

bool ProgressLine::stderrIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

ProgressLine::ProgressLine(const QString &label) : m_label(label), m_enabled(stderrIsTerminal()) {}

ProgressLine::~ProgressLine()
{
    if (m_written) {
        std::fputc('\n', stderr);
        std::fflush(stderr);
    }
}

void ProgressLine::show(int done, int total)
{
    if (!m_enabled)
        return;
    const QByteArray line = QStringLiteral("\r%1: %2/%3").arg(m_label).arg(done).arg(total).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
    m_written = true;
}
