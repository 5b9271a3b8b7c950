#include "mainwindow/editorstepcommand.h"

EditorStepCommand::EditorStepCommand(const QString &text, State before, State after, int entry, int mergeKind,
                                     int gesture, Restore restore)
    : m_before(std::move(before)), m_after(std::move(after)), m_entry(entry), m_mergeKind(mergeKind),
      m_gesture(gesture), m_restore(std::move(restore))
{
    setText(text);
}

EditorStepCommand *EditorStepCommand::clone() const
{
    return new EditorStepCommand(text(), m_before, m_after, m_entry, m_mergeKind, m_gesture, m_restore);
}

void EditorStepCommand::undo()
{
    m_restore(m_before, m_entry);
    m_done = false;
}

void EditorStepCommand::redo()
{
    if (m_done)
        return;
    m_restore(m_after, m_entry);
    m_done = true;
}

bool EditorStepCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const EditorStepCommand *>(other);
    if (next->m_mergeKind != m_mergeKind || next->m_entry != m_entry || next->m_gesture != m_gesture)
        return false;
    m_after = next->m_after;
    return true;
}
