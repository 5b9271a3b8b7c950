#pragma once

#include <QtGlobal>

// The one checksum of this code: CRC-32 as in zlib and PNG (reflected polynomial 0xEDB88320,
// initial value and final XOR 0xFFFFFFFF), for OSD files and PNG chunks alike. libdeflate computes
// it; it runs over every byte of a file on both ways, so it has to keep up with the disk.
class Checksum
{
public:
    // crc continues a previous result; start with 0.
    static quint32 crc32(const char *data, qint64 size, quint32 crc = 0);
};
