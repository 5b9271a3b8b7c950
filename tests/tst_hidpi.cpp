// The editor on a high-density screen. CTest runs this program once per scale (QT_SCALE_FACTOR 1,
// 1.25, 1.5 and 2, and a screen of 144 dots per inch); the mouse is driven through the window
// system's entry, in device pixels, as a real pointer would be.
#include "core/pixels/highdpisetup.h"
#include "osditem/osditem.h"
#include "support/keyingsupport.h"
#include "support/quillmereaccess.h"
#include "support/windowparts.h"
#include "widgets/customtoolbutton.h"
#include "widgets/previewview.h"
#include "widgets/styled/checkboxex.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QtMath>
#include <algorithm>

// The window system's entry for mouse events, positions in the window's device-independent pixels;
// exported by QtGui for tests.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow *window, const QPointF &local, const QPointF &global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace {

// The developer's factor times the screen's own (its logical dots per inch over 96).
qreal requestedScale()
{
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return (ok ? factor : 1.0) * qEnvironmentVariableIntValue("QT_FONT_DPI") / 96.0;
}

// Every pixel tells where it is: red and green are x and y, so a wrong pixel shows which one it was.
QImage coordinatePicture()
{
    QImage image(96, 64, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x, y, 200));
    }
    return image;
}

QString colourText(QRgb rgb)
{
    return QStringLiteral("(%1,%2,%3)").arg(qRed(rgb)).arg(qGreen(rgb)).arg(qBlue(rgb));
}

void mouseAtDevicePixel(QWindow *window, const QPoint &device, QEvent::Type type, Qt::MouseButtons state,
                        Qt::MouseButton button)
{
    // The hotspot's device pixel, as the window system reports it.
    const QPointF local = QPointF(device) / window->devicePixelRatio();
    qt_handleMouseEvent(window, local, window->mapToGlobal(QPoint(0, 0)) + local, state, button, type,
                        Qt::NoModifier, 0);
}

struct Preview
{
    Quillmere window;
    PreviewView *view = nullptr;
    OSDItem *item = nullptr;
    QImage picture = coordinatePicture();

    bool build(qreal zoom)
    {
        TestSupport::showWindow(window);
        item = QuillmereTestAccess::addPictureItem(window, picture);
        view = qobject_cast<PreviewView *>(QuillmereTestAccess::currentView(window));
        if (!item || !view)
            return false;
        item->setPos(30, 20);
        view->setZoom(zoom, QPoint(0, 0));
        TestSupport::propertyPanel(window)->selectColorCheck()->setChecked(true);
        return true;
    }

    // The window's device pixels that show picture pixel p: those whose centres lie on it, a centre
    // on its left or top edge going to the pixel before.
    QRect devicePixelsOf(const QPoint &p) const
    {
        const qreal ratio = window.windowHandle()->devicePixelRatio();
        const QPointF origin = view->viewport()->mapTo(&window, QPoint(0, 0));
        const QTransform toWindow =
            view->viewportTransform() * QTransform::fromTranslate(origin.x(), origin.y());
        const QRectF logical = toWindow.mapRect(item->mapRectToScene(QRectF(p, QSizeF(1, 1))));
        const QPoint first(qFloor(logical.left() * ratio - 0.5) + 1, qFloor(logical.top() * ratio - 0.5) + 1);
        const QPoint last(qFloor(logical.right() * ratio - 0.5), qFloor(logical.bottom() * ratio - 0.5));
        return QRect(first, last);
    }
};

} // namespace

class TestHidpi : public QObject
{
    Q_OBJECT

private slots:
    void scaleIsHonoured();
    void previewShowsWholePicturePixels_data();
    void previewShowsWholePicturePixels();
    void pickingTakesThePixelUnderTheHotspot_data();
    void pickingTakesThePixelUnderTheHotspot();
    void iconsAreDrawnFromTheirFiles_data();
    void iconsAreDrawnFromTheirFiles();
};

void TestHidpi::scaleIsHonoured()
{
    Quillmere w;
    TestSupport::showWindow(w);
    QCOMPARE(w.windowHandle()->devicePixelRatio(), requestedScale());
}

void TestHidpi::previewShowsWholePicturePixels_data()
{
    QTest::addColumn<qreal>("zoom");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("400 %") << 4.0;
}

// Each device pixel shows exactly one picture pixel, the one its centre lies on: nothing is
// smoothed, and at 100 % a picture pixel is one device-independent pixel.
void TestHidpi::previewShowsWholePicturePixels()
{
    QFETCH(qreal, zoom);
    Preview preview;
    QVERIFY(preview.build(zoom));
    const QImage shown = preview.window.grab().toImage();
    const QRect pixels(QPoint(2, 2), QSize(12, 8));
    const QRect area =
        preview.devicePixelsOf(pixels.topLeft()).united(preview.devicePixelsOf(pixels.bottomRight()));
    const qreal expectedWidth = zoom * requestedScale();
    QVERIFY2(qAbs(area.width() - pixels.width() * expectedWidth) <= 1, "a picture pixel has its zoom's size");
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QRect device = preview.devicePixelsOf(QPoint(x, y));
            for (int dy = device.top(); dy <= device.bottom(); ++dy) {
                for (int dx = device.left(); dx <= device.right(); ++dx) {
                    if (shown.pixel(dx, dy) != preview.picture.pixel(x, y))
                        QFAIL(qPrintable(QStringLiteral("device pixel (%1,%2) shows %3 instead of %4")
                                             .arg(dx)
                                             .arg(dy)
                                             .arg(colourText(shown.pixel(dx, dy)),
                                                  colourText(preview.picture.pixel(x, y)))));
                }
            }
        }
    }
}

void TestHidpi::pickingTakesThePixelUnderTheHotspot_data()
{
    QTest::addColumn<qreal>("zoom");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("400 %") << 4.0;
}

// The colour picked is the one shown under the hotspot, also from the first and the last device
// pixel of a picture pixel.
void TestHidpi::pickingTakesThePixelUnderTheHotspot()
{
    QFETCH(qreal, zoom);
    Preview preview;
    QVERIFY(preview.build(zoom));
    QWindow *window = preview.window.windowHandle();
    QLabel *picked = TestSupport::propertyPanel(preview.window)->pickedColorLabel();
    const struct
    {
        QPoint pixel;
        bool last; // the bottom-right device pixel, else the top-left one
    } aims[] = {{{37, 21}, false}, {{38, 22}, true}, {{5, 50}, true}, {{90, 3}, false}, {{91, 4}, true}};
    QLabel *underCursor = TestSupport::windowPart<QLabel>(preview.window, QStringLiteral("colorTipLabel"));
    for (const auto &aim : aims) {
        const QRect device = preview.devicePixelsOf(aim.pixel);
        const QPoint at = aim.last ? device.bottomRight() : device.topLeft();
        // The press picks the pixel under the hotspot at that moment.
        mouseAtDevicePixel(window, at, QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
        mouseAtDevicePixel(window, at, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        mouseAtDevicePixel(window, at, QEvent::MouseButtonRelease, Qt::NoButton, Qt::LeftButton);
        const QString expected = colourText(preview.picture.pixel(aim.pixel));
        QCOMPARE(underCursor->text(), expected);
        QCOMPARE(picked->text(), expected);
    }
}

void TestHidpi::iconsAreDrawnFromTheirFiles_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QColor>("backdrop");
    QTest::newRow("toolbar") << "picture"
                             << ":/osdimage/res/osdimage/btn_toolbar_image%1.png" << QColor(69, 69, 69);
    QTest::newRow("alignment") << "align"
                               << ":/osdimage/res/osdimage/align_right%1.png" << QColor(50, 50, 50);
}

// At a whole scale the icon's device pixels are its file's: the @2x file at 200 %, not the 1x one
// blown up.
void TestHidpi::iconsAreDrawnFromTheirFiles()
{
    QFETCH(QString, button);
    QFETCH(QString, file);
    QFETCH(QColor, backdrop);
    const qreal scale = requestedScale();
    if (scale != 1 && scale != 2)
        QSKIP("icons are resampled at fractional scales");
    Quillmere w;
    TestSupport::showWindow(w);
    // The alignment buttons act on the current item; without one they are disabled and greyed.
    QVERIFY(QuillmereTestAccess::addPictureItem(w, coordinatePicture()));
    QWidget *widget = nullptr;
    QRect iconArea;
    if (button == QLatin1String("picture")) {
        widget = TestSupport::toolBarButton(w, QStringLiteral("pictureButton"))->pictureButton();
        iconArea = widget->rect();
    } else {
        QToolButton *align = TestSupport::propertyPanel(w)->alignButton(2);
        widget = align;
        iconArea = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, align->iconSize(), align->rect());
    }
    QImage expected(file.arg(scale == 2 ? QStringLiteral("@2x") : QString()));
    QVERIFY(!expected.isNull());
    // Read from an @2x name the image says it is for a ratio of 2; here its pixels are compared.
    expected.setDevicePixelRatio(1);
    QImage composed(expected.size(), QImage::Format_RGB32);
    composed.fill(backdrop);
    QPainter(&composed).drawImage(0, 0, expected);

    const QImage shown = widget->grab(iconArea).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), composed.size());
    int worst = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y);
            const QRgb b = composed.pixel(x, y);
            worst = std::max(
                {worst, qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))});
        }
    }
    // Blending may round a step either way; a resampled icon is off by far more at its edges.
    QVERIFY2(worst <= 2, qPrintable(QStringLiteral("largest difference %1").arg(worst)));
}

int main(int argc, char *argv[])
{
    // Unless told otherwise, a screen of 96 dots per inch; the offscreen platform's own says 100.
    if (qEnvironmentVariableIntValue("QT_FONT_DPI") <= 0)
        qputenv("QT_FONT_DPI", "96");
    HighDpiSetup::prepare();
    QApplication app(argc, argv);
    TestHidpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
