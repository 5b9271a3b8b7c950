#include "cli/extractcommand.h"

#include "interfaces/device/osdfile.h"
#include "interfaces/model/videocontrolosd.h"
#include "osditem/publicbase.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <memory>

namespace {

QString shown(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

struct Output
{
    QString path;
    QImage image;
};

bool writePng(const Output &output, QString *error)
{
    // Atomic, like the OSD files: a half-written picture never stands under the final name.
    QSaveFile file(output.path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(output.image)) {
        *error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

QString ExtractCommand::summary() const
{
    return QStringLiteral("Writes the picture of every record of an OSD file as DIR/NNN.png (from 000), and "
                          "DIR/NNN-cut.png for its cut window where it has one.");
}

void ExtractCommand::describe(QCommandLineParser &parser) const
{
    parser.addOption(QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                        QStringLiteral("The folder to write into (made if missing)."),
                                        QStringLiteral("DIR")));
    parser.addOption(
        QCommandLineOption(QStringLiteral("force"), QStringLiteral("Overwrite existing files.")));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The OSD file."),
                                 QStringLiteral("FILE"));
}

QImage ExtractCommand::picture(const VideoControlOSD *record)
{
    const QSize size = record->size();
    QImage image =
        PublicBase::osdDataView(record->image(), size.width(), size.height(), record->completionImageWidth());
    if (image.isNull()) {
        const std::unique_ptr<QImage> decoded(PublicBase::osdDataToImage(
            record->image(), size.width(), size.height(), record->completionImageWidth()));
        if (decoded)
            image = *decoded;
    }
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

int ExtractCommand::execute(const QCommandLineParser &parser, const QStringList &positional)
{
    const QString dirName = parser.value(QStringLiteral("o"));
    if (dirName.isEmpty())
        return usageError(QStringLiteral("no output folder given (-o DIR)"));
    if (positional.size() != 1)
        return usageError(QStringLiteral("give exactly one OSD file"));
    const QString file = positional.first();

    OsdFile::Contents contents;
    QString reason;
    if (!OsdFile::read(file, &contents, &reason)) {
        err(QStringLiteral("%1: %2").arg(shown(file), reason));
        return Refused;
    }

    const QDir dir(dirName);
    QList<Output> outputs;
    for (int i = 0; i < contents.count(); ++i) {
        const VideoControlOSD *record = contents.records().at(i);
        const QString stem = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        const QImage whole = picture(record);
        if (whole.isNull()) {
            err(QStringLiteral("%1: record %2 has no picture; not written").arg(shown(file), stem));
            continue;
        }
        outputs.append({dir.filePath(stem + QStringLiteral(".png")), whole});
        // The window as the editor shows it: the part of the stored rectangle inside the picture.
        const QRect cut = record->CutImageSize().normalized() & whole.rect();
        if (!record->CutImageSize().isEmpty() && !cut.isEmpty())
            outputs.append({dir.filePath(stem + QStringLiteral("-cut.png")), whole.copy(cut)});
    }

    if (!parser.isSet(QStringLiteral("force"))) {
        for (const Output &output : qAsConst(outputs)) {
            if (QFileInfo::exists(output.path)) {
                err(QStringLiteral("%1: already exists (use --force to overwrite); nothing written")
                        .arg(shown(output.path)));
                return Refused;
            }
        }
    }
    if (!dir.exists() && !QDir().mkpath(dirName)) {
        err(QStringLiteral("%1: cannot make the folder").arg(shown(dirName)));
        return Refused;
    }
    for (const Output &output : qAsConst(outputs)) {
        QString error;
        if (!writePng(output, &error)) {
            err(QStringLiteral("%1: %2").arg(shown(output.path), error));
            return Refused;
        }
        out(shown(output.path));
    }
    return Success;
}
