#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

class QPainter;

// The application's icon for the desktop: one drawing in a 256 x 256 box, rendered as the PNGs of
// the hicolor theme and written as its scalable SVG. At 16 and 24 pixels the drawing is not scaled
// down but set pixel by pixel on the same plan, so its lines stay sharp and one pixel wide.
namespace AppIcon {

const int kBox = 256;

// The pixel sizes of the theme's PNGs.
QVector<int> pngSizes();

void draw(QPainter &p);

// The theme's PNG of that size: the pixel-aligned drawing at 16 and 24, the scaled one above.
QImage render(int size);

// The same drawing through Qt's SVG painter, so the scalable icon cannot drift from the PNGs.
bool writeSvg(const QString &path);

} // namespace AppIcon

// The icon of the OSD files (.pic, .logo) in the hicolor theme's mimetypes folder: a page holding
// the application's screen with its overlays, drawn the same two ways.
namespace FileIcon {

// Named after the MIME types of packaging/brisklane-mime.xml ('/' becomes '-'), as the desktop
// looks them up.
QStringList names();

void draw(QPainter &p);

QImage render(int size);

bool writeSvg(const QString &path);

} // namespace FileIcon
