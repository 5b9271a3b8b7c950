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

bool OsdFile::write(const QString &fileName, const QList<VideoControlOSD *> &records,
                    const QList<SourceData *> &sources, QString *error)
{
    OsdFileError problem;
    if (write(fileName, records, sources, &problem))
        return true;
    if (error)
        *error = problem.message();
    return false;
}

bool OsdFile::read(const QString &fileName, Contents *out, OsdFileError *error)
{
    out->clear();
    OsdFileError problem;
    const QFileInfo info(fileName);
    // The reader keeps its own buffer; Qt's would only copy every byte once more.
    QFile file(fileName);
    if (!info.exists()) {
        problem = OsdFileError::FileNotFound;
    } else if (!info.isFile()) {
        // Devices and pipes could deliver endless data; only regular files are read.
        problem = OsdFileError::NotRegularFile;
    } else if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        problem = OsdFileError::fromSystem(OsdFileError::CannotOpen, file.errorString());
    } else {
        // The size of the file as opened; no more than that is read, even if the file grows
        // meanwhile.
        const qint64 size = file.size();
        if (size > MaxFileSize)
            problem = {OsdFileError::FileTooLarge, {size, MaxFileSize}};
        else
            problem = readFrom(&file, size, MaxFileSize, out);
    }
    const bool ok = !problem.isError();
    if (error)
        *error = std::move(problem);
    return ok;
}

bool OsdFile::read(const QString &fileName, Contents *out, QString *error)
{
    OsdFileError problem;
    if (read(fileName, out, &problem))
        return true;
    if (error)
        *error = problem.message();
    return false;
}
