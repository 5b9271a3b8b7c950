#include "mainwindow/listcommand.h"

ListCommand::ListCommand(const QString &text, State before, State after, int entry, Restore restore)
    : HistoryCommand(text, entry, 0), m_before(std::move(before)), m_after(std::move(after)),
      m_restore(std::move(restore))
{}

void ListCommand::bringBack(bool after)
{
    m_restore(after ? m_after : m_before, entry());
}

void ListCommand::visitBuffers(const BufferVisitor &visit) const
{
    for (const State *state : {&m_before, &m_after}) {
        if (*state) {
            for (const EditorState::Tab &tab : (*state)->tabs)
                tab.visitBuffers(visit);
        }
    }
}
