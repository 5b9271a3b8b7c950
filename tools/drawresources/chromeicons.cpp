#include "chromeicons.h"

#include "palette.h"

#include <QPainterPath>

namespace {
enum class Direction
{
    Down = 0,
    Left = 90,
    Up = 180,
    Right = 270
};

// Every arrow is the downward one turned about the centre of the 16 x 16 cell; quarter turns
// about a pixel corner keep the drawing on the pixel grid. `outward` moves the chevron
// towards the end of the bar it points to.
void drawArrow(QPainter &p, Direction direction, const QColor &colour, qreal outward = 0)
{
    p.save();
    p.translate(8, 8);
    p.rotate(static_cast<int>(direction));
    p.translate(-8, -8 + outward);
    QPainterPath chevron;
    chevron.moveTo(4.5, 6.25);
    chevron.lineTo(8, 9.75);
    chevron.lineTo(11.5, 6.25);
    p.strokePath(chevron, Palette::stroke(2.0, colour));
    p.restore();
}

// `rect` is given for the downward arrow and turned with it.
void drawWell(QPainter &p, Direction direction, const QColor &colour,
              const QRectF &rect = QRectF(1, 1, 14, 14))
{
    p.save();
    p.translate(8, 8);
    p.rotate(static_cast<int>(direction));
    p.translate(-8, -8);
    QPainterPath well;
    well.addRoundedRect(rect, 3, 3);
    p.fillPath(well, colour);
    p.restore();
}

// The cut panel's bars pad only 9 pixels for their 16-pixel buttons, so the handle slides
// over the inner part of each button; its arrow and well keep to the outer 9 pixels.
const qreal kCutArrowOutward = 3.25;
const QRectF kCutWell(1, 7, 14, 8.5);

void drawRestArrow(QPainter &p, Direction direction)
{
    drawArrow(p, direction, Palette::line());
}

// Held: a darker well under a brighter arrow, the same feedback as a pressed toolbar button.
void drawHeldArrow(QPainter &p, Direction direction)
{
    drawWell(p, direction, Palette::well());
    drawArrow(p, direction, Palette::bright());
}

void drawCutNormalArrow(QPainter &p, Direction direction)
{
    drawArrow(p, direction, Palette::dim(), kCutArrowOutward);
}

// Hover: the arrow lights up on a well in the colour of the cut panel's scroll handle.
void drawCutHoverArrow(QPainter &p, Direction direction)
{
    drawWell(p, direction, QColor(52, 52, 52), kCutWell);
    drawArrow(p, direction, Palette::bright(), kCutArrowOutward);
}

QPainterPath cross(const QPointF &centre, qreal half)
{
    QPainterPath path;
    path.moveTo(centre.x() - half, centre.y() - half);
    path.lineTo(centre.x() + half, centre.y() + half);
    path.moveTo(centre.x() + half, centre.y() - half);
    path.lineTo(centre.x() - half, centre.y() + half);
    return path;
}
} // namespace

namespace ChromeIcons {

void drawScrollLeftRest(QPainter &p)
{
    drawRestArrow(p, Direction::Left);
}
void drawScrollRightRest(QPainter &p)
{
    drawRestArrow(p, Direction::Right);
}
void drawScrollUpRest(QPainter &p)
{
    drawRestArrow(p, Direction::Up);
}
void drawScrollDownRest(QPainter &p)
{
    drawRestArrow(p, Direction::Down);
}
void drawScrollLeftHeld(QPainter &p)
{
    drawHeldArrow(p, Direction::Left);
}
void drawScrollRightHeld(QPainter &p)
{
    drawHeldArrow(p, Direction::Right);
}
void drawScrollUpHeld(QPainter &p)
{
    drawHeldArrow(p, Direction::Up);
}
void drawScrollDownHeld(QPainter &p)
{
    drawHeldArrow(p, Direction::Down);
}

void drawCutTopNormal(QPainter &p)
{
    drawCutNormalArrow(p, Direction::Up);
}
void drawCutBottomNormal(QPainter &p)
{
    drawCutNormalArrow(p, Direction::Down);
}
void drawCutLeftNormal(QPainter &p)
{
    drawCutNormalArrow(p, Direction::Left);
}
void drawCutRightNormal(QPainter &p)
{
    drawCutNormalArrow(p, Direction::Right);
}
void drawCutTopHover(QPainter &p)
{
    drawCutHoverArrow(p, Direction::Up);
}
void drawCutBottomHover(QPainter &p)
{
    drawCutHoverArrow(p, Direction::Down);
}
void drawCutLeftHover(QPainter &p)
{
    drawCutHoverArrow(p, Direction::Left);
}
void drawCutRightHover(QPainter &p)
{
    drawCutHoverArrow(p, Direction::Right);
}

// Accent orange, because the same file marks a dark check box and a light platform menu.
void drawChecked(QPainter &p)
{
    QPainterPath tick;
    tick.moveTo(3.5, 8.5);
    tick.lineTo(6.5, 11.5);
    tick.lineTo(12.5, 4.5);
    p.strokePath(tick, Palette::stroke(2.5, Palette::accent()));
}

void drawTabClose(QPainter &p)
{
    p.strokePath(cross(QPointF(8, 8), 3.5), Palette::stroke(1.75));
}

void drawTabCloseHover(QPainter &p)
{
    QPainterPath disc;
    disc.addEllipse(QPointF(8, 8), 7, 7);
    p.fillPath(disc, Palette::accent());
    p.strokePath(cross(QPointF(8, 8), 3), Palette::stroke(1.75, Palette::bright()));
}

void drawTabAdd(QPainter &p)
{
    QPainterPath plus;
    plus.moveTo(3, 8);
    plus.lineTo(13, 8);
    plus.moveTo(8, 3);
    plus.lineTo(8, 13);
    p.strokePath(plus, QPen(Palette::line(), 2, Qt::SolidLine, Qt::FlatCap));
}

// A waste bin: the corner button empties the whole tab list. Pixel-aligned 1-unit lines keep
// it legible at 16 x 16; the lid carries the accent, as the part that moves.
void drawTabRemoveAll(QPainter &p)
{
    QPainterPath lid;
    lid.moveTo(2.5, 4.5);
    lid.lineTo(13.5, 4.5);
    lid.moveTo(6.5, 4.5);
    lid.lineTo(6.5, 2.5);
    lid.lineTo(9.5, 2.5);
    lid.lineTo(9.5, 4.5);
    p.strokePath(lid, QPen(Palette::accent(), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));

    QPainterPath bin;
    bin.moveTo(4.5, 6.5);
    bin.lineTo(4.5, 14.5);
    bin.lineTo(11.5, 14.5);
    bin.lineTo(11.5, 6.5);
    bin.moveTo(6.5, 7.5);
    bin.lineTo(6.5, 12.5);
    bin.moveTo(9.5, 7.5);
    bin.lineTo(9.5, 12.5);
    p.strokePath(bin, QPen(Palette::line(), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

void drawComboDown(QPainter &p)
{
    QPainterPath chevron;
    chevron.moveTo(2.5, 4.5);
    chevron.lineTo(6, 8);
    chevron.lineTo(9.5, 4.5);
    p.strokePath(chevron, Palette::stroke(1.5));
}

// The spin boxes' step buttons: small chevrons on the dark field.
void drawSpinUp(QPainter &p)
{
    QPainterPath chevron;
    chevron.moveTo(0.5, 5);
    chevron.lineTo(4, 1.5);
    chevron.lineTo(7.5, 5);
    p.strokePath(chevron, Palette::stroke(1.5));
}

void drawSpinDown(QPainter &p)
{
    QPainterPath chevron;
    chevron.moveTo(0.5, 2);
    chevron.lineTo(4, 5.5);
    chevron.lineTo(7.5, 2);
    p.strokePath(chevron, Palette::stroke(1.5));
}

// A dark tile, so the icon stays visible on light and dark title bars, with the two crop
// corners: the light one is the picture, the accent one the chosen window.
void drawCutWindowIcon(QPainter &p)
{
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.fillPath(tile, QColor(48, 48, 48));
    p.strokePath(tile, QPen(QColor(24, 24, 24), 1.0));

    QPainterPath picture;
    picture.moveTo(5, 2);
    picture.lineTo(5, 11);
    picture.lineTo(14, 11);
    p.strokePath(picture, QPen(Palette::line(), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));

    QPainterPath window;
    window.moveTo(2, 5);
    window.lineTo(11, 5);
    window.lineTo(11, 14);
    p.strokePath(window, QPen(Palette::accent(), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
}

} // namespace ChromeIcons
