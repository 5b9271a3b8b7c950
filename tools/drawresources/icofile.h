#pragma once

#include <QImage>
#include <QString>
#include <QVector>

// A Windows icon file (.ico) holding several sizes of one icon: 32-bit bitmaps with their masks up
// to 128 pixels, which every Windows version and the NSIS installer read, and PNG for 256, as
// Windows Vista and later take it. Written here because Qt's ICO writer stores one image only.
namespace IcoFile {

bool write(const QString &path, const QVector<QImage> &images);

} // namespace IcoFile
