#include "core/pixels/colorkeykernels.h"

#include "core/pixels/conversionkernels.h"
#include "core/pixels/cpufeatures.h"

#include <cstdint>
#include <cstring>

// The loops below are plain C++ written so that the compiler can vectorise them. On x86 with GCC or
// Clang they are also built for AVX2, and one pass that keys, converts to OSD bytes and makes the
// image to show is written with SSSE3 and with AVX2 instructions; the one that runs is chosen at run
// time, and each gives exactly the bytes of the plain loops.
#if BRISKLANE_X86_DISPATCH
#include <immintrin.h>
#endif

namespace ColorKeyKernels {

namespace {

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

} // namespace

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

template <int R, int G, int B> LineKernels<R, G, B> lineKernels()
{
#if BRISKLANE_X86_DISPATCH
    if (CpuFeatures::level() == CpuFeatures::Level::Avx2)
        return {lineHasMatchAvx2<R, G, B>, keyLineInPlaceAvx2<R, G, B>};
#endif
    return {lineHasMatch<R, G, B>, keyLineInPlace<R, G, B>};
}

template LineKernels<16, 8, 0> lineKernels<16, 8, 0>();
template LineKernels<0, 8, 16> lineKernels<0, 8, 16>();
template LineKernels<24, 16, 8> lineKernels<24, 16, 8>();
template void keyLineInto<16, 8, 0>(const quint32 *, quint32 *, int, const Spans &, quint32);
template void keyLineInto<0, 8, 16>(const quint32 *, quint32 *, int, const Spans &, quint32);
template void keyLineInto<24, 16, 8>(const quint32 *, quint32 *, int, const Spans &, quint32);

// ---- One pass: keyed pixels, OSD bytes and the image to show (x86)

namespace {

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

// How far ahead of the vector steps (in bytes of each stream) the lines they will read and write
// are asked for, in passes that write two outputs or more (the keyed pixels and the record's OSD
// bytes of a slider step). One core keeps only so many misses in flight from the hardware
// prefetchers alone: with three streams at once (source, keyed pixels, OSD bytes) asking for every
// stream's lines ahead took about a fifth off the four-byte pass on 3840x2160 where measured,
// while with one output it cost 5 to 20%, so a pass with one output leaves it to the hardware.
// A prefetch never faults, so reaching past the end of a buffer is harmless.
constexpr qint64 kAhead = 2048;

Q_ALWAYS_INLINE void prefetch(const uchar *p)
{
    _mm_prefetch(reinterpret_cast<const char *>(p), _MM_HINT_T0);
}

int outputCount(const Outputs &out)
{
    return (out.keyed ? 1 : 0) + (out.bgr ? 1 : 0) + (out.display ? 1 : 0);
}

// The lines of a stream that moves bytes bytes a step (at most 128), kAhead bytes on.
Q_ALWAYS_INLINE void prefetchAhead(const uchar *p, int bytes)
{
    prefetch(p + kAhead);
    if (bytes > 64)
        prefetch(p + kAhead + 64);
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
    const bool ahead = outputCount(out) > 1;
    qint64 x = 0;
    for (; x + 16 <= run.count; x += 16) {
        if (ahead) {
            prefetchAhead(run.source + 4 * x, 64);
            if (out.keyed)
                prefetchAhead(out.keyed + 4 * x, 64);
            if (out.display)
                prefetchAhead(out.display + 4 * x, 64);
            if (out.bgr)
                prefetchAhead(out.bgr + 3 * x, 48);
        }
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

// Channels (16 bits each) times the alpha words beside them, rounded as qPremultiply rounds.
BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE __m256i premultipliedPair(__m256i channels, __m256i alpha)
{
    const __m256i v = _mm256_mullo_epi16(channels, alpha);
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_add_epi16(v, _mm256_srli_epi16(v, 8)), _mm256_set1_epi16(0x80)), 8);
}

// The alpha words come straight from the pixels' bytes (one shuffle for each half), and the alpha
// bytes go back with one blend: fewer steps than spreading them from the widened channels, which
// counts in the translucent slider step, where the pass is bound by its instructions.
BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE __m256i premultiplied(__m256i pixels)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lowAlpha =
        _mm256_shuffle_epi8(pixels, _mm256_setr_epi8(3, -1, 3, -1, 3, -1, 3, -1, 7, -1, 7, -1, 7, -1, 7, -1,
                                                     3, -1, 3, -1, 3, -1, 3, -1, 7, -1, 7, -1, 7, -1, 7, -1));
    const __m256i highAlpha = _mm256_shuffle_epi8(
        pixels, _mm256_setr_epi8(11, -1, 11, -1, 11, -1, 11, -1, 15, -1, 15, -1, 15, -1, 15, -1, 11, -1, 11,
                                 -1, 11, -1, 11, -1, 15, -1, 15, -1, 15, -1, 15, -1));
    const __m256i low = premultipliedPair(_mm256_unpacklo_epi8(pixels, zero), lowAlpha);
    const __m256i high = premultipliedPair(_mm256_unpackhi_epi8(pixels, zero), highAlpha);
    return _mm256_blendv_epi8(_mm256_packus_epi16(low, high), pixels, _mm256_set1_epi32(int(0xFF000000u)));
}

// 32 pixels of four bytes (lane 0 of p[j] holds pixels 8j to 8j + 3, lane 1 the next four) packed
// to three bytes each by pack (per lane), in 96 bytes at o.
BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE void putPacked(uchar *o, const __m256i p[4], __m256i pack)
{
    // Each lane packs to 12 bytes, joined to 24; four such pieces make three full stores:
    // words a0..a5 b0 b1 | b2..b5 c0..c3 | c4 c5 d0..d5.
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    const __m256i a = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(p[0], pack), join);
    const __m256i b = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(p[1], pack), join);
    const __m256i c = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(p[2], pack), join);
    const __m256i d = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(p[3], pack), join);
    put32(o, _mm256_blend_epi32(a, _mm256_permutevar8x32_epi32(b, _mm256_setr_epi32(0, 0, 0, 0, 0, 0, 0, 1)),
                                0xC0));
    put32(o + 32, _mm256_blend_epi32(
                      _mm256_permutevar8x32_epi32(b, _mm256_setr_epi32(2, 3, 4, 5, 0, 0, 0, 0)),
                      _mm256_permutevar8x32_epi32(c, _mm256_setr_epi32(0, 0, 0, 0, 0, 1, 2, 3)), 0xF0));
    put32(o + 64, _mm256_blend_epi32(
                      _mm256_permutevar8x32_epi32(c, _mm256_setr_epi32(4, 5, 0, 0, 0, 0, 0, 0)),
                      _mm256_permutevar8x32_epi32(d, _mm256_setr_epi32(0, 0, 0, 1, 2, 3, 4, 5)), 0xFC));
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
    const __m256i toRgb32 = twice(_mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15));
    const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
    __m256i allKeyed = ones;
    const Outputs &out = run.out;
    const bool ahead = outputCount(out) > 1;
    qint64 x = 0;
    for (; x + 32 <= run.count; x += 32) {
        if (ahead) {
            prefetchAhead(run.source + 4 * x, 128);
            if (out.keyed)
                prefetchAhead(out.keyed + 4 * x, 128);
            if (out.display)
                prefetchAhead(out.display + 4 * x, 128);
            if (out.bgr)
                prefetchAhead(out.bgr + 3 * x, 96);
        }
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
        if (out.bgr)
            putPacked(out.bgr + 3 * x, p, pack);
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
    return CpuFeatures::level() == CpuFeatures::Level::Avx2 ? keyRunAvx2 : keyRunSsse3;
}
#endif

} // namespace

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

// ---- Three bytes a pixel

namespace {

Q_ALWAYS_INLINE bool packedInside(const uchar *p, const ByteKey &k)
{
    return uchar(p[0] - k.low) <= uchar(k.span) && uchar(p[1] - (k.low >> 8)) <= uchar(k.span >> 8) &&
           uchar(p[2] - (k.low >> 16)) <= uchar(k.span >> 16);
}

// Pixels [from, to) one at a time: the plain road, and the ends of the vector steps.
bool keyPackedOneByOne(const PackedRun &run, qint64 from, qint64 to, const ByteKey &k)
{
    const uchar fill[3] = {uchar(k.fill), uchar(k.fill >> 8), uchar(k.fill >> 16)};
    const bool inPlace = run.keyed == run.source;
    bool any = false;
    for (qint64 x = from; x < to; ++x) {
        const uchar *s = run.source + 3 * x;
        const bool inside = packedInside(s, k);
        any |= inside;
        uchar px[3];
        std::memcpy(px, inside ? fill : s, 3);
        if (run.keyed && (inside || !inPlace))
            std::memcpy(run.keyed + 3 * x, px, 3);
        if (run.bgr) {
            uchar *o = run.bgr + 3 * x;
            o[0] = px[k.redFirst ? 2 : 0];
            o[1] = px[1];
            o[2] = px[k.redFirst ? 0 : 2];
        }
    }
    return any;
}

#if BRISKLANE_X86_DISPATCH
// 16 pixels of four bytes packed to three bytes each by pack, in 48 bytes at o.
BRISKLANE_TARGET("ssse3") Q_ALWAYS_INLINE void putPacked(uchar *o, const __m128i p[4], __m128i pack)
{
    const __m128i a = _mm_shuffle_epi8(p[0], pack), b = _mm_shuffle_epi8(p[1], pack);
    const __m128i c = _mm_shuffle_epi8(p[2], pack), d = _mm_shuffle_epi8(p[3], pack);
    put16(o, _mm_or_si128(a, _mm_slli_si128(b, 12)));
    put16(o + 16, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
    put16(o + 32, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
}

// 16 pixels a step: the 48 bytes spread to four bytes a pixel, keyed as 32-bit pixels are, and
// packed again.
BRISKLANE_TARGET("ssse3") bool keyPackedSsse3(const PackedRun &run, const ByteKey &k)
{
    const __m128i low = _mm_set1_epi32(int(k.low));
    const __m128i span = _mm_set1_epi32(int(k.span | 0xFF000000u));
    const __m128i fill = _mm_set1_epi32(int(k.fill));
    const __m128i ones = _mm_set1_epi32(-1);
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i same = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m128i swapped = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    const bool inPlace = run.keyed == run.source;
    // Both outputs, keyed pixels and OSD bytes (three-byte pictures with a record).
    const bool ahead = run.keyed && run.bgr && !inPlace;
    __m128i anyInside = _mm_setzero_si128();
    qint64 x = 0;
    for (; x + 16 <= run.count; x += 16) {
        const uchar *s = run.source + 3 * x;
        if (ahead) {
            prefetchAhead(s, 48);
            prefetchAhead(run.keyed + 3 * x, 48);
            prefetchAhead(run.bgr + 3 * x, 48);
        }
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 32));
        const __m128i stored[4] = {_mm_shuffle_epi8(a, spread),
                                   _mm_shuffle_epi8(_mm_alignr_epi8(b, a, 12), spread),
                                   _mm_shuffle_epi8(_mm_alignr_epi8(c, b, 8), spread),
                                   _mm_shuffle_epi8(_mm_srli_si128(c, 4), spread)};
        __m128i inside[4];
        __m128i blockInside = _mm_setzero_si128();
        for (int j = 0; j < 4; ++j) {
            const __m128i bytesInside =
                _mm_cmpeq_epi8(_mm_max_epu8(_mm_sub_epi8(stored[j], low), span), span);
            inside[j] = _mm_cmpeq_epi32(bytesInside, ones);
            blockInside = _mm_or_si128(blockInside, inside[j]);
        }
        anyInside = _mm_or_si128(anyInside, blockInside);
        const bool write = run.bgr || (run.keyed && (!inPlace || _mm_movemask_epi8(blockInside) != 0));
        if (!write)
            continue;
        __m128i p[4];
        for (int j = 0; j < 4; ++j)
            p[j] = _mm_or_si128(_mm_andnot_si128(inside[j], stored[j]), _mm_and_si128(inside[j], fill));
        if (run.keyed)
            putPacked(run.keyed + 3 * x, p, same);
        if (run.bgr)
            putPacked(run.bgr + 3 * x, p, k.redFirst ? swapped : same);
    }
    const bool any = _mm_movemask_epi8(anyInside) != 0;
    return keyPackedOneByOne(run, x, run.count, k) || any;
}

// 32 pixels a step; each vector takes 8 pixels, 4 from each of two overlapping 16-byte loads.
BRISKLANE_TARGET("avx2") bool keyPackedAvx2(const PackedRun &run, const ByteKey &k)
{
    const __m256i low = _mm256_set1_epi32(int(k.low));
    const __m256i span = _mm256_set1_epi32(int(k.span | 0xFF000000u));
    const __m256i fill = _mm256_set1_epi32(int(k.fill));
    const __m256i ones = _mm256_set1_epi32(-1);
    // Lane 0 takes bytes 0 to 11 of its load, lane 1 bytes 4 to 15 of a load 8 bytes further on, so
    // no load reaches past the 96 bytes of a step.
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 4, 5, 6, -1,
                                            7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    const __m256i same = twice(_mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
    const __m256i swapped = twice(_mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1));
    const bool inPlace = run.keyed == run.source;
    const bool ahead = run.keyed && run.bgr && !inPlace;
    __m256i anyInside = _mm256_setzero_si256();
    qint64 x = 0;
    for (; x + 32 <= run.count; x += 32) {
        const uchar *s = run.source + 3 * x;
        if (ahead) {
            prefetchAhead(s, 96);
            prefetchAhead(run.keyed + 3 * x, 96);
            prefetchAhead(run.bgr + 3 * x, 96);
        }
        __m256i stored[4];
        __m256i inside[4];
        __m256i blockInside = _mm256_setzero_si256();
        for (int j = 0; j < 4; ++j) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 24 * j));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 24 * j + 8));
            stored[j] = _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1),
                                            spread);
            const __m256i bytesInside =
                _mm256_cmpeq_epi8(_mm256_max_epu8(_mm256_sub_epi8(stored[j], low), span), span);
            inside[j] = _mm256_cmpeq_epi32(bytesInside, ones);
            blockInside = _mm256_or_si256(blockInside, inside[j]);
        }
        anyInside = _mm256_or_si256(anyInside, blockInside);
        const bool write = run.bgr || (run.keyed && (!inPlace || _mm256_movemask_epi8(blockInside) != 0));
        if (!write)
            continue;
        __m256i p[4];
        for (int j = 0; j < 4; ++j)
            p[j] = _mm256_blendv_epi8(stored[j], fill, inside[j]);
        if (run.keyed)
            putPacked(run.keyed + 3 * x, p, same);
        if (run.bgr)
            putPacked(run.bgr + 3 * x, p, k.redFirst ? swapped : same);
    }
    const bool any = _mm256_movemask_epi8(anyInside) != 0;
    // The rest, fewer than 32 pixels, with the narrower step.
    const PackedRun rest{run.source + 3 * x, run.keyed ? run.keyed + 3 * x : nullptr,
                         run.bgr ? run.bgr + 3 * x : nullptr, run.count - x};
    return keyPackedSsse3(rest, k) || any;
}
#endif

} // namespace

bool keyPackedRun(const PackedRun &run, const ByteKey &k)
{
#if BRISKLANE_X86_DISPATCH
    switch (CpuFeatures::level()) {
    case CpuFeatures::Level::Avx2:
        return keyPackedAvx2(run, k);
    case CpuFeatures::Level::Ssse3:
        return keyPackedSsse3(run, k);
    case CpuFeatures::Level::Portable:
        break;
    }
#endif
    return keyPackedOneByOne(run, 0, run.count, k);
}

// ---- The text image's binarisation

namespace {

Q_ALWAYS_INLINE void binarizeOneByOne(const quint32 *source, quint32 *target, qint64 from, qint64 to,
                                      quint32 reference, quint32 text)
{
    for (qint64 x = from; x < to; ++x)
        target[x] = (source[x] | 0xFF000000u) != reference ? text : reference;
}

#if BRISKLANE_X86_DISPATCH
bool aligned16(const void *p)
{
    return (reinterpret_cast<std::uintptr_t>(p) & 15) == 0;
}

// Stream: past the caches, to a 16-byte aligned address (what an image's memory has).
template <bool Stream> BRISKLANE_TARGET("ssse3") Q_ALWAYS_INLINE void put16To(uchar *p, __m128i v)
{
    if (Stream)
        _mm_stream_si128(reinterpret_cast<__m128i *>(p), v);
    else
        _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v);
}

template <bool Stream> BRISKLANE_TARGET("avx2") Q_ALWAYS_INLINE void put32To(uchar *p, __m256i v)
{
    if (Stream) {
        _mm_stream_si128(reinterpret_cast<__m128i *>(p), _mm256_castsi256_si128(v));
        _mm_stream_si128(reinterpret_cast<__m128i *>(p + 16), _mm256_extracti128_si256(v, 1));
    } else {
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(p), v);
    }
}

template <bool Stream>
BRISKLANE_TARGET("ssse3")
void binarizeSsse3(const quint32 *source, quint32 *target, qint64 n, quint32 reference, quint32 text)
{
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    const __m128i ref = _mm_set1_epi32(int(reference));
    const __m128i txt = _mm_set1_epi32(int(text));
    qint64 x = 0;
    for (; x + 4 <= n; x += 4) {
        const __m128i p = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(source + x)), alpha);
        const __m128i same = _mm_cmpeq_epi32(p, ref);
        put16To<Stream>(reinterpret_cast<uchar *>(target + x),
                        _mm_or_si128(_mm_and_si128(same, ref), _mm_andnot_si128(same, txt)));
    }
    if (Stream)
        _mm_sfence();
    binarizeOneByOne(source, target, x, n, reference, text);
}

template <bool Stream>
BRISKLANE_TARGET("avx2")
void binarizeAvx2(const quint32 *source, quint32 *target, qint64 n, quint32 reference, quint32 text)
{
    const __m256i alpha = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i ref = _mm256_set1_epi32(int(reference));
    const __m256i txt = _mm256_set1_epi32(int(text));
    qint64 x = 0;
    for (; x + 16 <= n; x += 16) {
        for (int j = 0; j < 2; ++j) {
            const __m256i p = _mm256_or_si256(
                _mm256_loadu_si256(reinterpret_cast<const __m256i *>(source + x + 8 * j)), alpha);
            put32To<Stream>(reinterpret_cast<uchar *>(target + x + 8 * j),
                            _mm256_blendv_epi8(txt, ref, _mm256_cmpeq_epi32(p, ref)));
        }
    }
    // The rest, fewer than 16 pixels, four at a time and then one by one.
    binarizeSsse3<Stream>(source + x, target + x, n - x, reference, text);
}
#endif

} // namespace

void binarizeRun(const quint32 *source, quint32 *target, qint64 n, quint32 reference, quint32 text)
{
#if BRISKLANE_X86_DISPATCH
    const bool stream = ConversionKernels::streamingFor(n * 4) && aligned16(target);
    switch (CpuFeatures::level()) {
    case CpuFeatures::Level::Avx2:
        return stream ? binarizeAvx2<true>(source, target, n, reference, text)
                      : binarizeAvx2<false>(source, target, n, reference, text);
    case CpuFeatures::Level::Ssse3:
        return stream ? binarizeSsse3<true>(source, target, n, reference, text)
                      : binarizeSsse3<false>(source, target, n, reference, text);
    case CpuFeatures::Level::Portable:
        break;
    }
#endif
    binarizeOneByOne(source, target, 0, n, reference, text);
}

} // namespace ColorKeyKernels
