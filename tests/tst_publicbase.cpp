#include "core/pixels/publicbase.h"
#include "support/core/instructionlevels.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QtTest>

#include <climits>
#include <memory>

namespace {

// The conversions read literally, pixel by pixel, as the reference for the fast ones.
namespace Literal {

int readBytes(const QByteArray &data, int pos, int count, int *nextPos)
{
    *nextPos = int(qBound<qint64>(INT_MIN, qint64(pos) + count, INT_MAX));
    if (count <= 0 || pos < 0 || qint64(pos) + count > data.size())
        return 0;
    quint64 sum = 0;
    quint64 weight = 1;
    for (int k = 0; k < count; ++k) {
        sum += quint64(uchar(data.at(pos + k))) * weight;
        weight *= 256;
    }
    return int(quint32(sum));
}

QByteArray imageToOsdData(const QImage &image, int *completionWidth)
{
    *completionWidth = image.isNull() ? 0 : image.width();
    QByteArray data;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            data.append(char(p & 0xFF)).append(char((p >> 8) & 0xFF)).append(char((p >> 16) & 0xFF));
        }
    }
    return data;
}

QImage osdDataToImage(const QByteArray &data, int width, int height, int completionWidth)
{
    if (data.isEmpty() || width <= 0 || height <= 0)
        return QImage();
    QImage image(width, height, QImage::Format_RGBA8888);
    // Columns that the data does not reach stay opaque black.
    image.fill(QColor(0, 0, 0));
    int pos = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < completionWidth; ++x) {
            const int b = readBytes(data, pos, 1, &pos);
            const int g = readBytes(data, pos, 1, &pos);
            const int r = readBytes(data, pos, 1, &pos);
            if (x < width)
                image.setPixel(x, y, qRgba(r, g, b, 255));
        }
    }
    return image;
}

} // namespace Literal

// QImage::pixel warns about every index beyond an indexed image's colour table; the literal
// reference reads thousands of them on purpose.
class QuietIndexWarnings
{
public:
    QuietIndexWarnings() { s_previous = qInstallMessageHandler(handler); }
    ~QuietIndexWarnings() { qInstallMessageHandler(s_previous); }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (!message.startsWith("QImage::pixel: color table index"))
            s_previous(type, context, message);
    }
    static QtMessageHandler s_previous;
};
QtMessageHandler QuietIndexWarnings::s_previous = nullptr;

QByteArray literalOsdData(const QImage &image, int *completionWidth)
{
    QuietIndexWarnings quiet;
    return Literal::imageToOsdData(image, completionWidth);
}

// Random bits in every byte of every scan line (also the padding), and for indexed formats a
// colour table of random length, often shorter than the indices used.
QImage randomImage(QImage::Format format, int w, int h, QRandomGenerator &rng)
{
    QImage image(w, h, format);
    for (int y = 0; y < h; ++y) {
        uchar *line = image.scanLine(y);
        for (int i = 0; i < image.bytesPerLine(); ++i)
            line[i] = uchar(rng.bounded(256));
    }
    if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono ||
        format == QImage::Format_MonoLSB) {
        const int maxColors = format == QImage::Format_Indexed8 ? 256 : 2;
        QVector<QRgb> table(rng.bounded(maxColors + 1));
        for (QRgb &c : table)
            c = rng.generate();
        image.setColorTable(table);
    }
    return image;
}

const QImage::Format allFormats[] = {
    QImage::Format_Mono,
    QImage::Format_MonoLSB,
    QImage::Format_Indexed8,
    QImage::Format_RGB32,
    QImage::Format_ARGB32,
    QImage::Format_ARGB32_Premultiplied,
    QImage::Format_RGB16,
    QImage::Format_ARGB8565_Premultiplied,
    QImage::Format_RGB666,
    QImage::Format_ARGB6666_Premultiplied,
    QImage::Format_RGB555,
    QImage::Format_ARGB8555_Premultiplied,
    QImage::Format_RGB888,
    QImage::Format_RGB444,
    QImage::Format_ARGB4444_Premultiplied,
    QImage::Format_RGBX8888,
    QImage::Format_RGBA8888,
    QImage::Format_RGBA8888_Premultiplied,
    QImage::Format_BGR30,
    QImage::Format_A2BGR30_Premultiplied,
    QImage::Format_RGB30,
    QImage::Format_A2RGB30_Premultiplied,
    QImage::Format_Alpha8,
    QImage::Format_Grayscale8,
    QImage::Format_Grayscale16,
    QImage::Format_RGBX64,
    QImage::Format_RGBA64,
    QImage::Format_RGBA64_Premultiplied,
    QImage::Format_BGR888,
};

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray imageBytes(const QImage &image)
{
    QByteArray bytes;
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * 4);
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(QImage::Format)

class TestPublicBase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void cleanup() { TestSupport::releaseInstructionLevel(); }

    void specExamples();
    void nullImageGivesNoData();

    void sameBytesAsPixelForEveryFormat_data();
    void sameBytesAsPixelForEveryFormat();
    void scanLinesWithOddStrideAndSubImages_data();
    void scanLinesWithOddStrideAndSubImages();
    void roundTripIsOpaqueWithSameColours_data();
    void roundTripIsOpaqueWithSameColours();

    void osdDataToImageMatchesLiteral_data();
    void osdDataToImageMatchesLiteral();
    void osdDataToImageRefusesBadSizes_data();
    void osdDataToImageRefusesBadSizes();

    void readBytesMatchesLiteral_data();
    void readBytesMatchesLiteral();

    void osdDataIntoGivenArray();

    void everyRunLengthAndRowStart_data();
    void everyRunLengthAndRowStart();
    void osdDataToImageEveryWidth();
    void largeImagesBothWays();
};

// The loops come in several builds (plain, SSSE3, AVX2, with and without streaming stores): every
// test runs on each of them.
void TestPublicBase::initTestCase_data()
{
    using Level = CpuFeatures::Level;
    using Streaming = CpuFeatures::Streaming;
    TestSupport::addInstructionLevelColumns();
    TestSupport::addInstructionLevelRow(Level::Portable);
    TestSupport::addInstructionLevelRow(Level::Ssse3, Streaming::Never);
    TestSupport::addInstructionLevelRow(Level::Ssse3, Streaming::Always);
    TestSupport::addInstructionLevelRow(Level::Avx2);
    TestSupport::addInstructionLevelRow(Level::Avx2, Streaming::Always);
}

void TestPublicBase::init()
{
    const QString lacking = TestSupport::useRowInstructionLevel();
    if (!lacking.isEmpty())
        QSKIP(qPrintable(lacking));
}

void TestPublicBase::specExamples()
{
    QImage redBlue(2, 1, QImage::Format_ARGB32);
    redBlue.setPixel(0, 0, qRgb(255, 0, 0));
    redBlue.setPixel(1, 0, qRgb(0, 0, 255));
    int cw = -1;
    QCOMPARE(PublicBase::imageToOsdData(redBlue, &cw), hex("0000ffff0000"));
    QCOMPARE(cw, 2);

    for (QImage::Format format :
         {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGBA8888}) {
        QImage transparent(1, 1, format);
        transparent.fill(Qt::transparent);
        QCOMPARE(PublicBase::imageToOsdData(transparent, &cw), hex("000000"));
        QCOMPARE(cw, 1);
    }

    const QByteArray six = hex("010203040506");
    std::unique_ptr<QImage> tall(PublicBase::osdDataToImage(six, 1, 2, 1));
    QVERIFY(tall);
    QCOMPARE(tall->format(), QImage::Format_RGBA8888);
    QCOMPARE(tall->pixel(0, 0), qRgba(3, 2, 1, 255));
    QCOMPARE(tall->pixel(0, 1), qRgba(6, 5, 4, 255));
    std::unique_ptr<QImage> skipped(PublicBase::osdDataToImage(six, 1, 1, 2));
    QCOMPARE(skipped->size(), QSize(1, 1));
    QCOMPARE(skipped->pixel(0, 0), qRgba(3, 2, 1, 255));

    std::unique_ptr<QImage> shortData(PublicBase::osdDataToImage(hex("0a0b0c"), 2, 1, 2));
    QCOMPARE(shortData->pixel(0, 0), qRgba(0x0c, 0x0b, 0x0a, 255));
    QCOMPARE(shortData->pixel(1, 0), qRgba(0, 0, 0, 255));

    QVERIFY(PublicBase::osdDataToImage(QByteArray(), 2, 1, 2) == nullptr);

    int next = 0;
    QCOMPARE(PublicBase::readBytes(hex("0102030405"), 4, 2, &next), 0);
    QCOMPARE(next, 6);
}

void TestPublicBase::nullImageGivesNoData()
{
    int cw = -1;
    QVERIFY(PublicBase::imageToOsdData(QImage(), &cw).isEmpty());
    QCOMPARE(cw, 0);
    // The out parameter is optional.
    QCOMPARE(PublicBase::imageToOsdData(QImage(1, 1, QImage::Format_RGB32), nullptr).size(), 3);
}

void TestPublicBase::sameBytesAsPixelForEveryFormat_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<quint32>("seed");
    const QSize sizes[] = {{1, 1}, {1, 9}, {9, 1}, {13, 7}, {17, 3}, {33, 5}, {8, 2}, {64, 3}, {2000, 70}};
    quint32 seed = 1;
    for (QImage::Format format : allFormats) {
        for (const QSize &size : sizes) {
            QTest::addRow("format %d, %dx%d", int(format), size.width(), size.height())
                << format << size << seed++;
        }
    }
}

void TestPublicBase::sameBytesAsPixelForEveryFormat()
{
    QFETCH(QImage::Format, format);
    QFETCH(QSize, size);
    QFETCH(quint32, seed);
    QRandomGenerator rng(seed);
    // A few images per case, so that short colour tables and all bit patterns come up.
    for (int round = 0; round < 3; ++round) {
        const QImage image = randomImage(format, size.width(), size.height(), rng);
        int expectedCw = -1;
        const QByteArray expected = literalOsdData(image, &expectedCw);
        int cw = -1;
        const QByteArray actual = PublicBase::imageToOsdData(image, &cw);
        QCOMPARE(cw, expectedCw);
        QCOMPARE(actual.size(), expected.size());
        if (actual != expected) {
            for (int i = 0; i < actual.size(); ++i) {
                if (actual.at(i) != expected.at(i)) {
                    const int pixel = i / 3;
                    QFAIL(qPrintable(
                        QStringLiteral("first difference at pixel (%1, %2), byte %3: %4 instead of %5")
                            .arg(pixel % size.width())
                            .arg(pixel / size.width())
                            .arg(i % 3)
                            .arg(uchar(actual.at(i)))
                            .arg(uchar(expected.at(i)))));
                }
            }
        }
    }
}

// Images whose scan lines are not where a freshly made image would have them: a buffer with a
// stride that is no multiple of 4, and a copy of a part of a larger image.
void TestPublicBase::scanLinesWithOddStrideAndSubImages_data()
{
    QTest::addColumn<QImage::Format>("format");
    for (QImage::Format format : allFormats)
        QTest::addRow("format %d", int(format)) << format;
}

void TestPublicBase::scanLinesWithOddStrideAndSubImages()
{
    QFETCH(QImage::Format, format);
    QRandomGenerator rng(uint(format) + 1000);
    const int w = 21;
    const int h = 6;
    const int depth = QImage(1, 1, format).depth();
    const int stride = (w * depth + 7) / 8 + 3;
    QByteArray buffer(stride * h + 1, Qt::Uninitialized);
    for (char &c : buffer)
        c = char(rng.bounded(256));
    // One byte in, so the scan lines are not aligned either.
    QImage wrapped(reinterpret_cast<const uchar *>(buffer.constData()) + 1, w, h, stride, format);
    if (wrapped.colorCount() == 0 && depth <= 8)
        wrapped.setColorTable({0xff102030, 0x80405060, 0x00708090});
    int cw = 0;
    int expectedCw = 0;
    QCOMPARE(PublicBase::imageToOsdData(wrapped, &cw), literalOsdData(wrapped, &expectedCw));
    QCOMPARE(cw, expectedCw);

    const QImage part = randomImage(format, 40, 9, rng).copy(3, 2, 29, 5);
    QCOMPARE(PublicBase::imageToOsdData(part, &cw), literalOsdData(part, &expectedCw));
}

void TestPublicBase::roundTripIsOpaqueWithSameColours_data()
{
    sameBytesAsPixelForEveryFormat_data();
}

void TestPublicBase::roundTripIsOpaqueWithSameColours()
{
    QFETCH(QImage::Format, format);
    QFETCH(QSize, size);
    QFETCH(quint32, seed);
    QRandomGenerator rng(seed);
    const QImage image = randomImage(format, size.width(), size.height(), rng);
    int cw = 0;
    const QByteArray data = PublicBase::imageToOsdData(image, &cw);
    std::unique_ptr<QImage> back(PublicBase::osdDataToImage(data, image.width(), image.height(), cw));
    QVERIFY(back);
    QCOMPARE(back->size(), image.size());
    QuietIndexWarnings quiet;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (back->pixel(x, y) != (image.pixel(x, y) | 0xFF000000u))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) differs").arg(x).arg(y)));
        }
    }
}

void TestPublicBase::osdDataToImageMatchesLiteral_data()
{
    QTest::addColumn<int>("dataLength");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("completionWidth");
    QTest::newRow("exact") << 13 * 7 * 3 << 13 << 7 << 13;
    QTest::newRow("exact, one column") << 9 * 3 << 1 << 9 << 1;
    QTest::newRow("exact, one row") << 33 * 3 << 33 << 1 << 33;
    QTest::newRow("exact, large") << 1001 * 67 * 3 << 1001 << 67 << 1001;
    QTest::newRow("longer data") << 17 * 3 * 3 + 50 << 17 << 3 << 17;
    QTest::newRow("wider rows are cut") << 20 * 5 * 3 << 13 << 5 << 20;
    QTest::newRow("narrower rows leave black") << 9 * 5 * 3 << 13 << 5 << 9;
    QTest::newRow("zero completion width") << 30 << 4 << 4 << 0;
    QTest::newRow("negative completion width") << 30 << 4 << 4 << -3;
    QTest::newRow("ends inside a pixel") << 13 * 3 * 3 + 4 << 13 << 7 << 13;
    QTest::newRow("ends inside a hidden column") << 20 * 2 * 3 + 40 << 13 << 5 << 20;
    QTest::newRow("ends at a row's shown part") << 20 * 2 * 3 + 13 * 3 << 13 << 5 << 20;
    QTest::newRow("narrower and short") << 9 * 2 * 3 + 5 << 13 << 5 << 9;
    QTest::newRow("one byte") << 1 << 5 << 3 << 5;
    QTest::newRow("two bytes, 1x1") << 2 << 1 << 1 << 1;
}

void TestPublicBase::osdDataToImageMatchesLiteral()
{
    QFETCH(int, dataLength);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, completionWidth);
    QRandomGenerator rng(uint(dataLength * 31 + width));
    QByteArray data(dataLength, Qt::Uninitialized);
    for (char &c : data)
        c = char(rng.bounded(256));
    const QImage expected = Literal::osdDataToImage(data, width, height, completionWidth);
    std::unique_ptr<QImage> actual(PublicBase::osdDataToImage(data, width, height, completionWidth));
    QVERIFY(actual);
    QCOMPARE(actual->format(), QImage::Format_RGBA8888);
    QCOMPARE(actual->size(), QSize(width, height));
    QCOMPARE(imageBytes(*actual).toHex(), imageBytes(expected).toHex());
}

void TestPublicBase::osdDataToImageRefusesBadSizes_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("completionWidth");
    QTest::newRow("zero width") << 0 << 5 << 0;
    QTest::newRow("zero height") << 5 << 0 << 5;
    QTest::newRow("negative width") << -4 << 5 << 4;
    QTest::newRow("negative height") << 4 << -5 << 4;
    QTest::newRow("too large") << 100000 << 100000 << 100000;
    QTest::newRow("overflowing") << INT_MAX << INT_MAX << INT_MAX;
}

void TestPublicBase::osdDataToImageRefusesBadSizes()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, completionWidth);
    QVERIFY(PublicBase::osdDataToImage(QByteArray(30, 'x'), width, height, completionWidth) == nullptr);
}

void TestPublicBase::readBytesMatchesLiteral_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("count");
    QTest::newRow("one byte") << 0 << 1;
    QTest::newRow("two bytes") << 3 << 2;
    QTest::newRow("three bytes") << 1 << 3;
    QTest::newRow("four bytes, top bit set") << 4 << 4;
    QTest::newRow("five bytes") << 2 << 5;
    QTest::newRow("all eight") << 0 << 8;
    QTest::newRow("last byte") << 7 << 1;
    QTest::newRow("one past the end") << 7 << 2;
    QTest::newRow("at the end") << 8 << 1;
    QTest::newRow("count zero") << 2 << 0;
    QTest::newRow("count negative") << 2 << -1;
    QTest::newRow("negative position") << -1 << 2;
    QTest::newRow("position overflowing") << INT_MAX << 2;
    QTest::newRow("negative and large") << INT_MIN << -1;
}

void TestPublicBase::readBytesMatchesLiteral()
{
    QFETCH(int, pos);
    QFETCH(int, count);
    const QByteArray data = hex("11f2334455667788");
    int expectedNext = 0;
    const int expected = Literal::readBytes(data, pos, count, &expectedNext);
    int next = 12345;
    QCOMPARE(PublicBase::readBytes(data, pos, count, &next), expected);
    QCOMPARE(next, expectedNext);
    QCOMPARE(PublicBase::readBytes(data, pos, count, nullptr), expected);
    if (pos == 4 && count == 4)
        QCOMPARE(expected, int(0x88776655u));
}

// Written into the given array's own memory when it has the right size and nothing shares it;
// otherwise into new memory, leaving the other holders' bytes alone.
void TestPublicBase::osdDataIntoGivenArray()
{
    QRandomGenerator rng(123);
    const QImage image = randomImage(QImage::Format_ARGB32, 23, 7, rng);
    int expectedCw = 0;
    const QByteArray expected = literalOsdData(image, &expectedCw);

    QByteArray free(expected.size(), 'x');
    const char *memory = free.constData();
    int cw = -1;
    PublicBase::imageToOsdData(image, &cw, &free);
    QCOMPARE(free, expected);
    QCOMPARE(cw, expectedCw);
    QCOMPARE(free.constData(), memory);

    QByteArray shared(expected.size(), 'y');
    const QByteArray otherHolder = shared;
    PublicBase::imageToOsdData(image, &cw, &shared);
    QCOMPARE(shared, expected);
    QCOMPARE(otherHolder, QByteArray(expected.size(), 'y'));

    QByteArray tooShort(5, 'z');
    PublicBase::imageToOsdData(image, &cw, &tooShort);
    QCOMPARE(tooShort, expected);

    PublicBase::imageToOsdData(QImage(), &cw, &tooShort);
    QVERIFY(tooShort.isEmpty());
    QCOMPARE(cw, 0);
}

// The fast loops take blocks of 8, 16 and 32 pixels and, for streaming stores, first align their
// output: every run length from 1 to 67 pixels, as one run (rows without padding) and as rows that
// start at every offset (padded rows, one byte off alignment).
void TestPublicBase::everyRunLengthAndRowStart_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<bool>("padded");
    const QImage::Format formats[] = {
        QImage::Format_RGB32,    QImage::Format_ARGB32,   QImage::Format_ARGB32_Premultiplied,
        QImage::Format_RGBX8888, QImage::Format_RGBA8888, QImage::Format_RGBA8888_Premultiplied,
        QImage::Format_RGB888,   QImage::Format_BGR888,
    };
    for (QImage::Format format : formats) {
        QTest::addRow("format %d, packed rows", int(format)) << format << false;
        QTest::addRow("format %d, padded rows", int(format)) << format << true;
    }
}

void TestPublicBase::everyRunLengthAndRowStart()
{
    QFETCH(QImage::Format, format);
    QFETCH(bool, padded);
    QRandomGenerator rng(uint(format) * 2 + padded);
    const int bytesPerPixel = QImage(1, 1, format).depth() / 8;
    for (int w = 1; w <= 67; ++w) {
        for (int h : {1, 3, 7}) {
            QImage image;
            QByteArray buffer;
            if (padded) {
                const int stride = w * bytesPerPixel + 5;
                buffer = QByteArray(stride * h + 1, Qt::Uninitialized);
                for (char &c : buffer)
                    c = char(rng.bounded(256));
                image = QImage(reinterpret_cast<const uchar *>(buffer.constData()) + 1, w, h, stride, format);
            } else {
                image = randomImage(format, w, h, rng);
            }
            int cw = 0;
            int expectedCw = 0;
            const QByteArray actual = PublicBase::imageToOsdData(image, &cw);
            if (actual != literalOsdData(image, &expectedCw) || cw != expectedCw)
                QFAIL(qPrintable(QStringLiteral("%1x%2 differs").arg(w).arg(h)));
        }
    }
}

// Every width from 1 to 67, with stored rows as wide as the image (one run), wider and narrower.
void TestPublicBase::osdDataToImageEveryWidth()
{
    QRandomGenerator rng(77);
    for (int width = 1; width <= 67; ++width) {
        for (int height : {1, 2, 5}) {
            for (int extra : {0, 1, 3, -1}) {
                const int completionWidth = width + extra;
                if (completionWidth <= 0)
                    continue;
                QByteArray data(completionWidth * height * 3, Qt::Uninitialized);
                for (char &c : data)
                    c = char(rng.bounded(256));
                const QImage expected = Literal::osdDataToImage(data, width, height, completionWidth);
                std::unique_ptr<QImage> actual(
                    PublicBase::osdDataToImage(data, width, height, completionWidth));
                QVERIFY(actual);
                if (imageBytes(*actual) != imageBytes(expected))
                    QFAIL(qPrintable(QStringLiteral("width %1, height %2, completion width %3 differ")
                                         .arg(width)
                                         .arg(height)
                                         .arg(completionWidth)));
            }
        }
    }
}

// Outputs above 16 MiB take the streaming stores whatever the settings.
void TestPublicBase::largeImagesBothWays()
{
    QRandomGenerator rng(99);
    const QImage image = randomImage(QImage::Format_ARGB32, 2403, 2401, rng);
    int cw = 0;
    int expectedCw = 0;
    const QByteArray data = PublicBase::imageToOsdData(image, &cw);
    QVERIFY(data == literalOsdData(image, &expectedCw));
    QCOMPARE(cw, expectedCw);

    std::unique_ptr<QImage> back(PublicBase::osdDataToImage(data, image.width(), image.height(), cw));
    QVERIFY(back);
    QVERIFY(imageBytes(*back) ==
            imageBytes(Literal::osdDataToImage(data, image.width(), image.height(), cw)));
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestPublicBase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_publicbase.moc"
