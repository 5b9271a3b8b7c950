#include "core/geometry/edgehitflags.h"

namespace Utils {

EdgeHitFlags EdgeHitFlags::at(const QPoint &globalPos, const QRect &frame, int edgeWidth)
{
    const int x = globalPos.x();
    const int y = globalPos.y();
    EdgeHitFlags hits;
    hits.onLeftEdge = x >= frame.left() && x <= frame.left() + edgeWidth;
    hits.onRightEdge = x >= frame.right() - edgeWidth + 1 && x <= frame.right() + 1;
    hits.onTopEdge = y >= frame.top() && y <= frame.top() + edgeWidth;
    hits.onBottomEdge = y >= frame.bottom() - edgeWidth + 1 && y <= frame.bottom() + 1;
    hits.onTopLeftEdge = hits.onTopEdge && hits.onLeftEdge;
    hits.onBottomLeftEdge = hits.onBottomEdge && hits.onLeftEdge;
    hits.onTopRightEdge = hits.onTopEdge && hits.onRightEdge;
    hits.onBottomRightEdge = hits.onBottomEdge && hits.onRightEdge;
    hits.onEdges = hits.onLeftEdge || hits.onRightEdge || hits.onTopEdge || hits.onBottomEdge;
    return hits;
}

} // namespace Utils
