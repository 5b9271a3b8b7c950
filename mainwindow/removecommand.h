#pragma once

#include "mainwindow/listcommand.h"

// A tab closed with its entry.
class RemoveCommand final : public ListCommand
{
public:
    RemoveCommand(const QString &text, State before, State after, int entry, Restore restore)
        : ListCommand(text, std::move(before), std::move(after), entry, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new RemoveCommand(text(), before(), after(), entry(), restorer());
    }
};
