#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>

// Conversions between images and OSD pixel data: 3 bytes per pixel in the order blue, green, red,
// rows top to bottom, no padding. Each stored row holds "completion width" pixels.
class PublicBase : public QObject
{
    Q_OBJECT
public:
    // Pixel (x, y) contributes the low three bytes of image.pixel(x, y); alpha is dropped. The
    // result is the same for every image format as reading each pixel with QImage::pixel (an index
    // beyond an indexed image's colour table gives black), only much faster. A null image, or one
    // whose data would not fit into a byte array, gives empty data and a completion width of 0.
    static QByteArray imageToOsdData(const QImage &image, int *completionWidth);
    // The same into *data, in its own memory when that has the right size and nothing shares it.
    static void imageToOsdData(const QImage &image, int *completionWidth, QByteArray *data);

    // A new opaque RGBA8888 image owned by the caller. Bytes missing at the end read as 0; stored
    // columns at or beyond width are skipped; columns at or beyond completionWidth are black.
    // Null for empty data and for a width or height that is not positive or too large.
    static QImage *osdDataToImage(const QByteArray &data, int width, int height, int completionWidth);

    // The data itself seen as a BGR888 image, without a copy: the image keeps the data alive and
    // never writes into it (a write makes the image its own copy). Same pixels as osdDataToImage.
    // Null where the data does not hold every shown pixel (completionWidth below width, data cut
    // short) or the sizes are not positive; osdDataToImage handles those.
    static QImage osdDataView(const QByteArray &data, int width, int height, int completionWidth);
    // Little-endian value of count bytes at pos; 0 when they do not fit (or pos is negative).
    // Bytes beyond the fourth do not change the 32-bit result. *nextPos = pos + count, saturated.
    static int readBytes(const QByteArray &data, int pos, int count, int *nextPos);
};
