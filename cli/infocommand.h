#pragma once

#include "cli/clicommand.h"

class QJsonObject;
class SourceData;
class VideoControlOSD;

// brisklane-cli info FILE...: one line per record of each OSD file, or with --json one JSON
// document for all of them.
class InfoCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("info"); }
    QString summary() const override;

    static QString recordLine(int index, const VideoControlOSD *record, const SourceData *source);
    static QJsonObject recordJson(int index, const VideoControlOSD *record, const SourceData *source);

protected:
    void describe(QCommandLineParser &parser) const override;
    int execute(const QCommandLineParser &parser, const QStringList &positional) override;
};
