#include "interfaces/project/projectfile_codec.h"

#include "core/pixels/pictureloader.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfile_codec.h"

#include <QBuffer>
#include <QColor>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

namespace ProjectFileCodec {

using namespace OsdFileCodec;

QByteArray colourBytes(const QColor &colour)
{
    const RawColor raw = rawColor(colour);
    QByteArray bytes(ColorSize, Qt::Uninitialized);
    auto *p = reinterpret_cast<uchar *>(bytes.data());
    p[0] = raw.spec;
    for (int i = 0; i < 5; ++i)
        qToLittleEndian<quint16>(raw.value[i], p + 1 + 2 * i);
    return bytes;
}

bool colourFromBytes(const QByteArray &bytes, QColor *colour)
{
    if (bytes.size() != ColorSize)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    RawColor raw;
    raw.spec = p[0];
    for (int i = 0; i < 5; ++i)
        raw.value[i] = qFromLittleEndian<quint16>(p + 1 + 2 * i);
    if (!validRawColor(raw))
        return false;
    *colour = colorFromRaw(raw);
    return true;
}

QByteArray fontBytes(const QFont &font)
{
    const FontFields f = fontFields(font);
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
    auto string = [&s](const QString &text) {
        const QByteArray utf8 = text.toUtf8();
        s << quint32(utf8.size());
        s.writeRawData(utf8.constData(), utf8.size());
    };
    s << f.resolveMask;
    string(f.family);
    string(f.styleName);
    s << quint32(f.families.size());
    for (const QString &family : f.families)
        string(family);
    s << f.pointSize << f.pixelSize << f.weight << f.style << f.styleHint << f.styleStrategy << f.stretch
      << f.capitalization << f.letterSpacingType << f.letterSpacing << f.wordSpacing << f.hintingPreference
      << f.flags;
    return bytes;
}

bool fontFromBytes(const QByteArray &bytes, QFont *font)
{
    QDataStream s(bytes);
    s.setByteOrder(QDataStream::LittleEndian);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
    bool ok = true;
    auto string = [&]() {
        quint32 size = 0;
        s >> size;
        const qint64 left = bytes.size() - s.device()->pos();
        if (s.status() != QDataStream::Ok || size > OsdFile::MaxTextSize || qint64(size) > left) {
            ok = false;
            return QString();
        }
        QByteArray utf8(int(size), Qt::Uninitialized);
        s.readRawData(utf8.data(), int(size));
        if (!isValidUtf8(utf8.constData(), utf8.size()))
            ok = false;
        return QString::fromUtf8(utf8);
    };
    FontFields f;
    s >> f.resolveMask;
    f.family = string();
    f.styleName = string();
    quint32 count = 0;
    s >> count;
    // Each name takes at least its length field.
    if (!ok || qint64(count) * 4 > bytes.size())
        return false;
    for (quint32 i = 0; i < count && ok; ++i)
        f.families.append(string());
    s >> f.pointSize >> f.pixelSize >> f.weight >> f.style >> f.styleHint >> f.styleStrategy >> f.stretch >>
        f.capitalization >> f.letterSpacingType >> f.letterSpacing >> f.wordSpacing >> f.hintingPreference >>
        f.flags;
    if (!ok || s.status() != QDataStream::Ok || !s.atEnd() || fontFieldsProblem(f).isError())
        return false;
    *font = fontFromFields(f);
    return true;
}

bool storablePixels(const QImage &image)
{
    return !image.isNull() && (image.depth() == 32 || image.depth() == 24) &&
           image.width() <= PictureLoader::MaxSide && image.height() <= PictureLoader::MaxSide &&
           qint64(image.width()) * image.height() <= PictureLoader::MaxPixels;
}

QByteArray pixelsBytes(const QImage &image)
{
    const QImage relabelled(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                            image.depth() == 24 ? QImage::Format_RGB888 : QImage::Format_ARGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Fast deflate: these are rendered texts and imported records, rarely large.
    writer.setQuality(80);
    writer.write(relabelled);
    return bytes;
}

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace ProjectFileCodec
