#pragma once

#include "mainwindow/entrycommand.h"

// A new fill colour for an entry's keyed areas.
class FillCommand final : public EntryCommand
{
public:
    FillCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
                Restore restore)
        : EntryCommand(text, std::move(before), std::move(after), gesture, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new FillCommand(text(), before(), after(), gesture(), restorer());
    }
};
