#pragma once

#include "mainwindow/editorstate.h"
#include "mainwindow/historycommand.h"

#include <memory>

// A step that changed the list itself (tabs came or went): the whole list before and after, every
// item shared with the states around it wherever it did not change.
class ListCommand : public HistoryCommand
{
public:
    using State = std::shared_ptr<const EditorState>;
    using Restore = std::function<void(const State &state, int entry)>;

    void visitBuffers(const BufferVisitor &visit) const override;

protected:
    ListCommand(const QString &text, State before, State after, int entry, Restore restore);
    void bringBack(bool after) override;
    const State &before() const { return m_before; }
    const State &after() const { return m_after; }
    const Restore &restorer() const { return m_restore; }

private:
    State m_before;
    State m_after;
    Restore m_restore;
};
