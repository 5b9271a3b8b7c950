#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <QtGlobal>

// Loads the picture file of a new picture item. A file is refused, with a reason for the operator,
// when it is not a picture Qt can read, when its header states a size beyond the limits (checked
// before anything is decoded, so a small file cannot make the editor allocate gigabytes), or when
// its data turn out to be damaged or cut short while it is decoded.
class PictureLoader
{
    Q_DECLARE_TR_FUNCTIONS(PictureLoader)

public:
    // Width and height each at most MaxSide, and at most MaxPixels pixels in all (8192 x 8192:
    // 256 MiB once decoded at 4 bytes per pixel; the item keeps several copies of it).
    static constexpr int MaxSide = 16384;
    static constexpr qint64 MaxPixels = qint64(8192) * 8192;
    // A picture file takes at most the bytes of a 16-bit RGBA picture of MaxPixels stored
    // uncompressed, and a megabyte for its headers; larger files are refused before they are read.
    static constexpr qint64 MaxFileSize = MaxPixels * 8 + (qint64(1) << 20);

    // The picture, or a null image with *reason set (without the file name, which the caller adds).
    // Pictures may be loaded on several threads at once.
    // With original set, the file is read whole and *original gets its bytes as they were read
    // (only when the picture is given), so that a project can keep the picture as given.
    static QImage load(const QString &fileName, QString *reason, QByteArray *original = nullptr);
    // The same checks and decoding for a picture file's bytes held in memory; name is only for
    // diagnostics.
    static QImage decode(const QByteArray &bytes, QString *reason, const QString &name = QString());

    // The size the picture file's header states, read without decoding a pixel (the height of a
    // top-down BMP made positive); invalid when the file is not a picture Qt can read or states no
    // size. A picture that load() gives has exactly this size.
    static QSize statedSize(const QString &fileName);
};
