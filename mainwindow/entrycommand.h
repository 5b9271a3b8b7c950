#pragma once

#include "mainwindow/editorstate.h"
#include "mainwindow/historycommand.h"

// A step that changed one entry: its tab before and after (the entry and what its item shows).
// Undo and redo put back that tab alone; the other tabs are not looked at.
class EntryCommand : public HistoryCommand
{
public:
    using Restore = std::function<void(const EditorState::Tab &tab)>;

    const EditorState::Tab &before() const { return m_before; }
    const EditorState::Tab &after() const { return m_after; }
    void visitBuffers(const BufferVisitor &visit) const override;

protected:
    EntryCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
                 Restore restore);
    void bringBack(bool after) override;
    // Takes over the end of a step that continues this one.
    bool absorb(const QUndoCommand *next);
    const Restore &restorer() const { return m_restore; }

private:
    EditorState::Tab m_before;
    EditorState::Tab m_after;
    Restore m_restore;
};
