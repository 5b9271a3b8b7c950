#pragma once

#include "cli/clicommand.h"

// brisklane-cli check FILE...: reads and validates every file completely, as the import does (an OSD
// file) or as the editor opens it (a project).
class CheckCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("check"); }
    QString summary() const override;

    // A project by its name or, whatever its name, by its first bytes (an SQLite database).
    static bool isProject(const QString &fileName);

protected:
    void describe(QCommandLineParser &parser) const override;
    int execute(const QCommandLineParser &parser, const QStringList &positional) override;
};
