#include "core/geometry/edgeresize.h"

namespace Utils {

std::optional<QRect> resizedGeometry(const QRect &start, const QPoint &globalPos,
                                     const EdgeHitFlags &pressEdges, const QSize &minimum,
                                     const QSize &maximum)
{
    int left = start.left();
    int top = start.top();
    int right = start.right();
    int bottom = start.bottom();
    const int x = globalPos.x();
    const int y = globalPos.y();

    // A corner wins over the two edges it joins.
    if (pressEdges.onTopLeftEdge) {
        left = x;
        top = y;
    } else if (pressEdges.onBottomLeftEdge) {
        left = x;
        bottom = y;
    } else if (pressEdges.onTopRightEdge) {
        right = x;
        top = y;
    } else if (pressEdges.onBottomRightEdge) {
        right = x;
        bottom = y;
    } else if (pressEdges.onLeftEdge) {
        left = x;
    } else if (pressEdges.onRightEdge) {
        right = x;
    } else if (pressEdges.onTopEdge) {
        top = y;
    } else if (pressEdges.onBottomEdge) {
        bottom = y;
    }

    if (right < left || bottom < top)
        return std::nullopt;

    const int width = right - left + 1;
    if (width < minimum.width() || width > maximum.width()) {
        left = start.left();
        right = start.right();
    }
    const int height = bottom - top + 1;
    if (height < minimum.height() || height > maximum.height()) {
        top = start.top();
        bottom = start.bottom();
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace Utils
