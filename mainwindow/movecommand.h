#pragma once

#include "mainwindow/entrycommand.h"

// An entry's item moved on the output screen; the moves of one drag are one step.
class MoveCommand final : public EntryCommand
{
public:
    MoveCommand(const QString &text, EditorState::Tab before, EditorState::Tab after, int gesture,
                Restore restore)
        : EntryCommand(text, std::move(before), std::move(after), gesture, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new MoveCommand(text(), before(), after(), gesture(), restorer());
    }
    int id() const override { return MoveMerge; }
    bool mergeWith(const QUndoCommand *next) override { return absorb(next); }
};
