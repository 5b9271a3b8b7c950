// libFuzzer target for the quicker PNG road (PlainPngDecoder): whatever it accepts must be exactly
// what Qt's reader makes of the same bytes, and nothing may crash it. Chunk checksums are put right
// before decoding, so that mutations get past them (a wrong one only sends the file to Qt).
// An input whose first byte is odd is not a file but the makings of one: a size, and rows that are
// compressed and wrapped here, so that the row filters are reached as often as the chunk reader.
#include "core/pixels/plainpngdecoder.h"
#include "support/core/pngbytes.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Every whole chunk after the signature gets the checksum of its type and data.
QByteArray withChecksums(QByteArray bytes)
{
    int pos = 8;
    while (bytes.size() - pos >= 12) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + pos);
        if (length > quint32(bytes.size() - pos - 12))
            break;
        const QByteArray typed = bytes.mid(pos + 4, int(length) + 4);
        // The same CRC-32 as in the chunk maker.
        const QByteArray sealed = PngBytes::chunk(typed.constData(), typed.mid(4));
        bytes.replace(pos, sealed.size(), sealed);
        pos += int(length) + 12;
    }
    return bytes;
}

QByteArray madeFile(const uint8_t *data, size_t size)
{
    if (size < 4)
        return QByteArray();
    const int width = 1 + data[1] % 64, height = 1 + data[2] % 64;
    const bool rgba = data[0] & 2, exact = !(data[0] & 4);
    const int rowBytes = width * (rgba ? 4 : 3) + 1;
    QByteArray rows(reinterpret_cast<const char *>(data + 3), int(size - 3));
    if (exact) {
        rows.resize(rowBytes * height);
        for (int y = 0; y < height; ++y)
            rows[y * rowBytes] = char(uchar(rows[y * rowBytes]) % 5);
    }
    return PngBytes::file({PngBytes::header(quint32(width), quint32(height), 8, rgba ? 6 : 2),
                           PngBytes::chunk("IDAT", PngBytes::zlib(rows)), PngBytes::chunk("IEND", {})});
}

[[noreturn]] void broken(const char *what)
{
    std::fprintf(stderr, "fuzz_plainpng: %s\n", what);
    std::abort();
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // libpng's warnings about broken files would drown the fuzzer's own output.
    qInstallMessageHandler(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > (1 << 20))
        return 0;
    const QByteArray bytes = (data[0] & 1)
                                 ? madeFile(data, size)
                                 : withChecksums(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    const QImage ours = PlainPngDecoder::decode(bytes);
    if (ours.isNull())
        return 0;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "png");
    const QImage qt = reader.read();
    if (qt.isNull())
        broken("accepted a file Qt refuses");
    if (ours.format() != qt.format() || ours.size() != qt.size())
        broken("format or size differs from Qt's");
    const size_t rowBytes = size_t(qt.width()) * size_t(qt.depth()) / 8;
    for (int y = 0; y < qt.height(); ++y)
        if (std::memcmp(ours.constScanLine(y), qt.constScanLine(y), rowBytes) != 0)
            broken("pixels differ from Qt's");
    if (ours.dotsPerMeterX() != qt.dotsPerMeterX() || ours.dotsPerMeterY() != qt.dotsPerMeterY() ||
        ours.offset() != qt.offset())
        broken("resolution or offset differs from Qt's");
    return 0;
}
