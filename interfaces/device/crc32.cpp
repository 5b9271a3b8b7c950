#include "interfaces/device/crc32.h"

#include "core/pixels/cpufeatures.h"

#include <QtEndian>

// On x86 with GCC or Clang the folding road is compiled for PCLMULQDQ and chosen at run time.
#if BRISKLANE_X86_DISPATCH
#include <immintrin.h>
#endif

namespace {

// ---- Tables, sixteen bytes a step (slicing-by-16)

struct CrcTables
{
    quint32 t[16][256];
};

constexpr CrcTables makeCrcTables()
{
    CrcTables c{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 r = i;
        for (int k = 0; k < 8; ++k)
            r = (r >> 1) ^ (0xEDB88320u & (0u - (r & 1u)));
        c.t[0][i] = r;
    }
    for (int i = 0; i < 256; ++i) {
        for (int s = 1; s < 16; ++s)
            c.t[s][i] = (c.t[s - 1][i] >> 8) ^ c.t[0][c.t[s - 1][i] & 0xFF];
    }
    return c;
}

constexpr CrcTables kCrc = makeCrcTables();

// The table of slice s gives the effect of byte b on a register that still has s bytes to pass.
inline quint32 crcWord(quint32 word, int slice)
{
    return kCrc.t[slice + 3][word & 0xFF] ^ kCrc.t[slice + 2][(word >> 8) & 0xFF] ^
           kCrc.t[slice + 1][(word >> 16) & 0xFF] ^ kCrc.t[slice][word >> 24];
}

// The register (the CRC before its final XOR) after size more bytes.
quint32 withTables(const uchar *p, qint64 size, quint32 reg)
{
    while (size >= 16) {
        reg = crcWord(qFromLittleEndian<quint32>(p) ^ reg, 12) ^
              crcWord(qFromLittleEndian<quint32>(p + 4), 8) ^ crcWord(qFromLittleEndian<quint32>(p + 8), 4) ^
              crcWord(qFromLittleEndian<quint32>(p + 12), 0);
        p += 16;
        size -= 16;
    }
    while (size-- > 0)
        reg = (reg >> 8) ^ kCrc.t[0][(reg ^ *p++) & 0xFF];
    return reg;
}

#if BRISKLANE_X86_DISPATCH
// ---- Folding with carry-less multiplication
//
// After V. Gopal, E. Ozturk et al., "Fast CRC Computation for Generic Polynomials Using PCLMULQDQ
// Instruction" (Intel, 2009): four 128-bit lanes are folded forward 64 bytes a step, then into one
// lane, then reduced to 32 bits (Barrett). The constants are powers of x modulo the polynomial,
// bit-reflected as the CRC is: k1 = x^(4*128+32), k2 = x^(4*128-32), k3 = x^(128+32),
// k4 = x^(128-32), k5 = x^64, and the polynomial with its Barrett constant.

#define BRISKLANE_CLMUL BRISKLANE_TARGET("pclmul,sse2")

BRISKLANE_CLMUL inline __m128i load(const uchar *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

// a folded forward over k (high half times k's high constant, low half times k's low one), plus b.
BRISKLANE_CLMUL inline __m128i fold(__m128i a, __m128i k, __m128i b)
{
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(a, k, 0x00), _mm_clmulepi64_si128(a, k, 0x11)),
                         b);
}

// size is at least 64 and a multiple of 16.
BRISKLANE_CLMUL quint32 folded(const uchar *p, qint64 size, quint32 reg)
{
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i polynomial = _mm_set_epi64x(0x01f7011641, 0x01db710641);
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);

    __m128i x1 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(int(reg)));
    __m128i x2 = load(p + 16);
    __m128i x3 = load(p + 32);
    __m128i x4 = load(p + 48);
    p += 64;
    size -= 64;
    for (; size >= 64; p += 64, size -= 64) {
        x1 = fold(x1, k1k2, load(p));
        x2 = fold(x2, k1k2, load(p + 16));
        x3 = fold(x3, k1k2, load(p + 32));
        x4 = fold(x4, k1k2, load(p + 48));
    }

    // Four lanes into one, then the remaining 16-byte blocks.
    x1 = fold(x1, k3k4, x2);
    x1 = fold(x1, k3k4, x3);
    x1 = fold(x1, k3k4, x4);
    for (; size >= 16; p += 16, size -= 16)
        x1 = fold(x1, k3k4, load(p));

    // 128 bits to 64.
    x2 = _mm_clmulepi64_si128(x1, k3k4, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00), x2);

    // Barrett reduction to 32 bits.
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), polynomial, 0x10);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x2, low32), polynomial, 0x00);
    x1 = _mm_xor_si128(x1, x2);
    return quint32(_mm_cvtsi128_si32(_mm_srli_si128(x1, 4)));
}
#endif

} // namespace

quint32 Crc32::compute(const char *data, qint64 size, quint32 crc)
{
    const auto *p = reinterpret_cast<const uchar *>(data);
    quint32 reg = ~crc;
#if BRISKLANE_X86_DISPATCH
    if (size >= 64 && CpuFeatures::carrylessMultiply()) {
        const qint64 blocks = size & ~qint64(15);
        reg = folded(p, blocks, reg);
        p += blocks;
        size -= blocks;
    }
#endif
    return ~withTables(p, size, reg);
}

quint32 Crc32::computeWithTables(const char *data, qint64 size, quint32 crc)
{
    return ~withTables(reinterpret_cast<const uchar *>(data), size, ~crc);
}
