#include "core/geometry/cutgeometry.h"

#include <algorithm>
#include <cstdlib>

namespace CutGeometry {

CutEdges hitEdges(const QPoint &pos, const QSize &size)
{
    CutEdges edges;
    edges.left = std::abs(pos.x()) <= HitMargin;
    edges.right = std::abs(pos.x() - (size.width() - 1)) <= HitMargin;
    edges.top = std::abs(pos.y()) <= HitMargin;
    edges.bottom = std::abs(pos.y() - (size.height() - 1)) <= HitMargin;
    return edges;
}

Qt::CursorShape cursorShape(const CutEdges &edges)
{
    const bool vertical = edges.top || edges.bottom;
    const bool horizontal = edges.left || edges.right;
    if (!vertical && !horizontal)
        return Qt::SizeAllCursor;
    if (!vertical)
        return Qt::SizeHorCursor;
    if (!horizontal)
        return Qt::SizeVerCursor;
    if ((edges.top && edges.left) || (edges.bottom && edges.right))
        return Qt::SizeFDiagCursor;
    return Qt::SizeBDiagCursor;
}

namespace {

int sign(int value)
{
    return value > 0 ? 1 : (value < 0 ? -1 : 0);
}

} // namespace

QRect resizedRect(const QRect &rect, const CutEdges &edges, const QPoint &delta)
{
    int x1 = rect.left();
    int y1 = rect.top();
    int x2 = rect.right();
    int y2 = rect.bottom();
    const int dx = delta.x();
    const int dy = delta.y();
    const bool vertical = edges.top || edges.bottom;
    const bool horizontal = edges.left || edges.right;

    // The clamps keep each moved edge on its own side of the opposite one, so the rectangle never
    // collapses to zero or turns inside out when an edge is dragged across its partner.
    if (!vertical) {
        if (edges.left)
            x1 = std::min(x1 + dx, x2);
        if (edges.right)
            x2 = std::max(x2 + dx, x1);
    } else if (!horizontal) {
        if (edges.bottom)
            y2 = std::max(y2 + dy, y1);
        if (edges.top)
            y1 = std::min(y1 + dy, y2);
    } else {
        const bool sameSigns = sign(dx) * sign(dy) > 0;
        const bool oppositeSigns = sign(dx) * sign(dy) < 0;
        // A shrinking corner may travel until the shorter side is one pixel long.
        const int shrinkRoom = std::max(0, std::min(x2 - x1, y2 - y1));
        const int motion = std::min(std::abs(dx), std::abs(dy));
        auto step = [&](bool shrinking) { return shrinking ? std::min(motion, shrinkRoom) : motion; };
        if (edges.top && edges.left && sameSigns) {
            const int m = step(dx > 0) * sign(dx);
            x1 += m;
            y1 += m;
        } else if (edges.top && edges.right && oppositeSigns) {
            const int m = step(dx < 0);
            x2 += m * sign(dx);
            y1 += m * sign(dy);
        } else if (edges.bottom && edges.right && sameSigns) {
            const int m = step(dx < 0) * sign(dx);
            x2 += m;
            y2 += m;
        } else if (edges.bottom && edges.left && oppositeSigns) {
            const int m = step(dx > 0);
            x1 += m * sign(dx);
            y2 += m * sign(dy);
        }
    }
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

bool fitsInside(const QRect &rect, const QSize &bounds)
{
    return rect.isValid() && QRect(QPoint(0, 0), bounds).contains(rect, false);
}

QPoint clampedPosition(const QPoint &wanted, const QSize &size, const QSize &bounds)
{
    // The far edge is clamped first so that a rectangle larger than the picture rests at the origin.
    const int x = std::max(0, std::min(wanted.x(), bounds.width() - size.width()));
    const int y = std::max(0, std::min(wanted.y(), bounds.height() - size.height()));
    return QPoint(x, y);
}

QRect dragStep(const QRect &geometry, QPoint &pressPoint, const QPoint &pointer, const CutEdges &edges,
               const QSize &bounds)
{
    const QPoint delta = pointer - pressPoint;
    QRect next = resizedRect(geometry, edges, delta);
    if (!fitsInside(next, bounds))
        next = geometry;

    // The pointer is measured from the rectangle's origin. When the left or top edge is dragged the
    // origin follows the pointer, so the press point stays; the right and bottom edges do not move
    // the origin, so the press point has to follow the pointer instead.
    if (edges.bottom) {
        pressPoint.ry() = pointer.y();
        if (edges.right)
            pressPoint.rx() = pointer.x();
    } else if (edges.right) {
        pressPoint.rx() = pointer.x();
    } else if (!edges.left && !edges.top) {
        next.moveTopLeft(clampedPosition(geometry.topLeft() + delta, geometry.size(), bounds));
    }
    return next;
}

QRect defaultWindow(const QSize &picture)
{
    const int x2 = picture.width() < 100 ? picture.width() - 1 : 99;
    const int y2 = picture.height() < 100 ? picture.height() - 1 : 99;
    return QRect(QPoint(0, 0), QPoint(x2, y2));
}

bool isValidStart(int start, int extent, int limit)
{
    return start >= 0 && start + extent <= limit;
}

bool isValidExtent(int start, int extent, int limit, int minimum)
{
    return extent >= minimum && start + extent <= limit;
}

std::optional<CutSpan> spanFromStart(const CutSpan &span, int start, int limit)
{
    if (start < 0)
        return std::nullopt;
    CutSpan placed{start, span.last};
    if (start > span.last) {
        // Collapsing to one pixel would throw the operator's window away; it moves instead.
        const int first = std::min(start, limit - span.extent());
        placed = CutSpan{first, first + span.extent() - 1};
    }
    if (!isValidStart(placed.first, placed.extent(), limit))
        return std::nullopt;
    return placed;
}

} // namespace CutGeometry
