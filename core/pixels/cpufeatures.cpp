#include "core/pixels/cpufeatures.h"

#include <QByteArray>
#include <QString>

namespace {

QString disabledFeatures()
{
    return qEnvironmentVariable("QT_NO_CPU_FEATURE").toLower();
}

int detectLevel()
{
#if BRISKLANE_X86_DISPATCH
    const QString off = disabledFeatures();
    __builtin_cpu_init();
    const bool ssse3 = __builtin_cpu_supports("ssse3") && !off.contains(QLatin1String("ssse3"));
    if (ssse3 && __builtin_cpu_supports("avx2") && !off.contains(QLatin1String("avx2")))
        return int(CpuFeatures::Level::Avx2);
    if (ssse3)
        return int(CpuFeatures::Level::Ssse3);
#endif
    return int(CpuFeatures::Level::Portable);
}

// BRISKLANE_STREAMING_STORES=always or =never overrides the size at which they start.
int streamingSetting()
{
    const QByteArray setting = qgetenv("BRISKLANE_STREAMING_STORES");
    const auto streaming = setting == "always"  ? CpuFeatures::Streaming::Always
                           : setting == "never" ? CpuFeatures::Streaming::Never
                                                : CpuFeatures::Streaming::Auto;
    return int(streaming);
}

} // namespace

// Detected before main(), so the kernels read plain values without a guard on every call. (Until
// then everything reads as zero: the portable level, which is always right.)
const int CpuFeatures::s_detected = detectLevel();
QBasicAtomicInt CpuFeatures::s_maximum = Q_BASIC_ATOMIC_INITIALIZER(int(CpuFeatures::Level::Avx2));
QBasicAtomicInt CpuFeatures::s_streaming = Q_BASIC_ATOMIC_INITIALIZER(streamingSetting());

const char *CpuFeatures::name(Level level)
{
    switch (level) {
    case Level::Portable:
        return "portable";
    case Level::Ssse3:
        return "SSSE3";
    case Level::Avx2:
        return "AVX2";
    }
    return "?";
}

CpuFeatures::Limit::Limit(Level maximum, Streaming streaming)
    : m_previousMaximum(s_maximum.loadRelaxed()), m_previousStreaming(s_streaming.loadRelaxed())
{
    s_maximum.storeRelaxed(int(maximum));
    s_streaming.storeRelaxed(int(streaming));
}

CpuFeatures::Limit::~Limit()
{
    s_maximum.storeRelaxed(m_previousMaximum);
    s_streaming.storeRelaxed(m_previousStreaming);
}
