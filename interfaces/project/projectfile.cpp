#include "interfaces/project/projectfile.h"

#include "core/files/safefile.h"
#include "interfaces/project/projectconnection.h"
#include "interfaces/project/projectfile_checks.h"
#include "interfaces/project/projectfile_codec.h"
#include "interfaces/project/projectfilereader.h"
#include "interfaces/project/projectfilewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <filesystem>

Q_LOGGING_CATEGORY(lcProject, "brisklane.project", QtInfoMsg)

using ProjectFileChecks::checkState;
using ProjectFileChecks::headerProblem;

QString ProjectFile::Error::message() const
{
    const QString file = QDir::toNativeSeparators(fileName);
    if (entryNumber > 0)
        return QStringLiteral("%1: OSD%2: %3").arg(file).arg(entryNumber).arg(reason);
    return QStringLiteral("%1: %2").arg(file, reason);
}

ProjectFile::ProjectFile() = default;
ProjectFile::~ProjectFile() = default;

bool ProjectFile::looksLikeProject(const QString &fileName)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3", 16);
}

QByteArray ProjectFile::hashOf(const QByteArray &bytes)
{
    const auto known = m_known.constFind(bytes.constData());
    if (known != m_known.constEnd() && known->bytes.size() == bytes.size())
        return known->hash;
    const QByteArray hash = ProjectFileCodec::sha256(bytes);
    remember(bytes, hash);
    return hash;
}

void ProjectFile::remember(const QByteArray &bytes, const QByteArray &hash)
{
    // Empty arrays share one static buffer: its identity says nothing.
    if (!bytes.isEmpty())
        m_known.insert(bytes.constData(), Known{bytes, hash});
}

QByteArray ProjectFile::pixelsHashOf(const QImage &image, QByteArray *encoded)
{
    const auto known = m_knownPixels.constFind(image.cacheKey());
    if (known != m_knownPixels.constEnd() && !encoded)
        return *known;
    const QByteArray bytes = ProjectFileCodec::pixelsBytes(image);
    const QByteArray hash = ProjectFileCodec::sha256(bytes);
    m_knownPixels.insert(image.cacheKey(), hash);
    if (encoded)
        *encoded = bytes;
    return hash;
}

bool ProjectFile::save(const QString &fileName, const ProjectState &state, Error *error)
{
    Error local;
    Error &e = error ? *error : local;
    e = Error();
    e.fileName = fileName;
    m_lastSave = SaveStats();

    if (!checkState(state, &e))
        return false;
    const QString target = SafeFile::targetProblem(fileName);
    if (!target.isEmpty()) {
        e.reason = target;
        return false;
    }

    // A project of this version is updated in place; anything else is made anew beside it.
    if (QFileInfo::exists(fileName) && looksLikeProject(fileName) && headerProblem(fileName).isEmpty()) {
        int version = 0;
        bool locked = false;
        {
            ProjectConnection connection;
            QString ignored;
            if (connection.open(fileName, true, &ignored)) {
                QSqlQuery query(connection.db());
                if (query.exec(QStringLiteral("SELECT version FROM schema_version")) && query.next())
                    version = query.value(0).toInt();
                locked = ProjectConnection::isLocked(query.lastError());
            }
        }
        // Another program is writing it: never replaced under its hands.
        if (locked) {
            e.reason = tr("文件被另一个程序锁定");
            return false;
        }
        if (version == SchemaVersion) {
            Writer writer(this, state);
            if (writer.write(fileName, false, &e))
                return true;
            qCDebug(lcProject) << "updating" << fileName << "failed:" << e.reason;
            // A file that another program holds is left to it; a damaged one is replaced.
            if (e.reason == tr("文件被另一个程序锁定"))
                return false;
            m_lastSave = SaveStats();
            e.reason.clear();
            e.entryNumber = 0;
        }
    }

    const QFileInfo info(fileName);
    QTemporaryFile temporary(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open()) {
        e.reason = tr("无法创建文件（%1）").arg(temporary.errorString());
        return false;
    }
    temporary.close();
    // A new file gets the permissions a new file gets; a replaced one keeps its own.
    temporary.setPermissions(QFileInfo::exists(fileName)
                                 ? QFileInfo(fileName).permissions()
                                 : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                       QFileDevice::ReadOther);
    // The database is written into the empty file, which then replaces the target whole.
    Writer writer(this, state);
    m_lastSave.rewritten = true;
    if (!writer.write(temporary.fileName(), true, &e))
        return false;
    std::error_code failure;
    std::filesystem::rename(std::filesystem::path(temporary.fileName().toStdWString()),
                            std::filesystem::path(fileName.toStdWString()), failure);
    if (failure) {
        e.reason = tr("无法替换文件（%1）").arg(QString::fromStdString(failure.message()));
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}

bool ProjectFile::load(const QString &fileName, ProjectState *state, Error *error)
{
    Error local;
    Error &e = error ? *error : local;
    e = Error();
    e.fileName = fileName;
    const QFileInfo info(fileName);
    if (!info.exists() && !info.isSymLink()) {
        e.reason = tr("文件不存在");
        return false;
    }
    // Never a pipe or a device (the reader would wait for bytes that may never come); a link is
    // followed to a regular file only.
    const QString path = info.canonicalFilePath();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        e.reason = tr("不是普通文件");
        return false;
    }
    e.reason = headerProblem(path);
    if (!e.reason.isEmpty())
        return false;

    ProjectConnection connection;
    if (!connection.open(path, true, &e.reason))
        return false;
    QSqlDatabase db = connection.db();
    {
        QSqlQuery begin(db);
        // One read transaction: nothing another program writes meanwhile is seen half.
        if (!begin.exec(QStringLiteral("BEGIN")) ||
            !begin.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            e.reason = ProjectConnection::isLocked(begin.lastError())
                           ? tr("文件被另一个程序锁定")
                           : tr("文件已损坏（%1）").arg(begin.lastError().text());
            return false;
        }
    }
    bool ok = false;
    {
        Reader reader(this, db);
        ok = reader.read(state, &e);
    }
    {
        QSqlQuery end(db);
        end.exec(QStringLiteral("COMMIT"));
    }
    return ok;
}
