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
    // Pixel (x, y) contributes the low three bytes of image.pixel(x, y); alpha is dropped.
    static QByteArray imageToOsdData(const QImage &image, int *completionWidth);

    // A new opaque RGBA8888 image owned by the caller, or null for empty data. Bytes missing at the
    // end read as 0; stored columns at or beyond width are skipped.
    static QImage *osdDataToImage(const QByteArray &data, int width, int height, int completionWidth);

    // Little-endian value of count bytes at pos; 0 when they do not fit. *nextPos = pos + count.
    static int readBytes(const QByteArray &data, int pos, int count, int *nextPos);
};
