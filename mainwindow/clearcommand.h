#pragma once

#include "mainwindow/entrycommand.h"

// An entry's item taken away, the tab kept.
class ClearCommand final : public EntryCommand
{
public:
    ClearCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
                 Restore restore)
        : EntryCommand(text, std::move(before), std::move(after), gesture, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new ClearCommand(text(), before(), after(), gesture(), restorer());
    }
};
