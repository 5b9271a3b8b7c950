#pragma once

#include "interfaces/device/osdfileerror.h"

#include <QString>
#include <QtGlobal>

class QIODevice;
class SourceData;
class VideoControlOSD;

// Writes an OSD file as a stream, one record at a time, for a caller who knows how many records the
// file gets and how many bytes each takes (OsdFile::encodedRecordSize, OsdFile::pictureRecordSize)
// before it has them: the header states both up front, so records can go out as they are made.
// Each record is checked against the limits of the format and against that plan as it comes; the
// checksum follows the bytes on their way. A QSaveFile device is committed by finish() and
// cancelled by any failure and by cancel(), so that a file is written whole or not at all.
class OsdFileWriter
{
public:
    // Opens device for writing unless it is open and writes the header of a file of count records
    // and totalLength bytes (header and checksum included).
    bool begin(QIODevice *device, int count, qint64 totalLength, OsdFileError *error);
    // The next record (source null for a picture item).
    bool append(const VideoControlOSD *record, const SourceData *source, OsdFileError *error);
    // Writes the checksum after the last record and commits a QSaveFile.
    bool finish(OsdFileError *error);
    // Abandons the file.
    void cancel();

    int appended() const { return m_appended; }
    // Why the file was refused (None while all is well); what every failing call gives through
    // error.
    const OsdFileError &failure() const { return m_failure; }

private:
    bool fail(OsdFileError *error, const OsdFileError &reason);
    bool put(const char *data, qint64 size, OsdFileError *error);

    QIODevice *m_device = nullptr;
    int m_count = 0;
    qint64 m_total = 0;
    int m_appended = 0;
    qint64 m_written = 0;
    quint32 m_crc = 0;
    // Set by the first failure; every later call repeats it.
    OsdFileError m_failure;
};
