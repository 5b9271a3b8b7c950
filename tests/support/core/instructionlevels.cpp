#include "support/core/instructionlevels.h"

#include <QtTest>

#include <memory>

namespace TestSupport {

namespace {

std::unique_ptr<CpuFeatures::Limit> g_limit;

} // namespace

void addInstructionLevelColumns()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("streaming");
}

void addInstructionLevelRow(CpuFeatures::Level level, CpuFeatures::Streaming streaming)
{
    const char *stores = streaming == CpuFeatures::Streaming::Always  ? ", streaming stores"
                         : streaming == CpuFeatures::Streaming::Never ? ", no streaming stores"
                                                                      : "";
    QTest::addRow("%s%s", CpuFeatures::name(level), stores) << int(level) << int(streaming);
}

void addEveryInstructionLevel()
{
    addInstructionLevelColumns();
    for (auto level : {CpuFeatures::Level::Portable, CpuFeatures::Level::Ssse3, CpuFeatures::Level::Avx2})
        addInstructionLevelRow(level);
}

QString useRowInstructionLevel()
{
    QFETCH_GLOBAL(int, level);
    QFETCH_GLOBAL(int, streaming);
    const auto wanted = CpuFeatures::Level(level);
    if (CpuFeatures::detectedLevel() < wanted)
        return QStringLiteral("this processor (or QT_NO_CPU_FEATURE) gives no %1")
            .arg(CpuFeatures::name(wanted));
    g_limit.reset();
    g_limit = std::make_unique<CpuFeatures::Limit>(wanted, CpuFeatures::Streaming(streaming));
    return QString();
}

void releaseInstructionLevel()
{
    g_limit.reset();
}

} // namespace TestSupport
