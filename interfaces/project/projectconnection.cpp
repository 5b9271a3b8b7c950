#include "interfaces/project/projectconnection.h"

#include "interfaces/project/projectfile.h"

#include <QSqlError>

#include <atomic>

namespace {

QString connectionName()
{
    static std::atomic<quint64> next{0};
    return QStringLiteral("brisklane-project-%1").arg(++next);
}

} // namespace

ProjectConnection::ProjectConnection() : m_name(connectionName()) {}

ProjectConnection::~ProjectConnection()
{
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool ProjectConnection::open(const QString &path, bool readOnly, QString *reason)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    if (!db.isValid()) {
        *reason = ProjectFile::tr("没有可用的 SQLite 驱动（QSQLITE）");
        return false;
    }
    db.setDatabaseName(path);
    // Another program's write lock is waited for a little, not forever.
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=500")
                                  : QStringLiteral("QSQLITE_BUSY_TIMEOUT=500"));
    if (!db.open()) {
        *reason = db.lastError().text();
        return false;
    }
    m_db = db;
    return true;
}

bool ProjectConnection::isLocked(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6") || code.startsWith(QLatin1String("5 ")) ||
           error.text().contains(QLatin1String("locked"));
}
