#include "cli/projectitems.h"

#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"

ProjectState::Entry ProjectItems::entryOf(const ItemSpec &spec, const ItemBuilder::Result &result)
{
    ProjectState::Entry saved;
    OsdEntry &entry = saved.entry;
    entry.id = spec.index + 1;
    entry.number = spec.index + 1;
    entry.kind = spec.isText ? OsdEntry::Kind::Text : OsdEntry::Kind::Picture;
    if (spec.isText) {
        entry.source = result.picture;
        entry.text = {result.source->getContent(), result.source->getTextFont(),
                      result.source->getTextColor()};
    } else {
        entry.original = result.original;
    }
    // The key panel's recipe: the switch also goes into the record as its fill switch.
    entry.key.enabled = spec.fillOn;
    if (spec.hasKey) {
        entry.key.begin = spec.keyBegin;
        entry.key.end = spec.keyEnd;
        entry.key.fill = spec.fill;
    }
    entry.position = ItemRecords::location(spec.at);
    entry.cut = spec.hasCut ? spec.cut : QRect();
    entry.cutView = spec.hasCut && spec.cutOn;

    // What the editor's keying leaves on the item: keyed once, with these colours.
    EntryOutput &output = saved.output;
    output.keyed = spec.hasKey;
    output.keyFlag = spec.hasKey;
    if (spec.hasKey) {
        output.keyBegin = spec.keyBegin;
        output.keyEnd = spec.keyEnd;
        output.keyFill = spec.fill;
    }
    output.hasRecord = true;
    output.record = ItemRecords::fieldsOf(*result.record);
    return saved;
}

void ProjectItems::recordsOf(const ProjectState &state, QList<VideoControlOSD *> *records,
                             QList<SourceData *> *sources)
{
    const int first = records->size();
    ItemRecords::listRecords(state, records, sources);
    for (int i = first; i < records->size(); ++i) {
        SharedRecord::retain(records->at(i));
        SharedRecord::retain(sources->at(i));
    }
}
