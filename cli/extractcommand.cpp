#include "cli/extractcommand.h"

#include "core/files/safefile.h"
#include "core/pixels/publicbase.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/videocontrolosd.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <QThread>
#include <QtConcurrent>

#include <deque>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace {

QString shown(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

QString stemOf(int index)
{
    return QStringLiteral("%1").arg(index, 3, 10, QLatin1Char('0'));
}

// Records in flight hold at most about this much memory between them (one always goes, whatever
// its size), so that a file of large pictures is not held in memory whole.
constexpr qint64 MemoryBudget = qint64(256) << 20;
// A picture needs more memory than its own pixel data only by this much: a record whose rows are
// narrower than its width (the rest of each row would be made up) is not unpacked past it.
constexpr qint64 MadeUpAllowance = qint64(16) << 20;

// What one record becomes, known before anything is written.
struct Plan
{
    bool picture = false;
    bool cut = false;
    QRect cutRect;
    // Memory the record takes while it is written: its pixel data, the picture and its window.
    qint64 cost = 0;
    QString refusal;
};

Plan planFor(const VideoControlOSD *record)
{
    Plan plan;
    const QSize size = record->size();
    const qint64 stored = record->image().size();
    if (size.width() <= 0 || size.height() <= 0 || stored == 0) {
        plan.refusal = QStringLiteral("has no picture");
        return plan;
    }
    const qint64 unpacked = qint64(size.width()) * size.height() * 4;
    if (unpacked > 2 * stored + MadeUpAllowance) {
        plan.refusal = QStringLiteral("is refused: its %1x%2 picture would be made up from only %3 of pixel "
                                      "data (%4 a row)")
                           .arg(size.width())
                           .arg(size.height())
                           .arg(CliCommand::counted(stored, QStringLiteral("byte"), QStringLiteral("bytes")),
                                CliCommand::counted(record->completionImageWidth(), QStringLiteral("pixel"),
                                                    QStringLiteral("pixels")));
        return plan;
    }
    plan.picture = true;
    // The window as the editor shows it: the part of the stored rectangle inside the picture.
    plan.cutRect = record->CutImageSize().normalized() & QRect(QPoint(0, 0), size);
    plan.cut = !record->CutImageSize().isEmpty() && !plan.cutRect.isEmpty();
    plan.cost = stored + unpacked + (plan.cut ? qint64(plan.cutRect.width()) * plan.cutRect.height() * 4 : 0);
    return plan;
}

bool writePng(const QString &path, const QImage &image, QString *error)
{
    // Atomic, like the OSD files: a half-written picture never stands under the final name.
    QSaveFile file(path);
    if (!SafeFile::open(&file, error))
        return false;
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        // A device that failed says why; the encoder's own word otherwise.
        *error = file.error() != QFileDevice::NoError ? SafeFile::writeFailure(&file) : writer.errorString();
        file.cancelWriting();
        return false;
    }
    return SafeFile::commit(&file, error);
}

// One record on its way to its pictures, on a worker thread; nothing shared with the reader.
struct Job
{
    int index = 0;
    QByteArray pixels;
    QSize size;
    int completionWidth = 0;
    Plan plan;
    QString whole;
    QString cut;
};

struct Done
{
    QStringList written;
    QStringList refusals;
    qint64 cost = 0;
};

Done extractOne(const Job &job)
{
    Done done;
    done.cost = job.plan.cost;
    const QImage whole = ExtractCommand::picture(job.pixels, job.size, job.completionWidth);
    if (whole.isNull()) {
        done.refusals.append(QStringLiteral("record %1: not enough memory for its %2x%3 picture; not written")
                                 .arg(stemOf(job.index))
                                 .arg(job.size.width())
                                 .arg(job.size.height()));
        return done;
    }
    QString error;
    if (writePng(job.whole, whole, &error))
        done.written.append(shown(job.whole));
    else
        done.refusals.append(QStringLiteral("%1: %2").arg(shown(job.whole), error));
    if (job.plan.cut) {
        const QImage window = whole.copy(job.plan.cutRect);
        if (window.isNull())
            done.refusals.append(QStringLiteral("%1: not enough memory; not written").arg(shown(job.cut)));
        else if (writePng(job.cut, window, &error))
            done.written.append(shown(job.cut));
        else
            done.refusals.append(QStringLiteral("%1: %2").arg(shown(job.cut), error));
    }
    return done;
}

// Makes the folder and its parents; the system's reason when it cannot.
bool makeFolder(const QString &dirName, QString *error)
{
    if (QFileInfo(dirName).isDir())
        return true;
    std::error_code code;
    std::filesystem::create_directories(std::filesystem::u8path(dirName.toStdString()), code);
    if (code || !QFileInfo(dirName).isDir()) {
        *error = code ? QString::fromLocal8Bit(code.message().c_str()) : QStringLiteral("not a folder");
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
    return picture(record->image(), record->size(), record->completionImageWidth());
}

QImage ExtractCommand::picture(const QByteArray &pixels, const QSize &size, int completionWidth)
{
    QImage image = PublicBase::osdDataView(pixels, size.width(), size.height(), completionWidth);
    if (image.isNull()) {
        const std::unique_ptr<QImage> decoded(
            PublicBase::osdDataToImage(pixels, size.width(), size.height(), completionWidth));
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

    // The whole file is checked first, keeping only what each record becomes: a damaged file
    // writes nothing, and the names can be checked before the first picture is written.
    std::vector<Plan> plans;
    OsdFileError problem;
    if (!OsdFile::scan(
            file, [&plans](int, VideoControlOSD *record, SourceData *) { plans.push_back(planFor(record)); },
            &problem)) {
        err(QStringLiteral("%1: %2").arg(shown(file), problem.message()));
        return Refused;
    }

    const QDir dir(dirName);
    const bool force = parser.isSet(QStringLiteral("force"));
    for (size_t i = 0; i < plans.size(); ++i) {
        const QString stem = stemOf(int(i));
        for (const QString &name : {stem + QStringLiteral(".png"), stem + QStringLiteral("-cut.png")}) {
            if (!(name.endsWith(QLatin1String("-cut.png")) ? plans[i].cut : plans[i].picture))
                continue;
            const QString path = dir.filePath(name);
            // Without --force nothing is written through an existing name of any kind (a dangling
            // link too); with it, only regular files are replaced.
            if (!force && SafeFile::nameTaken(path)) {
                err(QStringLiteral("%1: already exists (use --force to overwrite); nothing written")
                        .arg(shown(path)));
                return Refused;
            }
            const QString refusal = SafeFile::targetProblem(path);
            if (!refusal.isEmpty()) {
                err(QStringLiteral("%1: %2; nothing written").arg(shown(path), refusal));
                return Refused;
            }
        }
    }
    QString folderError;
    if (!makeFolder(dirName, &folderError)) {
        err(QStringLiteral("%1: cannot make the folder (%2)").arg(shown(dirName), folderError));
        return Refused;
    }

    // Records are read one after the other and turned into pictures on all cores, as many at a
    // time as the memory budget allows; what is written is said in record order.
    int code = Success;
    std::deque<QFuture<Done>> inFlight;
    qint64 held = 0;
    const size_t window = size_t(2 * qMax(1, QThread::idealThreadCount()));
    auto finishFront = [&] {
        const Done done = inFlight.front().result();
        inFlight.pop_front();
        held -= done.cost;
        for (const QString &line : done.written)
            out(line);
        for (const QString &line : done.refusals)
            err(line);
        if (!done.refusals.isEmpty())
            code = Refused;
    };
    const bool read = OsdFile::scan(
        file,
        [&](int index, VideoControlOSD *record, SourceData *) {
            const Plan &plan = plans.at(size_t(index));
            if (!plan.picture) {
                err(QStringLiteral("%1: record %2 %3; not written")
                        .arg(shown(file), stemOf(index), plan.refusal));
                code = Refused;
                return;
            }
            while (!inFlight.empty() && (inFlight.size() >= window || held + plan.cost > MemoryBudget))
                finishFront();
            Job job;
            job.index = index;
            job.pixels = record->image();
            job.size = record->size();
            job.completionWidth = record->completionImageWidth();
            job.plan = plan;
            job.whole = dir.filePath(stemOf(index) + QStringLiteral(".png"));
            job.cut = dir.filePath(stemOf(index) + QStringLiteral("-cut.png"));
            held += plan.cost;
            inFlight.push_back(QtConcurrent::run([job] { return extractOne(job); }));
        },
        &problem);
    while (!inFlight.empty())
        finishFront();
    if (!read) {
        // The file changed since it was checked.
        err(QStringLiteral("%1: %2").arg(shown(file), problem.message()));
        return Refused;
    }
    return code;
}
