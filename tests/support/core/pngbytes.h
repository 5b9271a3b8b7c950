#pragma once

#include <QByteArray>
#include <QImage>
#include <QVector>

// PNG files built chunk by chunk, so that tests can choose what Qt's writer does not let them: the
// row filters, how the data are split into chunks, extra chunks, damage.
namespace PngBytes {

// The eight bytes every PNG file starts with.
QByteArray signature();

// One chunk: length, type, data and its CRC.
QByteArray chunk(const char *type, const QByteArray &data);

// The IHDR chunk.
QByteArray header(quint32 width, quint32 height, int depth = 8, int colourType = 2, int interlace = 0);

// The rows of an 8-bit RGB (channels 3) or RGBA (channels 4) picture, row y filtered with
// filters[y % filters.size()] (0 none, 1 sub, 2 up, 3 average, 4 Paeth), each row led by its
// filter byte: what the data chunks hold once inflated.
QByteArray filteredRows(const QImage &picture, int channels, const QVector<int> &filters);

// data as a zlib stream.
QByteArray zlib(const QByteArray &data);

// signature() followed by the chunks.
QByteArray file(const QList<QByteArray> &chunks);

} // namespace PngBytes
