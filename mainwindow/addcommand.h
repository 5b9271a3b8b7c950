#pragma once

#include "mainwindow/listcommand.h"

// A new tab added to the list.
class AddCommand final : public ListCommand
{
public:
    AddCommand(const QString &text, State before, State after, int entry, Restore restore)
        : ListCommand(text, std::move(before), std::move(after), entry, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new AddCommand(text(), before(), after(), entry(), restorer());
    }
};
