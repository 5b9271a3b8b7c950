// libFuzzer target for the OSD file reader: arbitrary bytes go into OsdFile::decode, the code that
// Control::loadOSDfile runs on every file (through OsdFile::read). The invariants are those of
// osdfileinvariants.h; a broken one aborts with its line.
#include "support/core/osdfileinvariants.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void checkOne(const QByteArray &bytes)
{
    const QString broken = OsdFileInvariants::check(bytes);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "fuzz_osdfile: invariant broken at %s\n", qPrintable(broken));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Fonts take their defaults from the GUI application, as they do in the editor; nothing is
    // drawn, so the minimal platform will do. Qt gets arguments of its own, so that it cannot take
    // any of the fuzzer's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "minimal");
    static int argc = 1;
    static char name[] = "fuzz_osdfile";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > size_t(OsdFile::MaxInMemorySize))
        return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    checkOne(bytes);
    const QByteArray sealed = OsdFileInvariants::resealed(bytes);
    if (sealed != bytes)
        checkOne(sealed);
    return 0;
}
