#pragma once

#include <QColor>
#include <QImage>

namespace TestSupport {

// A picture whose every pixel differs from its neighbours (red = x, green = y, blue from both high
// parts), so that a shifted or wrong window cannot pass for the right one.
QImage numberedPicture(int width, int height);

// A picture of one colour.
QImage filledPicture(const QSize &size, const QColor &colour);

// A picture whose channels each follow their own slope in x and y, so that swapped channels or
// rows show.
QImage patternPicture(int width, int height);

// A picture of random pixels, the same for the same seed.
QImage randomPicture(int width, int height, quint32 seed);

// True when both images have the same size and the same red, green and blue at every pixel.
bool samePixels(const QImage &a, const QImage &b);

// True when both images have the same size and the same pixel values, alpha included.
bool identicalPixels(const QImage &a, const QImage &b);

// image keyed by the definition: every pixel whose red, green and blue lie in the inclusive
// ranges [begin, end] becomes fill.
QImage keyedByDefinition(QImage image, const QColor &begin, const QColor &end, const QColor &fill);

} // namespace TestSupport
