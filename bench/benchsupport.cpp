#include "benchsupport.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace BenchSupport {

QImage testPicture(int width, int height, QImage::Format format)
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

double keyedFraction(const QImage &image, const KeyRange &range)
{
    qint64 inside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            inside += qRed(p) >= range.redLow && qRed(p) <= range.redHigh && qGreen(p) >= range.greenLow &&
                      qGreen(p) <= range.greenHigh && qBlue(p) >= range.blueLow && qBlue(p) <= range.blueHigh;
        }
    }
    return double(inside) / (double(image.width()) * image.height());
}

std::string name(const char *benchmark, long a)
{
    return std::string(benchmark) + "/" + std::to_string(a);
}

std::string name(const char *benchmark, long a, long b)
{
    return name(benchmark, a) + "/" + std::to_string(b);
}

std::string sizeText(long width, long height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

namespace {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Prints Google Benchmark's usual table and keeps the time per call of every repetition, by
// benchmark name (without the "/real_time" or aggregate suffixes).
class KeepingReporter : public benchmark::ConsoleReporter
{
public:
    explicit KeepingReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred || run.iterations <= 0)
                continue;
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            std::string key = run.run_name.function_name;
            if (!run.run_name.args.empty())
                key += "/" + run.run_name.args;
            Times &t = m_times[key];
            if (run.run_type == Run::RT_Iteration) {
                t.cpu.push_back(run.GetAdjustedCPUTime() / unit);
                t.wall.push_back(run.GetAdjustedRealTime() / unit);
            } else if (run.aggregate_name == "median") {
                // Only aggregates reach the display with --benchmark_display_aggregates_only.
                t.cpuMedian = run.GetAdjustedCPUTime() / unit;
                t.wallMedian = run.GetAdjustedRealTime() / unit;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Median seconds per call, or a negative value when the benchmark did not run.
    double seconds(const std::string &key, bool wall) const
    {
        const auto it = m_times.find(key);
        if (it == m_times.end())
            return -1;
        const Times &t = it->second;
        const std::vector<double> &samples = wall ? t.wall : t.cpu;
        if (!samples.empty())
            return median(samples);
        return wall ? t.wallMedian : t.cpuMedian;
    }

    int repetitions(const std::string &key) const
    {
        const auto it = m_times.find(key);
        return it == m_times.end() ? 0 : int(it->second.cpu.size());
    }

private:
    struct Times
    {
        std::vector<double> cpu;
        std::vector<double> wall;
        double cpuMedian = -1;
        double wallMedian = -1;
    };
    std::map<std::string, Times> m_times;
};

std::string milliseconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
    return text;
}

void printSummary(const KeepingReporter &reporter, const char *title, const std::vector<Line> &lines)
{
    std::printf("\n%s (medians per call; CPU time unless marked wall)\n", title);
    std::printf("| %-58s | %12s | %12s | %8s | %8s | %-4s |\n", "measure", "ours", "reference", "value",
                "target", "met");
    for (const Line &line : lines) {
        const double measured = reporter.seconds(line.measured, line.wallTime);
        if (measured < 0)
            continue;
        const bool isRatio = !line.reference.empty();
        double reference = 0;
        if (isRatio) {
            reference = reporter.seconds(line.reference, line.wallTime);
            if (reference <= 0)
                continue;
        }
        const double value = isRatio ? measured / reference : measured * 1e3;
        char valueText[32];
        std::snprintf(valueText, sizeof valueText, isRatio ? "%.3f" : "%.2f ms", value);
        char targetText[32] = "";
        const char *met = "";
        if (line.target > 0) {
            std::snprintf(targetText, sizeof targetText, isRatio ? "<= %.2f" : "<= %.0f ms", line.target);
            met = value <= line.target ? "yes" : "NO";
        }
        const std::string label = line.label + (line.wallTime ? " (wall)" : "");
        std::printf("| %-58s | %12s | %12s | %8s | %8s | %-4s |\n", label.c_str(),
                    milliseconds(measured).c_str(), isRatio ? milliseconds(reference).c_str() : "", valueText,
                    targetText, met);
    }
    std::fflush(stdout);
}

} // namespace

int run(int argc, char **argv, const char *title, const std::vector<Line> &lines)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The reporter is ours, so the colour switch is read here.
    bool color = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--benchmark_color=false" || argument == "--benchmark_color=no")
            color = false;
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    KeepingReporter reporter(color ? benchmark::ConsoleReporter::OO_ColorTabular
                                   : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter, title, lines);
    benchmark::Shutdown();
    return 0;
}

} // namespace BenchSupport
