#include "core/geometry/outputscreen.h"

#include <cmath>

namespace {

// How far start must move for the nearest of an item's edges and centre to meet a line of the
// screen, or 0 when none is within threshold.
qreal snapShift(qreal start, qreal extent, qreal screenExtent, qreal threshold)
{
    const qreal itemLines[] = {start, start + extent / 2, start + extent};
    const qreal screenLines[] = {0, screenExtent / 2, screenExtent};
    qreal best = 0;
    qreal bestDistance = threshold;
    bool found = false;
    for (qreal item : itemLines) {
        for (qreal screen : screenLines) {
            const qreal distance = std::abs(screen - item);
            if (distance <= bestDistance && (!found || distance < bestDistance)) {
                best = screen - item;
                bestDistance = distance;
                found = true;
            }
        }
    }
    return found ? best : 0;
}

// floor((screen - item) / 2): centring an item wider than the screen must not jump by a pixel
// depending on the sign.
int centred(int screenExtent, int itemExtent)
{
    const int room = screenExtent - itemExtent;
    return room >= 0 ? room / 2 : -((-room + 1) / 2);
}

} // namespace

QList<QSize> OutputScreen::presets()
{
    return {QSize(1280, 720), QSize(1920, 1080), QSize(3840, 2160)};
}

bool OutputScreen::isValidSize(const QSize &size)
{
    return size.width() >= minimumSize().width() && size.height() >= minimumSize().height() &&
           size.width() <= maximumSize().width() && size.height() <= maximumSize().height();
}

QString OutputScreen::sizeText(const QSize &size)
{
    return QString::number(size.width()) + QChar(0x00D7) + QString::number(size.height());
}

OutputScreen::OutputScreen(const QSize &size) : m_size(isValidSize(size) ? size : defaultSize()) {}

OutputScreen::Placement OutputScreen::placement(const QRect &itemRect) const
{
    if (itemRect.isEmpty())
        return Placement::Inside;
    if (rect().contains(itemRect))
        return Placement::Inside;
    return rect().intersects(itemRect) ? Placement::Partly : Placement::Outside;
}

QPoint OutputScreen::aligned(const QRect &itemRect, Qt::Alignment alignment) const
{
    QPoint at = itemRect.topLeft();
    if (alignment & Qt::AlignLeft)
        at.setX(0);
    else if (alignment & Qt::AlignHCenter)
        at.setX(centred(m_size.width(), itemRect.width()));
    else if (alignment & Qt::AlignRight)
        at.setX(m_size.width() - itemRect.width());
    if (alignment & Qt::AlignTop)
        at.setY(0);
    else if (alignment & Qt::AlignVCenter)
        at.setY(centred(m_size.height(), itemRect.height()));
    else if (alignment & Qt::AlignBottom)
        at.setY(m_size.height() - itemRect.height());
    return at;
}

QPointF OutputScreen::snapped(const QRectF &itemRect, qreal threshold) const
{
    if (!(threshold > 0))
        return itemRect.topLeft();
    return itemRect.topLeft() +
           QPointF(snapShift(itemRect.left(), itemRect.width(), m_size.width(), threshold),
                   snapShift(itemRect.top(), itemRect.height(), m_size.height(), threshold));
}
