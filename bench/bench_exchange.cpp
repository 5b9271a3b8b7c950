// Export and import of an OSD file with 50 picture items of 1920x1080 (the device control's save
// and load through the data model), against writing and reading the same number of bytes with
// plain file I/O. Wall-clock times: both sides wait for the file system. The export replaces its
// file atomically (QSaveFile: a temporary file flushed to disk, then renamed); the plain reference
// does the same, and once more without the flush. And what the window does before it writes: the
// records of 50 keyed entries made from the list's value, keying every picture again, against
// making them from the keyed pictures the items keep.
#include "benchsupport.h"
#include "core/files/checksum.h"
#include "core/pixels/colorkeyer.h"
#include "core/pixels/publicbase.h"
#include "interfaces/device/control.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace BenchSupport;

namespace {

constexpr int kItems = 50;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Fixture
{
    QTemporaryDir dir;
    QString osdFile;
    QString plainFile;
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    QByteArray fileBytes;

    Fixture()
    {
        if (!dir.isValid()) {
            std::fprintf(stderr, "no temporary directory\n");
            std::exit(1);
        }
        osdFile = dir.filePath(QStringLiteral("items.pic"));
        plainFile = dir.filePath(QStringLiteral("plain.bin"));
        // Every item its own picture, so no two records share their bytes.
        for (int i = 0; i < kItems; ++i) {
            const QImage picture = testPicture(kWidth + i % 2, kHeight).copy(i % 2, 0, kWidth, kHeight);
            auto *record = new VideoControlOSD;
            int completionWidth = 0;
            record->setImage(PublicBase::imageToOsdData(picture, &completionWidth));
            record->setSize(picture.size());
            record->setCompletionImageWidth(completionWidth);
            record->setOSDFileLength(kWidth * kHeight * 3);
            record->setLocation(QPoint(i, 2 * i));
            record->setIsAvailable(true);
            SharedRecord::retain(record);
            records.append(record);
            sources.append(nullptr);
        }
        restoreModel();
        if (!Control::getInstance()->savaOSDfile(osdFile)) {
            std::fprintf(stderr, "%s\n", qPrintable(Control::getInstance()->errorString()));
            std::exit(1);
        }
        QFile file(osdFile);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read back %s\n", qPrintable(osdFile));
            std::exit(1);
        }
        fileBytes = file.readAll();
    }

    void restoreModel()
    {
        DataMode::getInstance()->setOSDInfos(records);
        DataMode::getInstance()->setSourcedatList(sources);
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void setThroughput(benchmark::State &state)
{
    state.SetBytesProcessed(state.iterations() * fixture().fileBytes.size());
}

void exportFile()
{
    if (!Control::getInstance()->savaOSDfile(fixture().osdFile))
        std::abort();
}

void importFile()
{
    DataMode::getInstance()->clearDataModel();
    if (!Control::getInstance()->loadOSDfile(fixture().osdFile) ||
        DataMode::getInstance()->getOSDInfos().size() != kItems)
        std::abort();
}

void BM_Export(benchmark::State &state)
{
    Fixture &f = fixture();
    f.restoreModel();
    for (auto _ : state)
        exportFile();
    setThroughput(state);
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Import(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state)
        importFile();
    f.restoreModel();
    setThroughput(state);
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportImport(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        f.restoreModel();
        exportFile();
        importFile();
    }
    f.restoreModel();
    setThroughput(state);
}
BENCHMARK(BM_ExportImport)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bytes written as the export writes them (a temporary file flushed to disk and renamed
// over the target, QSaveFile) and read back whole.
void plainWrite(bool atomic)
{
    Fixture &f = fixture();
    if (atomic) {
        QSaveFile file(f.plainFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(f.fileBytes) != f.fileBytes.size() ||
            !file.commit())
            std::abort();
    } else {
        QFile file(f.plainFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(f.fileBytes) != f.fileBytes.size())
            std::abort();
    }
}

// Straight into one buffer of the file's size, past Qt's own buffer.
void plainRead()
{
    QFile file(fixture().plainFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        std::abort();
    QByteArray bytes(int(file.size()), Qt::Uninitialized);
    if (file.read(bytes.data(), bytes.size()) != fixture().fileBytes.size())
        std::abort();
}

void BM_PlainWrite(benchmark::State &state)
{
    for (auto _ : state)
        plainWrite(true);
    setThroughput(state);
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainRead(benchmark::State &state)
{
    plainWrite(true);
    for (auto _ : state)
        plainRead();
    setThroughput(state);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainWriteRead(benchmark::State &state)
{
    for (auto _ : state) {
        plainWrite(true);
        plainRead();
    }
    setThroughput(state);
}
BENCHMARK(BM_PlainWriteRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// Without the flush to disk: what writing costs when nothing waits for the disk.
void BM_PlainWriteReadUnflushed(benchmark::State &state)
{
    for (auto _ : state) {
        plainWrite(false);
        plainRead();
    }
    setThroughput(state);
}
BENCHMARK(BM_PlainWriteReadUnflushed)->Unit(benchmark::kMillisecond)->UseRealTime();

// The checksum over the file's bytes, as export and import each compute it once, against a copy of
// the same bytes (what reading them once through the caches costs).
void BM_Crc32(benchmark::State &state)
{
    const QByteArray &bytes = fixture().fileBytes;
    for (auto _ : state)
        benchmark::DoNotOptimize(Checksum::crc32(bytes.constData(), bytes.size()));
    setThroughput(state);
}
BENCHMARK(BM_Crc32)->Unit(benchmark::kMillisecond);

void BM_CopyFileBytes(benchmark::State &state)
{
    const QByteArray &bytes = fixture().fileBytes;
    QByteArray copy(bytes.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.constData(), size_t(bytes.size()));
        benchmark::ClobberMemory();
    }
    setThroughput(state);
}
BENCHMARK(BM_CopyFileBytes)->Unit(benchmark::kMillisecond);

// 50 entries of 1920x1080 keyed with a tenth of their pixels in the range, as the window's list
// holds them, and the keyed pictures their items keep.
struct KeyedList
{
    ProjectState list;
    QList<QImage> keyedPictures;

    KeyedList()
    {
        const QColor begin(kTenPercent.redLow, kTenPercent.greenLow, kTenPercent.blueLow);
        const QColor end(kTenPercent.redHigh, kTenPercent.greenHigh, kTenPercent.blueHigh);
        for (int i = 0; i < kItems; ++i) {
            ProjectState::Entry saved;
            saved.entry.id = saved.entry.number = i + 1;
            saved.entry.kind = OsdEntry::Kind::Picture;
            saved.entry.source = testPicture(kWidth + i % 2, kHeight).copy(i % 2, 0, kWidth, kHeight);
            saved.entry.position = QPoint(i, 2 * i);
            saved.output.keyed = saved.output.keyFlag = true;
            saved.output.keyBegin = begin;
            saved.output.keyEnd = end;
            saved.output.keyFill = Qt::black;
            const ColorKeyer::Keyed keyed =
                ColorKeyer::keyed(saved.entry.source, begin, end, Qt::black, true);
            VideoControlOSD *record = ItemRecords::pictureRecord(keyed.image);
            saved.output.hasRecord = true;
            saved.output.record = ItemRecords::fieldsOf(*record);
            SharedRecord::retain(record);
            SharedRecord::release(record);
            list.entries.append(saved);
            keyedPictures.append(keyed.image);
        }
    }
};

KeyedList &keyedList()
{
    static KeyedList l;
    return l;
}

void releaseAll(const QList<VideoControlOSD *> &records)
{
    for (VideoControlOSD *record : records) {
        SharedRecord::retain(record);
        SharedRecord::release(record);
    }
}

// The export's road: every keyed picture keyed again from its entry.
void BM_RecordsKeyingAgain(benchmark::State &state)
{
    const KeyedList &l = keyedList();
    for (auto _ : state) {
        QList<VideoControlOSD *> records;
        QList<SourceData *> sources;
        ItemRecords::listRecords(l.list, &records, &sources);
        releaseAll(records);
    }
}
BENCHMARK(BM_RecordsKeyingAgain)->Unit(benchmark::kMillisecond);

// The same records from the keyed pictures the items keep: only their OSD pixel data made.
void BM_RecordsFromKeyedPictures(benchmark::State &state)
{
    const KeyedList &l = keyedList();
    for (auto _ : state) {
        QList<VideoControlOSD *> records;
        for (int i = 0; i < kItems; ++i) {
            const QImage &keyed = l.keyedPictures.at(i);
            VideoControlOSD *record = ItemRecords::entryRecord(l.list.entries.at(i).output, keyed,
                                                               PublicBase::imageToOsdData(keyed, nullptr));
            record->setLocation(l.list.entries.at(i).entry.position);
            record->setPImageValue(nullptr);
            records.append(record);
        }
        releaseAll(records);
    }
}
BENCHMARK(BM_RecordsFromKeyedPictures)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    const std::vector<Line> lines = {
        {"export+import of 50 items 1920x1080 / plain write+read", "BM_ExportImport", "BM_PlainWriteRead",
         1.5, true},
        {"export of 50 items / plain write", "BM_Export", "BM_PlainWrite", 0, true},
        {"import of 50 items / plain read", "BM_Import", "BM_PlainRead", 0, true},
        {"export+import / plain write+read without flush to disk", "BM_ExportImport",
         "BM_PlainWriteReadUnflushed", 0, true},
        {"export+import of 50 items 1920x1080", "BM_ExportImport", "", 0, true},
        {"CRC-32 of the file / copy of its bytes", "BM_Crc32", "BM_CopyFileBytes"},
        {"records of 50 keyed entries / export of 50 items", "BM_RecordsKeyingAgain", "BM_Export", 0, true},
        {"records from kept keyed pictures / export of 50 items", "BM_RecordsFromKeyedPictures", "BM_Export",
         0, true},
        {"records keyed again / from kept keyed pictures", "BM_RecordsKeyingAgain",
         "BM_RecordsFromKeyedPictures"},
    };
    return run(argc, argv, "Export and import of OSD files", lines);
}
