// Project files: every field comes back, the records made from a loaded state are the saved ones
// byte for byte, pictures are stored once and not written again, and damaged files are refused
// with a reason that names the file and the entry.
#include "core/pixels/pictureloader.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/project/projectfile.h"
#include "interfaces/records/itemrecords.h"
#include "support/core/pictures.h"
#include "support/core/projects.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

Q_DECLARE_METATYPE(ProjectState)

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// Runs statements on a project file behind the reader's back, as another program would.
void tamper(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("tamper");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString &statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase(name);
}

ProjectState richState()
{
    ProjectState state;
    state.screen = QSize(3840, 2160);
    const QByteArray png = Projects::fileBytes(TestSupport::randomPicture(96, 64, 7), "png");
    ProjectState::Entry picture = Projects::pictureEntry(3, png, QPoint(-12, 40));
    picture.entry.number = 5;
    picture.entry.key.enabled = true;
    picture.entry.key.begin = QColor(10, 20, 30);
    picture.entry.key.end = QColor(200, 210, 220);
    picture.entry.key.fill = QColor::fromHsv(120, 200, 100);
    picture.entry.key.picked = QColor(1, 2, 3);
    picture.entry.cut = QRect(4, 5, 64, 40);
    picture.entry.cutView = true;
    picture.output.keyed = true;
    picture.output.keyFlag = true;
    picture.output.keyBegin = QColor(0, 0, 0);
    picture.output.keyEnd = QColor(128, 255, 128);
    picture.output.keyFill = QColor::fromCmyk(1, 2, 3, 4);
    picture.output.record.cut = QRect(4, 5, 64, 40);
    picture.output.record.cutEnabled = true;
    picture.output.record.fill = QColor::fromRgbF(0.5, 0.25, 1.5);
    picture.output.record.fillOn = true;
    state.entries.append(picture);

    // The same picture again: stored once.
    ProjectState::Entry again = Projects::pictureEntry(4, png);
    again.entry.cut = QRect(0, 0, 0, 0);
    state.entries.append(again);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(31.5);
    font.setBold(true);
    font.setUnderline(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    state.entries.append(
        Projects::textEntry(9, QStringLiteral("Live\nHall 3 \u4e2d"), font, QColor(250, 1, 2)));

    // An imported record: keyed pixels with no original, the bytes its file had.
    ProjectState::Entry imported;
    imported.entry.id = 11;
    imported.entry.number = 2;
    imported.entry.kind = OsdEntry::Kind::Picture;
    imported.entry.hasOriginal = false;
    imported.entry.source = TestSupport::randomPicture(33, 17, 3);
    imported.recordData = QByteArray(33 * 17 * 3, '\x5a');
    imported.output.hasRecord = true;
    imported.output.record.size = QSize(33, 17);
    imported.output.record.completionWidth = 33;
    imported.output.record.fileLength = 33 * 17 * 3;
    imported.output.keyBegin = QColor();
    imported.output.keyFill = QColor(Qt::transparent);
    state.entries.append(imported);

    ProjectState::Entry empty;
    empty.entry.id = 12;
    empty.entry.number = 1;
    state.entries.append(empty);
    state.current = 2;
    return state;
}

// Colours compare by their spec and raw values, as they are kept.
bool sameColour(const QColor &a, const QColor &b)
{
    return a == b && a.spec() == b.spec();
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTripKeepsEveryField();
    void roundTripGivesTheSameRecords_data();
    void roundTripGivesTheSameRecords();
    void picturesAreStoredOnceAndNotWrittenAgain();
    void damagedFilesAreRefused_data();
    void damagedFilesAreRefused();
    void lockedFileIsRefused();
    void specialFilesAreNotRead();
    void entryLimit_data();
    void entryLimit();
    void textLimit_data();
    void textLimit();
    void pictureBytesLoadAsTheFile_data();
    void pictureBytesLoadAsTheFile();
    void pictureFileSizeLimit_data();
    void pictureFileSizeLimit();

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
};

void TestProjectFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")));
}

void TestProjectFile::roundTripKeepsEveryField()
{
    const ProjectState saved = richState();
    const QString file = path(QStringLiteral("rich.brisklane"));
    ProjectFile::Error error;
    QVERIFY2(ProjectFile().save(file, saved, &error), qPrintable(error.message()));
    ProjectState loaded;
    QVERIFY2(ProjectFile().load(file, &loaded, &error), qPrintable(error.message()));

    QCOMPARE(loaded.screen, saved.screen);
    QCOMPARE(loaded.current, saved.current);
    QCOMPARE(loaded.entries.size(), saved.entries.size());
    for (int i = 0; i < saved.entries.size(); ++i) {
        const ProjectState::Entry &a = saved.entries[i];
        const ProjectState::Entry &b = loaded.entries[i];
        QCOMPARE(b.entry.id, a.entry.id);
        QCOMPARE(b.entry.number, a.entry.number);
        QCOMPARE(int(b.entry.kind), int(a.entry.kind));
        QCOMPARE(b.entry.hasOriginal, a.entry.hasOriginal);
        QCOMPARE(b.entry.original, a.entry.original);
        QCOMPARE(b.entry.source.format(), a.entry.source.format());
        QVERIFY(TestSupport::identicalPixels(b.entry.source, a.entry.source));
        QCOMPARE(b.entry.text.content, a.entry.text.content);
        QCOMPARE(b.entry.text.font, a.entry.text.font);
        QCOMPARE(b.entry.text.font.resolve(), a.entry.text.font.resolve());
        QVERIFY(sameColour(b.entry.text.colour, a.entry.text.colour));
        QCOMPARE(b.entry.key, a.entry.key);
        QVERIFY(sameColour(b.entry.key.fill, a.entry.key.fill));
        QCOMPARE(b.entry.key.picked.isValid(), a.entry.key.picked.isValid());
        QCOMPARE(b.entry.position, a.entry.position);
        QCOMPARE(b.entry.cut, a.entry.cut);
        QCOMPARE(b.entry.cut.isNull(), a.entry.cut.isNull());
        QCOMPARE(b.entry.cutView, a.entry.cutView);
        QVERIFY(b.output == a.output);
        QVERIFY(sameColour(b.output.keyFill, a.output.keyFill));
        QVERIFY(sameColour(b.output.record.fill, a.output.record.fill));
        QVERIFY(sameColour(b.output.keyBegin, a.output.keyBegin));
        QCOMPARE(b.recordData, a.recordData);
        QCOMPARE(b.recordData.isNull(), a.recordData.isNull());
    }
}

void TestProjectFile::roundTripGivesTheSameRecords_data()
{
    QTest::addColumn<ProjectState>("state");
    QTest::newRow("every kind") << richState();

    const QImage translucent = [] {
        QImage image(40, 30, QImage::Format_ARGB32);
        image.fill(QColor(0, 200, 0, 90));
        image.setPixelColor(3, 3, QColor(255, 0, 0, 255));
        return image;
    }();
    for (const char *format : {"png", "jpg", "bmp"}) {
        ProjectState state;
        ProjectState::Entry saved =
            Projects::pictureEntry(1, Projects::fileBytes(TestSupport::randomPicture(70, 50, 1), format));
        saved.output.keyed = true;
        saved.output.keyBegin = QColor(0, 0, 0);
        saved.output.keyEnd = QColor(90, 255, 255);
        saved.output.keyFill = QColor(255, 0, 255);
        state.entries.append(saved);
        QTest::addRow("keyed %s", format) << state;
    }
    ProjectState alpha;
    alpha.entries.append(Projects::pictureEntry(1, Projects::fileBytes(translucent, "png")));
    QTest::newRow("translucent png") << alpha;
    ProjectState keyedAlpha = alpha;
    keyedAlpha.entries[0].output.keyed = true;
    keyedAlpha.entries[0].output.keyBegin = QColor(0, 100, 0);
    keyedAlpha.entries[0].output.keyEnd = QColor(10, 255, 10);
    keyedAlpha.entries[0].output.keyFill = QColor(1, 2, 3);
    QTest::newRow("translucent png keyed") << keyedAlpha;
    ProjectState premultiplied;
    ProjectState::Entry imported;
    imported.entry.id = 1;
    imported.entry.number = 1;
    imported.entry.hasOriginal = false;
    imported.entry.kind = OsdEntry::Kind::Picture;
    imported.entry.source = translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    imported.output.hasRecord = true;
    imported.output.record = ItemRecords::fieldsOf(
        *std::unique_ptr<VideoControlOSD>(ItemRecords::pictureRecord(imported.entry.source)));
    imported.output.keyed = true;
    imported.output.keyBegin = QColor(0, 0, 0);
    imported.output.keyEnd = QColor(40, 255, 40);
    imported.output.keyFill = QColor(9, 9, 9);
    premultiplied.entries.append(imported);
    QTest::newRow("premultiplied source without original") << premultiplied;

    // An imported record's picture: three bytes per pixel, unkeyed, its record data kept.
    ProjectState threeBytes;
    imported.entry.source = translucent.convertToFormat(QImage::Format_BGR888);
    imported.output.keyed = false;
    imported.recordData =
        QByteArray(imported.entry.source.width() * imported.entry.source.height() * 3, '\x5a');
    threeBytes.entries.append(imported);
    QTest::newRow("three-byte source without original") << threeBytes;
}

void TestProjectFile::roundTripGivesTheSameRecords()
{
    QFETCH(ProjectState, state);
    const QByteArray before = Projects::osdFileOf(state);
    QVERIFY(!before.isEmpty());
    const QString file = path(QStringLiteral("records.brisklane"));
    ProjectFile::Error error;
    QVERIFY2(ProjectFile().save(file, state, &error), qPrintable(error.message()));
    ProjectState loaded;
    QVERIFY2(ProjectFile().load(file, &loaded, &error), qPrintable(error.message()));
    QCOMPARE(Projects::osdFileOf(loaded), before);
}

void TestProjectFile::picturesAreStoredOnceAndNotWrittenAgain()
{
    ProjectState state = richState();
    const QString file = path(QStringLiteral("dedup.brisklane"));
    ProjectFile project;
    ProjectFile::Error error;
    QVERIFY(project.save(file, state, &error));
    // The picture two entries show, the text's pixels, the imported pixels and their record data.
    QCOMPARE(project.lastSave().blobsWritten, 4);
    QCOMPARE(project.lastSave().entriesWritten, state.entries.size());
    const QByteArray first = readAll(file);

    // One keying step: one row changes, no picture is written.
    state.entries[0].output.keyEnd = QColor(100, 255, 100);
    QVERIFY(project.save(file, state, &error));
    QVERIFY(!project.lastSave().rewritten);
    QCOMPARE(project.lastSave().blobsWritten, 0);
    QCOMPARE(project.lastSave().entriesWritten, 1);
    const QByteArray second = readAll(file);
    QCOMPARE(second.size(), first.size());
    const int page = 65536;
    int changedPages = 0;
    for (int at = 0; at < first.size(); at += page)
        changedPages += first.mid(at, page) != second.mid(at, page) ? 1 : 0;
    // The header page and the page of the entries' rows.
    QVERIFY2(changedPages <= 2, qPrintable(QString::number(changedPages)));

    // A new object that loaded the file knows its pictures without hashing them again.
    ProjectState loaded;
    ProjectFile other;
    QVERIFY(other.load(file, &loaded, &error));
    QVERIFY(other.save(file, loaded, &error));
    QCOMPARE(other.lastSave().blobsWritten, 0);
    QCOMPARE(other.lastSave().entriesWritten, 0);

    // A picture no entry shows any more leaves the file.
    state.entries.removeLast();
    state.entries.remove(2);
    state.current = 0;
    QVERIFY(project.save(file, state, &error));
    ProjectState fewer;
    QVERIFY(ProjectFile().load(file, &fewer, &error));
    QCOMPARE(fewer.entries.size(), 3);
    tamper(file, {QStringLiteral("CREATE TEMP TABLE n AS SELECT count(*) AS c FROM blob")});
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
    db.setDatabaseName(file);
    QVERIFY(db.open());
    QSqlQuery count(db);
    QVERIFY(count.exec(QStringLiteral("SELECT count(*) FROM blob")) && count.next());
    QCOMPARE(count.value(0).toInt(), 3);
    count = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
}

void TestProjectFile::damagedFilesAreRefused_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<int>("cutTo");
    QTest::addColumn<int>("overwriteAt");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("entry");

    QTest::newRow("not sqlite") << QStringList() << 0 << -1 << QStringLiteral("不是 SQLite 数据库") << 0;
    QTest::newRow("truncated") << QStringList() << 70000 << -1 << QStringLiteral("文件已截断") << 0;
    QTest::newRow("integrity") << QStringList() << -1 << 65536 * 3 + 8 << QStringLiteral("文件已损坏") << 0;
    QTest::newRow("newer version") << QStringList{QStringLiteral("UPDATE schema_version SET version = 2")}
                                   << -1 << -1 << QStringLiteral("项目文件版本 2 不受支持") << 0;
    QTest::newRow("no version table") << QStringList{QStringLiteral("DROP TABLE schema_version")} << -1 << -1
                                      << QStringLiteral("没有版本表") << 0;
    QTest::newRow("missing picture")
        << QStringList{QStringLiteral("PRAGMA foreign_keys=OFF"),
                       QStringLiteral(
                           "DELETE FROM blob WHERE id = (SELECT original FROM entry WHERE number = 5)")}
        << -1 << -1 << QStringLiteral("缺少图片数据") << 5;
    QTest::newRow("picture no longer decodes")
        << QStringList{QStringLiteral(
               "UPDATE blob SET bytes = CAST(substr(bytes, 1, 60) || zeroblob(200) AS BLOB) WHERE id = "
               "(SELECT original FROM entry WHERE number = 5)")}
        << -1 << -1 << QStringLiteral("图片无法解码") << 5;
    QTest::newRow("pixels of a text no longer decode")
        << QStringList{QStringLiteral(
               "UPDATE blob SET bytes = x'00' WHERE id = (SELECT source FROM entry WHERE "
               "number = 9)")}
        << -1 << -1 << QStringLiteral("图片无法解码") << 9;
    QTest::newRow("bad colour") << QStringList{QStringLiteral(
                                       "UPDATE entry SET key_fill = x'07' WHERE number = 2")}
                                << -1 << -1 << QStringLiteral("key_fill") << 2;
    QTest::newRow("text in a number column")
        << QStringList{QStringLiteral("UPDATE entry SET x = 'left' WHERE number = 1")} << -1 << -1
        << QStringLiteral("x") << 1;
    QTest::newRow("tab gap") << QStringList{QStringLiteral("UPDATE entry SET tab = 7 WHERE tab = 4")} << -1
                             << -1 << QStringLiteral("标签顺序无效") << 0;
    QTest::newRow("bad screen") << QStringList{QStringLiteral("UPDATE project SET screen_width = 15")} << -1
                                << -1 << QStringLiteral("项目设置无效") << 0;
}

void TestProjectFile::damagedFilesAreRefused()
{
    QFETCH(QStringList, statements);
    QFETCH(int, cutTo);
    QFETCH(int, overwriteAt);
    QFETCH(QString, reason);
    QFETCH(int, entry);
    const QString file = path(QStringLiteral("damaged.brisklane"));
    QFile::remove(file);
    ProjectFile::Error error;
    QVERIFY(ProjectFile().save(file, richState(), &error));
    if (!statements.isEmpty())
        tamper(file, statements);
    QByteArray bytes = readAll(file);
    if (cutTo >= 0)
        bytes.truncate(cutTo);
    if (cutTo == 0)
        bytes = "PNG or anything else, but no database";
    if (overwriteAt >= 0)
        bytes.replace(overwriteAt, 64, QByteArray(64, '\xff'));
    writeAll(file, bytes);

    ProjectState loaded;
    loaded.current = 77;
    QVERIFY(!ProjectFile().load(file, &loaded, &error));
    QVERIFY2(error.reason.contains(reason), qPrintable(error.message()));
    QCOMPARE(error.entryNumber, entry);
    QVERIFY(error.message().startsWith(QDir::toNativeSeparators(file)));
    if (entry > 0)
        QVERIFY(error.message().contains(QStringLiteral(": OSD%1: ").arg(entry)));
    // Nothing half loaded.
    QCOMPARE(loaded.current, 77);
    QVERIFY(loaded.entries.isEmpty());
}

void TestProjectFile::lockedFileIsRefused()
{
    const QString file = path(QStringLiteral("locked.brisklane"));
    ProjectFile::Error error;
    QVERIFY(ProjectFile().save(file, richState(), &error));
    const QString name = QStringLiteral("holder");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery hold(db);
        QVERIFY(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        ProjectState loaded;
        QVERIFY(!ProjectFile().load(file, &loaded, &error));
        QVERIFY2(error.reason.contains(QStringLiteral("锁定")), qPrintable(error.message()));
        QVERIFY(!ProjectFile().save(file, richState(), &error));
        QVERIFY2(error.reason.contains(QStringLiteral("锁定")), qPrintable(error.message()));
        QVERIFY(hold.exec(QStringLiteral("ROLLBACK")));
        ProjectState after;
        QVERIFY(ProjectFile().load(file, &after, &error));
    }
    QSqlDatabase::removeDatabase(name);
}

void TestProjectFile::specialFilesAreNotRead()
{
#ifdef Q_OS_UNIX
    const QString fifo = path(QStringLiteral("pipe.brisklane"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ProjectState loaded;
    ProjectFile::Error error;
    QVERIFY(!ProjectFile().load(fifo, &loaded, &error));
    QCOMPARE(error.reason, ProjectFile::tr("不是普通文件"));
    const QString toFifo = path(QStringLiteral("link-to-pipe.brisklane"));
    QVERIFY(QFile::link(fifo, toFifo));
    QVERIFY(!ProjectFile().load(toFifo, &loaded, &error));
    QCOMPARE(error.reason, ProjectFile::tr("不是普通文件"));
    QVERIFY(!ProjectFile().save(fifo, richState(), &error));

    // A link to a project is read; a save never goes through a link.
    const QString real = path(QStringLiteral("real.brisklane"));
    QVERIFY(ProjectFile().save(real, richState(), &error));
    const QString link = path(QStringLiteral("link.brisklane"));
    QVERIFY(QFile::link(real, link));
    QVERIFY2(ProjectFile().load(link, &loaded, &error), qPrintable(error.message()));
    QCOMPARE(loaded.entries.size(), richState().entries.size());
    QVERIFY(!ProjectFile().save(link, richState(), &error));
    QVERIFY(!ProjectFile().load(path(QStringLiteral("none.brisklane")), &loaded, &error));
    QCOMPARE(error.reason, ProjectFile::tr("文件不存在"));
#else
    QSKIP("pipes and links of the Unix kind");
#endif
}

void TestProjectFile::entryLimit_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("n-1") << ProjectFile::MaxEntries - 1;
    QTest::newRow("n") << ProjectFile::MaxEntries;
    QTest::newRow("n+1") << ProjectFile::MaxEntries + 1;
}

void TestProjectFile::entryLimit()
{
    QFETCH(int, count);
    ProjectState state;
    for (int i = 1; i <= qMin(count, ProjectFile::MaxEntries); ++i)
        state.entries.append(Projects::textEntry(i, QString::number(i), QFont(), QColor(9, 9, 9)));
    const QString file = path(QStringLiteral("limit.brisklane"));
    QFile::remove(file);
    ProjectFile::Error error;
    QVERIFY(ProjectFile().save(file, state, &error));
    if (count > ProjectFile::MaxEntries) {
        // The editor never makes more; a file that holds more is refused on both roads.
        ProjectState more = state;
        more.entries.append(Projects::textEntry(count, QStringLiteral("x"), QFont(), QColor(9, 9, 9)));
        QVERIFY(!ProjectFile().save(file, more, &error));
        tamper(file,
               {QStringLiteral("INSERT INTO entry SELECT %1, 999, 999, kind, has_original, original, source, "
                               "source_format, record_data, text_content, text_font, text_colour, "
                               "key_enabled, key_begin, key_end, key_fill, key_picked, x, y, cut_left, "
                               "cut_top, cut_right, cut_bottom, cut_view, keyed, key_flag, keyed_begin, "
                               "keyed_end, keyed_fill, has_record, record_width, record_height, "
                               "completion_width, file_length, record_x, record_y, record_cut_left, "
                               "record_cut_top, record_cut_right, record_cut_bottom, cut_enabled, "
                               "cut_allowed, available, red, green, blue, record_fill, fill_on FROM entry "
                               "WHERE tab = 0")
                    .arg(ProjectFile::MaxEntries)});
    }
    ProjectState loaded;
    const bool ok = ProjectFile().load(file, &loaded, &error);
    QCOMPARE(ok, count <= ProjectFile::MaxEntries);
    if (ok)
        QCOMPARE(loaded.entries.size(), count);
    else
        QVERIFY2(error.reason.contains(QString::number(ProjectFile::MaxEntries)), qPrintable(error.reason));
}

void TestProjectFile::textLimit_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::newRow("n-1") << OsdFile::MaxTextSize - 1;
    QTest::newRow("n") << OsdFile::MaxTextSize;
    QTest::newRow("n+1") << OsdFile::MaxTextSize + 1;
}

void TestProjectFile::textLimit()
{
    QFETCH(qint64, bytes);
    ProjectState state;
    ProjectState::Entry entry = Projects::textEntry(1, QStringLiteral("short"), QFont(), QColor(9, 9, 9));
    entry.entry.text.content = QString(int(bytes), QLatin1Char('a'));
    state.entries.append(entry);
    const QString file = path(QStringLiteral("text.brisklane"));
    QFile::remove(file);
    ProjectFile::Error error;
    const bool fits = bytes <= OsdFile::MaxTextSize;
    QCOMPARE(ProjectFile().save(file, state, &error), fits);
    if (!fits) {
        QCOMPARE(error.entryNumber, 1);
        // Written past the writer's check, the reader refuses it too.
        state.entries[0].entry.text.content = QStringLiteral("a");
        QVERIFY(ProjectFile().save(file, state, &error));
        tamper(file,
               {QStringLiteral("UPDATE entry SET text_content = CAST(zeroblob(%1) AS TEXT)").arg(bytes)});
    }
    ProjectState loaded;
    QCOMPARE(ProjectFile().load(file, &loaded, &error), fits);
    if (fits)
        QCOMPARE(loaded.entries[0].entry.text.content.size(), int(bytes));
}

void TestProjectFile::pictureBytesLoadAsTheFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    const QImage picture = TestSupport::randomPicture(50, 40, 5);
    QTest::newRow("png") << Projects::fileBytes(picture, "png") << true;
    QTest::newRow("jpg") << Projects::fileBytes(picture, "jpg") << true;
    QTest::newRow("bmp") << Projects::fileBytes(picture, "bmp") << true;
    QTest::newRow("bmp cut short") << Projects::fileBytes(picture, "bmp").left(3000) << false;
    QTest::newRow("png cut short") << Projects::fileBytes(picture, "png").left(400) << false;
    QTest::newRow("not a picture") << QByteArray("hello") << false;
}

void TestProjectFile::pictureBytesLoadAsTheFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    const QString file = path(QStringLiteral("picture.bin"));
    writeAll(file, bytes);
    QString fromFile, fromBytes;
    QByteArray original;
    const QImage a = PictureLoader::load(file, &fromFile, &original);
    const QImage b = PictureLoader::decode(bytes, &fromBytes);
    const QImage c = PictureLoader::load(file, nullptr);
    QCOMPARE(a.isNull(), !loads);
    QCOMPARE(b.isNull(), !loads);
    QCOMPARE(c.isNull(), !loads);
    QCOMPARE(fromBytes, fromFile);
    QCOMPARE(original, loads ? bytes : QByteArray());
    if (loads) {
        QVERIFY(TestSupport::identicalPixels(a, b));
        QVERIFY(TestSupport::identicalPixels(a, c));
    }
}

void TestProjectFile::pictureFileSizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::newRow("n-1") << PictureLoader::MaxFileSize - 1;
    QTest::newRow("n") << PictureLoader::MaxFileSize;
    QTest::newRow("n+1") << PictureLoader::MaxFileSize + 1;
}

void TestProjectFile::pictureFileSizeLimit()
{
    QFETCH(qint64, size);
    // A sparse file: refused for its size before it is read, or for what it holds.
    const QString file = path(QStringLiteral("large.png"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(out.resize(size));
    }
    QString reason;
    QByteArray original;
    QVERIFY(PictureLoader::load(file, &reason, &original).isNull());
    QCOMPARE(reason.contains(QString::number(PictureLoader::MaxFileSize)), size > PictureLoader::MaxFileSize);
    QVERIFY(original.isEmpty());
    QFile::remove(file);
}

QTEST_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
