#pragma once

#include "mainwindow/entrycommand.h"

// A new cut window for an entry's picture.
class CutCommand final : public EntryCommand
{
public:
    CutCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
               Restore restore)
        : EntryCommand(text, std::move(before), std::move(after), gesture, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new CutCommand(text(), before(), after(), gesture(), restorer());
    }
};
