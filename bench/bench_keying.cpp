// How live the key-range sliders feel: one slider step end to end (slot_setColorR on a tab holding
// a picture item: key, show, convert, write the record) on 1920x1080 and 3840x2160, and the keying
// kernel against its per-pixel definition, OpenCV's inRange + setTo (one thread) and, for
// three-byte pictures, the four-byte kernel.
#include "benchsupport.h"
#include "core/pixels/colorkeyer.h"
#include "core/pixels/publicbase.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "widgets/styled/tablewidgetex.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPixmap>

#include <memory>

#include <benchmark/benchmark.h>

#ifdef BRISKLANE_HAVE_OPENCV
#include <opencv2/core.hpp>
#endif

using namespace BenchSupport;

class QuillmereTestAccess
{
public:
    // A picture item put into the current tab as the picture button does it.
    static OSDItem *addPicture(Quillmere &w, const QImage &image) { return w.addPictureItem(image); }
};

namespace {

const QColor kBegin(kTenPercent.redLow, kTenPercent.greenLow, kTenPercent.blueLow);
const QColor kEnd(kTenPercent.redHigh, kTenPercent.greenHigh, kTenPercent.blueHigh);
const QColor kFill(0, 0, 0);

// CPU time of the whole process: Qt converts large images on several threads.
#define BOTH_SIZES                                                                                           \
    ->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()

void setThroughput(benchmark::State &state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

// How an imported picture arrives: read from OSD pixel data.
enum class Import
{
    None,
    // The record's bytes seen as a BGR888 image, as every import of a whole picture shows them.
    View,
    // Decoded into opaque RGBA8888 (records whose rows are shorter than the picture).
    Decoded
};

// One step of the red slider; the upper bound moves between two values so every step keys anew.
void sliderSteps(benchmark::State &state, QImage::Format format, bool withRecord,
                 Import import = Import::None)
{
    Quillmere window;
    QImage picture = testPicture(int(state.range(0)), int(state.range(1)), format);
    int completionWidth = 0;
    const QByteArray data =
        import == Import::None ? QByteArray() : PublicBase::imageToOsdData(picture, &completionWidth);
    if (import == Import::View) {
        picture = PublicBase::osdDataView(data, picture.width(), picture.height(), completionWidth);
    } else if (import == Import::Decoded) {
        const std::unique_ptr<QImage> imported(
            PublicBase::osdDataToImage(data, picture.width(), picture.height(), completionWidth));
        picture = *imported;
    }
    OSDItem *item = QuillmereTestAccess::addPicture(window, picture);
    if (!withRecord)
        item->setVideoControlOSD(nullptr);
    window.slot_setColorR(kTenPercent.redLow, kTenPercent.redHigh); // the first apply takes the base image
    int upper = kTenPercent.redHigh;
    // A drag is many steps, each writing into the memory of the step before last; the first two
    // have none to take and ask the system for fresh pages (60 to 90 MB at 3840x2160). Those two
    // are taken before the timing, so that a run of few iterations times the steps of a drag.
    for (int warm = 0; warm < 2; ++warm) {
        upper = upper == kTenPercent.redHigh ? kTenPercent.redHigh + 1 : kTenPercent.redHigh;
        window.slot_setColorR(kTenPercent.redLow, upper);
    }
    for (auto _ : state) {
        upper = upper == kTenPercent.redHigh ? kTenPercent.redHigh + 1 : kTenPercent.redHigh;
        window.slot_setColorR(kTenPercent.redLow, upper);
    }
    setThroughput(state);
    state.counters["keyed"] = keyedFraction(picture, kTenPercent);
}

// Photos, JPEG and opaque PNG pictures load as RGB32.
void BM_SliderStep(benchmark::State &state)
{
    sliderSteps(state, QImage::Format_RGB32, true);
}
BENCHMARK(BM_SliderStep) BOTH_SIZES;

// Imported items show their record's bytes as BGR888.
void BM_SliderStepImported(benchmark::State &state)
{
    sliderSteps(state, QImage::Format_RGB32, true, Import::View);
}
BENCHMARK(BM_SliderStepImported) BOTH_SIZES;

// Opaque RGBA8888, as imports were decoded before they showed the record's bytes.
void BM_SliderStepRgba8888(benchmark::State &state)
{
    sliderSteps(state, QImage::Format_RGBA8888, true, Import::Decoded);
}
BENCHMARK(BM_SliderStepRgba8888) BOTH_SIZES;

// Pictures with transparency load as ARGB32.
void BM_SliderStepTranslucent(benchmark::State &state)
{
    sliderSteps(state, QImage::Format_ARGB32, true);
}
BENCHMARK(BM_SliderStepTranslucent) BOTH_SIZES;

// An item without a record: keying and showing only.
void BM_SliderStepWithoutRecord(benchmark::State &state)
{
    sliderSteps(state, QImage::Format_RGB32, false);
}
BENCHMARK(BM_SliderStepWithoutRecord) BOTH_SIZES;

// The same without the record's OSD bytes, for the imported and the translucent picture: what a
// step costs if the record were written later rather than on every step.
void BM_SliderStepImportedWithoutRecord(benchmark::State &state)
{
    sliderSteps(state, QImage::Format_RGB32, false, Import::View);
}
BENCHMARK(BM_SliderStepImportedWithoutRecord) BOTH_SIZES;

void BM_SliderStepTranslucentWithoutRecord(benchmark::State &state)
{
    sliderSteps(state, QImage::Format_ARGB32, false);
}
BENCHMARK(BM_SliderStepTranslucentWithoutRecord) BOTH_SIZES;

// Reference: one plain copy of the picture's pixels.
void BM_ImageCopy(benchmark::State &state)
{
    const QImage image = testPicture(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QImage copy = image.copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
    setThroughput(state);
}
BENCHMARK(BM_ImageCopy) BOTH_SIZES;

// ---- the keying kernel, in place on an image of its own

void BM_ApplyColorKey(benchmark::State &state)
{
    QImage image = testPicture(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        ColorKeyer::apply(image, kBegin, kEnd, kFill);
        benchmark::DoNotOptimize(image.constBits());
    }
    setThroughput(state);
}
BENCHMARK(BM_ApplyColorKey) BOTH_SIZES;

void BM_ApplyColorKeyPerPixel(benchmark::State &state)
{
    QImage image = testPicture(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        image = TestSupport::keyedByDefinition(std::move(image), kBegin, kEnd, kFill);
        benchmark::DoNotOptimize(image.constBits());
    }
    setThroughput(state);
}
BENCHMARK(BM_ApplyColorKeyPerPixel) BOTH_SIZES;

#ifdef BRISKLANE_HAVE_OPENCV
// The same key with OpenCV: a mask of the pixels in range, then the fill colour through it. The
// channels are in memory order (blue, green, red, alpha); alpha is not tested.
void BM_ApplyColorKeyOpenCV(benchmark::State &state)
{
    cv::setNumThreads(1);
    QImage image = testPicture(int(state.range(0)), int(state.range(1)));
    cv::Mat pixels(image.height(), image.width(), CV_8UC4, image.bits(), size_t(image.bytesPerLine()));
    const cv::Scalar lower(kTenPercent.blueLow, kTenPercent.greenLow, kTenPercent.redLow, 0);
    const cv::Scalar upper(kTenPercent.blueHigh, kTenPercent.greenHigh, kTenPercent.redHigh, 255);
    const cv::Scalar fill(kFill.blue(), kFill.green(), kFill.red(), 255);
    cv::Mat mask;
    for (auto _ : state) {
        cv::inRange(pixels, lower, upper, mask);
        pixels.setTo(fill, mask);
        benchmark::DoNotOptimize(pixels.data);
    }
    setThroughput(state);
}
BENCHMARK(BM_ApplyColorKeyOpenCV) BOTH_SIZES;
#endif

// Every format with a fast path, and one that goes pixel by pixel, on 1920x1080.
void BM_ApplyColorKeyFormat(benchmark::State &state)
{
    QImage image = testPicture(1920, 1080, QImage::Format(state.range(0)));
    for (auto _ : state) {
        ColorKeyer::apply(image, kBegin, kEnd, kFill);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}

void BM_ApplyColorKeyFormatPerPixel(benchmark::State &state)
{
    QImage image = testPicture(1920, 1080, QImage::Format(state.range(0)));
    for (auto _ : state) {
        image = TestSupport::keyedByDefinition(std::move(image), kBegin, kEnd, kFill);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}

const struct
{
    const char *label;
    QImage::Format format;
} kFormats[] = {{"ARGB32_Premultiplied", QImage::Format_ARGB32_Premultiplied},
                {"RGBA8888", QImage::Format_RGBA8888},
                {"RGB888", QImage::Format_RGB888},
                {"BGR888", QImage::Format_BGR888}};

BENCHMARK(BM_ApplyColorKeyFormat)
    ->Arg(QImage::Format_RGB32)
    ->Arg(QImage::Format_ARGB32_Premultiplied)
    ->Arg(QImage::Format_RGBA8888)
    ->Arg(QImage::Format_RGB888)
    ->Arg(QImage::Format_BGR888)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_ApplyColorKeyFormatPerPixel)
    ->Arg(QImage::Format_ARGB32_Premultiplied)
    ->Arg(QImage::Format_RGBA8888)
    ->Arg(QImage::Format_RGB888)
    ->Arg(QImage::Format_BGR888)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace

int main(int argc, char **argv)
{
    std::vector<Line> lines;
    const double stepTargets[] = {2.0, 8.0};
    int sizeIndex = 0;
    for (const auto &size : {std::make_pair(1920L, 1080L), std::make_pair(3840L, 2160L)}) {
        const long w = size.first;
        const long h = size.second;
        const std::string at = " " + sizeText(w, h);
        lines.push_back({"slider step" + at + ", RGB32 picture", name("BM_SliderStep", w, h), "",
                         stepTargets[sizeIndex]});
        lines.push_back({"slider step" + at + ", imported (BGR888)", name("BM_SliderStepImported", w, h), "",
                         stepTargets[sizeIndex]});
        lines.push_back({"slider step" + at + ", decoded import (RGBA8888)",
                         name("BM_SliderStepRgba8888", w, h), "", stepTargets[sizeIndex]});
        lines.push_back({"slider step" + at + ", translucent (ARGB32)",
                         name("BM_SliderStepTranslucent", w, h), "", stepTargets[sizeIndex]});
        lines.push_back(
            {"slider step" + at + ", item without record", name("BM_SliderStepWithoutRecord", w, h)});
        // On the large picture every format's step is held to twice a copy: one read of the
        // source, one write of the keyed picture (the record's bytes beside it).
        const double copyTarget = sizeIndex == 1 ? 2.0 : 0.0;
        lines.push_back({"slider step" + at + " / copy of its pixels", name("BM_SliderStep", w, h),
                         name("BM_ImageCopy", w, h), copyTarget});
        lines.push_back({"slider step" + at + ", imported / copy", name("BM_SliderStepImported", w, h),
                         name("BM_ImageCopy", w, h), copyTarget});
        lines.push_back({"slider step" + at + ", translucent / copy", name("BM_SliderStepTranslucent", w, h),
                         name("BM_ImageCopy", w, h), copyTarget});
        // Without the record's OSD bytes: the keyed picture alone, read once and written once.
        lines.push_back({"slider step" + at + " without record / copy",
                         name("BM_SliderStepWithoutRecord", w, h), name("BM_ImageCopy", w, h)});
        lines.push_back({"slider step" + at + ", imported without record / copy",
                         name("BM_SliderStepImportedWithoutRecord", w, h), name("BM_ImageCopy", w, h)});
        lines.push_back({"slider step" + at + ", translucent without record / copy",
                         name("BM_SliderStepTranslucentWithoutRecord", w, h), name("BM_ImageCopy", w, h)});
        lines.push_back({"applyColorKey" + at + ": ours / per-pixel definition",
                         name("BM_ApplyColorKey", w, h), name("BM_ApplyColorKeyPerPixel", w, h)});
        lines.push_back({"applyColorKey" + at + ": ours / OpenCV inRange+setTo",
                         name("BM_ApplyColorKey", w, h), name("BM_ApplyColorKeyOpenCV", w, h), 0.25});
        ++sizeIndex;
    }
    for (const auto &format : kFormats) {
        lines.push_back({std::string("applyColorKey 1920x1080 ") + format.label + ": ours / per-pixel",
                         name("BM_ApplyColorKeyFormat", format.format),
                         name("BM_ApplyColorKeyFormatPerPixel", format.format)});
    }
    // An imported picture keys within a fifth more time than a four-byte one of the same size.
    lines.push_back({"applyColorKey 1920x1080 BGR888 / RGB32",
                     name("BM_ApplyColorKeyFormat", QImage::Format_BGR888),
                     name("BM_ApplyColorKeyFormat", QImage::Format_RGB32), 1.2});
    return run(argc, argv, "Keying and the slider step", lines);
}
