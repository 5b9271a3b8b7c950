#include "interfaces/model/datamode.h"

#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

namespace {
// Retain the new entries before releasing the old ones: both lists may share records.
template <typename T> void replaceHeld(QList<T *> &held, const QList<T *> &incoming)
{
    for (T *r : incoming)
        SharedRecord::retain(r);
    const QList<T *> old = held;
    held = incoming;
    for (T *r : old)
        SharedRecord::release(r);
}
} // namespace

DataMode::DataMode() = default;

DataMode::~DataMode()
{
    clearDataModel();
}

void DataMode::clearDataModel()
{
    replaceHeld(m_osdInfos, {});
    replaceHeld(m_sources, {});
}

void DataMode::setOSDInfos(const QList<VideoControlOSD *> &records)
{
    replaceHeld(m_osdInfos, records);
}

void DataMode::setSourcedatList(const QList<SourceData *> &sources)
{
    replaceHeld(m_sources, sources);
}

void DataMode::appendRecords(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources)
{
    replaceHeld(m_osdInfos, m_osdInfos + records);
    replaceHeld(m_sources, m_sources + sources);
}
