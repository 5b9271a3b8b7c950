#include "core/pixels/colorkeyer.h"

#include "osditem/publicbase.h"

#include <QColorSpace>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstring>

// The loops below are plain C++ written so that the compiler can vectorise them. On x86 with GCC or
// Clang they are also built for AVX2, and one pass that keys, converts to OSD bytes and makes the
// image to show is written with SSSE3 and with AVX2 instructions; the one that runs is chosen at run
// time, and each gives exactly the bytes of the plain loops.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define BRISKLANE_X86_DISPATCH 1
#define BRISKLANE_TARGET(features) __attribute__((target(features)))
#include <immintrin.h>
#else
#define BRISKLANE_X86_DISPATCH 0
#endif

namespace {

// ---- What the processor offers (the same choice, and the same setting, as in publicbase.cpp)

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

struct Bounds
{
    int redLow, redHigh, greenLow, greenHigh, blueLow, blueHigh;
};

// The bounds as offsets and spans: c lies in [low, high] exactly when the unsigned c - low is at
// most high - low (spans are never negative here), one compare instead of two.
struct Spans
{
    quint32 redLow, redSpan, greenLow, greenSpan, blueLow, blueSpan;
};

// 1 when the pixel's channels lie inside the bounds, else 0; no branches, so the loops below
// vectorise. The shifts say where QImage::pixel takes red, green and blue from the stored word.
template <int RedShift, int GreenShift, int BlueShift>
Q_ALWAYS_INLINE quint32 inBounds(quint32 stored, const Spans &s)
{
    const quint32 red = ((stored >> RedShift) & 0xFF) - s.redLow;
    const quint32 green = ((stored >> GreenShift) & 0xFF) - s.greenLow;
    const quint32 blue = ((stored >> BlueShift) & 0xFF) - s.blueLow;
    return quint32((red <= s.redSpan) & (green <= s.greenSpan) & (blue <= s.blueSpan));
}

template <int R, int G, int B>
Q_ALWAYS_INLINE bool lineHasMatchBody(const quint32 *line, int width, const Spans &s)
{
    quint32 any = 0;
    for (int x = 0; x < width; ++x)
        any |= inBounds<R, G, B>(line[x], s);
    return any != 0;
}

template <int R, int G, int B>
Q_ALWAYS_INLINE void keyLineInPlaceBody(quint32 *line, int width, const Spans &s, quint32 fill)
{
    for (int x = 0; x < width; ++x) {
        const quint32 stored = line[x];
        const quint32 mask = 0u - inBounds<R, G, B>(stored, s);
        line[x] = (stored & ~mask) | (fill & mask);
    }
}

template <int R, int G, int B> bool lineHasMatch(const quint32 *line, int width, const Spans &s)
{
    return lineHasMatchBody<R, G, B>(line, width, s);
}

template <int R, int G, int B> void keyLineInPlace(quint32 *line, int width, const Spans &s, quint32 fill)
{
    keyLineInPlaceBody<R, G, B>(line, width, s, fill);
}

template <int R, int G, int B>
void keyLineInto(const quint32 *__restrict source, quint32 *__restrict target, int width, const Spans &s,
                 quint32 fill)
{
    for (int x = 0; x < width; ++x) {
        const quint32 stored = source[x];
        const quint32 mask = 0u - inBounds<R, G, B>(stored, s);
        target[x] = (stored & ~mask) | (fill & mask);
    }
}

#if BRISKLANE_X86_DISPATCH
template <int R, int G, int B>
BRISKLANE_TARGET("avx2")
bool lineHasMatchAvx2(const quint32 *line, int width, const Spans &s)
{
    return lineHasMatchBody<R, G, B>(line, width, s);
}

template <int R, int G, int B>
BRISKLANE_TARGET("avx2")
void keyLineInPlaceAvx2(quint32 *line, int width, const Spans &s, quint32 fill)
{
    keyLineInPlaceBody<R, G, B>(line, width, s, fill);
}
#endif

template <int R, int G, int B> struct LineKernels
{
    bool (*hasMatch)(const quint32 *line, int width, const Spans &s);
    void (*inPlace)(quint32 *line, int width, const Spans &s, quint32 fill);
};

template <int R, int G, int B> LineKernels<R, G, B> lineKernels()
{
#if BRISKLANE_X86_DISPATCH
    if (cpuLevel() == Level::Avx2)
        return {lineHasMatchAvx2<R, G, B>, keyLineInPlaceAvx2<R, G, B>};
#endif
    return {lineHasMatch<R, G, B>, keyLineInPlace<R, G, B>};
}

// The first row with a pixel in range; the height when there is none.
template <int R, int G, int B> int firstMatchingRow(const QImage &image, const Spans &s)
{
    const auto hasMatch = lineKernels<R, G, B>().hasMatch;
    int y = 0;
    while (y < image.height() &&
           !hasMatch(reinterpret_cast<const quint32 *>(image.constScanLine(y)), image.width(), s))
        ++y;
    return y;
}

// ---- One pass: keyed pixels, OSD bytes and the image to show (x86)

// The key per byte of a 32-bit pixel in memory order: byte i lies inside when
// (byte - low_i) mod 256 <= span_i, which for bytes is the same test as low_i <= byte <= high_i.
// The alpha byte has low 0 and span 255, so it is always inside.
struct ByteKey
{
    quint32 low;
    quint32 span;
    quint32 fill;
    // Red is byte 0 (RGBA8888 formats) rather than byte 2 (QRgb words).
    bool redFirst;
    // The image to show is the keyed ARGB32 image premultiplied (else: RGBA8888 bytes as RGB32).
    bool premultiply;
};

// Where the pass writes; a null pointer is an output not asked for.
struct Outputs
{
    uchar *keyed;   // 4 bytes a pixel, the source's format
    uchar *bgr;     // 3 bytes a pixel, OSD pixel data
    uchar *display; // 4 bytes a pixel: Format_RGB32 from RGBA8888, ARGB32_Premultiplied from ARGB32
};

struct Run
{
    const uchar *source;
    Outputs out;
    qint64 count;
};

#if BRISKLANE_X86_DISPATCH
Q_ALWAYS_INLINE quint32 keyedWord(quint32 stored, const ByteKey &k)
{
    const quint32 offset[4] = {(stored - k.low) & 0xFF, ((stored >> 8) - (k.low >> 8)) & 0xFF,
                               ((stored >> 16) - (k.low >> 16)) & 0xFF,
                               ((stored >> 24) - (k.low >> 24)) & 0xFF};
    const bool inside = offset[0] <= (k.span & 0xFF) && offset[1] <= ((k.span >> 8) & 0xFF) &&
                        offset[2] <= ((k.span >> 16) & 0xFF) && offset[3] <= (k.span >> 24);
    return inside ? k.fill : stored;
}

// Pixels [from, to) one at a time (the ends of a run); the AND of the keyed pixels.
quint32 keyOneByOne(const Run &run, qint64 from, qint64 to, const ByteKey &k)
{
    quint32 all = ~0u;
    for (qint64 x = from; x < to; ++x) {
        quint32 stored;
        std::memcpy(&stored, run.source + 4 * x, 4);
        const quint32 keyed = keyedWord(stored, k);
        all &= keyed;
        if (run.out.keyed)
            std::memcpy(run.out.keyed + 4 * x, &keyed, 4);
        if (run.out.bgr) {
            uchar *p = run.out.bgr + 3 * x;
            p[0] = uchar(k.redFirst ? keyed >> 16 : keyed);
            p[1] = uchar(keyed >> 8);
            p[2] = uchar(k.redFirst ? keyed : keyed >> 16);
        }
        if (run.out.display) {
            const quint32 shown = k.premultiply ? qPremultiply(keyed)
                                                : 0xFF000000u | ((keyed & 0xFF) << 16) | (keyed & 0xFF00) |
                                                      ((keyed >> 16) & 0xFF);
            std::memcpy(run.out.display + 4 * x, &shown, 4);
        }
    }
    return all;
}

BRISKLANE_TARGET("ssse3") Q_ALWAYS_INLINE void put16(uchar *p, __m128i v)
{
    _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v);
}

// Two pixels' channels (16 bits each) times their alpha, rounded as qPremultiply rounds:
// (v + (v >> 8) + 0x80) >> 8 with v = channel * alpha.
BRISKLANE_TARGET("ssse3") Q_ALWAYS_INLINE __m128i premultipliedPair(__m128i channels)
{
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(channels, 0xFF), 0xFF);
    const __m128i v = _mm_mullo_epi16(channels, alpha);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), _mm_set1_epi16(0x80)), 8);
}

// Four ARGB32 pixels to ARGB32_Premultiplied, exactly as qPremultiply (alpha itself is kept).
BRISKLANE_TARGET("ssse3") Q_ALWAYS_INLINE __m128i premultiplied(__m128i pixels)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = premultipliedPair(_mm_unpacklo_epi8(pixels, zero));
    const __m128i high = premultipliedPair(_mm_unpackhi_epi8(pixels, zero));
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    return _mm_or_si128(_mm_andnot_si128(alphaMask, _mm_packus_epi16(low, high)),
                        _mm_and_si128(alphaMask, pixels));
}

// 16 pixels a step: four compares of 16 bytes decide, pixel by pixel, between stored and fill.
// All outputs go through the caches: streaming stores made the slider step slower where measured
// (the outputs take the memory that the previous step's results just gave back, still cached).
BRISKLANE_TARGET("ssse3") quint32 keyRunSsse3(const Run &run, const ByteKey &k)
{
    const __m128i low = _mm_set1_epi32(int(k.low));
    const __m128i span = _mm_set1_epi32(int(k.span));
    const __m128i fill = _mm_set1_epi32(int(k.fill));
    const __m128i ones = _mm_set1_epi32(-1);
    const __m128i pack = k.redFirst ? _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1)
                                    : _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m128i toRgb32 = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    __m128i allKeyed = ones;
    const Outputs &out = run.out;
    qint64 x = 0;
    for (; x + 16 <= run.count; x += 16) {
        __m128i p[4];
        for (int j = 0; j < 4; ++j) {
            const __m128i stored =
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(run.source + 4 * x + 16 * j));
            const __m128i bytesInside = _mm_cmpeq_epi8(_mm_max_epu8(_mm_sub_epi8(stored, low), span), span);
            const __m128i inside = _mm_cmpeq_epi32(bytesInside, ones);
            p[j] = _mm_or_si128(_mm_andnot_si128(inside, stored), _mm_and_si128(inside, fill));
            allKeyed = _mm_and_si128(allKeyed, p[j]);
        }
        if (out.keyed) {
            for (int j = 0; j < 4; ++j)
                put16(out.keyed + 4 * x + 16 * j, p[j]);
        }
        if (out.display && k.premultiply) {
            for (int j = 0; j < 4; ++j)
                put16(out.display + 4 * x + 16 * j, premultiplied(p[j]));
        } else if (out.display) {
            for (int j = 0; j < 4; ++j)
                put16(out.display + 4 * x + 16 * j, _mm_or_si128(_mm_shuffle_epi8(p[j], toRgb32), opaque));
        }
        if (out.bgr) {
            const __m128i a = _mm_shuffle_epi8(p[0], pack), b = _mm_shuffle_epi8(p[1], pack);
            const __m128i c = _mm_shuffle_epi8(p[2], pack), d = _mm_shuffle_epi8(p[3], pack);
            uchar *o = out.bgr + 3 * x;
            put16(o, _mm_or_si128(a, _mm_slli_si128(b, 12)));
            put16(o + 16, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
            put16(o + 32, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
        }
    }
    quint32 lanes[4];
    _mm_storeu_si128(reinterpret_cast<__m128i *>(lanes), allKeyed);
    return lanes[0] & lanes[1] & lanes[2] & lanes[3] & keyOneByOne(run, x, run.count, k);
}

// The same pass, 32 pixels a step.
BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE __m256i twice(__m128i lane)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(lane), lane, 1);
}

BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE void put32(uchar *p, __m256i v)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(p), v);
}

BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE __m256i premultipliedPair(__m256i channels)
{
    const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(channels, 0xFF), 0xFF);
    const __m256i v = _mm256_mullo_epi16(channels, alpha);
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_add_epi16(v, _mm256_srli_epi16(v, 8)), _mm256_set1_epi16(0x80)), 8);
}

BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE __m256i premultiplied(__m256i pixels)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i low = premultipliedPair(_mm256_unpacklo_epi8(pixels, zero));
    const __m256i high = premultipliedPair(_mm256_unpackhi_epi8(pixels, zero));
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    return _mm256_or_si256(_mm256_andnot_si256(alphaMask, _mm256_packus_epi16(low, high)),
                           _mm256_and_si256(alphaMask, pixels));
}

BRISKLANE_TARGET("avx2") quint32 keyRunAvx2(const Run &run, const ByteKey &k)
{
    const __m256i low = _mm256_set1_epi32(int(k.low));
    const __m256i span = _mm256_set1_epi32(int(k.span));
    const __m256i fill = _mm256_set1_epi32(int(k.fill));
    const __m256i ones = _mm256_set1_epi32(-1);
    const __m256i pack =
        twice(k.redFirst ? _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1)
                         : _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    const __m256i toRgb32 = twice(_mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15));
    const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
    __m256i allKeyed = ones;
    const Outputs &out = run.out;
    qint64 x = 0;
    for (; x + 32 <= run.count; x += 32) {
        __m256i p[4];
        for (int j = 0; j < 4; ++j) {
            const __m256i stored =
                _mm256_loadu_si256(reinterpret_cast<const __m256i *>(run.source + 4 * x + 32 * j));
            const __m256i bytesInside =
                _mm256_cmpeq_epi8(_mm256_max_epu8(_mm256_sub_epi8(stored, low), span), span);
            const __m256i inside = _mm256_cmpeq_epi32(bytesInside, ones);
            p[j] = _mm256_blendv_epi8(stored, fill, inside);
            allKeyed = _mm256_and_si256(allKeyed, p[j]);
        }
        if (out.keyed) {
            for (int j = 0; j < 4; ++j)
                put32(out.keyed + 4 * x + 32 * j, p[j]);
        }
        if (out.display && k.premultiply) {
            for (int j = 0; j < 4; ++j)
                put32(out.display + 4 * x + 32 * j, premultiplied(p[j]));
        } else if (out.display) {
            for (int j = 0; j < 4; ++j)
                put32(out.display + 4 * x + 32 * j,
                      _mm256_or_si256(_mm256_shuffle_epi8(p[j], toRgb32), opaque));
        }
        if (out.bgr) {
            // Each lane packs to 12 bytes, joined to 24; four such pieces make three full stores:
            // words a0..a5 b0 b1 | b2..b5 c0..c3 | c4 c5 d0..d5.
            const __m256i a = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(p[0], pack), join);
            const __m256i b = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(p[1], pack), join);
            const __m256i c = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(p[2], pack), join);
            const __m256i d = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(p[3], pack), join);
            uchar *o = out.bgr + 3 * x;
            put32(o, _mm256_blend_epi32(
                         a, _mm256_permutevar8x32_epi32(b, _mm256_setr_epi32(0, 0, 0, 0, 0, 0, 0, 1)), 0xC0));
            put32(o + 32,
                  _mm256_blend_epi32(
                      _mm256_permutevar8x32_epi32(b, _mm256_setr_epi32(2, 3, 4, 5, 0, 0, 0, 0)),
                      _mm256_permutevar8x32_epi32(c, _mm256_setr_epi32(0, 0, 0, 0, 0, 1, 2, 3)), 0xF0));
            put32(o + 64,
                  _mm256_blend_epi32(
                      _mm256_permutevar8x32_epi32(c, _mm256_setr_epi32(4, 5, 0, 0, 0, 0, 0, 0)),
                      _mm256_permutevar8x32_epi32(d, _mm256_setr_epi32(0, 0, 0, 1, 2, 3, 4, 5)), 0xFC));
        }
    }
    quint32 lanes[8];
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(lanes), allKeyed);
    quint32 all = ~0u;
    for (quint32 lane : lanes)
        all &= lane;
    // The rest, fewer than 32 pixels, with the narrower pass.
    const Outputs rest{out.keyed ? out.keyed + 4 * x : nullptr, out.bgr ? out.bgr + 3 * x : nullptr,
                       out.display ? out.display + 4 * x : nullptr};
    return all & keyRunSsse3({run.source + 4 * x, rest, run.count - x}, k);
}

using RunKernel = quint32 (*)(const Run &run, const ByteKey &k);

RunKernel runKernel()
{
    return cpuLevel() == Level::Avx2 ? keyRunAvx2 : keyRunSsse3;
}
#endif

// Keys every row of source with the pass; rows without padding between them make one run.
// Returns the AND of all keyed pixels.
quint32 keyRows(const QImage &source, const Outputs &out, const ByteKey &k)
{
#if BRISKLANE_X86_DISPATCH
    const int w = source.width();
    const int h = source.height();
    const qint64 pixels = qint64(w) * h;
    const RunKernel kernel = runKernel();
    if (source.bytesPerLine() == qint64(w) * 4)
        return kernel({source.constBits(), out, pixels}, k);
    quint32 all = ~0u;
    for (int y = 0; y < h; ++y) {
        const qint64 at = qint64(y) * w;
        const Outputs row{out.keyed ? out.keyed + 4 * at : nullptr, out.bgr ? out.bgr + 3 * at : nullptr,
                          out.display ? out.display + 4 * at : nullptr};
        all &= kernel({source.constScanLine(y), row, w}, k);
    }
    return all;
#else
    Q_UNUSED(source);
    Q_UNUSED(out);
    Q_UNUSED(k);
    return 0;
#endif
}

// ---- Images

// An image like source (size, format and everything QImage::copy keeps besides the pixels), with
// its pixels not yet written.
QImage blankLike(const QImage &source)
{
    QImage image(source.size(), source.format());
    if (image.isNull())
        return image;
    image.setColorTable(source.colorTable());
    image.setDotsPerMeterX(source.dotsPerMeterX());
    image.setDotsPerMeterY(source.dotsPerMeterY());
    image.setOffset(source.offset());
    image.setDevicePixelRatio(source.devicePixelRatio());
    image.setColorSpace(source.colorSpace());
    const QStringList keys = source.textKeys();
    for (const QString &key : keys)
        image.setText(key, source.text(key));
    return image;
}

void releaseImage(void *image)
{
    delete static_cast<QImage *>(image);
}

// image's own bytes read as Format_RGB32, without a copy: the result keeps a handle on them.
QImage sameBytesAsRgb32(const QImage &image)
{
    auto *holder = new QImage(image);
    return QImage(holder->constBits(), holder->width(), holder->height(), holder->bytesPerLine(),
                  QImage::Format_RGB32, releaseImage, holder);
}

bool hasAlphaChannelBytes(QImage::Format format)
{
    switch (format) {
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return true;
    default:
        return false;
    }
}

// Every alpha byte is 255 (formats with alpha in the top byte of a 32-bit pixel).
bool isOpaque(const QImage &image)
{
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        uchar all = 0xFF;
        for (int x = 0; x < w; ++x)
            all &= line[4 * x + 3];
        if (all != 0xFF)
            return false;
    }
    return true;
}

// What Keyed::display holds for image, given whether it is opaque: what QPixmap::fromImage would
// convert it to, without a copy where the bytes stay the same.
QImage displayFor(const QImage &image, bool opaque)
{
    if (image.isNull())
        return QImage();
    switch (image.format()) {
    case QImage::Format_ARGB32:
        if (!opaque)
            return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        Q_FALLTHROUGH();
    case QImage::Format_ARGB32_Premultiplied:
        // A wrapper could take another device pixel ratio only with a copy.
        return opaque && image.devicePixelRatio() == 1.0 ? sameBytesAsRgb32(image) : QImage();
    case QImage::Format_RGBX8888:
        return image.convertToFormat(QImage::Format_RGB32);
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return opaque ? image.convertToFormat(QImage::Format_RGB32) : QImage();
    default:
        return QImage();
    }
}

// keyed() for the formats without a one-pass road (and for nothing to key): apply() on a handle,
// then the OSD pixel data, then the image to show.
ColorKeyer::Keyed keyedStepByStep(const QImage &source, const QColor &begin, const QColor &end,
                                  const QColor &fill, bool withOsdData, ColorKeyer::Keyed &spare)
{
    ColorKeyer::Keyed result;
    result.image = source;
    ColorKeyer::apply(result.image, begin, end, fill);
    if (withOsdData) {
        result.osdData = std::move(spare.osdData);
        PublicBase::imageToOsdData(result.image, &result.completionWidth, &result.osdData);
    }
    const bool opaque = hasAlphaChannelBytes(result.image.format()) && isOpaque(result.image);
    result.display = displayFor(result.image, opaque);
    return result;
}

// The plain road of the one pass, an output at a time: the rows of source keyed into target.
template <int R, int G, int B>
void keyRowsInto(const QImage &source, QImage &target, const Spans &s, quint32 fill)
{
    for (int y = 0; y < source.height(); ++y) {
        keyLineInto<R, G, B>(reinterpret_cast<const quint32 *>(source.constScanLine(y)),
                             reinterpret_cast<quint32 *>(target.scanLine(y)), source.width(), s, fill);
    }
}

// The image to show from the keyed image: ARGB32 premultiplied, or RGBA8888 bytes as RGB32.
void showRowsInto(const QImage &keyed, QImage &display, bool premultiply)
{
    const int width = keyed.width();
    for (int y = 0; y < keyed.height(); ++y) {
        const auto *source = reinterpret_cast<const quint32 *>(keyed.constScanLine(y));
        auto *target = reinterpret_cast<quint32 *>(display.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const quint32 p = source[x];
            target[x] = premultiply ? qPremultiply(p)
                                    : 0xFF000000u | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
        }
    }
}

// The AND of all pixels of a 32-bit image.
quint32 andOfPixels(const QImage &image)
{
    const int width = image.width();
    quint32 all = ~0u;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            all &= line[x];
    }
    return all;
}

// What setPixelColor stores for the fill colour depends only on the format: take it from a
// one-pixel image, so every keyed pixel holds exactly those bytes.
void storedFill(QImage::Format format, const QColor &fill, uchar bytes[8])
{
    QImage probe(1, 1, format);
    probe.fill(0);
    probe.setPixelColor(0, 0, fill);
    std::memset(bytes, 0, 8);
    std::memcpy(bytes, probe.constScanLine(0), size_t(probe.depth() / 8));
}

// 32-bit formats whose QImage::pixel is a fixed rearrangement of the stored word.
template <int R, int G, int B> void keyWords(QImage &image, const Spans &s, quint32 fill, const ByteKey &key)
{
    const int width = image.width();
    const int height = image.height();
    // Rows without a match are only read: an image that matches nothing stays shared.
    const int first = firstMatchingRow<R, G, B>(image, s);
    if (first == height)
        return;

    if (!image.isDetached()) {
        // Shared pixels must not change; rather than copying them all and keying the copy, key
        // straight into new pixels in one pass.
        QImage keyed = blankLike(image);
        if (!keyed.isNull()) {
            if (cpuLevel() != Level::Portable) {
                keyRows(image, {keyed.bits(), nullptr, nullptr}, key);
            } else {
                for (int y = 0; y < height; ++y) {
                    keyLineInto<R, G, B>(reinterpret_cast<const quint32 *>(image.constScanLine(y)),
                                         reinterpret_cast<quint32 *>(keyed.scanLine(y)), width, s, fill);
                }
            }
            image = keyed;
            return;
        }
    }
    const auto inPlace = lineKernels<R, G, B>().inPlace;
    for (int y = first; y < height; ++y)
        inPlace(reinterpret_cast<quint32 *>(image.scanLine(y)), width, s, fill);
}

// Every other format: QImage::pixel reads, the stored fill is copied in.
void keyPixels(QImage &image, const Bounds &b, const uchar *fill, int bytesPerPixel)
{
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb p = image.pixel(x, y);
            const int red = qRed(p);
            const int green = qGreen(p);
            const int blue = qBlue(p);
            if (red >= b.redLow && red <= b.redHigh && green >= b.greenLow && green <= b.greenHigh &&
                blue >= b.blueLow && blue <= b.blueHigh)
                std::memcpy(image.scanLine(y) + x * bytesPerPixel, fill, size_t(bytesPerPixel));
        }
    }
}

// The 32-bit formats with a fixed byte layout: their bytes in memory are B, G, R, A (QRgb words)
// or R, G, B, A (RGBA8888 formats).
enum class Layout
{
    Other,
    Words,
    RedFirst
};

Layout layoutOf(QImage::Format format)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return Layout::Words;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return Layout::RedFirst;
    default:
        return Layout::Other;
    }
#else
    Q_UNUSED(format);
    return Layout::Other;
#endif
}

ByteKey byteKeyFor(Layout layout, const Bounds &b, quint32 fill)
{
    const quint32 redShift = layout == Layout::RedFirst ? 0 : 16;
    const quint32 blueShift = layout == Layout::RedFirst ? 16 : 0;
    const quint32 low =
        (quint32(b.redLow) << redShift) | (quint32(b.greenLow) << 8) | (quint32(b.blueLow) << blueShift);
    const quint32 span = (quint32(b.redHigh - b.redLow) << redShift) |
                         (quint32(b.greenHigh - b.greenLow) << 8) |
                         (quint32(b.blueHigh - b.blueLow) << blueShift) | 0xFF000000u;
    return {low, span, fill, layout == Layout::RedFirst, false};
}

Bounds boundsOf(const QColor &begin, const QColor &end)
{
    return {begin.red(), end.red(), begin.green(), end.green(), begin.blue(), end.blue()};
}

Spans spansOf(const Bounds &b)
{
    return {quint32(b.redLow),   quint32(b.redHigh - b.redLow),
            quint32(b.greenLow), quint32(b.greenHigh - b.greenLow),
            quint32(b.blueLow),  quint32(b.blueHigh - b.blueLow)};
}

// image may take new pixels in place: it has that size and format, and no other handle (nor a
// pixmap) shares its pixels.
bool canRewrite(const QImage &image, const QSize &size, QImage::Format format)
{
    return !image.isNull() && image.size() == size && image.format() == format && image.isDetached();
}

// Everything blankLike() takes over from source is already the same in image.
bool sameDescription(const QImage &image, const QImage &source)
{
    return image.dotsPerMeterX() == source.dotsPerMeterX() &&
           image.dotsPerMeterY() == source.dotsPerMeterY() && image.offset() == source.offset() &&
           image.devicePixelRatio() == source.devicePixelRatio() &&
           image.colorSpace() == source.colorSpace() && image.textKeys() == source.textKeys() &&
           image.text() == source.text() && image.colorTable() == source.colorTable();
}

} // namespace

bool ColorKeyer::isEmptyRange(const QColor &begin, const QColor &end)
{
    return begin.red() > end.red() || begin.green() > end.green() || begin.blue() > end.blue();
}

bool ColorKeyer::canKey(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Invalid:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
    case QImage::NImageFormats:
        return false;
    default:
        return true;
    }
}

void ColorKeyer::apply(QImage &image, const QColor &begin, const QColor &end, const QColor &fill)
{
    // setPixelColor ignores an invalid colour, so nothing would change.
    if (image.isNull() || !canKey(image.format()) || !fill.isValid() || isEmptyRange(begin, end))
        return;

    uchar fillBytes[8];
    storedFill(image.format(), fill, fillBytes);
    quint32 fillWord = 0;
    std::memcpy(&fillWord, fillBytes, sizeof(fillWord));
    const Bounds bounds = boundsOf(begin, end);
    const Spans spans = spansOf(bounds);

    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        // 0xAARRGGBB in a native word.
        keyWords<16, 8, 0>(image, spans, fillWord, byteKeyFor(Layout::Words, bounds, fillWord));
        return;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        // Bytes R, G, B, A in memory.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        keyWords<0, 8, 16>(image, spans, fillWord, byteKeyFor(Layout::RedFirst, bounds, fillWord));
#else
        keyWords<24, 16, 8>(image, spans, fillWord, ByteKey{});
#endif
        return;
    default:
        keyPixels(image, bounds, fillBytes, image.depth() / 8);
        return;
    }
}

ColorKeyer::Keyed ColorKeyer::keyed(const QImage &source, const QColor &begin, const QColor &end,
                                    const QColor &fill, bool withOsdData)
{
    return keyed(source, begin, end, fill, withOsdData, Keyed());
}

ColorKeyer::Keyed ColorKeyer::keyed(const QImage &source, const QColor &begin, const QColor &end,
                                    const QColor &fill, bool withOsdData, Keyed &&spare)
{
    // An image to show that reads the keyed image's own bytes holds them; it has none to give.
    if (spare.display.constBits() == spare.image.constBits())
        spare.display = QImage();
    const Layout layout = layoutOf(source.format());
    if (layout == Layout::Other || source.isNull() || !fill.isValid() || isEmptyRange(begin, end))
        return keyedStepByStep(source, begin, end, fill, withOsdData, spare);

    uchar fillBytes[8];
    storedFill(source.format(), fill, fillBytes);
    quint32 fillWord = 0;
    std::memcpy(&fillWord, fillBytes, sizeof(fillWord));
    const Bounds bounds = boundsOf(begin, end);
    const Spans spans = spansOf(bounds);
    ByteKey key = byteKeyFor(layout, bounds, fillWord);
    const int first = layout == Layout::Words ? firstMatchingRow<16, 8, 0>(source, spans)
                                              : firstMatchingRow<0, 8, 16>(source, spans);

    Keyed result;
    Outputs out{nullptr, nullptr, nullptr};
    // Nothing in range: the keyed image is the source itself.
    if (first == source.height())
        result.image = source;
    else if (canRewrite(spare.image, source.size(), source.format()) && sameDescription(spare.image, source))
        result.image = std::move(spare.image);
    else
        result.image = blankLike(source);
    if (result.image.isNull())
        return keyedStepByStep(source, begin, end, fill, withOsdData, spare);
    if (first < source.height())
        out.keyed = result.image.bits();
    if (withOsdData) {
        const int size = int(qint64(source.width()) * source.height() * 3);
        if (spare.osdData.size() == size && spare.osdData.isDetached())
            result.osdData = std::move(spare.osdData);
        else
            result.osdData = QByteArray(size, Qt::Uninitialized);
        result.completionWidth = source.width();
        out.bgr = reinterpret_cast<uchar *>(result.osdData.data());
    }
    // The image to show, where it needs pixels of its own: RGB32 bytes for the RGBA8888 formats
    // (their opaque pictures come from imports), premultiplied pixels for translucent ARGB32.
    // Opaque ARGB32 and ARGB32_Premultiplied pictures are shown through their own bytes.
    QImage::Format displayFormat = QImage::Format_Invalid;
    if (layout == Layout::RedFirst) {
        displayFormat = QImage::Format_RGB32;
    } else if (source.format() == QImage::Format_ARGB32 && !(qAlpha(fillWord) == 255 && isOpaque(source))) {
        displayFormat = QImage::Format_ARGB32_Premultiplied;
        key.premultiply = true;
    }
    QImage display;
    if (displayFormat != QImage::Format_Invalid) {
        if (canRewrite(spare.display, source.size(), displayFormat))
            display = std::move(spare.display);
        else
            display = QImage(source.size(), displayFormat);
        display.setDevicePixelRatio(source.devicePixelRatio());
        if (!display.isNull())
            out.display = display.bits();
    }
    quint32 all = ~0u;
    if (cpuLevel() != Level::Portable) {
        all = keyRows(source, out, key);
    } else {
        if (out.keyed && layout == Layout::Words)
            keyRowsInto<16, 8, 0>(source, result.image, spans, fillWord);
        else if (out.keyed)
            keyRowsInto<0, 8, 16>(source, result.image, spans, fillWord);
        if (withOsdData)
            PublicBase::imageToOsdData(result.image, &result.completionWidth, &result.osdData);
        if (out.display)
            showRowsInto(result.image, display, key.premultiply);
        // Only the formats with alpha ask whether the result is opaque.
        if (hasAlphaChannelBytes(source.format()))
            all = andOfPixels(result.image);
    }

    const bool opaque = (all >> 24) == 0xFF;
    if (key.premultiply) {
        result.display = display;
    } else if (layout == Layout::RedFirst) {
        // RGBX8888 ignores its fourth byte: always opaque.
        if (opaque || source.format() == QImage::Format_RGBX8888)
            result.display = display;
    } else {
        result.display = displayFor(result.image, opaque);
    }
    return result;
}
