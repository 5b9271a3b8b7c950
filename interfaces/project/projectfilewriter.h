#pragma once

#include "interfaces/project/projectfile.h"

#include <QSqlDatabase>
#include <QVariant>

#include <functional>

class QSqlQuery;

// Writes one state into one file in one transaction: the tables of a new file, or only what
// changed in a file of this version.
class ProjectFile::Writer
{
public:
    Writer(ProjectFile *owner, const ProjectState &state) : m_owner(owner), m_state(state) {}

    bool write(const QString &path, bool fresh, Error *error);

private:
    bool writeTables(bool fresh, Error *error);
    bool exec(QSqlQuery &query, Error *error, int entryNumber = 0);
    bool exec(const QString &statement, Error *error);
    // The blob id of bytes, inserting them when the file does not have them yet.
    bool blobId(const QByteArray &hash, const std::function<QByteArray()> &bytes, qlonglong *id,
                Error *error);
    QVariantList rowOf(int tab, const ProjectState::Entry &saved, const QVariant &original,
                       const QVariant &source, const QVariant &recordData) const;

    ProjectFile *m_owner;
    const ProjectState &m_state;
    QSqlDatabase m_db;
    QHash<QByteArray, qlonglong> m_blobs;
};
