#pragma once

#include "support/core/heldrecords.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QRandomGenerator>
#include <QString>

namespace TestSupport {

// Random values of every kind an OSD file stores.
QByteArray randomBytes(QRandomGenerator &rng, int n);
// Invalid, RGB, 64-bit RGB, HSV, HSL or CMYK.
QColor randomColor(QRandomGenerator &rng);
QFont randomFont(QRandomGenerator &rng);
QString randomText(QRandomGenerator &rng);
// A record as the editor builds it (consistent sizes), with every other field random.
VideoControlOSD *randomRecord(QRandomGenerator &rng, HeldRecords &held);
SourceData *randomSource(QRandomGenerator &rng, HeldRecords &held);

} // namespace TestSupport
