#pragma once

#include "core/document/osdentry.h"

#include <QObject>
#include <QVector>

// The operator's OSD list in tab order: the one place that holds each entry's state (its id, its
// number, the picture or text it shows, its keying recipe, its place and its cut). What is shown
// and written is made from it. The window changes entries only through this class, which tells
// every view which entry changed and in what.
class OsdDocument : public QObject
{
    Q_OBJECT
public:
    // What of an entry changed, so a view redraws only that.
    enum class Aspect
    {
        Source,
        Key,
        Position,
        Cut,
        CutView
    };
    Q_ENUM(Aspect)

    explicit OsdDocument(QObject *parent = nullptr);

    // A new entry at index (at the end when out of range) with a fresh id and the lowest number no
    // other entry has (1 upwards, without limit); returns its id.
    int insert(int index = -1);
    // Puts an entry back as it was (undo): its id and number stay; an id already present is
    // replaced in place and every aspect that differs is told.
    void restore(int index, const OsdEntry &entry);
    void remove(int id);
    void clear();

    int count() const { return m_entries.size(); }
    const QVector<OsdEntry> &entries() const { return m_entries; }
    int indexOf(int id) const;
    // Null when no entry has that id.
    const OsdEntry *entry(int id) const;
    const OsdEntry *at(int index) const;

    // A new picture or text for an entry (Empty with a null picture when its item goes).
    void setSource(int id, OsdEntry::Kind kind, const QImage &source, bool hasOriginal = true,
                   const OsdEntry::Text &text = OsdEntry::Text(), const QByteArray &original = QByteArray());
    void setKey(int id, const KeyRecipe &key);
    void setPosition(int id, const QPoint &position);
    // A null or empty window clears the cut.
    void setCut(int id, const QRect &cut);
    void setCutView(int id, bool on);

signals:
    void changed(int id, OsdDocument::Aspect aspect);

private:
    OsdEntry *find(int id);
    // Tests arrange an entry's fields directly, as they do the window's.
    friend class QuillmereTestAccess;
    int freeNumber() const;
    void tellDifferences(const OsdEntry &before, const OsdEntry &after);

    QVector<OsdEntry> m_entries;
    int m_lastId = 0;
};
