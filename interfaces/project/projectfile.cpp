#include "interfaces/project/projectfile.h"

#include "core/files/safefile.h"
#include "core/geometry/outputscreen.h"
#include "core/pixels/pictureloader.h"
#include "core/pixels/rasterform.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfile_codec.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFuture>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryFile>
#include <QVariant>
#include <QtConcurrent>
#include <QtEndian>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>

Q_LOGGING_CATEGORY(lcProject, "brisklane.project", QtInfoMsg)

namespace {

using namespace OsdFileCodec;

// Every connection has a name of its own, so that saves and loads on several threads never share
// one.
QString connectionName()
{
    static std::atomic<quint64> next{0};
    return QStringLiteral("brisklane-project-%1").arg(++next);
}

// A connection that is closed and removed when it goes; every query on it must be gone by then.
class Connection
{
public:
    Connection() : m_name(connectionName()) {}
    ~Connection()
    {
        if (m_db.isValid())
            m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool open(const QString &path, bool readOnly, QString *reason)
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
    QSqlDatabase &db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

// SQLite's result codes that say another connection holds the file.
bool isLocked(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6") || code.startsWith(QLatin1String("5 ")) ||
           error.text().contains(QLatin1String("locked"));
}

// The schema of version 1; docs/project-file.md describes every column.
const char *const Schema[] = {
    "CREATE TABLE schema_version (id INTEGER PRIMARY KEY CHECK (id = 1), version INTEGER NOT NULL)",
    "CREATE TABLE project (id INTEGER PRIMARY KEY CHECK (id = 1), screen_width INTEGER NOT NULL, "
    "screen_height INTEGER NOT NULL, current_tab INTEGER NOT NULL)",
    "CREATE TABLE blob (id INTEGER PRIMARY KEY, sha256 BLOB NOT NULL UNIQUE CHECK (length(sha256) = 32), "
    "bytes BLOB NOT NULL)",
    "CREATE TABLE entry (tab INTEGER PRIMARY KEY CHECK (tab >= 0), id INTEGER NOT NULL UNIQUE CHECK (id > "
    "0), "
    "number INTEGER NOT NULL CHECK (number > 0), kind INTEGER NOT NULL CHECK (kind BETWEEN 0 AND 2), "
    "has_original INTEGER NOT NULL, original INTEGER REFERENCES blob(id), "
    "source INTEGER REFERENCES blob(id), source_format INTEGER, "
    "record_data INTEGER REFERENCES blob(id), "
    "text_content TEXT NOT NULL, text_font BLOB NOT NULL, text_colour BLOB NOT NULL, "
    "key_enabled INTEGER NOT NULL, key_begin BLOB NOT NULL, key_end BLOB NOT NULL, key_fill BLOB NOT NULL, "
    "key_picked BLOB NOT NULL, x INTEGER NOT NULL, y INTEGER NOT NULL, "
    "cut_left INTEGER NOT NULL, cut_top INTEGER NOT NULL, cut_right INTEGER NOT NULL, "
    "cut_bottom INTEGER NOT NULL, cut_view INTEGER NOT NULL, "
    "keyed INTEGER NOT NULL, key_flag INTEGER NOT NULL, keyed_begin BLOB NOT NULL, keyed_end BLOB NOT NULL, "
    "keyed_fill BLOB NOT NULL, has_record INTEGER NOT NULL, "
    "record_width INTEGER NOT NULL, record_height INTEGER NOT NULL, completion_width INTEGER NOT NULL, "
    "file_length INTEGER NOT NULL, record_x INTEGER NOT NULL, record_y INTEGER NOT NULL, "
    "record_cut_left INTEGER NOT NULL, record_cut_top INTEGER NOT NULL, record_cut_right INTEGER NOT NULL, "
    "record_cut_bottom INTEGER NOT NULL, cut_enabled INTEGER NOT NULL, cut_allowed INTEGER NOT NULL, "
    "available INTEGER NOT NULL, red INTEGER NOT NULL, green INTEGER NOT NULL, blue INTEGER NOT NULL, "
    "record_fill BLOB NOT NULL, fill_on INTEGER NOT NULL)",
};

// The entry table's columns in the order rows are written and read.
const char *const EntryColumns[] = {
    "tab",
    "id",
    "number",
    "kind",
    "has_original",
    "original",
    "source",
    "source_format",
    "record_data",
    "text_content",
    "text_font",
    "text_colour",
    "key_enabled",
    "key_begin",
    "key_end",
    "key_fill",
    "key_picked",
    "x",
    "y",
    "cut_left",
    "cut_top",
    "cut_right",
    "cut_bottom",
    "cut_view",
    "keyed",
    "key_flag",
    "keyed_begin",
    "keyed_end",
    "keyed_fill",
    "has_record",
    "record_width",
    "record_height",
    "completion_width",
    "file_length",
    "record_x",
    "record_y",
    "record_cut_left",
    "record_cut_top",
    "record_cut_right",
    "record_cut_bottom",
    "cut_enabled",
    "cut_allowed",
    "available",
    "red",
    "green",
    "blue",
    "record_fill",
    "fill_on",
};
constexpr int EntryColumnCount = int(sizeof(EntryColumns) / sizeof(EntryColumns[0]));

enum Column
{
    CTab,
    CId,
    CNumber,
    CKind,
    CHasOriginal,
    COriginal,
    CSource,
    CSourceFormat,
    CRecordData,
    CTextContent,
    CTextFont,
    CTextColour,
    CKeyEnabled,
    CKeyBegin,
    CKeyEnd,
    CKeyFill,
    CKeyPicked,
    CX,
    CY,
    CCutLeft,
    CCutTop,
    CCutRight,
    CCutBottom,
    CCutView,
    CKeyed,
    CKeyFlag,
    CKeyedBegin,
    CKeyedEnd,
    CKeyedFill,
    CHasRecord,
    CRecordWidth,
    CRecordHeight,
    CCompletionWidth,
    CFileLength,
    CRecordX,
    CRecordY,
    CRecordCutLeft,
    CRecordCutTop,
    CRecordCutRight,
    CRecordCutBottom,
    CCutEnabled,
    CCutAllowed,
    CAvailable,
    CRed,
    CGreen,
    CBlue,
    CRecordFill,
    CFillOn
};

QString columnList()
{
    QStringList names;
    for (const char *name : EntryColumns)
        names.append(QLatin1String(name));
    return names.join(QLatin1Char(','));
}

// A colour as the OSD file stores it: spec, alpha and four components, 11 bytes little-endian.
QByteArray colourBytes(const QColor &colour)
{
    const RawColor raw = rawColor(colour);
    QByteArray bytes(ColorSize, Qt::Uninitialized);
    auto *p = reinterpret_cast<uchar *>(bytes.data());
    p[0] = raw.spec;
    for (int i = 0; i < 5; ++i)
        qToLittleEndian<quint16>(raw.value[i], p + 1 + 2 * i);
    return bytes;
}

bool colourFromBytes(const QByteArray &bytes, QColor *colour)
{
    if (bytes.size() != ColorSize)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    RawColor raw;
    raw.spec = p[0];
    for (int i = 0; i < 5; ++i)
        raw.value[i] = qFromLittleEndian<quint16>(p + 1 + 2 * i);
    if (!validRawColor(raw))
        return false;
    *colour = colorFromRaw(raw);
    return true;
}

// A font in the layout of the OSD file's font field (docs/osd-file-format.md), so that it comes
// back equal.
QByteArray fontBytes(const QFont &font)
{
    const FontFields f = fontFields(font);
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
    auto string = [&s](const QString &text) {
        const QByteArray utf8 = text.toUtf8();
        s << quint32(utf8.size());
        s.writeRawData(utf8.constData(), utf8.size());
    };
    s << f.resolveMask;
    string(f.family);
    string(f.styleName);
    s << quint32(f.families.size());
    for (const QString &family : f.families)
        string(family);
    s << f.pointSize << f.pixelSize << f.weight << f.style << f.styleHint << f.styleStrategy << f.stretch
      << f.capitalization << f.letterSpacingType << f.letterSpacing << f.wordSpacing << f.hintingPreference
      << f.flags;
    return bytes;
}

bool fontFromBytes(const QByteArray &bytes, QFont *font)
{
    QDataStream s(bytes);
    s.setByteOrder(QDataStream::LittleEndian);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
    bool ok = true;
    auto string = [&]() {
        quint32 size = 0;
        s >> size;
        const qint64 left = bytes.size() - s.device()->pos();
        if (s.status() != QDataStream::Ok || size > OsdFile::MaxTextSize || qint64(size) > left) {
            ok = false;
            return QString();
        }
        QByteArray utf8(int(size), Qt::Uninitialized);
        s.readRawData(utf8.data(), int(size));
        if (!isValidUtf8(utf8.constData(), utf8.size()))
            ok = false;
        return QString::fromUtf8(utf8);
    };
    FontFields f;
    s >> f.resolveMask;
    f.family = string();
    f.styleName = string();
    quint32 count = 0;
    s >> count;
    // Each name takes at least its length field.
    if (!ok || qint64(count) * 4 > bytes.size())
        return false;
    for (quint32 i = 0; i < count && ok; ++i)
        f.families.append(string());
    s >> f.pointSize >> f.pixelSize >> f.weight >> f.style >> f.styleHint >> f.styleStrategy >> f.stretch >>
        f.capitalization >> f.letterSpacingType >> f.letterSpacing >> f.wordSpacing >> f.hintingPreference >>
        f.flags;
    if (!ok || s.status() != QDataStream::Ok || !s.atEnd() || fontFieldsProblem(f).isError())
        return false;
    *font = fontFromFields(f);
    return true;
}

// Pictures without an original are kept as PNG files of their exact bytes: a picture of 32 bits per
// pixel as an RGBA picture of the same bytes, whatever its own format says about them (RGB32's
// unused byte, premultiplied colours), and one of 24 bits (an imported record's three-byte picture)
// as an RGB picture of the same bytes, so the format and every byte come back.
bool storablePixels(const QImage &image)
{
    return !image.isNull() && (image.depth() == 32 || image.depth() == 24) &&
           image.width() <= PictureLoader::MaxSide && image.height() <= PictureLoader::MaxSide &&
           qint64(image.width()) * image.height() <= PictureLoader::MaxPixels;
}

QByteArray pixelsBytes(const QImage &image)
{
    const QImage relabelled(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                            image.depth() == 24 ? QImage::Format_RGB888 : QImage::Format_ARGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Fast deflate: these are rendered texts and imported records, rarely large.
    writer.setQuality(80);
    writer.write(relabelled);
    return bytes;
}

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

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

// The header of an SQLite database (the first 100 bytes): why the file is not one, or is cut short.
QString headerProblem(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ProjectFile::tr("无法打开文件（%1）").arg(file.errorString());
    const qint64 size = file.size();
    const QByteArray header = file.read(100);
    static const char magic[] = "SQLite format 3";
    if (header.size() < 16 || std::memcmp(header.constData(), magic, 16) != 0)
        return ProjectFile::tr("不是项目文件（不是 SQLite 数据库）");
    if (header.size() < 100)
        return ProjectFile::tr("文件已截断（只有 %1 字节）").arg(size);
    const auto *p = reinterpret_cast<const uchar *>(header.constData());
    const quint32 pageField = qFromBigEndian<quint16>(p + 16);
    const qint64 pageSize = pageField == 1 ? 65536 : pageField;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return ProjectFile::tr("文件已损坏（页大小 %1 无效）").arg(pageSize);
    // The page count in the header is valid while the change counter matches its copy.
    const quint32 pages = qFromBigEndian<quint32>(p + 28);
    const bool countValid = qFromBigEndian<quint32>(p + 24) == qFromBigEndian<quint32>(p + 92) && pages > 0;
    if (size % pageSize != 0 || (countValid && size < qint64(pages) * pageSize))
        return ProjectFile::tr("文件已截断（%1 字节，应为 %2 字节）")
            .arg(size)
            .arg(countValid ? qint64(pages) * pageSize : (size / pageSize + 1) * pageSize);
    return QString();
}

} // namespace

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
    const QByteArray hash = sha256(bytes);
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
    const QByteArray bytes = pixelsBytes(image);
    const QByteArray hash = sha256(bytes);
    m_knownPixels.insert(image.cacheKey(), hash);
    if (encoded)
        *encoded = bytes;
    return hash;
}

// ---------------------------------------------------------------------------------------------
// Saving

class ProjectFile::Writer
{
public:
    Writer(ProjectFile *owner, const ProjectState &state) : m_owner(owner), m_state(state) {}

    // Why the state cannot be stored, naming the entry; empty when it can.
    bool check(Error *error) const;
    bool write(const QString &path, bool fresh, Error *error);

private:
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

bool ProjectFile::Writer::check(Error *error) const
{
    auto fail = [error](int number, const QString &why) {
        error->entryNumber = number;
        error->reason = why;
        return false;
    };
    if (m_state.entries.size() > MaxEntries)
        return fail(0, tr("%1 个条目，超过上限 %2").arg(m_state.entries.size()).arg(MaxEntries));
    if (!OutputScreen::isValidSize(m_state.screen))
        return fail(0,
                    tr("输出屏幕尺寸 %1×%2 无效").arg(m_state.screen.width()).arg(m_state.screen.height()));
    if (m_state.current < 0 || m_state.current >= qMax(1, m_state.entries.size()))
        return fail(0, tr("当前标签 %1 无效").arg(m_state.current));
    QSet<int> ids;
    QSet<int> numbers;
    for (const ProjectState::Entry &saved : m_state.entries) {
        const OsdEntry &e = saved.entry;
        if (e.id <= 0 || ids.contains(e.id))
            return fail(e.number, tr("条目编号 %1 无效或重复").arg(e.id));
        if (e.number <= 0 || numbers.contains(e.number))
            return fail(e.number, tr("名称编号 %1 无效或重复").arg(e.number));
        ids.insert(e.id);
        numbers.insert(e.number);
        if (e.original.size() > PictureLoader::MaxFileSize)
            return fail(e.number, tr("图片文件过大（%1 字节，上限 %2 字节）")
                                      .arg(e.original.size())
                                      .arg(PictureLoader::MaxFileSize));
        if (e.original.isEmpty() && !e.source.isNull() && !storablePixels(e.source))
            return fail(e.number, tr("图片格式或尺寸无法保存（%1×%2，每像素 %3 位）")
                                      .arg(e.source.width())
                                      .arg(e.source.height())
                                      .arg(e.source.depth()));
        if (e.text.content.toUtf8().size() > OsdFile::MaxTextSize)
            return fail(e.number, tr("文字内容过长（超过 %1 字节）").arg(OsdFile::MaxTextSize));
        const FontFields font = fontFields(e.text.font);
        if (fontFieldsProblem(font).isError())
            return fail(e.number, tr("字体无法保存"));
        const QColor colours[] = {e.text.colour,       e.key.begin,          e.key.end,
                                  e.key.fill,          e.key.picked,         saved.output.keyBegin,
                                  saved.output.keyEnd, saved.output.keyFill, saved.output.record.fill};
        for (const QColor &colour : colours) {
            if (!validRawColor(rawColor(colour)))
                return fail(e.number, tr("颜色无法保存"));
        }
    }
    return true;
}

bool ProjectFile::Writer::exec(QSqlQuery &query, Error *error, int entryNumber)
{
    if (query.exec())
        return true;
    error->entryNumber = entryNumber;
    error->reason = isLocked(query.lastError()) ? tr("文件被另一个程序锁定")
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
    row << qlonglong(tab) << qlonglong(e.id) << qlonglong(e.number) << qlonglong(int(e.kind))
        << boolValue(e.hasOriginal) << original << source
        << (source.isNull() ? QVariant(QVariant::LongLong) : QVariant(qlonglong(e.source.format())))
        << recordData << e.text.content << fontBytes(e.text.font) << colourBytes(e.text.colour)
        << boolValue(e.key.enabled) << colourBytes(e.key.begin) << colourBytes(e.key.end)
        << colourBytes(e.key.fill) << colourBytes(e.key.picked) << qlonglong(e.position.x())
        << qlonglong(e.position.y()) << qlonglong(e.cut.left()) << qlonglong(e.cut.top())
        << qlonglong(e.cut.right()) << qlonglong(e.cut.bottom()) << boolValue(e.cutView) << boolValue(o.keyed)
        << boolValue(o.keyFlag) << colourBytes(o.keyBegin) << colourBytes(o.keyEnd) << colourBytes(o.keyFill)
        << boolValue(o.hasRecord) << qlonglong(r.size.width()) << qlonglong(r.size.height())
        << qlonglong(r.completionWidth) << qlonglong(r.fileLength) << qlonglong(r.location.x())
        << qlonglong(r.location.y()) << qlonglong(r.cut.left()) << qlonglong(r.cut.top())
        << qlonglong(r.cut.right()) << qlonglong(r.cut.bottom()) << boolValue(r.cutEnabled)
        << boolValue(r.cutAllowed) << boolValue(r.available) << qlonglong(r.red) << qlonglong(r.green)
        << qlonglong(r.blue) << colourBytes(r.fill) << boolValue(r.fillOn);
    // An empty text is stored as an empty string, never NULL.
    if (row[CTextContent].toString().isNull())
        row[CTextContent] = QString(QLatin1String(""));
    return row;
}

bool ProjectFile::Writer::write(const QString &path, bool fresh, Error *error)
{
    Connection connection;
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
    bool ok = [&] {
        if (fresh) {
            for (const char *statement : Schema) {
                if (!exec(QLatin1String(statement), error))
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
        return exec(
            QStringLiteral("DELETE FROM blob WHERE id NOT IN (SELECT original FROM entry WHERE original "
                           "IS NOT NULL UNION SELECT source FROM entry WHERE source IS NOT NULL UNION "
                           "SELECT record_data FROM entry WHERE record_data IS NOT NULL)"),
            error);
    }();
    if (ok)
        ok = exec(QStringLiteral("COMMIT"), error);
    if (!ok) {
        Error ignored;
        exec(QStringLiteral("ROLLBACK"), &ignored);
    }
    m_db = QSqlDatabase();
    return ok;
}

bool ProjectFile::save(const QString &fileName, const ProjectState &state, Error *error)
{
    Error local;
    Error &e = error ? *error : local;
    e = Error();
    e.fileName = fileName;
    m_lastSave = SaveStats();

    Writer checker(this, state);
    if (!checker.check(&e))
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
            Connection connection;
            QString ignored;
            if (connection.open(fileName, true, &ignored)) {
                QSqlQuery query(connection.db());
                if (query.exec(QStringLiteral("SELECT version FROM schema_version")) && query.next())
                    version = query.value(0).toInt();
                locked = isLocked(query.lastError());
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

// ---------------------------------------------------------------------------------------------
// Loading

class ProjectFile::Reader
{
public:
    Reader(ProjectFile *owner, QSqlDatabase db) : m_owner(owner), m_db(std::move(db)) {}

    bool read(ProjectState *state, Error *error);

private:
    bool fail(Error *error, int number, const QString &why)
    {
        error->entryNumber = number;
        error->reason = why;
        return false;
    }
    bool queryFailed(QSqlQuery &query, Error *error, int number = 0)
    {
        return fail(error, number,
                    isLocked(query.lastError()) ? tr("文件被另一个程序锁定")
                                                : tr("文件已损坏（%1）").arg(query.lastError().text()));
    }
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

namespace {

bool integer(const QVariant &v, qint64 low, qint64 high, qint64 *out)
{
    if (v.type() != QVariant::LongLong && v.type() != QVariant::Int)
        return false;
    const qint64 value = v.toLongLong();
    if (value < low || value > high)
        return false;
    *out = value;
    return true;
}

} // namespace

bool ProjectFile::Reader::readEntry(const QSqlQuery &row, ProjectState::Entry *saved, Error *error)
{
    OsdEntry &e = saved->entry;
    EntryOutput &o = saved->output;
    qint64 v[EntryColumnCount] = {};
    const qint64 intMin = std::numeric_limits<int>::min();
    const qint64 intMax = std::numeric_limits<int>::max();
    qint64 number = 0;
    integer(row.value(CNumber), 1, intMax, &number);
    const int title = int(number);
    auto bad = [&](const char *column) {
        return fail(error, title, tr("字段 %1 无效").arg(QLatin1String(column)));
    };
    static const int ints[] = {CId,
                               CNumber,
                               CKind,
                               CHasOriginal,
                               CKeyEnabled,
                               CX,
                               CY,
                               CCutLeft,
                               CCutTop,
                               CCutRight,
                               CCutBottom,
                               CCutView,
                               CKeyed,
                               CKeyFlag,
                               CHasRecord,
                               CRecordWidth,
                               CRecordHeight,
                               CCompletionWidth,
                               CFileLength,
                               CRecordX,
                               CRecordY,
                               CRecordCutLeft,
                               CRecordCutTop,
                               CRecordCutRight,
                               CRecordCutBottom,
                               CCutEnabled,
                               CCutAllowed,
                               CAvailable,
                               CRed,
                               CGreen,
                               CBlue,
                               CFillOn};
    static const int flags[] = {CHasOriginal, CKeyEnabled, CCutView,    CKeyed,     CKeyFlag,
                                CHasRecord,   CCutEnabled, CCutAllowed, CAvailable, CFillOn};
    for (int c : ints) {
        if (!integer(row.value(c), intMin, intMax, &v[c]))
            return bad(EntryColumns[c]);
    }
    for (int c : flags) {
        if (v[c] != 0 && v[c] != 1)
            return bad(EntryColumns[c]);
    }
    if (v[CId] <= 0)
        return bad("id");
    if (v[CNumber] <= 0)
        return bad("number");
    if (v[CKind] < 0 || v[CKind] > 2)
        return bad("kind");
    for (int c : {CRed, CGreen, CBlue}) {
        if (!validKeyValue(v[c]))
            return bad(EntryColumns[c]);
    }
    for (int c : {CRecordWidth, CRecordHeight}) {
        if (!validDimension(v[c], true))
            return bad(EntryColumns[c]);
    }
    if (!validDimension(v[CCompletionWidth], false))
        return bad("completion_width");

    e.id = int(v[CId]);
    e.number = int(v[CNumber]);
    e.kind = OsdEntry::Kind(v[CKind]);
    e.hasOriginal = v[CHasOriginal] != 0;
    e.key.enabled = v[CKeyEnabled] != 0;
    e.position = QPoint(int(v[CX]), int(v[CY]));
    e.cut = QRect(QPoint(int(v[CCutLeft]), int(v[CCutTop])), QPoint(int(v[CCutRight]), int(v[CCutBottom])));
    e.cutView = v[CCutView] != 0;
    o.keyed = v[CKeyed] != 0;
    o.keyFlag = v[CKeyFlag] != 0;
    o.hasRecord = v[CHasRecord] != 0;
    EntryOutput::Record &r = o.record;
    r.size = QSize(int(v[CRecordWidth]), int(v[CRecordHeight]));
    r.completionWidth = int(v[CCompletionWidth]);
    r.fileLength = int(v[CFileLength]);
    r.location = QPoint(int(v[CRecordX]), int(v[CRecordY]));
    r.cut = QRect(QPoint(int(v[CRecordCutLeft]), int(v[CRecordCutTop])),
                  QPoint(int(v[CRecordCutRight]), int(v[CRecordCutBottom])));
    r.cutEnabled = v[CCutEnabled] != 0;
    r.cutAllowed = v[CCutAllowed] != 0;
    r.available = v[CAvailable] != 0;
    r.red = int(v[CRed]);
    r.green = int(v[CGreen]);
    r.blue = int(v[CBlue]);
    r.fillOn = v[CFillOn] != 0;

    const std::pair<int, QColor *> colours[] = {
        {CTextColour, &e.text.colour}, {CKeyBegin, &e.key.begin},   {CKeyEnd, &e.key.end},
        {CKeyFill, &e.key.fill},       {CKeyPicked, &e.key.picked}, {CKeyedBegin, &o.keyBegin},
        {CKeyedEnd, &o.keyEnd},        {CKeyedFill, &o.keyFill},    {CRecordFill, &r.fill}};
    for (const auto &colour : colours) {
        const QVariant value = row.value(colour.first);
        if (value.type() != QVariant::ByteArray || !colourFromBytes(value.toByteArray(), colour.second))
            return bad(EntryColumns[colour.first]);
    }
    const QVariant content = row.value(CTextContent);
    if (content.type() != QVariant::String)
        return bad("text_content");
    e.text.content = content.toString();
    const QVariant font = row.value(CTextFont);
    if (font.type() != QVariant::ByteArray || !fontFromBytes(font.toByteArray(), &e.text.font))
        return bad("text_font");

    // The pictures: references into the blob table, read afterwards.
    qint64 ref[3] = {0, 0, 0};
    const int refs[] = {COriginal, CSource, CRecordData};
    for (int i = 0; i < 3; ++i) {
        const QVariant value = row.value(refs[i]);
        if (!value.isNull() && !integer(value, 1, std::numeric_limits<qint64>::max(), &ref[i]))
            return bad(EntryColumns[refs[i]]);
    }
    qint64 format = 0;
    if (ref[1] && !integer(row.value(CSourceFormat), 1, QImage::NImageFormats - 1, &format))
        return bad("source_format");
    if (ref[0] && ref[1])
        return bad("source");
    const int depth = ref[1] ? QImage(1, 1, QImage::Format(format)).depth() : 32;
    if (depth != 32 && depth != 24)
        return bad("source_format");
    m_original.append(ref[0]);
    m_source.append(ref[1]);
    m_recordData.append(ref[2]);
    m_sourceFormat.append(int(format));
    return true;
}

bool ProjectFile::Reader::blob(qlonglong id, qint64 limit, int number, QByteArray *bytes, Error *error)
{
    QSqlQuery size(m_db);
    size.prepare(QStringLiteral("SELECT length(bytes), typeof(bytes) FROM blob WHERE id = ?"));
    size.addBindValue(id);
    if (!size.exec())
        return queryFailed(size, error, number);
    if (!size.next())
        return fail(error, number, tr("缺少图片数据"));
    if (size.value(1).toString() != QLatin1String("blob"))
        return fail(error, number, tr("图片数据无效"));
    const qint64 length = size.value(0).toLongLong();
    if (length > limit)
        return fail(error, number, tr("图片数据过大（%1 字节，上限 %2 字节）").arg(length).arg(limit));
    size.finish();
    QSqlQuery read(m_db);
    read.prepare(QStringLiteral("SELECT bytes FROM blob WHERE id = ?"));
    read.addBindValue(id);
    if (!read.exec() || !read.next())
        return queryFailed(read, error, number);
    *bytes = read.value(0).toByteArray();
    if (bytes->size() != length)
        return fail(error, number, tr("图片数据已损坏"));
    if (bytes->isNull())
        *bytes = QByteArray("");
    return true;
}

bool ProjectFile::Reader::read(ProjectState *state, Error *error)
{
    ProjectState loaded;
    {
        QSqlQuery check(m_db);
        check.setForwardOnly(true);
        if (!check.exec(QStringLiteral("PRAGMA integrity_check")))
            return queryFailed(check, error);
        QStringList problems;
        while (check.next())
            problems.append(check.value(0).toString());
        if (problems != QStringList{QStringLiteral("ok")})
            return fail(error, 0, tr("文件已损坏（完整性检查：%1）").arg(problems.value(0)));
    }
    {
        QSqlQuery version(m_db);
        if (!version.exec(QStringLiteral("SELECT version FROM schema_version")) || !version.next())
            return fail(error, 0, tr("不是项目文件（没有版本表）"));
        qint64 number = 0;
        if (!integer(version.value(0), 1, std::numeric_limits<int>::max(), &number))
            return fail(error, 0, tr("项目文件版本无效"));
        if (number != SchemaVersion)
            return fail(error, 0,
                        tr("项目文件版本 %1 不受支持（支持版本 %2）").arg(number).arg(SchemaVersion));
    }
    {
        QSqlQuery project(m_db);
        if (!project.exec(QStringLiteral("SELECT screen_width, screen_height, current_tab FROM project")))
            return queryFailed(project, error);
        qint64 width = 0, height = 0, current = 0;
        if (!project.next() || !integer(project.value(0), 0, OutputScreen::maximumSize().width(), &width) ||
            !integer(project.value(1), 0, OutputScreen::maximumSize().height(), &height) ||
            !integer(project.value(2), 0, MaxEntries, &current) ||
            !OutputScreen::isValidSize(QSize(int(width), int(height))))
            return fail(error, 0, tr("项目设置无效"));
        loaded.screen = QSize(int(width), int(height));
        loaded.current = int(current);
    }
    {
        // Counted and measured before a row is read whole.
        QSqlQuery measure(m_db);
        if (!measure.exec(QStringLiteral("SELECT count(*), max(length(CAST(text_content AS BLOB))), "
                                         "max(length(text_font)) FROM entry")) ||
            !measure.next())
            return queryFailed(measure, error);
        const qint64 count = measure.value(0).toLongLong();
        if (count > MaxEntries)
            return fail(error, 0, tr("%1 个条目，超过上限 %2").arg(count).arg(MaxEntries));
        if (measure.value(1).toLongLong() > OsdFile::MaxTextSize)
            return fail(error, 0, tr("文字内容过长（超过 %1 字节）").arg(OsdFile::MaxTextSize));
        // Every name of a font at its limit, and a hundred of them.
        if (measure.value(2).toLongLong() > 4 * OsdFile::MaxTextSize)
            return fail(error, 0, tr("字体数据过长"));
    }
    {
        QSqlQuery rows(m_db);
        rows.setForwardOnly(true);
        if (!rows.exec(QStringLiteral("SELECT %1 FROM entry ORDER BY tab").arg(columnList())))
            return queryFailed(rows, error);
        QSet<int> ids;
        QSet<int> numbers;
        while (rows.next()) {
            qint64 tab = -1;
            if (!integer(rows.value(CTab), 0, MaxEntries - 1, &tab) || tab != loaded.entries.size())
                return fail(error, 0, tr("标签顺序无效"));
            ProjectState::Entry saved;
            if (!readEntry(rows, &saved, error))
                return false;
            if (ids.contains(saved.entry.id) || numbers.contains(saved.entry.number))
                return fail(error, saved.entry.number, tr("条目重复"));
            ids.insert(saved.entry.id);
            numbers.insert(saved.entry.number);
            loaded.entries.append(saved);
        }
        if (rows.lastError().isValid())
            return queryFailed(rows, error);
    }
    if (loaded.current >= qMax(1, loaded.entries.size()))
        return fail(error, 0, tr("当前标签 %1 无效").arg(loaded.current));

    // The pictures are decoded on all cores while the next ones are read; a blob two entries share is
    // read and decoded once.
    struct Decoded
    {
        QImage image;
        QString reason;
    };
    std::map<std::pair<qlonglong, int>, QFuture<Decoded>> pictures;
    std::map<qlonglong, QByteArray> bytesOf;
    std::map<qlonglong, QByteArray> hashOf;
    auto bytesFor = [&](qlonglong id, qint64 limit, int number, QByteArray *out) {
        const auto known = bytesOf.find(id);
        if (known != bytesOf.end()) {
            *out = known->second;
            return true;
        }
        if (!blob(id, limit, number, out, error))
            return false;
        bytesOf[id] = *out;
        return true;
    };
    bool ok = true;
    for (int i = 0; ok && i < loaded.entries.size(); ++i) {
        ProjectState::Entry &saved = loaded.entries[i];
        const int number = saved.entry.number;
        if (m_original[i]) {
            ok = bytesFor(m_original[i], PictureLoader::MaxFileSize, number, &saved.entry.original);
            const auto key = std::make_pair(m_original[i], 0);
            if (ok && !pictures.count(key)) {
                const QByteArray bytes = saved.entry.original;
                pictures[key] = QtConcurrent::run([bytes] {
                    Decoded decoded;
                    QImage image = PictureLoader::decode(bytes, &decoded.reason);
                    // The editor's road for a picture file: its raster form, shown (and keyed)
                    // flattened when it is translucent.
                    if (!image.isNull())
                        decoded.image = RasterForm::flattened(RasterForm::convert(std::move(image)));
                    return decoded;
                });
            }
        } else if (m_source[i]) {
            QByteArray bytes;
            const int format = m_sourceFormat[i];
            ok = bytesFor(m_source[i], PictureLoader::MaxFileSize, number, &bytes);
            const auto key = std::make_pair(m_source[i], format);
            if (ok && !pictures.count(key)) {
                pictures[key] = QtConcurrent::run([bytes, format] {
                    Decoded decoded;
                    QImage image = PictureLoader::decode(bytes, &decoded.reason);
                    const bool threeBytes = QImage(1, 1, QImage::Format(format)).depth() == 24;
                    // The three bytes of each pixel come back as the red, green and blue of an
                    // opaque picture.
                    if (threeBytes && !image.isNull() && !image.hasAlphaChannel())
                        image = image.convertToFormat(QImage::Format_RGB888);
                    if (!image.isNull() &&
                        image.format() != (threeBytes ? QImage::Format_RGB888 : QImage::Format_ARGB32))
                        decoded.reason = tr("像素数据格式不符");
                    else if (!image.isNull())
                        decoded.image = QImage(image.constBits(), image.width(), image.height(),
                                               image.bytesPerLine(), QImage::Format(format))
                                            .copy();
                    return decoded;
                });
            }
        }
        if (ok && m_recordData[i])
            ok = bytesFor(m_recordData[i], OsdFile::MaxPixelDataSize, number, &saved.recordData);
    }
    for (auto &picture : pictures)
        picture.second.waitForFinished();
    if (!ok)
        return false;
    {
        QSqlQuery hashes(m_db);
        hashes.setForwardOnly(true);
        if (hashes.exec(QStringLiteral("SELECT id, sha256 FROM blob"))) {
            while (hashes.next())
                hashOf[hashes.value(0).toLongLong()] = hashes.value(1).toByteArray();
        }
    }
    for (int i = 0; i < loaded.entries.size(); ++i) {
        ProjectState::Entry &saved = loaded.entries[i];
        if (!m_original[i] && !m_source[i])
            continue;
        const auto key =
            m_original[i] ? std::make_pair(m_original[i], 0) : std::make_pair(m_source[i], m_sourceFormat[i]);
        const Decoded decoded = pictures[key].result();
        if (decoded.image.isNull())
            return fail(error, saved.entry.number, tr("图片无法解码：%1").arg(decoded.reason));
        saved.entry.source = decoded.image;
    }

    // What this object stores next time need not be hashed or written again.
    for (int i = 0; i < loaded.entries.size(); ++i) {
        const ProjectState::Entry &saved = loaded.entries[i];
        const auto hash = [&](qlonglong id) { return id && hashOf.count(id) ? hashOf[id] : QByteArray(); };
        if (!hash(m_original[i]).isEmpty())
            m_owner->remember(saved.entry.original, hash(m_original[i]));
        if (!hash(m_source[i]).isEmpty())
            m_owner->m_knownPixels.insert(saved.entry.source.cacheKey(), hash(m_source[i]));
        if (!hash(m_recordData[i]).isEmpty())
            m_owner->remember(saved.recordData, hash(m_recordData[i]));
    }
    *state = std::move(loaded);
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

    Connection connection;
    if (!connection.open(path, true, &e.reason))
        return false;
    QSqlDatabase db = connection.db();
    {
        QSqlQuery begin(db);
        // One read transaction: nothing another program writes meanwhile is seen half.
        if (!begin.exec(QStringLiteral("BEGIN")) ||
            !begin.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            e.reason = isLocked(begin.lastError()) ? tr("文件被另一个程序锁定")
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
