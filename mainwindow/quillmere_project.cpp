// The whole list as one value, for project files and the recovery copy, and back.
#include "mainwindow/quillmere.h"

#include "core/records/itemrecords.h"
#include "interfaces/model/sharedrecord.h"
#include "interfaces/styled/tablewidgetex.h"
#include "osditem/publicbase.h"

#include <QUndoStack>

ProjectState Quillmere::projectState() const
{
    const std::shared_ptr<const EditorState> state = captureState();
    ProjectState project;
    project.screen = m_outputScreenSize;
    project.current = state->current;
    project.entries.reserve(state->tabs.size());
    for (const EditorState::Tab &tab : state->tabs) {
        ProjectState::Entry saved;
        saved.entry = tab.entry;
        if (tab.item) {
            saved.output = tab.item->output;
            // A picture's record data are made again from its file; an imported record's and a
            // text's are kept as they are (the text's come from a rendering no font can repeat).
            if (!saved.output.keyed && saved.output.hasRecord &&
                !(tab.entry.kind == OsdEntry::Kind::Picture && tab.entry.hasOriginal))
                saved.recordData = tab.item->recordData;
        }
        project.entries.append(saved);
    }
    return project;
}

void Quillmere::openProjectState(const ProjectState &project)
{
    auto state = std::make_shared<EditorState>();
    state->current = project.current;
    for (const ProjectState::Entry &saved : project.entries) {
        EditorState::Tab tab;
        tab.entry = saved.entry;
        if (saved.entry.kind != OsdEntry::Kind::Empty) {
            QByteArray data = saved.recordData;
            if (data.isNull() && saved.output.hasRecord && !saved.output.keyed)
                data = PublicBase::imageToOsdData(saved.entry.source, nullptr);
            SourceData *text = nullptr;
            if (saved.entry.kind == OsdEntry::Kind::Text)
                text = ItemRecords::textSource(saved.entry.text.colour, saved.entry.text.font,
                                               saved.entry.text.content);
            tab.item = std::make_shared<const EditorState::Item>(saved.entry.source.cacheKey(), saved.output,
                                                                 data, text);
        }
        state->tabs.append(tab);
    }
    // Whatever was on screen goes, and with it its history: the project is a new start.
    m_undoStack->clear();
    m_droppedSteps = 0;
    showUndoTip();
    m_lastState.reset();
    applyOutputScreenSize(project.screen);
    const int current = qBound(0, project.current, qMax(0, state->tabs.size() - 1));
    restoreState(state, state->tabs.isEmpty() ? 0 : state->tabs[current].entry.id);
    markSaved();
}
