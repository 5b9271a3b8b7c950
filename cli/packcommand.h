#pragma once

#include "cli/clicommand.h"
#include "cli/itemspec.h"
#include "interfaces/project/projectfile.h"

#include <QList>

// brisklane-cli pack -o OUT INPUT...: builds an OSD file or a project from picture files and
// manifests, or exports a project to an OSD file. Items are built on all cores; the file keeps the
// order of the inputs. Nothing is written when any input is refused.
class PackCommand : public CliCommand
{
public:
    // The editor's limit on the number of OSD items.
    static constexpr int MaxItems = ProjectFile::MaxEntries;

    QString name() const override { return QStringLiteral("pack"); }
    QString summary() const override;

    // The items of the inputs in order: picture files, folders of pictures (by name) and manifests
    // (*.json). false with *error naming the input.
    static bool collect(const QStringList &inputs, QList<ItemSpec> *items, QString *error);

protected:
    void describe(QCommandLineParser &parser) const override;
    int execute(const QCommandLineParser &parser, const QStringList &positional) override;

private:
    // The OSD file of a project, with the records the editor writes for it.
    int exportProject(const QString &project, const QString &output);
    // A project with the entries the editor would hold for the items.
    int makeProject(const QList<ItemSpec> &specs, const QString &output);
};
