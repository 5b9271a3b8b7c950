#include "appicon.h"

#include "palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

namespace {
// Lines as thick as the 16-pixel icon can still show as one pixel.
const qreal kLine = 16.0;
} // namespace

namespace AppIcon {

QVector<int> pngSizes()
{
    return {16, 24, 32, 48, 64, 128, 256};
}

// A dark tile holding the device's screen with an overlay bar and a logo on it, in the editor's
// grey line art and its orange accent.
void draw(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);

    QPainterPath tile;
    tile.addRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
    QLinearGradient shade(0, 8, 0, 248);
    shade.setColorAt(0, QColor(72, 72, 72));
    shade.setColorAt(1, QColor(38, 38, 38));
    p.fillPath(tile, shade);

    QPainterPath screen;
    screen.addRoundedRect(QRectF(40, 52, 176, 124), 12, 12);
    p.fillPath(screen, Palette::well());
    p.strokePath(screen, Palette::stroke(kLine));

    QPainterPath stand;
    stand.moveTo(128, 184);
    stand.lineTo(128, 204);
    stand.moveTo(88, 208);
    stand.lineTo(168, 208);
    p.strokePath(stand, Palette::stroke(kLine));

    // The overlays the editor places: a text bar along the bottom and a logo in the top corner.
    QPainterPath bar;
    bar.addRoundedRect(QRectF(60, 132, 104, 26), 6, 6);
    p.fillPath(bar, Palette::accent());
    QPainterPath logo;
    logo.addRoundedRect(QRectF(164, 72, 32, 32), 6, 6);
    p.fillPath(logo, Palette::bright());
}

QImage render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(qreal(size) / kBox, qreal(size) / kBox);
    draw(p);
    p.end();
    return image;
}

bool writeSvg(const QString &path)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(kBox, kBox));
    svg.setViewBox(QRect(0, 0, kBox, kBox));
    svg.setTitle(QStringLiteral("Brisklane"));
    QPainter p;
    if (!p.begin(&svg))
        return false;
    draw(p);
    return p.end();
}

} // namespace AppIcon
