#include "appicon.h"

#include "palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>

namespace {
// Lines as thick as the 16-pixel icon can still show as one pixel.
const qreal kLine = 16.0;

// The plan of the small icons, in whole pixels: where the scaled drawing's pieces fall, moved onto
// the pixel grid so that no edge is smeared over two pixels.
struct SmallPlan
{
    QVector<int> cornerInsets; // pixels cut from the ends of the first and last rows
    QRect screen;              // outlined, one pixel
    QRect bar;
    QRect logo;
    QRect stem;
    QRect base;
};

SmallPlan smallPlan(int size)
{
    if (size == 16)
        return {{2, 1},
                QRect(2, 2, 12, 9),
                QRect(4, 7, 5, 2),
                QRect(10, 4, 2, 2),
                QRect(7, 11, 2, 2),
                QRect(5, 13, 6, 1)};
    return {{3, 1, 1},          QRect(3, 3, 18, 14), QRect(5, 11, 9, 3),
            QRect(15, 6, 3, 3), QRect(11, 17, 2, 2), QRect(7, 19, 10, 1)};
}

// The tile's grey at row y, the scaled drawing's gradient sampled at the row's centre.
QColor tileShade(int y, int size)
{
    const qreal t = (y + 0.5) / size;
    const int grey = qRound(72 + (38 - 72) * t);
    return QColor(grey, grey, grey);
}

// One-pixel frame inside rect.
void frame(QImage &image, const QRect &rect, const QColor &colour)
{
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), colour);
    p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), colour);
    p.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), colour);
    p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), colour);
}

QImage renderSmall(int size)
{
    const SmallPlan plan = smallPlan(size);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // The rounded tile, row by row.
    for (int y = 0; y < size; ++y) {
        const int fromEnd = std::min(y, size - 1 - y);
        const int inset = fromEnd < plan.cornerInsets.size() ? plan.cornerInsets.at(fromEnd) : 0;
        for (int x = inset; x < size - inset; ++x)
            image.setPixelColor(x, y, tileShade(y, size));
    }
    QPainter p(&image);
    p.fillRect(plan.screen, Palette::well());
    p.end();
    frame(image, plan.screen, Palette::line());
    p.begin(&image);
    p.fillRect(plan.stem, Palette::line());
    p.fillRect(plan.base, Palette::line());
    p.fillRect(plan.bar, Palette::accent());
    p.fillRect(plan.logo, Palette::bright());
    return image;
}

QImage renderScaled(void (*drawing)(QPainter &), int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(qreal(size) / AppIcon::kBox, qreal(size) / AppIcon::kBox);
    drawing(p);
    p.end();
    return image;
}

bool writeSvgOf(void (*drawing)(QPainter &), const QString &path, const QString &title)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(AppIcon::kBox, AppIcon::kBox));
    svg.setViewBox(QRect(0, 0, AppIcon::kBox, AppIcon::kBox));
    svg.setTitle(title);
    QPainter p;
    if (!p.begin(&svg))
        return false;
    drawing(p);
    return p.end();
}

const QColor kPage(236, 236, 236);
const QColor kPageEdge(150, 150, 150);
const QColor kFold(200, 200, 200);

// The small file icons: a page with its top-right corner folded, and on it the screen with the bar
// and the logo; every part on whole pixels.
QImage renderSmallFile(int size)
{
    const bool tiny = size == 16;
    const QRect page = tiny ? QRect(2, 0, 12, 16) : QRect(3, 0, 18, 24);
    const int fold = tiny ? 4 : 6;
    const QRect screen = tiny ? QRect(4, 6, 8, 7) : QRect(5, 9, 14, 11);
    const QRect bar = tiny ? QRect(5, 10, 4, 2) : QRect(7, 15, 7, 3);
    const QRect logo = tiny ? QRect(9, 7, 2, 2) : QRect(14, 11, 3, 3);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = page.top(); y <= page.bottom(); ++y) {
        for (int x = page.left(); x <= page.right(); ++x) {
            if (x > page.right() - fold && y < page.top() + fold) {
                // In the corner's square: above the diagonal is cut away, on it is the edge, below it
                // the folded flap, edged on its left and bottom.
                const int u = x - (page.right() - fold + 1);
                const int v = y - page.top();
                if (u > v)
                    continue;
                const bool flapEdge = u == v || u == 0 || v == fold - 1;
                image.setPixelColor(x, y, flapEdge ? kPageEdge : kFold);
                continue;
            }
            const bool edge = x == page.left() || x == page.right() || y == page.top() || y == page.bottom();
            image.setPixelColor(x, y, edge ? kPageEdge : kPage);
        }
    }
    QPainter p(&image);
    p.fillRect(screen, Palette::well());
    p.fillRect(bar, Palette::accent());
    p.fillRect(logo, Palette::bright());
    return image;
}
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
    if (size == 16 || size == 24)
        return renderSmall(size);
    return renderScaled(draw, size);
}

bool writeSvg(const QString &path)
{
    return writeSvgOf(draw, path, QStringLiteral("Brisklane"));
}

} // namespace AppIcon

namespace FileIcon {

QStringList names()
{
    return {QStringLiteral("application-x-brisklane-pic"), QStringLiteral("application-x-brisklane-logo")};
}

void draw(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    // The page, its top-right corner folded over.
    QPainterPath page;
    page.moveTo(40, 12);
    page.lineTo(168, 12);
    page.lineTo(216, 60);
    page.lineTo(216, 244);
    page.lineTo(40, 244);
    page.closeSubpath();
    p.fillPath(page, kPage);
    p.strokePath(page, Palette::stroke(kLine / 2, kPageEdge));
    QPainterPath flap;
    flap.moveTo(168, 12);
    flap.lineTo(168, 60);
    flap.lineTo(216, 60);
    flap.closeSubpath();
    p.fillPath(flap, kFold);
    p.strokePath(flap, Palette::stroke(kLine / 2, kPageEdge));

    // The editor's screen with its overlays, as on the application's icon.
    QPainterPath screen;
    screen.addRoundedRect(QRectF(64, 100, 128, 112), 10, 10);
    p.fillPath(screen, Palette::well());
    QPainterPath bar;
    bar.addRoundedRect(QRectF(80, 168, 76, 24), 5, 5);
    p.fillPath(bar, Palette::accent());
    QPainterPath logo;
    logo.addRoundedRect(QRectF(150, 116, 28, 28), 5, 5);
    p.fillPath(logo, Palette::bright());
}

QImage render(int size)
{
    if (size == 16 || size == 24)
        return renderSmallFile(size);
    return renderScaled(draw, size);
}

bool writeSvg(const QString &path)
{
    return writeSvgOf(draw, path, QStringLiteral("Brisklane OSD file"));
}

} // namespace FileIcon
