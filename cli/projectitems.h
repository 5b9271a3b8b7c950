#pragma once

#include "cli/itembuilder.h"
#include "cli/itemspec.h"
#include "core/document/projectstate.h"

#include <QList>

class SourceData;
class VideoControlOSD;

// Between the tool's items and project files: the entry the editor would hold for an item the tool
// built, and the records and text sources the editor writes for a loaded project.
class ProjectItems
{
public:
    // The entry of item index (ids and numbers from 1 in input order) for a result built with
    // keepPicture. A picture entry keeps only its file's bytes: the project stores those, and its
    // source would only take memory here.
    static ProjectState::Entry entryOf(const ItemSpec &spec, const ItemBuilder::Result &result);

    // The records and text sources of the entries that have a record, in tab order, each held once
    // (release them with SharedRecord::release).
    static void recordsOf(const ProjectState &state, QList<VideoControlOSD *> *records,
                          QList<SourceData *> *sources);
};
