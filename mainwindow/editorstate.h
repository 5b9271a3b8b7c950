#pragma once

#include "core/document/entryoutput.h"
#include "core/document/osdentry.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class OSDItem;
class SourceData;
class VideoControlOSD;

// The OSD list at one moment, as undo and redo bring it back: every tab with its entry (id, number,
// keying recipe, place and cut) and its item. It holds pixels only by sharing them with the live items; a
// keyed picture is not held at all but made again from its source and key when it is brought back, so a long
// history of keying steps costs no picture per step.
class EditorState
{
public:
    // One item; immutable once made, shared by every state in which the item did not change.
    class Item
    {
    public:
        explicit Item(const OSDItem &item);
        // An item as a saved list describes it; holds text (may be null) as the other items do.
        Item(qint64 sourceKey, const EntryOutput &output, const QByteArray &recordData, SourceData *text);
        ~Item();
        Item(const Item &) = delete;
        Item &operator=(const Item &) = delete;

        // True when item shows exactly this (pictures compared by identity, not by pixels); its place
        // and cut are its entry's.
        bool sameAs(const OSDItem &item) const;
        // Same pictures and key, so only the record fields may differ.
        bool samePictures(const OSDItem &item) const;
        // Same source picture, text and record presence: the item can be keyed into this.
        bool sameSource(const OSDItem &item) const;

        // The entry's source picture, by identity; the entry holds its pixels.
        qint64 sourceKey = 0;
        // What the item shows and its record holds, besides the entry.
        EntryOutput output;
        // The record's pixel data while it is the unkeyed picture's (shared with the live record);
        // empty for a keyed item, whose data are made again with the keyed picture.
        QByteArray recordData;
        SourceData *text = nullptr;
    };

    struct Tab
    {
        OsdEntry entry;
        std::shared_ptr<const Item> item;

        // The picture buffers the tab keeps: its source, its picture file's bytes, its record's data.
        void visitBuffers(const std::function<void(const void *buffer, qint64 size)> &visit) const;
    };

    QVector<Tab> tabs;
    int current = 0;

    // True when both states hold the same list (which tab is current aside). Items compare by
    // identity: a capture shares the previous state's item wherever the live item did not change.
    bool sameAs(const EditorState &other) const;
    std::shared_ptr<const Item> itemOfEntry(int id) const;
    // The same list with the tab of tab's entry replaced by tab.
    std::shared_ptr<const EditorState> withTab(const Tab &tab) const;
    // The tab of an entry, or null.
    const Tab *tabOfEntry(int id) const;
};
