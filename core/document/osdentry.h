#pragma once

#include "core/document/keyrecipe.h"

#include <QString>

// One entry of the OSD list, shown as one tab. The id stays the entry's for the whole session and
// is never given to another; the number is the operator's name for it ("OSD3"), the lowest one
// free when the entry was made.
struct OsdEntry
{
    int id = 0;
    int number = 0;
    KeyRecipe key;

    QString title() const { return QStringLiteral("OSD") + QString::number(number); }
    bool operator==(const OsdEntry &other) const
    {
        return id == other.id && number == other.number && key == other.key;
    }
};
