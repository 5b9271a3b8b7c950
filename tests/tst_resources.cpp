// The icons, arrows and the style sheet are looked up by resource path at run time; a missing
// or mis-sized file shows up only as a blank or stretched button. These checks load every path
// the editor uses and compare it with the size its widget lays out.

#include "support/core/warnings.h"
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <iterator>

namespace {
struct ImageResource
{
    const char *path;
    QSize size;
};

const QSize k16(16, 16);

// Every image path used by the editor's code and style sheets, with the size it is drawn for.
const ImageResource kImages[] = {
    // Main toolbar (30 x 30 picture of each tool button) and their @2x twins.
    {":/osdimage/res/osdimage/btn_toolbar_new.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_new@2x.png", QSize(60, 60)},
    {":/osdimage/res/osdimage/btn_toolbar_leadingin.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_leadingin@2x.png", QSize(60, 60)},
    {":/osdimage/res/osdimage/btn_toolbar_leadingout.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_leadingout@2x.png", QSize(60, 60)},
    {":/osdimage/res/osdimage/btn_toolbar_image.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_image@2x.png", QSize(60, 60)},
    {":/osdimage/res/osdimage/btn_toolbar_text.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_text@2x.png", QSize(60, 60)},
    {":/osdimage/res/osdimage/btn_toolbar_overview.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_overview@2x.png", QSize(60, 60)},
    {":/osdimage/res/osdimage/btn_toolbar_open.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_open@2x.png", QSize(60, 60)},
    {":/osdimage/res/osdimage/btn_toolbar_recent.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_recent@2x.png", QSize(60, 60)},
    {":/osdimage/res/osdimage/btn_toolbar_save.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_save@2x.png", QSize(60, 60)},
    {":/osdimage/res/osdimage/btn_toolbar_saveas.png", QSize(30, 30)},
    {":/osdimage/res/osdimage/btn_toolbar_saveas@2x.png", QSize(60, 60)},
    // Property panel alignment buttons.
    {":/osdimage/res/osdimage/align_left.png", k16},
    {":/osdimage/res/osdimage/align_left@2x.png", QSize(32, 32)},
    {":/osdimage/res/osdimage/align_hcenter.png", k16},
    {":/osdimage/res/osdimage/align_hcenter@2x.png", QSize(32, 32)},
    {":/osdimage/res/osdimage/align_right.png", k16},
    {":/osdimage/res/osdimage/align_right@2x.png", QSize(32, 32)},
    {":/osdimage/res/osdimage/align_top.png", k16},
    {":/osdimage/res/osdimage/align_top@2x.png", QSize(32, 32)},
    {":/osdimage/res/osdimage/align_vcenter.png", k16},
    {":/osdimage/res/osdimage/align_vcenter@2x.png", QSize(32, 32)},
    {":/osdimage/res/osdimage/align_bottom.png", k16},
    {":/osdimage/res/osdimage/align_bottom@2x.png", QSize(32, 32)},
    // Context-menu and check-box mark, tab bar buttons.
    {":/osdimage/res/osdimage/checked.png", k16},
    {":/osdimage/res/osdimage/tab_close.png", k16},
    {":/osdimage/res/osdimage/tab_close_hover.png", k16},
    {":/osdimage/res/osdimage/tab_add.png", k16},
    {":/osdimage/res/osdimage/tab_removeall.png", k16},
    {":/osdimage/res/osdimage/spin_up.png", QSize(8, 7)},
    {":/osdimage/res/osdimage/spin_down.png", QSize(8, 7)},
    // Application scroll bars.
    {":/scrollbar/res/scrollbar/left_normal.png", k16},
    {":/scrollbar/res/scrollbar/left_pressed.png", k16},
    {":/scrollbar/res/scrollbar/right_normal.png", k16},
    {":/scrollbar/res/scrollbar/right_pressed.png", k16},
    {":/scrollbar/res/scrollbar/up_normal.png", k16},
    {":/scrollbar/res/scrollbar/up_pressed.png", k16},
    {":/scrollbar/res/scrollbar/down_normal.png", k16},
    {":/scrollbar/res/scrollbar/down_pressed.png", k16},
    // Text window actions and combo arrow.
    {":/TextExport/res/TextExport/textbold.png", QSize(32, 32)},
    {":/TextExport/res/TextExport/textitalic.png", QSize(32, 32)},
    {":/TextExport/res/TextExport/textunder.png", QSize(32, 32)},
    {":/TextExport/res/TextExport/export.png", QSize(32, 32)},
    {":/TextExport/res/TextExport/combBoxDown_normal.png", QSize(12, 12)},
    // Cut panel window icon and its scroll-bar buttons.
    {":/Resource/Images/icon/ICON_16.png", k16},
    {":/Resource/Images/ScrollBar/operArea/topnormal.png", k16},
    {":/Resource/Images/ScrollBar/operArea/tophover.png", k16},
    {":/Resource/Images/ScrollBar/operArea/bottomnormal.png", k16},
    {":/Resource/Images/ScrollBar/operArea/bottomhover.png", k16},
    {":/Resource/Images/ScrollBar/operArea/leftnormal.png", k16},
    {":/Resource/Images/ScrollBar/operArea/lefthover.png", k16},
    {":/Resource/Images/ScrollBar/operArea/rightnormal.png", k16},
    {":/Resource/Images/ScrollBar/operArea/righthover.png", k16},
};

// The window icon, packed from packaging/icons (the hicolor theme's sizes; no @2x twins: QIcon
// picks the size it needs).
const int kAppIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

QString appIconPath(int size)
{
    return QStringLiteral(":/appicon/%1x%1.png").arg(size);
}

const char *const kStyleSheet = ":/qss/quillmere.qss";

const char *const kToolbarPictures[] = {
    ":/osdimage/res/osdimage/btn_toolbar_new.png",        ":/osdimage/res/osdimage/btn_toolbar_leadingin.png",
    ":/osdimage/res/osdimage/btn_toolbar_leadingout.png", ":/osdimage/res/osdimage/btn_toolbar_image.png",
    ":/osdimage/res/osdimage/btn_toolbar_text.png",       ":/osdimage/res/osdimage/btn_toolbar_overview.png",
};

QImage loadImage(const QString &path, QString *error)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        *error = reader.errorString();
    return image;
}

QString twinPath(const QString &path)
{
    QString twin = path;
    twin.insert(twin.lastIndexOf(QLatin1String(".png")), QLatin1String("@2x"));
    return twin;
}

// True when every 2 x 2 block is one colour, i.e. the image is a pixel-doubled copy.
bool isPixelDoubled(const QImage &image)
{
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                return false;
        }
    }
    return true;
}
} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void resourceOpens_data();
    void resourceOpens();
    void imageHasExactSize_data();
    void imageHasExactSize();
    void imageLeavesBackgroundToWidget_data();
    void imageLeavesBackgroundToWidget();
    void twinIsTwiceTheSize_data();
    void twinIsTwiceTheSize();
    void appIconHasItsSize_data();
    void appIconHasItsSize();
    void styleSheetUrlsResolve();
    void everyPackedImageIsChecked();

private:
    static void addImageRows();
};

void TestResources::addImageRows()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const ImageResource &image : kImages)
        QTest::newRow(image.path) << QString::fromLatin1(image.path) << image.size;
}

void TestResources::resourceOpens_data()
{
    addImageRows();
    QTest::newRow(kStyleSheet) << QString::fromLatin1(kStyleSheet) << QSize();
}

void TestResources::resourceOpens()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path + QLatin1String(" is not in the resources")));
    QVERIFY2(file.size() > 0, qPrintable(path + QLatin1String(" is empty")));
}

void TestResources::imageHasExactSize_data()
{
    addImageRows();
}

void TestResources::imageHasExactSize()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QString error;
    const QImage image = loadImage(path, &error);
    QVERIFY2(!image.isNull(), qPrintable(path + QLatin1String(": ") + error));
    QCOMPARE(image.size(), size);
}

void TestResources::imageLeavesBackgroundToWidget_data()
{
    addImageRows();
}

// Every widget paints its own background behind these images, so they must be transparent
// around the artwork; an opaque corner means a filled placeholder square slipped in, no opaque
// pixel at all an empty one.
void TestResources::imageLeavesBackgroundToWidget()
{
    QFETCH(QString, path);
    QString error;
    const QImage image = loadImage(path, &error).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!image.isNull(), qPrintable(path + QLatin1String(": ") + error));
    const QPoint corners[] = {
        {0, 0}, {image.width() - 1, 0}, {0, image.height() - 1}, {image.width() - 1, image.height() - 1}};
    for (const QPoint &corner : corners)
        QCOMPARE(qAlpha(image.pixel(corner)), 0);

    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 255)
                ++opaque;
        }
    }
    QVERIFY2(opaque > 0, "no fully opaque artwork");
}

void TestResources::twinIsTwiceTheSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("detailed");
    for (const ImageResource &image : kImages) {
        const QString path = QString::fromLatin1(image.path);
        if (path.contains(QLatin1String("@2x")))
            continue;
        const bool toolbar = std::any_of(std::begin(kToolbarPictures), std::end(kToolbarPictures),
                                         [&](const char *picture) { return path == QLatin1String(picture); });
        QTest::newRow(image.path) << path << toolbar;
    }
}

// High-density screens pick the @2x file by name; every picture has one, exactly twice its 1x
// image. The toolbar's pictures also carry real detail rather than doubled pixels (small glyphs on
// whole pixels may double exactly).
void TestResources::twinIsTwiceTheSize()
{
    QFETCH(QString, path);
    QFETCH(bool, detailed);
    QString error;
    const QImage single = loadImage(path, &error);
    QVERIFY2(!single.isNull(), qPrintable(path + QLatin1String(": ") + error));
    const QImage twin = loadImage(twinPath(path), &error);
    QVERIFY2(!twin.isNull(), qPrintable(twinPath(path) + QLatin1String(": ") + error));
    QCOMPARE(twin.size(), single.size() * 2);
    if (detailed)
        QVERIFY2(!isPixelDoubled(twin.convertToFormat(QImage::Format_ARGB32)),
                 "the @2x image is the 1x image with doubled pixels");
}

void TestResources::styleSheetUrlsResolve()
{
    QFile file(QString::fromLatin1(kStyleSheet));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString styleSheet = QString::fromLatin1(file.readAll());

    const QRegularExpression url(QStringLiteral("url\\(\\s*['\"]?([^)'\"]+)['\"]?\\s*\\)"));
    QStringList unresolved;
    int references = 0;
    for (auto it = url.globalMatch(styleSheet); it.hasNext();) {
        const QString path = it.next().captured(1).trimmed();
        ++references;
        if (QImageReader(path).read().isNull())
            unresolved << path;
    }
    QVERIFY2(references > 0, "the style sheet references no images");
    QVERIFY2(unresolved.isEmpty(), qPrintable(unresolved.join(QLatin1String(", "))));
}

void TestResources::appIconHasItsSize_data()
{
    QTest::addColumn<int>("size");
    for (int size : kAppIconSizes)
        QTest::newRow(qPrintable(appIconPath(size))) << size;
}

void TestResources::appIconHasItsSize()
{
    QFETCH(int, size);
    QString error;
    const QImage image = loadImage(appIconPath(size), &error);
    QVERIFY2(!image.isNull(), qPrintable(appIconPath(size) + QLatin1String(": ") + error));
    QCOMPARE(image.size(), QSize(size, size));
}

// A picture packed into the resources without a row above would escape the size check.
void TestResources::everyPackedImageIsChecked()
{
    // The twins are checked with their 1x images.
    QSet<QString> checked;
    for (const ImageResource &image : kImages) {
        checked.insert(QString::fromLatin1(image.path));
        checked.insert(twinPath(QString::fromLatin1(image.path)));
    }
    for (int size : kAppIconSizes)
        checked.insert(appIconPath(size));

    QStringList unchecked;
    QDirIterator it(QStringLiteral(":/"), QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.startsWith(QLatin1String(":/qt-project.org/")) || !path.endsWith(QLatin1String(".png")))
            continue;
        if (!checked.contains(path))
            unchecked << path;
    }
    QVERIFY2(unchecked.isEmpty(),
             qPrintable(QLatin1String("no size check for: ") + unchecked.join(QLatin1String(", "))));
}

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
