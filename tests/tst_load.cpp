// Load and memory: imports beyond the interactive limit, OSD files larger than the old 1 GiB limit,
// and, as heavy tests (the only ones of the suite that measure time or memory), import and reading
// time against the number of records, memory over repeated large pictures, and 50 tabs of
// 3840 x 2160 pictures exported and imported again through the main window with their peak memory.
//
// The heavy tests need several GB of memory and disk and a minute or more; they run only with
// BRISKLANE_HEAVY=1 (scripts/test.sh sets it for one run of this program):
//   BRISKLANE_HEAVY=1 QT_QPA_PLATFORM=offscreen build/test/tests/tst_load
#include "interfaces/device/control.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/styled/custommegbox.h"
#include "interfaces/styled/tablewidgetex.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "osditem/publicbase.h"
#include "support/core/pictures.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstring>
#include <limits>

using A = QuillmereTestAccess;

namespace {

// A value of /proc/self/status in KiB, or -1 where there is no such file.
qint64 statusKiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Starts a new peak of resident memory (VmHWM), where the system allows it.
void resetPeakMemory()
{
#ifdef __GLIBC__
    // Give back what the allocator keeps of freed memory, so that an earlier window's pages do not
    // count into the next peak.
    malloc_trim(0);
#endif
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

qint64 availableMemoryKiB()
{
    QFile info(QStringLiteral("/proc/meminfo"));
    if (!info.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = info.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("MemAvailable:"))
            return line.mid(13).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

bool heavyTestsWanted()
{
    return qEnvironmentVariableIntValue("BRISKLANE_HEAVY") == 1;
}

// Picture i: a colour of its own, and its number drawn as a bar code in the first rows, so that a
// picture that lands in the wrong tab shows.
QImage numberedPicture(int i, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb((i * 53) & 0xFF, (i * 101) & 0xFF, (i * 29 + 7) & 0xFF));
    for (int bit = 0; bit < 8; ++bit) {
        const QRgb mark = (i >> bit) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        for (int y = 0; y < qMin(4, size.height()); ++y) {
            for (int x = bit * 4; x < qMin(bit * 4 + 4, size.width()); ++x)
                image.setPixel(x, y, mark);
        }
    }
    return image;
}

// Records held the way the data model holds them, so that they go with this object.
class Records
{
public:
    ~Records()
    {
        for (VideoControlOSD *r : qAsConst(records))
            SharedRecord::release(r);
        for (SourceData *s : qAsConst(sources))
            SharedRecord::release(s);
    }
    void addPicture(const QImage &image, const QPoint &location)
    {
        auto *r = new VideoControlOSD;
        SharedRecord::retain(r);
        int completionWidth = 0;
        r->setImage(PublicBase::imageToOsdData(image, &completionWidth));
        r->setSize(image.size());
        r->setCompletionImageWidth(completionWidth);
        r->setOSDFileLength(image.width() * image.height() * 3);
        r->setLocation(location);
        r->setIsAvailable(true);
        records.append(r);
        sources.append(nullptr);
    }
    void addText(const QImage &image, const QPoint &location, const QString &text)
    {
        addPicture(image, location);
        auto *s = new SourceData;
        SharedRecord::retain(s);
        s->setContent(text);
        s->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 20));
        s->setTextColor(QColor(255, 0, 0));
        sources.last() = s;
    }

    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
};

// An OSD file of count small records, every seventh a text item.
void writeSmallRecords(const QString &path, int count)
{
    Records made;
    for (int i = 0; i < count; ++i) {
        const QImage image = numberedPicture(i, QSize(32, 8));
        if (i % 7 == 3)
            made.addText(image, QPoint(i, -i), QString::number(i));
        else
            made.addPicture(image, QPoint(i, -i));
    }
    QString error;
    QVERIFY2(OsdFile::write(path, made.records, made.sources, &error), qPrintable(error));
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
             qPrintable(path));
}

// Pages of closed tabs go with deferred deletion, and their scenes follow them the same way.
void flushDeferredDeletes()
{
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the import button does once the operator has chosen path.
void importFile(Quillmere &w, const QString &path)
{
    Control *control = Control::getInstance();
    QVERIFY2(control->prepareOSDfiles({path}), qPrintable(control->errorString()));
    A::resetTabs(w);
    QVERIFY2(control->loadOSDfile(path), qPrintable(control->errorString()));
    control->discardPrepared();
    A::rebuildFromDataModel(w);
    QCoreApplication::processEvents();
    flushDeferredDeletes();
}

OSDItem *onlyItem(Quillmere &w, int tab)
{
    QGraphicsScene *scene = A::scene(w, tab);
    if (!scene || scene->items().size() != 1)
        return nullptr;
    return dynamic_cast<OSDItem *>(scene->items().first());
}

} // namespace

class TestLoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void importBeyondTheInteractiveLimit();
    void filesAboveTheLimitAreRefusedUnread();
    void streamedReadMatchesDecode();

    // Heavy: BRISKLANE_HEAVY=1. Times and memory figures are measured only here.
    void importTimeOf300AgainstOf100Records();
    void readingTimeGrowsLinearly();
    void replacingLargePictureKeepsMemoryFlat();
    void fileAbove2GiBRoundTrips();
    void fiftyTabsOf4kPicturesExportAndImport();

private:
    QTemporaryDir m_dir;
};

void TestLoad::initTestCase()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The window's developer lines (one per rebuilt tab) would bury the figures.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    TestSupport::failOnQtWarnings();
    QVERIFY(m_dir.isValid());
}

void TestLoad::init()
{
    DataMode::getInstance()->clearDataModel();
    flushDeferredDeletes();
}

// 300 records, more than the 50 tabs the operator may add by hand: one tab per record, in order,
// each at its place, and nothing left over once the window has gone.
void TestLoad::importBeyondTheInteractiveLimit()
{
    const int count = 300;
    const QString path = m_dir.filePath("three-hundred.pic");
    writeSmallRecords(path, count);
    writeSmallRecords(m_dir.filePath("hundred.pic"), 100);
    const int liveBefore = SharedRecord::liveCount();
    {
        Quillmere w;
        w.show();
        importFile(w, m_dir.filePath("hundred.pic"));
        QCOMPARE(A::tabWidget(w)->count(), 100);
        TestSupport::answerNextFileDialogWithFile(path);
        w.slot_inputButten();
        QCoreApplication::processEvents();

        TableWidgetEx *tabs = A::tabWidget(w);
        QCOMPARE(tabs->count(), count);
        QCOMPARE(tabs->currentIndex(), count - 1);
        QCOMPARE(DataMode::getInstance()->getOSDInfos().size(), count);
        for (int i = 0; i < count; ++i) {
            OSDItem *item = onlyItem(w, i);
            QVERIFY2(item, qPrintable(QString::number(i)));
            QCOMPARE(item->pos(), QPointF(i, -i));
            QCOMPARE(item->sourceData() != nullptr, i % 7 == 3);
            QCOMPARE(item->videoControlOSD(), DataMode::getInstance()->getOSDInfos().at(i));
            QCOMPARE(item->image().convertToFormat(QImage::Format_RGB32), numberedPicture(i, QSize(32, 8)));
        }
        // Every record and text source is held by its item and the data model, nothing more.
        flushDeferredDeletes();
        QCOMPARE(SharedRecord::liveCount() - liveBefore, count + (count + 3) / 7);
        DataMode::getInstance()->clearDataModel();
    }
    flushDeferredDeletes();
    QCOMPARE(SharedRecord::liveCount(), liveBefore);
}

// Heavy, as it reports a time: an import of 300 records against one of 100. Qt's tab bar lays
// every tab out again for each closable tab added, so this grows faster than the number of
// records (see docs/reliability.md).
void TestLoad::importTimeOf300AgainstOf100Records()
{
    if (!heavyTestsWanted())
        QSKIP("heavy: set BRISKLANE_HEAVY=1");
    const QString path = m_dir.filePath("three-hundred.pic");
    const QString hundred = m_dir.filePath("hundred.pic");
    writeSmallRecords(path, 300);
    writeSmallRecords(hundred, 100);
    qint64 ns100 = 0, ns300 = 0;
    {
        Quillmere w;
        w.show();
        QElapsedTimer clock;
        clock.start();
        importFile(w, hundred);
        ns100 = clock.nsecsElapsed();
        QCOMPARE(A::tabWidget(w)->count(), 100);
        // The file dialog adds a few milliseconds of its own.
        TestSupport::answerNextFileDialogWithFile(path);
        clock.start();
        w.slot_inputButten();
        QCoreApplication::processEvents();
        ns300 = clock.nsecsElapsed();
        QCOMPARE(A::tabWidget(w)->count(), 300);
        DataMode::getInstance()->clearDataModel();
    }
    flushDeferredDeletes();
    qInfo("import through the window: 100 records %.0f ms, 300 records %.0f ms (ratio %.1f)", ns100 / 1e6,
          ns300 / 1e6, double(ns300) / double(qMax<qint64>(ns100, 1)));
}

// Reading files into the data model takes time in proportion to the number of records: a
// slow-down that grew with their square would make twenty times the records take about 400 times
// as long. Runs of both sizes alternate and the fastest of each counts, so that a busy machine
// disturbs both alike.
void TestLoad::readingTimeGrowsLinearly()
{
    if (!heavyTestsWanted())
        QSKIP("heavy: it compares times; set BRISKLANE_HEAVY=1");
    // Twenty times the records: in proportion gives 20, quadratic 400. The wide gap keeps the
    // check meaningful on a loaded machine, where one run may take several times another.
    const int small = 500, large = 10000;
    const QString smallPath = m_dir.filePath("five-hundred.pic");
    const QString largePath = m_dir.filePath("ten-thousand.pic");
    writeSmallRecords(smallPath, small);
    writeSmallRecords(largePath, large);

    Control *control = Control::getInstance();
    DataMode *model = DataMode::getInstance();
    auto load = [&](const QString &path, int count) {
        QElapsedTimer clock;
        clock.start();
        model->clearDataModel();
        const bool loaded = control->prepareOSDfiles({path}) && control->loadOSDfile(path);
        control->discardPrepared();
        const qint64 ns = clock.nsecsElapsed();
        return loaded && model->getOSDInfos().size() == count ? ns : qint64(-1);
    };
    qint64 bestSmall = std::numeric_limits<qint64>::max(), bestLarge = std::numeric_limits<qint64>::max();
    for (int round = 0; round < 7; ++round) {
        const qint64 smallNs = load(smallPath, small);
        QVERIFY2(smallNs >= 0, qPrintable(control->errorString()));
        const qint64 largeNs = load(largePath, large);
        QVERIFY2(largeNs >= 0, qPrintable(control->errorString()));
        bestSmall = qMin(bestSmall, smallNs);
        bestLarge = qMin(bestLarge, largeNs);
    }
    model->clearDataModel();
    const double ratio = double(bestLarge) / double(qMax<qint64>(bestSmall, 1));
    qInfo(
        "reading %d records: %.2f ms, %d records: %.2f ms, ratio %.2f (20 = in proportion, 400 = quadratic)",
        small, bestSmall / 1e6, large, bestLarge / 1e6, ratio);
    QVERIFY2(ratio < 100.0,
             qPrintable(QStringLiteral("twenty times the records took %1 times as long").arg(ratio)));
}

// Files whose size alone rules them out are refused before a byte is read: one above the largest
// length the format can state, and one whose stated length disagrees with its real one. Both are
// sparse where the file system allows, so they take no room.
void TestLoad::filesAboveTheLimitAreRefusedUnread()
{
    const QString huge = m_dir.filePath("huge.pic");
    {
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(OsdFile::MaxFileSize + 1));
    }
    OsdFile::Contents contents;
    QString error;
    QVERIFY(!OsdFile::read(huge, &contents, &error));
    QVERIFY2(error.contains(QString::fromUtf8("文件过大")), qPrintable(error));
    QFile::remove(huge);

    // A header that states 3 GiB in front of a file of 3 GiB + 1 byte: refused at the header.
    const QString longer = m_dir.filePath("longer.pic");
    {
        Records made;
        QByteArray bytes;
        QVERIFY(OsdFile::encode(made.records, made.sources, &bytes, &error));
        const quint32 stated = 3u << 30;
        char field[4];
        qToLittleEndian(stated, field);
        bytes.replace(12, 4, field, 4);
        QFile file(longer);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), qint64(bytes.size()));
        QVERIFY(file.resize(qint64(stated) + 1));
    }
    QVERIFY(!OsdFile::read(longer, &contents, &error));
    QVERIFY2(error.contains(QString::fromUtf8("多余数据")), qPrintable(error));
    QFile::remove(longer);
    QCOMPARE(contents.count(), 0);
}

// The file reader takes small fields through a 64 KiB buffer and pixel data a megabyte at a time:
// records whose data end just before, on and after those boundaries read the same from a file as
// from memory, and damage anywhere is found by the checksum either way.
void TestLoad::streamedReadMatchesDecode()
{
    Records made;
    const int buffer = 64 * 1024, piece = 1024 * 1024;
    // Pixel data of 65433, 3, 65538, 1047552, 1049088, 3 and 3148800 bytes.
    const QList<QSize> sizes{{1, 21811}, {1, 1}, {1, 21846}, {512, 682}, {683, 512}, {1, 1}, {1024, 1025}};
    for (int index = 0; index < sizes.size(); ++index) {
        const QSize size = sizes.at(index);
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb(y & 0xFF, (y >> 8) ^ x, index));
        }
        if (index % 3 == 1)
            made.addText(image, QPoint(index, 0), QString(index * 1000, QLatin1Char('t')));
        else
            made.addPicture(image, QPoint(index, 0));
    }
    const QString path = m_dir.filePath("boundaries.pic");
    QString error;
    QVERIFY2(OsdFile::write(path, made.records, made.sources, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    OsdFile::Contents fromFile, fromMemory;
    QVERIFY2(OsdFile::read(path, &fromFile, &error), qPrintable(error));
    QVERIFY2(OsdFile::decode(bytes, &fromMemory, &error), qPrintable(error));
    QCOMPARE(fromFile.count(), made.records.size());
    QCOMPARE(fromMemory.count(), made.records.size());
    for (int i = 0; i < made.records.size(); ++i) {
        QVERIFY(fromFile.records().at(i)->image() == made.records.at(i)->image());
        QVERIFY(fromMemory.records().at(i)->image() == made.records.at(i)->image());
        QCOMPARE(fromFile.records().at(i)->location(), QPoint(i, 0));
        QCOMPARE(fromFile.sources().at(i) != nullptr, i % 3 == 1);
        if (fromFile.sources().at(i))
            QCOMPARE(fromFile.sources().at(i)->getContent(), made.sources.at(i)->getContent());
    }

    for (const qint64 at : {qint64(buffer) - 1, qint64(buffer), qint64(piece) + 17, bytes.size() - 5LL}) {
        QByteArray damaged = bytes;
        damaged[int(at)] = char(damaged.at(int(at)) ^ 0x10);
        writeFileBytes(path, damaged);
        QVERIFY(!OsdFile::read(path, &fromFile, &error));
        QVERIFY2(error.contains(QString::fromUtf8("校验和不符")), qPrintable(error));
        QCOMPARE(fromFile.count(), 0);
        QVERIFY(!OsdFile::decode(damaged, &fromMemory, &error));
        QVERIFY2(error.contains(QString::fromUtf8("校验和不符")), qPrintable(error));
    }
    writeFileBytes(path, bytes.left(bytes.size() - piece));
    QVERIFY(!OsdFile::read(path, &fromFile, &error));
    QVERIFY2(error.contains(QString::fromUtf8("文件已截断")), qPrintable(error));
    QFile::remove(path);
}

// A tab's 3840 x 2160 picture replaced a hundred times through the picture button: resident memory
// stays near where the first picture left it (tst_items checks that the replaced items and records
// go; this checks that nothing else piles up).
void TestLoad::replacingLargePictureKeepsMemoryFlat()
{
    if (!heavyTestsWanted())
        QSKIP("heavy: it measures memory; set BRISKLANE_HEAVY=1");
    const QString path = m_dir.filePath("large.bmp");
    QVERIFY(TestSupport::patternPicture(3840, 2160).save(path));

    const int rounds = 100;
    qint64 rssAfterFirst = -1;
    {
        Quillmere w;
        for (int i = 0; i < rounds; ++i) {
            TestSupport::answerNextFileDialogWithFile(path);
            w.slot_picturnButten();
            QCOMPARE(A::currentItems(w).size(), 1);
            if (i == 0)
                rssAfterFirst = statusKiB("VmRSS:");
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const qint64 rssAfterAll = statusKiB("VmRSS:");
        DataMode::getInstance()->clearDataModel();
        if (rssAfterFirst < 0 || rssAfterAll < 0)
            QSKIP("no /proc/self/status here");
        const qint64 growthMiB = (rssAfterAll - rssAfterFirst) / 1024;
        qInfo("resident memory after 1 picture: %lld MiB, after %d: %lld MiB", rssAfterFirst / 1024, rounds,
              rssAfterAll / 1024);
        QVERIFY2(growthMiB < 300, qPrintable(QStringLiteral("grew by %1 MiB").arg(growthMiB)));
    }
    QFile::remove(path);
}

// Two records of a little more than 1 GiB each: every offset and length beyond 2^31 must be
// carried in 64 bits on the way out and in.
void TestLoad::fileAbove2GiBRoundTrips()
{
    if (!heavyTestsWanted())
        QSKIP("heavy: set BRISKLANE_HEAVY=1");
    const qint64 needKiB = qint64(7) << 20;
    if (availableMemoryKiB() >= 0 && availableMemoryKiB() < needKiB)
        QSKIP("needs about 7 GiB of free memory");
    if (QStorageInfo(m_dir.path()).bytesAvailable() < (qint64(5) << 30))
        QSKIP("needs about 5 GiB of free disk");

    const QString path = m_dir.filePath("two-gib.pic");
    const int width = OsdFile::MaxDimension, height = 11000; // 1.08e9 bytes each
    {
        Records made;
        for (int i = 0; i < 2; ++i) {
            auto *r = new VideoControlOSD;
            SharedRecord::retain(r);
            QByteArray pixels(width * height * 3, Qt::Uninitialized);
            for (int k = 0; k < pixels.size(); k += 4096)
                pixels[k] = char(k / 4096 + i);
            r->setImage(pixels);
            r->setSize(QSize(width, height));
            r->setCompletionImageWidth(width);
            r->setLocation(QPoint(i, i));
            made.records.append(r);
            made.sources.append(nullptr);
        }
        QString error;
        QVERIFY2(OsdFile::write(path, made.records, made.sources, &error), qPrintable(error));
        QVERIFY(QFileInfo(path).size() > (qint64(2) << 30));

        OsdFile::Contents contents;
        QVERIFY2(OsdFile::read(path, &contents, &error), qPrintable(error));
        QCOMPARE(contents.count(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(contents.records().at(i)->size(), QSize(width, height));
            QCOMPARE(contents.records().at(i)->location(), QPoint(i, i));
            QVERIFY(contents.records().at(i)->image() == made.records.at(i)->image());
        }
    }
    QFile::remove(path);
}

// 50 tabs of 3840 x 2160 pictures (1.24 GB of pixel data, more than the old 1 GiB file limit)
// added with the picture button, exported, and imported into a new window. Peak resident memory
// and the time of the file work against writing and reading the same bytes plainly are reported.
void TestLoad::fiftyTabsOf4kPicturesExportAndImport()
{
    if (!heavyTestsWanted())
        QSKIP("heavy: set BRISKLANE_HEAVY=1");
    const qint64 needKiB = qint64(12) << 20;
    if (availableMemoryKiB() >= 0 && availableMemoryKiB() < needKiB)
        QSKIP("needs about 12 GiB of free memory");
    if (QStorageInfo(m_dir.path()).bytesAvailable() < (qint64(4) << 30))
        QSKIP("needs about 4 GiB of free disk");

    const int count = 50;
    const QSize size(3840, 2160);
    const QString exported = m_dir.filePath("fifty-4k.pic");
    const int liveBefore = SharedRecord::liveCount();
    QElapsedTimer clock;
    qint64 exportNs = 0, importNs = 0;
    resetPeakMemory();
    {
        Quillmere w;
        w.show();
        const QString picture = m_dir.filePath("picture.bmp");
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                w.on_notifyAddTable(0);
            QVERIFY(numberedPicture(i, size).save(picture));
            TestSupport::answerNextFileDialogWithFile(picture);
            w.slot_picturnButten();
            QVERIFY2(onlyItem(w, i), qPrintable(QString::number(i)));
        }
        QFile::remove(picture);
        QCOMPARE(A::tabWidget(w)->count(), count);
        TestSupport::answerNextFileDialogWithFile(exported);
        clock.start();
        w.slot_outputButten();
        exportNs = clock.nsecsElapsed();
        DataMode::getInstance()->clearDataModel();
    }
    flushDeferredDeletes();
    QCOMPARE(SharedRecord::liveCount(), liveBefore);
    const qint64 fileSize = QFileInfo(exported).size();
    QVERIFY2(fileSize > OsdFile::MaxInMemorySize / 2, qPrintable(QString::number(fileSize)));
    QVERIFY(fileSize > (qint64(1) << 30));
    const qint64 peakAfterExportKiB = statusKiB("VmHWM:");

    resetPeakMemory();
    // Memory the allocator kept from the export's window counts into the peak below.
    const qint64 residentBeforeImportKiB = statusKiB("VmRSS:");
    {
        Quillmere w;
        w.show();
        TestSupport::answerNextFileDialogWithFile(exported);
        clock.start();
        w.slot_inputButten();
        importNs = clock.nsecsElapsed();
        QCOMPARE(A::tabWidget(w)->count(), count);
        for (int i = 0; i < count; ++i) {
            OSDItem *item = onlyItem(w, i);
            QVERIFY(item);
            VideoControlOSD *record = item->videoControlOSD();
            QCOMPARE(record->size(), size);
            int completionWidth = 0;
            const QByteArray expected =
                PublicBase::imageToOsdData(numberedPicture(i, size), &completionWidth);
            QVERIFY2(record->image() == expected, qPrintable(QString::number(i)));
        }
        DataMode::getInstance()->clearDataModel();
    }
    flushDeferredDeletes();
    QCOMPARE(SharedRecord::liveCount(), liveBefore);
    const qint64 peakImportKiB = statusKiB("VmHWM:");

    // The file work on its own against writing and reading the same bytes plainly (an atomic
    // write that reaches the disk, a read into one array per picture). Both alternate, twice, and
    // the faster run of each counts.
    qint64 osdWriteNs = 0, osdReadNs = 0, plainWriteNs = 0, plainReadNs = 0;
    {
        OsdFile::Contents contents;
        QString error;
        QVERIFY2(OsdFile::read(exported, &contents, &error), qPrintable(error));
        const QString again = m_dir.filePath("again.pic");
        const QString plain = m_dir.filePath("plain.bin");
        auto best = [](qint64 &slot, qint64 ns) { slot = slot == 0 ? ns : qMin(slot, ns); };
        for (int round = 0; round < 2; ++round) {
            clock.start();
            QVERIFY2(OsdFile::write(again, contents.records(), contents.sources(), &error),
                     qPrintable(error));
            best(osdWriteNs, clock.nsecsElapsed());

            clock.start();
            QSaveFile out(plain);
            QVERIFY(out.open(QIODevice::WriteOnly));
            for (const VideoControlOSD *r : contents.records())
                QCOMPARE(out.write(r->image()), qint64(r->image().size()));
            QVERIFY(out.commit());
            best(plainWriteNs, clock.nsecsElapsed());

            clock.start();
            {
                OsdFile::Contents read;
                QVERIFY2(OsdFile::read(again, &read, &error), qPrintable(error));
                QCOMPARE(read.count(), count);
            }
            best(osdReadNs, clock.nsecsElapsed());

            clock.start();
            {
                QFile in(plain);
                QVERIFY(in.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
                QList<QByteArray> pieces;
                for (const VideoControlOSD *r : contents.records()) {
                    QByteArray p(r->image().size(), Qt::Uninitialized);
                    QCOMPARE(in.read(p.data(), p.size()), qint64(p.size()));
                    pieces.append(p);
                }
            }
            best(plainReadNs, clock.nsecsElapsed());
        }
        QFile::remove(again);
        QFile::remove(plain);
    }
    QFile::remove(exported);

    qInfo("50 x 3840x2160, file of %.2f GB. Through the window: export %.2f s, import %.2f s. "
          "File work alone: write %.2f s (plain %.2f s, %.2fx), read %.2f s (plain %.2f s, %.2fx), "
          "both %.2fx. Peak resident memory: building + export %.2f GiB, import %.2f GiB (resident before "
          "import %.2f GiB)",
          fileSize / 1e9, exportNs / 1e9, importNs / 1e9, osdWriteNs / 1e9, plainWriteNs / 1e9,
          double(osdWriteNs) / plainWriteNs, osdReadNs / 1e9, plainReadNs / 1e9,
          double(osdReadNs) / plainReadNs, double(osdWriteNs + osdReadNs) / (plainWriteNs + plainReadNs),
          peakAfterExportKiB / 1048576.0, peakImportKiB / 1048576.0, residentBeforeImportKiB / 1048576.0);
    if (peakImportKiB > 0) {
        // Each tab shows its record's pixel data as it is; nothing keeps a decoded copy of the file.
        // The bound leaves room for one more copy and the program itself.
        const double pixelKiB = fileSize / 1024.0;
        QVERIFY2(peakImportKiB < 2.0 * pixelKiB + 200.0 * 1024.0,
                 qPrintable(QStringLiteral("import peak %1 KiB").arg(peakImportKiB)));
    }
}

QTEST_MAIN(TestLoad)
#include "tst_load.moc"
