// Start-up to the shown main window. A child process (this program, started with a role) does what
// main() does and quits as soon as the window is exposed; the time from starting it to its end is
// the start-up as the operator sees it, loading of the libraries included. The same child showing
// an empty top-level widget is the floor that Qt itself sets.
#include "app/applicationstylesheet.h"
#include "benchsupport.h"
#include "core/pixels/highdpisetup.h"
#include "mainwindow/quillmere.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QWidget>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace BenchSupport;

namespace {

const char *const kMainWindowRole = "--show-main-window";
const char *const kEmptyWindowRole = "--show-empty-window";

// Runs the event loop until the window is exposed (or 10 s have passed).
bool waitUntilExposed(QWidget &window)
{
    QElapsedTimer timer;
    timer.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
        if (timer.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// The child: main() up to the shown window.
int showWindow(int argc, char **argv, bool mainWindow)
{
    HighDpiSetup::prepare();
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (mainWindow)
        window = std::make_unique<Quillmere>();
    else
        window = std::make_unique<QWidget>();
    if (mainWindow)
        ApplicationStyleSheet::apply(app);
    window->show();
    return waitUntilExposed(*window) ? 0 : 2;
}

void startChild(benchmark::State &state, const char *role)
{
    for (auto _ : state) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(role)});
        if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit ||
            child.exitCode() != 0) {
            state.SkipWithError("the child did not show its window");
            return;
        }
    }
}

void BM_StartUp(benchmark::State &state)
{
    startChild(state, kMainWindowRole);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_StartUpEmptyWindow(benchmark::State &state)
{
    startChild(state, kEmptyWindowRole);
}
BENCHMARK(BM_StartUpEmptyWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// In this process, with everything loaded and cached: making and showing the main window.
void BM_MainWindowWarm(benchmark::State &state)
{
    ApplicationStyleSheet::apply(*qApp);
    for (auto _ : state) {
        Quillmere window;
        window.show();
        if (!waitUntilExposed(window)) {
            state.SkipWithError("the window was not exposed");
            return;
        }
    }
}
BENCHMARK(BM_MainWindowWarm)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::strcmp(argv[1], kMainWindowRole) == 0)
        return showWindow(argc, argv, true);
    if (argc > 1 && std::strcmp(argv[1], kEmptyWindowRole) == 0)
        return showWindow(argc, argv, false);

    const std::vector<Line> lines = {
        {"start-up to the shown main window", "BM_StartUp", "", 0, true},
        {"start-up / start-up of an empty Qt window", "BM_StartUp", "BM_StartUpEmptyWindow", 0, true},
        {"main window made and shown again (warm)", "BM_MainWindowWarm", "", 0, true},
    };
    return run(argc, argv, "Start-up", lines);
}
