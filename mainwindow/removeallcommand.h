#pragma once

#include "mainwindow/listcommand.h"

// Every tab removed at once.
class RemoveAllCommand final : public ListCommand
{
public:
    RemoveAllCommand(const QString &text, State before, State after, int entry, Restore restore)
        : ListCommand(text, std::move(before), std::move(after), entry, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new RemoveAllCommand(text(), before(), after(), entry(), restorer());
    }
};
