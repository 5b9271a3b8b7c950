// The keying kernel against the plain per-pixel definition, on every image format.
#include "core/pixels/colorkeyer.h"
#include "core/pixels/publicbase.h"
#include "support/core/instructionlevels.h"
#include "support/core/keyingreference.h"
#include "support/core/pictures.h"

#include <QColorSpace>
#include <QImage>
#include <QRandomGenerator>
#include <QtTest>
#include <cstring>

namespace {

using namespace TestSupport::Keying;

bool g_quietPixelWarnings = false;
QtMessageHandler g_previousHandler = nullptr;

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The definition's setPixelColor complains once per pixel on indexed images; that is its
    // documented refusal, not a fault of the code under test.
    if (g_quietPixelWarnings && type == QtWarningMsg &&
        message.startsWith(QLatin1String("QImage::setPixelColor")))
        return;
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        if (g_previousHandler)
            g_previousHandler(type, context, message);
        QFAIL(qPrintable(QStringLiteral("Qt warning: ") + message));
        return;
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

// The definition: each pixel's colour as QImage::pixel gives it, inclusive bounds per channel,
// replaced with setPixelColor.
void literalKey(QImage &image, const QColor &begin, const QColor &end, const QColor &fill)
{
    g_quietPixelWarnings = true;
    image = TestSupport::keyedByDefinition(std::move(image), begin, end, fill);
    g_quietPixelWarnings = false;
}

// What is wrong with a result of ColorKeyer::keyed for these arguments, or nothing: the keyed image
// against the definition, the OSD pixel data against PublicBase, the image to show against what
// QPixmap::fromImage would convert the keyed image to.
QString keyedProblem(const ColorKeyer::Keyed &keyed, const QImage &source, const QColor &begin,
                     const QColor &end, const QColor &fill, bool withOsdData)
{
    QImage expected = source.copy();
    literalKey(expected, begin, end, fill);
    QString where;
    if (!sameBytes(keyed.image, expected, &where))
        return QStringLiteral("keyed image: ") + where;
    if (keyed.image.dotsPerMeterX() != source.dotsPerMeterX() || keyed.image.offset() != source.offset() ||
        keyed.image.devicePixelRatio() != source.devicePixelRatio() || keyed.image.text() != source.text() ||
        keyed.image.colorTable() != source.colorTable())
        return QStringLiteral("the keyed image lost what the source carries besides its pixels");
    // New pixels exactly when some pixel was replaced.
    const bool keys = ColorKeyer::canKey(source.format()) && fill.isValid() &&
                      !ColorKeyer::isEmptyRange(begin, end) && anyInRange(source, begin, end);
    if ((keyed.image.constBits() != source.constBits()) != keys)
        return keys ? QStringLiteral("keyed into the source's pixels")
                    : QStringLiteral("new pixels for nothing");

    if (withOsdData) {
        int completionWidth = -1;
        if (keyed.osdData != PublicBase::imageToOsdData(expected, &completionWidth))
            return QStringLiteral("OSD pixel data");
        if (keyed.completionWidth != completionWidth)
            return QStringLiteral("completion width");
    } else if (!keyed.osdData.isEmpty()) {
        return QStringLiteral("OSD pixel data not asked for");
    }

    if (!keyed.display.isNull()) {
        const QImage::Format shown = keyed.display.format();
        if (shown != QImage::Format_RGB32 && shown != QImage::Format_ARGB32_Premultiplied)
            return QStringLiteral("image to show in format %1").arg(int(shown));
        if (shown == QImage::Format_RGB32 && !isOpaque(expected) &&
            expected.format() != QImage::Format_RGBX8888)
            return QStringLiteral("a translucent image shown as RGB32");
        if (!sameBytes(keyed.display, expected.convertToFormat(shown), &where))
            return QStringLiteral("image to show: ") + where;
        if (keyed.display.devicePixelRatio() != expected.devicePixelRatio())
            return QStringLiteral("image to show: device pixel ratio");
    }
    // Opaque pictures in 32-bit formats with alpha are shown without a conversion, those with QRgb
    // words through their own bytes; RGB32 pictures as they are.
    const bool opaque32 = isOpaque(expected) && (expected.format() == QImage::Format_ARGB32 ||
                                                 expected.format() == QImage::Format_ARGB32_Premultiplied);
    if (opaque32 && expected.devicePixelRatio() == 1.0 &&
        (keyed.display.isNull() || keyed.display.constBits() != keyed.image.constBits()))
        return QStringLiteral("an opaque picture is not shown through its own bytes");
    if (expected.format() == QImage::Format_RGB32 && !keyed.display.isNull())
        return QStringLiteral("an RGB32 picture got an image to show");
    return QString();
}

} // namespace

class TestColorKeyer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(messageHandler); }
    // Every test on each build of the loops (plain, AVX2, the one pass in SSSE3 and AVX2).
    void initTestCase_data() { TestSupport::addEveryInstructionLevel(); }
    void init();
    void cleanup() { TestSupport::releaseInstructionLevel(); }

    void boundaries_data();
    void boundaries();
    void sameAsDefinition_data();
    void sameAsDefinition();
    void emptyRangeLeavesSharedImageAlone();
    void keyingDetachesSharedImage();
    void invalidFillChangesNothing();
    void nullImage();

    void keyedMatchesDefinition_data();
    void keyedMatchesDefinition();
    void keyedReusesOnlyFreeMemory_data();
    void keyedReusesOnlyFreeMemory();
    void keyedShowsTranslucentPicturesPremultiplied();
    void keyedNoticesOneTranslucentPixel_data();
    void keyedNoticesOneTranslucentPixel();
    void keyedOfNothing();

    void packedKeysOnePixelAtEachPlace_data();
    void packedKeysOnePixelAtEachPlace();
    void packedImportedPictureKeysIntoItsRecordBytes();
};

void TestColorKeyer::init()
{
    const QString lacking = TestSupport::useRowInstructionLevel();
    if (!lacking.isEmpty())
        QSKIP(qPrintable(lacking));
}

void TestColorKeyer::boundaries_data()
{
    QTest::addColumn<QColor>("begin");
    QTest::addColumn<QColor>("end");
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<QColor>("pixel");
    QTest::addColumn<bool>("keyed");

    const QColor black(0, 0, 0);
    QTest::newRow("inside") << QColor(0, 0, 0) << QColor(10, 10, 10) << black << QColor(5, 5, 5) << true;
    QTest::newRow("blue above") << QColor(0, 0, 0) << QColor(10, 10, 10) << black << QColor(5, 5, 11)
                                << false;
    QTest::newRow("all at lower bounds")
        << QColor(3, 4, 5) << QColor(9, 9, 9) << black << QColor(3, 4, 5) << true;
    QTest::newRow("all at upper bounds")
        << QColor(3, 4, 5) << QColor(9, 9, 9) << black << QColor(9, 9, 9) << true;
    QTest::newRow("red below") << QColor(3, 4, 5) << QColor(9, 9, 9) << black << QColor(2, 4, 5) << false;
    QTest::newRow("green above") << QColor(3, 4, 5) << QColor(9, 9, 9) << black << QColor(9, 10, 9) << false;
    QTest::newRow("single colour") << QColor(10, 20, 30) << QColor(10, 20, 30) << QColor(200, 100, 50)
                                   << QColor(10, 20, 30) << true;
    QTest::newRow("single colour, neighbour")
        << QColor(10, 20, 30) << QColor(10, 20, 30) << QColor(200, 100, 50) << QColor(10, 20, 31) << false;
    QTest::newRow("red begin above end")
        << QColor(11, 0, 0) << QColor(10, 255, 255) << black << QColor(10, 5, 5) << false;
    QTest::newRow("blue begin above end")
        << QColor(0, 0, 200) << QColor(255, 255, 100) << black << QColor(0, 0, 150) << false;
    QTest::newRow("full range") << QColor(0, 0, 0) << QColor(255, 255, 255) << QColor(1, 2, 3)
                                << QColor(255, 0, 128) << true;
    QTest::newRow("translucent pixel, alpha ignored")
        << QColor(0, 0, 0) << QColor(10, 10, 10) << QColor(50, 60, 70) << QColor(5, 5, 5, 0) << true;
}

void TestColorKeyer::boundaries()
{
    QFETCH(QColor, begin);
    QFETCH(QColor, end);
    QFETCH(QColor, fill);
    QFETCH(QColor, pixel);
    QFETCH(bool, keyed);

    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGBA8888,
                                      QImage::Format_RGB888};
    for (QImage::Format format : formats) {
        QImage image(3, 2, format);
        image.fill(QColor(128, 128, 128));
        image.setPixelColor(1, 1, pixel);
        const QRgb before = image.pixel(1, 1);
        ColorKeyer::apply(image, begin, end, fill);
        const QRgb expected = keyed ? fill.rgb() : before;
        QCOMPARE(QString::number(image.pixel(1, 1), 16), QString::number(expected, 16));
        // Only the full range also takes in the grey around the pixel.
        const bool fullRange = begin == QColor(0, 0, 0) && end == QColor(255, 255, 255);
        QCOMPARE(image.pixelColor(0, 0), fullRange ? QColor(fill.rgb()) : QColor(128, 128, 128));
    }
}

void TestColorKeyer::sameAsDefinition_data()
{
    QTest::addColumn<int>("format");
    for (int f = QImage::Format_Mono; f < QImage::NImageFormats; ++f)
        QTest::newRow(kFormatNames[f]) << f;
}

void TestColorKeyer::sameAsDefinition()
{
    QFETCH(int, format);
    QRandomGenerator random(quint32(format) * 7919u + 17u);
    const QSize sizes[] = {QSize(1, 1), QSize(3, 2), QSize(17, 5), QSize(31, 9), QSize(64, 3), QSize(127, 4)};

    for (int trial = 0; trial < 60; ++trial) {
        const QSize size = sizes[trial % int(sizeof(sizes) / sizeof(sizes[0]))];
        QImage source = trial % 2
                            ? randomImage(QImage::Format(format), size.width(), size.height(), random)
                            : fewColourImage(QImage::Format(format), size.width(), size.height(), random);
        if (trial % 4 == 1) {
            source.setDotsPerMeterX(3780 + trial);
            source.setDotsPerMeterY(2000 + trial);
            source.setOffset(QPoint(trial, -trial));
            source.setText(QStringLiteral("Comment"), QStringLiteral("trial %1").arg(trial));
            source.setDevicePixelRatio(2.0);
            source.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        }

        // Bounds from the image's own pixels, so they fall exactly on colours that occur.
        const QColor a(source.pixel(random.bounded(size.width()), random.bounded(size.height())));
        const QColor b(source.pixel(random.bounded(size.width()), random.bounded(size.height())));
        QColor begin(qMin(a.red(), b.red()), qMin(a.green(), b.green()), qMin(a.blue(), b.blue()));
        QColor end(qMax(a.red(), b.red()), qMax(a.green(), b.green()), qMax(a.blue(), b.blue()));
        switch (trial % 5) {
        case 0: // exactly one colour, as after a pick
            begin = end = a;
            break;
        case 1: // widened
            begin =
                QColor(qMax(0, begin.red() - 40), qMax(0, begin.green() - 40), qMax(0, begin.blue() - 40));
            end = QColor(qMin(255, end.red() + 40), qMin(255, end.green() + 40), qMin(255, end.blue() + 40));
            break;
        case 2: // one channel inverted: nothing may match
            if (begin.green() == end.green()) {
                const int green = begin.green();
                begin.setGreen(qMin(255, green + 1));
                end.setGreen(qMax(0, green - 1));
            } else {
                std::swap(begin, end);
            }
            break;
        case 3: // random
            begin = randomColour(random);
            end = QColor(qMax(begin.red(), int(random.bounded(256))),
                         qMax(begin.green(), int(random.bounded(256))),
                         qMax(begin.blue(), int(random.bounded(256))));
            break;
        default:
            break;
        }
        const QColor fill = trial % 3 == 0
                                ? QColor(random.bounded(256), random.bounded(256), random.bounded(256))
                                : randomColour(random);

        QImage expected = source.copy();
        literalKey(expected, begin, end, fill);
        QImage actual = source.copy();
        ColorKeyer::apply(actual, begin, end, fill);

        // Keying a handle that shares its pixels gives the same result, with everything else the
        // image carries, and leaves the other handle as it was.
        const QImage untouched = source.copy();
        QImage shared = source;
        ColorKeyer::apply(shared, begin, end, fill);

        QString where;
        QVERIFY2(sameBytes(shared, expected, &where),
                 qPrintable(QStringLiteral("shared, trial %1: %2").arg(trial).arg(where)));
        QVERIFY2(sameBytes(source, untouched, &where),
                 qPrintable(QStringLiteral("source, trial %1: %2").arg(trial).arg(where)));
        QCOMPARE(shared.dotsPerMeterX(), source.dotsPerMeterX());
        QCOMPARE(shared.dotsPerMeterY(), source.dotsPerMeterY());
        QCOMPARE(shared.offset(), source.offset());
        QCOMPARE(shared.devicePixelRatio(), source.devicePixelRatio());
        QCOMPARE(shared.colorSpace(), source.colorSpace());
        QCOMPARE(shared.text(), source.text());
        QCOMPARE(shared.colorTable(), source.colorTable());
        QVERIFY2(sameBytes(actual, expected, &where),
                 qPrintable(QStringLiteral("trial %1 (%2x%3) begin %4 end %5 fill %6: %7")
                                .arg(trial)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(begin.name(), end.name(), fill.name(QColor::HexArgb), where)));
    }
}

void TestColorKeyer::emptyRangeLeavesSharedImageAlone()
{
    QImage original(40, 30, QImage::Format_RGB32);
    original.fill(QColor(20, 20, 20));
    QImage copy = original;
    ColorKeyer::apply(copy, QColor(0, 30, 0), QColor(255, 29, 255), QColor(1, 1, 1));
    QCOMPARE(copy.constBits(), original.constBits());

    // A range that matches nothing present does not copy the pixels either.
    ColorKeyer::apply(copy, QColor(21, 0, 0), QColor(255, 255, 255), QColor(1, 1, 1));
    QCOMPARE(copy.constBits(), original.constBits());
}

void TestColorKeyer::keyingDetachesSharedImage()
{
    const QImage::Format formats[] = {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB16};
    for (QImage::Format format : formats) {
        QImage original(40, 30, format);
        original.fill(QColor(20, 20, 20));
        original.setPixelColor(39, 29, QColor(200, 0, 0));
        const QColor red = original.pixelColor(39, 29);
        QImage copy = original;
        ColorKeyer::apply(copy, QColor(150, 0, 0), QColor(255, 10, 10), QColor(0, 0, 255));
        QCOMPARE(copy.pixelColor(39, 29), QColor(0, 0, 255));
        QCOMPARE(original.pixelColor(39, 29), red);
        QCOMPARE(copy.pixelColor(0, 0), original.pixelColor(0, 0));
    }
}

void TestColorKeyer::invalidFillChangesNothing()
{
    QImage image(5, 5, QImage::Format_ARGB32);
    image.fill(QColor(9, 9, 9));
    const QImage before = image.copy();
    ColorKeyer::apply(image, QColor(0, 0, 0), QColor(255, 255, 255), QColor());
    QCOMPARE(image, before);
}

void TestColorKeyer::nullImage()
{
    QImage image;
    ColorKeyer::apply(image, QColor(0, 0, 0), QColor(255, 255, 255), QColor(1, 2, 3));
    QVERIFY(image.isNull());
}

// The slider's one pass: the keyed image, its OSD pixel data and the image to show, against the
// definition, PublicBase and Qt's own conversions, for every format, odd sizes (run lengths around
// the 16- and 32-pixel steps) and rows that are not one run.
void TestColorKeyer::keyedMatchesDefinition_data()
{
    sameAsDefinition_data();
}

void TestColorKeyer::keyedMatchesDefinition()
{
    QFETCH(int, format);
    QRandomGenerator random(quint32(format) * 104729u + 3u);
    const QSize sizes[] = {QSize(1, 1),  QSize(1, 7),  QSize(7, 1),  QSize(13, 5), QSize(16, 2),
                           QSize(33, 3), QSize(47, 2), QSize(64, 1), QSize(67, 3), QSize(101, 2)};

    for (int trial = 0; trial < 80; ++trial) {
        const QSize size = sizes[trial % int(sizeof(sizes) / sizeof(sizes[0]))];
        QImage source = trial % 2
                            ? randomImage(QImage::Format(format), size.width(), size.height(), random)
                            : fewColourImage(QImage::Format(format), size.width(), size.height(), random);
        // Opaque pictures (as loaded or imported) take other roads to the screen than translucent ones.
        if (trial % 3 == 0 && source.hasAlphaChannel() && source.depth() == 32) {
            for (int y = 0; y < source.height(); ++y) {
                for (int x = 0; x < source.width(); ++x)
                    source.setPixel(x, y, source.pixel(x, y) | 0xFF000000u);
            }
        }
        if (trial % 4 == 1) {
            source.setDotsPerMeterX(3780 + trial);
            source.setOffset(QPoint(trial, -trial));
            source.setText(QStringLiteral("Comment"), QStringLiteral("trial %1").arg(trial));
            source.setDevicePixelRatio(2.0);
        }
        QByteArray paddedBuffer;
        if (trial % 5 == 4)
            source = paddedCopy(source, &paddedBuffer);

        const QColor a(source.pixel(random.bounded(size.width()), random.bounded(size.height())));
        const QColor b(source.pixel(random.bounded(size.width()), random.bounded(size.height())));
        QColor begin(qMin(a.red(), b.red()), qMin(a.green(), b.green()), qMin(a.blue(), b.blue()));
        QColor end(qMax(a.red(), b.red()), qMax(a.green(), b.green()), qMax(a.blue(), b.blue()));
        switch (trial % 6) {
        case 0: // exactly one colour, as after a pick
            begin = end = a;
            break;
        case 1: // widened
            begin =
                QColor(qMax(0, begin.red() - 60), qMax(0, begin.green() - 60), qMax(0, begin.blue() - 60));
            end = QColor(qMin(255, end.red() + 60), qMin(255, end.green() + 60), qMin(255, end.blue() + 60));
            break;
        case 2: // a range no colour of a random picture is likely to fall into
            begin = QColor(a.red(), 0, 0);
            end = QColor(a.red(), 0, 0);
            break;
        case 3: // empty
            begin = QColor(10, 0, 0);
            end = QColor(9, 255, 255);
            break;
        case 4: // everything
            begin = QColor(0, 0, 0);
            end = QColor(255, 255, 255);
            break;
        default:
            break;
        }
        const QColor fill = trial % 7 == 3 ? QColor() : trial % 3 ? randomColour(random) : QColor(a.rgb());
        const bool withOsdData = trial % 4 != 2;

        const QImage untouched = source.copy();
        QImage expected = source.copy();
        literalKey(expected, begin, end, fill);

        const ColorKeyer::Keyed keyed = ColorKeyer::keyed(source, begin, end, fill, withOsdData);
        const QString at = QStringLiteral("trial %1 (%2x%3) begin %4 end %5 fill %6: ")
                               .arg(trial)
                               .arg(size.width())
                               .arg(size.height())
                               .arg(begin.name(), end.name(), fill.name(QColor::HexArgb));
        const QString problem = keyedProblem(keyed, source, begin, end, fill, withOsdData);
        QVERIFY2(problem.isEmpty(), qPrintable(at + problem));
        QString where;
        QVERIFY2(sameBytes(source, untouched, &where), qPrintable(at + QStringLiteral("source: ") + where));
    }
}

// The previous step's memory is written again only where nothing else holds it.
void TestColorKeyer::keyedReusesOnlyFreeMemory_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("opaque");
    QTest::newRow("RGB32") << int(QImage::Format_RGB32) << true;
    QTest::newRow("ARGB32, opaque") << int(QImage::Format_ARGB32) << true;
    QTest::newRow("ARGB32, translucent") << int(QImage::Format_ARGB32) << false;
    QTest::newRow("RGBA8888, opaque") << int(QImage::Format_RGBA8888) << true;
    QTest::newRow("RGB888") << int(QImage::Format_RGB888) << true;
    QTest::newRow("BGR888") << int(QImage::Format_BGR888) << true;
}

void TestColorKeyer::keyedReusesOnlyFreeMemory()
{
    QFETCH(int, format);
    QFETCH(bool, opaque);
    QRandomGenerator random(quint32(format) + 31u * opaque);
    QImage source = randomImage(QImage::Format(format), 37, 5, random);
    if (opaque) {
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(x, y, source.pixel(x, y) | 0xFF000000u);
        }
    }
    const QColor fill(10, 20, 30);
    const QColor begin(0, 0, 0);
    const QColor wide(200, 255, 255);
    const QColor narrow(100, 255, 255);

    ColorKeyer::Keyed first = ColorKeyer::keyed(source, begin, wide, fill, true);
    QString problem = keyedProblem(first, source, begin, wide, fill, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const uchar *imageBits = first.image.constBits();
    const char *dataBytes = first.osdData.constData();
    const uchar *displayBits = first.display.constBits();
    const bool ownDisplay = !first.display.isNull() && displayBits != imageBits;

    // Nothing else holds the first result: the second one takes its memory.
    ColorKeyer::Keyed second = ColorKeyer::keyed(source, begin, narrow, fill, true, std::move(first));
    problem = keyedProblem(second, source, begin, narrow, fill, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(second.image.constBits(), imageBits);
    QCOMPARE(second.osdData.constData(), dataBytes);
    if (ownDisplay)
        QCOMPARE(second.display.constBits(), displayBits);

    // Other handles on the second result keep it as it was.
    const QImage heldImage = second.image;
    const QByteArray heldData = second.osdData;
    const QImage heldDisplay = second.display;
    const QImage imageBefore = heldImage.copy();
    const QByteArray dataBefore(heldData.constData(), heldData.size());
    const QImage displayBefore = heldDisplay.copy();
    const ColorKeyer::Keyed third = ColorKeyer::keyed(source, begin, wide, fill, true, std::move(second));
    problem = keyedProblem(third, source, begin, wide, fill, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QString where;
    QVERIFY2(sameBytes(heldImage, imageBefore, &where), qPrintable(where));
    QVERIFY(heldData == dataBefore);
    if (!heldDisplay.isNull())
        QVERIFY2(sameBytes(heldDisplay, displayBefore, &where), qPrintable(where));
    QVERIFY(third.image.constBits() != heldImage.constBits());
    QVERIFY(third.osdData.constData() != heldData.constData());

    // A spare of another size is left alone.
    ColorKeyer::Keyed other =
        ColorKeyer::keyed(randomImage(QImage::Format(format), 9, 4, random), begin, wide, fill, true);
    const ColorKeyer::Keyed fourth = ColorKeyer::keyed(source, begin, narrow, fill, true, std::move(other));
    problem = keyedProblem(fourth, source, begin, narrow, fill, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

// Every alpha with a spread of colour values: the premultiplied pixels to show are exactly Qt's.
void TestColorKeyer::keyedShowsTranslucentPicturesPremultiplied()
{
    QImage source(256, 67, QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgba((y * 4) & 0xFF, (y * 4 + 1) & 0xFF, 255 - y, x));
    }
    // Keys the column of alpha 255 (red 0 to 3 and green 1 to 5 only in the first rows).
    const ColorKeyer::Keyed keyed =
        ColorKeyer::keyed(source, QColor(0, 1, 0), QColor(3, 5, 255), QColor(200, 100, 50, 128), true);
    QImage expected = source.copy();
    literalKey(expected, QColor(0, 1, 0), QColor(3, 5, 255), QColor(200, 100, 50, 128));
    QString where;
    QVERIFY2(sameBytes(keyed.image, expected, &where), qPrintable(where));
    QCOMPARE(keyed.display.format(), QImage::Format_ARGB32_Premultiplied);
    QVERIFY2(sameBytes(keyed.display, expected.convertToFormat(QImage::Format_ARGB32_Premultiplied), &where),
             qPrintable(where));
}

// Whether a result is opaque comes from the AND of the keyed pixels, gathered lane by lane in the
// vector steps. One translucent pixel among opaque ones, at every lane of the 32- and 16-pixel
// steps and in the pixels after them: the image to show must still be the one for translucent
// pictures (none, for these formats).
void TestColorKeyer::keyedNoticesOneTranslucentPixel_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("keyedTranslucent");
    // 53 = a 32-pixel step, a 16-pixel step, 5 single pixels (AVX2); three 16-pixel steps and 5 (SSSE3).
    const int positions[] = {0, 1, 2, 3, 4, 5, 6, 7, 13, 32, 33, 34, 35, 47, 48, 52};
    for (int format : {int(QImage::Format_RGBA8888), int(QImage::Format_ARGB32_Premultiplied)}) {
        for (int x : positions) {
            QTest::addRow("%s x %d, translucent pixel", kFormatNames[format], x) << format << x << false;
            QTest::addRow("%s x %d, keyed to translucent fill", kFormatNames[format], x)
                << format << x << true;
        }
    }
}

void TestColorKeyer::keyedNoticesOneTranslucentPixel()
{
    QFETCH(int, format);
    QFETCH(int, x);
    QFETCH(bool, keyedTranslucent);
    QImage source(53, 1, QImage::Format(format));
    source.fill(QColor(90, 90, 90));
    const QColor odd(200, 30, 40);
    QColor fill(10, 20, 30);
    if (keyedTranslucent) {
        source.setPixelColor(x, 0, odd);
        fill.setAlpha(100);
    } else {
        source.setPixelColor(x, 0, QColor(odd.red(), odd.green(), odd.blue(), 100));
    }
    // Keys the odd pixel (to a translucent fill) or the grey ones around the translucent pixel.
    const QColor key = keyedTranslucent ? odd : QColor(90, 90, 90);
    const ColorKeyer::Keyed keyed = ColorKeyer::keyed(source, key, key, fill, true);
    const QString problem = keyedProblem(keyed, source, key, key, fill, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestColorKeyer::keyedOfNothing()
{
    const ColorKeyer::Keyed keyed =
        ColorKeyer::keyed(QImage(), QColor(0, 0, 0), QColor(9, 9, 9), QColor(1, 2, 3), true);
    QVERIFY(keyed.image.isNull());
    QVERIFY(keyed.osdData.isEmpty());
    QCOMPARE(keyed.completionWidth, 0);
    QVERIFY(keyed.display.isNull());
}

// Three-byte pictures take 16 pixels a step (SSSE3) and 32 (AVX2), then single pixels: one pixel
// in range at every place of runs around those steps, each lane and each tail, keyed in place, into
// new pixels and with the slider's pass, rows as one run and rows with padding.
void TestColorKeyer::packedKeysOnePixelAtEachPlace_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("padded");
    const int widths[] = {1, 2, 15, 16, 17, 31, 32, 33, 47, 48, 49, 63, 64, 65, 95, 96, 97};
    for (int format : {int(QImage::Format_BGR888), int(QImage::Format_RGB888)}) {
        for (int width : widths) {
            for (bool padded : {false, true})
                QTest::addRow("%s %d%s", kFormatNames[format], width, padded ? " padded" : "")
                    << format << width << padded;
        }
    }
}

void TestColorKeyer::packedKeysOnePixelAtEachPlace()
{
    QFETCH(int, format);
    QFETCH(int, width);
    QFETCH(bool, padded);
    const QColor begin(100, 50, 200);
    const QColor end(120, 60, 200);
    const QColor fill(7, 8, 9);
    QRandomGenerator random(quint32(width) * 31u + quint32(format));
    for (int at = 0; at < width; ++at) {
        // Two rows: the pixel in range in the second; around it colours just outside in one channel.
        QImage base(width, 2, QImage::Format(format));
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < width; ++x) {
                const int channel = int(random.bounded(3));
                QColor outside(110, 55, 200);
                if (channel == 0)
                    outside.setRed(random.bounded(2) ? 99 : 121);
                else if (channel == 1)
                    outside.setGreen(random.bounded(2) ? 49 : 61);
                else
                    outside.setBlue(random.bounded(2) ? 199 : 201);
                base.setPixelColor(x, y, outside);
            }
        }
        base.setPixelColor(at, 1, at % 2 ? begin : end);
        QByteArray buffer;
        const QImage source = padded ? paddedCopy(base, &buffer) : base;
        QImage expected = base.copy();
        literalKey(expected, begin, end, fill);
        const QString where = QStringLiteral("pixel %1: ").arg(at);
        QString problem;

        QImage inPlace = source.copy();
        ColorKeyer::apply(inPlace, begin, end, fill);
        QVERIFY2(sameBytes(inPlace, expected, &problem),
                 qPrintable(where + QStringLiteral("in place: ") + problem));

        QImage shared = source;
        ColorKeyer::apply(shared, begin, end, fill);
        QVERIFY2(sameBytes(shared, expected, &problem),
                 qPrintable(where + QStringLiteral("shared: ") + problem));
        QVERIFY2(sameBytes(source, base, &problem), qPrintable(where + QStringLiteral("source: ") + problem));

        for (bool withOsdData : {true, false}) {
            const ColorKeyer::Keyed keyed = ColorKeyer::keyed(source, begin, end, fill, withOsdData);
            problem = keyedProblem(keyed, source, begin, end, fill, withOsdData);
            QVERIFY2(problem.isEmpty(), qPrintable(where + problem));
        }
        QVERIFY2(sameBytes(source, base, &problem), qPrintable(where + QStringLiteral("source: ") + problem));
    }
}

// An imported picture reads its record's bytes (a read-only view). Keying it must leave those
// bytes alone; the slider's pass writes the keyed pixels once, into OSD bytes the keyed image reads.
void TestColorKeyer::packedImportedPictureKeysIntoItsRecordBytes()
{
    QRandomGenerator random(77);
    const QImage picture = fewColourImage(QImage::Format_BGR888, 67, 5, random);
    int completionWidth = 0;
    const QByteArray record = PublicBase::imageToOsdData(picture, &completionWidth);
    const QByteArray recordBefore(record.constData(), record.size());
    const QImage imported = PublicBase::osdDataView(record, 67, 5, completionWidth);
    QVERIFY(!imported.isNull());
    const QColor key = picture.pixelColor(66, 4);
    const QColor fill(1, 2, 3);

    const ColorKeyer::Keyed keyed = ColorKeyer::keyed(imported, key, key, fill, true);
    QString problem = keyedProblem(keyed, imported, key, key, fill, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(keyed.image.constBits(), reinterpret_cast<const uchar *>(keyed.osdData.constData()));
    QVERIFY(keyed.display.isNull());

    // The next step takes that memory again once nothing else holds it.
    const char *bytes = keyed.osdData.constData();
    ColorKeyer::Keyed spare = keyed;
    ColorKeyer::Keyed first = ColorKeyer::keyed(imported, key, key, fill, true);
    const char *firstBytes = first.osdData.constData();
    const ColorKeyer::Keyed second =
        ColorKeyer::keyed(imported, key, key, QColor(4, 5, 6), true, std::move(first));
    problem = keyedProblem(second, imported, key, key, QColor(4, 5, 6), true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(second.osdData.constData(), firstBytes);
    QCOMPARE(second.image.constBits(), reinterpret_cast<const uchar *>(firstBytes));
    // A result still held elsewhere is not written again.
    const ColorKeyer::Keyed third = ColorKeyer::keyed(imported, key, key, fill, true, std::move(spare));
    QVERIFY(third.osdData.constData() != bytes);
    problem = keyedProblem(keyed, imported, key, key, fill, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    QImage inPlace = imported;
    ColorKeyer::apply(inPlace, key, key, fill);
    QVERIFY2(sameBytes(inPlace, keyed.image, &problem), qPrintable(problem));
    QVERIFY(record == recordBefore);
}

QTEST_GUILESS_MAIN(TestColorKeyer)
#include "tst_colorkeyer.moc"
