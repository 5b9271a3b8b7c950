#pragma once

#include <QImage>
#include <QString>
#include <QVector>

class QPainter;

// The application's icon for the desktop: one drawing in a 256 x 256 box, rendered as the PNGs of
// the hicolor theme and written as its scalable SVG.
namespace AppIcon {

const int kBox = 256;

// The pixel sizes of the theme's PNGs.
QVector<int> pngSizes();

void draw(QPainter &p);

QImage render(int size);

// The same drawing through Qt's SVG painter, so the scalable icon cannot drift from the PNGs.
bool writeSvg(const QString &path);

} // namespace AppIcon
