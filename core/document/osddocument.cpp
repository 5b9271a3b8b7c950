#include "core/document/osddocument.h"

#include <QSet>

OsdDocument::OsdDocument(QObject *parent) : QObject(parent) {}

int OsdDocument::freeNumber() const
{
    QSet<int> used;
    used.reserve(m_entries.size());
    for (const OsdEntry &e : m_entries)
        used.insert(e.number);
    int number = 1;
    while (used.contains(number))
        ++number;
    return number;
}

int OsdDocument::insert(int index)
{
    OsdEntry entry;
    entry.id = ++m_lastId;
    entry.number = freeNumber();
    if (index < 0 || index > m_entries.size())
        index = m_entries.size();
    m_entries.insert(index, entry);
    return entry.id;
}

void OsdDocument::restore(int index, const OsdEntry &entry)
{
    m_lastId = qMax(m_lastId, entry.id);
    const int present = indexOf(entry.id);
    if (present >= 0) {
        const OsdEntry before = m_entries[present];
        m_entries[present] = entry;
        tellDifferences(before, entry);
        return;
    }
    if (index < 0 || index > m_entries.size())
        index = m_entries.size();
    m_entries.insert(index, entry);
}

void OsdDocument::remove(int id)
{
    const int index = indexOf(id);
    if (index >= 0)
        m_entries.remove(index);
}

void OsdDocument::clear()
{
    m_entries.clear();
}

int OsdDocument::indexOf(int id) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].id == id)
            return i;
    }
    return -1;
}

const OsdEntry *OsdDocument::entry(int id) const
{
    const int index = indexOf(id);
    return index >= 0 ? &m_entries[index] : nullptr;
}

const OsdEntry *OsdDocument::at(int index) const
{
    return index >= 0 && index < m_entries.size() ? &m_entries[index] : nullptr;
}

OsdEntry *OsdDocument::find(int id)
{
    const int index = indexOf(id);
    return index >= 0 ? &m_entries[index] : nullptr;
}

void OsdDocument::setSource(int id, OsdEntry::Kind kind, const QImage &source, bool hasOriginal,
                            const OsdEntry::Text &text, const QByteArray &original)
{
    OsdEntry *e = find(id);
    if (!e ||
        (e->kind == kind && e->source.cacheKey() == source.cacheKey() && e->hasOriginal == hasOriginal &&
         e->text == text && e->original.constData() == original.constData()))
        return;
    e->kind = kind;
    e->source = source;
    e->hasOriginal = hasOriginal;
    e->text = text;
    e->original = original;
    emit changed(id, Aspect::Source);
}

void OsdDocument::setKey(int id, const KeyRecipe &key)
{
    OsdEntry *e = find(id);
    if (!e || e->key == key)
        return;
    e->key = key;
    emit changed(id, Aspect::Key);
}

void OsdDocument::setPosition(int id, const QPoint &position)
{
    OsdEntry *e = find(id);
    if (!e || e->position == position)
        return;
    e->position = position;
    emit changed(id, Aspect::Position);
}

void OsdDocument::setCut(int id, const QRect &cut)
{
    OsdEntry *e = find(id);
    const QRect window = cut.isEmpty() ? QRect() : cut;
    if (!e || e->cut == window)
        return;
    e->cut = window;
    emit changed(id, Aspect::Cut);
}

void OsdDocument::setCutView(int id, bool on)
{
    OsdEntry *e = find(id);
    if (!e || e->cutView == on)
        return;
    e->cutView = on;
    emit changed(id, Aspect::CutView);
}

void OsdDocument::tellDifferences(const OsdEntry &before, const OsdEntry &after)
{
    if (before.kind != after.kind || before.source.cacheKey() != after.source.cacheKey() ||
        before.hasOriginal != after.hasOriginal || before.text != after.text ||
        before.original.constData() != after.original.constData())
        emit changed(after.id, Aspect::Source);
    if (before.key != after.key)
        emit changed(after.id, Aspect::Key);
    if (before.position != after.position)
        emit changed(after.id, Aspect::Position);
    if (before.cut != after.cut)
        emit changed(after.id, Aspect::Cut);
    if (before.cutView != after.cutView)
        emit changed(after.id, Aspect::CutView);
}
