#pragma once

// Private to the project file's writer and reader: how the values that are no plain numbers are
// stored, so that whatever is written reads back equal.
#include <QByteArray>

class QColor;
class QFont;
class QImage;

namespace ProjectFileCodec {

// A colour as the OSD file stores it: spec, alpha and four components, 11 bytes little-endian.
QByteArray colourBytes(const QColor &colour);
bool colourFromBytes(const QByteArray &bytes, QColor *colour);

// A font in the layout of the OSD file's font field (docs/osd-file-format.md), so that it comes
// back equal.
QByteArray fontBytes(const QFont &font);
bool fontFromBytes(const QByteArray &bytes, QFont *font);

// Pictures without an original are kept as PNG files of their exact bytes: a picture of 32 bits per
// pixel as an RGBA picture of the same bytes, whatever its own format says about them (RGB32's
// unused byte, premultiplied colours), and one of 24 bits (an imported record's three-byte picture)
// as an RGB picture of the same bytes, so the format and every byte come back.
bool storablePixels(const QImage &image);
QByteArray pixelsBytes(const QImage &image);

QByteArray sha256(const QByteArray &bytes);

} // namespace ProjectFileCodec
