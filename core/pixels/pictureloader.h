#pragma once

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

    // The picture, or a null image with *reason set (without the file name, which the caller adds).
    // Pictures may be loaded on several threads at once.
    static QImage load(const QString &fileName, QString *reason);

    // The size the picture file's header states, read without decoding a pixel (the height of a
    // top-down BMP made positive); invalid when the file is not a picture Qt can read or states no
    // size. A picture that load() gives has exactly this size.
    static QSize statedSize(const QString &fileName);
};
