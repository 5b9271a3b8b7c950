#pragma once

#include <QPoint>
#include <QRect>

namespace Utils {

// The resize zones of a window that one global point lies in. Each zone is edgeWidth + 1 pixels
// wide: it starts at the left and top edges and reaches inward, and along the right and bottom
// edges it ends one pixel outside the window, so the last column and row are hit as well.
struct EdgeHitFlags
{
    bool onEdges = false;
    bool onLeftEdge = false;
    bool onRightEdge = false;
    bool onTopEdge = false;
    bool onBottomEdge = false;
    bool onTopLeftEdge = false;
    bool onBottomLeftEdge = false;
    bool onTopRightEdge = false;
    bool onBottomRightEdge = false;

    // The zones of frame (global coordinates) that globalPos hits.
    static EdgeHitFlags at(const QPoint &globalPos, const QRect &frame, int edgeWidth);
};

} // namespace Utils
