// The checksum of OSD files against its bit-by-bit definition, on the folding road and on the
// table road, for every length around the block sizes, every alignment and pieces of any size.
#include "interfaces/device/crc32.h"
#include "support/core/instructionlevels.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QtTest>

namespace {

// The definition: one bit at a time.
quint32 referenceCrc32(const uchar *data, qint64 size, quint32 crc = 0)
{
    crc = ~crc;
    for (qint64 i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

QByteArray randomBytes(QRandomGenerator &random, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

} // namespace

class TestCrc32 : public QObject
{
    Q_OBJECT
private slots:
    // Every test on the table road and on the folding road.
    void initTestCase_data()
    {
        TestSupport::addInstructionLevelColumns();
        TestSupport::addInstructionLevelRow(CpuFeatures::Level::Portable);
        TestSupport::addInstructionLevelRow(CpuFeatures::Level::Ssse3);
    }
    void init();
    void cleanup() { TestSupport::releaseInstructionLevel(); }

    void knownValues_data();
    void knownValues();
    void everyLengthAndAlignment();
    void piecesContinueTheChecksum_data();
    void piecesContinueTheChecksum();
    void largeBuffer();
};

void TestCrc32::init()
{
    const QString lacking = TestSupport::useRowInstructionLevel();
    if (!lacking.isEmpty())
        QSKIP(qPrintable(lacking));
    if (CpuFeatures::level() != CpuFeatures::Level::Portable && !CpuFeatures::carrylessMultiply())
        QSKIP("this processor (or QT_NO_CPU_FEATURE) gives no PCLMULQDQ");
}

void TestCrc32::knownValues_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("crc");
    QTest::newRow("empty") << QByteArray() << 0u;
    QTest::newRow("check value") << QByteArray("123456789") << 0xCBF43926u;
    QTest::newRow("one zero byte") << QByteArray(1, '\0') << 0xD202EF8Du;
    QTest::newRow("64 zero bytes") << QByteArray(64, '\0') << 0x758D6336u;
    QTest::newRow("4096 bytes 0xff") << QByteArray(4096, '\xff') << 0xF154670Au;
}

void TestCrc32::knownValues()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, crc);
    QCOMPARE(Crc32::compute(bytes.constData(), bytes.size()), crc);
    QCOMPARE(Crc32::computeWithTables(bytes.constData(), bytes.size()), crc);
}

// Lengths below, at and above the 16- and 64-byte blocks, from every start within 16 bytes.
void TestCrc32::everyLengthAndAlignment()
{
    QRandomGenerator random(11);
    const QByteArray buffer = randomBytes(random, 600);
    const auto *bytes = reinterpret_cast<const uchar *>(buffer.constData());
    for (int offset = 0; offset < 16; ++offset) {
        for (int size = 0; size + offset <= 560; ++size) {
            const quint32 expected = referenceCrc32(bytes + offset, size);
            const char *start = buffer.constData() + offset;
            if (Crc32::compute(start, size) != expected || Crc32::computeWithTables(start, size) != expected)
                QFAIL(qPrintable(QStringLiteral("offset %1, %2 bytes").arg(offset).arg(size)));
        }
    }
}

void TestCrc32::piecesContinueTheChecksum_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("piece");
    QTest::newRow("single bytes") << 200 << 1;
    QTest::newRow("odd pieces") << 5000 << 37;
    QTest::newRow("pieces of a block") << 5000 << 64;
    QTest::newRow("pieces just over a block") << 5000 << 65;
    QTest::newRow("large pieces") << 100000 << 4099;
}

void TestCrc32::piecesContinueTheChecksum()
{
    QFETCH(int, size);
    QFETCH(int, piece);
    QRandomGenerator random(quint32(size + piece));
    const QByteArray data = randomBytes(random, size);
    const quint32 expected = referenceCrc32(reinterpret_cast<const uchar *>(data.constData()), size);
    quint32 crc = 0;
    for (int at = 0; at < size; at += piece)
        crc = Crc32::compute(data.constData() + at, qMin(piece, size - at), crc);
    QCOMPARE(crc, expected);
    QCOMPARE(Crc32::compute(data.constData(), size), expected);
}

void TestCrc32::largeBuffer()
{
    QRandomGenerator random(5);
    const QByteArray data = randomBytes(random, 3 << 20);
    const quint32 expected = referenceCrc32(reinterpret_cast<const uchar *>(data.constData()), data.size());
    QCOMPARE(Crc32::compute(data.constData(), data.size()), expected);
    QCOMPARE(Crc32::computeWithTables(data.constData(), data.size()), expected);
}

QTEST_GUILESS_MAIN(TestCrc32)
#include "tst_crc32.moc"
