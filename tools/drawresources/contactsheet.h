#pragma once

#include "resourceimage.h"

#include <QImage>
#include <QString>

// A review sheet: every written PNG on each background it meets in the editor, at its real
// size and enlarged (4x for 1x images, 2x for @2x twins) without smoothing so every pixel shows.
QImage renderContactSheet(const QVector<ResourceImage> &resources, const QString &resourceRoot);
