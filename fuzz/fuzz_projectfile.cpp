// libFuzzer target for the project file reader: the bytes are written to a file and opened as the
// editor opens a project. SQLite files mutated at the page level (the seeds are small valid
// projects, fuzz/corpus/projectfile) reach the reader's own checks past SQLite's. A file is either
// refused with a reason or loaded whole, and a loaded state must give records as the editor makes
// them without crashing.
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/project/projectfile.h"
#include "interfaces/records/itemrecords.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

QTemporaryDir *folder()
{
    static QTemporaryDir dir;
    return &dir;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "minimal");
    static int argc = 1;
    static char name[] = "fuzz_projectfile";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return folder()->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = folder()->filePath(QStringLiteral("input.brisklane"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    ProjectState state;
    state.current = -7;
    ProjectFile::Error error;
    ProjectFile project;
    if (!project.load(path, &state, &error)) {
        if (error.reason.isEmpty() || state.current != -7 || !state.entries.isEmpty()) {
            std::fprintf(stderr,
                         "fuzz_projectfile: a refusal without a reason or with a half-loaded state\n");
            std::abort();
        }
        return 0;
    }
    if (state.entries.size() > ProjectFile::MaxEntries || state.current < 0)
        std::abort();
    for (const ProjectState::Entry &saved : state.entries)
        std::unique_ptr<VideoControlOSD>(ItemRecords::entryRecord(saved));
    return 0;
}
