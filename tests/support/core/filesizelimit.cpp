#include "support/core/filesizelimit.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#endif

namespace TestSupport {

#ifdef Q_OS_UNIX
FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_previous = limit.rlim_cur;
    m_previousHandler = reinterpret_cast<void *>(std::signal(SIGXFSZ, SIG_IGN));
    limit.rlim_cur = rlim_t(bytes);
    m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    if (m_set) {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(m_previous);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::signal(SIGXFSZ, reinterpret_cast<void (*)(int)>(m_previousHandler));
}

QString FileSizeLimit::reason()
{
    return QString::fromLocal8Bit(std::strerror(EFBIG));
}
#else
FileSizeLimit::FileSizeLimit(qint64) {}
FileSizeLimit::~FileSizeLimit() = default;
QString FileSizeLimit::reason()
{
    return QString();
}
#endif

} // namespace TestSupport
