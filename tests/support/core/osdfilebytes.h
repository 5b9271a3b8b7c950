#pragma once

// Bytes of OSD files for the tests that take them apart.
#include "interfaces/device/osdfile.h"

#include <QByteArray>
#include <QDebug>
#include <QtEndian>

namespace OsdFileBytes {

// The file for the two lists; empty (with a warning) if the writer refuses them.
inline QByteArray encoded(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources)
{
    QByteArray bytes;
    OsdFileError error;
    if (!OsdFile::encode(records, sources, &bytes, &error))
        qWarning() << "encode failed:" << error.message();
    return bytes;
}

inline void putU32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

} // namespace OsdFileBytes
