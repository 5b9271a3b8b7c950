#include "core/geometry/occlusion.h"

QVector<QRegion> Occlusion::visibleParts(const QVector<Layer> &layers)
{
    QVector<QRegion> parts(layers.size());
    QRegion covered;
    for (int i = layers.size() - 1; i >= 0; --i) {
        const Layer &layer = layers.at(i);
        if (layer.rect.isEmpty())
            continue;
        parts[i] = QRegion(layer.rect).subtracted(covered);
        if (layer.opaque)
            covered += layer.rect;
    }
    return parts;
}
