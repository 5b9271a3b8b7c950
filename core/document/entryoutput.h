#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

// What an entry's item shows and its record holds besides the entry's recipe. The picture is keyed
// when the operator edits the key with keying on, so the key it was last keyed with can differ from
// the recipe the panel shows; and some of the record's fields follow from the editing history
// (the fill colour a cut took over, the switch a reset left). With the entry's source this makes the
// picture shown and the record written again exactly.
struct EntryOutput
{
    // The record's fields besides its pixel data, as the file format stores them.
    struct Record
    {
        QSize size;
        int completionWidth = 0;
        int fileLength = 0;
        QPoint location;
        QRect cut;
        bool cutEnabled = false;
        bool cutAllowed = false;
        bool available = false;
        int red = -1;
        int green = -1;
        int blue = -1;
        QColor fill;
        bool fillOn = false;

        bool operator==(const Record &other) const
        {
            return size == other.size && completionWidth == other.completionWidth &&
                   fileLength == other.fileLength && location == other.location && cut == other.cut &&
                   cutEnabled == other.cutEnabled && cutAllowed == other.cutAllowed &&
                   available == other.available && red == other.red && green == other.green &&
                   blue == other.blue && fill == other.fill && fillOn == other.fillOn;
        }
        bool operator!=(const Record &other) const { return !(*this == other); }
    };

    // The item shows its source keyed with keyBegin, keyEnd and keyFill; otherwise the source itself.
    bool keyed = false;
    // The keying switch of the item: set once keying has been applied to it, kept by a reset.
    bool keyFlag = false;
    QColor keyBegin;
    QColor keyEnd;
    QColor keyFill;
    // An item without a record is written to no file (an entry whose item was never given one).
    bool hasRecord = false;
    Record record;

    bool operator==(const EntryOutput &other) const
    {
        return keyed == other.keyed && keyFlag == other.keyFlag && keyBegin == other.keyBegin &&
               keyEnd == other.keyEnd && keyFill == other.keyFill && hasRecord == other.hasRecord &&
               record == other.record;
    }
    bool operator!=(const EntryOutput &other) const { return !(*this == other); }
};
