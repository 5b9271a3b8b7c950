#pragma once

#include <QRect>
#include <QRegion>
#include <QVector>

// What of a stack of rectangles can be seen from above: the overview draws each picture only where
// no opaque picture above it covers it, so that fifty overlapping full-screen pictures cost about
// one screen of pixels per frame instead of fifty.
class Occlusion
{
public:
    struct Layer
    {
        QRect rect;
        // An opaque layer hides everything below it within its rect; a translucent one hides nothing.
        bool opaque = true;
    };

    // For every layer (bottom first), the part of its rect that no opaque layer above it covers, in
    // the layers' common coordinates.
    static QVector<QRegion> visibleParts(const QVector<Layer> &layers);
};
