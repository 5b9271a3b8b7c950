#pragma once

#include "core/document/osddocument.h"

#include <QObject>
#include <QPoint>
#include <QSize>

#include <functional>

class PropertyPanel;

// Placing an entry's item on the output screen: the property panel's position fields and alignment
// buttons show and move the current entry, the arrow keys nudge it, the overview drags entries.
// Every move goes into the document; the fields follow the document, and the window hears which
// entry was moved, for its history.
class PlacementController : public QObject
{
    Q_OBJECT
public:
    // shownSize gives the size an entry's item shows on the screen (its cut window in the cut view).
    PlacementController(OsdDocument *document, PropertyPanel *panel, std::function<QSize(int id)> shownSize,
                        QObject *parent = nullptr);

    // The entry the fields show and move; 0 for none.
    void setCurrent(int id);
    int current() const { return m_current; }
    void setScreenSize(const QSize &size) { m_screen = size; }

    // Moves an entry with an item to pos; false when it is there already (or has no item).
    bool moveTo(int id, const QPoint &pos);
    // The current entry by delta, or to one of the screen's edges or its centre.
    void nudge(const QPoint &delta);
    void align(Qt::Alignment alignment);

signals:
    // An entry moved by the fields, the buttons or a nudge.
    void moved(int id);
    // The operator left a position field: the next edit is a move of its own.
    void gestureEnded();

private:
    void showCurrent();
    void entryChanged(int id, OsdDocument::Aspect aspect);
    void fieldsEdited();
    void moveCurrent(const QPoint &pos);
    const OsdEntry *placeable(int id) const;

    OsdDocument *m_document;
    PropertyPanel *m_panel;
    std::function<QSize(int id)> m_shownSize;
    int m_current = 0;
    QSize m_screen;
};
