#pragma once

#include <QColor>
#include <QImage>
#include <QRandomGenerator>
#include <QString>

// Pictures and comparisons for the tests of the keying kernel.
namespace TestSupport::Keying {

// Short names of the image formats, by value.
extern const char *const kFormatNames[];

// Raw bytes of every row (the used part; row padding is not image content).
bool sameBytes(const QImage &a, const QImage &b, QString *where);

// Random bytes everywhere, also in bits a format leaves unused (alpha of RGB32, the top nibble of
// RGB444, premultiplied channels above their alpha): the kernel must treat them as pixel() does.
QImage randomImage(QImage::Format format, int width, int height, QRandomGenerator &random);

// An image of a few colours only, so ranges taken from it match large parts exactly.
QImage fewColourImage(QImage::Format format, int width, int height, QRandomGenerator &random);

QColor randomColour(QRandomGenerator &random);

// Some pixel lies in the range (the definition's test, before anything is replaced).
bool anyInRange(const QImage &image, const QColor &begin, const QColor &end);

bool isOpaque(const QImage &image);

// Pixels in a buffer of their own with padded rows (32-bit aligned, as QImage requires), so the
// keyer cannot take the rows as one run.
QImage paddedCopy(const QImage &image, QByteArray *buffer);

} // namespace TestSupport::Keying
