// Colour picking in the main window: hovering shows the colour tip, a click with keying on takes the
// pixel's colour as the range.
#include "core/pixels/publicbase.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/importing.h"
#include "support/keyingsupport.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/labelex.h"
#include "widgets/styled/tablewidgetex.h"

#include <QApplication>
#include <QFrame>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QLabel>
#include <QPointer>
#include <QUndoStack>
#include <QtTest>

using TestSupport::clickAt;
using TestSupport::hoverAt;
using TestSupport::keyedByDefinition;
using TestSupport::kSwatchBorder;
using TestSupport::showWindow;
using TestSupport::verifyItemShows;

class TestKeyingPick : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }

    void pickByClick();
    void hoverWithoutClickMovesOnlyTheTip();
    void strayClickWithKeyingOffChangesNothing();
    void pickReportsThePixelOnScreen_data();
    void pickReportsThePixelOnScreen();
    void strayPressDoesNotKeyAnotherTab();
    void onlyTheLeftButtonPicks_data();
    void onlyTheLeftButtonPicks();
    void pickReadsThePicturesOwnColour();
    void tipOutlivesTheFirstTab();
};

void TestKeyingPick::pickByClick()
{
    Quillmere w;
    showWindow(w);
    QImage base = TestSupport::filledPicture(QSize(30, 20), QColor(10, 20, 31));
    const QList<QPoint> target = {QPoint(4, 5), QPoint(12, 7), QPoint(29, 19)};
    for (const QPoint &p : target)
        base.setPixelColor(p, QColor(10, 20, 30));
    base.setPixelColor(5, 5, QColor(11, 20, 30));
    base.setPixelColor(6, 5, QColor(10, 21, 30));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    QuillmereTestAccess::setSelectColor(w, QColor(250, 240, 230));
    QSignalSpy ranges(TestSupport::propertyPanel(w)->slider(0), &DoubleSlider::signal_valueChanged);

    hoverAt(w, QPoint(12, 7));
    QVERIFY(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip"))->isVisible());
    clickAt(w, QPoint(12, 7));
    hoverAt(w, QPoint(12, 7));

    const int values[] = {10, 20, 30};
    for (int channel = 0; channel < 3; ++channel) {
        QCOMPARE(TestSupport::propertyPanel(w)->slider(channel)->minValue(), values[channel]);
        QCOMPARE(TestSupport::propertyPanel(w)->slider(channel)->maxValue(), values[channel]);
        QCOMPARE(TestSupport::propertyPanel(w)->minLabel(channel)->text(), QString::number(values[channel]));
        QCOMPARE(TestSupport::propertyPanel(w)->maxLabel(channel)->text(), QString::number(values[channel]));
    }
    QCOMPARE(ranges.count(), 0);
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(10,20,30)"));
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorSwatch()->styleSheet(),
             QStringLiteral("background-color:rgb(10,20,30)") + kSwatchBorder);
    QCOMPARE(TestSupport::windowPart<QLabel>(w, QStringLiteral("colorTipLabel"))->text(),
             QStringLiteral("(10,20,30)"));
    QCOMPARE(QuillmereTestAccess::beginColor(w), QColor(10, 20, 30));
    QCOMPARE(QuillmereTestAccess::endColor(w), QColor(10, 20, 30));

    const QImage expected =
        keyedByDefinition(base, QColor(10, 20, 30), QColor(10, 20, 30), QColor(250, 240, 230));
    QVERIFY(TestSupport::identicalPixels(item->image(), expected));
    for (const QPoint &p : target)
        QCOMPARE(item->image().pixelColor(p), QColor(250, 240, 230));
    QCOMPARE(item->image().pixelColor(5, 5), QColor(11, 20, 30));
    QCOMPARE(item->image().pixelColor(6, 5), QColor(10, 21, 30));
    QCOMPARE(item->image().pixelColor(0, 0), QColor(10, 20, 31));
    verifyItemShows(item, item->videoControlOSD(), expected, QColor(250, 240, 230), true);
}

void TestKeyingPick::strayClickWithKeyingOffChangesNothing()
{
    Quillmere w;
    showWindow(w);
    QImage base = TestSupport::filledPicture(QSize(30, 20), QColor(10, 20, 31));
    base.setPixelColor(12, 7, QColor(10, 20, 30));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    VideoControlOSD *record = item->videoControlOSD();
    const QByteArray pixels = record->image();

    hoverAt(w, QPoint(12, 7));
    clickAt(w, QPoint(12, 7));
    hoverAt(w, QPoint(12, 7));
    QCOMPARE(TestSupport::windowPart<QLabel>(w, QStringLiteral("colorTipLabel"))->text(),
             QStringLiteral("(10,20,30)"));
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(--,--,--)"));
    QCOMPARE(QuillmereTestAccess::beginColor(w), QColor(0, 0, 0));
    QCOMPARE(QuillmereTestAccess::endColor(w), QColor(255, 255, 255));
    QVERIFY(!item->isKeyApplied());
    QVERIFY(TestSupport::identicalPixels(item->pixmap().toImage(), base));
    QCOMPARE(record->image(), pixels);

    // Switched on, the same click picks.
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    clickAt(w, QPoint(12, 7));
    hoverAt(w, QPoint(12, 7));
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(10,20,30)"));
    QCOMPARE(item->image().pixelColor(12, 7), QColor(0, 0, 0));
}

void TestKeyingPick::hoverWithoutClickMovesOnlyTheTip()
{
    Quillmere w;
    showWindow(w);
    QImage base = TestSupport::filledPicture(QSize(30, 20), QColor(1, 2, 3));
    base.setPixelColor(8, 9, QColor(12, 200, 7));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    const qint64 before = item->image().cacheKey();

    QVERIFY(QTest::qWaitForWindowActive(&w));
    hoverAt(w, QPoint(8, 9));
    QCOMPARE(TestSupport::windowPart<QLabel>(w, QStringLiteral("colorTipLabel"))->text(),
             QStringLiteral("(12,200,7)"));
    // The tip shows without taking the activation or the keyboard from the window.
    QVERIFY(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip"))->isVisible());
    QCOMPARE(QApplication::activeWindow(), &w);
    // A tip window: window managers neither activate nor focus it (the offscreen platform
    // activates no window on its own, so the type is what this platform can check).
    QCOMPARE(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip"))->windowType(), Qt::ToolTip);
    QVERIFY(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip"))->windowFlags() &
            Qt::WindowDoesNotAcceptFocus);
    QCOMPARE(TestSupport::windowPart<QLabel>(w, QStringLiteral("colorTipSwatch"))->styleSheet(),
             QStringLiteral("background-color:rgb(12,200,7)") + kSwatchBorder);
    QGraphicsView *view = QuillmereTestAccess::currentView(w);
    const QPoint viewPos = view->mapFromScene(QPointF(8, 9));
    QCOMPARE(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip"))->pos(),
             w.mapToParent(viewPos) + QPoint(0, 122));

    hoverAt(w, QPoint(2, 2));
    QCOMPARE(TestSupport::windowPart<QLabel>(w, QStringLiteral("colorTipLabel"))->text(),
             QStringLiteral("(1,2,3)"));
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(--,--,--)"));
    QCOMPARE(TestSupport::propertyPanel(w)->slider(0)->minValue(), 0);
    QCOMPARE(TestSupport::propertyPanel(w)->slider(0)->maxValue(), 255);
    QCOMPARE(item->image().cacheKey(), before);
    QVERIFY(!item->isKeyApplied());
}

void TestKeyingPick::pickReportsThePixelOnScreen_data()
{
    QTest::addColumn<bool>("imported");
    QTest::addColumn<QRect>("cut");
    QTest::addColumn<bool>("cutView");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("picturePixel");

    const QRect none;
    const QRect window(10, 5, 20, 12);
    const QPoint outside(-1, -1);
    QTest::newRow("a picture without a cut") << false << none << false << QPoint(12, 7) << QPoint(12, 7);
    QTest::newRow("a cut picture with the cut view off shows the whole picture")
        << false << window << false << QPoint(3, 2) << QPoint(3, 2);
    QTest::newRow("a cut picture with the cut view on shows the window")
        << false << window << true << QPoint(3, 2) << QPoint(13, 7);
    QTest::newRow("beyond the window's right edge nothing is shown")
        << false << window << true << QPoint(25, 2) << outside;
    QTest::newRow("an imported picture with the cut view on shows the window")
        << true << window << true << QPoint(3, 2) << QPoint(13, 7);
    QTest::newRow("an imported picture with the cut view off shows the whole picture")
        << true << window << false << QPoint(3, 2) << QPoint(3, 2);
}

void TestKeyingPick::pickReportsThePixelOnScreen()
{
    QFETCH(bool, imported);
    QFETCH(QRect, cut);
    QFETCH(bool, cutView);
    QFETCH(QPoint, at);
    QFETCH(QPoint, picturePixel);

    // Every pixel has a colour of its own, so the wrong pixel cannot pass for the right one.
    QImage base(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < base.height(); ++y)
        for (int x = 0; x < base.width(); ++x)
            base.setPixel(x, y, qRgb(x * 5, y * 7, 100));

    Quillmere w;
    showWindow(w);
    OSDItem *item = nullptr;
    if (imported) {
        auto *record = new VideoControlOSD;
        int completionWidth = 0;
        record->setImage(PublicBase::imageToOsdData(base, &completionWidth));
        record->setCompletionImageWidth(completionWidth);
        record->setSize(base.size());
        record->setCutImageSize(cut);
        record->setIsCanEnableCut(cutView);
        record->setIsEnableCutImage(cutView);
        DataMode::getInstance()->setOSDInfos({record});
        DataMode::getInstance()->setSourcedatList({nullptr});
        QuillmereTestAccess::rebuildFromDataModel(w);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QList<QGraphicsItem *> items = QuillmereTestAccess::currentView(w)->scene()->items();
        QCOMPARE(items.size(), 1);
        item = dynamic_cast<OSDItem *>(items.first());
        QVERIFY(item);
        QCOMPARE(item->isShowCutArea(), cutView);
    } else {
        item = QuillmereTestAccess::addPictureItem(w, base);
        if (!cut.isNull())
            item->slot_applyCutImage(base.copy(cut), cut);
        if (cutView)
            item->slot_selectShowArea();
    }
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    QuillmereTestAccess::setSelectColor(w, QColor(1, 2, 3));

    hoverAt(w, at);
    clickAt(w, at);
    hoverAt(w, at);
    const bool onPicture = picturePixel != QPoint(-1, -1);
    const QColor expected = onPicture ? base.pixelColor(picturePixel) : QColor();
    const QString text =
        onPicture
            ? QStringLiteral("(%1,%2,%3)").arg(expected.red()).arg(expected.green()).arg(expected.blue())
            : QStringLiteral("(--,--,--)");
    QCOMPARE(TestSupport::windowPart<QLabel>(w, QStringLiteral("colorTipLabel"))->text(), text);
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), text);
    if (!onPicture) {
        QCOMPARE(QuillmereTestAccess::endColor(w), QColor(255, 255, 255));
        QVERIFY(!item->isKeyApplied());
        return;
    }
    // The key took exactly the clicked pixel, in the whole keyed picture.
    QCOMPARE(QuillmereTestAccess::beginColor(w), expected);
    QCOMPARE(QuillmereTestAccess::endColor(w), expected);
    QVERIFY(TestSupport::identicalPixels(item->image(),
                                         keyedByDefinition(base, expected, expected, QColor(1, 2, 3))));
    QCOMPARE(item->image().pixelColor(picturePixel), QColor(1, 2, 3));
}

void TestKeyingPick::tipOutlivesTheFirstTab()
{
    Quillmere w;
    showWindow(w);
    w.on_notifyAddTable(0);
    OSDItem *item =
        QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(20, 20), QColor(3, 4, 5)));
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(TestSupport::tabList(w)->count(), 1);
    QVERIFY(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip")));

    hoverAt(w, QPoint(3, 3));
    QVERIFY(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip"))->isVisible());
    QCOMPARE(TestSupport::windowPart<QLabel>(w, QStringLiteral("colorTipLabel"))->text(),
             QStringLiteral("(3,4,5)"));
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    clickAt(w, QPoint(3, 3));
    hoverAt(w, QPoint(3, 3));
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(3,4,5)"));
    QCOMPARE(item->image().pixelColor(3, 3), QColor(0, 0, 0));

    // A fresh list keeps the same tip rather than making another.
    const QPointer<QFrame> tip = TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip"));
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.slot_removeAllTable();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(tip);
    QCOMPARE(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip")), tip.data());
}

QTEST_MAIN(TestKeyingPick)
#include "tst_keyingpick.moc"

void TestKeyingPick::strayPressDoesNotKeyAnotherTab()
{
    // A press on OSD1 (keying off there), then OSD2 in front with keying on: the pointer moving over
    // OSD2's picture keys nothing.
    Quillmere w;
    showWindow(w);
    const QImage base = TestSupport::filledPicture(QSize(30, 20), QColor(10, 20, 30));
    QuillmereTestAccess::addPictureItem(w, base);
    clickAt(w, QPoint(3, 3));
    w.on_notifyAddTable(0);
    OSDItem *second = QuillmereTestAccess::addPictureItem(w, base);
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    const int steps = w.undoStack()->count();
    hoverAt(w, QPoint(5, 5));
    hoverAt(w, QPoint(6, 5));
    QVERIFY(!second->isKeyApplied());
    QCOMPARE(w.undoStack()->count(), steps);
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(--,--,--)"));
}

void TestKeyingPick::onlyTheLeftButtonPicks_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("picks");
    QTest::newRow("left") << int(Qt::LeftButton) << true;
    QTest::newRow("right") << int(Qt::RightButton) << false;
    QTest::newRow("middle") << int(Qt::MiddleButton) << false;
}

void TestKeyingPick::onlyTheLeftButtonPicks()
{
    QFETCH(int, button);
    QFETCH(bool, picks);
    Quillmere w;
    QImage base = TestSupport::filledPicture(QSize(8, 8), QColor(1, 2, 3));
    base.setPixelColor(4, 5, QColor(40, 50, 60));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    QGraphicsSceneMouseEvent press(QEvent::GraphicsSceneMousePress);
    press.setButton(Qt::MouseButton(button));
    press.setButtons(Qt::MouseButton(button));
    press.setPos(QPointF(4.5, 5.5));
    press.setScenePos(item->mapToScene(press.pos()));
    item->scene()->sendEvent(item, &press);
    QCOMPARE(item->isKeyApplied(), picks);
    QCOMPARE(QuillmereTestAccess::beginColor(w), picks ? QColor(40, 50, 60) : QColor(0, 0, 0));
}

void TestKeyingPick::pickReadsThePicturesOwnColour()
{
    Quillmere w;
    showWindow(w);
    QImage base = TestSupport::filledPicture(QSize(30, 20), QColor(10, 20, 31));
    base.setPixelColor(12, 7, QColor(10, 20, 30));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    QuillmereTestAccess::setSelectColor(w, QColor(250, 240, 230));
    clickAt(w, QPoint(12, 7));
    QCOMPARE(item->image().pixelColor(12, 7), QColor(250, 240, 230));

    // A second click on the keyed pixel picks the picture's colour there, not the fill shown.
    clickAt(w, QPoint(12, 7));
    QCOMPARE(QuillmereTestAccess::beginColor(w), QColor(10, 20, 30));
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(10,20,30)"));
    QCOMPARE(item->image().pixelColor(12, 7), QColor(250, 240, 230));
    QCOMPARE(item->image().pixelColor(0, 0), QColor(10, 20, 31));
}
