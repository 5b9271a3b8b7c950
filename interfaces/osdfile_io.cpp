#include "interfaces/osdfile.h"

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
    QByteArray bytes;
    if (!encode(records, sources, &bytes, error))
        return false;

    // QSaveFile writes into a temporary file beside the target and renames it over the target only
    // when everything has been written.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = tr("无法创建文件（%1）").arg(file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = tr("写入失败（%1）").arg(file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = tr("写入失败（%1）").arg(file.errorString());
        return false;
    }
    return true;
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
    if (info.size() > MaxFileSize)
        return fail(tr("文件过大（%1 字节，上限 %2 字节）").arg(info.size()).arg(MaxFileSize));

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(tr("无法打开文件（%1）").arg(file.errorString()));

    // Read in pieces and stop past the limit, so a file that grows while it is read cannot make
    // the buffer grow without bound.
    QByteArray bytes;
    bytes.reserve(int(info.size()));
    constexpr qint64 Piece = qint64(1) << 20;
    QByteArray piece(int(Piece), Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(piece.data(), Piece);
        if (got < 0)
            return fail(tr("读取失败（%1）").arg(file.errorString()));
        if (got == 0)
            break;
        if (bytes.size() + got > MaxFileSize)
            return fail(tr("文件过大（超过 %1 字节的上限）").arg(MaxFileSize));
        bytes.append(piece.constData(), int(got));
    }
    return decode(bytes, out, error);
}
