#pragma once

#include <QByteArray>
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

    // Everything a key-range slider step needs, made in one pass over the pixels where the format
    // allows it.
    struct Keyed
    {
        // source keyed as apply() keys a copy of it: still sharing source's pixels when nothing
        // lies in the range. A BGR888 image with OSD data asked for reads osdData's bytes (they are
        // the same), as an imported picture reads its record's.
        QImage image;
        // PublicBase::imageToOsdData(image, &completionWidth), when asked for.
        QByteArray osdData;
        int completionWidth = 0;
        // What QPixmap::fromImage would convert image to, so that it takes this without converting
        // or copying again: Format_RGB32 for opaque images of the 32-bit formats with alpha
        // (sharing image's pixels where the bytes are the same), ARGB32_Premultiplied for
        // translucent ARGB32 images. Null when image is best shown as it is (three-byte pictures
        // included: the pixmap takes them without a conversion).
        QImage display;
    };
    static Keyed keyed(const QImage &source, const QColor &begin, const QColor &end, const QColor &fill,
                       bool withOsdData);
    // The same, with an earlier result whose memory the new one takes where nothing else holds it
    // (the slider's previous step) instead of new memory for every step.
    static Keyed keyed(const QImage &source, const QColor &begin, const QColor &end, const QColor &fill,
                       bool withOsdData, Keyed &&spare);

    // True when some channel's range is empty (begin above end): nothing can match.
    static bool isEmptyRange(const QColor &begin, const QColor &end);

    // True for formats in which a pixel can take a colour of its own.
    static bool canKey(QImage::Format format);
};
