// Opening a project of 50 pictures of 3840x2160 (PNG files) against importing the OSD file the
// same list exports to (reading it, checking it and taking every record's pixels as the import
// does, without a copy): the project decodes 50 PNG files on all cores, the import reads 1.24 GB. And what a
// save after one keying step writes, against saving the whole project anew.
#include "benchsupport.h"
#include "core/pixels/pictureloader.h"
#include "core/pixels/publicbase.h"
#include "core/pixels/rasterform.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/project/projectfile.h"
#include "interfaces/records/itemrecords.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

using namespace BenchSupport;

namespace {

constexpr int kPictures = 50;

// Bytes this process has handed to write() so far (Linux); -1 elsewhere.
qint64 bytesWritten()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("wchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

// The resident memory in kB (Linux): now, or its peak since the last resetPeak(); -1 elsewhere.
qint64 residentKb(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

struct Fixture
{
    QTemporaryDir dir;
    QString project;
    QString osdFile;
    ProjectState state;

    Fixture()
    {
        project = dir.filePath(QStringLiteral("fifty.brisklane"));
        osdFile = dir.filePath(QStringLiteral("fifty.pic"));
        // Different pictures, encoded on all cores.
        QVector<int> indices;
        for (int i = 0; i < kPictures; ++i)
            indices.append(i);
        const QVector<ProjectState::Entry> entries =
            QtConcurrent::blockingMapped<QVector<ProjectState::Entry>>(
                indices, std::function<ProjectState::Entry(const int &)>([](const int &i) {
                    QImage picture = testPicture(3840, 2160);
                    picture.setPixel(i, i, qRgb(i, 255 - i, 7));
                    QByteArray png;
                    QBuffer buffer(&png);
                    buffer.open(QIODevice::WriteOnly);
                    picture.save(&buffer, "png");
                    ProjectState::Entry saved;
                    saved.entry.id = i + 1;
                    saved.entry.number = i + 1;
                    saved.entry.kind = OsdEntry::Kind::Picture;
                    saved.entry.original = png;
                    saved.entry.source = RasterForm::convert(PictureLoader::decode(png, nullptr));
                    saved.output.hasRecord = true;
                    saved.output.record = ItemRecords::fieldsOf(
                        *std::unique_ptr<VideoControlOSD>(ItemRecords::pictureRecord(saved.entry.source)));
                    return saved;
                }));
        state.entries = entries;
        ProjectFile::Error error;
        if (!ProjectFile().save(project, state, &error))
            qFatal("%s", qPrintable(error.message()));
        QList<VideoControlOSD *> records;
        for (const ProjectState::Entry &saved : qAsConst(state.entries)) {
            VideoControlOSD *record = ItemRecords::entryRecord(saved);
            SharedRecord::retain(record);
            records.append(record);
        }
        OsdFileError reason;
        QList<SourceData *> sources;
        for (int i = 0; i < kPictures; ++i)
            sources.append(nullptr);
        if (!OsdFile::write(osdFile, records, sources, &reason))
            qFatal("%s", qPrintable(reason.message()));
        for (VideoControlOSD *record : qAsConst(records))
            SharedRecord::release(record);
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_LoadProject(benchmark::State &state)
{
    Fixture &f = fixture();
    double peakMB = 0;
    for (auto _ : state) {
        // What the load adds to the memory, at its peak: the fixture's own pictures aside.
        const qint64 before = residentKb("VmRSS:");
        resetPeak();
        ProjectState loaded;
        ProjectFile::Error error;
        if (!ProjectFile().load(f.project, &loaded, &error))
            state.SkipWithError(qPrintable(error.message()));
        benchmark::DoNotOptimize(loaded.entries.size());
        peakMB = qMax(peakMB, double(residentKb("VmHWM:") - before) / 1024);
    }
    // The bound: twice the pixels loaded and 200 MB.
    const double pixelsMB = double(kPictures) * 3840 * 2160 * 4 / (1024 * 1024);
    state.counters["peak_MB"] = peakMB;
    state.counters["bound_MB"] = 2 * pixelsMB + 200;
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ImportOsdFile(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        OsdFile::Contents contents;
        OsdFileError reason;
        if (!OsdFile::read(f.osdFile, &contents, &reason))
            state.SkipWithError(qPrintable(reason.message()));
        const QList<QImage> images = QtConcurrent::blockingMapped<QList<QImage>>(
            contents.records(),
            std::function<QImage(VideoControlOSD *const &)>([](VideoControlOSD *const &record) {
                // The window shows the record's pixel data as they are (quillmere_exchange.cpp).
                return PublicBase::osdDataView(record->image(), record->size().width(),
                                               record->size().height(), record->completionImageWidth());
            }));
        benchmark::DoNotOptimize(images.size());
    }
}
BENCHMARK(BM_ImportOsdFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_SaveAnew(benchmark::State &state)
{
    Fixture &f = fixture();
    const QString file = f.dir.filePath(QStringLiteral("anew.brisklane"));
    for (auto _ : state) {
        QFile::remove(file);
        const qint64 before = bytesWritten();
        ProjectFile::Error error;
        if (!ProjectFile().save(file, f.state, &error))
            state.SkipWithError(qPrintable(error.message()));
        state.counters["written_MB"] = double(bytesWritten() - before) / 1e6;
    }
}
BENCHMARK(BM_SaveAnew)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_SaveAfterKeyStep(benchmark::State &state)
{
    Fixture &f = fixture();
    ProjectFile file;
    ProjectFile::Error error;
    ProjectState edited = f.state;
    // The object knows the pictures from its first save, as the editor's does from its last.
    file.save(f.project, edited, &error);
    int step = 0;
    for (auto _ : state) {
        edited.entries[7].output.keyed = true;
        edited.entries[7].output.keyBegin = QColor(0, 0, 0);
        edited.entries[7].output.keyEnd = QColor(++step % 200, 255, 255);
        edited.entries[7].output.keyFill = QColor(0, 0, 0);
        const qint64 before = bytesWritten();
        if (!file.save(f.project, edited, &error))
            state.SkipWithError(qPrintable(error.message()));
        state.counters["written_kB"] = double(bytesWritten() - before) / 1e3;
        state.counters["pictures_written"] = file.lastSave().blobsWritten;
    }
}
BENCHMARK(BM_SaveAfterKeyStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    return run(argc, argv, "Project files: 50 pictures of 3840x2160",
               {Line("open the project, against importing its OSD file", "BM_LoadProject", "BM_ImportOsdFile",
                     1.5, true),
                Line("save after one keying step, against saving anew", "BM_SaveAfterKeyStep", "BM_SaveAnew",
                     0.05, true)});
}
