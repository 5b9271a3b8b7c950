#include "toolbaricons.h"

#include "palette.h"

#include <QPainterPath>

// Lines are 2 units wide on whole-unit coordinates, so they land on pixel edges at 1x and 2x.
namespace {
const qreal kLine = 2.0;

// The open tray shared by import and export: the arrow direction is the only difference.
void drawTray(QPainter &p)
{
    QPainterPath tray;
    tray.moveTo(5, 17);
    tray.lineTo(5, 23);
    tray.quadTo(5, 25, 7, 25);
    tray.lineTo(23, 25);
    tray.quadTo(25, 25, 25, 23);
    tray.lineTo(25, 17);
    p.strokePath(tray, Palette::stroke(kLine));
}

void drawVerticalArrow(QPainter &p, qreal tail, qreal tip)
{
    const qreal head = tip < tail ? 5.0 : -5.0;
    QPainterPath arrow;
    arrow.moveTo(15, tail);
    arrow.lineTo(15, tip);
    arrow.moveTo(10, tip + head);
    arrow.lineTo(15, tip);
    arrow.lineTo(20, tip + head);
    p.strokePath(arrow, Palette::stroke(kLine, Palette::accent()));
}
} // namespace

namespace ToolbarIcons {

// A fresh page with an accent plus: start over with an empty list.
void drawNew(QPainter &p)
{
    QPainterPath page;
    page.moveTo(18, 4);
    page.lineTo(9, 4);
    page.quadTo(7, 4, 7, 6);
    page.lineTo(7, 24);
    page.quadTo(7, 26, 9, 26);
    page.lineTo(21, 26);
    page.quadTo(23, 26, 23, 24);
    page.lineTo(23, 9);
    page.closeSubpath();
    page.moveTo(18, 4);
    page.lineTo(18, 9);
    page.lineTo(23, 9);
    p.strokePath(page, Palette::stroke(kLine));

    const QPointF centre(22, 22);
    QPainterPath gap;
    gap.addEllipse(centre, 7.5, 7.5);
    Palette::knockOut(p, gap);
    QPainterPath badge;
    badge.addEllipse(centre, 6, 6);
    p.fillPath(badge, Palette::accent());
    QPainterPath plus;
    plus.moveTo(centre.x() - 3, centre.y());
    plus.lineTo(centre.x() + 3, centre.y());
    plus.moveTo(centre.x(), centre.y() - 3);
    plus.lineTo(centre.x(), centre.y() + 3);
    p.strokePath(plus, Palette::stroke(kLine, Palette::bright()));
}

// Arrow down into the tray: files come in.
void drawImport(QPainter &p)
{
    drawTray(p);
    drawVerticalArrow(p, 4, 19);
}

// Arrow up out of the tray: the list goes out into a file.
void drawExport(QPainter &p)
{
    drawTray(p);
    drawVerticalArrow(p, 20, 4);
}

// A framed landscape with the sun in the accent colour.
void drawPicture(QPainter &p)
{
    const QRectF frame(4, 6, 22, 18);
    QPainterPath outline;
    outline.addRoundedRect(frame, 2.5, 2.5);

    p.save();
    p.setClipPath(outline);
    QPainterPath hills;
    hills.moveTo(3, 23);
    hills.lineTo(11, 15);
    hills.lineTo(17, 21);
    hills.lineTo(20, 18);
    hills.lineTo(27, 25);
    p.strokePath(hills, Palette::stroke(kLine));
    p.restore();

    p.strokePath(outline, Palette::stroke(kLine));
    QPainterPath sun;
    sun.addEllipse(QPointF(19.5, 11.5), 2.5, 2.5);
    p.fillPath(sun, Palette::accent());
}

// A serif capital T followed by an accent text cursor. The letter is made of rectangles on
// whole units, so its straight edges stay sharp at 1x.
void drawText(QPainter &p)
{
    QPainterPath letter;
    letter.addRect(6, 4, 15, 3);  // arm
    letter.addRect(6, 7, 2, 2);   // left serif
    letter.addRect(19, 7, 2, 2);  // right serif
    letter.addRect(12, 7, 3, 17); // stem
    letter.addRect(9, 24, 9, 2);  // foot
    letter.setFillRule(Qt::WindingFill);
    p.fillPath(letter, Palette::line());

    QPainterPath cursor;
    cursor.addRoundedRect(QRectF(23, 11, 2, 15), 1, 1);
    p.fillPath(cursor, Palette::accent());
}

// An open folder with an accent arrow out of it: a project comes back.
void drawOpen(QPainter &p)
{
    QPainterPath folder;
    folder.moveTo(4, 24);
    folder.lineTo(4, 8);
    folder.quadTo(4, 6, 6, 6);
    folder.lineTo(11, 6);
    folder.lineTo(13, 9);
    folder.lineTo(22, 9);
    folder.quadTo(24, 9, 24, 11);
    folder.lineTo(24, 13);
    folder.moveTo(4, 24);
    folder.lineTo(8, 14);
    folder.lineTo(27, 14);
    folder.lineTo(23, 24);
    folder.closeSubpath();
    p.strokePath(folder, Palette::stroke(kLine));
    QPainterPath arrow;
    arrow.moveTo(16, 21);
    arrow.lineTo(16, 16);
    p.strokePath(arrow, Palette::stroke(kLine, Palette::accent()));
}

// A clock face with accent hands: the projects opened lately.
void drawRecent(QPainter &p)
{
    QPainterPath face;
    face.addEllipse(QPointF(15, 15), 10, 10);
    p.strokePath(face, Palette::stroke(kLine));
    QPainterPath hands;
    hands.moveTo(15, 9);
    hands.lineTo(15, 15);
    hands.lineTo(19, 18);
    p.strokePath(hands, Palette::stroke(kLine, Palette::accent()));
}

namespace {
// A floppy disk: the project is kept.
void drawDisk(QPainter &p)
{
    QPainterPath disk;
    disk.moveTo(5, 7);
    disk.quadTo(5, 5, 7, 5);
    disk.lineTo(20, 5);
    disk.lineTo(25, 10);
    disk.lineTo(25, 23);
    disk.quadTo(25, 25, 23, 25);
    disk.lineTo(7, 25);
    disk.quadTo(5, 25, 5, 23);
    disk.closeSubpath();
    disk.moveTo(10, 5);
    disk.lineTo(10, 11);
    disk.lineTo(19, 11);
    disk.lineTo(19, 5);
    p.strokePath(disk, Palette::stroke(kLine));
}
} // namespace

void drawSave(QPainter &p)
{
    drawDisk(p);
    QPainterPath label;
    label.addRect(10, 17, 10, 5);
    p.fillPath(label, Palette::accent());
}

// The disk with an accent pencil badge: kept under another name.
void drawSaveAs(QPainter &p)
{
    drawDisk(p);
    const QPointF centre(22, 22);
    QPainterPath gap;
    gap.addEllipse(centre, 7.5, 7.5);
    Palette::knockOut(p, gap);
    QPainterPath badge;
    badge.addEllipse(centre, 6, 6);
    p.fillPath(badge, Palette::accent());
    QPainterPath pencil;
    pencil.moveTo(centre.x() - 3, centre.y() + 3);
    pencil.lineTo(centre.x() + 3, centre.y() - 3);
    p.strokePath(pencil, Palette::stroke(kLine, Palette::bright()));
}

} // namespace ToolbarIcons
