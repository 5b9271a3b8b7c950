#pragma once

#include "cli/clicommand.h"
#include "cli/itemspec.h"

#include <QList>

// brisklane-cli pack -o OUT INPUT...: builds an OSD file from picture files and manifests. Items
// are built on all cores; the file keeps the order of the inputs. Nothing is written when any
// input is refused.
class PackCommand : public CliCommand
{
public:
    // The editor's limit on the number of OSD items.
    static constexpr int MaxItems = 50;

    QString name() const override { return QStringLiteral("pack"); }
    QString summary() const override;

    // The items of the inputs in order: picture files, folders of pictures (by name) and manifests
    // (*.json). false with *error naming the input.
    static bool collect(const QStringList &inputs, QList<ItemSpec> *items, QString *error);

protected:
    void describe(QCommandLineParser &parser) const override;
    int execute(const QCommandLineParser &parser, const QStringList &positional) override;
};
