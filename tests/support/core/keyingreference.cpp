#include "support/core/keyingreference.h"

#include <cstring>

namespace TestSupport::Keying {

const char *const kFormatNames[] = {
    "Invalid",         "Mono",   "MonoLSB",         "Indexed8",        "RGB32",           "ARGB32",
    "ARGB32_Premul",   "RGB16",  "ARGB8565_Premul", "RGB666",          "ARGB6666_Premul", "RGB555",
    "ARGB8555_Premul", "RGB888", "RGB444",          "ARGB4444_Premul", "RGBX8888",        "RGBA8888",
    "RGBA8888_Premul", "BGR30",  "A2BGR30_Premul",  "RGB30",           "A2RGB30_Premul",  "Alpha8",
    "Grayscale8",      "RGBX64", "RGBA64",          "RGBA64_Premul",   "Grayscale16",     "BGR888",
};
static_assert(sizeof(kFormatNames) / sizeof(kFormatNames[0]) == QImage::NImageFormats, "one name per format");

// Raw bytes of every row (the used part; row padding is not image content).
bool sameBytes(const QImage &a, const QImage &b, QString *where)
{
    if (a.format() != b.format() || a.size() != b.size()) {
        *where = QStringLiteral("format or size differ");
        return false;
    }
    const int rowBytes = (a.width() * a.depth() + 7) / 8;
    for (int y = 0; y < a.height(); ++y) {
        const uchar *ra = a.constScanLine(y);
        const uchar *rb = b.constScanLine(y);
        for (int i = 0; i < rowBytes; ++i) {
            if (ra[i] != rb[i]) {
                *where = QStringLiteral("row %1 byte %2: %3 vs %4 (pixel %5 vs %6)")
                             .arg(y)
                             .arg(i)
                             .arg(ra[i])
                             .arg(rb[i])
                             .arg(a.pixel(i * 8 / a.depth(), y), 8, 16)
                             .arg(b.pixel(i * 8 / a.depth(), y), 8, 16);
                return false;
            }
        }
    }
    return true;
}

// Random bytes everywhere, also in bits a format leaves unused (alpha of RGB32, the top nibble of
// RGB444, premultiplied channels above their alpha): the kernel must treat them as pixel() does.
QImage randomImage(QImage::Format format, int width, int height, QRandomGenerator &random)
{
    QImage image(width, height, format);
    if (format == QImage::Format_Mono || format == QImage::Format_MonoLSB)
        image.setColorCount(2);
    if (format == QImage::Format_Indexed8)
        image.setColorCount(256);
    for (int i = 0; i < image.colorCount(); ++i)
        image.setColor(i, random.generate());
    for (int y = 0; y < height; ++y) {
        uchar *row = image.scanLine(y);
        for (int i = 0; i < image.bytesPerLine(); ++i)
            row[i] = uchar(random.bounded(256));
    }
    return image;
}

// An image of a few colours only, so ranges taken from it match large parts exactly.
QImage fewColourImage(QImage::Format format, int width, int height, QRandomGenerator &random)
{
    QImage image = randomImage(format, width, height, random);
    QImage source = randomImage(format, 3, 1, random);
    const int bytes = image.depth() / 8;
    if (bytes == 0 || image.colorCount() > 0)
        return image;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::memcpy(image.scanLine(y) + x * bytes, source.constScanLine(0) + random.bounded(3) * bytes,
                        size_t(bytes));
    return image;
}

QColor randomColour(QRandomGenerator &random)
{
    return QColor(random.bounded(256), random.bounded(256), random.bounded(256), random.bounded(256));
}

// Some pixel lies in the range (the definition's test, before anything is replaced).
bool anyInRange(const QImage &image, const QColor &begin, const QColor &end)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            if (begin.red() <= c.red() && c.red() <= end.red() && begin.green() <= c.green() &&
                c.green() <= end.green() && begin.blue() <= c.blue() && c.blue() <= end.blue())
                return true;
        }
    }
    return false;
}

bool isOpaque(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
        }
    }
    return true;
}

// Pixels in a buffer of their own with padded rows (32-bit aligned, as QImage requires), so the
// keyer cannot take the rows as one run.
QImage paddedCopy(const QImage &image, QByteArray *buffer)
{
    const int rowBytes = (image.width() * image.depth() + 7) / 8;
    const int stride = (rowBytes + 3) / 4 * 4 + 12;
    *buffer = QByteArray(stride * image.height() + 4, '\0');
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(buffer->data() + 4 + y * stride, image.constScanLine(y), size_t(rowBytes));
    QImage padded(reinterpret_cast<uchar *>(buffer->data()) + 4, image.width(), image.height(), stride,
                  image.format());
    padded.setColorTable(image.colorTable());
    return padded;
}

} // namespace TestSupport::Keying
