#pragma once

#include "cli/clicommand.h"

class VideoControlOSD;
class QByteArray;
class QImage;
class QSize;

// brisklane-cli extract FILE -o DIR: every record's picture as DIR/NNN.png and its cut window as
// DIR/NNN-cut.png.
class ExtractCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("extract"); }
    QString summary() const override;

    // The record's whole picture, as the import shows it (opaque RGB32); null without pixels.
    static QImage picture(const VideoControlOSD *record);
    // The same from a record's pixel data, size and completion width (safe on any thread).
    static QImage picture(const QByteArray &pixels, const QSize &size, int completionWidth);

protected:
    void describe(QCommandLineParser &parser) const override;
    int execute(const QCommandLineParser &parser, const QStringList &positional) override;
};
