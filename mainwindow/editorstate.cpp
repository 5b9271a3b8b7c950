#include "mainwindow/editorstate.h"

#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "osditem/osditem.h"

EditorState::RecordFields EditorState::RecordFields::of(const VideoControlOSD &record)
{
    RecordFields fields;
    fields.size = record.size();
    fields.completionWidth = record.completionImageWidth();
    fields.fileLength = record.OSDFileLength();
    fields.location = record.location();
    fields.cut = record.CutImageSize();
    fields.cutEnabled = record.IsEnableCutImage();
    fields.cutAllowed = record.IsCanEnableCut();
    fields.available = record.IsAvailable();
    fields.red = record.red();
    fields.green = record.green();
    fields.blue = record.blue();
    fields.fill = record.selectColor();
    fields.fillOn = record.IsSelectColor();
    return fields;
}

void EditorState::RecordFields::writeTo(VideoControlOSD *record) const
{
    record->setSize(size);
    record->setCompletionImageWidth(completionWidth);
    record->setOSDFileLength(fileLength);
    record->setLocation(location);
    record->setCutImageSize(cut);
    record->setIsEnableCutImage(cutEnabled);
    record->setIsCanEnableCut(cutAllowed);
    record->setIsAvailable(available);
    record->setRed(red);
    record->setGreen(green);
    record->setBlue(blue);
    record->setSelectColor(fill);
    record->setIsSelectColor(fillOn);
}

bool EditorState::RecordFields::operator==(const RecordFields &other) const
{
    return size == other.size && completionWidth == other.completionWidth && fileLength == other.fileLength &&
           location == other.location && cut == other.cut && cutEnabled == other.cutEnabled &&
           cutAllowed == other.cutAllowed && available == other.available && red == other.red &&
           green == other.green && blue == other.blue && fill == other.fill && fillOn == other.fillOn;
}

EditorState::Item::Item(const OSDItem &item)
    : sourceKey(item.sourceImage().cacheKey()),
      keyed(item.image().cacheKey() != item.sourceImage().cacheKey()), keyFlag(item.isKeyApplied()),
      keyBegin(item.keyBegin()), keyEnd(item.keyEnd()), keyFill(item.keyFill()), text(item.sourceData())
{
    if (VideoControlOSD *live = item.videoControlOSD()) {
        hasRecord = true;
        record = RecordFields::of(*live);
        if (!keyed)
            recordData = live->image();
    }
    SharedRecord::retain(text);
}

EditorState::Item::~Item()
{
    SharedRecord::release(text);
}

bool EditorState::Item::sameSource(const OSDItem &item) const
{
    return item.sourceImage().cacheKey() == sourceKey && item.sourceData() == text &&
           bool(item.videoControlOSD()) == hasRecord;
}

bool EditorState::Item::samePictures(const OSDItem &item) const
{
    const bool itemKeyed = item.image().cacheKey() != item.sourceImage().cacheKey();
    if (!sameSource(item) || itemKeyed != keyed || item.isKeyApplied() != keyFlag)
        return false;
    return !keyed || (item.keyBegin() == keyBegin && item.keyEnd() == keyEnd && item.keyFill() == keyFill);
}

bool EditorState::Item::sameAs(const OSDItem &item) const
{
    if (!samePictures(item))
        return false;
    if (!hasRecord)
        return true;
    const VideoControlOSD &live = *item.videoControlOSD();
    return RecordFields::of(live) == record && (keyed || live.image().constData() == recordData.constData());
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
