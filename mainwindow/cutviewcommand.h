#pragma once

#include "mainwindow/entrycommand.h"

// An entry's cut view switched on or off.
class CutViewCommand final : public EntryCommand
{
public:
    CutViewCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
                   Restore restore)
        : EntryCommand(text, std::move(before), std::move(after), gesture, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new CutViewCommand(text(), before(), after(), gesture(), restorer());
    }
};
