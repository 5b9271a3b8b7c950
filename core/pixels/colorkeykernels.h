#pragma once

#include <QImage>
#include <QtGlobal>

// The keying kernels of ColorKeyer: loops over 32-bit pixels in the build the processor's level
// calls for (see CpuFeatures), and the one pass that keys, converts to OSD bytes and makes the
// image to show. Private to the core library.
namespace ColorKeyKernels {

// The bounds as offsets and spans: c lies in [low, high] exactly when the unsigned c - low is at
// most high - low (spans are never negative here), one compare instead of two.
struct Spans
{
    quint32 redLow, redSpan, greenLow, greenSpan, blueLow, blueSpan;
};

// Line loops for 32-bit pixels; the shifts say where QImage::pixel takes red, green and blue from
// the stored word. Built for (R, G, B) = (16, 8, 0), (0, 8, 16) and (24, 16, 8).
template <int R, int G, int B> struct LineKernels
{
    bool (*hasMatch)(const quint32 *line, int width, const Spans &s);
    void (*inPlace)(quint32 *line, int width, const Spans &s, quint32 fill);
};
template <int R, int G, int B> LineKernels<R, G, B> lineKernels();
// source keyed into target (the plain road of the one pass).
template <int R, int G, int B>
void keyLineInto(const quint32 *source, quint32 *target, int width, const Spans &s, quint32 fill);

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

// Keys every row of source with the one pass (not on the portable level); rows without padding
// between them make one run. Returns the AND of all keyed pixels.
quint32 keyRows(const QImage &source, const Outputs &out, const ByteKey &k);

// Three bytes a pixel (BGR888, RGB888), keyed with the same ByteKey as 32-bit pixels whose fourth
// byte is always inside: byte 0 is blue (redFirst false, BGR888) or red (RGB888). The fill's fourth
// byte is not written.
struct PackedRun
{
    const uchar *source;
    // Keyed pixels, the source's byte order; may be source itself (in place: stretches without a
    // match are then not written) or null.
    uchar *keyed;
    // OSD bytes (blue, green, red), or null.
    uchar *bgr;
    qint64 count;
};

// Keys a run of packed pixels on every level (plain loops, SSSE3, AVX2); true when some pixel lies
// inside. With no outputs it only looks for such a pixel.
bool keyPackedRun(const PackedRun &run, const ByteKey &k);

// The text image's binarisation over n RGB32 pixels: a pixel equal to reference (its alpha byte
// ignored) becomes reference, every other pixel text. Large outputs go past the caches.
void binarizeRun(const quint32 *source, quint32 *target, qint64 n, quint32 reference, quint32 text);

} // namespace ColorKeyKernels
