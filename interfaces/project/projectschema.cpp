#include "interfaces/project/projectschema.h"

namespace ProjectSchema {

QStringList createStatements()
{
    QStringList columns;
    for (const EntryColumn &column : EntryColumns)
        columns.append(QLatin1String(column.name) + QLatin1Char(' ') + QLatin1String(column.declaration));
    return {
        QStringLiteral(
            "CREATE TABLE schema_version (id INTEGER PRIMARY KEY CHECK (id = 1), version INTEGER NOT NULL)"),
        QStringLiteral(
            "CREATE TABLE project (id INTEGER PRIMARY KEY CHECK (id = 1), screen_width INTEGER NOT "
            "NULL, screen_height INTEGER NOT NULL, current_tab INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE blob (id INTEGER PRIMARY KEY, sha256 BLOB NOT NULL UNIQUE CHECK "
                       "(length(sha256) = 32), bytes BLOB NOT NULL)"),
        QStringLiteral("CREATE TABLE entry (%1)").arg(columns.join(QStringLiteral(", "))),
    };
}

QString columnList()
{
    QStringList names;
    for (const EntryColumn &column : EntryColumns)
        names.append(QLatin1String(column.name));
    return names.join(QLatin1Char(','));
}

} // namespace ProjectSchema
