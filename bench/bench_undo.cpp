// The undo history of 50 keying steps on a 3840x2160 picture: the memory it holds beyond what the
// live list holds (counted buffer by buffer, so the figure is the same on every run), against the
// picture's own memory (target: at most 2), and the time of an undo and a redo against one keying
// step measured in the same run.
#include "benchsupport.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/styled/checkboxex.h"
#include "mainwindow/editorstepcommand.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/quillmereaccess.h"
#include "widgets/doubleslider.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSet>
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
    DoubleSlider *slider = Access::sliderR(w);
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
        Access::selectColorCheck(*window)->setChecked(true);
        for (int step = 0; step < kSteps; ++step)
            keyStep(*window, 250 - 4 * step);
    }
};

// Bytes of the distinct pixel buffers the history holds that the live list does not.
qint64 historyBytes(Quillmere &w, OSDItem *live)
{
    QSet<const void *> liveBuffers{live->sourceImage().constBits(), live->image().constBits(),
                                   live->videoControlOSD()->image().constData()};
    QSet<const void *> counted;
    qint64 bytes = 0;
    auto count = [&](const void *buffer, qint64 size) {
        if (buffer && size > 0 && !liveBuffers.contains(buffer) && !counted.contains(buffer)) {
            counted.insert(buffer);
            bytes += size;
        }
    };
    QUndoStack *stack = w.undoStack();
    for (int i = 0; i < stack->count(); ++i) {
        const auto *command = dynamic_cast<const EditorStepCommand *>(stack->command(i));
        if (!command)
            continue;
        for (const auto &state : {command->before(), command->after()}) {
            for (const EditorState::Tab &tab : state->tabs) {
                if (!tab.item)
                    continue;
                count(tab.item->source.constBits(), tab.item->source.sizeInBytes());
                count(tab.item->recordData.constData(), tab.item->recordData.size());
            }
        }
    }
    return bytes;
}

void BM_HistoryMemory(benchmark::State &state)
{
    for (auto _ : state) {
        Session session;
        const double picture = double(session.item->sourceImage().sizeInBytes());
        const double held = double(historyBytes(*session.window, session.item));
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

} // namespace

int main(int argc, char **argv)
{
    const std::vector<Line> lines = {
        {"one keying step of 3840x2160", "BM_KeyingStep"},
        {"undo and redo of a keying step / one keying step", "BM_UndoAndRedo", "BM_KeyingStep"},
    };
    return run(argc, argv, "Undo history", lines);
}
