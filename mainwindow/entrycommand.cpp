#include "mainwindow/entrycommand.h"

EntryCommand::EntryCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
                           Restore restore)
    : HistoryCommand(text, after.entry.id, gesture), m_before(std::move(before)), m_after(std::move(after)),
      m_restore(std::move(restore))
{}

void EntryCommand::bringBack(bool after)
{
    m_restore(after ? m_after : m_before);
}

bool EntryCommand::absorb(const QUndoCommand *next)
{
    if (!continuedBy(next))
        return false;
    m_after = static_cast<const EntryCommand *>(next)->m_after;
    return true;
}

void EntryCommand::visitBuffers(const BufferVisitor &visit) const
{
    for (const EditorState::Tab *tab : {&m_before, &m_after})
        tab->visitBuffers(visit);
}
