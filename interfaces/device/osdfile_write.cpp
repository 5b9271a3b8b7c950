#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfile_codec.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QBuffer>
#include <QtEndian>

#include <cstring>
#include <utility>
#include <vector>

using namespace OsdFileCodec;

namespace {

// Every byte of a file goes out through this: small fields are gathered in a buffer, pixel data
// goes to the device in one piece, and the checksum follows both.
class Output
{
public:
    explicit Output(QIODevice *device) : m_device(device) { m_buffer.reserve(BufferSize); }

    bool failed() const { return m_failed; }
    qint64 written() const { return m_written; }

    void u8(quint8 v) { raw(reinterpret_cast<const char *>(&v), 1); }
    void u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        raw(b, 2);
    }
    void u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        raw(b, 4);
    }
    void i32(qint32 v) { u32(quint32(v)); }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        char b[8];
        qToLittleEndian(bits, b);
        raw(b, 8);
    }
    void bytes(const QByteArray &b)
    {
        u32(quint32(b.size()));
        raw(b.constData(), b.size());
    }
    void color(const RawColor &c)
    {
        u8(c.spec);
        for (quint16 v : c.value)
            u16(v);
    }
    void raw(const char *data, qint64 size)
    {
        m_written += size;
        if (size >= BufferSize) {
            flush();
            send(data, size);
            return;
        }
        if (m_buffer.size() + size > BufferSize)
            flush();
        m_buffer.append(data, int(size));
    }
    // The checksum of everything written so far.
    quint32 crc()
    {
        flush();
        return m_crc;
    }
    void flush()
    {
        send(m_buffer.constData(), m_buffer.size());
        m_buffer.resize(0);
    }

private:
    static constexpr int BufferSize = 64 * 1024;
    static constexpr qint64 PieceSize = 1024 * 1024;

    // Piece by piece, so that each piece is still in the cache when the device copies it.
    void send(const char *data, qint64 size)
    {
        while (size > 0 && !m_failed) {
            const qint64 piece = qMin<qint64>(size, PieceSize);
            m_crc = OsdFile::crc32(data, piece, m_crc);
            for (qint64 done = 0; done < piece;) {
                const qint64 n = m_device->write(data + done, piece - done);
                if (n <= 0) {
                    m_failed = true;
                    return;
                }
                done += n;
            }
            data += piece;
            size -= piece;
        }
    }

    QIODevice *m_device;
    QByteArray m_buffer;
    quint32 m_crc = 0;
    qint64 m_written = 0;
    bool m_failed = false;
};

qint64 stringSize(const QByteArray &utf8)
{
    return 4 + utf8.size();
}

struct EncodedSource
{
    QByteArray content;
    FontFields font;
    QByteArray family;
    QByteArray styleName;
    QList<QByteArray> families;
    RawColor color;

    qint64 size() const
    {
        qint64 n = SourceMinSize + content.size() + family.size() + styleName.size();
        for (const QByteArray &f : families)
            n += stringSize(f);
        return n;
    }
};

OsdFileError recordProblem(const VideoControlOSD *r)
{
    const QSize size = r->size();
    if (!validDimension(size.width(), true) || !validDimension(size.height(), true))
        return {OsdFileError::BadSize, {size.width(), size.height()}};
    if (!validDimension(r->completionImageWidth(), false))
        return {OsdFileError::BadCompletionWidth, {r->completionImageWidth()}};
    const qint64 expected = expectedPixelBytes(size.height(), r->completionImageWidth());
    if (r->image().size() != expected)
        return {OsdFileError::PixelLengthMismatch, {r->image().size(), expected}};
    if (!validKeyValue(r->red()) || !validKeyValue(r->green()) || !validKeyValue(r->blue()))
        return {OsdFileError::BadKeyValues, {r->red(), r->green(), r->blue()}};
    if (!validRawColor(rawColor(r->selectColor())))
        return OsdFileError::BadFillColor;
    return OsdFileError();
}

OsdFileError encodeSource(const SourceData *s, EncodedSource *e)
{
    e->content = s->getContent().toUtf8();
    if (e->content.size() > OsdFile::MaxTextSize)
        return {OsdFileError::TextTooLong, {e->content.size(), OsdFile::MaxTextSize}};
    e->font = fontFields(s->getTextFont());
    const OsdFileError fontProblem = fontFieldsProblem(e->font);
    if (fontProblem.isError())
        return fontProblem;
    e->family = e->font.family.toUtf8();
    e->styleName = e->font.styleName.toUtf8();
    for (const QString &f : qAsConst(e->font.families))
        e->families.append(f.toUtf8());
    bool namesFit = e->family.size() <= OsdFile::MaxTextSize && e->styleName.size() <= OsdFile::MaxTextSize;
    for (const QByteArray &f : qAsConst(e->families))
        namesFit = namesFit && f.size() <= OsdFile::MaxTextSize;
    if (!namesFit)
        return {OsdFileError::FontNameTooLong, {OsdFile::MaxTextSize}};
    e->color = rawColor(s->getTextColor());
    if (!validRawColor(e->color))
        return OsdFileError::BadTextColor;
    return OsdFileError();
}

void writeRecord(Output &w, const VideoControlOSD *r, const EncodedSource *e)
{
    const quint8 flags = (r->IsEnableCutImage() ? EnableCutImageFlag : 0) |
                         (r->IsCanEnableCut() ? CanEnableCutFlag : 0) |
                         (r->IsAvailable() ? AvailableFlag : 0) | (r->IsSelectColor() ? SelectColorFlag : 0) |
                         (e ? HasSourceFlag : 0);
    w.u8(flags);
    w.i32(r->size().width());
    w.i32(r->size().height());
    w.i32(r->completionImageWidth());
    w.i32(r->OSDFileLength());
    w.i32(r->location().x());
    w.i32(r->location().y());
    const QRect cut = r->CutImageSize();
    w.i32(cut.left());
    w.i32(cut.top());
    w.i32(cut.right());
    w.i32(cut.bottom());
    w.i32(r->red());
    w.i32(r->green());
    w.i32(r->blue());
    w.color(rawColor(r->selectColor()));
    w.bytes(r->image());
    if (!e)
        return;

    w.bytes(e->content);
    w.u32(e->font.resolveMask);
    w.bytes(e->family);
    w.bytes(e->styleName);
    w.u32(quint32(e->families.size()));
    for (const QByteArray &f : e->families)
        w.bytes(f);
    w.f64(e->font.pointSize);
    w.i32(e->font.pixelSize);
    w.u8(e->font.weight);
    w.u8(e->font.style);
    w.u8(e->font.styleHint);
    w.u16(e->font.styleStrategy);
    w.u16(e->font.stretch);
    w.u8(e->font.capitalization);
    w.u8(e->font.letterSpacingType);
    w.f64(e->font.letterSpacing);
    w.f64(e->font.wordSpacing);
    w.u8(e->font.hintingPreference);
    w.u8(e->font.flags);
    w.color(e->color);
}

} // namespace

bool OsdFile::encode(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources,
                     QByteArray *out, OsdFileError *error)
{
    out->clear();
    QBuffer buffer(out);
    OsdFileError problem = writeTo(&buffer, records, sources, MaxInMemorySize);
    if (!problem.isError())
        return true;
    out->clear();
    if (error)
        *error = std::move(problem);
    return false;
}

bool OsdFile::encode(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources,
                     QByteArray *out, QString *error)
{
    OsdFileError problem;
    if (encode(records, sources, out, &problem))
        return true;
    if (error)
        *error = problem.message();
    return false;
}

OsdFileError OsdFile::writeTo(QIODevice *device, const QList<VideoControlOSD *> &records,
                              const QList<SourceData *> &sources, qint64 limit)
{
    if (records.size() != sources.size())
        return {OsdFileError::ListsDiffer, {records.size(), sources.size()}};

    // Check everything and add up the exact size before the first byte is written, so that a
    // record that cannot be stored leaves the target untouched and the header can state the length.
    std::vector<EncodedSource> encodedSources(size_t(records.size()));
    qint64 total = HeaderSize + TrailerSize;
    for (int i = 0; i < records.size(); ++i) {
        const VideoControlOSD *r = records.at(i);
        if (!r)
            return OsdFileError(OsdFileError::NullRecord).atRecord(i);
        const OsdFileError problem = recordProblem(r);
        if (problem.isError())
            return problem.atRecord(i);
        total += RecordFixedSize + r->image().size();
        if (const SourceData *s = sources.at(i)) {
            EncodedSource &e = encodedSources[size_t(i)];
            const OsdFileError sourceProblem = encodeSource(s, &e);
            if (sourceProblem.isError())
                return sourceProblem.atRecord(i);
            total += e.size();
        }
        if (total > limit)
            return {OsdFileError::FileTooLarge, {-1, limit}};
    }

    if (!device->isOpen() && !device->open(QIODevice::WriteOnly))
        return OsdFileError::fromSystem(OsdFileError::CannotCreate, device->errorString());
    // An in-memory target is sized once.
    if (auto *buffer = qobject_cast<QBuffer *>(device))
        buffer->buffer().reserve(int(total));

    Output w(device);
    w.raw(Magic, sizeof Magic);
    w.u16(FormatVersion);
    w.u16(0);
    w.u32(quint32(total));
    w.u32(quint32(records.size()));
    for (int i = 0; i < records.size(); ++i)
        writeRecord(w, records.at(i), sources.at(i) ? &encodedSources[size_t(i)] : nullptr);
    w.u32(w.crc());
    w.flush();
    if (w.failed())
        return OsdFileError::fromSystem(OsdFileError::WriteFailed, device->errorString());
    Q_ASSERT(w.written() == total);
    return OsdFileError();
}
