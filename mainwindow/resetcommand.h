#pragma once

#include "mainwindow/entrycommand.h"

// An entry's keying undone: the picture as loaded again.
class ResetCommand final : public EntryCommand
{
public:
    ResetCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
                 Restore restore)
        : EntryCommand(text, std::move(before), std::move(after), gesture, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new ResetCommand(text(), before(), after(), gesture(), restorer());
    }
};
