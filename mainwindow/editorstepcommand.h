#pragma once

#include "mainwindow/editorstate.h"

#include <QUndoCommand>

#include <functional>
#include <memory>

// One step of the OSD list: the list before and after it. Undo and redo bring back one of the two
// through the function the main window gives; the first redo, when the stack takes the step that
// has already happened, does nothing.
class EditorStepCommand : public QUndoCommand
{
public:
    using State = std::shared_ptr<const EditorState>;
    using Restore = std::function<void(const State &state, int entry)>;

    // Steps of a kind that merge (key changes, moves) have a mergeKind above 0; they merge while
    // they are about the same tab and come from the same gesture.
    EditorStepCommand(const QString &text, State before, State after, int entry, int mergeKind, int gesture,
                      Restore restore);

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeKind > 0 ? m_mergeKind : -1; }
    bool mergeWith(const QUndoCommand *other) override;

    // The same step, to be pushed onto a stack again; its first redo does nothing.
    EditorStepCommand *clone() const;

    const State &before() const { return m_before; }
    const State &after() const { return m_after; }

private:
    State m_before;
    State m_after;
    int m_entry;
    int m_mergeKind;
    int m_gesture;
    Restore m_restore;
    bool m_done = true;
};
