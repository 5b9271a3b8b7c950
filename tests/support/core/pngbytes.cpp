#include "support/core/pngbytes.h"

#include "core/files/checksum.h"

#include <QtEndian>

#include <cstdlib>

namespace PngBytes {

namespace {

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

// The predictor of the Paeth filter, written out as PNG defines it (not as the decoder computes it).
int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

} // namespace

QByteArray signature()
{
    return QByteArray("\x89PNG\r\n\x1a\n", 8);
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type, 4) + data;
    // PNG uses the same CRC-32 as the OSD file.
    return bigEndian(quint32(data.size())) + typed +
           bigEndian(Checksum::crc32(typed.constData(), typed.size()));
}

QByteArray header(quint32 width, quint32 height, int depth, int colourType, int interlace)
{
    QByteArray data = bigEndian(width) + bigEndian(height);
    data += char(depth);
    data += char(colourType);
    data += char(0); // deflate
    data += char(0); // adaptive filtering
    data += char(interlace);
    return chunk("IHDR", data);
}

QByteArray filteredRows(const QImage &picture, int channels, const QVector<int> &filters)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int rowBytes = image.width() * channels;
    QByteArray raw(rowBytes, '\0'), prior(rowBytes, '\0'), out;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int at = x * channels;
            raw[at] = char(qRed(p));
            raw[at + 1] = char(qGreen(p));
            raw[at + 2] = char(qBlue(p));
            if (channels == 4)
                raw[at + 3] = char(qAlpha(p));
        }
        const int filter = filters.at(y % filters.size());
        out += char(filter);
        for (int i = 0; i < rowBytes; ++i) {
            const int x = uchar(raw[i]);
            const int a = i >= channels ? uchar(raw[i - channels]) : 0;
            const int b = uchar(prior[i]);
            const int c = i >= channels ? uchar(prior[i - channels]) : 0;
            const int predictor = filter == 1   ? a
                                  : filter == 2 ? b
                                  : filter == 3 ? (a + b) / 2
                                  : filter == 4 ? paeth(a, b, c)
                                                : 0;
            out += char(x - predictor);
        }
        prior = raw;
    }
    return out;
}

QByteArray zlib(const QByteArray &data)
{
    // qCompress puts the length in front of a zlib stream.
    return qCompress(data, 6).mid(4);
}

QByteArray file(const QList<QByteArray> &chunks)
{
    QByteArray bytes = signature();
    for (const QByteArray &c : chunks)
        bytes += c;
    return bytes;
}

} // namespace PngBytes
