#include "osditem/publicbase.h"

#include <QPixelFormat>
#include <QVector>
#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>

// The row loops below are plain C++ written so that the compiler can vectorise them. On x86 with
// GCC or Clang, hand-written SSSE3 and AVX2 versions (byte shuffles, and streaming stores for large
// outputs) are chosen at run time; each gives exactly the bytes of the plain loops.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define BRISKLANE_X86_DISPATCH 1
#define BRISKLANE_TARGET(features) __attribute__((target(features)))
#include <immintrin.h>
#else
#define BRISKLANE_X86_DISPATCH 0
#endif

namespace {

// ---- What the processor offers

enum class Level
{
    Portable,
    Ssse3,
    Avx2
};

// QT_NO_CPU_FEATURE (e.g. "avx2" or "ssse3") turns instruction sets off here as it does in Qt.
Level cpuLevel()
{
    static const Level level = [] {
#if BRISKLANE_X86_DISPATCH
        const QString off = qEnvironmentVariable("QT_NO_CPU_FEATURE").toLower();
        __builtin_cpu_init();
        const bool ssse3 = __builtin_cpu_supports("ssse3") && !off.contains(QLatin1String("ssse3"));
        if (ssse3 && __builtin_cpu_supports("avx2") && !off.contains(QLatin1String("avx2")))
            return Level::Avx2;
        if (ssse3)
            return Level::Ssse3;
#endif
        return Level::Portable;
    }();
    return level;
}

// Outputs this large are written past the caches (streaming stores): nothing reads them again
// soon, and through the caches each written line would first be read from memory.
// BRISKLANE_STREAMING_STORES=always or =never overrides the choice (the tests run both roads).
bool streamingFor(qint64 outputBytes)
{
    constexpr qint64 StreamingBytes = qint64(16) << 20;
    static const int mode = [] {
        const QByteArray setting = qgetenv("BRISKLANE_STREAMING_STORES");
        return setting == "always" ? 1 : setting == "never" ? -1 : 0;
    }();
    return mode > 0 || (mode == 0 && outputBytes >= StreamingBytes);
}

// n pixels from src to dst.
using RunKernel = void (*)(const uchar *src, uchar *dst, qint64 n);

// ---- Plain loops

// Native QRgb words (RGB32, ARGB32, ARGB32_Premultiplied): the low three bytes of each word.
Q_ALWAYS_INLINE void rgbWordsToBgrSimple(const uchar *__restrict src, uchar *__restrict dst, qint64 n)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // The word 0xAARRGGBB lies in memory as B, G, R, A.
    for (qint64 x = 0; x < n; ++x) {
        dst[3 * x] = src[4 * x];
        dst[3 * x + 1] = src[4 * x + 1];
        dst[3 * x + 2] = src[4 * x + 2];
    }
#else
    for (qint64 x = 0; x < n; ++x) {
        dst[3 * x] = src[4 * x + 3];
        dst[3 * x + 1] = src[4 * x + 2];
        dst[3 * x + 2] = src[4 * x + 1];
    }
#endif
}

// Bytes R, G, B, A (RGBX8888, RGBA8888, RGBA8888_Premultiplied) to B, G, R.
Q_ALWAYS_INLINE void rgbaBytesToBgrSimple(const uchar *__restrict src, uchar *__restrict dst, qint64 n)
{
    for (qint64 x = 0; x < n; ++x) {
        dst[3 * x] = src[4 * x + 2];
        dst[3 * x + 1] = src[4 * x + 1];
        dst[3 * x + 2] = src[4 * x];
    }
}

// Bytes R, G, B (RGB888) to B, G, R.
Q_ALWAYS_INLINE void rgbBytesToBgrSimple(const uchar *__restrict src, uchar *__restrict dst, qint64 n)
{
    for (qint64 x = 0; x < n; ++x) {
        dst[3 * x] = src[3 * x + 2];
        dst[3 * x + 1] = src[3 * x + 1];
        dst[3 * x + 2] = src[3 * x];
    }
}

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
// Without byte shuffles, dropping every fourth byte is fastest in general-purpose registers: eight
// pixels (eight 24-bit values) make three 64-bit words. swapRB also exchanges bytes 0 and 2.
template <bool swapRB> Q_ALWAYS_INLINE quint64 packedPixel(const uchar *p)
{
    quint32 v;
    std::memcpy(&v, p, 4);
    if (swapRB)
        v = ((v >> 16) & 0xFFu) | (v & 0xFF00u) | ((v & 0xFFu) << 16);
    return v & 0xFFFFFFu;
}

template <bool swapRB> void fourToThreeWords(const uchar *__restrict src, uchar *__restrict dst, qint64 n)
{
    qint64 x = 0;
    for (; x + 8 <= n; x += 8) {
        const uchar *s = src + 4 * x;
        const quint64 p0 = packedPixel<swapRB>(s), p1 = packedPixel<swapRB>(s + 4);
        const quint64 p2 = packedPixel<swapRB>(s + 8), p3 = packedPixel<swapRB>(s + 12);
        const quint64 p4 = packedPixel<swapRB>(s + 16), p5 = packedPixel<swapRB>(s + 20);
        const quint64 p6 = packedPixel<swapRB>(s + 24), p7 = packedPixel<swapRB>(s + 28);
        const quint64 o0 = p0 | (p1 << 24) | (p2 << 48);
        const quint64 o1 = (p2 >> 16) | (p3 << 8) | (p4 << 32) | (p5 << 56);
        const quint64 o2 = (p5 >> 8) | (p6 << 16) | (p7 << 40);
        std::memcpy(dst + 3 * x, &o0, 8);
        std::memcpy(dst + 3 * x + 8, &o1, 8);
        std::memcpy(dst + 3 * x + 16, &o2, 8);
    }
    if (swapRB)
        rgbaBytesToBgrSimple(src + 4 * x, dst + 3 * x, n - x);
    else
        rgbWordsToBgrSimple(src + 4 * x, dst + 3 * x, n - x);
}

void rgbWordsToBgrPlain(const uchar *src, uchar *dst, qint64 n)
{
    fourToThreeWords<false>(src, dst, n);
}

void rgbaBytesToBgrPlain(const uchar *src, uchar *dst, qint64 n)
{
    fourToThreeWords<true>(src, dst, n);
}
#else
void rgbWordsToBgrPlain(const uchar *src, uchar *dst, qint64 n)
{
    rgbWordsToBgrSimple(src, dst, n);
}

void rgbaBytesToBgrPlain(const uchar *src, uchar *dst, qint64 n)
{
    rgbaBytesToBgrSimple(src, dst, n);
}
#endif

void rgbBytesToBgrPlain(const uchar *src, uchar *dst, qint64 n)
{
    rgbBytesToBgrSimple(src, dst, n);
}

void bgrBytesCopy(const uchar *src, uchar *dst, qint64 n)
{
    std::memcpy(dst, src, size_t(n) * 3);
}

#if BRISKLANE_X86_DISPATCH
// ---- x86: the plain loops compiled for SSSE3 (the compiler turns them into byte shuffles)

BRISKLANE_TARGET("ssse3") void rgbWordsToBgrSsse3(const uchar *src, uchar *dst, qint64 n)
{
    rgbWordsToBgrSimple(src, dst, n);
}

BRISKLANE_TARGET("ssse3") void rgbaBytesToBgrSsse3(const uchar *src, uchar *dst, qint64 n)
{
    rgbaBytesToBgrSimple(src, dst, n);
}

BRISKLANE_TARGET("ssse3") void rgbBytesToBgrSsse3(const uchar *src, uchar *dst, qint64 n)
{
    rgbBytesToBgrSimple(src, dst, n);
}

// ---- x86: hand-written shuffles, also with streaming stores

// Streaming stores need aligned addresses: the first x (at most n) at which dst + x * bytesPerPixel
// lies on a multiple of alignment, or -1 if there is none (a destination that is not even aligned
// to its pixels).
qint64 alignedStart(const uchar *dst, int bytesPerPixel, int alignment, qint64 n)
{
    const auto address = reinterpret_cast<std::uintptr_t>(dst);
    for (qint64 x = 0; x < alignment; ++x) {
        if ((address + std::uintptr_t(x) * std::uintptr_t(bytesPerPixel)) % std::uintptr_t(alignment) == 0)
            return std::min(x, n);
    }
    return -1;
}

template <bool Stream> BRISKLANE_TARGET("ssse3") Q_ALWAYS_INLINE void put16(uchar *p, __m128i v)
{
    if (Stream)
        _mm_stream_si128(reinterpret_cast<__m128i *>(p), v);
    else
        _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v);
}

template <bool Stream> BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE void put32(uchar *p, __m256i v)
{
    if (Stream)
        _mm256_stream_si256(reinterpret_cast<__m256i *>(p), v);
    else
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(p), v);
}

BRISKLANE_TARGET("ssse3") Q_ALWAYS_INLINE __m128i load16(const uchar *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

// Four pixels' bytes 0, 1, 2 (swapRB: 2, 1, 0) to the low 12 bytes.
template <bool swapRB> BRISKLANE_TARGET("ssse3") Q_ALWAYS_INLINE __m128i packShuffle()
{
    return swapRB ? _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1)
                  : _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
}

template <bool swapRB> Q_ALWAYS_INLINE void packSimple(const uchar *src, uchar *dst, qint64 n)
{
    if (swapRB)
        rgbaBytesToBgrSimple(src, dst, n);
    else
        rgbWordsToBgrSimple(src, dst, n);
}

// 16 pixels (64 bytes) to 48 bytes per step.
template <bool swapRB, bool Stream>
BRISKLANE_TARGET("ssse3")
void packSsse3(const uchar *src, uchar *dst, qint64 n)
{
    qint64 x = Stream ? alignedStart(dst, 3, 16, n) : 0;
    if (x < 0)
        return packSsse3<swapRB, false>(src, dst, n);
    packSimple<swapRB>(src, dst, x);
    const __m128i shuffle = packShuffle<swapRB>();
    for (; x + 16 <= n; x += 16) {
        const uchar *s = src + 4 * x;
        const __m128i a = _mm_shuffle_epi8(load16(s), shuffle);
        const __m128i b = _mm_shuffle_epi8(load16(s + 16), shuffle);
        const __m128i c = _mm_shuffle_epi8(load16(s + 32), shuffle);
        const __m128i d = _mm_shuffle_epi8(load16(s + 48), shuffle);
        uchar *o = dst + 3 * x;
        put16<Stream>(o, _mm_or_si128(a, _mm_slli_si128(b, 12)));
        put16<Stream>(o + 16, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        put16<Stream>(o + 32, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    if (Stream)
        _mm_sfence();
    packSimple<swapRB>(src + 4 * x, dst + 3 * x, n - x);
}

// Eight pixels packed into the low 24 bytes.
BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE __m256i packedEight(const uchar *s, __m256i shuffle, __m256i join)
{
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(s));
    return _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(v, shuffle), join);
}

// 32 pixels (128 bytes) to 96 bytes per step: each lane packs to 12 bytes, the lanes are joined to
// 24, and four such pieces make three full stores.
template <bool swapRB, bool Stream>
BRISKLANE_TARGET("avx2")
void packAvx2(const uchar *src, uchar *dst, qint64 n)
{
    qint64 x = Stream ? alignedStart(dst, 3, 32, n) : 0;
    if (x < 0)
        return packAvx2<swapRB, false>(src, dst, n);
    packSimple<swapRB>(src, dst, x);
    const __m128i lane = packShuffle<swapRB>();
    const __m256i shuffle = _mm256_inserti128_si256(_mm256_castsi128_si256(lane), lane, 1);
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    for (; x + 32 <= n; x += 32) {
        const uchar *s = src + 4 * x;
        const __m256i a = packedEight(s, shuffle, join), b = packedEight(s + 32, shuffle, join);
        const __m256i c = packedEight(s + 64, shuffle, join), d = packedEight(s + 96, shuffle, join);
        // Words a0..a5 b0 b1 | b2..b5 c0..c3 | c4 c5 d0..d5.
        const __m256i o0 = _mm256_blend_epi32(
            a, _mm256_permutevar8x32_epi32(b, _mm256_setr_epi32(0, 0, 0, 0, 0, 0, 0, 1)), 0xC0);
        const __m256i o1 = _mm256_blend_epi32(
            _mm256_permutevar8x32_epi32(b, _mm256_setr_epi32(2, 3, 4, 5, 0, 0, 0, 0)),
            _mm256_permutevar8x32_epi32(c, _mm256_setr_epi32(0, 0, 0, 0, 0, 1, 2, 3)), 0xF0);
        const __m256i o2 = _mm256_blend_epi32(
            _mm256_permutevar8x32_epi32(c, _mm256_setr_epi32(4, 5, 0, 0, 0, 0, 0, 0)),
            _mm256_permutevar8x32_epi32(d, _mm256_setr_epi32(0, 0, 0, 1, 2, 3, 4, 5)), 0xFC);
        uchar *o = dst + 3 * x;
        put32<Stream>(o, o0);
        put32<Stream>(o + 32, o1);
        put32<Stream>(o + 64, o2);
    }
    if (Stream)
        _mm_sfence();
    packSimple<swapRB>(src + 4 * x, dst + 3 * x, n - x);
}

// OSD bytes B, G, R to RGBA8888 bytes R, G, B, 255, one pixel at a time (the ends of a run).
Q_ALWAYS_INLINE void bgrToRgbaSimple(const uchar *__restrict src, uchar *__restrict dst, qint64 n)
{
    for (qint64 x = 0; x < n; ++x) {
        dst[4 * x] = src[3 * x + 2];
        dst[4 * x + 1] = src[3 * x + 1];
        dst[4 * x + 2] = src[3 * x];
        dst[4 * x + 3] = 0xFF;
    }
}

// 12 bytes B, G, R to four RGBA8888 pixels.
BRISKLANE_TARGET("ssse3") Q_ALWAYS_INLINE __m128i unpackShuffle()
{
    return _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
}

// 48 bytes to 16 pixels per step.
template <bool Stream> BRISKLANE_TARGET("ssse3") void unpackSsse3(const uchar *src, uchar *dst, qint64 n)
{
    qint64 x = Stream ? alignedStart(dst, 4, 16, n) : 0;
    if (x < 0)
        return unpackSsse3<false>(src, dst, n);
    bgrToRgbaSimple(src, dst, x);
    const __m128i shuffle = unpackShuffle();
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    for (; x + 16 <= n; x += 16) {
        const uchar *s = src + 3 * x;
        const __m128i a = load16(s), b = load16(s + 16), c = load16(s + 32);
        uchar *o = dst + 4 * x;
        put16<Stream>(o, _mm_or_si128(_mm_shuffle_epi8(a, shuffle), alpha));
        put16<Stream>(o + 16, _mm_or_si128(_mm_shuffle_epi8(_mm_alignr_epi8(b, a, 12), shuffle), alpha));
        put16<Stream>(o + 32, _mm_or_si128(_mm_shuffle_epi8(_mm_alignr_epi8(c, b, 8), shuffle), alpha));
        put16<Stream>(o + 48, _mm_or_si128(_mm_shuffle_epi8(_mm_srli_si128(c, 4), shuffle), alpha));
    }
    if (Stream)
        _mm_sfence();
    bgrToRgbaSimple(src + 3 * x, dst + 4 * x, n - x);
}

// Eight pixels from 24 bytes (read as two 16-byte loads 12 bytes apart).
BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE __m256i unpackedEight(const uchar *s, __m256i shuffle, __m256i alpha)
{
    const __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(load16(s)), load16(s + 12), 1);
    return _mm256_or_si256(_mm256_shuffle_epi8(v, shuffle), alpha);
}

// 96 bytes to 32 pixels per step, from 16-byte loads 12 bytes apart (the last one reaches 4 bytes
// beyond the step, so the loop stops early enough).
template <bool Stream> BRISKLANE_TARGET("avx2") void unpackAvx2(const uchar *src, uchar *dst, qint64 n)
{
    qint64 x = Stream ? alignedStart(dst, 4, 32, n) : 0;
    if (x < 0)
        return unpackAvx2<false>(src, dst, n);
    bgrToRgbaSimple(src, dst, x);
    const __m128i lane = unpackShuffle();
    const __m256i shuffle = _mm256_inserti128_si256(_mm256_castsi128_si256(lane), lane, 1);
    const __m256i alpha = _mm256_set1_epi32(int(0xFF000000u));
    for (; x + 34 <= n; x += 32) {
        const uchar *s = src + 3 * x;
        uchar *o = dst + 4 * x;
        put32<Stream>(o, unpackedEight(s, shuffle, alpha));
        put32<Stream>(o + 32, unpackedEight(s + 24, shuffle, alpha));
        put32<Stream>(o + 64, unpackedEight(s + 48, shuffle, alpha));
        put32<Stream>(o + 96, unpackedEight(s + 72, shuffle, alpha));
    }
    if (Stream)
        _mm_sfence();
    unpackSsse3<false>(src + 3 * x, dst + 4 * x, n - x);
}
#endif

// ---- Choice of kernels

struct PackKernels
{
    RunKernel rgbWords;  // RGB32, ARGB32, ARGB32_Premultiplied
    RunKernel rgbaBytes; // RGBX8888, RGBA8888, RGBA8888_Premultiplied
    RunKernel rgbBytes;  // RGB888
};

PackKernels packKernels([[maybe_unused]] bool stream)
{
    switch (cpuLevel()) {
#if BRISKLANE_X86_DISPATCH
    case Level::Avx2:
        if (stream)
            return {packAvx2<false, true>, packAvx2<true, true>, rgbBytesToBgrSsse3};
        return {packAvx2<false, false>, packAvx2<true, false>, rgbBytesToBgrSsse3};
    case Level::Ssse3:
        if (stream)
            return {packSsse3<false, true>, packSsse3<true, true>, rgbBytesToBgrSsse3};
        return {rgbWordsToBgrSsse3, rgbaBytesToBgrSsse3, rgbBytesToBgrSsse3};
#endif
    default:
        return {rgbWordsToBgrPlain, rgbaBytesToBgrPlain, rgbBytesToBgrPlain};
    }
}

// Null where Qt's own converter (portable, and vectorised by Qt where it can) does the work.
RunKernel unpackKernel([[maybe_unused]] bool stream)
{
    switch (cpuLevel()) {
#if BRISKLANE_X86_DISPATCH
    case Level::Avx2:
        return stream ? unpackAvx2<true> : unpackAvx2<false>;
    case Level::Ssse3:
        return stream ? unpackSsse3<true> : unpackSsse3<false>;
#endif
    default:
        return nullptr;
    }
}

// ---- Formats without a fixed byte layout

// QImage::pixel of an indexed image reads the colour table and gives 0 for an index beyond it.
QVector<quint32> paddedColorTable(const QImage &image)
{
    QVector<quint32> lut(256, 0);
    const QVector<QRgb> table = image.colorTable();
    std::copy_n(table.constBegin(), std::min(table.size(), 256), lut.begin());
    return lut;
}

Q_ALWAYS_INLINE void putRgb(uchar *dst, quint32 p)
{
    dst[0] = uchar(p);
    dst[1] = uchar(p >> 8);
    dst[2] = uchar(p >> 16);
}

// Colours are looked up into a line of QRgb words, which the word kernel then packs.
void indexed8Rows(const QImage &image, uchar *out)
{
    const QVector<quint32> lut = paddedColorTable(image);
    const quint32 *table = lut.constData();
    const int w = image.width();
    QVector<quint32> line(w);
    quint32 *words = line.data();
    const RunKernel kernel = packKernels(false).rgbWords;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *src = image.constScanLine(y);
        for (int x = 0; x < w; ++x)
            words[x] = table[src[x]];
        kernel(reinterpret_cast<const uchar *>(words), out + qint64(y) * w * 3, w);
    }
}

void monoRows(const QImage &image, uchar *out)
{
    const QVector<quint32> lut = paddedColorTable(image);
    const quint32 colors[2] = {lut.at(0), lut.at(1)};
    const bool lsbFirst = image.format() == QImage::Format_MonoLSB;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const uchar *src = image.constScanLine(y);
        uchar *dst = out + qint64(y) * w * 3;
        for (int x = 0; x < w; ++x) {
            const uchar byte = src[x >> 3];
            const int bit = lsbFirst ? (byte >> (x & 7)) & 1 : (byte >> (~x & 7)) & 1;
            putRgb(dst + 3 * x, colors[bit]);
        }
    }
}

// Every other format: QImage::pixel gives the pixel as ARGB32 (unpremultiplied formats) or as
// ARGB32_Premultiplied (premultiplied ones), which is what Qt's converter produces too. Bands of
// rows are converted through a small buffer, so no second full-size image is made.
void convertedRows(const QImage &image, uchar *out)
{
    const QImage::Format target = image.pixelFormat().premultiplied() == QPixelFormat::Premultiplied
                                      ? QImage::Format_ARGB32_Premultiplied
                                      : QImage::Format_ARGB32;
    const int w = image.width();
    const int h = image.height();
    const int bandRows = std::max(1, (256 * 1024) / (w * 4));
    const RunKernel kernel = packKernels(false).rgbWords;
    for (int y = 0; y < h; y += bandRows) {
        const int rows = std::min(bandRows, h - y);
        const QImage band(image.constScanLine(y), w, rows, int(image.bytesPerLine()), image.format());
        const QImage converted = band.convertToFormat(target);
        for (int r = 0; r < rows; ++r)
            kernel(converted.constScanLine(r), out + (qint64(y) + r) * w * 3, w);
    }
}

// Largest byte count a QByteArray can take.
constexpr qint64 MaxByteArraySize = INT_MAX - 32;

// osdDataToImage through Qt's converter: the data is an image in Qt's BGR888 layout with a stride
// of completionWidth pixels.
QImage *osdDataToImageByQt(const uchar *bytes, int width, int height, qint64 stride, int shown, int wholeRows)
{
    QImage converted;
    if (wholeRows > 0) {
        // With more than one row the stride lies within the data and so fits an int.
        const int lineBytes = int(wholeRows > 1 ? stride : qint64(shown) * 3);
        const QImage wrapped(bytes, shown, wholeRows, lineBytes, QImage::Format_BGR888);
        converted = wrapped.convertToFormat(QImage::Format_RGBA8888);
        if (converted.isNull())
            return nullptr;
        if (shown == width && wholeRows == height)
            return new QImage(converted);
    }

    auto *image = new QImage(width, height, QImage::Format_RGBA8888);
    if (image->isNull()) {
        delete image;
        return nullptr;
    }
    image->fill(QColor(0, 0, 0, 255));
    for (int y = 0; y < converted.height(); ++y)
        std::memcpy(image->scanLine(y), converted.constScanLine(y), size_t(shown) * 4);
    return image;
}

} // namespace

QByteArray PublicBase::imageToOsdData(const QImage &image, int *completionWidth)
{
    QByteArray data;
    imageToOsdData(image, completionWidth, &data);
    return data;
}

void PublicBase::imageToOsdData(const QImage &image, int *completionWidth, QByteArray *data)
{
    const int w = image.width();
    const int h = image.height();
    const qint64 total = qint64(w) * h * 3;
    // A null image, or one too large for a single byte array (possible for 1-bit images), gives no
    // data and a completion width of 0, so the record stays consistent.
    if (image.isNull() || total > MaxByteArraySize) {
        if (completionWidth)
            *completionWidth = 0;
        *data = QByteArray();
        return;
    }
    if (completionWidth)
        *completionWidth = w;

    // The bytes are all written below: memory that nothing else shares can take them as it is.
    if (data->size() != total || !data->isDetached())
        *data = QByteArray(int(total), Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(data->data());
    const PackKernels kernels = packKernels(streamingFor(total));
    RunKernel kernel = nullptr;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        kernel = kernels.rgbWords;
        break;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        kernel = kernels.rgbaBytes;
        break;
    case QImage::Format_RGB888:
        kernel = kernels.rgbBytes;
        break;
    case QImage::Format_BGR888:
        kernel = bgrBytesCopy;
        break;
    case QImage::Format_Indexed8:
        indexed8Rows(image, out);
        return;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        monoRows(image, out);
        return;
    default:
        convertedRows(image, out);
        return;
    }
    // Rows without padding between them are one run of pixels.
    if (image.bytesPerLine() * 8 == qint64(w) * image.depth()) {
        kernel(image.constBits(), out, qint64(w) * h);
        return;
    }
    for (int y = 0; y < h; ++y)
        kernel(image.constScanLine(y), out + qint64(y) * w * 3, w);
}

QImage PublicBase::osdDataView(const QByteArray &data, int width, int height, int completionWidth)
{
    if (width <= 0 || height <= 0 || completionWidth < width)
        return QImage();
    const qint64 stride = qint64(completionWidth) * 3;
    if (stride > std::numeric_limits<int>::max() ||
        qint64(data.size()) < stride * (height - 1) + qint64(width) * 3)
        return QImage();
    // The image holds a handle on the bytes for as long as it (or a pixmap sharing it) lives.
    auto *holder = new QByteArray(data);
    QImage view(
        reinterpret_cast<const uchar *>(holder->constData()), width, height, int(stride),
        QImage::Format_BGR888, [](void *info) { delete static_cast<QByteArray *>(info); }, holder);
    if (view.isNull())
        delete holder;
    return view;
}

QImage *PublicBase::osdDataToImage(const QByteArray &data, int width, int height, int completionWidth)
{
    if (data.isEmpty())
        return nullptr;
    // No image for sizes a QImage cannot have (instead of a null image or an overflow).
    if (width <= 0 || height <= 0 || qint64(width) * height > MaxByteArraySize / 4)
        return nullptr;
    const qint64 stride = qint64(std::max(completionWidth, 0)) * 3;
    const int shown = std::min(width, std::max(completionWidth, 0));
    const qint64 size = data.size();
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());

    // Rows whose shown pixels all lie inside the data.
    int wholeRows = 0;
    if (shown > 0 && size >= qint64(shown) * 3)
        wholeRows = int(std::min<qint64>(height, (size - qint64(shown) * 3) / stride + 1));

    QImage *image = nullptr;
    const RunKernel unpack = unpackKernel(streamingFor(qint64(width) * height * 4));
    if (!unpack) {
        image = osdDataToImageByQt(bytes, width, height, stride, shown, wholeRows);
        if (!image || (shown == width && wholeRows == height))
            return image;
    } else {
        image = new QImage(width, height, QImage::Format_RGBA8888);
        if (image->isNull()) {
            delete image;
            return nullptr;
        }
        // Short data or a completion width below the width: everything not taken from the data
        // is opaque black.
        if (shown < width || wholeRows < height)
            image->fill(QColor(0, 0, 0, 255));
        uchar *pixels = image->bits();
        if (shown == width && stride == qint64(width) * 3 && image->bytesPerLine() == qint64(width) * 4) {
            unpack(bytes, pixels, qint64(width) * wholeRows);
        } else {
            for (int y = 0; y < wholeRows; ++y)
                unpack(bytes + y * stride, pixels + y * image->bytesPerLine(), shown);
        }
    }

    if (wholeRows < height && shown > 0) {
        // The row in which the data ends: bytes past the end read as 0.
        const qint64 rowStart = qint64(wholeRows) * stride;
        uchar *dst = image->scanLine(wholeRows);
        for (int x = 0; x < shown; ++x) {
            const qint64 p = rowStart + qint64(x) * 3;
            dst[4 * x] = p + 2 < size ? bytes[p + 2] : 0;
            dst[4 * x + 1] = p + 1 < size ? bytes[p + 1] : 0;
            dst[4 * x + 2] = p < size ? bytes[p] : 0;
        }
    }
    return image;
}

int PublicBase::readBytes(const QByteArray &data, int pos, int count, int *nextPos)
{
    // The next position saturates instead of overflowing.
    if (nextPos)
        *nextPos = int(qBound<qint64>(INT_MIN, qint64(pos) + count, INT_MAX));
    if (count <= 0 || pos < 0 || qint64(pos) + count > data.size())
        return 0;
    // Bytes from the fifth on weigh 256^4 and more and vanish in a 32-bit result.
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + pos;
    quint32 value = 0;
    for (int k = std::min(count, 4) - 1; k >= 0; --k)
        value = (value << 8) | p[k];
    return int(value);
}
