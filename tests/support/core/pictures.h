#pragma once

#include <QColor>
#include <QImage>

namespace TestSupport {

// A picture whose every pixel differs from its neighbours (red = x, green = y, blue from both high
// parts), so that a shifted or wrong window cannot pass for the right one.
QImage numberedPicture(int width, int height);

// True when both images have the same size and the same red, green and blue at every pixel.
bool samePixels(const QImage &a, const QImage &b);

// image keyed by the definition: every pixel whose red, green and blue lie in the inclusive
// ranges [begin, end] becomes fill.
QImage keyedByDefinition(QImage image, const QColor &begin, const QColor &end, const QColor &fill);

} // namespace TestSupport
