#pragma once

#include "interfaces/project/projectfile.h"

#include <QSqlDatabase>
#include <QVector>

class QSqlQuery;

// Reads one state from an open file, inside the caller's read transaction, checking every value
// as it goes: nothing is trusted to the schema.
class ProjectFile::Reader
{
public:
    Reader(ProjectFile *owner, QSqlDatabase db) : m_owner(owner), m_db(std::move(db)) {}

    bool read(ProjectState *state, Error *error);

private:
    bool fail(Error *error, int number, const QString &why);
    bool queryFailed(QSqlQuery &query, Error *error, int number = 0);
    bool readEntry(const QSqlQuery &row, ProjectState::Entry *saved, Error *error);
    // The bytes of a blob, after its length was checked against limit.
    bool blob(qlonglong id, qint64 limit, int number, QByteArray *bytes, Error *error);

    ProjectFile *m_owner;
    QSqlDatabase m_db;
    QVector<qlonglong> m_original;
    QVector<qlonglong> m_source;
    QVector<qlonglong> m_recordData;
    QVector<int> m_sourceFormat;
};
