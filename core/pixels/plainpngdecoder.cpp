#include "core/pixels/plainpngdecoder.h"

#include "core/files/checksum.h"

#include <QPoint>
#include <QtEndian>

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr uchar Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

quint32 be32(const uchar *p)
{
    return qFromBigEndian<quint32>(p);
}

bool isType(const uchar *type, const char *name)
{
    return std::memcmp(type, name, 4) == 0;
}

struct Header
{
    quint32 width = 0;
    quint32 height = 0;
    int channels = 0; // 3 (RGB) or 4 (RGBA)
};

// Only the form this road takes: 8 bits, RGB or RGBA, deflate, standard filters, not interlaced.
bool readHeader(const uchar *data, quint32 length, Header *header)
{
    if (length != 13)
        return false;
    header->width = be32(data);
    header->height = be32(data + 4);
    const uchar depth = data[8], colourType = data[9];
    const uchar compression = data[10], filter = data[11], interlace = data[12];
    if (header->width == 0 || header->height == 0 || header->width > 0x7fffffffu ||
        header->height > 0x7fffffffu)
        return false;
    if (depth != 8 || (colourType != 2 && colourType != 6) || compression != 0 || filter != 0 ||
        interlace != 0)
        return false;
    header->channels = colourType == 6 ? 4 : 3;
    return true;
}

// The row filters, undone in place; prior is the row above, already undone (zeros for the first).
// Bpp is a template argument so that each channel's running values stay in registers.
template <int Bpp> void undoSub(uchar *row, qsizetype n)
{
    for (qsizetype i = Bpp; i < n; ++i)
        row[i] = uchar(row[i] + row[i - Bpp]);
}

void undoUp(uchar *row, const uchar *prior, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i)
        row[i] = uchar(row[i] + prior[i]);
}

template <int Bpp> void undoAverage(uchar *row, const uchar *prior, qsizetype n)
{
    for (qsizetype i = 0; i < Bpp; ++i)
        row[i] = uchar(row[i] + (prior[i] >> 1));
    for (qsizetype i = Bpp; i < n; ++i)
        row[i] = uchar(row[i] + ((row[i - Bpp] + prior[i]) >> 1));
}

template <int Bpp> void undoPaeth(uchar *row, const uchar *prior, qsizetype n)
{
    int a[Bpp] = {}, c[Bpp] = {};
    for (qsizetype i = 0; i < n; i += Bpp) {
        for (int k = 0; k < Bpp; ++k) {
            const int b = prior[i + k];
            const int pa = std::abs(b - c[k]);
            const int pb = std::abs(a[k] - c[k]);
            const int pc = std::abs(a[k] + b - 2 * c[k]);
            const int predictor = (pa <= pb && pa <= pc) ? a[k] : (pb <= pc ? b : c[k]);
            a[k] = uchar(row[i + k] + predictor);
            row[i + k] = uchar(a[k]);
            c[k] = b;
        }
    }
}

template <int Bpp> bool undoFilter(uchar filter, uchar *row, const uchar *prior, qsizetype n)
{
    switch (filter) {
    case 0:
        return true;
    case 1:
        undoSub<Bpp>(row, n);
        return true;
    case 2:
        undoUp(row, prior, n);
        return true;
    case 3:
        undoAverage<Bpp>(row, prior, n);
        return true;
    case 4:
        undoPaeth<Bpp>(row, prior, n);
        return true;
    default:
        return false;
    }
}

void rgbToRgb32(const uchar *from, QRgb *to, quint32 width)
{
    for (quint32 x = 0; x < width; ++x, from += 3)
        to[x] = 0xff000000u | quint32(from[0]) << 16 | quint32(from[1]) << 8 | from[2];
}

void rgbaToArgb32(const uchar *from, QRgb *to, quint32 width)
{
    for (quint32 x = 0; x < width; ++x, from += 4)
        to[x] = quint32(from[3]) << 24 | quint32(from[0]) << 16 | quint32(from[1]) << 8 | from[2];
}

template <int Bpp> bool unfilterInto(uchar *rows, qsizetype rowBytes, QImage *image)
{
    const std::vector<uchar> zeros(size_t(rowBytes), 0);
    const uchar *prior = zeros.data();
    const quint32 width = quint32(image->width());
    for (int y = 0; y < image->height(); ++y) {
        uchar *line = rows + qsizetype(y) * (rowBytes + 1);
        uchar *row = line + 1;
        if (!undoFilter<Bpp>(line[0], row, prior, rowBytes))
            return false;
        auto *to = reinterpret_cast<QRgb *>(image->scanLine(y));
        if (Bpp == 3)
            rgbToRgb32(row, to, width);
        else
            rgbaToArgb32(row, to, width);
        prior = row;
    }
    return true;
}

struct DecompressorDeleter
{
    void operator()(libdeflate_decompressor *d) const { libdeflate_free_decompressor(d); }
};

} // namespace

QImage PlainPngDecoder::decode(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const qsizetype size = data.size();
    if (size < qsizetype(sizeof Signature) || std::memcmp(bytes, Signature, sizeof Signature) != 0)
        return QImage();

    Header header;
    bool haveHeader = false, ended = false, idatDone = false;
    bool haveResolution = false, haveOffset = false;
    int dotsX = 0, dotsY = 0;
    QPoint offset;
    std::vector<std::pair<const uchar *, quint32>> idat;
    qsizetype pos = sizeof Signature;
    while (!ended) {
        if (size - pos < 12)
            return QImage();
        const quint32 length = be32(bytes + pos);
        if (length > 0x7fffffffu || qsizetype(length) > size - pos - 12)
            return QImage();
        const uchar *type = bytes + pos + 4;
        const uchar *chunk = type + 4;
        if (Checksum::crc32(reinterpret_cast<const char *>(type), qint64(length) + 4) != be32(chunk + length))
            return QImage();
        pos += qsizetype(length) + 12;

        if (!haveHeader) {
            // The header comes first and only once.
            if (!isType(type, "IHDR") || !readHeader(chunk, length, &header))
                return QImage();
            haveHeader = true;
        } else if (isType(type, "IDAT")) {
            // The data chunks follow one another without anything between them.
            if (idatDone)
                return QImage();
            idat.emplace_back(chunk, length);
        } else {
            if (!idat.empty())
                idatDone = true;
            if (isType(type, "IEND")) {
                ended = true;
            } else if (isType(type, "tRNS") || isType(type, "IHDR")) {
                // A transparent colour changes pixels: Qt's reader handles it.
                return QImage();
            } else if (isType(type, "pHYs")) {
                // Resolution and offset come once, before the data.
                if (length != 9 || haveResolution || !idat.empty())
                    return QImage();
                haveResolution = true;
                // Qt takes the resolution only when it is given per metre.
                if (chunk[8] == 1) {
                    dotsX = int(be32(chunk));
                    dotsY = int(be32(chunk + 4));
                    if (dotsX < 0 || dotsY < 0)
                        return QImage();
                }
            } else if (isType(type, "oFFs")) {
                if (length != 9 || haveOffset || !idat.empty())
                    return QImage();
                haveOffset = true;
                if (chunk[8] == 0)
                    offset = QPoint(qFromBigEndian<qint32>(chunk), qFromBigEndian<qint32>(chunk + 4));
            } else if (isType(type, "PLTE")) {
                // A suggested palette for a true-colour picture; it changes nothing read here.
                if (!idat.empty())
                    return QImage();
            } else if ((type[0] & 0x20) == 0) {
                // Any other critical chunk: not a plain file.
                return QImage();
            }
            // Other ancillary chunks (text, time, colour space) carry nothing this road gives.
        }
    }
    // Nothing may follow the end.
    if (!haveHeader || idat.empty() || pos != size)
        return QImage();

    const qsizetype rowBytes = qsizetype(header.width) * header.channels;
    const qint64 inflatedSize = qint64(header.height) * (qint64(rowBytes) + 1);
    if (qint64(header.width) * header.height > (qint64(1) << 28) || inflatedSize > (qint64(1) << 31))
        return QImage();

    // One stretch of compressed data; a single data chunk is used where it lies.
    QByteArray joined;
    const uchar *compressed = idat.front().first;
    size_t compressedSize = idat.front().second;
    if (idat.size() > 1) {
        qsizetype total = 0;
        for (const auto &part : idat)
            total += part.second;
        joined.resize(total);
        char *to = joined.data();
        for (const auto &part : idat) {
            std::memcpy(to, part.first, part.second);
            to += part.second;
        }
        compressed = reinterpret_cast<const uchar *>(joined.constData());
        compressedSize = size_t(total);
    }

    std::unique_ptr<uchar[]> inflated(new (std::nothrow) uchar[size_t(inflatedSize)]);
    if (!inflated)
        return QImage();
    std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor)
        return QImage();
    size_t consumed = 0;
    // Exactly the rows the header states, and no compressed data left over: Qt's reader would
    // complain about either, so such a file goes to it.
    if (libdeflate_zlib_decompress_ex(decompressor.get(), compressed, compressedSize, inflated.get(),
                                      size_t(inflatedSize), &consumed, nullptr) != LIBDEFLATE_SUCCESS ||
        consumed != compressedSize)
        return QImage();

    QImage image(int(header.width), int(header.height),
                 header.channels == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    const bool undone = header.channels == 4 ? unfilterInto<4>(inflated.get(), rowBytes, &image)
                                             : unfilterInto<3>(inflated.get(), rowBytes, &image);
    if (!undone)
        return QImage();
    if (dotsX > 0 && dotsY > 0) {
        image.setDotsPerMeterX(dotsX);
        image.setDotsPerMeterY(dotsY);
    }
    image.setOffset(offset);
    return image;
}
