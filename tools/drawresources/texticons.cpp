#include "texticons.h"

#include "palette.h"

#include <QPainterPath>

namespace TextIcons {

// A heavy capital B: stem and two bowls, the lower one a little wider as in a printed B.
void drawBold(QPainter &p)
{
    QPainterPath letter;
    letter.moveTo(10, 16);
    letter.lineTo(10, 6);
    letter.lineTo(16.5, 6);
    letter.arcTo(QRectF(12, 6, 9, 10), 90, -180);
    letter.lineTo(10, 16);
    letter.lineTo(10, 26);
    letter.lineTo(17.5, 26);
    letter.arcTo(QRectF(12.5, 16, 10, 10), -90, 180);
    letter.lineTo(10, 16);
    p.strokePath(letter, QPen(Palette::line(), 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

// A slanted serif capital I.
void drawItalic(QPainter &p)
{
    QPainterPath letter;
    letter.moveTo(15, 6);
    letter.lineTo(24, 6);
    letter.moveTo(8, 26);
    letter.lineTo(17, 26);
    letter.moveTo(19.5, 6);
    letter.lineTo(12.5, 26);
    p.strokePath(letter, QPen(Palette::line(), 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
}

// A capital U over an accent underline.
void drawUnderline(QPainter &p)
{
    QPainterPath letter;
    letter.moveTo(10, 5);
    letter.lineTo(10, 16);
    letter.arcTo(QRectF(10, 10, 12, 12), 180, 180);
    letter.lineTo(22, 5);
    p.strokePath(letter, QPen(Palette::line(), 3, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));

    QPainterPath underline;
    underline.moveTo(7, 27);
    underline.lineTo(25, 27);
    p.strokePath(underline, QPen(Palette::accent(), 2, Qt::SolidLine, Qt::FlatCap));
}

// Send to hardware: an accent arrow going down into the screen of the display device.
void drawSend(QPainter &p)
{
    QPainterPath screen;
    screen.moveTo(12, 8);
    screen.lineTo(6, 8);
    screen.quadTo(4, 8, 4, 10);
    screen.lineTo(4, 21);
    screen.quadTo(4, 23, 6, 23);
    screen.lineTo(26, 23);
    screen.quadTo(28, 23, 28, 21);
    screen.lineTo(28, 10);
    screen.quadTo(28, 8, 26, 8);
    screen.lineTo(20, 8);
    screen.moveTo(16, 23);
    screen.lineTo(16, 27);
    screen.moveTo(11, 27);
    screen.lineTo(21, 27);
    p.strokePath(screen, Palette::stroke(2));

    QPainterPath arrow;
    arrow.moveTo(16, 3);
    arrow.lineTo(16, 17);
    arrow.moveTo(11.5, 12.5);
    arrow.lineTo(16, 17);
    arrow.lineTo(20.5, 12.5);
    p.strokePath(arrow, Palette::stroke(2.5, Palette::accent()));
}

} // namespace TextIcons
