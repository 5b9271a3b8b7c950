#include "interfaces/device/osdfilewriter.h"

#include "interfaces/device/osdfile.h"
#include "interfaces/model/videocontrolosd.h"

#include <QBuffer>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>

namespace {

QString tr(const char *text)
{
    return QString::fromUtf8(text);
}

QString tooLarge(qint64 limit)
{
    return tr("文件过大（超过 %1 字节的上限）").arg(limit);
}

// Pixel data go to the checksum and to the device a megabyte at a time, so that each piece is
// still in the cache when the device copies it.
constexpr qint64 PieceSize = 1024 * 1024;

} // namespace

bool OsdFileWriter::fail(QString *error, const QString &reason)
{
    if (m_failure.isEmpty())
        m_failure = reason;
    if (error)
        *error = m_failure;
    if (auto *file = qobject_cast<QSaveFile *>(m_device))
        file->cancelWriting();
    return false;
}

bool OsdFileWriter::put(const char *data, qint64 size, QString *error)
{
    while (size > 0) {
        const qint64 piece = qMin(size, PieceSize);
        m_crc = OsdFile::crc32(data, piece, m_crc);
        for (qint64 done = 0; done < piece;) {
            const qint64 n = m_device->write(data + done, piece - done);
            if (n <= 0)
                return fail(error, tr("写入失败（%1）").arg(m_device->errorString()));
            done += n;
        }
        m_written += piece;
        data += piece;
        size -= piece;
    }
    return true;
}

bool OsdFileWriter::begin(QIODevice *device, int count, qint64 totalLength, QString *error)
{
    m_device = device;
    m_count = count;
    m_total = totalLength;
    m_appended = 0;
    m_written = 0;
    m_crc = 0;
    m_failure.clear();
    if (totalLength > OsdFile::MaxFileSize)
        return fail(error, tooLarge(OsdFile::MaxFileSize));
    // Every record takes at least its fixed fields.
    const qint64 least =
        OsdFile::HeaderSize + OsdFile::TrailerSize + qint64(count) * OsdFile::pictureRecordSize(0, 0);
    if (count < 0 || totalLength < least)
        return fail(error, tr("文件长度 %1 容不下 %2 条记录").arg(totalLength).arg(count));
    if (!device->isOpen() && !device->open(QIODevice::WriteOnly))
        return fail(error, tr("无法创建文件（%1）").arg(device->errorString()));
    // An in-memory target is sized once.
    if (auto *buffer = qobject_cast<QBuffer *>(device)) {
        if (totalLength > OsdFile::MaxInMemorySize)
            return fail(error, tooLarge(OsdFile::MaxInMemorySize));
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

bool OsdFileWriter::append(const VideoControlOSD *record, const SourceData *source, QString *error)
{
    if (!m_failure.isEmpty() || !m_device)
        return fail(error, m_failure.isEmpty() ? tr("文件尚未开始写入") : m_failure);
    if (m_appended >= m_count)
        return fail(error, tr("记录多于文件头所写的 %1 条").arg(m_count));
    QByteArray fields;
    QByteArray sourceBytes;
    QString problem;
    if (!OsdFile::encodeRecordFrame(m_appended, record, source, &fields, &sourceBytes, &problem))
        return fail(error, problem);
    const QByteArray &pixels = record->image();
    const qint64 size = fields.size() + pixels.size() + sourceBytes.size();
    if (m_written + size + OsdFile::TrailerSize > m_total)
        return fail(error, tr("第 %1 条记录（%2 字节）超出文件头所写的文件长度 %3 字节")
                               .arg(m_appended + 1)
                               .arg(size)
                               .arg(m_total));
    if (!put(fields.constData(), fields.size(), error) || !put(pixels.constData(), pixels.size(), error) ||
        !put(sourceBytes.constData(), sourceBytes.size(), error))
        return false;
    ++m_appended;
    return true;
}

bool OsdFileWriter::finish(QString *error)
{
    if (!m_failure.isEmpty() || !m_device)
        return fail(error, m_failure.isEmpty() ? tr("文件尚未开始写入") : m_failure);
    if (m_appended != m_count)
        return fail(error, tr("只写了 %1 条记录，文件头写的是 %2 条").arg(m_appended).arg(m_count));
    if (m_written + OsdFile::TrailerSize != m_total)
        return fail(error, tr("记录共 %1 字节，与文件头所写的文件长度 %2 字节不符")
                               .arg(m_written - OsdFile::HeaderSize)
                               .arg(m_total));
    char trailer[OsdFile::TrailerSize];
    qToLittleEndian<quint32>(m_crc, trailer);
    if (!put(trailer, sizeof trailer, error))
        return false;
    if (auto *file = qobject_cast<QSaveFile *>(m_device)) {
        // Renames the temporary file over the target once everything is on the disk.
        if (!file->commit())
            return fail(error, tr("写入失败（%1）").arg(file->errorString()));
    }
    return true;
}

void OsdFileWriter::cancel()
{
    if (auto *file = qobject_cast<QSaveFile *>(m_device))
        file->cancelWriting();
    if (m_failure.isEmpty())
        m_failure = tr("写入已取消");
}

// -------------------------------------------------------------------------------------------------
// The one writer behind OsdFile::encode and OsdFile::write.

qint64 OsdFile::encodedRecordSize(int index, const VideoControlOSD *record, const SourceData *source,
                                  QString *error)
{
    QByteArray fields;
    QByteArray sourceBytes;
    if (!encodeRecordFrame(index, record, source, &fields, &sourceBytes, error))
        return -1;
    return fields.size() + record->image().size() + sourceBytes.size();
}

bool OsdFile::writeTo(QIODevice *device, const QList<VideoControlOSD *> &records,
                      const QList<SourceData *> &sources, qint64 limit, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (records.size() != sources.size())
        return fail(tr("记录数 %1 与文字数据数 %2 不一致").arg(records.size()).arg(sources.size()));

    // Check everything and add up the exact size before the first byte is written, so that a
    // record that cannot be stored leaves the target untouched and the header can state the length.
    qint64 total = HeaderSize + TrailerSize;
    for (int i = 0; i < records.size(); ++i) {
        const qint64 size = encodedRecordSize(i, records.at(i), sources.at(i), error);
        if (size < 0)
            return false;
        total += size;
        if (total > limit)
            return fail(tooLarge(limit));
    }

    OsdFileWriter writer;
    if (!writer.begin(device, records.size(), total, error))
        return false;
    for (int i = 0; i < records.size(); ++i) {
        if (!writer.append(records.at(i), sources.at(i), error))
            return false;
    }
    return writer.finish(error);
}
