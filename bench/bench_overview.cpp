// Frames of the overview: 50 opaque pictures of 1920x1080 scattered over a 1920x1080 screen,
// overlapping heavily, rendered into a 1280x720 image as the view's viewport would paint them
// (QGraphicsScene::render with the source rectangle giving pan and zoom). Panning, zooming and
// dragging must keep a frame well under 16.7 ms (60 frames per second). The reference is the same
// layout as a plain scene of QGraphicsPixmapItems, rendered in the same run.
#include "benchsupport.h"
#include "mainwindow/overviewscene.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

using namespace BenchSupport;

namespace {

constexpr int kItems = 50;
const QSize kScreen(1920, 1080);
const QSize kViewport(1280, 720);
// The zoom that shows the whole screen in the viewport.
constexpr int kFit = 0;
// Frames a drag moves the picture through before it turns back.
constexpr int kDragSteps = 120;
constexpr int kDragged = kItems / 2;

enum Kind
{
    Overview,
    // Plain pixmap items as they come (no filtering when scaled).
    Naive,
    // Plain pixmap items that filter when scaled, as the overview does below 100 %.
    NaiveSmooth,
};

struct Fixture
{
    QList<OverviewScene::Entry> entries;
    OverviewScene overview;
    QGraphicsScene naive;
    QGraphicsScene naiveSmooth;
    QList<QGraphicsPixmapItem *> naiveItems;
    QList<QGraphicsPixmapItem *> naiveSmoothItems;

    Fixture()
    {
        // One picture of gradients and noise, tinted differently for every item (each its own
        // pixels, as every tab has its own picture).
        const QImage base = testPicture(kScreen.width(), kScreen.height());
        quint32 seed = 20240611;
        auto next = [&seed](int range) {
            seed = seed * 1664525u + 1013904223u;
            return int((seed >> 8) % quint32(range));
        };
        for (int i = 0; i < kItems; ++i) {
            QImage picture = base.copy();
            QPainter painter(&picture);
            painter.fillRect(picture.rect(), QColor(next(256), next(256), next(256), 140));
            painter.end();
            // Scattered over the screen and a half-screen around it.
            const QPoint pos(next(kScreen.width() * 2) - kScreen.width() / 2 - kScreen.width() / 4,
                             next(kScreen.height() * 2) - kScreen.height() / 2 - kScreen.height() / 4);
            entries.append({QPixmap::fromImage(picture), pos, QStringLiteral("Tab %1").arg(i + 1)});
        }
        overview.setScreenSize(kScreen);
        overview.setEntries(entries);
        overview.setCurrentEntry(kDragged);
        fillNaive(naive, naiveItems, Qt::FastTransformation);
        fillNaive(naiveSmooth, naiveSmoothItems, Qt::SmoothTransformation);
    }

    void fillNaive(QGraphicsScene &scene, QList<QGraphicsPixmapItem *> &items, Qt::TransformationMode mode)
    {
        scene.setSceneRect(overview.sceneRect());
        scene.setBackgroundBrush(QColor(58, 58, 62));
        for (int i = 0; i < kItems; ++i) {
            QGraphicsPixmapItem *item = scene.addPixmap(entries.at(i).pixmap);
            item->setPos(entries.at(i).pos);
            item->setZValue(i);
            item->setTransformationMode(mode);
            items.append(item);
        }
    }

    QGraphicsScene &scene(Kind kind)
    {
        if (kind == Overview)
            return overview;
        return kind == Naive ? naive : naiveSmooth;
    }

    void moveDragged(Kind kind, const QPoint &pos)
    {
        if (kind == Overview)
            overview.setEntryPos(kDragged, pos);
        else
            (kind == Naive ? naiveItems : naiveSmoothItems).at(kDragged)->setPos(pos);
    }
};

// Never destroyed: its pixmaps and scenes must not outlive the application object.
Fixture &fixture()
{
    static Fixture *f = new Fixture;
    return *f;
}

qreal scaleFor(int zoomPercent)
{
    return zoomPercent == kFit ? qreal(kViewport.width()) / kScreen.width() : zoomPercent / 100.0;
}

// What the viewport shows at the given zoom, centred on a scene point.
QRectF sourceRect(int zoomPercent, const QPointF &centre)
{
    const qreal scale = scaleFor(zoomPercent);
    const QSizeF size(kViewport.width() / scale, kViewport.height() / scale);
    return QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size);
}

// Milliseconds of every frame, by benchmark instance, over all repetitions.
std::map<std::string, std::vector<double>> &allFrames()
{
    static std::map<std::string, std::vector<double>> frames;
    return frames;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(std::ceil(fraction * values.size())) - 1);
    return values[at];
}

// Renders frames while the benchmark runs; frame(i) sets up the i-th and returns what it shows.
template <typename SetUp>
void renderFrames(benchmark::State &state, const std::string &key, Kind kind, SetUp frame)
{
    QGraphicsScene &scene = fixture().scene(kind);
    QImage image(kViewport, QImage::Format_RGB32);
    auto render = [&](const QRectF &source) {
        QPainter painter(&image);
        scene.render(&painter, QRectF(image.rect()), source, Qt::IgnoreAspectRatio);
    };
    // The first frames at a zoom make the smaller copies of the pictures; a drag or pan starts
    // with them made.
    for (int i = 0; i < 4; ++i)
        render(frame(i));
    std::vector<double> frames;
    long i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        render(frame(i++));
        benchmark::ClobberMemory();
        frames.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["median_ms"] = percentile(frames, 0.5);
    state.counters["p95_ms"] = percentile(frames, 0.95);
    state.counters["fps"] = 1000.0 / percentile(frames, 0.5);
    std::vector<double> &kept = allFrames()[key];
    kept.insert(kept.end(), frames.begin(), frames.end());
}

// Panning: the view moves 3 of its pixels a frame, back and forth across the screen.
void BM_Pan(benchmark::State &state)
{
    const int zoom = int(state.range(0));
    const Kind kind = Kind(state.range(1));
    const qreal step = 3 / scaleFor(zoom);
    renderFrames(state, name("BM_Pan", zoom, kind), kind, [&](long i) {
        const long phase = i % 400;
        const qreal shift = (phase < 200 ? phase : 400 - phase) * step;
        return sourceRect(
            zoom, QPointF(kScreen.width() / 2 - 100 * step + shift, kScreen.height() / 2 + shift / 3));
    });
}
BENCHMARK(BM_Pan)
    ->ArgsProduct({{kFit, 25, 100}, {Overview, Naive, NaiveSmooth}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Zooming in steps about one point: 25 %, fit, 100 %, 400 % and back.
void BM_ZoomSteps(benchmark::State &state)
{
    const Kind kind = Kind(state.range(0));
    const int zooms[] = {25, kFit, 100, 400, 100, kFit};
    const QPointF centre(kScreen.width() * 0.37, kScreen.height() * 0.41);
    renderFrames(state, name("BM_ZoomSteps", kind), kind,
                 [&](long i) { return sourceRect(zooms[i % 6], centre); });
}
BENCHMARK(BM_ZoomSteps)->DenseRange(Overview, NaiveSmooth)->Unit(benchmark::kMillisecond)->UseRealTime();

// Dragging the middle picture of the stack in a circle at fit zoom: move, then render.
void BM_Drag(benchmark::State &state)
{
    const Kind kind = Kind(state.range(0));
    const QPoint from = fixture().entries.at(kDragged).pos;
    renderFrames(state, name("BM_Drag", kind), kind, [&](long i) {
        const qreal angle = 2 * M_PI * (i % kDragSteps) / kDragSteps;
        fixture().moveDragged(kind,
                              from + QPoint(qRound(300 * std::cos(angle)), qRound(200 * std::sin(angle))));
        return sourceRect(kFit, QPointF(kScreen.width() / 2, kScreen.height() / 2));
    });
    fixture().moveDragged(kind, from);
}
BENCHMARK(BM_Drag)->DenseRange(Overview, NaiveSmooth)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first frame at 25 % of a freshly filled overview: it makes the half- and quarter-size copies of
// every picture it shows (later frames reuse them; see BM_Pan/25).
void BM_FirstFrameAt25(benchmark::State &state)
{
    QImage image(kViewport, QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<OverviewScene>();
        scene->setScreenSize(kScreen);
        scene->setEntries(fixture().entries);
        state.ResumeTiming();
        QPainter painter(&image);
        scene->render(&painter, QRectF(image.rect()),
                      sourceRect(25, QPointF(kScreen.width() / 2, kScreen.height() / 2)),
                      Qt::IgnoreAspectRatio);
        painter.end();
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstFrameAt25)->Unit(benchmark::kMillisecond)->UseRealTime();

// The frames one by one: the target is on the median and the 95th percentile of single frames,
// which the summary's medians per run do not show.
void printFrames()
{
    struct Scenario
    {
        const char *label;
        std::string key; // the benchmark's name without its last argument, the kind of scene
    };
    const Scenario scenarios[] = {
        {"pan at fit zoom", name("BM_Pan", kFit)}, {"pan at 25 %", name("BM_Pan", 25)},
        {"pan at 100 %", name("BM_Pan", 100)},     {"zoom steps 25 %, fit, 100 %, 400 %", "BM_ZoomSteps"},
        {"drag at fit zoom", "BM_Drag"},
    };
    const char *const kinds[] = {"overview", "plain items", "plain items, smooth"};
    std::printf("\nFrames of 1280x720, every frame of every repetition: median / 95th percentile "
                "(target for the overview: both under 16.7 ms, 60 frames per second)\n");
    for (const Scenario &s : scenarios) {
        const auto &frames = allFrames();
        double overviewMedian = 0;
        for (int kind = Overview; kind <= NaiveSmooth; ++kind) {
            const auto found = frames.find(s.key + "/" + std::to_string(kind));
            if (found == frames.end())
                continue;
            const double median = percentile(found->second, 0.5);
            const double p95 = percentile(found->second, 0.95);
            if (kind == Overview)
                overviewMedian = median;
            std::printf("  %-36s %-20s %7.2f / %7.2f ms  %6.0f fps", s.label, kinds[kind], median, p95,
                        1000 / median);
            if (kind == Overview)
                std::printf("  target %s\n", median < 16.7 && p95 < 16.7 ? "met" : "NOT MET");
            else if (overviewMedian > 0)
                std::printf("  overview / this %.3f\n", overviewMedian / median);
            else
                std::printf("\n");
        }
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<Line> lines;
    const std::pair<const char *, std::string> scenarios[] = {
        {"pan at fit zoom", name("BM_Pan", kFit)}, {"pan at 25 %", name("BM_Pan", 25)},
        {"pan at 100 %", name("BM_Pan", 100)},     {"zoom steps", "BM_ZoomSteps"},
        {"drag at fit zoom", "BM_Drag"},
    };
    for (const auto &[label, key] : scenarios) {
        const std::string overview = key + "/" + std::to_string(Overview);
        lines.emplace_back(std::string("overview frame, ") + label, overview, "", 8, true);
        lines.emplace_back(std::string("  / plain pixmap items"), overview, key + "/" + std::to_string(Naive),
                           0, true);
        lines.emplace_back(std::string("  / plain pixmap items, smooth"), overview,
                           key + "/" + std::to_string(NaiveSmooth), 0, true);
    }
    lines.emplace_back("first frame at 25 %, making the smaller copies", "BM_FirstFrameAt25", "", 0, true);
    const int result = run(argc, argv, "Overview frames", lines);
    printFrames();
    return result;
}
