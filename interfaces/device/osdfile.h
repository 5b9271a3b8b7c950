#pragma once

#include "interfaces/device/osdfileerror.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>

class QIODevice;
class SourceData;
class VideoControlOSD;

// The OSD file (.pic and .logo share one layout, described in docs/osd-file-format.md): the records
// of the OSD list and, index for index, their text sources. encode() and decode() work on bytes
// only; write() and read() add the file system. Every failure comes with an OsdFileError, whose
// message() is a short reason for the operator that names the problem; the caller adds the file
// name.
class OsdFile
{
    Q_DECLARE_TR_FUNCTIONS(OsdFile)

public:
    static const char Magic[8];
    static constexpr quint16 FormatVersion = 1;
    // A file holds at most this many bytes: the largest length that the header's 32-bit length
    // field can state. read() and write() stream the file record by record, so a file of that size
    // never has to sit in memory in one piece.
    static constexpr qint64 MaxFileSize = qint64(0xFFFFFFFF);
    // encode() and decode() work on one QByteArray, which holds at most this many bytes.
    static constexpr qint64 MaxInMemorySize = qint64(0x7FFFFFFF) - 64;
    // One record's pixel data is one QByteArray; the limit keeps clear of QByteArray's own limit
    // (2 GiB less its header) on every platform.
    static constexpr qint64 MaxPixelDataSize = (qint64(1) << 31) - (qint64(1) << 20);
    // A text item's content and each font name take at most this many UTF-8 bytes.
    static constexpr qint64 MaxTextSize = qint64(1) << 24;
    // Width, height and completion width of a record lie in [0, MaxDimension] (or -1 for an unset
    // width or height).
    static constexpr int MaxDimension = 32768;
    static constexpr int HeaderSize = 20;
    static constexpr int TrailerSize = 4;

    // Records and sources decoded from a file. The object holds one reference on each record and
    // each non-null source (see SharedRecord) and lets go of them when it is cleared or destroyed.
    class Contents
    {
    public:
        Contents() = default;
        ~Contents();
        Contents(Contents &&other) noexcept;
        Contents &operator=(Contents &&other) noexcept;
        Contents(const Contents &) = delete;
        Contents &operator=(const Contents &) = delete;

        // Takes a reference on both (source may be null).
        void append(VideoControlOSD *record, SourceData *source);
        void clear();

        const QList<VideoControlOSD *> &records() const { return m_records; }
        const QList<SourceData *> &sources() const { return m_sources; }
        int count() const { return m_records.size(); }

    private:
        QList<VideoControlOSD *> m_records;
        QList<SourceData *> m_sources;
    };

    // The file's bytes for the two lists (same length; a null source marks a picture item).
    // false, with *error set, if the lists cannot be stored (see the format's valid ranges) or the
    // file would not fit into one QByteArray (MaxInMemorySize).
    static bool encode(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources,
                       QByteArray *out, OsdFileError *error);

    // Checks and decodes a whole file held in memory, with the same code that read() runs on a
    // file. Never touches the file system, so it is the entry point for fuzzing. On failure *out is
    // left empty and *error names the problem.
    static bool decode(const QByteArray &bytes, Contents *out, OsdFileError *error);

    // Atomic: an existing file is either replaced whole or left untouched. The records are
    // written one after the other straight from their pixel data; no copy of the whole file is
    // made.
    static bool write(const QString &fileName, const QList<VideoControlOSD *> &records,
                      const QList<SourceData *> &sources, OsdFileError *error);

    // Reads a regular file of at most MaxFileSize bytes through a small buffer; memory is taken
    // record by record, each piece only after its length has been checked against the bytes that
    // are left in the file.
    static bool read(const QString &fileName, Contents *out, OsdFileError *error);

    // Receives the records of a file one at a time, in file order, while it is read: the record and
    // its source (null for a picture item) live for the call; a sink that keeps them retains them
    // (SharedRecord).
    using RecordSink = std::function<void(int index, VideoControlOSD *record, SourceData *source)>;
    // What read() does, without keeping the records: memory is bounded by the largest record. The
    // file's checksum is checked after its last record, so a sink that acts on what it receives
    // scans a file first with one that acts on nothing: a damaged file is refused before anything
    // happens. The same refusals as read().
    static bool scan(const QString &fileName, const RecordSink &sink, OsdFileError *error);

    // The bytes a record takes in a file, or -1 with *error set (naming the record by index, its
    // place in the file from 0) when it cannot be stored.
    static qint64 encodedRecordSize(int index, const VideoControlOSD *record, const SourceData *source,
                                    OsdFileError *error);
    // The bytes a record without a text source takes for a picture of this height and completion
    // width, known before its pixel data are: for planning a file (OsdFileWriter).
    static qint64 pictureRecordSize(int height, int completionWidth);

private:
    friend class OsdFileWriter;

    // A checked record's bytes around its pixel data: its fields up to and including the pixel
    // data length, and its text source (empty without one); the refusal, naming the record by
    // index, when it cannot be stored.
    static OsdFileError encodeRecordFrame(int index, const VideoControlOSD *record, const SourceData *source,
                                          QByteArray *fields, QByteArray *sourceBytes);

    // The writer and the reader behind the public calls, on any device. writeTo() checks every
    // record before it opens the device (unless it is open already) and writes the first byte; it
    // streams through OsdFileWriter and commits a QSaveFile.
    // readFrom() reads size bytes from device and refuses a file that states a length above limit.
    static OsdFileError writeTo(QIODevice *device, const QList<VideoControlOSD *> &records,
                                const QList<SourceData *> &sources, qint64 limit);
    static OsdFileError readFrom(QIODevice *device, qint64 size, qint64 limit, Contents *out);
    static OsdFileError readFrom(QIODevice *device, qint64 size, qint64 limit, const RecordSink &sink);
    // The regular file fileName, opened for reading, with its size; or the refusal.
    static OsdFileError readFile(const QString &fileName, const RecordSink &sink);
};
