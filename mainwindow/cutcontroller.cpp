#include "mainwindow/cutcontroller.h"

#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "osditem/osditem.h"

CutController::CutController(OsdDocument *document, std::function<OSDItem *(int id)> itemOf,
                             std::function<bool()> itemsFollow, QObject *parent)
    : QObject(parent), m_document(document), m_itemOf(std::move(itemOf)),
      m_itemsFollow(std::move(itemsFollow))
{
    connect(m_document, &OsdDocument::changed, this, &CutController::entryChanged);
}

void CutController::cutEdited(int id)
{
    const OsdEntry *entry = m_document->entry(id);
    const OSDItem *item = m_itemOf(id);
    if (!entry || !item || !item->hasCut())
        return;
    if (entry->cut == item->cutRect())
        showCut(id);
    else
        m_document->setCut(id, item->cutRect());
}

void CutController::cutViewEdited(int id, bool show)
{
    const OsdEntry *entry = m_document->entry(id);
    if (!entry)
        return;
    // The item's menu switched its own view already; the entry decides, and item and record follow.
    if (entry->cutView == show)
        showCutView(id);
    else
        m_document->setCutView(id, show);
}

void CutController::entryChanged(int id, OsdDocument::Aspect aspect)
{
    if (!m_itemsFollow())
        return;
    if (aspect == OsdDocument::Aspect::Cut)
        showCut(id);
    else if (aspect == OsdDocument::Aspect::CutView)
        showCutView(id);
}

void CutController::showCut(int id)
{
    const OsdEntry *entry = m_document->entry(id);
    OSDItem *item = m_itemOf(id);
    if (!entry || !item)
        return;
    item->setCut(entry->cut);
    if (item->hasCut())
        item->setVideoControlOSD(ItemRecords::cutRecord(item->image(), item->cutRect(), item->isShowCutArea(),
                                                        item->videoControlOSD()));
    // With the cut view on, the new cut is what the operator expects to see.
    item->showImages();
}

void CutController::showCutView(int id)
{
    const OsdEntry *entry = m_document->entry(id);
    OSDItem *item = m_itemOf(id);
    if (!entry || !item)
        return;
    item->setShowCutArea(entry->cutView);
    item->showImages();
    if (VideoControlOSD *record = item->videoControlOSD())
        ItemRecords::writeCutSwitch(record, entry->cutView, item->hasCut());
}
