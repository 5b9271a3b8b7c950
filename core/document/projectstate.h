#pragma once

#include "core/document/entryoutput.h"
#include "core/document/osdentry.h"

#include <QByteArray>
#include <QSize>
#include <QVector>

// The whole of the operator's work at one moment, as a project file holds it and as it is brought
// back: every entry in tab order with what its item shows and its record holds, the output screen
// and the tab in front. Pixels are shared with the live entries, never copied.
struct ProjectState
{
    struct Entry
    {
        OsdEntry entry;
        EntryOutput output;
        // The record's OSD pixel data while the picture is not keyed and has no original to make
        // them again from (an imported record): the bytes the file had. Empty otherwise.
        QByteArray recordData;
    };

    QSize screen = QSize(1920, 1080);
    int current = 0;
    QVector<Entry> entries;
};
