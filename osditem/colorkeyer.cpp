#include "osditem/colorkeyer.h"

#include <QColorSpace>
#include <QStringList>

#include <cstring>

namespace {

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
template <int RedShift, int GreenShift, int BlueShift> inline quint32 inBounds(quint32 stored, const Spans &s)
{
    const quint32 red = ((stored >> RedShift) & 0xFF) - s.redLow;
    const quint32 green = ((stored >> GreenShift) & 0xFF) - s.greenLow;
    const quint32 blue = ((stored >> BlueShift) & 0xFF) - s.blueLow;
    return quint32((red <= s.redSpan) & (green <= s.greenSpan) & (blue <= s.blueSpan));
}

template <int R, int G, int B> bool lineHasMatch(const quint32 *line, int width, const Spans &s)
{
    quint32 any = 0;
    for (int x = 0; x < width; ++x)
        any |= inBounds<R, G, B>(line[x], s);
    return any != 0;
}

template <int R, int G, int B> void keyLineInPlace(quint32 *line, int width, const Spans &s, quint32 fill)
{
    for (int x = 0; x < width; ++x) {
        const quint32 stored = line[x];
        const quint32 mask = 0u - inBounds<R, G, B>(stored, s);
        line[x] = (stored & ~mask) | (fill & mask);
    }
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

// 32-bit formats whose QImage::pixel is a fixed rearrangement of the stored word.
template <int R, int G, int B> void keyWords(QImage &image, const Spans &s, quint32 fill)
{
    const int width = image.width();
    const int height = image.height();
    // Rows without a match are only read: an image that matches nothing stays shared.
    int first = 0;
    while (first < height &&
           !lineHasMatch<R, G, B>(reinterpret_cast<const quint32 *>(image.constScanLine(first)), width, s))
        ++first;
    if (first == height)
        return;

    if (!image.isDetached()) {
        // Shared pixels must not change; rather than copying them all and keying the copy, key
        // straight into new pixels in one pass.
        QImage keyed = blankLike(image);
        if (!keyed.isNull()) {
            const size_t rowBytes = size_t(width) * 4;
            for (int y = 0; y < height; ++y) {
                const auto *source = reinterpret_cast<const quint32 *>(image.constScanLine(y));
                auto *target = reinterpret_cast<quint32 *>(keyed.scanLine(y));
                if (y < first)
                    std::memcpy(target, source, rowBytes);
                else
                    keyLineInto<R, G, B>(source, target, width, s, fill);
            }
            image = keyed;
            return;
        }
    }
    for (int y = first; y < height; ++y)
        keyLineInPlace<R, G, B>(reinterpret_cast<quint32 *>(image.scanLine(y)), width, s, fill);
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

    const Spans spans{quint32(bounds.redLow),   quint32(bounds.redHigh - bounds.redLow),
                      quint32(bounds.greenLow), quint32(bounds.greenHigh - bounds.greenLow),
                      quint32(bounds.blueLow),  quint32(bounds.blueHigh - bounds.blueLow)};

    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        // 0xAARRGGBB in a native word.
        keyWords<16, 8, 0>(image, spans, fillWord);
        return;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        // Bytes R, G, B, A in memory.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        keyWords<0, 8, 16>(image, spans, fillWord);
#else
        keyWords<24, 16, 8>(image, spans, fillWord);
#endif
        return;
    default:
        keyPixels(image, bounds, storedFill, bytesPerPixel);
        return;
    }
}
