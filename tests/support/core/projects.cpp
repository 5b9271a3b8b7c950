#include "support/core/projects.h"

#include "core/pixels/pictureloader.h"
#include "core/pixels/rasterform.h"
#include "core/text/textrenderer.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"

#include <QBuffer>

namespace Projects {

QByteArray fileBytes(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

ProjectState::Entry pictureEntry(int id, const QByteArray &original, const QPoint &position)
{
    ProjectState::Entry saved;
    saved.entry.id = id;
    saved.entry.number = id;
    saved.entry.kind = OsdEntry::Kind::Picture;
    saved.entry.original = original;
    saved.entry.source = RasterForm::flattened(RasterForm::convert(PictureLoader::decode(original, nullptr)));
    saved.entry.position = position;
    VideoControlOSD *record = ItemRecords::pictureRecord(saved.entry.source);
    record->setLocation(position);
    saved.output.hasRecord = true;
    saved.output.record = ItemRecords::fieldsOf(*record);
    delete record;
    return saved;
}

ProjectState::Entry textEntry(int id, const QString &text, const QFont &font, const QColor &colour)
{
    ProjectState::Entry saved;
    saved.entry.id = id;
    saved.entry.number = id;
    saved.entry.kind = OsdEntry::Kind::Text;
    const TextRenderer::Result rendered =
        TextRenderer::render(text, font, colour, ItemRecords::defaultTextMaxSize());
    saved.entry.source = rendered.image;
    saved.entry.text = {rendered.text, font, colour};
    VideoControlOSD *record = ItemRecords::textRecord(rendered.image, colour);
    saved.output.hasRecord = true;
    saved.output.record = ItemRecords::fieldsOf(*record);
    delete record;
    return saved;
}

QByteArray osdFileOf(const ProjectState &state)
{
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    ItemRecords::listRecords(state, &records, &sources);
    for (int i = 0; i < records.size(); ++i) {
        SharedRecord::retain(records.at(i));
        SharedRecord::retain(sources.at(i));
    }
    QByteArray bytes;
    OsdFileError error;
    if (!OsdFile::encode(records, sources, &bytes, &error))
        bytes.clear();
    for (VideoControlOSD *record : qAsConst(records))
        SharedRecord::release(record);
    for (SourceData *source : qAsConst(sources))
        SharedRecord::release(source);
    return bytes;
}

} // namespace Projects
