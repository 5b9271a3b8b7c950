#pragma once

#include "core/pixels/cpufeatures.h"

#include <QString>

namespace TestSupport {

// For initTestCase_data(): the global columns "level" and "streaming" (CpuFeatures' enums as int),
// so that every test function runs once per row, all in one process.
void addInstructionLevelColumns();
void addInstructionLevelRow(CpuFeatures::Level level,
                            CpuFeatures::Streaming streaming = CpuFeatures::Streaming::Auto);
// The columns and a row for every level.
void addEveryInstructionLevel();

// For init(): the kernels take the current row's level until releaseInstructionLevel() (cleanup()).
// Returns what the processor lacks for the row, for the caller's QSKIP; empty when it runs.
QString useRowInstructionLevel();
void releaseInstructionLevel();

} // namespace TestSupport
