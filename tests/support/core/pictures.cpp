#include "support/core/pictures.h"

#include <QRandomGenerator>

namespace TestSupport {

QImage numberedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, ((x >> 8) * 16 + (y >> 8)) & 255));
    return image;
}

QImage filledPicture(const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage patternPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y, qRgb((x * 23 + y * 7) % 256, (x * 5 + y * 31 + 17) % 256, (x * 11 + y * 3 + 99) % 256));
    return image;
}

QImage randomPicture(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
    return image;
}

namespace {
bool sameUnder(const QImage &a, const QImage &b, QRgb mask)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & mask) != (b.pixel(x, y) & mask))
                return false;
    return true;
}
} // namespace

bool samePixels(const QImage &a, const QImage &b)
{
    return sameUnder(a, b, 0xFFFFFF);
}

bool identicalPixels(const QImage &a, const QImage &b)
{
    return sameUnder(a, b, 0xFFFFFFFF);
}

QImage keyedByDefinition(QImage image, const QColor &begin, const QColor &end, const QColor &fill)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            if (begin.red() <= c.red() && c.red() <= end.red() && begin.green() <= c.green() &&
                c.green() <= end.green() && begin.blue() <= c.blue() && c.blue() <= end.blue())
                image.setPixelColor(x, y, fill);
        }
    }
    return image;
}

} // namespace TestSupport
