#include "interfaces/records/itemrecords.h"

#include "core/pixels/colorkeyer.h"
#include "core/pixels/publicbase.h"
#include "core/pixels/rasterform.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <climits>

namespace {

// Gives the record a heap copy of image together with the image's OSD pixel data and geometry.
void fillRecordImage(VideoControlOSD *record, const QImage &image)
{
    auto *heapImage = new QImage(image);
    record->setPImageValue(heapImage);
    int completionWidth = 0;
    record->setImage(PublicBase::imageToOsdData(*heapImage, &completionWidth));
    record->setOSDFileLength(heapImage->width() * heapImage->height() * 3);
    record->setCompletionImageWidth(completionWidth);
}

int truncated(double value)
{
    if (!(value > double(INT_MIN)))
        return INT_MIN;
    if (!(value < double(INT_MAX)))
        return INT_MAX;
    return int(value);
}

} // namespace

VideoControlOSD *ItemRecords::pictureRecord(const QImage &picture)
{
    auto *record = new VideoControlOSD;
    fillRecordImage(record, picture);
    record->setIsEnableCutImage(false);
    record->setIsCanEnableCut(false);
    record->setIsAvailable(true);
    record->setSize(picture.size());
    return record;
}

VideoControlOSD *ItemRecords::textRecord(const QImage &rendered, const QColor &textColor)
{
    auto *record = new VideoControlOSD;
    // The picture as the item shows it.
    fillRecordImage(record, RasterForm::convert(rendered));
    record->setSize(rendered.size());
    record->setIsEnableCutImage(false);
    record->setIsCanEnableCut(false);
    record->setIsAvailable(true);
    record->setRed(255 - textColor.red());
    record->setGreen(255 - textColor.green());
    record->setBlue(255 - textColor.blue());
    return record;
}

SourceData *ItemRecords::textSource(const QColor &textColor, const QFont &font, const QString &text)
{
    auto *source = new SourceData;
    source->setTextColor(textColor);
    source->setTextFont(font);
    source->setContent(text);
    return source;
}

VideoControlOSD *ItemRecords::cutRecord(const QImage &whole, const QRect &window, bool cutOn,
                                        const VideoControlOSD *previous)
{
    auto *record = new VideoControlOSD;
    fillRecordImage(record, whole);
    record->setSize(whole.size());
    record->setCutImageSize(window);
    record->setIsEnableCutImage(cutOn);
    record->setIsCanEnableCut(cutOn);
    record->setIsAvailable(true);
    // The fill colour and its switch belong to the item, not to the cut: keep them.
    if (previous) {
        record->setSelectColor(previous->selectColor());
        record->setIsSelectColor(previous->IsSelectColor());
    }
    return record;
}

void ItemRecords::writeKeyed(VideoControlOSD *record, const QImage &keyed, const QByteArray &osdData,
                             int completionWidth, const QColor &fill, bool fillOn)
{
    // The record takes a handle on the same pixels (nobody writes into shared pixels) and the OSD
    // pixel data as they are, without copies.
    record->setPImageValue(new QImage(keyed));
    record->setImage(osdData);
    record->setOSDFileLength(keyed.width() * keyed.height() * 3);
    record->setCompletionImageWidth(completionWidth);
    record->setSize(keyed.size());
    record->setSelectColor(fill);
    record->setIsSelectColor(fillOn);
}

void ItemRecords::writeCutSwitch(VideoControlOSD *record, bool viewOn, bool hasCut)
{
    // The file must show what the preview shows, and the device must never get an empty window:
    // without a cut the switch stays off in the record.
    record->setIsEnableCutImage(viewOn && hasCut);
    record->setIsCanEnableCut(viewOn && hasCut);
}

EntryOutput::Record ItemRecords::fieldsOf(const VideoControlOSD &record)
{
    EntryOutput::Record fields;
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

void ItemRecords::writeFields(VideoControlOSD *record, const EntryOutput::Record &fields)
{
    record->setSize(fields.size);
    record->setCompletionImageWidth(fields.completionWidth);
    record->setOSDFileLength(fields.fileLength);
    record->setLocation(fields.location);
    record->setCutImageSize(fields.cut);
    record->setIsEnableCutImage(fields.cutEnabled);
    record->setIsCanEnableCut(fields.cutAllowed);
    record->setIsAvailable(fields.available);
    record->setRed(fields.red);
    record->setGreen(fields.green);
    record->setBlue(fields.blue);
    record->setSelectColor(fields.fill);
    record->setIsSelectColor(fields.fillOn);
}

VideoControlOSD *ItemRecords::entryRecord(const EntryOutput &output, const QImage &shown,
                                          const QByteArray &osdData)
{
    if (!output.hasRecord)
        return nullptr;
    auto *record = new VideoControlOSD;
    writeFields(record, output.record);
    record->setPImageValue(new QImage(shown));
    record->setImage(osdData);
    return record;
}

VideoControlOSD *ItemRecords::entryRecord(const ProjectState::Entry &saved)
{
    if (!saved.output.hasRecord)
        return nullptr;
    const EntryOutput &output = saved.output;
    VideoControlOSD *record = nullptr;
    if (output.keyed) {
        // Keyed exactly as the keying step keyed it.
        const ColorKeyer::Keyed keyed =
            ColorKeyer::keyed(saved.entry.source, output.keyBegin, output.keyEnd, output.keyFill, true);
        record = entryRecord(output, keyed.image, keyed.osdData);
    } else {
        // An imported record keeps the bytes its file had; any other picture's are made from it.
        const QByteArray data = !saved.recordData.isNull()
                                    ? saved.recordData
                                    : PublicBase::imageToOsdData(saved.entry.source, nullptr);
        record = entryRecord(output, saved.entry.source, data);
    }
    // The entry says where the item is; the record's own location is where it was when the record
    // was made.
    record->setLocation(saved.entry.position);
    return record;
}

SourceData *ItemRecords::entrySource(const OsdEntry &entry)
{
    if (entry.kind != OsdEntry::Kind::Text)
        return nullptr;
    return textSource(entry.text.colour, entry.text.font, entry.text.content);
}

void ItemRecords::listRecords(const ProjectState &list, QList<VideoControlOSD *> *records,
                              QList<SourceData *> *sources)
{
    for (const ProjectState::Entry &saved : list.entries) {
        VideoControlOSD *record = entryRecord(saved);
        if (!record)
            continue;
        // The file takes the pixel data alone; a picture keyed here for it is not kept.
        record->setPImageValue(nullptr);
        records->append(record);
        sources->append(entrySource(saved.entry));
    }
}

QPoint ItemRecords::location(const QPointF &scenePos)
{
    return QPoint(truncated(scenePos.x()), truncated(scenePos.y()));
}
