#include "mainwindow/historycommand.h"

HistoryCommand::HistoryCommand(const QString &text, int entry, int gesture)
    : m_entry(entry), m_gesture(gesture)
{
    setText(text);
}

void HistoryCommand::undo()
{
    bringBack(false);
    m_done = false;
}

void HistoryCommand::redo()
{
    if (m_done)
        return;
    bringBack(true);
    m_done = true;
}

bool HistoryCommand::continuedBy(const QUndoCommand *next) const
{
    const auto *step = dynamic_cast<const HistoryCommand *>(next);
    return step && step->id() == id() && step->m_entry == m_entry && step->m_gesture == m_gesture;
}
