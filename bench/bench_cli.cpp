// brisklane-cli pack of 50 pictures of 1920x1080 (PNG) against decoding the same PNGs with QImage
// on one thread. The tool decodes on all cores, so its conversion and file writing should hide
// behind the decoding. Wall-clock times: the pack is a process of its own and writes to disk.
// Also the picture loader (the editor's picture button and the tool's decoder) on one thread, which
// takes its quicker road for these plain PNG files, against the same QImage decoding.
#include "benchsupport.h"
#include "core/pixels/pictureloader.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace BenchSupport;

namespace {

constexpr int kPictures = 50;

struct Fixture
{
    QTemporaryDir dir;
    QString pictures;
    QStringList files;

    Fixture()
    {
        pictures = dir.filePath(QStringLiteral("pictures"));
        QDir().mkpath(pictures);
        for (int i = 0; i < kPictures; ++i) {
            // Different pictures, so no decoder cache or identical-file shortcut can help.
            QImage picture = testPicture(1920, 1080);
            picture.setPixel(i, i, qRgb(i, 255 - i, 7));
            const QString file =
                QDir(pictures).filePath(QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')));
            if (!picture.save(file))
                std::abort();
            files.append(file);
        }
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_DecodeOneThread(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        for (const QString &file : qAsConst(f.files)) {
            QImage image(file);
            if (image.isNull())
                std::abort();
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(BM_DecodeOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoaderOneThread(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        for (const QString &file : qAsConst(f.files)) {
            QString reason;
            const QImage image = PictureLoader::load(file, &reason);
            if (image.isNull())
                std::abort();
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(BM_LoaderOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliPack(benchmark::State &state)
{
    Fixture &f = fixture();
    const QString out = f.dir.filePath(QStringLiteral("out.pic"));
    for (auto _ : state) {
        QProcess pack;
        pack.start(QStringLiteral(BRISKLANE_CLI),
                   {QStringLiteral("pack"), QStringLiteral("-o"), out, f.pictures});
        if (!pack.waitForFinished(600000) || pack.exitStatus() != QProcess::NormalExit ||
            pack.exitCode() != 0)
            std::abort();
    }
}
BENCHMARK(BM_CliPack)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return run(
        argc, argv, "brisklane-cli pack of 50 pictures of 1920x1080 (PNG)",
        {Line("pack, against decoding the PNGs on one thread", "BM_CliPack", "BM_DecodeOneThread", 0.7, true),
         Line("picture loader on one thread, against QImage", "BM_LoaderOneThread", "BM_DecodeOneThread", 0.7,
              true)});
}
