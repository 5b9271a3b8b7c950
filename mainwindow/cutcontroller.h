#pragma once

#include "core/document/osddocument.h"

#include <QObject>

#include <functional>

class OSDItem;

// The cut window and cut view of entries. What the cut panel and the item's menu did on an item
// goes into its entry; the entry's cut and cut view are shown on its item and written into its
// record, which holds the whole keyed picture with the window beside it (the device cuts).
class CutController : public QObject
{
    Q_OBJECT
public:
    // itemOf finds an entry's item; itemsFollow says whether items follow the document now (not
    // while undo or an import puts them back, which show their entries themselves).
    CutController(OsdDocument *document, std::function<OSDItem *(int id)> itemOf,
                  std::function<bool()> itemsFollow, QObject *parent = nullptr);

    // The item's cut panel set a window on it: the entry takes it, and the record is made again
    // from the picture as it is now, also for the same window again.
    void cutEdited(int id);
    // The cut view switched on the item's menu (or by the window's slot).
    void cutViewEdited(int id, bool show);

private:
    void entryChanged(int id, OsdDocument::Aspect aspect);
    void showCut(int id);
    void showCutView(int id);

    OsdDocument *m_document;
    std::function<OSDItem *(int id)> m_itemOf;
    std::function<bool()> m_itemsFollow;
};
