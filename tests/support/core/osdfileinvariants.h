#pragma once

// What must hold for any bytes given to OsdFile::decode, checked by the fuzz target on every input
// and by tests/tst_fuzzregressions.cpp on the inputs the fuzzer once broke it with.
#include "core/files/checksum.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QByteArray>
#include <QDataStream>
#include <QString>
#include <QtEndian>

namespace OsdFileInvariants {

// Bit for bit, as stored: colours that compare equal may still differ in their stored form, and
// QColor's own comparison fails on values that are not numbers.
inline QByteArray colorBits(const QColor &color)
{
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_5_15);
    s << color;
    return bytes;
}

#define OSD_INVARIANT(condition)                                                                             \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            return QStringLiteral("line %1: %2").arg(__LINE__).arg(QLatin1String(#condition));               \
    } while (false)

inline QString sameRecords(const VideoControlOSD *a, const VideoControlOSD *b)
{
    OSD_INVARIANT(a->image() == b->image());
    OSD_INVARIANT(a->size() == b->size());
    OSD_INVARIANT(a->completionImageWidth() == b->completionImageWidth());
    OSD_INVARIANT(a->OSDFileLength() == b->OSDFileLength());
    OSD_INVARIANT(a->location() == b->location());
    OSD_INVARIANT(a->CutImageSize().topLeft() == b->CutImageSize().topLeft());
    OSD_INVARIANT(a->CutImageSize().bottomRight() == b->CutImageSize().bottomRight());
    OSD_INVARIANT(a->IsEnableCutImage() == b->IsEnableCutImage());
    OSD_INVARIANT(a->IsCanEnableCut() == b->IsCanEnableCut());
    OSD_INVARIANT(a->IsAvailable() == b->IsAvailable());
    OSD_INVARIANT(a->red() == b->red() && a->green() == b->green() && a->blue() == b->blue());
    OSD_INVARIANT(colorBits(a->selectColor()) == colorBits(b->selectColor()));
    OSD_INVARIANT(a->selectColor() == b->selectColor());
    OSD_INVARIANT(a->IsSelectColor() == b->IsSelectColor());
    return QString();
}

inline QString sameSources(const SourceData *a, const SourceData *b)
{
    OSD_INVARIANT((a == nullptr) == (b == nullptr));
    if (!a)
        return QString();
    OSD_INVARIANT(a->getContent() == b->getContent());
    OSD_INVARIANT(a->getTextFont() == b->getTextFont());
    OSD_INVARIANT(a->getTextFont().resolve() == b->getTextFont().resolve());
    OSD_INVARIANT(colorBits(a->getTextColor()) == colorBits(b->getTextColor()));
    OSD_INVARIANT(a->getTextColor() == b->getTextColor());
    return QString();
}

// What a decoded record promises to its users: the import rebuilds images from these fields.
inline QString usableRecord(const VideoControlOSD *r)
{
    OSD_INVARIANT(r != nullptr);
    OSD_INVARIANT(r->holderCount() == 1);
    OSD_INVARIANT(r->pImageValue() == nullptr);
    const QSize size = r->size();
    OSD_INVARIANT(size.width() >= -1 && size.width() <= OsdFile::MaxDimension);
    OSD_INVARIANT(size.height() >= -1 && size.height() <= OsdFile::MaxDimension);
    OSD_INVARIANT(r->completionImageWidth() >= 0 && r->completionImageWidth() <= OsdFile::MaxDimension);
    const qint64 expected = size.height() > 0 ? qint64(size.height()) * r->completionImageWidth() * 3 : 0;
    OSD_INVARIANT(r->image().size() == expected);
    OSD_INVARIANT(r->selectColor() == r->selectColor());
    return QString();
}

// Decodes bytes and checks the outcome. A refusal comes with a reason (about the file or about a
// record the header announced) and leaves nothing behind; whatever is accepted survives the writer
// and comes back equal, and one round through the writer is a fixed point. Every record made on the way is
// freed again. Returns the first broken invariant, or an empty string; *accepted tells whether the bytes were
// read.
inline QString check(const QByteArray &bytes, bool *accepted = nullptr)
{
    const int live = SharedRecord::liveCount();
    QString broken;
    {
        OsdFile::Contents contents;
        OsdFileError error;
        const bool ok = OsdFile::decode(bytes, &contents, &error);
        if (accepted)
            *accepted = ok;
        OSD_INVARIANT(ok != error.isError());
        if (!ok) {
            OSD_INVARIANT(!error.message().isEmpty());
            // A refusal about a record names one that the header announced.
            OSD_INVARIANT(error.record >= -1);
            OSD_INVARIANT(error.record == -1 ||
                          (bytes.size() >= OsdFile::HeaderSize &&
                           error.record < qint64(qFromLittleEndian<quint32>(bytes.constData() + 16))));
            OSD_INVARIANT(contents.count() == 0 && contents.sources().isEmpty());
        } else {
            OSD_INVARIANT(contents.records().size() == contents.sources().size());
            for (int i = 0; i < contents.count() && broken.isEmpty(); ++i) {
                broken = usableRecord(contents.records().at(i));
                if (const SourceData *s = contents.sources().at(i))
                    OSD_INVARIANT(s->holderCount() == 1);
            }
            if (!broken.isEmpty())
                return broken;

            QByteArray again;
            OsdFileError writeError;
            OSD_INVARIANT(OsdFile::encode(contents.records(), contents.sources(), &again, &writeError));
            OsdFile::Contents reread;
            OsdFileError readError;
            OSD_INVARIANT(OsdFile::decode(again, &reread, &readError));
            OSD_INVARIANT(reread.count() == contents.count());
            for (int i = 0; i < contents.count() && broken.isEmpty(); ++i) {
                broken = sameRecords(reread.records().at(i), contents.records().at(i));
                if (broken.isEmpty())
                    broken = sameSources(reread.sources().at(i), contents.sources().at(i));
            }
            if (!broken.isEmpty())
                return broken;
            QByteArray third;
            OSD_INVARIANT(OsdFile::encode(reread.records(), reread.sources(), &third, &writeError));
            OSD_INVARIANT(third == again);
        }
    }
    OSD_INVARIANT(SharedRecord::liveCount() == live);
    return QString();
}

#undef OSD_INVARIANT

// Most changes to a file break its stated length or its checksum, which the reader checks first.
// The same bytes with both set right again reach the record fields.
inline QByteArray resealed(const QByteArray &bytes)
{
    if (bytes.size() < OsdFile::HeaderSize + OsdFile::TrailerSize)
        return bytes;
    QByteArray sealed(bytes.constData(), bytes.size());
    char field[4];
    qToLittleEndian(quint32(sealed.size()), field);
    sealed.replace(12, 4, field, 4);
    qToLittleEndian(Checksum::crc32(sealed.constData(), sealed.size() - OsdFile::TrailerSize), field);
    sealed.replace(sealed.size() - OsdFile::TrailerSize, 4, field, 4);
    return sealed;
}

} // namespace OsdFileInvariants
