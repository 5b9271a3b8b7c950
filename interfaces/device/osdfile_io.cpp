#include "interfaces/device/osdfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

bool OsdFile::write(const QString &fileName, const QList<VideoControlOSD *> &records,
                    const QList<SourceData *> &sources, OsdFileError *error)
{
    // QSaveFile writes into a temporary file beside the target and renames it over the target only
    // when everything has been written (the writer commits it). It is opened only once every record
    // has been checked.
    QSaveFile file(fileName);
    OsdFileError problem = writeTo(&file, records, sources, MaxFileSize);
    const bool ok = !problem.isError();
    if (error)
        *error = std::move(problem);
    return ok;
}

OsdFileError OsdFile::readFile(const QString &fileName, const RecordSink &sink)
{
    const QFileInfo info(fileName);
    // The reader keeps its own buffer; Qt's would only copy every byte once more.
    QFile file(fileName);
    if (!info.exists())
        return OsdFileError::FileNotFound;
    // Devices and pipes could deliver endless data or none; only regular files are read.
    if (!info.isFile())
        return OsdFileError::NotRegularFile;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return OsdFileError::fromSystem(OsdFileError::CannotOpen, file.errorString());
    // The size of the file as opened; no more than that is read, even if the file grows meanwhile.
    const qint64 size = file.size();
    if (size > MaxFileSize)
        return {OsdFileError::FileTooLarge, {size, MaxFileSize}};
    return readFrom(&file, size, MaxFileSize, sink);
}

bool OsdFile::read(const QString &fileName, Contents *out, OsdFileError *error)
{
    out->clear();
    Contents result;
    OsdFileError problem = readFile(fileName, [&result](int, VideoControlOSD *record, SourceData *source) {
        result.append(record, source);
    });
    const bool ok = !problem.isError();
    if (ok)
        *out = std::move(result);
    if (error)
        *error = std::move(problem);
    return ok;
}

bool OsdFile::scan(const QString &fileName, const RecordSink &sink, OsdFileError *error)
{
    OsdFileError problem = readFile(fileName, sink);
    const bool ok = !problem.isError();
    if (error)
        *error = std::move(problem);
    return ok;
}
