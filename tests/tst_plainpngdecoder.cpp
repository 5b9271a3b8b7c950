#include "core/pixels/pictureloader.h"
#include "core/pixels/plainpngdecoder.h"
#include "support/core/pictures.h"
#include "support/core/pngbytes.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

using namespace PngBytes;

namespace {

QImage translucent(int width, int height, quint32 seed)
{
    QImage image = TestSupport::randomPicture(width, height, seed).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (image.pixel(x, y) & 0xFFFFFF) | quint32((x * 37 + y * 11) & 0xFF) << 24);
    return image;
}

QByteArray chunkData(const QImage &picture, int channels, const QVector<int> &filters)
{
    return zlib(filteredRows(picture, channels, filters));
}

// A whole file: header, the data in one chunk, extra chunks before and after it.
QByteArray plainFile(const QImage &picture, int channels, const QVector<int> &filters,
                     const QList<QByteArray> &before = {}, const QList<QByteArray> &after = {})
{
    return file(QList<QByteArray>{
                    header(quint32(picture.width()), quint32(picture.height()), 8, channels == 4 ? 6 : 2)} +
                before + QList<QByteArray>{chunk("IDAT", chunkData(picture, channels, filters))} + after +
                QList<QByteArray>{chunk("IEND", {})});
}

QByteArray qtWritten(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

QImage readByQt(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "png");
    return reader.read();
}

// A literal with its zero bytes (keyword and text of a text chunk).
template <size_t N> QByteArray literal(const char (&text)[N])
{
    return QByteArray(text, int(N) - 1);
}

QByteArray nineBytes(qint32 first, qint32 second, char unit)
{
    QByteArray data(8, Qt::Uninitialized);
    qToBigEndian(first, data.data());
    qToBigEndian(second, data.data() + 4);
    return data + unit;
}

// Exactly what Qt gives: format, pixels, and the resolution and offset the file states.
void compareWithQt(const QImage &ours, const QImage &qt)
{
    QVERIFY(!qt.isNull());
    QVERIFY(!ours.isNull());
    QCOMPARE(ours.format(), qt.format());
    QCOMPARE(ours.size(), qt.size());
    // The pixels of each row, not the padding after them.
    const size_t rowBytes = size_t(qt.width()) * size_t(qt.depth()) / 8;
    for (int y = 0; y < qt.height(); ++y)
        QVERIFY2(std::memcmp(ours.constScanLine(y), qt.constScanLine(y), rowBytes) == 0,
                 qPrintable(QStringLiteral("row %1 differs").arg(y)));
    QCOMPARE(ours.dotsPerMeterX(), qt.dotsPerMeterX());
    QCOMPARE(ours.dotsPerMeterY(), qt.dotsPerMeterY());
    QCOMPARE(ours.offset(), qt.offset());
}

} // namespace

class TestPlainPngDecoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void plainFilesDecodeAsQtDecodesThem_data();
    void plainFilesDecodeAsQtDecodesThem();
    void otherFilesAreLeftToQt_data();
    void otherFilesAreLeftToQt();

private:
    QString written(const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(QStringLiteral("%1.png").arg(++m_files)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return QString();
        return f.fileName();
    }

    QTemporaryDir m_dir;
    int m_files = 0;
};

void TestPlainPngDecoder::plainFilesDecodeAsQtDecodesThem_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QImage rgb = TestSupport::randomPicture(37, 23, 1);
    const QImage rgba = translucent(37, 23, 2);
    const char *names[] = {"none", "sub", "up", "average", "Paeth"};
    for (int filter = 0; filter < 5; ++filter) {
        QTest::addRow("rgb, %s", names[filter]) << plainFile(rgb, 3, {filter});
        QTest::addRow("rgba, %s", names[filter]) << plainFile(rgba, 4, {filter});
    }
    QTest::newRow("rgb, every filter by turns") << plainFile(rgb, 3, {4, 0, 3, 1, 2});
    QTest::newRow("one pixel wide") << plainFile(TestSupport::randomPicture(1, 9, 3), 3, {4, 3, 1, 2});
    QTest::newRow("rgba, two pixels wide") << plainFile(translucent(2, 9, 4), 4, {3, 4, 1, 2});
    QTest::newRow("one row") << plainFile(TestSupport::randomPicture(50, 1, 5), 3, {4});

    // The compressed data cut into chunks of 1, 2, 3... bytes.
    const QByteArray data = chunkData(rgb, 3, {4, 1});
    QList<QByteArray> parts{header(37, 23)};
    for (int at = 0, step = 1; at < data.size(); at += step, ++step)
        parts += chunk("IDAT", data.mid(at, step));
    parts += chunk("IEND", {});
    QTest::newRow("data in many chunks") << file(parts);

    QTest::newRow("resolution per metre")
        << plainFile(rgb, 3, {1}, {chunk("pHYs", nineBytes(5000, 2000, 1))});
    QTest::newRow("resolution without a unit")
        << plainFile(rgb, 3, {1}, {chunk("pHYs", nineBytes(5000, 2000, 0))});
    QTest::newRow("offset in pixels") << plainFile(rgb, 3, {1}, {chunk("oFFs", nineBytes(-7, 12, 0))});
    QTest::newRow("offset in micrometres") << plainFile(rgb, 3, {1}, {chunk("oFFs", nineBytes(7, 12, 1))});
    QTest::newRow("text, time and colour-space chunks")
        << plainFile(rgba, 4, {2},
                     {chunk("gAMA", QByteArray::fromHex("0000b18f")), chunk("sRGB", QByteArray(1, '\0')),
                      chunk("tEXt", literal("Title\0a picture")), chunk("zzZz", "private and ancillary")},
                     {chunk("tEXt", literal("Comment\0after the data")), chunk("tIME", QByteArray(7, '\1'))});
    QTest::newRow("suggested palette") << plainFile(rgb, 3, {0}, {chunk("PLTE", QByteArray(9, '\x40'))});

    QImage opaque = TestSupport::randomPicture(301, 77, 6);
    opaque.setDotsPerMeterX(2835);
    opaque.setDotsPerMeterY(3937);
    opaque.setOffset(QPoint(3, -4));
    opaque.setText(QStringLiteral("Description"), QStringLiteral("from Qt's writer"));
    QTest::newRow("Qt's writer, opaque") << qtWritten(opaque);
    QTest::newRow("Qt's writer, translucent") << qtWritten(translucent(301, 77, 7));
}

void TestPlainPngDecoder::plainFilesDecodeAsQtDecodesThem()
{
    QFETCH(QByteArray, bytes);
    const QImage qt = readByQt(bytes);
    compareWithQt(PlainPngDecoder::decode(bytes), qt);
    if (QTest::currentTestFailed())
        return;
    // The loader takes this road and gives the same.
    QString reason;
    compareWithQt(PictureLoader::load(written(bytes), &reason), qt);
}

void TestPlainPngDecoder::otherFilesAreLeftToQt_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QImage rgb = TestSupport::randomPicture(19, 11, 8);
    const QByteArray rows = filteredRows(rgb, 3, {4, 1});
    const QByteArray data = zlib(rows);
    const QByteArray good = plainFile(rgb, 3, {4, 1});
    auto withData = [](const QByteArray &compressed, const QList<QByteArray> &after = {}) {
        return file(QList<QByteArray>{header(19, 11), chunk("IDAT", compressed)} + after +
                    QList<QByteArray>{chunk("IEND", {})});
    };

    // Forms this road does not take; Qt reads them.
    QTest::newRow("grey") << qtWritten(rgb.convertToFormat(QImage::Format_Grayscale8));
    QTest::newRow("palette") << qtWritten(rgb.convertToFormat(QImage::Format_Indexed8));
    QTest::newRow("16 bits") << qtWritten(rgb.convertToFormat(QImage::Format_RGBA64));
    QByteArray interlaced = good;
    interlaced.replace(8, 25, header(19, 11, 8, 2, 1));
    QTest::newRow("interlaced") << interlaced;
    QTest::newRow("transparent colour")
        << plainFile(rgb, 3, {0}, {chunk("tRNS", QByteArray::fromHex("000000000000"))});

    // Damage: whatever Qt makes of it, the loader gives.
    // The last byte of the data chunk's CRC, just before the end chunk.
    QByteArray badCrc = good;
    badCrc[badCrc.size() - 13] = char(badCrc[badCrc.size() - 13] ^ 1);
    QTest::newRow("chunk checksum wrong") << badCrc;
    QByteArray badAdler = data;
    badAdler[badAdler.size() - 1] = char(badAdler[badAdler.size() - 1] ^ 1);
    QTest::newRow("stream checksum wrong") << withData(badAdler);
    QTest::newRow("a row short") << withData(zlib(rows.left(rows.size() - 58)));
    QTest::newRow("a row too many") << withData(zlib(rows + rows.right(58)));
    QTest::newRow("bytes after the stream") << withData(data + "xyz");
    QTest::newRow("stream cut short") << withData(data.left(data.size() / 2));
    QByteArray badFilter = rows;
    badFilter[58 * 3] = 5;
    QTest::newRow("unknown filter") << withData(zlib(badFilter));
    QTest::newRow("chunk between the data chunks")
        << file({header(19, 11), chunk("IDAT", data.left(10)), chunk("tEXt", literal("a\0b")),
                 chunk("IDAT", data.mid(10)), chunk("IEND", {})});
    QTest::newRow("unknown critical chunk") << withData(data, {chunk("ABCD", "x")});
    QTest::newRow("no end") << good.left(good.size() - 12);
    QTest::newRow("bytes after the end") << good + "junk";
    QTest::newRow("header not first")
        << file({chunk("tEXt", literal("a\0b")), header(19, 11), chunk("IDAT", data), chunk("IEND", {})});
    QTest::newRow("no data") << file({header(19, 11), chunk("IEND", {})});
}

void TestPlainPngDecoder::otherFilesAreLeftToQt()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(PlainPngDecoder::decode(bytes).isNull());
    const QImage qt = readByQt(bytes);
    QString reason;
    const QImage loaded = PictureLoader::load(written(bytes), &reason);
    // The loader refuses what Qt cannot read, and gives what Qt reads.
    if (qt.isNull() || qt.size() != QSize(19, 11))
        QVERIFY(loaded.isNull());
    else
        compareWithQt(loaded, qt);
}

QTEST_MAIN(TestPlainPngDecoder)
#include "tst_plainpngdecoder.moc"
