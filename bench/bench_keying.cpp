// How live the key-range sliders feel: one slider step (key, show, convert, write the record) on
// picture items of 1920x1080 and 3840x2160, and the keying kernel against the plain per-pixel loop.
// Times depend on the machine, so the summary gives ratios to references measured in the same run.
#include "interfaces/tablewidgetex.h"
#include "interfaces/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/colorkeyer.h"
#include "osditem/osditem.h"
#include "osditem/publicbase.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPixmap>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class QuillmereTestAccess
{
public:
    // A picture item put into the current tab as the picture button does it.
    static OSDItem *addPicture(Quillmere &w, const QImage &image)
    {
        auto *item = new OSDItem;
        item->setFlag(QGraphicsItem::ItemIsMovable, false);
        item->setPixmap(QPixmap::fromImage(image));
        item->setOsdImage(image, true);
        auto *record = new VideoControlOSD;
        record->setPImageValue(new QImage(image));
        int completionWidth = 0;
        record->setImage(PublicBase::imageToOsdData(image, &completionWidth));
        record->setOSDFileLength(image.width() * image.height() * 3);
        record->setCompletionImageWidth(completionWidth);
        record->setSize(image.size());
        record->setIsAvailable(true);
        item->setVideoControlOSD(record);
        w.m_baseImages.remove(w.m_tabWidget->currentIndex());
        w.currentView()->scene()->addItem(item);
        return item;
    }
};

namespace {

// A photo-like picture: smooth gradients with noise, so a range takes in part of the pixels.
QImage testPicture(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, QImage::Format_ARGB32);
    QRandomGenerator random(12345);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(random.bounded(32));
            line[x] = qRgba((x * 255 / width + noise) & 0xFF, (y * 255 / height + noise) & 0xFF,
                            ((x + y) * 127 / (width + height) + noise) & 0xFF, 255 - noise);
        }
    }
    return image.convertToFormat(format);
}

// The definition the kernel must match, as a reference for its speed.
void literalKey(QImage &image, const QColor &begin, const QColor &end, const QColor &fill)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            if (begin.red() <= c.red() && c.red() <= end.red() && begin.green() <= c.green() &&
                c.green() <= end.green() && begin.blue() <= c.blue() && c.blue() <= end.blue())
                image.setPixelColor(x, y, fill);
        }
    }
}

const QColor kBegin(0, 0, 0);
const QColor kEnd(128, 255, 255);
const QColor kFill(0, 0, 0);

void BM_SliderStep(benchmark::State &state)
{
    Quillmere window;
    QuillmereTestAccess::addPicture(window, testPicture(int(state.range(0)), int(state.range(1))));
    window.slot_setColorR(0, 128); // the first apply takes the base image
    int upper = 128;
    for (auto _ : state) {
        upper = upper == 128 ? 129 : 128;
        window.slot_setColorR(0, upper);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_SliderStep)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same step for an item without a record: keying and showing only, no OSD byte conversion.
void BM_SliderStepWithoutRecord(benchmark::State &state)
{
    Quillmere window;
    OSDItem *item =
        QuillmereTestAccess::addPicture(window, testPicture(int(state.range(0)), int(state.range(1))));
    item->setVideoControlOSD(nullptr);
    window.slot_setColorR(0, 128);
    int upper = 128;
    for (auto _ : state) {
        upper = upper == 128 ? 129 : 128;
        window.slot_setColorR(0, upper);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_SliderStepWithoutRecord)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Reference: one plain copy of the picture's pixels.
void BM_ImageCopy(benchmark::State &state)
{
    const QImage image = testPicture(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QImage copy = image.copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(BM_ImageCopy)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KeyKernel(benchmark::State &state)
{
    QImage image = testPicture(1920, 1080, QImage::Format(state.range(0)));
    for (auto _ : state) {
        ColorKeyer::apply(image, kBegin, kEnd, kFill);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_KeyKernel)
    ->Arg(QImage::Format_RGB32)
    ->Arg(QImage::Format_ARGB32_Premultiplied)
    ->Arg(QImage::Format_RGBA8888)
    ->Arg(QImage::Format_RGB888)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_KeyLiteral(benchmark::State &state)
{
    QImage image = testPicture(1920, 1080, QImage::Format(state.range(0)));
    for (auto _ : state) {
        literalKey(image, kBegin, kEnd, kFill);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_KeyLiteral)
    ->Arg(QImage::Format_RGB32)
    ->Arg(QImage::Format_ARGB32_Premultiplied)
    ->Arg(QImage::Format_RGBA8888)
    ->Arg(QImage::Format_RGB888)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The parts of a slider step besides keying, on 1920x1080.
void BM_PixmapFromImage(benchmark::State &state)
{
    const QImage image = testPicture(1920, 1080);
    for (auto _ : state) {
        QPixmap pixmap = QPixmap::fromImage(image);
        benchmark::DoNotOptimize(pixmap.cacheKey());
    }
}
BENCHMARK(BM_PixmapFromImage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImageToOsdData(benchmark::State &state)
{
    const QImage image = testPicture(1920, 1080);
    for (auto _ : state) {
        int completionWidth = 0;
        QByteArray data = PublicBase::imageToOsdData(image, &completionWidth);
        benchmark::DoNotOptimize(data.constData());
    }
}
BENCHMARK(BM_ImageToOsdData)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the usual table and keeps the mean CPU time of every benchmark for the summary (on a
// busy machine CPU time varies less than wall time; the code under test is single-threaded).
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                m_seconds[run.benchmark_name()] = run.cpu_accumulated_time / double(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio(const char *what, const std::string &measured, const std::string &reference) const
    {
        const auto m = m_seconds.find(measured);
        const auto r = m_seconds.find(reference);
        if (m == m_seconds.end() || r == m_seconds.end() || r->second <= 0)
            return;
        std::printf("  %-58s %8.2f\n", what, m->second / r->second);
    }

private:
    std::map<std::string, double> m_seconds;
};

std::string name(const char *benchmark, long a)
{
    return std::string(benchmark) + "/" + std::to_string(a) + "/real_time";
}

std::string name(const char *benchmark, long a, long b)
{
    return std::string(benchmark) + "/" + std::to_string(a) + "/" + std::to_string(b) + "/real_time";
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nRatios of CPU times (same run):\n");
    reporter.printRatio("slider step 1920x1080 / copy of its pixels", name("BM_SliderStep", 1920, 1080),
                        name("BM_ImageCopy", 1920, 1080));
    reporter.printRatio("slider step 3840x2160 / copy of its pixels", name("BM_SliderStep", 3840, 2160),
                        name("BM_ImageCopy", 3840, 2160));
    reporter.printRatio("slider step without record 1920x1080 / copy of its pixels",
                        name("BM_SliderStepWithoutRecord", 1920, 1080), name("BM_ImageCopy", 1920, 1080));
    reporter.printRatio("slider step without record 3840x2160 / copy of its pixels",
                        name("BM_SliderStepWithoutRecord", 3840, 2160), name("BM_ImageCopy", 3840, 2160));
    reporter.printRatio("slider step 3840x2160 / slider step 1920x1080", name("BM_SliderStep", 3840, 2160),
                        name("BM_SliderStep", 1920, 1080));
    const struct
    {
        const char *label;
        long format;
    } formats[] = {{"RGB32", QImage::Format_RGB32},
                   {"ARGB32_Premultiplied", QImage::Format_ARGB32_Premultiplied},
                   {"RGBA8888", QImage::Format_RGBA8888},
                   {"RGB888 (exact per-pixel path)", QImage::Format_RGB888}};
    for (const auto &format : formats) {
        const std::string what = std::string("per-pixel definition / kernel, ") + format.label;
        reporter.printRatio(what.c_str(), name("BM_KeyLiteral", format.format),
                            name("BM_KeyKernel", format.format));
    }
    reporter.printRatio("keying kernel RGB32 / copy of its pixels",
                        name("BM_KeyKernel", QImage::Format_RGB32), name("BM_ImageCopy", 1920, 1080));
    reporter.printRatio("QPixmap::fromImage / copy of its pixels", "BM_PixmapFromImage/real_time",
                        name("BM_ImageCopy", 1920, 1080));
    reporter.printRatio("OSD byte conversion / copy of its pixels", "BM_ImageToOsdData/real_time",
                        name("BM_ImageCopy", 1920, 1080));
    benchmark::Shutdown();
    return 0;
}
