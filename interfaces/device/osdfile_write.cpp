#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfile_codec.h"
#include "interfaces/device/osdfilewriter.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QBuffer>
#include <QtEndian>

#include <cstring>
#include <utility>

using namespace OsdFileCodec;

namespace {

// A record's fields and its text source are gathered into bytes here; the pixel data between them
// go to the device straight from the record (OsdFileWriter).
class Output
{
public:
    explicit Output(QByteArray *out) : m_out(out) {}

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
    void raw(const char *data, qint64 size) { m_out->append(data, int(size)); }

private:
    QByteArray *m_out;
};

struct EncodedSource
{
    QByteArray content;
    FontFields font;
    QByteArray family;
    QByteArray styleName;
    QList<QByteArray> families;
    RawColor color;
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

// The record's fields up to and including the length of its pixel data.
void writeRecordFields(Output &w, const VideoControlOSD *r, const EncodedSource *e)
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
    w.u32(quint32(r->image().size()));
}

void writeSource(Output &w, const EncodedSource *e)
{
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

qint64 OsdFile::pictureRecordSize(int height, int completionWidth)
{
    return RecordFixedSize + expectedPixelBytes(height, completionWidth);
}

OsdFileError OsdFile::encodeRecordFrame(int index, const VideoControlOSD *record, const SourceData *source,
                                        QByteArray *fields, QByteArray *sourceBytes)
{
    fields->clear();
    sourceBytes->clear();
    if (!record)
        return OsdFileError(OsdFileError::NullRecord).atRecord(index);
    const OsdFileError problem = recordProblem(record);
    if (problem.isError())
        return problem.atRecord(index);
    EncodedSource encoded;
    if (source) {
        const OsdFileError sourceProblem = encodeSource(source, &encoded);
        if (sourceProblem.isError())
            return sourceProblem.atRecord(index);
    }
    const EncodedSource *e = source ? &encoded : nullptr;
    Output f(fields);
    writeRecordFields(f, record, e);
    if (e) {
        Output w(sourceBytes);
        writeSource(w, e);
    }
    return OsdFileError();
}

qint64 OsdFile::encodedRecordSize(int index, const VideoControlOSD *record, const SourceData *source,
                                  OsdFileError *error)
{
    QByteArray fields;
    QByteArray sourceBytes;
    OsdFileError problem = encodeRecordFrame(index, record, source, &fields, &sourceBytes);
    if (problem.isError()) {
        if (error)
            *error = std::move(problem);
        return -1;
    }
    return fields.size() + record->image().size() + sourceBytes.size();
}

// The one writer behind encode() and write(): every record is checked and the exact size added
// up before the first byte is written, so that a record that cannot be stored leaves the target
// untouched and the header can state the length.
OsdFileError OsdFile::writeTo(QIODevice *device, const QList<VideoControlOSD *> &records,
                              const QList<SourceData *> &sources, qint64 limit)
{
    if (records.size() != sources.size())
        return {OsdFileError::ListsDiffer, {records.size(), sources.size()}};

    qint64 total = HeaderSize + TrailerSize;
    for (int i = 0; i < records.size(); ++i) {
        OsdFileError problem;
        const qint64 size = encodedRecordSize(i, records.at(i), sources.at(i), &problem);
        if (size < 0)
            return problem;
        total += size;
        if (total > limit)
            return {OsdFileError::FileTooLarge, {-1, limit}};
    }

    OsdFileWriter writer;
    bool ok = writer.begin(device, records.size(), total, nullptr);
    for (int i = 0; ok && i < records.size(); ++i)
        ok = writer.append(records.at(i), sources.at(i), nullptr);
    ok = ok && writer.finish(nullptr);
    return ok ? OsdFileError() : writer.failure();
}
