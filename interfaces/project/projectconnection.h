#pragma once

#include <QSqlDatabase>
#include <QString>

class QSqlError;

// A connection to a project file, under a name of its own so that saves and loads on several
// threads never share one; it is closed and removed when it goes, and every query on it must be
// gone by then.
class ProjectConnection
{
public:
    ProjectConnection();
    ~ProjectConnection();
    ProjectConnection(const ProjectConnection &) = delete;
    ProjectConnection &operator=(const ProjectConnection &) = delete;

    bool open(const QString &path, bool readOnly, QString *reason);
    QSqlDatabase &db() { return m_db; }

    // SQLite's result codes that say another connection holds the file.
    static bool isLocked(const QSqlError &error);

private:
    QString m_name;
    QSqlDatabase m_db;
};
