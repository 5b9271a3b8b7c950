// Heavy load tests, the only ones of the suite that measure time or memory: import and reading
// time against the number of records, memory over repeated large pictures, an OSD file above 2 GiB,
// and 50 tabs of 3840 x 2160 pictures exported and imported again through the main window with
// their peak memory.
//
// They need several GB of memory and disk and a minute or more; they run only with
// BRISKLANE_HEAVY=1 (scripts/test.sh sets it for one run of this program) and skip otherwise:
//   BRISKLANE_HEAVY=1 QT_QPA_PLATFORM=offscreen build/test/tests/tst_loadheavy
#include "core/pixels/publicbase.h"
#include "interfaces/device/control.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/importing.h"
#include "support/loadfixture.h"
#include "support/quillmereaccess.h"
#include "support/records.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/tablewidgetex.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QStorageInfo>
#include <QtTest>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstring>
#include <limits>

using A = QuillmereTestAccess;
using TestSupport::flushDeferredDeletes;
using TestSupport::importFile;
using TestSupport::onlyItem;
using TestSupport::recordPicture;
using TestSupport::Records;
using TestSupport::writeSmallRecords;

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

} // namespace

class TestLoadHeavy : public LoadFixture
{
    Q_OBJECT

private slots:
    // BRISKLANE_HEAVY=1. Times and memory figures are measured only here.
    void importTimeOf300AgainstOf100Records();
    void readingTimeGrowsLinearly();
    void replacingLargePictureKeepsMemoryFlat();
    void fileAbove2GiBRoundTrips();
    void fiftyTabsOf4kPicturesExportAndImport();
};

// Heavy, as it reports a time: an import of 300 records against one of 100. Qt's tab bar lays
// every tab out again for each closable tab added, so this grows faster than the number of
// records (see docs/reliability.md).
void TestLoadHeavy::importTimeOf300AgainstOf100Records()
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
        QCOMPARE(TestSupport::tabList(w)->count(), 100);
        // The file dialog adds a few milliseconds of its own.
        TestSupport::answerNextFileDialogWithFile(path);
        clock.start();
        w.slot_inputButten();
        QCoreApplication::processEvents();
        ns300 = clock.nsecsElapsed();
        QCOMPARE(TestSupport::tabList(w)->count(), 300);
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
void TestLoadHeavy::readingTimeGrowsLinearly()
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

// A tab's 3840 x 2160 picture replaced a hundred times through the picture button: resident memory
// grows by no more than the undo history's budget (tst_items checks that the replaced items and records
// go; this checks that nothing else piles up).
void TestLoadHeavy::replacingLargePictureKeepsMemoryFlat()
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
        // The history holds the replaced pictures up to its budget, and no more.
        const qint64 budget = A::undoBudget(w);
        QVERIFY2(w.historyBytes() <= budget, qPrintable(QString::number(w.historyBytes())));
        DataMode::getInstance()->clearDataModel();
        if (rssAfterFirst < 0 || rssAfterAll < 0)
            QSKIP("no /proc/self/status here");
        const qint64 growthMiB = (rssAfterAll - rssAfterFirst) / 1024;
        qInfo("resident memory after 1 picture: %lld MiB, after %d: %lld MiB", rssAfterFirst / 1024, rounds,
              rssAfterAll / 1024);
        QVERIFY2(growthMiB < budget / (1024 * 1024) + 100,
                 qPrintable(QStringLiteral("grew by %1 MiB").arg(growthMiB)));
    }
    QFile::remove(path);
}

// Two records of a little more than 1 GiB each: every offset and length beyond 2^31 must be
// carried in 64 bits on the way out and in.
void TestLoadHeavy::fileAbove2GiBRoundTrips()
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
        OsdFileError error;
        QVERIFY2(OsdFile::write(path, made.records, made.sources, &error), qPrintable(error.message()));
        QVERIFY(QFileInfo(path).size() > (qint64(2) << 30));

        OsdFile::Contents contents;
        QVERIFY2(OsdFile::read(path, &contents, &error), qPrintable(error.message()));
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
void TestLoadHeavy::fiftyTabsOf4kPicturesExportAndImport()
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
            QVERIFY(recordPicture(i, size).save(picture));
            TestSupport::answerNextFileDialogWithFile(picture);
            w.slot_picturnButten();
            QVERIFY2(onlyItem(w, i), qPrintable(QString::number(i)));
        }
        QFile::remove(picture);
        QCOMPARE(TestSupport::tabList(w)->count(), count);
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
        QCOMPARE(TestSupport::tabList(w)->count(), count);
        for (int i = 0; i < count; ++i) {
            OSDItem *item = onlyItem(w, i);
            QVERIFY(item);
            VideoControlOSD *record = item->videoControlOSD();
            QCOMPARE(record->size(), size);
            int completionWidth = 0;
            const QByteArray expected = PublicBase::imageToOsdData(recordPicture(i, size), &completionWidth);
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
        OsdFileError error;
        QVERIFY2(OsdFile::read(exported, &contents, &error), qPrintable(error.message()));
        const QString again = m_dir.filePath("again.pic");
        const QString plain = m_dir.filePath("plain.bin");
        auto best = [](qint64 &slot, qint64 ns) { slot = slot == 0 ? ns : qMin(slot, ns); };
        for (int round = 0; round < 2; ++round) {
            clock.start();
            QVERIFY2(OsdFile::write(again, contents.records(), contents.sources(), &error),
                     qPrintable(error.message()));
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
                QVERIFY2(OsdFile::read(again, &read, &error), qPrintable(error.message()));
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

QTEST_MAIN(TestLoadHeavy)
#include "tst_loadheavy.moc"
