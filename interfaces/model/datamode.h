#pragma once

#include <QList>

class VideoControlOSD;
class SourceData;

// The one data model: the records of the OSD list and, index for index, their text sources
// (null for a picture item). The lists hold their records (see SharedRecord).
class DataMode
{
public:
    static DataMode *getInstance();

    DataMode(const DataMode &) = delete;
    DataMode &operator=(const DataMode &) = delete;

    void clearDataModel();

    void setOSDInfos(const QList<VideoControlOSD *> &records);
    QList<VideoControlOSD *> getOSDInfos() const { return m_osdInfos; }

    void setSourcedatList(const QList<SourceData *> &sources);
    QList<SourceData *> getSourcedatList() const { return m_sources; }

    // Appends a loaded file's records in order; both lists grow by the same count.
    void appendRecords(const QList<VideoControlOSD *> &records, const QList<SourceData *> &sources);

private:
    DataMode();
    ~DataMode();

    QList<VideoControlOSD *> m_osdInfos;
    QList<SourceData *> m_sources;
};
