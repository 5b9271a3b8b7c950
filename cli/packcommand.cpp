#include "cli/packcommand.h"

#include "cli/itembuilder.h"
#include "cli/manifest.h"
#include "cli/progressline.h"
#include "interfaces/device/osdfile.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QtConcurrent>

#include <vector>

namespace {

QString shown(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

bool isManifest(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

struct Job
{
    ItemSpec spec;
    ItemBuilder::Result result;
};

} // namespace

QString PackCommand::summary() const
{
    return QStringLiteral("Builds an OSD file (.pic or .logo) from pictures (each one picture item at 0,0), "
                          "folders of pictures and manifests (*.json, see docs/cli-manifest.md).");
}

void PackCommand::describe(QCommandLineParser &parser) const
{
    parser.addOption(QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                        QStringLiteral("The OSD file to write (.pic or .logo)."),
                                        QStringLiteral("OUT")));
    parser.addPositionalArgument(QStringLiteral("inputs"),
                                 QStringLiteral("Picture files (PNG, BMP, JPG, JPEG), folders of pictures, "
                                                "manifests (*.json)."),
                                 QStringLiteral("INPUT..."));
}

bool PackCommand::collect(const QStringList &inputs, QList<ItemSpec> *items, QString *error)
{
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        if (info.isDir()) {
            const QStringList pictures =
                QDir(input).entryList({QStringLiteral("*.png"), QStringLiteral("*.bmp"),
                                       QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")},
                                      QDir::Files, QDir::Name | QDir::IgnoreCase);
            if (pictures.isEmpty()) {
                *error = QStringLiteral("%1: no pictures (*.png *.bmp *.jpg *.jpeg) in this folder")
                             .arg(shown(input));
                return false;
            }
            for (const QString &picture : pictures) {
                ItemSpec item;
                item.origin = input;
                item.index = items->size();
                item.picture = QDir(input).filePath(picture);
                items->append(item);
            }
        } else if (isManifest(input)) {
            QString why;
            if (!Manifest::read(input, items->size(), items, &why)) {
                *error = QStringLiteral("%1: %2").arg(shown(input), why);
                return false;
            }
        } else {
            ItemSpec item;
            item.origin = input;
            item.index = items->size();
            item.picture = input;
            items->append(item);
        }
    }
    return true;
}

int PackCommand::execute(const QCommandLineParser &parser, const QStringList &positional)
{
    const QString output = parser.value(QStringLiteral("o"));
    if (output.isEmpty())
        return usageError(QStringLiteral("no output file given (-o OUT.pic or -o OUT.logo)"));
    if (!output.endsWith(QLatin1String(".pic"), Qt::CaseInsensitive) &&
        !output.endsWith(QLatin1String(".logo"), Qt::CaseInsensitive))
        return usageError(QStringLiteral("the output file must end in .pic or .logo"));
    if (positional.isEmpty())
        return usageError(QStringLiteral("no input given"));

    QList<ItemSpec> specs;
    QString error;
    if (!collect(positional, &specs, &error)) {
        err(error);
        return Refused;
    }
    if (specs.size() > MaxItems) {
        err(QStringLiteral("%1 items: %2")
                .arg(specs.size())
                .arg(QStringLiteral("限制OSD数量为50,不能再添加.")));
        return Refused;
    }

    // Pictures are decoded and converted on all cores; texts are rendered here meanwhile (fonts
    // belong to the GUI thread).
    std::vector<Job> pictures;
    std::vector<Job> texts;
    for (const ItemSpec &spec : qAsConst(specs))
        (spec.isText ? texts : pictures).push_back(Job{spec, {}});
    QFuture<void> building =
        QtConcurrent::map(pictures, [](Job &job) { ItemBuilder::build(job.spec, &job.result); });
    for (Job &job : texts) {
        bool substituted = false;
        const QString wanted = job.spec.family.isEmpty() ? ItemBuilder::defaultFamily() : job.spec.family;
        const QString family = ItemBuilder::renderFamily(wanted, &substituted);
        if (substituted)
            err(QStringLiteral("%1: item %2: the font \"%3\" is not installed; rendering with \"%4\"")
                    .arg(shown(job.spec.origin), QString::number(job.spec.index), wanted, family));
        ItemBuilder::build(job.spec, &job.result);
    }
    {
        ProgressLine progress(QStringLiteral("packing"));
        const int total = int(pictures.size() + texts.size());
        while (progress.isShown() && !building.isFinished()) {
            progress.show(int(texts.size()) + building.progressValue(), total);
            QThread::msleep(100);
        }
        building.waitForFinished();
        progress.show(total, total);
    }

    // In file order.
    std::vector<Job *> ordered(size_t(specs.size()), nullptr);
    for (Job &job : pictures)
        ordered[size_t(job.spec.index)] = &job;
    for (Job &job : texts)
        ordered[size_t(job.spec.index)] = &job;
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    bool refused = false;
    for (Job *job : ordered) {
        if (!job->result.error.isEmpty()) {
            err(QStringLiteral("%1: item %2: %3")
                    .arg(shown(job->spec.origin), QString::number(job->spec.index), job->result.error));
            refused = true;
            continue;
        }
        records.append(job->result.record);
        sources.append(job->result.source);
    }

    int code = Success;
    if (refused) {
        err(QStringLiteral("%1: not written").arg(shown(output)));
        code = Refused;
    } else if (!OsdFile::write(output, records, sources, &error)) {
        err(QStringLiteral("%1: %2").arg(shown(output), error));
        code = Refused;
    } else {
        out(QStringLiteral("%1: %2 records").arg(shown(output)).arg(records.size()));
    }
    for (Job *job : ordered)
        job->result.release();
    return code;
}
