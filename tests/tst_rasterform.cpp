// The raster form of a picture is what the editor's pixmap round trip gives, without a pixmap.
#include "core/pixels/publicbase.h"
#include "core/pixels/rasterform.h"
#include "support/core/warnings.h"

#include <QPixmap>
#include <QtTest>

class TestRasterForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void sameAsPixmapRoundTrip_data();
    void sameAsPixmapRoundTrip();
    void flattenedKeepsWhatTheFileHolds_data();
    void flattenedKeepsWhatTheFileHolds();
};

namespace {

// Every pixel a different colour; alpha from the callback.
QImage picture(QImage::Format format, int (*alpha)(int x, int y))
{
    QImage image(37, 23, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 7, y * 11, (x * y) % 256, alpha(x, y)));
    return image.convertToFormat(format);
}

int opaque(int, int)
{
    return 255;
}

int translucent(int x, int y)
{
    return (x * 13 + y * 5) % 256;
}

int onePixelNotOpaque(int x, int y)
{
    return x == 36 && y == 22 ? 254 : 255;
}

QImage indexed(bool translucentEntry, bool used)
{
    QImage image(19, 9, QImage::Format_Indexed8);
    image.setColorTable(
        {qRgb(10, 20, 30), qRgb(200, 100, 0), qRgba(40, 80, 120, translucentEntry ? 90 : 255)});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x + y) % (used ? 3 : 2));
    return image;
}

} // namespace

void TestRasterForm::sameAsPixmapRoundTrip_data()
{
    QTest::addColumn<QImage>("image");
    QTest::newRow("an opaque RGB32 picture stays as it is") << picture(QImage::Format_RGB32, opaque);
    QTest::newRow("an opaque ARGB32 picture becomes RGB32") << picture(QImage::Format_ARGB32, opaque);
    QTest::newRow("a translucent ARGB32 picture is premultiplied")
        << picture(QImage::Format_ARGB32, translucent);
    QTest::newRow("one translucent pixel is enough") << picture(QImage::Format_ARGB32, onePixelNotOpaque);
    QTest::newRow("a translucent RGBA8888 picture is premultiplied")
        << picture(QImage::Format_RGBA8888, translucent);
    QTest::newRow("an opaque RGBA8888 picture becomes RGB32") << picture(QImage::Format_RGBA8888, opaque);
    QTest::newRow("an RGB888 picture becomes RGB32") << picture(QImage::Format_RGB888, opaque);
    QTest::newRow("an RGB16 picture becomes RGB32") << picture(QImage::Format_RGB16, opaque);
    QTest::newRow("an opaque indexed picture becomes RGB32") << indexed(false, true);
    QTest::newRow("an indexed picture using a translucent entry is premultiplied") << indexed(true, true);
    QTest::newRow("an indexed picture with an unused translucent entry is premultiplied")
        << indexed(true, false);
    QTest::newRow("a mono picture becomes RGB32") << picture(QImage::Format_Mono, opaque);
    QTest::newRow("an opaque 16-bit picture becomes RGB32") << picture(QImage::Format_RGBA64, opaque);
    QTest::newRow("a translucent 16-bit picture is premultiplied")
        << picture(QImage::Format_RGBA64, translucent);
    QTest::newRow("a 16-bit picture without alpha becomes RGB32") << picture(QImage::Format_RGBX64, opaque);
    QTest::newRow("a 16-bit grey picture becomes RGB32") << picture(QImage::Format_Grayscale16, opaque);
    QTest::newRow("an ARGB4444 picture with translucent pixels is premultiplied")
        << picture(QImage::Format_ARGB4444_Premultiplied, translucent);
    QTest::newRow("an opaque A2RGB30 picture becomes RGB32")
        << picture(QImage::Format_A2RGB30_Premultiplied, opaque);
}

void TestRasterForm::sameAsPixmapRoundTrip()
{
    QFETCH(QImage, image);
    const QImage expected = QPixmap::fromImage(image).toImage();
    const QImage actual = RasterForm::convert(image);
    QCOMPARE(actual.format(), expected.format());
    QVERIFY(actual == expected);
}

void TestRasterForm::flattenedKeepsWhatTheFileHolds_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<bool>("changes");
    const QRgb pixels[] = {qRgba(200, 100, 50, 128), qRgba(0, 0, 0, 0), qRgba(255, 255, 255, 255),
                           qRgba(90, 80, 70, 254), qRgba(30, 20, 10, 1)};
    QImage straight(5, 1, QImage::Format_ARGB32);
    for (int x = 0; x < 5; ++x)
        straight.setPixel(x, 0, pixels[x]);
    QTest::newRow("translucent, premultiplied")
        << straight.convertToFormat(QImage::Format_ARGB32_Premultiplied) << true;
    QTest::newRow("translucent, straight") << straight << true;
    QTest::newRow("opaque RGB32") << straight.convertToFormat(QImage::Format_RGB32) << false;
    QTest::newRow("RGB888") << straight.convertToFormat(QImage::Format_RGB888) << false;
}

void TestRasterForm::flattenedKeepsWhatTheFileHolds()
{
    QFETCH(QImage, image);
    QFETCH(bool, changes);
    const QImage before = image.copy();
    const QImage flat = RasterForm::flattened(image);
    // The caller's picture stays as it was.
    QVERIFY(image == before);
    QCOMPARE(flat.format(), changes ? QImage::Format_RGB32 : image.format());
    int width = 0;
    int flatWidth = 0;
    const QByteArray held = PublicBase::imageToOsdData(image, &width);
    QCOMPARE(PublicBase::imageToOsdData(flat, &flatWidth), held);
    QCOMPARE(flatWidth, width);
    for (int x = 0; x < flat.width(); ++x)
        QCOMPARE(qAlpha(flat.pixel(x, 0)), 255);
}

QTEST_MAIN(TestRasterForm)
#include "tst_rasterform.moc"
