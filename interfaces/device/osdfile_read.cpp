#include "core/files/checksum.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfile_codec.h"
#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QBuffer>
#include <QtEndian>

#include <cstring>
#include <memory>
#include <new>
#include <utility>

using namespace OsdFileCodec;

namespace {

// Every byte of a file comes in through this, at most size bytes in all, through a buffer of fixed
// size; pixel data is read straight into its own array. The checksum follows every byte taken
// before the checksum field.
class Input
{
public:
    Input(QIODevice *device, qint64 size) : m_device(device), m_size(size), m_end(size) {}

    // Bytes left before the end of what is checked: the checksum field once the header has been
    // read, the end of the file before that.
    qint64 remaining() const { return m_end - m_pos; }
    // From now on the last trailerSize bytes are the checksum field.
    void reserveTrailer(qint64 trailerSize) { m_end = m_size - trailerSize; }

    // A read or device failure: the file changed under the reader or could not be read.
    bool failed() const { return m_failure.isError(); }
    OsdFileError failure() const { return m_failure; }
    quint32 crc() const { return m_crc; }

    // Exactly size bytes, or nothing is taken and false comes back.
    bool read(char *data, qint64 size)
    {
        if (size > remaining() || failed())
            return false;
        take(data, size, true);
        return !failed();
    }
    bool u8(quint8 *v) { return read(reinterpret_cast<char *>(v), 1); }
    bool u16(quint16 *v)
    {
        char b[2];
        if (!read(b, 2))
            return false;
        *v = qFromLittleEndian<quint16>(b);
        return true;
    }
    bool u32(quint32 *v)
    {
        char b[4];
        if (!read(b, 4))
            return false;
        *v = qFromLittleEndian<quint32>(b);
        return true;
    }
    bool i32(qint32 *v)
    {
        quint32 u;
        if (!u32(&u))
            return false;
        *v = qint32(u);
        return true;
    }
    bool f64(double *v)
    {
        char b[8];
        if (!read(b, 8))
            return false;
        const quint64 bits = qFromLittleEndian<quint64>(b);
        std::memcpy(v, &bits, sizeof bits);
        return true;
    }
    bool color(RawColor *c)
    {
        if (!u8(&c->spec))
            return false;
        for (quint16 &v : c->value) {
            if (!u16(&v))
                return false;
        }
        return true;
    }

    // Takes everything up to the checksum field into the checksum, a buffer at a time.
    bool skipRest()
    {
        while (remaining() > 0 && !failed()) {
            const int n = int(qMin<qint64>(remaining(), BufferSize));
            if (m_bufferPos == m_buffer.size() && !refill())
                return false;
            const int available = qMin(n, m_buffer.size() - m_bufferPos);
            m_crc = Checksum::crc32(m_buffer.constData() + m_bufferPos, available, m_crc);
            m_bufferPos += available;
            m_pos += available;
        }
        return !failed();
    }

    // The checksum field, which the checksum does not cover.
    bool trailer(quint32 *v)
    {
        if (m_pos != m_end || m_size - m_pos != 4 || failed())
            return false;
        char b[4];
        take(b, 4, false);
        if (failed())
            return false;
        *v = qFromLittleEndian<quint32>(b);
        return true;
    }

private:
    static constexpr int BufferSize = 64 * 1024;
    static constexpr qint64 PieceSize = 1024 * 1024;

    // Large pieces go from the device straight into data, a piece at a time, and are added to the
    // checksum while they are still in the cache.
    void take(char *data, qint64 size, bool checked)
    {
        m_pos += size;
        const int fromBuffer = int(qMin<qint64>(size, m_buffer.size() - m_bufferPos));
        if (fromBuffer > 0) {
            std::memcpy(data, m_buffer.constData() + m_bufferPos, size_t(fromBuffer));
            if (checked)
                m_crc = Checksum::crc32(data, fromBuffer, m_crc);
            m_bufferPos += fromBuffer;
            data += fromBuffer;
            size -= fromBuffer;
        }
        while (size >= BufferSize) {
            const qint64 piece = qMin<qint64>(size, PieceSize);
            if (!pull(data, piece))
                return;
            if (checked)
                m_crc = Checksum::crc32(data, piece, m_crc);
            data += piece;
            size -= piece;
        }
        if (size > 0 && refill()) {
            std::memcpy(data, m_buffer.constData(), size_t(size));
            if (checked)
                m_crc = Checksum::crc32(data, size, m_crc);
            m_bufferPos = int(size);
        }
    }

    bool refill()
    {
        const int n = int(qMin<qint64>(BufferSize, m_size - m_pulled));
        m_buffer.resize(n);
        m_bufferPos = 0;
        return pull(m_buffer.data(), n);
    }

    // Reads exactly size bytes from the device; never more than the file held when it was opened.
    bool pull(char *data, qint64 size)
    {
        if (size > m_size - m_pulled) {
            m_failure = OsdFileError::ShrankWhileReading;
            return false;
        }
        while (size > 0) {
            const qint64 n = m_device->read(data, size);
            if (n < 0) {
                m_failure = OsdFileError::fromSystem(OsdFileError::ReadFailed, m_device->errorString());
                return false;
            }
            if (n == 0) {
                m_failure = OsdFileError::ShrankWhileReading;
                return false;
            }
            data += n;
            size -= n;
            m_pulled += n;
        }
        return true;
    }

    QIODevice *m_device;
    const qint64 m_size;
    qint64 m_end;
    qint64 m_pos = 0;
    qint64 m_pulled = 0;
    QByteArray m_buffer;
    int m_bufferPos = 0;
    quint32 m_crc = 0;
    OsdFileError m_failure;
};

enum class TextResult
{
    Ok,
    Truncated,
    TooLong,
    BadUtf8
};

// A length-prefixed string; the length is checked against the limit and the bytes that are left
// before anything is allocated.
TextResult readText(Input &in, QString *text)
{
    quint32 length = 0;
    if (!in.u32(&length))
        return TextResult::Truncated;
    if (length > in.remaining())
        return TextResult::Truncated;
    if (length > OsdFile::MaxTextSize)
        return TextResult::TooLong;
    QByteArray utf8(int(length), Qt::Uninitialized);
    if (!in.read(utf8.data(), length))
        return TextResult::Truncated;
    if (!isValidUtf8(utf8.constData(), length))
        return TextResult::BadUtf8;
    // With its length: QString::fromUtf8(QByteArray) would stop at the first zero.
    *text = QString::fromUtf8(utf8.constData(), utf8.size());
    return TextResult::Ok;
}

// The error for a text that could not be read; none for TextResult::Ok.
OsdFileError textProblem(TextResult result, OsdFileError::Code tooLong, OsdFileError::Code badUtf8)
{
    switch (result) {
    case TextResult::Truncated:
        return OsdFileError::SourcePastEnd;
    case TextResult::TooLong:
        // The text's own length is not given, only the limit.
        if (tooLong == OsdFileError::TextTooLong)
            return {tooLong, {-1, OsdFile::MaxTextSize}};
        return {tooLong, {OsdFile::MaxTextSize}};
    case TextResult::BadUtf8:
        return badUtf8;
    case TextResult::Ok:
        break;
    }
    return OsdFileError();
}

// Decodes one text source.
OsdFileError readSource(Input &in, std::unique_ptr<SourceData> *out)
{
    const OsdFileError truncated = OsdFileError::SourcePastEnd;
    QString content;
    OsdFileError problem =
        textProblem(readText(in, &content), OsdFileError::TextTooLong, OsdFileError::TextNotUtf8);
    if (problem.isError())
        return problem;

    FontFields f;
    if (!in.u32(&f.resolveMask))
        return truncated;
    for (QString *s : {&f.family, &f.styleName}) {
        problem = textProblem(readText(in, s), OsdFileError::FontNameTooLong, OsdFileError::FontNameNotUtf8);
        if (problem.isError())
            return problem;
    }
    quint32 familyCount = 0;
    if (!in.u32(&familyCount))
        return truncated;
    // Each name takes at least its 4-byte length.
    if (familyCount > in.remaining() / 4)
        return {OsdFileError::FontNameCountMismatch, {familyCount}};
    for (quint32 k = 0; k < familyCount; ++k) {
        QString name;
        problem =
            textProblem(readText(in, &name), OsdFileError::FontNameTooLong, OsdFileError::FontNameNotUtf8);
        if (problem.isError())
            return problem;
        f.families.append(name);
    }
    if (!in.f64(&f.pointSize) || !in.i32(&f.pixelSize) || !in.u8(&f.weight) || !in.u8(&f.style) ||
        !in.u8(&f.styleHint) || !in.u16(&f.styleStrategy) || !in.u16(&f.stretch) ||
        !in.u8(&f.capitalization) || !in.u8(&f.letterSpacingType) || !in.f64(&f.letterSpacing) ||
        !in.f64(&f.wordSpacing) || !in.u8(&f.hintingPreference) || !in.u8(&f.flags))
        return truncated;
    const OsdFileError fontProblem = fontFieldsProblem(f);
    if (fontProblem.isError())
        return fontProblem;

    RawColor color;
    if (!in.color(&color))
        return truncated;
    if (!validRawColor(color))
        return OsdFileError::BadTextColor;

    auto source = std::make_unique<SourceData>();
    source->setContent(content);
    source->setTextFont(fontFromFields(f));
    source->setTextColor(colorFromRaw(color));
    *out = std::move(source);
    return OsdFileError();
}

// Decodes one record with its source. Nothing is allocated for the
// pixel data before its length has been checked against the limit and the bytes that are left.
OsdFileError readRecord(Input &in, std::unique_ptr<VideoControlOSD> *recordOut,
                        std::unique_ptr<SourceData> *sourceOut)
{
    const OsdFileError truncated = OsdFileError::DataPastEnd;
    quint8 flags = 0;
    qint32 width = 0, height = 0, completionWidth = 0, fileLength = 0, x = 0, y = 0;
    qint32 left = 0, top = 0, right = 0, bottom = 0, red = 0, green = 0, blue = 0;
    RawColor fill;
    if (!in.u8(&flags) || !in.i32(&width) || !in.i32(&height) || !in.i32(&completionWidth) ||
        !in.i32(&fileLength) || !in.i32(&x) || !in.i32(&y) || !in.i32(&left) || !in.i32(&top) ||
        !in.i32(&right) || !in.i32(&bottom) || !in.i32(&red) || !in.i32(&green) || !in.i32(&blue) ||
        !in.color(&fill))
        return truncated;
    if (flags & ~KnownRecordFlags)
        return {OsdFileError::BadRecordFlags, {flags}};
    if (!validDimension(width, true) || !validDimension(height, true))
        return {OsdFileError::BadSize, {width, height}};
    if (!validDimension(completionWidth, false))
        return {OsdFileError::BadCompletionWidth, {completionWidth}};
    if (!validKeyValue(red) || !validKeyValue(green) || !validKeyValue(blue))
        return {OsdFileError::BadKeyValues, {red, green, blue}};
    if (!validRawColor(fill))
        return OsdFileError::BadFillColor;

    quint32 pixelLength = 0;
    if (!in.u32(&pixelLength))
        return truncated;
    const qint64 expected = expectedPixelBytes(height, completionWidth);
    if (pixelLength != expected)
        return {OsdFileError::PixelLengthMismatch, {pixelLength, expected}};
    if (pixelLength > in.remaining())
        return OsdFileError::PixelDataPastEnd;
    if (pixelLength > OsdFile::MaxPixelDataSize)
        return {OsdFileError::PixelDataTooLarge, {pixelLength, OsdFile::MaxPixelDataSize}};
    QByteArray pixels(int(pixelLength), Qt::Uninitialized);
    if (!in.read(pixels.data(), pixelLength))
        return OsdFileError::PixelDataPastEnd;

    std::unique_ptr<SourceData> source;
    if (flags & HasSourceFlag) {
        const OsdFileError problem = readSource(in, &source);
        if (problem.isError())
            return problem;
    }

    auto record = std::make_unique<VideoControlOSD>();
    record->setImage(pixels);
    record->setSize(QSize(width, height));
    record->setCompletionImageWidth(completionWidth);
    record->setOSDFileLength(fileLength);
    record->setLocation(QPoint(x, y));
    record->setCutImageSize(QRect(QPoint(left, top), QPoint(right, bottom)));
    record->setIsEnableCutImage(flags & EnableCutImageFlag);
    record->setIsCanEnableCut(flags & CanEnableCutFlag);
    record->setIsAvailable(flags & AvailableFlag);
    record->setRed(red);
    record->setGreen(green);
    record->setBlue(blue);
    record->setSelectColor(colorFromRaw(fill));
    record->setIsSelectColor(flags & SelectColorFlag);
    *recordOut = std::move(record);
    *sourceOut = std::move(source);
    return OsdFileError();
}

// The records after the header, each handed to sink as soon as it is read.
OsdFileError readRecords(Input &in, qint64 count, const OsdFile::RecordSink &sink)
{
    if (count > in.remaining() / RecordFixedSize)
        return {OsdFileError::RecordCountMismatch, {count}};
    for (qint64 i = 0; i < count; ++i) {
        std::unique_ptr<VideoControlOSD> record;
        std::unique_ptr<SourceData> source;
        const OsdFileError problem = readRecord(in, &record, &source);
        if (problem.isError())
            return problem.atRecord(int(i));
        // Held for the call; a sink that keeps them takes references of its own.
        VideoControlOSD *r = record.release();
        SourceData *s = source.release();
        SharedRecord::retain(r);
        SharedRecord::retain(s);
        struct Release
        {
            VideoControlOSD *r;
            SourceData *s;
            ~Release()
            {
                SharedRecord::release(r);
                SharedRecord::release(s);
            }
        } release{r, s};
        sink(int(i), r, s);
    }
    if (in.remaining() != 0)
        return {OsdFileError::BytesAfterRecords, {in.remaining()}};
    return OsdFileError();
}

} // namespace

bool OsdFile::decode(const QByteArray &bytes, Contents *out, OsdFileError *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    OsdFileError problem = readFrom(&buffer, bytes.size(), MaxInMemorySize, out);
    const bool ok = !problem.isError();
    if (error)
        *error = std::move(problem);
    return ok;
}

OsdFileError OsdFile::readFrom(QIODevice *device, qint64 size, qint64 limit, Contents *out)
{
    out->clear();
    Contents result;
    OsdFileError problem =
        readFrom(device, size, limit, [&result](int, VideoControlOSD *record, SourceData *source) {
            result.append(record, source);
        });
    if (!problem.isError())
        *out = std::move(result);
    return problem;
}

OsdFileError OsdFile::readFrom(QIODevice *device, qint64 size, qint64 limit, const RecordSink &sink)
{
    try {
        if (size <= 0)
            return OsdFileError::Empty;
        Input in(device, size);
        char header[HeaderSize];
        const qint64 magicSize = qMin<qint64>(size, sizeof Magic);
        if (!in.read(header, magicSize))
            return in.failure();
        if (std::memcmp(header, Magic, size_t(magicSize)) != 0)
            return OsdFileError::NotOsdFile;
        if (size < HeaderSize + TrailerSize)
            return {OsdFileError::HeaderTruncated, {size}};
        if (!in.read(header + sizeof Magic, HeaderSize - sizeof Magic))
            return in.failure();
        const quint16 version = qFromLittleEndian<quint16>(header + 8);
        if (version != FormatVersion)
            return {OsdFileError::UnsupportedVersion, {version, FormatVersion}};
        if (qFromLittleEndian<quint16>(header + 10) != 0)
            return OsdFileError::BadHeaderFlags;
        const qint64 declared = qFromLittleEndian<quint32>(header + 12);
        if (declared > limit)
            return {OsdFileError::FileTooLarge, {declared, limit}};
        if (size < declared)
            return {OsdFileError::Truncated, {declared, size}};
        if (size > declared)
            return {OsdFileError::ExtraBytes, {declared, size}};
        in.reserveTrailer(TrailerSize);

        const OsdFileError problem = readRecords(in, qFromLittleEndian<quint32>(header + 16), sink);
        if (in.failed())
            return in.failure();
        // A damaged file is reported as damaged, whichever field the damage happened to hit first:
        // the checksum decides between a damaged file and one written wrong.
        if (problem.isError() && !in.skipRest())
            return in.failure();
        quint32 stored = 0;
        if (!in.trailer(&stored))
            return in.failed() ? in.failure() : OsdFileError(OsdFileError::DataPastEnd);
        if (stored != in.crc())
            return OsdFileError::ChecksumMismatch;
        return problem;
    } catch (const std::bad_alloc &) {
        return OsdFileError::OutOfMemory;
    }
}
