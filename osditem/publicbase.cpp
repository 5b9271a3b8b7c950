#include "osditem/publicbase.h"

#include <QPixelFormat>
#include <QVector>
#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <cstring>

// The row loops below are plain C++ written so that the compiler can vectorise them. Where the
// compiler can target x86 instruction sets per function (GCC, Clang) and the build does not already
// assume SSSE3, each loop is compiled twice and the SSSE3 copy (byte shuffles) is chosen at run time.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__)) &&               \
    !defined(__SSSE3__)
#define BRISKLANE_SSSE3_DISPATCH 1
#define BRISKLANE_SSSE3_TARGET __attribute__((target("ssse3")))
#else
#define BRISKLANE_SSSE3_DISPATCH 0
#endif

namespace {

// One row of OSD pixel data from one scan line: w pixels, 3 bytes each.
using RowKernel = void (*)(const uchar *src, uchar *dst, int w);

// Native QRgb words (RGB32, ARGB32, ARGB32_Premultiplied): the low three bytes of each word.
Q_ALWAYS_INLINE void rgbWordsToBgrSimple(const uchar *__restrict src, uchar *__restrict dst, int w)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // The word 0xAARRGGBB lies in memory as B, G, R, A.
    for (int x = 0; x < w; ++x) {
        dst[3 * x] = src[4 * x];
        dst[3 * x + 1] = src[4 * x + 1];
        dst[3 * x + 2] = src[4 * x + 2];
    }
#else
    for (int x = 0; x < w; ++x) {
        dst[3 * x] = src[4 * x + 3];
        dst[3 * x + 1] = src[4 * x + 2];
        dst[3 * x + 2] = src[4 * x + 1];
    }
#endif
}

// Bytes R, G, B, A (RGBX8888, RGBA8888, RGBA8888_Premultiplied) to B, G, R.
Q_ALWAYS_INLINE void rgbaBytesToBgrSimple(const uchar *__restrict src, uchar *__restrict dst, int w)
{
    for (int x = 0; x < w; ++x) {
        dst[3 * x] = src[4 * x + 2];
        dst[3 * x + 1] = src[4 * x + 1];
        dst[3 * x + 2] = src[4 * x];
    }
}

// Bytes R, G, B (RGB888) to B, G, R.
Q_ALWAYS_INLINE void rgbBytesToBgrSimple(const uchar *__restrict src, uchar *__restrict dst, int w)
{
    for (int x = 0; x < w; ++x) {
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

template <bool swapRB> void fourToThreeWords(const uchar *__restrict src, uchar *__restrict dst, int w)
{
    int x = 0;
    for (; x + 8 <= w; x += 8) {
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
        rgbaBytesToBgrSimple(src + 4 * x, dst + 3 * x, w - x);
    else
        rgbWordsToBgrSimple(src + 4 * x, dst + 3 * x, w - x);
}

void rgbWordsToBgrPlain(const uchar *src, uchar *dst, int w)
{
    fourToThreeWords<false>(src, dst, w);
}

void rgbaBytesToBgrPlain(const uchar *src, uchar *dst, int w)
{
    fourToThreeWords<true>(src, dst, w);
}
#else
void rgbWordsToBgrPlain(const uchar *src, uchar *dst, int w)
{
    rgbWordsToBgrSimple(src, dst, w);
}

void rgbaBytesToBgrPlain(const uchar *src, uchar *dst, int w)
{
    rgbaBytesToBgrSimple(src, dst, w);
}
#endif

void rgbBytesToBgrPlain(const uchar *src, uchar *dst, int w)
{
    rgbBytesToBgrSimple(src, dst, w);
}

#if BRISKLANE_SSSE3_DISPATCH
BRISKLANE_SSSE3_TARGET void rgbWordsToBgrSsse3(const uchar *src, uchar *dst, int w)
{
    rgbWordsToBgrSimple(src, dst, w);
}

BRISKLANE_SSSE3_TARGET void rgbaBytesToBgrSsse3(const uchar *src, uchar *dst, int w)
{
    rgbaBytesToBgrSimple(src, dst, w);
}

BRISKLANE_SSSE3_TARGET void rgbBytesToBgrSsse3(const uchar *src, uchar *dst, int w)
{
    rgbBytesToBgrSimple(src, dst, w);
}
#endif

struct Kernels
{
    RowKernel rgbWords;
    RowKernel rgbaBytes;
    RowKernel rgbBytes;
};

const Kernels &kernels()
{
    static const Kernels chosen = [] {
#if BRISKLANE_SSSE3_DISPATCH
        // QT_NO_CPU_FEATURE=ssse3 turns the shuffles off here as it does in Qt itself.
        if (__builtin_cpu_supports("ssse3") &&
            !qEnvironmentVariable("QT_NO_CPU_FEATURE").contains(QLatin1String("ssse3"), Qt::CaseInsensitive))
            return Kernels{rgbWordsToBgrSsse3, rgbaBytesToBgrSsse3, rgbBytesToBgrSsse3};
#endif
        return Kernels{rgbWordsToBgrPlain, rgbaBytesToBgrPlain, rgbBytesToBgrPlain};
    }();
    return chosen;
}

void bgrBytesCopy(const uchar *src, uchar *dst, int w)
{
    std::memcpy(dst, src, size_t(w) * 3);
}

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
    const RowKernel kernel = kernels().rgbWords;
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
    const RowKernel kernel = kernels().rgbWords;
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

} // namespace

QByteArray PublicBase::imageToOsdData(const QImage &image, int *completionWidth)
{
    const int w = image.width();
    const int h = image.height();
    const qint64 total = qint64(w) * h * 3;
    // A null image, or one too large for a single byte array (possible for 1-bit images), gives no
    // data and a completion width of 0, so the record stays consistent.
    if (image.isNull() || total > MaxByteArraySize) {
        if (completionWidth)
            *completionWidth = 0;
        return QByteArray();
    }
    if (completionWidth)
        *completionWidth = w;

    QByteArray data(int(total), Qt::Uninitialized);
    auto *out = reinterpret_cast<uchar *>(data.data());
    RowKernel kernel = nullptr;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        kernel = kernels().rgbWords;
        break;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        kernel = kernels().rgbaBytes;
        break;
    case QImage::Format_RGB888:
        kernel = kernels().rgbBytes;
        break;
    case QImage::Format_BGR888:
        kernel = bgrBytesCopy;
        break;
    case QImage::Format_Indexed8:
        indexed8Rows(image, out);
        return data;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        monoRows(image, out);
        return data;
    default:
        convertedRows(image, out);
        return data;
    }
    for (int y = 0; y < h; ++y)
        kernel(image.constScanLine(y), out + qint64(y) * w * 3, w);
    return data;
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

    // The data is an image in Qt's BGR888 layout with a stride of completionWidth pixels; Qt's own
    // converter is the fast road to RGBA8888.
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

    // Short data or a completion width below the width: everything not taken from the data is
    // opaque black.
    auto *image = new QImage(width, height, QImage::Format_RGBA8888);
    if (image->isNull()) {
        delete image;
        return nullptr;
    }
    image->fill(QColor(0, 0, 0, 255));
    for (int y = 0; y < converted.height(); ++y)
        std::memcpy(image->scanLine(y), converted.constScanLine(y), size_t(shown) * 4);
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
