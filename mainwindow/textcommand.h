#pragma once

#include "mainwindow/entrycommand.h"

// A text from the text window put into an entry's tab.
class TextCommand final : public EntryCommand
{
public:
    TextCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
                Restore restore)
        : EntryCommand(text, std::move(before), std::move(after), gesture, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new TextCommand(text(), before(), after(), gesture(), restorer());
    }
};
