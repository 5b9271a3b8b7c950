#include "core/files/safefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Qt's word for a failure it has no reason for, in English or in the language of Qt's texts.
bool saysNothing(const QString &reason)
{
    // A device that never failed says just that word.
    return reason.isEmpty() || reason == QLatin1String("Unknown error") || reason == QBuffer().errorString();
}

// What a failed device says, or a plain word when it has nothing to say.
QString reasonOf(const QSaveFile &file)
{
    const QString reason = file.errorString();
    return saysNothing(reason) ? SafeFile::tr("写入失败") : reason;
}

} // namespace

QString SafeFile::targetProblem(const QString &fileName)
{
    if (fileName.isEmpty())
        return tr("没有文件名");
    const QFileInfo info(fileName);
    // Checked first: QFileInfo answers the other questions for the link's target.
    if (info.isSymLink())
        return tr("是符号链接，不会写入或替换它");
    if (!info.exists())
        return QString();
    if (info.isDir())
        return tr("是文件夹");
    if (!info.isFile())
        return tr("不是普通文件（管道、设备或套接字），不会写入或替换它");
    return QString();
}

QString SafeFile::inputProblem(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return tr("文件不存在");
    if (info.isDir())
        return tr("是文件夹");
    if (!info.isFile())
        return tr("不是普通文件");
    return QString();
}

bool SafeFile::nameTaken(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.isSymLink() || info.exists();
}

bool SafeFile::open(QSaveFile *file, QString *error)
{
    const QString problem = targetProblem(file->fileName());
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    if (!file->open(QIODevice::WriteOnly)) {
        if (error)
            *error = reasonOf(*file);
        return false;
    }
    return true;
}

bool SafeFile::commit(QSaveFile *file, QString *error)
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        file->cancelWriting();
        return false;
    };
    if (!file->isOpen())
        return fail(reasonOf(*file));
    if (!file->flush())
        return fail(writeFailure(file));
    if (file->error() != QFileDevice::NoError)
        return fail(reasonOf(*file));
    // Whatever came to stand under the name meanwhile is not replaced either.
    const QString problem = targetProblem(file->fileName());
    if (!problem.isEmpty())
        return fail(problem);
    if (!file->commit()) {
        if (error)
            *error = reasonOf(*file);
        return false;
    }
    return true;
}

QString SafeFile::writeFailure(QSaveFile *file)
{
    if (reasonOf(*file) == tr("写入失败") && file->isOpen())
        file->flush();
    return reasonOf(*file);
}

bool SafeFile::write(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    if (!open(&file, error))
        return false;
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            if (error)
                *error = writeFailure(&file);
            file.cancelWriting();
            return false;
        }
        done += n;
    }
    return commit(&file, error);
}
