#pragma once

#include <QColor>

// How one entry's picture is keyed: the colour range that is replaced, the colour that replaces it,
// the keying switch (which also goes into the record as its fill switch) and the colour last
// picked from the picture. Every entry has its own, so the key panel shows the current entry's.
struct KeyRecipe
{
    bool enabled = false;
    QColor begin = QColor(0, 0, 0);
    QColor end = QColor(255, 255, 255);
    QColor fill = QColor(0, 0, 0);
    // Invalid while nothing was picked.
    QColor picked;

    // Begin and end set to one colour, as a pick does.
    void pick(const QColor &colour);
    // Sets the range of one channel (0 red, 1 green, 2 blue).
    void setChannel(int channel, int low, int high);
    int low(int channel) const;
    int high(int channel) const;

    bool operator==(const KeyRecipe &other) const;
    bool operator!=(const KeyRecipe &other) const { return !(*this == other); }
};
