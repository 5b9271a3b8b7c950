#pragma once

#include "cli/clicommand.h"

// brisklane-cli check FILE...: reads and validates every file completely, as the import does.
class CheckCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("check"); }
    QString summary() const override;

protected:
    void describe(QCommandLineParser &parser) const override;
    int execute(const QCommandLineParser &parser, const QStringList &positional) override;
};
