#include "interfaces/project/projectfilewriter.h"

#include "interfaces/project/projectconnection.h"
#include "interfaces/project/projectfile_codec.h"
#include "interfaces/project/projectschema.h"

#include <QSqlError>
#include <QSqlQuery>

#include <map>

using namespace ProjectFileCodec;
using namespace ProjectSchema;

namespace {

qlonglong boolValue(bool on)
{
    return on ? 1 : 0;
}

// Two values of a column alike: NULL only equals NULL.
bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() &&
               (a.type() == QVariant::ByteArray) == (b.type() == QVariant::ByteArray);
    if (a.type() == QVariant::ByteArray || b.type() == QVariant::ByteArray)
        return a.type() == b.type() && a.toByteArray() == b.toByteArray();
    if (a.type() == QVariant::String || b.type() == QVariant::String)
        return a.type() == b.type() && a.toString() == b.toString();
    return a.toLongLong() == b.toLongLong();
}

} // namespace

bool ProjectFile::Writer::write(const QString &path, bool fresh, Error *error)
{
    ProjectConnection connection;
    if (!connection.open(path, false, &error->reason))
        return false;
    m_db = connection.db();
    {
        QSqlQuery pragma(m_db);
        // Outside any transaction: SQLite ignores the switch inside one.
        if (!pragma.exec(QStringLiteral("PRAGMA foreign_keys=ON")))
            return exec(pragma, error);
        // Large pages: a picture takes few of them, and a whole-file check reads few.
        if (fresh && !pragma.exec(QStringLiteral("PRAGMA page_size=65536")))
            return exec(pragma, error);
    }
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"), error))
        return false;
    bool ok = writeTables(fresh, error);
    if (ok)
        ok = exec(QStringLiteral("COMMIT"), error);
    if (!ok) {
        Error ignored;
        exec(QStringLiteral("ROLLBACK"), &ignored);
    }
    m_db = QSqlDatabase();
    return ok;
}

bool ProjectFile::Writer::writeTables(bool fresh, Error *error)
{
    if (fresh) {
        for (const QString &statement : createStatements()) {
            if (!exec(statement, error))
                return false;
        }
        QSqlQuery version(m_db);
        version.prepare(QStringLiteral("INSERT INTO schema_version (id, version) VALUES (1, ?)"));
        version.addBindValue(SchemaVersion);
        if (!exec(version, error))
            return false;
    }
    {
        QSqlQuery blobs(m_db);
        blobs.setForwardOnly(true);
        if (!blobs.exec(QStringLiteral("SELECT id, sha256 FROM blob")))
            return exec(blobs, error);
        while (blobs.next())
            m_blobs.insert(blobs.value(1).toByteArray(), blobs.value(0).toLongLong());
    }

    // The rows as they are, to write only those that change.
    std::map<qlonglong, QVariantList> stored;
    {
        QSqlQuery rows(m_db);
        rows.setForwardOnly(true);
        if (!rows.exec(QStringLiteral("SELECT %1 FROM entry").arg(columnList())))
            return exec(rows, error);
        while (rows.next()) {
            QVariantList row;
            for (int c = 0; c < EntryColumnCount; ++c)
                row.append(rows.value(c));
            stored[row[CTab].toLongLong()] = row;
        }
    }

    std::map<qlonglong, QVariantList> wanted;
    for (int tab = 0; tab < m_state.entries.size(); ++tab) {
        const ProjectState::Entry &saved = m_state.entries[tab];
        const OsdEntry &e = saved.entry;
        QVariant original(QVariant::LongLong), source(QVariant::LongLong), recordData(QVariant::LongLong);
        qlonglong id = 0;
        if (!e.original.isEmpty()) {
            const QByteArray hash = m_owner->hashOf(e.original);
            if (!blobId(
                    hash, [&e] { return e.original; }, &id, error))
                return false;
            original = id;
        } else if (!e.source.isNull()) {
            const QByteArray known = m_owner->pixelsHashOf(e.source, nullptr);
            if (!blobId(
                    known,
                    [this, &e] {
                        QByteArray bytes;
                        m_owner->pixelsHashOf(e.source, &bytes);
                        return bytes;
                    },
                    &id, error))
                return false;
            source = id;
        }
        if (!saved.recordData.isNull()) {
            const QByteArray hash = m_owner->hashOf(saved.recordData);
            if (!blobId(
                    hash, [&saved] { return saved.recordData; }, &id, error))
                return false;
            recordData = id;
        }
        wanted[tab] = rowOf(tab, saved, original, source, recordData);
    }

    // Rows that go or change are deleted first, so that an id moving to another tab never meets
    // itself.
    QList<qlonglong> changed;
    for (const auto &row : stored) {
        const auto now = wanted.find(row.first);
        bool same = now != wanted.end();
        for (int c = 0; same && c < EntryColumnCount; ++c)
            same = sameValue(row.second[c], now->second[c]);
        if (!same) {
            QSqlQuery remove(m_db);
            remove.prepare(QStringLiteral("DELETE FROM entry WHERE tab = ?"));
            remove.addBindValue(row.first);
            if (!exec(remove, error))
                return false;
            if (now != wanted.end())
                changed.append(row.first);
        }
    }
    for (const auto &row : wanted) {
        if (stored.count(row.first) && !changed.contains(row.first))
            continue;
        QSqlQuery insert(m_db);
        QStringList marks;
        for (int c = 0; c < EntryColumnCount; ++c)
            marks.append(QStringLiteral("?"));
        insert.prepare(QStringLiteral("INSERT INTO entry (%1) VALUES (%2)")
                           .arg(columnList(), marks.join(QLatin1Char(','))));
        for (const QVariant &value : row.second)
            insert.addBindValue(value);
        if (!exec(insert, error, m_state.entries[int(row.first)].entry.number))
            return false;
        ++m_owner->m_lastSave.entriesWritten;
    }

    QSqlQuery project(m_db);
    project.prepare(QStringLiteral("SELECT screen_width, screen_height, current_tab FROM project"));
    if (!exec(project, error))
        return false;
    const bool same = project.next() && project.value(0).toLongLong() == m_state.screen.width() &&
                      project.value(1).toLongLong() == m_state.screen.height() &&
                      project.value(2).toLongLong() == m_state.current;
    project.finish();
    if (!same) {
        QSqlQuery replace(m_db);
        replace.prepare(QStringLiteral("INSERT OR REPLACE INTO project (id, screen_width, screen_height, "
                                       "current_tab) VALUES (1, ?, ?, ?)"));
        replace.addBindValue(m_state.screen.width());
        replace.addBindValue(m_state.screen.height());
        replace.addBindValue(m_state.current);
        if (!exec(replace, error))
            return false;
    }
    // Pictures no entry refers to any more.
    return exec(QStringLiteral("DELETE FROM blob WHERE id NOT IN (SELECT original FROM entry WHERE original "
                               "IS NOT NULL UNION SELECT source FROM entry WHERE source IS NOT NULL UNION "
                               "SELECT record_data FROM entry WHERE record_data IS NOT NULL)"),
                error);
}

bool ProjectFile::Writer::exec(QSqlQuery &query, Error *error, int entryNumber)
{
    if (query.exec())
        return true;
    error->entryNumber = entryNumber;
    error->reason = ProjectConnection::isLocked(query.lastError())
                        ? tr("文件被另一个程序锁定")
                        : tr("写入失败（%1）").arg(query.lastError().text());
    return false;
}

bool ProjectFile::Writer::exec(const QString &statement, Error *error)
{
    QSqlQuery query(m_db);
    query.prepare(statement);
    return exec(query, error);
}

bool ProjectFile::Writer::blobId(const QByteArray &hash, const std::function<QByteArray()> &bytes,
                                 qlonglong *id, Error *error)
{
    const auto found = m_blobs.constFind(hash);
    if (found != m_blobs.constEnd()) {
        *id = *found;
        return true;
    }
    const QByteArray data = bytes();
    QSqlQuery insert(m_db);
    insert.prepare(QStringLiteral("INSERT INTO blob (sha256, bytes) VALUES (?, ?)"));
    insert.addBindValue(hash);
    // A zero-length array must still be a blob, not NULL.
    insert.addBindValue(data.isNull() ? QByteArray("") : data);
    if (!exec(insert, error))
        return false;
    *id = insert.lastInsertId().toLongLong();
    m_blobs.insert(hash, *id);
    ++m_owner->m_lastSave.blobsWritten;
    m_owner->m_lastSave.blobBytesWritten += data.size();
    return true;
}

QVariantList ProjectFile::Writer::rowOf(int tab, const ProjectState::Entry &saved, const QVariant &original,
                                        const QVariant &source, const QVariant &recordData) const
{
    const OsdEntry &e = saved.entry;
    const EntryOutput &o = saved.output;
    const EntryOutput::Record &r = o.record;
    QVariantList row;
    row.reserve(EntryColumnCount);
    for (int c = 0; c < EntryColumnCount; ++c)
        row.append(QVariant());
    row[CTab] = qlonglong(tab);
    row[CId] = qlonglong(e.id);
    row[CNumber] = qlonglong(e.number);
    row[CKind] = qlonglong(int(e.kind));
    row[CHasOriginal] = boolValue(e.hasOriginal);
    row[COriginal] = original;
    row[CSource] = source;
    row[CSourceFormat] =
        source.isNull() ? QVariant(QVariant::LongLong) : QVariant(qlonglong(e.source.format()));
    row[CRecordData] = recordData;
    // An empty text is stored as an empty string, never NULL.
    row[CTextContent] = e.text.content.isNull() ? QString(QLatin1String("")) : e.text.content;
    row[CTextFont] = fontBytes(e.text.font);
    row[CTextColour] = colourBytes(e.text.colour);
    row[CKeyEnabled] = boolValue(e.key.enabled);
    row[CKeyBegin] = colourBytes(e.key.begin);
    row[CKeyEnd] = colourBytes(e.key.end);
    row[CKeyFill] = colourBytes(e.key.fill);
    row[CKeyPicked] = colourBytes(e.key.picked);
    row[CX] = qlonglong(e.position.x());
    row[CY] = qlonglong(e.position.y());
    row[CCutLeft] = qlonglong(e.cut.left());
    row[CCutTop] = qlonglong(e.cut.top());
    row[CCutRight] = qlonglong(e.cut.right());
    row[CCutBottom] = qlonglong(e.cut.bottom());
    row[CCutView] = boolValue(e.cutView);
    row[CKeyed] = boolValue(o.keyed);
    row[CKeyFlag] = boolValue(o.keyFlag);
    row[CKeyedBegin] = colourBytes(o.keyBegin);
    row[CKeyedEnd] = colourBytes(o.keyEnd);
    row[CKeyedFill] = colourBytes(o.keyFill);
    row[CHasRecord] = boolValue(o.hasRecord);
    row[CRecordWidth] = qlonglong(r.size.width());
    row[CRecordHeight] = qlonglong(r.size.height());
    row[CCompletionWidth] = qlonglong(r.completionWidth);
    row[CFileLength] = qlonglong(r.fileLength);
    row[CRecordX] = qlonglong(r.location.x());
    row[CRecordY] = qlonglong(r.location.y());
    row[CRecordCutLeft] = qlonglong(r.cut.left());
    row[CRecordCutTop] = qlonglong(r.cut.top());
    row[CRecordCutRight] = qlonglong(r.cut.right());
    row[CRecordCutBottom] = qlonglong(r.cut.bottom());
    row[CCutEnabled] = boolValue(r.cutEnabled);
    row[CCutAllowed] = boolValue(r.cutAllowed);
    row[CAvailable] = boolValue(r.available);
    row[CRed] = qlonglong(r.red);
    row[CGreen] = qlonglong(r.green);
    row[CBlue] = qlonglong(r.blue);
    row[CRecordFill] = colourBytes(r.fill);
    row[CFillOn] = boolValue(r.fillOn);
    // Every column is given, NULL ones as typed NULLs.
    for (const QVariant &value : qAsConst(row))
        Q_ASSERT(value.isValid());
    return row;
}
