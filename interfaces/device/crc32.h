#pragma once

#include <QtGlobal>

// CRC-32 as in zlib and PNG (reflected polynomial 0xEDB88320, initial value and final XOR
// 0xFFFFFFFF). The checksum runs over every byte of an OSD file on both ways, so it has to keep up
// with the disk: on x86 processors with carry-less multiplication (PCLMULQDQ) it folds 64 bytes a
// step, elsewhere it takes 16 bytes a step through tables; both give the same value.
class Crc32
{
public:
    // crc continues a previous result; start with 0.
    static quint32 compute(const char *data, qint64 size, quint32 crc = 0);

    // The table road alone, whatever the processor offers (for comparisons).
    static quint32 computeWithTables(const char *data, qint64 size, quint32 crc = 0);
};
