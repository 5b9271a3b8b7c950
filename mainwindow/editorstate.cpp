#include "mainwindow/editorstate.h"

#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "osditem/osditem.h"

EditorState::Item::Item(const OSDItem &item)
    : sourceKey(item.sourceImage().cacheKey()), text(item.sourceData())
{
    output.keyed = item.image().cacheKey() != item.sourceImage().cacheKey();
    output.keyFlag = item.isKeyApplied();
    output.keyBegin = item.keyBegin();
    output.keyEnd = item.keyEnd();
    output.keyFill = item.keyFill();
    if (VideoControlOSD *live = item.videoControlOSD()) {
        output.hasRecord = true;
        output.record = ItemRecords::fieldsOf(*live);
        if (!output.keyed)
            recordData = live->image();
    }
    SharedRecord::retain(text);
}

EditorState::Item::Item(qint64 sourceKey, const EntryOutput &output, const QByteArray &recordData,
                        SourceData *text)
    : sourceKey(sourceKey), output(output), recordData(recordData), text(text)
{
    SharedRecord::retain(text);
}

EditorState::Item::~Item()
{
    SharedRecord::release(text);
}

bool EditorState::Item::sameSource(const OSDItem &item) const
{
    return item.sourceImage().cacheKey() == sourceKey && item.sourceData() == text &&
           bool(item.videoControlOSD()) == output.hasRecord;
}

bool EditorState::Item::samePictures(const OSDItem &item) const
{
    const bool itemKeyed = item.image().cacheKey() != item.sourceImage().cacheKey();
    if (!sameSource(item) || itemKeyed != output.keyed || item.isKeyApplied() != output.keyFlag)
        return false;
    return !output.keyed || (item.keyBegin() == output.keyBegin && item.keyEnd() == output.keyEnd &&
                             item.keyFill() == output.keyFill);
}

bool EditorState::Item::sameAs(const OSDItem &item) const
{
    if (!samePictures(item))
        return false;
    if (!output.hasRecord)
        return true;
    const VideoControlOSD &live = *item.videoControlOSD();
    return ItemRecords::fieldsOf(live) == output.record &&
           (output.keyed || live.image().constData() == recordData.constData());
}

bool EditorState::sameAs(const EditorState &other) const
{
    if (tabs.size() != other.tabs.size())
        return false;
    for (int i = 0; i < tabs.size(); ++i) {
        if (!(tabs[i].entry == other.tabs[i].entry) || tabs[i].item != other.tabs[i].item)
            return false;
    }
    return true;
}

std::shared_ptr<const EditorState::Item> EditorState::itemOfEntry(int id) const
{
    for (const Tab &tab : tabs) {
        if (tab.entry.id == id)
            return tab.item;
    }
    return nullptr;
}

const EditorState::Tab *EditorState::tabOfEntry(int id) const
{
    for (const Tab &tab : tabs) {
        if (tab.entry.id == id)
            return &tab;
    }
    return nullptr;
}

std::shared_ptr<const EditorState> EditorState::withTab(const Tab &tab) const
{
    auto state = std::make_shared<EditorState>(*this);
    for (Tab &t : state->tabs) {
        if (t.entry.id == tab.entry.id)
            t = tab;
    }
    return state;
}

void EditorState::Tab::visitBuffers(const std::function<void(const void *buffer, qint64 size)> &visit) const
{
    if (!item)
        return;
    visit(entry.source.constBits(), entry.source.sizeInBytes());
    visit(entry.original.constData(), entry.original.size());
    visit(item->recordData.constData(), item->recordData.size());
}
