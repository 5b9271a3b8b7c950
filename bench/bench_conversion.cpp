// The two conversions between pictures and OSD pixel data (blue, green, red, 3 bytes a pixel), on
// 1920x1080 and 3840x2160: ours, their per-pixel definitions, and the same work done by OpenCV
// (cv::cvtColor, one thread) and libyuv when they are installed. Every call makes a new output
// buffer, as our functions do.
#include "benchsupport.h"
#include "core/pixels/publicbase.h"

#include <QByteArray>
#include <QImage>

#include <benchmark/benchmark.h>

#ifdef BRISKLANE_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif
#ifdef BRISKLANE_HAVE_LIBYUV
#include <libyuv.h>
#endif

#include <memory>

using namespace BenchSupport;

namespace {

// The definitions, pixel by pixel.
QByteArray imageToOsdDataPerPixel(const QImage &image)
{
    QByteArray data(image.width() * image.height() * 3, Qt::Uninitialized);
    int pos = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            data[pos++] = char(p & 0xFF);
            data[pos++] = char((p >> 8) & 0xFF);
            data[pos++] = char((p >> 16) & 0xFF);
        }
    }
    return data;
}

QImage *osdDataToImagePerPixel(const QByteArray &data, int width, int height, int completionWidth)
{
    auto *image = new QImage(width, height, QImage::Format_RGBA8888);
    int pos = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < completionWidth; ++x) {
            const int b = PublicBase::readBytes(data, pos, 1, &pos);
            const int g = PublicBase::readBytes(data, pos, 1, &pos);
            const int r = PublicBase::readBytes(data, pos, 1, &pos);
            if (x < width)
                image->setPixel(x, y, qRgba(r, g, b, 255));
        }
    }
    return image;
}

QByteArray osdDataOf(const QImage &image)
{
    int completionWidth = 0;
    return PublicBase::imageToOsdData(image, &completionWidth);
}

// CPU time of the whole process: Qt converts large images on several threads.
#define BOTH_SIZES                                                                                           \
    ->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()

void setThroughput(benchmark::State &state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

// ---- picture -> OSD pixel data

void BM_ImageToOsdData(benchmark::State &state)
{
    const QImage image = testPicture(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        int completionWidth = 0;
        QByteArray data = PublicBase::imageToOsdData(image, &completionWidth);
        benchmark::DoNotOptimize(data.constData());
    }
    setThroughput(state);
}
BENCHMARK(BM_ImageToOsdData) BOTH_SIZES;

void BM_ImageToOsdDataPerPixel(benchmark::State &state)
{
    const QImage image = testPicture(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QByteArray data = imageToOsdDataPerPixel(image);
        benchmark::DoNotOptimize(data.constData());
    }
    setThroughput(state);
}
BENCHMARK(BM_ImageToOsdDataPerPixel) BOTH_SIZES;

#ifdef BRISKLANE_HAVE_OPENCV
void BM_ImageToOsdDataOpenCV(benchmark::State &state)
{
    cv::setNumThreads(1);
    QImage image = testPicture(int(state.range(0)), int(state.range(1)));
    const cv::Mat source(image.height(), image.width(), CV_8UC4, image.bits(), size_t(image.bytesPerLine()));
    for (auto _ : state) {
        cv::Mat data;
        cv::cvtColor(source, data, cv::COLOR_BGRA2BGR);
        benchmark::DoNotOptimize(data.data);
    }
    setThroughput(state);
}
BENCHMARK(BM_ImageToOsdDataOpenCV) BOTH_SIZES;
#endif

#ifdef BRISKLANE_HAVE_LIBYUV
void BM_ImageToOsdDataLibyuv(benchmark::State &state)
{
    const QImage image = testPicture(int(state.range(0)), int(state.range(1)));
    const int w = image.width();
    const int h = image.height();
    for (auto _ : state) {
        QByteArray data(w * h * 3, Qt::Uninitialized);
        libyuv::ARGBToRGB24(image.constBits(), int(image.bytesPerLine()),
                            reinterpret_cast<uint8_t *>(data.data()), w * 3, w, h);
        benchmark::DoNotOptimize(data.constData());
    }
    setThroughput(state);
}
BENCHMARK(BM_ImageToOsdDataLibyuv) BOTH_SIZES;
#endif

// ---- OSD pixel data -> picture (RGBA8888)

void BM_OsdDataToImage(benchmark::State &state)
{
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    const QByteArray data = osdDataOf(testPicture(w, h));
    for (auto _ : state) {
        std::unique_ptr<QImage> image(PublicBase::osdDataToImage(data, w, h, w));
        benchmark::DoNotOptimize(image->constBits());
    }
    setThroughput(state);
}
BENCHMARK(BM_OsdDataToImage) BOTH_SIZES;

void BM_OsdDataToImagePerPixel(benchmark::State &state)
{
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    const QByteArray data = osdDataOf(testPicture(w, h));
    for (auto _ : state) {
        std::unique_ptr<QImage> image(osdDataToImagePerPixel(data, w, h, w));
        benchmark::DoNotOptimize(image->constBits());
    }
    setThroughput(state);
}
BENCHMARK(BM_OsdDataToImagePerPixel) BOTH_SIZES;

#ifdef BRISKLANE_HAVE_OPENCV
void BM_OsdDataToImageOpenCV(benchmark::State &state)
{
    cv::setNumThreads(1);
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    QByteArray data = osdDataOf(testPicture(w, h));
    const cv::Mat source(h, w, CV_8UC3, data.data());
    for (auto _ : state) {
        cv::Mat image;
        cv::cvtColor(source, image, cv::COLOR_BGR2RGBA);
        benchmark::DoNotOptimize(image.data);
    }
    setThroughput(state);
}
BENCHMARK(BM_OsdDataToImageOpenCV) BOTH_SIZES;
#endif

#ifdef BRISKLANE_HAVE_LIBYUV
// libyuv has no RGB24 -> RGBA-bytes converter; RGB24ToARGB does the same work into Qt's ARGB32
// byte order.
void BM_OsdDataToImageLibyuv(benchmark::State &state)
{
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    const QByteArray data = osdDataOf(testPicture(w, h));
    for (auto _ : state) {
        auto image = std::make_unique<QImage>(w, h, QImage::Format_ARGB32);
        libyuv::RGB24ToARGB(reinterpret_cast<const uint8_t *>(data.constData()), w * 3, image->bits(),
                            int(image->bytesPerLine()), w, h);
        benchmark::DoNotOptimize(image->constBits());
    }
    setThroughput(state);
}
BENCHMARK(BM_OsdDataToImageLibyuv) BOTH_SIZES;
#endif

} // namespace

int main(int argc, char **argv)
{
    std::vector<Line> lines;
    for (const auto &size : {std::make_pair(1920L, 1080L), std::make_pair(3840L, 2160L)}) {
        const long w = size.first;
        const long h = size.second;
        const std::string at = " " + sizeText(w, h);
        lines.push_back({"imageToOsdData" + at + ": ours / per-pixel definition",
                         name("BM_ImageToOsdData", w, h), name("BM_ImageToOsdDataPerPixel", w, h)});
        lines.push_back({"imageToOsdData" + at + ": ours / OpenCV cvtColor", name("BM_ImageToOsdData", w, h),
                         name("BM_ImageToOsdDataOpenCV", w, h), 1.0});
        lines.push_back({"imageToOsdData" + at + ": ours / libyuv ARGBToRGB24",
                         name("BM_ImageToOsdData", w, h), name("BM_ImageToOsdDataLibyuv", w, h)});
        lines.push_back({"osdDataToImage" + at + ": ours / per-pixel definition",
                         name("BM_OsdDataToImage", w, h), name("BM_OsdDataToImagePerPixel", w, h)});
        lines.push_back({"osdDataToImage" + at + ": ours / OpenCV cvtColor", name("BM_OsdDataToImage", w, h),
                         name("BM_OsdDataToImageOpenCV", w, h), 1.0});
        lines.push_back({"osdDataToImage" + at + ": ours / libyuv RGB24ToARGB",
                         name("BM_OsdDataToImage", w, h), name("BM_OsdDataToImageLibyuv", w, h)});
    }
    return run(argc, argv, "Conversions between pictures and OSD pixel data", lines);
}
