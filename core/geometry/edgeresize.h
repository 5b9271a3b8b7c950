#pragma once

#include "core/geometry/edgehitflags.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace Utils {

// The geometry a window takes when the edges grabbed at the press follow the pointer to globalPos.
// start, minimum and maximum are all in the same (frame) coordinates. A change that would turn the
// rectangle inside out gives no result; a horizontal or vertical change that would leave the
// allowed size range is undone on its own, so the opposite edge never moves.
std::optional<QRect> resizedGeometry(const QRect &start, const QPoint &globalPos,
                                     const EdgeHitFlags &pressEdges, const QSize &minimum,
                                     const QSize &maximum);

} // namespace Utils
