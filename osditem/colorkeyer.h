#pragma once

#include <QColor>
#include <QImage>

// Colour keying: every pixel whose red, green and blue lie inside the inclusive per-channel ranges
// [begin, end] becomes the fill colour.
//
// The result is exactly that of the plain per-pixel loop
//     c = QColor(image.pixel(x, y)); if (in range) image.setPixelColor(x, y, fill);
// for every image format: the channels are those that QImage::pixel reports (for premultiplied
// formats the stored, premultiplied values), alpha is neither tested nor kept, and a keyed pixel
// holds exactly what setPixelColor stores for fill. Formats without a colour per pixel (mono,
// indexed) are left unchanged, as setPixelColor refuses them; convert such images first.
class ColorKeyer
{
public:
    static void apply(QImage &image, const QColor &begin, const QColor &end, const QColor &fill);

    // True when some channel's range is empty (begin above end): nothing can match.
    static bool isEmptyRange(const QColor &begin, const QColor &end);

    // True for formats in which a pixel can take a colour of its own.
    static bool canKey(QImage::Format format);
};
