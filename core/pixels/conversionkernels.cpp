#include "core/pixels/conversionkernels.h"

#include "core/pixels/cpufeatures.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstring>

// The row loops below are plain C++ written so that the compiler can vectorise them. On x86 with
// GCC or Clang, hand-written SSSE3 and AVX2 versions (byte shuffles, and streaming stores for large
// outputs) are chosen at run time; each gives exactly the bytes of the plain loops.
#if BRISKLANE_X86_DISPATCH
#include <immintrin.h>
#endif

namespace ConversionKernels {

// Outputs this large are written past the caches (streaming stores): nothing reads them again
// soon, and through the caches each written line would first be read from memory.
bool streamingFor(qint64 outputBytes)
{
    constexpr qint64 StreamingBytes = qint64(16) << 20;
    switch (CpuFeatures::streaming()) {
    case CpuFeatures::Streaming::Always:
        return true;
    case CpuFeatures::Streaming::Never:
        return false;
    case CpuFeatures::Streaming::Auto:
        break;
    }
    return outputBytes >= StreamingBytes;
}

void bgrBytesCopy(const uchar *src, uchar *dst, qint64 n)
{
    std::memcpy(dst, src, size_t(n) * 3);
}

namespace {
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

} // namespace

// ---- Choice of kernels

PackKernels packKernels([[maybe_unused]] bool stream)
{
    switch (CpuFeatures::level()) {
#if BRISKLANE_X86_DISPATCH
    case CpuFeatures::Level::Avx2:
        if (stream)
            return {packAvx2<false, true>, packAvx2<true, true>, rgbBytesToBgrSsse3};
        return {packAvx2<false, false>, packAvx2<true, false>, rgbBytesToBgrSsse3};
    case CpuFeatures::Level::Ssse3:
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
    switch (CpuFeatures::level()) {
#if BRISKLANE_X86_DISPATCH
    case CpuFeatures::Level::Avx2:
        return stream ? unpackAvx2<true> : unpackAvx2<false>;
    case CpuFeatures::Level::Ssse3:
        return stream ? unpackSsse3<true> : unpackSsse3<false>;
#endif
    default:
        return nullptr;
    }
}

} // namespace ConversionKernels
