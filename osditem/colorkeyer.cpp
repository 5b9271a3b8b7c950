#include "osditem/colorkeyer.h"

#include <cstring>

namespace {

struct Bounds
{
    int redLow, redHigh, greenLow, greenHigh, blueLow, blueHigh;
};

// 1 when the pixel's channels lie inside the bounds, else 0; no branches, so the loops below
// vectorise. The shifts say where QImage::pixel takes red, green and blue from the stored word.
template <int RedShift, int GreenShift, int BlueShift>
inline quint32 inBounds(quint32 stored, const Bounds &b)
{
    const int red = int((stored >> RedShift) & 0xFF);
    const int green = int((stored >> GreenShift) & 0xFF);
    const int blue = int((stored >> BlueShift) & 0xFF);
    return quint32((red >= b.redLow) & (red <= b.redHigh) & (green >= b.greenLow) & (green <= b.greenHigh) &
                   (blue >= b.blueLow) & (blue <= b.blueHigh));
}

template <int R, int G, int B> bool lineHasMatch(const quint32 *line, int width, const Bounds &b)
{
    quint32 any = 0;
    for (int x = 0; x < width; ++x)
        any |= inBounds<R, G, B>(line[x], b);
    return any != 0;
}

template <int R, int G, int B> void keyLine(quint32 *line, int width, const Bounds &b, quint32 fill)
{
    for (int x = 0; x < width; ++x) {
        const quint32 stored = line[x];
        const quint32 mask = 0u - inBounds<R, G, B>(stored, b);
        line[x] = (stored & ~mask) | (fill & mask);
    }
}

// 32-bit formats whose QImage::pixel is a fixed rearrangement of the stored word.
template <int R, int G, int B> void keyWords(QImage &image, const Bounds &b, quint32 fill)
{
    const int width = image.width();
    const int height = image.height();
    // Rows without a match are only read, so an image shared with others is copied (detached)
    // only once something really changes.
    int y = 0;
    while (y < height &&
           !lineHasMatch<R, G, B>(reinterpret_cast<const quint32 *>(image.constScanLine(y)), width, b))
        ++y;
    for (; y < height; ++y)
        keyLine<R, G, B>(reinterpret_cast<quint32 *>(image.scanLine(y)), width, b, fill);
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

    // What setPixelColor stores for the fill colour depends only on the format: take it from a
    // one-pixel image, so every keyed pixel holds exactly those bytes.
    QImage probe(1, 1, image.format());
    probe.fill(0);
    probe.setPixelColor(0, 0, fill);
    const int bytesPerPixel = image.depth() / 8;
    uchar storedFill[8] = {};
    std::memcpy(storedFill, probe.constScanLine(0), size_t(bytesPerPixel));

    const Bounds bounds{begin.red(), end.red(), begin.green(), end.green(), begin.blue(), end.blue()};
    quint32 fillWord = 0;
    std::memcpy(&fillWord, storedFill, sizeof(fillWord));

    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        // 0xAARRGGBB in a native word.
        keyWords<16, 8, 0>(image, bounds, fillWord);
        return;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        // Bytes R, G, B, A in memory.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        keyWords<0, 8, 16>(image, bounds, fillWord);
#else
        keyWords<24, 16, 8>(image, bounds, fillWord);
#endif
        return;
    default:
        keyPixels(image, bounds, storedFill, bytesPerPixel);
        return;
    }
}
