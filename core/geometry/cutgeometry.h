#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

#include <optional>

// Which edges of the selection rectangle the pointer is near. Two flags make a corner; no flag
// means the pointer is inside and a drag moves the whole rectangle.
struct CutEdges
{
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;

    bool isMove() const { return !left && !right && !top && !bottom; }
    bool operator==(const CutEdges &other) const
    {
        return left == other.left && right == other.right && top == other.top && bottom == other.bottom;
    }
};

// The window along one axis: its first and last pixel, both inclusive.
struct CutSpan
{
    int first = 0;
    int last = -1;

    int extent() const { return last - first + 1; }
    bool operator==(const CutSpan &other) const { return first == other.first && last == other.last; }
};

// The arithmetic of the cut selection rectangle, kept free of widgets so it can be checked on its
// own. Rectangles are in picture pixels with inclusive corners (QRect's own convention); the
// bounds are the picture's size, with the picture at (0, 0).
namespace CutGeometry {

// How far from the outermost pixel row or column, on either side, an edge can still be grabbed.
constexpr int HitMargin = 4;

// Width and height below which the window fields refuse a value.
constexpr int MinimumFieldExtent = 64;

// The edges near the pointer at pos, given in the rectangle's own coordinates.
CutEdges hitEdges(const QPoint &pos, const QSize &size);

// The cursor that tells the operator what a drag from these edges will do.
Qt::CursorShape cursorShape(const CutEdges &edges);

// The rectangle after the grabbed edges followed the pointer by delta. A side edge follows only
// its own axis; a corner follows only its own 45° diagonal (by the smaller of the two motions),
// and pointer motion towards the other diagonal changes nothing. An edge never passes the opposite
// one: the rectangle keeps at least one pixel in each direction.
QRect resizedRect(const QRect &rect, const CutEdges &edges, const QPoint &delta);

// True when rect lies inside a picture of the given size; touching the edges is allowed.
bool fitsInside(const QRect &rect, const QSize &bounds);

// Top-left corner nearest to wanted at which a rectangle of the given size stays inside bounds.
QPoint clampedPosition(const QPoint &wanted, const QSize &size, const QSize &bounds);

// One pointer move of a drag. geometry is the rectangle now, pressPoint the pointer position kept
// from the press (in the rectangle's coordinates when it was last updated), pointer the pointer in
// the rectangle's current coordinates. Returns the rectangle's new geometry: a resize that would
// leave the picture is dropped entirely, a move is clamped to the picture. pressPoint is advanced
// for the edges whose position does not follow the rectangle's origin (right and bottom).
QRect dragStep(const QRect &geometry, QPoint &pressPoint, const QPoint &pointer, const CutEdges &edges,
               const QSize &bounds);

// The window a fresh panel starts with: 100×100 at the top-left corner, cut to the picture.
QRect defaultWindow(const QSize &picture);

// Field rules. A start is accepted when it is not negative and the window, with its current
// extent, still ends within limit; an extent when it is at least minimum and the window from the
// current start still ends within limit.
bool isValidStart(int start, int extent, int limit);
bool isValidExtent(int start, int extent, int limit, int minimum = MinimumFieldExtent);

// Where the window lies along one axis once its start field reads start, the window using at most
// limit pixels. A start up to the window's last pixel moves the near edge only: the far edge stays,
// also where it rests on the picture's far border. A start past the last pixel moves the whole
// window with its extent, no further than it can go and still end within limit. Nothing when no
// window can be had: a negative start, or a window that would still end past limit.
std::optional<CutSpan> spanFromStart(const CutSpan &span, int start, int limit);

} // namespace CutGeometry
