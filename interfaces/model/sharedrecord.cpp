#include "interfaces/model/sharedrecord.h"

#include <QtGlobal>

#include <atomic>

namespace {
// Records are also made on worker threads (the command-line tool builds items in parallel).
std::atomic<int> g_liveRecords{0};
} // namespace

SharedRecord::SharedRecord()
{
    ++g_liveRecords;
}

SharedRecord::~SharedRecord()
{
    --g_liveRecords;
}

void SharedRecord::retain(const SharedRecord *record)
{
    if (record)
        ++record->m_holders;
}

void SharedRecord::release(const SharedRecord *record)
{
    if (!record)
        return;
    Q_ASSERT(record->m_holders > 0);
    if (--record->m_holders <= 0)
        delete record;
}

int SharedRecord::liveCount()
{
    return g_liveRecords.load();
}
