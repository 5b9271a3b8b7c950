#include "cli/packcommand.h"

#include "cli/itembuilder.h"
#include "cli/manifest.h"
#include "cli/progressline.h"
#include "cli/projectitems.h"
#include "core/files/safefile.h"
#include "core/pixels/pictureloader.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfilewriter.h"
#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/project/projectfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <QtConcurrent>

#include <deque>
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

bool isProjectName(const QString &fileName)
{
    return fileName.endsWith(QLatin1Char('.') + ProjectFile::suffix(), Qt::CaseInsensitive);
}

struct Job
{
    ItemSpec spec;
    ItemBuilder::Result result;
};

} // namespace

QString PackCommand::summary() const
{
    return QStringLiteral(
        "Builds an OSD file (.pic or .logo) or a project (.brisklane) from pictures (each one "
        "picture item at 0,0), folders of pictures and manifests (*.json, see "
        "docs/cli-manifest.md); exports a project to an OSD file as the editor does.");
}

void PackCommand::describe(QCommandLineParser &parser) const
{
    parser.addOption(QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                        QStringLiteral("The file to write: an OSD file (.pic or .logo) or a "
                                                       "project (.brisklane)."),
                                        QStringLiteral("OUT")));
    parser.addPositionalArgument(QStringLiteral("inputs"),
                                 QStringLiteral("Picture files (PNG, BMP, JPG, JPEG), folders of pictures, "
                                                "manifests (*.json); or one project (.brisklane) to export "
                                                "to an OSD file."),
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
    const bool toProject = isProjectName(output);
    if (!toProject && !output.endsWith(QLatin1String(".pic"), Qt::CaseInsensitive) &&
        !output.endsWith(QLatin1String(".logo"), Qt::CaseInsensitive))
        return usageError(QStringLiteral(
            "the output file must end in .pic or .logo (an OSD file) or .brisklane (a project)"));
    if (positional.isEmpty())
        return usageError(QStringLiteral("no input given"));
    bool fromProject = false;
    for (const QString &input : positional)
        fromProject = fromProject || isProjectName(input) || ProjectFile::looksLikeProject(input);
    if (fromProject && (positional.size() != 1 || toProject))
        return usageError(QStringLiteral("a project is exported alone, to a .pic or .logo file"));
    // Before any work: a pipe, a device, a folder or a link is never written or replaced.
    const QString target = SafeFile::targetProblem(output);
    if (!target.isEmpty()) {
        err(QStringLiteral("%1: %2; not written").arg(shown(output), target));
        return Refused;
    }

    if (fromProject)
        return exportProject(positional.first(), output);

    QList<ItemSpec> specs;
    QString error;
    if (!collect(positional, &specs, &error)) {
        err(error);
        return Refused;
    }
    if (specs.size() > MaxItems) {
        err(QStringLiteral("%1 items: %2")
                .arg(specs.size())
                .arg(QCoreApplication::translate("Quillmere", "限制OSD数量为50,不能再添加.")));
        return Refused;
    }
    if (toProject)
        return makeProject(specs, output);

    // Pictures are decoded and converted on all cores, a bounded number at a time so that memory
    // stays bounded, and written in file order as they come; texts are rendered here first (fonts
    // belong to the GUI thread) while the first pictures decode.
    std::vector<Job> jobs;
    jobs.reserve(size_t(specs.size()));
    for (const ItemSpec &spec : qAsConst(specs))
        jobs.push_back(Job{spec, {}});
    std::deque<QFuture<ItemBuilder::Result>> inFlight;
    size_t nextPicture = 0;
    const size_t window = size_t(2 * qMax(1, QThread::idealThreadCount()));
    auto launch = [&] {
        for (; nextPicture < jobs.size() && inFlight.size() < window; ++nextPicture) {
            if (jobs[nextPicture].spec.isText)
                continue;
            const ItemSpec spec = jobs[nextPicture].spec;
            inFlight.push_back(QtConcurrent::run([spec] {
                ItemBuilder::Result result;
                ItemBuilder::build(spec, &result);
                return result;
            }));
        }
    };
    launch();
    for (Job &job : jobs) {
        if (!job.spec.isText)
            continue;
        bool substituted = false;
        const QString wanted = job.spec.family.isEmpty() ? ItemBuilder::defaultFamily() : job.spec.family;
        const QString family = ItemBuilder::renderFamily(wanted, &substituted);
        if (substituted)
            err(QStringLiteral("%1: item %2: the font \"%3\" is not installed; rendering with \"%4\"")
                    .arg(shown(job.spec.origin), QString::number(job.spec.index), wanted, family));
        ItemBuilder::build(job.spec, &job.result);
    }

    // Every record's size is known before its pixels are: a picture's from its header, a text's
    // from its rendering. An item that cannot be planned is refused below with the builder's reason.
    std::vector<qint64> planned(jobs.size(), -1);
    qint64 total = OsdFile::HeaderSize + OsdFile::TrailerSize;
    bool plannable = true;
    OsdFileError planError;
    for (size_t i = 0; i < jobs.size(); ++i) {
        const Job &job = jobs[i];
        if (job.spec.isText) {
            OsdFileError problem;
            if (job.result.error.isEmpty())
                planned[i] =
                    OsdFile::encodedRecordSize(int(i), job.result.record, job.result.source, &problem);
            // The first record that cannot be stored is the one to name, as the writer would.
            if (!planError.isError())
                planError = problem;
        } else {
            const QSize size = PictureLoader::statedSize(job.spec.picture);
            // The raster form keeps the size; every stored row holds the picture's width.
            if (size.isValid())
                planned[i] = OsdFile::pictureRecordSize(size.height(), size.width());
        }
        plannable = plannable && planned[i] >= 0;
        total += qMax<qint64>(planned[i], 0);
    }

    // The file is written while the pictures decode; a refusal found on the way abandons it.
    QSaveFile file(output);
    OsdFileWriter writer;
    OsdFileError writeError = planError;
    bool writing = plannable && writer.begin(&file, int(jobs.size()), total, &writeError);
    bool refused = false;
    ProgressLine progress(QStringLiteral("packing"));
    for (size_t i = 0; i < jobs.size(); ++i) {
        Job &job = jobs[i];
        if (!job.spec.isText) {
            job.result = inFlight.front().result();
            inFlight.pop_front();
            launch();
        }
        // A record that cannot be stored at all is named by the writer below, as for any file.
        if (job.result.error.isEmpty() && !job.spec.isText) {
            OsdFileError problem;
            const qint64 size =
                OsdFile::encodedRecordSize(int(i), job.result.record, job.result.source, &problem);
            if (size >= 0 && size != planned[i])
                job.result.error =
                    QStringLiteral("the decoded picture does not have the size its header states "
                                   "(a record of %1 bytes instead of %2)")
                        .arg(size)
                        .arg(planned[i]);
        }
        if (!job.result.error.isEmpty()) {
            err(QStringLiteral("%1: item %2: %3")
                    .arg(shown(job.spec.origin), QString::number(job.spec.index), job.result.error));
            refused = true;
        }
        if (refused && writing) {
            writer.cancel();
            writing = false;
        }
        if (writing)
            writing = writer.append(job.result.record, job.result.source, &writeError);
        // Written or not needed: the pixels can go.
        job.result.release();
        progress.show(int(i) + 1, int(jobs.size()));
    }

    if (refused) {
        err(QStringLiteral("%1: not written").arg(shown(output)));
        return Refused;
    }
    if (!writing || !writer.finish(&writeError)) {
        err(QStringLiteral("%1: %2").arg(shown(output), writeError.message()));
        return Refused;
    }
    out(QStringLiteral("%1: %2").arg(
        shown(output), counted(qint64(jobs.size()), QStringLiteral("record"), QStringLiteral("records"))));
    return Success;
}

int PackCommand::exportProject(const QString &project, const QString &output)
{
    ProjectState state;
    ProjectFile::Error error;
    ProjectFile file;
    if (!file.load(project, &state, &error)) {
        err(error.message());
        err(QStringLiteral("%1: not written").arg(shown(output)));
        return Refused;
    }
    // The records the editor writes for these entries.
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    ProjectItems::recordsOf(state, &records, &sources);
    state = ProjectState();
    OsdFileError reason;
    const bool written = OsdFile::write(output, records, sources, &reason);
    for (VideoControlOSD *record : qAsConst(records))
        SharedRecord::release(record);
    for (SourceData *source : qAsConst(sources))
        SharedRecord::release(source);
    if (!written) {
        err(QStringLiteral("%1: %2").arg(shown(output), reason.message()));
        return Refused;
    }
    out(QStringLiteral("%1: %2").arg(
        shown(output), counted(qint64(records.size()), QStringLiteral("record"), QStringLiteral("records"))));
    return Success;
}

int PackCommand::makeProject(const QList<ItemSpec> &specs, const QString &output)
{
    // Built as for an OSD file, pictures on all cores (a bounded number at a time), texts here.
    // One slot per item, written by one thread each.
    std::vector<ProjectState::Entry> entries(size_t(specs.size()));
    std::vector<QString> errors(size_t(specs.size()));
    auto build = [&](int i) {
        ItemBuilder::Result result;
        ItemBuilder::build(specs.at(i), &result, true);
        if (result.error.isEmpty())
            entries[size_t(i)] = ProjectItems::entryOf(specs.at(i), result);
        errors[size_t(i)] = result.error;
        result.release();
    };
    std::deque<QFuture<void>> inFlight;
    const size_t window = size_t(2 * qMax(1, QThread::idealThreadCount()));
    for (int i = 0; i < specs.size(); ++i) {
        if (specs[i].isText)
            continue;
        if (inFlight.size() >= window) {
            inFlight.front().waitForFinished();
            inFlight.pop_front();
        }
        inFlight.push_back(QtConcurrent::run([&build, i] { build(i); }));
    }
    for (int i = 0; i < specs.size(); ++i) {
        if (!specs[i].isText)
            continue;
        bool substituted = false;
        const QString wanted = specs[i].family.isEmpty() ? ItemBuilder::defaultFamily() : specs[i].family;
        const QString family = ItemBuilder::renderFamily(wanted, &substituted);
        if (substituted)
            err(QStringLiteral("%1: item %2: the font \"%3\" is not installed; rendering with \"%4\"")
                    .arg(shown(specs[i].origin), QString::number(specs[i].index), wanted, family));
        build(i);
    }
    for (QFuture<void> &future : inFlight)
        future.waitForFinished();
    bool refused = false;
    ProjectState state;
    for (int i = 0; i < specs.size(); ++i) {
        if (!errors[size_t(i)].isEmpty()) {
            err(QStringLiteral("%1: item %2: %3")
                    .arg(shown(specs[i].origin), QString::number(specs[i].index), errors[size_t(i)]));
            refused = true;
        }
        state.entries.append(std::move(entries[size_t(i)]));
    }
    if (refused) {
        err(QStringLiteral("%1: not written").arg(shown(output)));
        return Refused;
    }
    ProjectFile file;
    ProjectFile::Error error;
    if (!file.save(output, state, &error)) {
        err(error.message());
        return Refused;
    }
    out(QStringLiteral("%1: %2").arg(
        shown(output), counted(qint64(specs.size()), QStringLiteral("entry"), QStringLiteral("entries"))));
    return Success;
}
