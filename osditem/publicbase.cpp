#include "osditem/publicbase.h"

QByteArray PublicBase::imageToOsdData(const QImage &image, int *completionWidth)
{
    const int w = image.width();
    const int h = image.height();
    if (completionWidth)
        *completionWidth = w;
    QByteArray data(w * h * 3, Qt::Uninitialized);
    char *out = data.data();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            *out++ = char(p & 0xFF);
            *out++ = char((p >> 8) & 0xFF);
            *out++ = char((p >> 16) & 0xFF);
        }
    }
    return data;
}

QImage *PublicBase::osdDataToImage(const QByteArray &data, int width, int height, int completionWidth)
{
    if (data.isEmpty())
        return nullptr;
    auto *image = new QImage(width, height, QImage::Format_RGBA8888);
    image->fill(Qt::black);
    int pos = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < completionWidth; ++x) {
            const int b = readBytes(data, pos, 1, &pos);
            const int g = readBytes(data, pos, 1, &pos);
            const int r = readBytes(data, pos, 1, &pos);
            if (x < width)
                image->setPixel(x, y, qRgba(r, g, b, 255));
        }
    }
    return image;
}

int PublicBase::readBytes(const QByteArray &data, int pos, int count, int *nextPos)
{
    if (nextPos)
        *nextPos = pos + count;
    if (count <= 0 || pos < 0 || qint64(pos) + count > data.size())
        return 0;
    int value = 0;
    for (int k = count - 1; k >= 0; --k)
        value = (value << 8) | int(uchar(data.at(pos + k)));
    return value;
}
