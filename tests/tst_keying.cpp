// Colour keying and colour picking in the main window, driven through the sliders, the item's
// hover and click signals, the reset button and the tab list.
#include "interfaces/model/datamode.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/styled/checkboxex.h"
#include "interfaces/styled/labelex.h"
#include "interfaces/styled/pushbuttonex.h"
#include "interfaces/styled/tablewidgetex.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "osditem/publicbase.h"
#include "support/core/pictures.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "widgets/doubleslider.h"

#include <QColorDialog>
#include <QFrame>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPointer>
#include <QtTest>

using TestSupport::keyedByDefinition;

namespace {

const QString kBorder =
    QStringLiteral(";border-width: 1px;border-color: rgb(22,22,22);border-style: solid;border-radius: 3px;");

// The item, its shown pixmap and its record all carry image.
void verifyItemShows(OSDItem *item, VideoControlOSD *record, const QImage &image, const QColor &fill,
                     bool keyingOn)
{
    QVERIFY(TestSupport::identicalPixels(item->image(), image));
    QVERIFY(TestSupport::identicalPixels(item->loadedImage(), image));
    QVERIFY(TestSupport::identicalPixels(item->displayImage(), image));
    QVERIFY(TestSupport::identicalPixels(item->pixmap().toImage(), image));
    QCOMPARE(item->videoControlOSD(), record);
    QVERIFY(record->pImageValue());
    QVERIFY(TestSupport::identicalPixels(*record->pImageValue(), image));
    int completionWidth = 0;
    QCOMPARE(record->image(), PublicBase::imageToOsdData(image, &completionWidth));
    QCOMPARE(record->OSDFileLength(), image.width() * image.height() * 3);
    QCOMPARE(record->completionImageWidth(), image.width());
    QCOMPARE(record->size(), image.size());
    QCOMPARE(record->selectColor(), fill);
    QCOMPARE(record->IsSelectColor(), keyingOn);
}

// Moves the mouse over the current tab's view as the window system would, at the item pixel p.
void hoverAt(Quillmere &w, const QPoint &p)
{
    QGraphicsView *view = QuillmereTestAccess::currentView(w);
    const QPoint pos = view->mapFromScene(QPointF(p));
    QMouseEvent move(QEvent::MouseMove, pos, view->viewport()->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
}

void clickAt(Quillmere &w, const QPoint &p)
{
    QGraphicsView *view = QuillmereTestAccess::currentView(w);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->mapFromScene(QPointF(p)));
}

void answerColourDialog(const QColor &color)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, color] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        if (color.isValid()) {
            dialog->setCurrentColor(color);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    timer->start();
}

void showWindow(Quillmere &w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(0);
}

} // namespace

class TestKeying : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        TestSupport::failOnQtWarnings();
    }

    void sliderStepKeysAndRewritesRecord_data();
    void sliderStepKeysAndRewritesRecord();
    void narrowAfterWideStartsFromBase();
    void beginAboveEndMatchesNothing();
    void recordFollowsFillColourAndSwitch();
    void fillColourFromDialog();
    void pickByClick();
    void hoverWithoutClickMovesOnlyTheTip();
    void strayClickWithKeyingOffChangesNothing();
    void pickReportsThePixelOnScreen_data();
    void pickReportsThePixelOnScreen();
    void tipOutlivesTheFirstTab();
    void resetRestoresBase();
    void resetOnNeverKeyedTab();
    void resetNamesTabByTitle();
    void closedTabDoesNotLendItsBase();
    void movedTabKeepsItsBase();
    void newItemInTabStartsAfresh();
    void staleRemovalDoesNotLoseBase();
    void resetListStartsAfresh();
    void indexedPictureIsKeyed();
    void emptyPictureKeysWithoutHarm();
};

void TestKeying::sliderStepKeysAndRewritesRecord_data()
{
    QTest::addColumn<QColor>("pixel");
    QTest::addColumn<bool>("keyed");

    // Range (0,0,0)..(10,10,10), fill black.
    QTest::newRow("inside") << QColor(5, 5, 5) << true;
    QTest::newRow("blue above") << QColor(5, 5, 11) << false;
    QTest::newRow("upper bounds") << QColor(10, 10, 10) << true;
    QTest::newRow("red above") << QColor(11, 0, 0) << false;
}

void TestKeying::sliderStepKeysAndRewritesRecord()
{
    QFETCH(QColor, pixel);
    QFETCH(bool, keyed);

    Quillmere w;
    QImage base = TestSupport::filledPicture(QSize(7, 5), QColor(200, 200, 200));
    base.setPixelColor(3, 2, pixel);
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    VideoControlOSD *record = item->videoControlOSD();

    for (int channel = 0; channel < 3; ++channel)
        QuillmereTestAccess::slider(w, channel)->moveMaxHandle(10);

    for (int channel = 0; channel < 3; ++channel) {
        QCOMPARE(QuillmereTestAccess::minLabel(w, channel)->text(), QStringLiteral("0"));
        QCOMPARE(QuillmereTestAccess::maxLabel(w, channel)->text(), QStringLiteral("10"));
    }
    QCOMPARE(QuillmereTestAccess::beginColor(w), QColor(0, 0, 0));
    QCOMPARE(QuillmereTestAccess::endColor(w), QColor(10, 10, 10));

    QCOMPARE(item->image().pixelColor(3, 2), keyed ? QColor(0, 0, 0) : pixel);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(200, 200, 200));
    verifyItemShows(item, record, item->image(), QColor(0, 0, 0), false);
    QVERIFY(TestSupport::identicalPixels(item->sourceImage(), base));
}

void TestKeying::narrowAfterWideStartsFromBase()
{
    Quillmere w;
    QImage base = TestSupport::filledPicture(QSize(4, 1), QColor(100, 100, 100));
    base.setPixelColor(0, 0, QColor(5, 5, 5));
    base.setPixelColor(1, 0, QColor(50, 50, 50));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    QuillmereTestAccess::selectColor(w) = QColor(255, 0, 0);

    for (int channel = 0; channel < 3; ++channel)
        QuillmereTestAccess::slider(w, channel)->moveMaxHandle(60);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(255, 0, 0));
    QCOMPARE(item->image().pixelColor(1, 0), QColor(255, 0, 0));
    QCOMPARE(item->image().pixelColor(2, 0), QColor(100, 100, 100));

    for (int channel = 0; channel < 3; ++channel)
        QuillmereTestAccess::slider(w, channel)->moveMaxHandle(10);
    const QImage expected = keyedByDefinition(base, QColor(0, 0, 0), QColor(10, 10, 10), QColor(255, 0, 0));
    QVERIFY(TestSupport::identicalPixels(item->image(), expected));
    QCOMPARE(item->image().pixelColor(1, 0), QColor(50, 50, 50));
    verifyItemShows(item, item->videoControlOSD(), expected, QColor(255, 0, 0), false);
}

void TestKeying::beginAboveEndMatchesNothing()
{
    Quillmere w;
    const QImage base = TestSupport::filledPicture(QSize(3, 3), QColor(60, 60, 60));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    QuillmereTestAccess::selectColor(w) = QColor(1, 2, 3);
    QuillmereTestAccess::beginColor(w) = QColor(0, 61, 0);
    QuillmereTestAccess::endColor(w) = QColor(255, 60, 255);
    w.slot_applyDataForDataModel();
    QVERIFY(TestSupport::identicalPixels(item->image(), base));
    verifyItemShows(item, item->videoControlOSD(), base, QColor(1, 2, 3), false);
}

void TestKeying::recordFollowsFillColourAndSwitch()
{
    Quillmere w;
    OSDItem *item =
        QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(2, 2), QColor(9, 9, 9)));
    VideoControlOSD *record = item->videoControlOSD();

    QuillmereTestAccess::selectColorCheck(w)->setChecked(true);
    // Toggling the switch alone writes nothing.
    QCOMPARE(record->IsSelectColor(), false);
    QuillmereTestAccess::selectColor(w) = QColor(0, 128, 255);
    QuillmereTestAccess::slider(w, 1)->moveMinHandle(5);
    QCOMPARE(item->videoControlOSD(), record);
    QCOMPARE(record->IsSelectColor(), true);
    QCOMPARE(record->selectColor(), QColor(0, 128, 255));
    QCOMPARE(item->image().pixelColor(0, 0), QColor(0, 128, 255));

    // Keying runs also while the switch is off; the switch only goes into the record.
    QuillmereTestAccess::selectColorCheck(w)->setChecked(false);
    QuillmereTestAccess::slider(w, 1)->moveMinHandle(10);
    QCOMPARE(record->IsSelectColor(), false);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(9, 9, 9));
}

void TestKeying::fillColourFromDialog()
{
    Quillmere w;
    showWindow(w);
    OSDItem *item =
        QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(2, 2), QColor(9, 9, 9)));
    LabelEx *swatch = QuillmereTestAccess::fillColorSwatch(w);

    answerColourDialog(QColor(12, 200, 7));
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(QuillmereTestAccess::selectColor(w), QColor(12, 200, 7));
    QCOMPARE(swatch->styleSheet(), QStringLiteral("background-color:#0cc807") + kBorder);
    // Not applied until the next range change.
    QCOMPARE(item->image().pixelColor(0, 0), QColor(9, 9, 9));

    answerColourDialog(QColor());
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(QuillmereTestAccess::selectColor(w), QColor(12, 200, 7));
    QCOMPARE(swatch->styleSheet(), QStringLiteral("background-color:#0cc807") + kBorder);

    QuillmereTestAccess::slider(w, 0)->moveMinHandle(1);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(12, 200, 7));

    // The two bound dialogs store their colour and touch nothing else.
    answerColourDialog(QColor(1, 2, 3));
    w.slot_displayColorFormColorDialogBegin();
    QCOMPARE(QuillmereTestAccess::beginColor(w), QColor(1, 2, 3));
    answerColourDialog(QColor());
    w.slot_displayColorFormColorDialogEnd();
    QCOMPARE(QuillmereTestAccess::endColor(w), QColor(255, 255, 255));
    QCOMPARE(QuillmereTestAccess::minLabel(w, 0)->text(), QStringLiteral("1"));
}

void TestKeying::pickByClick()
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
    QuillmereTestAccess::selectColorCheck(w)->setChecked(true);
    QuillmereTestAccess::selectColor(w) = QColor(250, 240, 230);
    QSignalSpy ranges(QuillmereTestAccess::slider(w, 0), &DoubleSlider::signal_valueChanged);

    hoverAt(w, QPoint(12, 7));
    QVERIFY(QuillmereTestAccess::colorTip(w)->isVisible());
    clickAt(w, QPoint(12, 7));
    QVERIFY(QuillmereTestAccess::mouseClicked(w));
    hoverAt(w, QPoint(12, 7));
    QVERIFY(!QuillmereTestAccess::mouseClicked(w));

    const int values[] = {10, 20, 30};
    for (int channel = 0; channel < 3; ++channel) {
        QCOMPARE(QuillmereTestAccess::slider(w, channel)->minValue(), values[channel]);
        QCOMPARE(QuillmereTestAccess::slider(w, channel)->maxValue(), values[channel]);
        QCOMPARE(QuillmereTestAccess::minLabel(w, channel)->text(), QString::number(values[channel]));
        QCOMPARE(QuillmereTestAccess::maxLabel(w, channel)->text(), QString::number(values[channel]));
    }
    QCOMPARE(ranges.count(), 0);
    QCOMPARE(QuillmereTestAccess::pickedColorLabel(w)->text(), QStringLiteral("(10,20,30)"));
    QCOMPARE(QuillmereTestAccess::pickedColorSwatch(w)->styleSheet(),
             QStringLiteral("background-color:rgb(10,20,30)") + kBorder);
    QCOMPARE(QuillmereTestAccess::colorTipLabel(w)->text(), QStringLiteral("(10,20,30)"));
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

void TestKeying::strayClickWithKeyingOffChangesNothing()
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
    QCOMPARE(QuillmereTestAccess::colorTipLabel(w)->text(), QStringLiteral("(10,20,30)"));
    QVERIFY(!QuillmereTestAccess::mouseClicked(w));
    QCOMPARE(QuillmereTestAccess::pickedColorLabel(w)->text(), QStringLiteral("(--,--,--)"));
    QCOMPARE(QuillmereTestAccess::beginColor(w), QColor(0, 0, 0));
    QCOMPARE(QuillmereTestAccess::endColor(w), QColor(255, 255, 255));
    QVERIFY(!item->isKeyApplied());
    QVERIFY(TestSupport::identicalPixels(item->pixmap().toImage(), base));
    QCOMPARE(record->image(), pixels);

    // Switched on, the same click picks.
    QuillmereTestAccess::selectColorCheck(w)->setChecked(true);
    clickAt(w, QPoint(12, 7));
    hoverAt(w, QPoint(12, 7));
    QCOMPARE(QuillmereTestAccess::pickedColorLabel(w)->text(), QStringLiteral("(10,20,30)"));
    QCOMPARE(item->image().pixelColor(12, 7), QColor(0, 0, 0));
}

void TestKeying::hoverWithoutClickMovesOnlyTheTip()
{
    Quillmere w;
    showWindow(w);
    QImage base = TestSupport::filledPicture(QSize(30, 20), QColor(1, 2, 3));
    base.setPixelColor(8, 9, QColor(12, 200, 7));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    const qint64 before = item->image().cacheKey();

    hoverAt(w, QPoint(8, 9));
    QCOMPARE(QuillmereTestAccess::colorTipLabel(w)->text(), QStringLiteral("(12,200,7)"));
    QCOMPARE(QuillmereTestAccess::colorTipSwatch(w)->styleSheet(),
             QStringLiteral("background-color:rgb(12,200,7)") + kBorder);
    QGraphicsView *view = QuillmereTestAccess::currentView(w);
    const QPoint viewPos = view->mapFromScene(QPointF(8, 9));
    QCOMPARE(QuillmereTestAccess::colorTip(w)->pos(), w.mapToParent(viewPos) + QPoint(0, 122));

    hoverAt(w, QPoint(2, 2));
    QCOMPARE(QuillmereTestAccess::colorTipLabel(w)->text(), QStringLiteral("(1,2,3)"));
    QCOMPARE(QuillmereTestAccess::pickedColorLabel(w)->text(), QStringLiteral("(--,--,--)"));
    QCOMPARE(QuillmereTestAccess::slider(w, 0)->minValue(), 0);
    QCOMPARE(QuillmereTestAccess::slider(w, 0)->maxValue(), 255);
    QCOMPARE(item->image().cacheKey(), before);
    QVERIFY(!item->isKeyApplied());
}

void TestKeying::pickReportsThePixelOnScreen_data()
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

void TestKeying::pickReportsThePixelOnScreen()
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
    QuillmereTestAccess::selectColorCheck(w)->setChecked(true);
    QuillmereTestAccess::selectColor(w) = QColor(1, 2, 3);

    hoverAt(w, at);
    clickAt(w, at);
    hoverAt(w, at);
    const bool onPicture = picturePixel != QPoint(-1, -1);
    const QColor expected = onPicture ? base.pixelColor(picturePixel) : QColor();
    const QString text =
        onPicture
            ? QStringLiteral("(%1,%2,%3)").arg(expected.red()).arg(expected.green()).arg(expected.blue())
            : QStringLiteral("(--,--,--)");
    QCOMPARE(QuillmereTestAccess::colorTipLabel(w)->text(), text);
    QCOMPARE(QuillmereTestAccess::pickedColorLabel(w)->text(), text);
    QVERIFY(!QuillmereTestAccess::mouseClicked(w));
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

void TestKeying::tipOutlivesTheFirstTab()
{
    Quillmere w;
    showWindow(w);
    w.on_notifyAddTable(0);
    OSDItem *item =
        QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(20, 20), QColor(3, 4, 5)));
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(QuillmereTestAccess::tabWidget(w)->count(), 1);
    QVERIFY(QuillmereTestAccess::colorTip(w));

    hoverAt(w, QPoint(3, 3));
    QVERIFY(QuillmereTestAccess::colorTip(w)->isVisible());
    QCOMPARE(QuillmereTestAccess::colorTipLabel(w)->text(), QStringLiteral("(3,4,5)"));
    QuillmereTestAccess::selectColorCheck(w)->setChecked(true);
    clickAt(w, QPoint(3, 3));
    hoverAt(w, QPoint(3, 3));
    QCOMPARE(QuillmereTestAccess::pickedColorLabel(w)->text(), QStringLiteral("(3,4,5)"));
    QCOMPARE(item->image().pixelColor(3, 3), QColor(0, 0, 0));

    // A fresh list keeps the same tip rather than making another.
    const QPointer<QFrame> tip = QuillmereTestAccess::colorTip(w);
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.slot_removeAllTable();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(tip);
    QCOMPARE(QuillmereTestAccess::colorTip(w), tip.data());
}

void TestKeying::resetRestoresBase()
{
    Quillmere w;
    showWindow(w);
    QImage base = TestSupport::filledPicture(QSize(6, 6), QColor(40, 40, 40));
    base.setPixelColor(1, 1, QColor(200, 10, 10));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    VideoControlOSD *record = item->videoControlOSD();
    QuillmereTestAccess::selectColorCheck(w)->setChecked(true);
    QuillmereTestAccess::selectColor(w) = QColor(0, 0, 255);
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(100);
    QuillmereTestAccess::slider(w, 1)->moveMinHandle(20);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(0, 0, 255));
    hoverAt(w, QPoint(1, 1));
    clickAt(w, QPoint(1, 1));
    hoverAt(w, QPoint(1, 1));
    QCOMPARE(QuillmereTestAccess::pickedColorLabel(w)->text(), QStringLiteral("(200,10,10)"));

    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("是"));
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    QTest::mouseClick(QuillmereTestAccess::resetButton(w), Qt::LeftButton);
    QVERIFY(seen.contains(QStringLiteral("OSD1 已经复位成功。")));
    QVERIFY(seen.contains(QStringLiteral("提示")));

    for (int channel = 0; channel < 3; ++channel) {
        QCOMPARE(QuillmereTestAccess::slider(w, channel)->minValue(), 0);
        QCOMPARE(QuillmereTestAccess::slider(w, channel)->maxValue(), 255);
        QCOMPARE(QuillmereTestAccess::minLabel(w, channel)->text(), QStringLiteral("0"));
        QCOMPARE(QuillmereTestAccess::maxLabel(w, channel)->text(), QStringLiteral("255"));
    }
    QCOMPARE(QuillmereTestAccess::pickedColorLabel(w)->text(), QStringLiteral("(--,--,--)"));
    QCOMPARE(QuillmereTestAccess::pickedColorSwatch(w)->styleSheet(),
             QStringLiteral("background-color:rgb(0,0,0)") + kBorder);
    QCOMPARE(QuillmereTestAccess::fillColorSwatch(w)->styleSheet(),
             QStringLiteral("background-color:#000000") + kBorder);
    QCOMPARE(QuillmereTestAccess::selectColor(w), QColor(0, 0, 0));
    QCOMPARE(QuillmereTestAccess::beginColor(w), QColor(0, 0, 0));
    QCOMPARE(QuillmereTestAccess::endColor(w), QColor(255, 255, 255));

    verifyItemShows(item, record, base, QColor(0, 0, 0), true);
}

void TestKeying::resetOnNeverKeyedTab()
{
    Quillmere w;
    showWindow(w);
    const QImage base = TestSupport::filledPicture(QSize(5, 4), QColor(0, 0, 0));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    VideoControlOSD *record = item->videoControlOSD();
    const QImage *recordImage = record->pImageValue();
    const qint64 shown = item->image().cacheKey();

    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    w.slot_Resetbutton();
    QVERIFY(seen.contains(QStringLiteral("OSD1 已经复位成功。")));
    QCOMPARE(item->image().cacheKey(), shown);
    QCOMPARE(record->pImageValue(), recordImage);
    QCOMPARE(record->IsSelectColor(), false);
}

void TestKeying::resetNamesTabByTitle()
{
    Quillmere w;
    showWindow(w);
    w.on_notifyAddTable(0);
    w.on_notifyAddTable(0);
    TableWidgetEx *tabs = QuillmereTestAccess::tabWidget(w);
    QCOMPARE(tabs->tabText(2), QStringLiteral("OSD3"));
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(3, 3), QColor(5, 5, 5)));

    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    w.slot_Resetbutton();
    QVERIFY2(seen.contains(QStringLiteral("OSD3 已经复位成功。")), qPrintable(seen.join(QLatin1Char('|'))));

    // With OSD2 closed, OSD3 stands second but keeps its name.
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(1);
    QCOMPARE(tabs->count(), 2);
    tabs->setCurrentIndex(1);
    QCOMPARE(tabs->tabText(1), QStringLiteral("OSD3"));
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    w.slot_Resetbutton();
    QVERIFY2(seen.contains(QStringLiteral("OSD3 已经复位成功。")), qPrintable(seen.join(QLatin1Char('|'))));
}

void TestKeying::closedTabDoesNotLendItsBase()
{
    Quillmere w;
    showWindow(w);
    const QImage first = TestSupport::filledPicture(QSize(8, 8), QColor(10, 10, 10));
    QuillmereTestAccess::addPictureItem(w, first);
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(50); // keys OSD1, base at position 0

    w.on_notifyAddTable(0);
    QImage second = TestSupport::filledPicture(QSize(5, 3), QColor(30, 30, 30));
    second.setPixelColor(0, 0, QColor(100, 30, 30));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, second);
    VideoControlOSD *record = item->videoControlOSD();

    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(0);
    QCOMPARE(QuillmereTestAccess::tabWidget(w)->count(), 1);
    QCOMPARE(QuillmereTestAccess::tabWidget(w)->currentIndex(), 0);

    QuillmereTestAccess::selectColor(w) = QColor(0, 255, 0);
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(60);
    const QImage expected =
        keyedByDefinition(second, QColor(0, 0, 0), QColor(60, 255, 255), QColor(0, 255, 0));
    QCOMPARE(item->image().size(), QSize(5, 3));
    QCOMPARE(item->image().pixelColor(0, 0), QColor(100, 30, 30));
    QCOMPARE(item->image().pixelColor(1, 0), QColor(0, 255, 0));
    verifyItemShows(item, record, expected, QColor(0, 255, 0), false);
    QVERIFY(TestSupport::identicalPixels(item->sourceImage(), second));
}

void TestKeying::movedTabKeepsItsBase()
{
    Quillmere w;
    showWindow(w);
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(4, 4), QColor(99, 99, 99)));
    w.on_notifyAddTable(0);
    QImage second = TestSupport::filledPicture(QSize(4, 4), QColor(20, 20, 20));
    second.setPixelColor(2, 2, QColor(80, 20, 20));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, second);
    QuillmereTestAccess::selectColor(w) = QColor(255, 255, 255);
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(100); // keys both colours of the second item
    QCOMPARE(item->image().pixelColor(2, 2), QColor(255, 255, 255));

    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(0);
    QCOMPARE(QuillmereTestAccess::tabWidget(w)->currentIndex(), 0);

    // Narrowing on the moved tab gives back the pixel the wider range had taken.
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(50);
    QCOMPARE(item->image().pixelColor(2, 2), QColor(80, 20, 20));
    QCOMPARE(item->image().pixelColor(0, 0), QColor(255, 255, 255));
}

void TestKeying::newItemInTabStartsAfresh()
{
    Quillmere w;
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(4, 4), QColor(10, 10, 10)));
    QuillmereTestAccess::slider(w, 2)->moveMaxHandle(200);

    const QImage fresh = TestSupport::filledPicture(QSize(6, 2), QColor(120, 0, 0));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, fresh);
    QVERIFY(!item->isKeyApplied());
    QuillmereTestAccess::slider(w, 2)->moveMaxHandle(190);
    QCOMPARE(item->image().size(), QSize(6, 2));
    QVERIFY(TestSupport::identicalPixels(item->image(),
                                         TestSupport::filledPicture(QSize(6, 2), QColor(0, 0, 0))));
    QVERIFY(TestSupport::identicalPixels(item->sourceImage(), fresh));
}

void TestKeying::staleRemovalDoesNotLoseBase()
{
    // Three tabs; the second and third are keyed; the first is closed, so the others move up.
    // A new picture into the third tab must not cost the second its base image.
    Quillmere w;
    showWindow(w);
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(3, 3), QColor(1, 1, 1)));
    w.on_notifyAddTable(0);
    QImage second = TestSupport::filledPicture(QSize(3, 3), QColor(20, 20, 20));
    second.setPixelColor(1, 1, QColor(90, 20, 20));
    OSDItem *secondItem = QuillmereTestAccess::addPictureItem(w, second);
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(100);
    QCOMPARE(secondItem->image().pixelColor(1, 1), QColor(0, 0, 0));
    w.on_notifyAddTable(0);
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(3, 3), QColor(30, 30, 30)));
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(99);

    TableWidgetEx *tabs = QuillmereTestAccess::tabWidget(w);
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(0);
    QCOMPARE(tabs->currentIndex(), 1);
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(3, 3), QColor(40, 40, 40)));

    tabs->setCurrentIndex(0);
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(50);
    QCOMPARE(secondItem->image().pixelColor(1, 1), QColor(90, 20, 20));
    QCOMPARE(secondItem->image().pixelColor(0, 0), QColor(0, 0, 0));
}

void TestKeying::resetListStartsAfresh()
{
    Quillmere w;
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(4, 4), QColor(10, 10, 10)));
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(200);

    TestSupport::answerNextModal(QStringLiteral("是"));
    w.slot_removeAllTable();
    const QImage fresh = TestSupport::filledPicture(QSize(2, 5), QColor(150, 7, 7));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, fresh);
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(199);
    QCOMPARE(item->image().size(), QSize(2, 5));
    QVERIFY(TestSupport::identicalPixels(item->image(),
                                         TestSupport::filledPicture(QSize(2, 5), QColor(0, 0, 0))));
}

void TestKeying::indexedPictureIsKeyed()
{
    Quillmere w;
    QImage base(4, 2, QImage::Format_Indexed8);
    base.setColorCount(2);
    base.setColor(0, qRgb(10, 10, 10));
    base.setColor(1, qRgb(200, 200, 200));
    base.fill(1);
    base.setPixel(0, 0, 0);
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    QuillmereTestAccess::selectColor(w) = QColor(0, 0, 255);
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(20);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(0, 0, 255));
    QCOMPARE(item->image().pixelColor(1, 0), QColor(200, 200, 200));
    verifyItemShows(item, item->videoControlOSD(), item->image(), QColor(0, 0, 255), false);
}

void TestKeying::emptyPictureKeysWithoutHarm()
{
    // A file Qt cannot read leaves the item with an empty image.
    Quillmere w;
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, QImage());
    QuillmereTestAccess::slider(w, 0)->moveMaxHandle(20);
    QVERIFY(item->image().isNull());
    VideoControlOSD *record = item->videoControlOSD();
    QVERIFY(record->image().isEmpty());
    QCOMPARE(record->OSDFileLength(), 0);
    QCOMPARE(record->size(), QSize(0, 0));
    hoverAt(w, QPoint(0, 0));
    QCOMPARE(QuillmereTestAccess::pickedColorLabel(w)->text(), QStringLiteral("(--,--,--)"));
}

QTEST_MAIN(TestKeying)
#include "tst_keying.moc"
