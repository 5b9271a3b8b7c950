#include "core/files/checksum.h"

#include <libdeflate.h>

quint32 Checksum::crc32(const char *data, qint64 size, quint32 crc)
{
    // libdeflate takes the length as size_t, which is 32 bits wide on 32-bit systems.
    constexpr qint64 Piece = qint64(1) << 30;
    while (size > 0) {
        const qint64 piece = qMin(size, Piece);
        crc = libdeflate_crc32(crc, data, size_t(piece));
        data += piece;
        size -= piece;
    }
    return crc;
}
