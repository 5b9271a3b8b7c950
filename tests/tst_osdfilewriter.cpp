#include "interfaces/device/osdfile.h"
#include "interfaces/device/osdfilewriter.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "support/core/randomrecords.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

namespace {

struct RecordSet
{
    HeldRecords held;
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;

    RecordSet(quint32 seed, int count)
    {
        QRandomGenerator rng(seed);
        for (int i = 0; i < count; ++i) {
            records.append(randomRecord(rng, held));
            sources.append(rng.bounded(2) ? randomSource(rng, held) : nullptr);
        }
    }

    // The file's length as a writer plans it, from each record's size alone.
    qint64 plannedLength() const
    {
        qint64 total = OsdFile::HeaderSize + OsdFile::TrailerSize;
        for (int i = 0; i < records.size(); ++i) {
            OsdFileError error;
            total += OsdFile::encodedRecordSize(i, records.at(i), sources.at(i), &error);
        }
        return total;
    }
};

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestOsdFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void streamedFileEqualsWrittenFile_data();
    void streamedFileEqualsWrittenFile();
    void offPlanFilesAreNotWritten_data();
    void offPlanFilesAreNotWritten();
};

void TestOsdFileWriter::streamedFileEqualsWrittenFile_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("count");
    QTest::newRow("an empty file") << 1u << 0;
    for (quint32 seed = 2; seed < 8; ++seed)
        QTest::addRow("%d random records and texts", int(seed)) << seed << int(seed);
}

void TestOsdFileWriter::streamedFileEqualsWrittenFile()
{
    QFETCH(quint32, seed);
    QFETCH(int, count);
    const RecordSet set(seed, count);
    QTemporaryDir dir;
    const QString written = dir.filePath(QStringLiteral("written.pic"));
    const QString streamed = dir.filePath(QStringLiteral("streamed.pic"));
    OsdFileError error;
    QVERIFY2(OsdFile::write(written, set.records, set.sources, &error), qPrintable(error.message()));

    // A picture record is planned from its height and completion width before its pixels exist.
    for (int i = 0; i < count; ++i) {
        if (!set.sources.at(i))
            QCOMPARE(OsdFile::pictureRecordSize(set.records.at(i)->size().height(),
                                                set.records.at(i)->completionImageWidth()),
                     OsdFile::encodedRecordSize(i, set.records.at(i), nullptr, &error));
    }

    QSaveFile file(streamed);
    OsdFileWriter writer;
    QVERIFY2(writer.begin(&file, count, set.plannedLength(), &error), qPrintable(error.message()));
    for (int i = 0; i < count; ++i)
        QVERIFY2(writer.append(set.records.at(i), set.sources.at(i), &error), qPrintable(error.message()));
    QVERIFY2(writer.finish(&error), qPrintable(error.message()));

    QCOMPARE(contents(streamed), contents(written));
}

void TestOsdFileWriter::offPlanFilesAreNotWritten_data()
{
    QTest::addColumn<int>("plannedCount");
    QTest::addColumn<qint64>("lengthOff");
    QTest::addColumn<int>("appended");
    QTest::addColumn<bool>("brokenRecord");
    QTest::addColumn<OsdFileError::Code>("code");
    using E = OsdFileError;
    QTest::newRow("a record more than the header states is refused")
        << 2 << qint64(0) << 3 << false << E::MoreRecordsThanStated;
    QTest::newRow("a record past the stated length is refused")
        << 3 << qint64(-1) << 3 << false << E::RecordPastStatedLength;
    QTest::newRow("fewer records than the header states are refused")
        << 3 << qint64(0) << 2 << false << E::FewerRecordsThanStated;
    QTest::newRow("fewer bytes than the header states are refused")
        << 3 << qint64(1) << 3 << false << E::RecordsShortOfStatedLength;
    QTest::newRow("a record the format cannot store is refused")
        << 3 << qint64(0) << 3 << true << E::PixelLengthMismatch;
    QTest::newRow("a length beyond the format's limit is refused")
        << 3 << OsdFile::MaxFileSize << 3 << false << E::FileTooLarge;
    QTest::newRow("a length too short for the count is refused")
        << 1000 << qint64(0) << 3 << false << E::LengthBelowCount;
}

void TestOsdFileWriter::offPlanFilesAreNotWritten()
{
    QFETCH(int, plannedCount);
    QFETCH(qint64, lengthOff);
    QFETCH(int, appended);
    QFETCH(bool, brokenRecord);
    QFETCH(OsdFileError::Code, code);
    const RecordSet set(11, 3);
    const qint64 length = set.plannedLength() + lengthOff;
    if (brokenRecord)
        set.records.at(1)->setImage(set.records.at(1)->image() + QByteArray("!"));
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out.pic"));

    QSaveFile file(target);
    OsdFileWriter writer;
    OsdFileError error;
    bool ok = writer.begin(&file, plannedCount, length, &error);
    for (int i = 0; ok && i < appended; ++i)
        ok = writer.append(set.records.at(i), set.sources.at(i), &error);
    ok = ok && writer.finish(&error);

    QVERIFY(!ok);
    QCOMPARE(writer.failure().code, code);
    QCOMPARE(error.code, code);
    QCOMPARE(error.message(), writer.failure().message());
    // Neither the file nor a temporary one is left behind.
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

QTEST_MAIN(TestOsdFileWriter)
#include "tst_osdfilewriter.moc"
