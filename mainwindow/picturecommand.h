#pragma once

#include "mainwindow/entrycommand.h"

// A picture file put into an entry's tab.
class PictureCommand final : public EntryCommand
{
public:
    PictureCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
                   Restore restore)
        : EntryCommand(text, std::move(before), std::move(after), gesture, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new PictureCommand(text(), before(), after(), gesture(), restorer());
    }
};
