#pragma once

#include <QColor>
#include <QPainter>
#include <QPen>

// One palette for every icon, so the toolbar, the tabs and the scroll bars read as one set:
// light grey line art, the orange accent for the single element that carries the meaning.
namespace Palette {
inline QColor line()
{
    return QColor(220, 220, 220);
}
inline QColor bright()
{
    return QColor(245, 245, 245);
}
inline QColor dim()
{
    return QColor(150, 150, 150);
}
inline QColor accent()
{
    return QColor(222, 89, 15);
}
inline QColor well()
{
    return QColor(48, 48, 48);
}

inline QPen stroke(qreal width, const QColor &colour = line())
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Clears what lies below a shape, so an accent badge keeps a gap to the line art under it
// whatever the widget paints behind the icon.
inline void knockOut(QPainter &p, const QPainterPath &shape)
{
    const QPainter::CompositionMode mode = p.compositionMode();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillPath(shape, Qt::black);
    p.setCompositionMode(mode);
}
} // namespace Palette
