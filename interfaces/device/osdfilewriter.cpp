#include "interfaces/device/osdfilewriter.h"

#include "core/files/checksum.h"
#include "core/files/safefile.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/videocontrolosd.h"

#include <QBuffer>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>

namespace {

// Pixel data go to the checksum and to the device a megabyte at a time, so that each piece is
// still in the cache when the device copies it.
constexpr qint64 PieceSize = 1024 * 1024;

} // namespace

bool OsdFileWriter::fail(OsdFileError *error, const OsdFileError &reason)
{
    if (!m_failure.isError())
        m_failure = reason;
    if (error)
        *error = m_failure;
    if (auto *file = qobject_cast<QSaveFile *>(m_device))
        file->cancelWriting();
    return false;
}

bool OsdFileWriter::put(const char *data, qint64 size, OsdFileError *error)
{
    while (size > 0) {
        const qint64 piece = qMin(size, PieceSize);
        m_crc = Checksum::crc32(data, piece, m_crc);
        for (qint64 done = 0; done < piece;) {
            const qint64 n = m_device->write(data + done, piece - done);
            if (n <= 0) {
                auto *file = qobject_cast<QSaveFile *>(m_device);
                return fail(error, OsdFileError::fromSystem(OsdFileError::WriteFailed,
                                                            file ? SafeFile::writeFailure(file)
                                                                 : m_device->errorString()));
            }
            done += n;
        }
        m_written += piece;
        data += piece;
        size -= piece;
    }
    return true;
}

bool OsdFileWriter::begin(QIODevice *device, int count, qint64 totalLength, OsdFileError *error)
{
    m_device = device;
    m_count = count;
    m_total = totalLength;
    m_appended = 0;
    m_written = 0;
    m_crc = 0;
    m_failure = OsdFileError();
    if (totalLength > OsdFile::MaxFileSize)
        return fail(error, {OsdFileError::FileTooLarge, {totalLength, OsdFile::MaxFileSize}});
    // Every record takes at least its fixed fields.
    const qint64 least =
        OsdFile::HeaderSize + OsdFile::TrailerSize + qint64(count) * OsdFile::pictureRecordSize(0, 0);
    if (count < 0 || totalLength < least)
        return fail(error, {OsdFileError::LengthBelowCount, {totalLength, count}});
    if (!device->isOpen()) {
        // A file is checked before it is opened: what is not a regular file is never replaced.
        QString reason;
        auto *file = qobject_cast<QSaveFile *>(device);
        if (file ? !SafeFile::open(file, &reason) : !device->open(QIODevice::WriteOnly))
            return fail(error, OsdFileError::fromSystem(OsdFileError::CannotCreate,
                                                        file ? reason : device->errorString()));
    }
    // An in-memory target is sized once.
    if (auto *buffer = qobject_cast<QBuffer *>(device)) {
        if (totalLength > OsdFile::MaxInMemorySize)
            return fail(error, {OsdFileError::FileTooLarge, {totalLength, OsdFile::MaxInMemorySize}});
        buffer->buffer().reserve(int(totalLength));
    }

    char header[OsdFile::HeaderSize];
    std::copy(OsdFile::Magic, OsdFile::Magic + sizeof OsdFile::Magic, header);
    qToLittleEndian<quint16>(OsdFile::FormatVersion, header + 8);
    qToLittleEndian<quint16>(0, header + 10);
    qToLittleEndian<quint32>(quint32(totalLength), header + 12);
    qToLittleEndian<quint32>(quint32(count), header + 16);
    return put(header, sizeof header, error);
}

bool OsdFileWriter::append(const VideoControlOSD *record, const SourceData *source, OsdFileError *error)
{
    if (m_failure.isError() || !m_device)
        return fail(error, m_failure.isError() ? m_failure : OsdFileError(OsdFileError::NotStarted));
    if (m_appended >= m_count)
        return fail(error, {OsdFileError::MoreRecordsThanStated, {m_count}});
    QByteArray fields;
    QByteArray sourceBytes;
    const OsdFileError problem =
        OsdFile::encodeRecordFrame(m_appended, record, source, &fields, &sourceBytes);
    if (problem.isError())
        return fail(error, problem);
    const QByteArray &pixels = record->image();
    const qint64 size = fields.size() + pixels.size() + sourceBytes.size();
    if (m_written + size + OsdFile::TrailerSize > m_total)
        return fail(error,
                    OsdFileError(OsdFileError::RecordPastStatedLength, {size, m_total}).atRecord(m_appended));
    if (!put(fields.constData(), fields.size(), error) || !put(pixels.constData(), pixels.size(), error) ||
        !put(sourceBytes.constData(), sourceBytes.size(), error))
        return false;
    ++m_appended;
    return true;
}

bool OsdFileWriter::finish(OsdFileError *error)
{
    if (m_failure.isError() || !m_device)
        return fail(error, m_failure.isError() ? m_failure : OsdFileError(OsdFileError::NotStarted));
    if (m_appended != m_count)
        return fail(error, {OsdFileError::FewerRecordsThanStated, {m_appended, m_count}});
    if (m_written + OsdFile::TrailerSize != m_total)
        return fail(error,
                    {OsdFileError::RecordsShortOfStatedLength, {m_written - OsdFile::HeaderSize, m_total}});
    char trailer[OsdFile::TrailerSize];
    qToLittleEndian<quint32>(m_crc, trailer);
    if (!put(trailer, sizeof trailer, error))
        return false;
    if (auto *file = qobject_cast<QSaveFile *>(m_device)) {
        // Renames the temporary file over the target once everything is on the disk.
        QString reason;
        if (!SafeFile::commit(file, &reason))
            return fail(error, OsdFileError::fromSystem(OsdFileError::WriteFailed, reason));
    }
    return true;
}

void OsdFileWriter::cancel()
{
    if (auto *file = qobject_cast<QSaveFile *>(m_device))
        file->cancelWriting();
    if (!m_failure.isError())
        m_failure = OsdFileError::Cancelled;
}
