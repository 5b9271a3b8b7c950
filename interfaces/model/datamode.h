#pragma once

#include "interfaces/model/singleton.h"

#include <QList>

class VideoControlOSD;
class SourceData;

// The one data model: the records of the OSD list and, index for index, their text sources
// (null for a picture item). The lists hold their records (see SharedRecord).
class DataMode : public Singleton<DataMode>
{
public:
    void clearDataModel();

    void setOSDInfos(const QList<VideoControlOSD *> &records);
    QList<VideoControlOSD *> getOSDInfos() const { return m_osdInfos; }

    void setSourcedatList(const QList<SourceData *> &sources);
    QList<SourceData *> getSourcedatList() const { return m_sources; }

    // Appends a loaded file's records in order; both lists grow by the same count.
    void appendRecords(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources);

private:
    friend class Singleton<DataMode>;
    DataMode();
    ~DataMode();

    QList<VideoControlOSD *> m_osdInfos;
    QList<SourceData *> m_sources;
};
