#include "layouticons.h"

#include "palette.h"

#include <QPainterPath>
#include <QTransform>

namespace {

// An alignment icon: the accent guide line the items align to and two bars of different length
// against it, all on whole pixels so the 1x images stay sharp. Drawn for the horizontal alignments (a
// vertical guide); the vertical alignments are the same drawing mirrored about the diagonal, so the two sets
// match exactly.
void drawAlign(QPainter &p, int guideLeft, int longStart, int shortStart, bool transposed)
{
    p.save();
    if (transposed)
        p.setTransform(QTransform(0, 1, 1, 0, 0, 0), true);
    QPainterPath bars;
    bars.addRect(longStart, 3, 10, 4);
    bars.addRect(shortStart, 9, 6, 4);
    p.fillPath(bars, Palette::line());
    QPainterPath guide;
    guide.addRect(guideLeft, 1, 2, 14);
    p.fillPath(guide, Palette::accent());
    p.restore();
}

} // namespace

namespace LayoutIcons {

// A screen with three overlays on it, the topmost in the accent colour.
void drawOverview(QPainter &p)
{
    QPainterPath screen;
    screen.addRoundedRect(QRectF(3, 5, 24, 17), 2, 2);
    p.strokePath(screen, Palette::stroke(2));
    QPainterPath stand;
    stand.moveTo(11, 26);
    stand.lineTo(19, 26);
    stand.moveTo(15, 22);
    stand.lineTo(15, 26);
    p.strokePath(stand, Palette::stroke(2));

    QPainterPath back;
    back.addRect(7, 9, 8, 5);
    back.addRect(16, 15, 7, 4);
    p.fillPath(back, Palette::dim());
    QPainterPath front;
    front.addRect(11, 12, 8, 5);
    p.fillPath(front, Palette::accent());
}

void drawAlignLeft(QPainter &p)
{
    drawAlign(p, 1, 4, 4, false);
}

void drawAlignHCenter(QPainter &p)
{
    drawAlign(p, 7, 3, 5, false);
}

void drawAlignRight(QPainter &p)
{
    drawAlign(p, 13, 3, 7, false);
}

void drawAlignTop(QPainter &p)
{
    drawAlign(p, 1, 4, 4, true);
}

void drawAlignVCenter(QPainter &p)
{
    drawAlign(p, 7, 3, 5, true);
}

void drawAlignBottom(QPainter &p)
{
    drawAlign(p, 13, 3, 7, true);
}

} // namespace LayoutIcons
