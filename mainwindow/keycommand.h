#pragma once

#include "mainwindow/entrycommand.h"

// A change of an entry's key ranges or switch, or a picked colour; the changes of one slider drag or pick
// gesture are one step.
class KeyCommand final : public EntryCommand
{
public:
    KeyCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
               Restore restore)
        : EntryCommand(text, std::move(before), std::move(after), gesture, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new KeyCommand(text(), before(), after(), gesture(), restorer());
    }
    int id() const override { return KeyMerge; }
    bool mergeWith(const QUndoCommand *next) override { return absorb(next); }
};
