#include "support/core/pictures.h"

namespace TestSupport {

QImage numberedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, ((x >> 8) * 16 + (y >> 8)) & 255));
    return image;
}

bool samePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                return false;
    return true;
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
