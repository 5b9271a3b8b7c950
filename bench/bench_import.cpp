// Import of an OSD file through the main window, as the operator does it (the import button, the
// file dialog answered with the file), for 100 and 300 small picture records: one tab each. The
// time should grow with the number of records; the ratio of 300 to 100 is 3 when it does.
#include "benchsupport.h"
#include "core/pixels/publicbase.h"
#include "interfaces/device/control.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "widgets/styled/closabletabbar.h"
#include "widgets/styled/tablewidgetex.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace BenchSupport;

namespace {

// Each count in a folder of its own, so the file dialog lists the same single file for both.
struct Files
{
    QTemporaryDir dir;

    QString path(int count) const { return dir.filePath(QStringLiteral("%1/records.pic").arg(count)); }

    void write(int count)
    {
        QList<VideoControlOSD *> records;
        QList<SourceData *> sources;
        for (int i = 0; i < count; ++i) {
            const QImage picture = testPicture(32 + i % 5, 8);
            auto *record = new VideoControlOSD;
            int completionWidth = 0;
            record->setImage(PublicBase::imageToOsdData(picture, &completionWidth));
            record->setSize(picture.size());
            record->setCompletionImageWidth(completionWidth);
            record->setOSDFileLength(int(record->image().size()));
            record->setLocation(QPoint(i, i));
            record->setIsAvailable(true);
            SharedRecord::retain(record);
            records.append(record);
            sources.append(nullptr);
        }
        DataMode::getInstance()->setOSDInfos(records);
        DataMode::getInstance()->setSourcedatList(sources);
        QDir(dir.path()).mkpath(QString::number(count));
        if (!Control::getInstance()->savaOSDfile(path(count))) {
            std::fprintf(stderr, "%s\n", qPrintable(Control::getInstance()->errorString()));
            std::exit(1);
        }
        DataMode::getInstance()->clearDataModel();
    }
};

Files &files()
{
    static Files f;
    static bool written = false;
    if (!written) {
        if (!f.dir.isValid()) {
            std::fprintf(stderr, "no temporary directory\n");
            std::exit(1);
        }
        f.write(100);
        f.write(300);
        written = true;
    }
    return f;
}

// Accepts the import's file dialog with `path` as soon as it is open.
void answerFileDialog(const QString &path)
{
    QTimer::singleShot(0, [path] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            answerFileDialog(path);
            return;
        }
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

void flushDeferredDeletes()
{
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the operator sees after an import: a tab per record, each in the bar with its close
// control, the last one current.
bool importLeftEveryTabUsable(const Quillmere &window, int count)
{
    const auto *tabs = window.findChild<TableWidgetEx *>();
    if (!tabs || tabs->count() != count || tabs->currentIndex() != count - 1)
        return false;
    const auto *bar = qobject_cast<const ClosableTabBar *>(tabs->tabBar());
    if (!bar)
        return false;
    for (int i = 0; i < count; ++i) {
        if (!bar->isTabVisible(i) || bar->closeControlRect(i).isEmpty())
            return false;
    }
    return true;
}

void BM_ImportThroughWindow(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QString path = files().path(count);
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Quillmere>();
        window->show();
        QCoreApplication::processEvents();
        answerFileDialog(path);
        state.ResumeTiming();

        window->slot_inputButten();
        // The deferred work of the import (the tab bar's layout among it) belongs to it.
        QCoreApplication::processEvents();

        state.PauseTiming();
        if (DataMode::getInstance()->getOSDInfos().size() != count) {
            state.SkipWithError("the import did not make every record");
            return;
        }
        if (!importLeftEveryTabUsable(*window, count)) {
            state.SkipWithError("the import left a tab out of the bar or without its close control");
            return;
        }
        window.reset();
        DataMode::getInstance()->clearDataModel();
        flushDeferredDeletes();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ImportThroughWindow)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    const std::vector<Line> lines = {
        {"import of 100 records through the window", name("BM_ImportThroughWindow", 100)},
        {"import of 300 records through the window", name("BM_ImportThroughWindow", 300)},
        {"import of 300 records / of 100 (3 is linear)", name("BM_ImportThroughWindow", 300),
         name("BM_ImportThroughWindow", 100), 3.5},
    };
    return run(argc, argv, "Import through the main window", lines);
}
