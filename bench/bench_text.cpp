// The text image's binarisation (every pixel that is not the background becomes the text colour)
// on 1920x1080 and 3840x2160, against its per-pixel definition and a plain copy of the pixels.
#include "benchsupport.h"
#include "core/text/textrenderer.h"

#include <QColor>
#include <QImage>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

using namespace BenchSupport;

namespace {

const QColor kText(20, 200, 90);
const QColor kBackground(235, 55, 165);

// Background with about one pixel in six of anti-aliased ink, from a fixed seed.
QImage paintedText(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(4321);
    const QRgb background = kBackground.rgb();
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = random.bounded(6) == 0 ? 0xFF000000u | random.generate() : background;
    }
    return image;
}

// The definition: a copy in RGB32, then every pixel read and written one by one.
QImage binarizePerPixel(const QImage &painted, const QColor &text, const QColor &background)
{
    QImage copy = painted.convertToFormat(QImage::Format_RGB32);
    const QRgb reference = background.rgb();
    const QRgb textRgb = text.rgb();
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x)
            copy.setPixel(x, y, painted.pixel(x, y) != reference ? textRgb : reference);
    }
    return copy;
}

// CPU time of the whole process: Qt converts large images on several threads.
#define BOTH_SIZES                                                                                           \
    ->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()

void setThroughput(benchmark::State &state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

void BM_Binarize(benchmark::State &state)
{
    const QImage painted = paintedText(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QImage image = TextRenderer::binarize(painted, kText, kBackground);
        benchmark::DoNotOptimize(image.constBits());
    }
    setThroughput(state);
}
BENCHMARK(BM_Binarize) BOTH_SIZES;

void BM_BinarizePerPixel(benchmark::State &state)
{
    const QImage painted = paintedText(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QImage image = binarizePerPixel(painted, kText, kBackground);
        benchmark::DoNotOptimize(image.constBits());
    }
    setThroughput(state);
}
BENCHMARK(BM_BinarizePerPixel) BOTH_SIZES;

void BM_ImageCopy(benchmark::State &state)
{
    const QImage image = paintedText(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QImage copy = image.copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
    setThroughput(state);
}
BENCHMARK(BM_ImageCopy) BOTH_SIZES;

} // namespace

int main(int argc, char **argv)
{
    std::vector<Line> lines;
    for (const auto &size : {std::make_pair(1920L, 1080L), std::make_pair(3840L, 2160L)}) {
        const long w = size.first;
        const long h = size.second;
        const std::string at = " " + sizeText(w, h);
        lines.push_back({"binarize" + at + ": ours / per-pixel definition", name("BM_Binarize", w, h),
                         name("BM_BinarizePerPixel", w, h)});
        // The large text image binarises at copy speed (within a tenth).
        lines.push_back({"binarize" + at + ": ours / copy of its pixels", name("BM_Binarize", w, h),
                         name("BM_ImageCopy", w, h), w == 3840 ? 1.1 : 0.0});
    }
    return run(argc, argv, "Text binarisation", lines);
}
