#include "interfaces/model/sharedrecord.h"

#include <QtGlobal>

namespace {
int g_liveRecords = 0;
}

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
    return g_liveRecords;
}
