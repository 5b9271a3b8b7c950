// The undo history of 50 keying steps on a 3840x2160 picture: the memory it holds beyond what the
// live list holds (counted buffer by buffer by the window, so the figure is the same on every run), against
// the picture's own memory (target: at most 2), and the time of an undo and a redo against one keying step
// measured in the same run, and what the recovery copy takes of the window's thread per change.
#include "benchsupport.h"
#include "mainwindow/propertypanel.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/quillmereaccess.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"

#include <QApplication>
#include <QMouseEvent>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <memory>

using namespace BenchSupport;
using Access = QuillmereTestAccess;

namespace {

const int kSteps = 50;

// One drag of the red handle to maxRed, ended by letting the mouse go.
void keyStep(Quillmere &w, int maxRed)
{
    DoubleSlider *slider = w.findChild<PropertyPanel *>()->slider(0);
    slider->moveMaxHandle(maxRed);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(slider, &release);
}

struct Session
{
    std::unique_ptr<Quillmere> window = std::make_unique<Quillmere>();
    OSDItem *item = nullptr;

    Session()
    {
        item = Access::addPictureItem(*window, testPicture(3840, 2160));
        window->findChild<PropertyPanel *>()->selectColorCheck()->setChecked(true);
        for (int step = 0; step < kSteps; ++step)
            keyStep(*window, 250 - 4 * step);
    }
};

void BM_HistoryMemory(benchmark::State &state)
{
    for (auto _ : state) {
        Session session;
        const double picture = double(session.item->sourceImage().sizeInBytes());
        const double held = double(session.window->historyBytes());
        state.counters["steps"] = double(session.window->undoStack()->count());
        state.counters["history_MB"] = held / (1024 * 1024);
        state.counters["picture_MB"] = picture / (1024 * 1024);
        state.counters["history_per_picture"] = held / picture;
        if (held > 2 * picture)
            state.SkipWithError("the history holds more than twice the picture");
    }
}
BENCHMARK(BM_HistoryMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_KeyingStep(benchmark::State &state)
{
    Session session;
    int step = 0;
    for (auto _ : state)
        keyStep(*session.window, 100 + (step++ % 2) * 50);
}
BENCHMARK(BM_KeyingStep)->Unit(benchmark::kMillisecond);

void BM_UndoAndRedo(benchmark::State &state)
{
    Session session;
    QUndoStack *stack = session.window->undoStack();
    for (auto _ : state) {
        stack->undo();
        stack->redo();
    }
}
BENCHMARK(BM_UndoAndRedo)->Unit(benchmark::kMillisecond);

// Two steps back and forth: only the last step's other result is kept, so the older step is keyed
// again each way.
void BM_UndoAndRedoTwo(benchmark::State &state)
{
    Session session;
    QUndoStack *stack = session.window->undoStack();
    for (auto _ : state) {
        stack->undo();
        stack->undo();
        stack->redo();
        stack->redo();
    }
}
BENCHMARK(BM_UndoAndRedoTwo)->Unit(benchmark::kMillisecond);

// What the recovery copy costs the window per change: taking the whole list as one value, which
// shares the pixels; the writing itself runs on another thread.
void BM_RecoveryCapture(benchmark::State &state)
{
    Session session;
    for (auto _ : state)
        benchmark::DoNotOptimize(session.window->projectState());
}
BENCHMARK(BM_RecoveryCapture)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    const std::vector<Line> lines = {
        {"one keying step of 3840x2160", "BM_KeyingStep"},
        {"undo and redo of a keying step / one keying step", "BM_UndoAndRedo", "BM_KeyingStep", 2.0},
        {"undo and redo of two keying steps / one keying step", "BM_UndoAndRedoTwo", "BM_KeyingStep"},
        {"recovery copy on the window's thread per change", "BM_RecoveryCapture"},
    };
    return run(argc, argv, "Undo history", lines);
}
