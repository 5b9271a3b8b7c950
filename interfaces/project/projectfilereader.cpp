#include "interfaces/project/projectfilereader.h"

#include "core/geometry/outputscreen.h"
#include "core/pixels/pictureloader.h"
#include "core/pixels/rasterform.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfile_codec.h"
#include "interfaces/project/projectconnection.h"
#include "interfaces/project/projectfile_checks.h"
#include "interfaces/project/projectfile_codec.h"
#include "interfaces/project/projectschema.h"

#include <QFuture>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtConcurrent>

#include <limits>
#include <map>

using namespace OsdFileCodec;
using namespace ProjectFileChecks;
using namespace ProjectFileCodec;
using namespace ProjectSchema;

bool ProjectFile::Reader::fail(Error *error, int number, const QString &why)
{
    error->entryNumber = number;
    error->reason = why;
    return false;
}

bool ProjectFile::Reader::queryFailed(QSqlQuery &query, Error *error, int number)
{
    return fail(error, number,
                ProjectConnection::isLocked(query.lastError())
                    ? tr("文件被另一个程序锁定")
                    : tr("文件已损坏（%1）").arg(query.lastError().text()));
}

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
    auto bad = [&](int column) {
        return fail(error, title, tr("字段 %1 无效").arg(QLatin1String(EntryColumns[column].name)));
    };
    for (const EntryColumn &column : EntryColumns) {
        const bool whole = column.kind == Kind::Integer || column.kind == Kind::Flag;
        if (whole && !integer(row.value(column.column), intMin, intMax, &v[column.column]))
            return bad(column.column);
    }
    for (const EntryColumn &column : EntryColumns) {
        if (column.kind == Kind::Flag && v[column.column] != 0 && v[column.column] != 1)
            return bad(column.column);
    }
    if (v[CId] <= 0)
        return bad(CId);
    if (v[CNumber] <= 0)
        return bad(CNumber);
    if (v[CKind] < 0 || v[CKind] > 2)
        return bad(CKind);
    for (int c : {CRed, CGreen, CBlue}) {
        if (!validKeyValue(v[c]))
            return bad(c);
    }
    for (int c : {CRecordWidth, CRecordHeight}) {
        if (!validDimension(v[c], true))
            return bad(c);
    }
    if (!validDimension(v[CCompletionWidth], false))
        return bad(CCompletionWidth);

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
            return bad(colour.first);
    }
    const QVariant content = row.value(CTextContent);
    if (content.type() != QVariant::String)
        return bad(CTextContent);
    e.text.content = content.toString();
    const QVariant font = row.value(CTextFont);
    if (font.type() != QVariant::ByteArray || !fontFromBytes(font.toByteArray(), &e.text.font))
        return bad(CTextFont);

    // The pictures: references into the blob table, read afterwards.
    qint64 ref[3] = {0, 0, 0};
    const int refs[] = {COriginal, CSource, CRecordData};
    for (int i = 0; i < 3; ++i) {
        const QVariant value = row.value(refs[i]);
        if (!value.isNull() && !integer(value, 1, std::numeric_limits<qint64>::max(), &ref[i]))
            return bad(refs[i]);
    }
    qint64 format = 0;
    if (ref[1] && !integer(row.value(CSourceFormat), 1, QImage::NImageFormats - 1, &format))
        return bad(CSourceFormat);
    if (ref[0] && ref[1])
        return bad(CSource);
    const int depth = ref[1] ? QImage(1, 1, QImage::Format(format)).depth() : 32;
    if (depth != 32 && depth != 24)
        return bad(CSourceFormat);
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
