#pragma once

#include "mainwindow/listcommand.h"

// The list replaced by an imported OSD file's records.
class ImportCommand final : public ListCommand
{
public:
    ImportCommand(const QString &text, State before, State after, int entry, Restore restore)
        : ListCommand(text, std::move(before), std::move(after), entry, std::move(restore))
    {}
    HistoryCommand *clone() const override
    {
        return new ImportCommand(text(), before(), after(), entry(), restorer());
    }
};
