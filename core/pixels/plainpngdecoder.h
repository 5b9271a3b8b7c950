#pragma once

#include <QByteArray>
#include <QImage>

// A quicker road for the PNG files most pictures are: 8 bits per channel, RGB or RGBA, not
// interlaced, no transparent colour. Qt's PNG reader inflates with zlib, which is most of the time a
// picture takes to load; this one inflates with libdeflate and undoes the row filters itself.
//
// It gives exactly what Qt's reader gives for such a file: the same pixels in the same format
// (RGB32 for RGB, ARGB32 for RGBA), with the resolution and offset the file states. Text chunks and
// colour-space chunks are not read (nothing here uses them; Qt's reader does not change pixels for
// them either). Anything else, and anything doubtful (a checksum that does not match, data too short
// or too long, an unknown critical chunk), gives a null image, and the caller decodes the file with
// Qt, which then says what is wrong with it.
class PlainPngDecoder
{
public:
    // The picture in data (a whole PNG file), or a null image when it is not a plain PNG.
    // The caller has checked the stated size against its limits.
    static QImage decode(const QByteArray &data);
};
