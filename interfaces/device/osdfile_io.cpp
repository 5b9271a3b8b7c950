#include "interfaces/device/osdfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
QString tr(const char *text)
{
    return QString::fromUtf8(text);
}
} // namespace

bool OsdFile::write(const QString &fileName, const QList<VideoControlOSD *> &records,
                    const QList<SourceData *> &sources, QString *error)
{
    // QSaveFile writes into a temporary file beside the target and renames it over the target only
    // when everything has been written (the writer commits it). It is opened only once every record
    // has been checked.
    QSaveFile file(fileName);
    return writeTo(&file, records, sources, MaxFileSize, error);
}

bool OsdFile::read(const QString &fileName, Contents *out, QString *error)
{
    out->clear();
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };

    const QFileInfo info(fileName);
    if (!info.exists())
        return fail(tr("文件不存在"));
    // Devices and pipes could deliver endless data; only regular files are read.
    if (!info.isFile())
        return fail(tr("不是普通文件"));

    // The reader keeps its own buffer; Qt's would only copy every byte once more.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(tr("无法打开文件（%1）").arg(file.errorString()));
    // The size of the file as opened; no more than that is read, even if the file grows meanwhile.
    const qint64 size = file.size();
    if (size > MaxFileSize)
        return fail(tr("文件过大（%1 字节，上限 %2 字节）").arg(size).arg(MaxFileSize));
    return readFrom(&file, size, MaxFileSize, out, error);
}
