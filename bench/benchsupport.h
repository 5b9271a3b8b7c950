#pragma once

// What every benchmark executable shares: deterministic pictures and the summary of ratios that
// each run prints after Google Benchmark's own table.

#include <QImage>

#include <string>
#include <utility>
#include <vector>

namespace BenchSupport {

// A photo-like picture: smooth gradients with noise from a fixed seed, so every run keys and
// converts the same pixels.
QImage testPicture(int width, int height, QImage::Format format = QImage::Format_RGB32);

// The key range of the keying benchmarks: red from 0 to 24 takes in about a tenth of a test
// picture's pixels.
struct KeyRange
{
    int redLow, redHigh, greenLow, greenHigh, blueLow, blueHigh;
};
constexpr KeyRange kTenPercent{0, 24, 0, 255, 0, 255};

// Fraction of the picture's pixels inside the range (to print beside the keying figures).
double keyedFraction(const QImage &image, const KeyRange &range);

// One line of the summary: the median time per call of `measured`, either divided by the median
// of `reference` (a ratio) or, with an empty reference, in milliseconds. A target, when given, is
// the largest value that meets it.
struct Line
{
    Line(std::string label, std::string measured, std::string reference = std::string(), double target = 0,
         bool wallTime = false)
        : label(std::move(label)), measured(std::move(measured)), reference(std::move(reference)),
          target(target), wallTime(wallTime)
    {}

    std::string label;
    std::string measured;
    std::string reference;
    double target = 0;
    // Wall-clock time instead of CPU time: for work that waits on the file system.
    bool wallTime = false;
};

// Runs the benchmarks given on the command line with a reporter that keeps every timing, then
// prints the summary under `title`. The summary rows start with "| " so that bench/run can
// collect them into one table. Chooses the offscreen platform unless another one is set.
int run(int argc, char **argv, const char *title, const std::vector<Line> &lines);

// "name/a/b" as Google Benchmark names an instance with arguments a and b.
std::string name(const char *benchmark, long a);
std::string name(const char *benchmark, long a, long b);

// "1920x1080".
std::string sizeText(long width, long height);

} // namespace BenchSupport
