#pragma once

#include <QtGlobal>

// The pixel kernels are plain C++ loops everywhere; on x86 with GCC or Clang some are also built
// for newer instruction sets (function by function, so one binary runs on every processor) and
// chosen at run time from the level below.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define BRISKLANE_X86_DISPATCH 1
#define BRISKLANE_TARGET(features) __attribute__((target(features)))
#else
#define BRISKLANE_X86_DISPATCH 0
#endif

// What the processor offers the kernels of conversion and keying, detected once.
// QT_NO_CPU_FEATURE ("avx2", "ssse3") turns instruction sets off as it does in Qt; tests
// lower the level with a Limit to take every road in one process.
class CpuFeatures
{
public:
    enum class Level
    {
        Portable, // plain loops (vectorised by the compiler for the build's target) and Qt's converters
        Ssse3,    // byte shuffles
        Avx2
    };
    // Streaming stores (past the caches) in the conversions: from a size on, always or never.
    enum class Streaming
    {
        Auto,
        Always,
        Never
    };

    // The level the kernels use: what the processor offers, at most the limit.
    static Level level() { return Level(qMin(s_detected, s_maximum.loadRelaxed())); }
    // What the processor (and QT_NO_CPU_FEATURE) offers, whatever the limit.
    static Level detectedLevel() { return Level(s_detected); }
    static Streaming streaming() { return Streaming(s_streaming.loadRelaxed()); }
    static const char *name(Level level);

    // Lowers the level (and sets the streaming choice) while it lives; for tests, which run the
    // kernels on every road. Not for use while kernels run on other threads.
    class Limit
    {
    public:
        explicit Limit(Level maximum, Streaming streaming = Streaming::Auto);
        ~Limit();
        Limit(const Limit &) = delete;
        Limit &operator=(const Limit &) = delete;

    private:
        int m_previousMaximum;
        int m_previousStreaming;
    };

private:
    static const int s_detected;
    static QBasicAtomicInt s_maximum;
    static QBasicAtomicInt s_streaming;
};
