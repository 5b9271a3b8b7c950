#include "interfaces/device/control.h"

#include "interfaces/device/osdfile.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

QString shownName(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

// Prepared files are found again under any spelling of their path.
QString preparedKey(const QString &fileName)
{
    return QFileInfo(fileName).absoluteFilePath();
}

// Lets go of the references kept on prepared records and sources.
void releaseLoaded(QList<VideoControlOSD *> &records, QList<SourceData *> &sources)
{
    for (VideoControlOSD *r : qAsConst(records))
        SharedRecord::release(r);
    for (SourceData *s : qAsConst(sources))
        SharedRecord::release(s);
    records.clear();
    sources.clear();
}
} // namespace

Control::Control() = default;

Control::~Control()
{
    discardPrepared();
}

bool Control::savaOSDfile(const QString &fileName)
{
    m_errorString.clear();
    const DataMode *model = DataMode::getInstance();
    OsdFileError reason;
    if (!OsdFile::write(fileName, model->getOSDInfos(), model->getSourcedatList(), &reason)) {
        m_errorString = tr("无法保存文件 %1: %2").arg(shownName(fileName), reason.message());
        return false;
    }
    return true;
}

bool Control::loadOSDfile(const QString &fileName)
{
    m_errorString.clear();
    const auto prepared = m_prepared.find(preparedKey(fileName));
    if (prepared != m_prepared.end()) {
        Loaded loaded = prepared.value();
        m_prepared.erase(prepared);
        // The data model takes its own references; the ones kept since preparing go.
        DataMode::getInstance()->appendRecords(loaded.records, loaded.sources);
        releaseLoaded(loaded.records, loaded.sources);
        return true;
    }

    OsdFile::Contents contents;
    OsdFileError reason;
    if (!OsdFile::read(fileName, &contents, &reason)) {
        m_errorString = tr("无法读取文件 %1: %2").arg(shownName(fileName), reason.message());
        return false;
    }
    DataMode::getInstance()->appendRecords(contents.records(), contents.sources());
    return true;
}

bool Control::prepareOSDfiles(const QStringList &fileNames)
{
    discardPrepared();
    m_errorString.clear();
    for (const QString &fileName : fileNames) {
        const QString key = preparedKey(fileName);
        if (m_prepared.contains(key))
            continue;
        OsdFile::Contents contents;
        OsdFileError reason;
        if (!OsdFile::read(fileName, &contents, &reason)) {
            discardPrepared();
            m_errorString = tr("无法读取文件 %1: %2").arg(shownName(fileName), reason.message());
            return false;
        }
        // Keep one reference on every record and source until it is loaded or discarded.
        Loaded loaded{contents.records(), contents.sources()};
        for (VideoControlOSD *r : qAsConst(loaded.records))
            SharedRecord::retain(r);
        for (SourceData *s : qAsConst(loaded.sources))
            SharedRecord::retain(s);
        m_prepared.insert(key, loaded);
    }
    return true;
}

void Control::discardPrepared()
{
    const QHash<QString, Loaded> prepared = std::exchange(m_prepared, {});
    for (Loaded loaded : prepared)
        releaseLoaded(loaded.records, loaded.sources);
}

int Control::preparedRecordCount() const
{
    int count = 0;
    for (const Loaded &loaded : m_prepared)
        count += loaded.records.size();
    return count;
}

int Control::preparedSourceCount() const
{
    int count = 0;
    for (const Loaded &loaded : m_prepared)
        count += loaded.sources.size();
    return count;
}
