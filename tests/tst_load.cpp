// Load: imports beyond the interactive limit and OSD files larger than the old 1 GiB limit. The
// heavy load tests, which measure time and memory, are in tst_loadheavy.cpp.
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
#include "support/records.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/styled/tablewidgetex.h"

#include <QApplication>
#include <QFile>
#include <QUndoStack>
#include <QtTest>

using TestSupport::flushDeferredDeletes;
using TestSupport::Records;
using TestSupport::writeSmallRecords;

namespace {

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
             qPrintable(path));
}

} // namespace

class TestLoad : public LoadFixture
{
    Q_OBJECT

private slots:
    void importBeyondTheInteractiveLimit();
    void filesAboveTheLimitAreRefusedUnread();
    void streamedReadMatchesDecode();
};

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
        TestSupport::importFile(w, m_dir.filePath("hundred.pic"));
        QCOMPARE(TestSupport::tabList(w)->count(), 100);
        TestSupport::answerNextFileDialogWithFile(path);
        w.slot_inputButten();
        QCoreApplication::processEvents();

        TableWidgetEx *tabs = TestSupport::tabList(w);
        QCOMPARE(tabs->count(), count);
        QCOMPARE(tabs->currentIndex(), count - 1);
        QCOMPARE(DataMode::getInstance()->getOSDInfos().size(), count);
        for (int i = 0; i < count; ++i) {
            OSDItem *item = TestSupport::onlyItem(w, i);
            QVERIFY2(item, qPrintable(QString::number(i)));
            QCOMPARE(item->pos(), QPointF(i, -i));
            QCOMPARE(item->sourceData() != nullptr, i % 7 == 3);
            QCOMPARE(item->videoControlOSD(), DataMode::getInstance()->getOSDInfos().at(i));
            QCOMPARE(item->image().convertToFormat(QImage::Format_RGB32),
                     TestSupport::recordPicture(i, QSize(32, 8)));
        }
        // Every record and text source is held by its item and the data model, nothing more, once
        // the undo history lets go of the list before the import.
        w.undoStack()->clear();
        flushDeferredDeletes();
        QCOMPARE(SharedRecord::liveCount() - liveBefore, count + (count + 3) / 7);
        DataMode::getInstance()->clearDataModel();
    }
    flushDeferredDeletes();
    QCOMPARE(SharedRecord::liveCount(), liveBefore);
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
    OsdFileError error;
    QVERIFY(!OsdFile::read(huge, &contents, &error));
    QVERIFY2(error.message().contains(QString::fromUtf8("文件过大")), qPrintable(error.message()));
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
    QVERIFY2(error.message().contains(QString::fromUtf8("多余数据")), qPrintable(error.message()));
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
    OsdFileError error;
    QVERIFY2(OsdFile::write(path, made.records, made.sources, &error), qPrintable(error.message()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    OsdFile::Contents fromFile, fromMemory;
    QVERIFY2(OsdFile::read(path, &fromFile, &error), qPrintable(error.message()));
    QVERIFY2(OsdFile::decode(bytes, &fromMemory, &error), qPrintable(error.message()));
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
        QVERIFY2(error.message().contains(QString::fromUtf8("校验和不符")), qPrintable(error.message()));
        QCOMPARE(fromFile.count(), 0);
        QVERIFY(!OsdFile::decode(damaged, &fromMemory, &error));
        QVERIFY2(error.message().contains(QString::fromUtf8("校验和不符")), qPrintable(error.message()));
    }
    writeFileBytes(path, bytes.left(bytes.size() - piece));
    QVERIFY(!OsdFile::read(path, &fromFile, &error));
    QVERIFY2(error.message().contains(QString::fromUtf8("文件已截断")), qPrintable(error.message()));
    QFile::remove(path);
}

QTEST_MAIN(TestLoad)
#include "tst_load.moc"
