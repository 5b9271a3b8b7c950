// Colour keying in the main window, driven through the sliders, the fill colour, the reset button
// and the tab list.
#include "core/document/osddocument.h"
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
#include "widgets/styled/pushbuttonex.h"
#include "widgets/styled/tablewidgetex.h"

#include <QFrame>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPointer>
#include <QUndoStack>
#include <QtTest>

using TestSupport::answerColourDialog;
using TestSupport::clickAt;
using TestSupport::hoverAt;
using TestSupport::keyedByDefinition;
using TestSupport::kSwatchBorder;
using TestSupport::showWindow;
using TestSupport::verifyItemShows;

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
    void panelFollowsTheCurrentTab();
    void fillAfterKeyingReachesPixelsAndRecord();
    void resetOfAnImportedPicture();
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
        TestSupport::propertyPanel(w)->slider(channel)->moveMaxHandle(10);

    for (int channel = 0; channel < 3; ++channel) {
        QCOMPARE(TestSupport::propertyPanel(w)->minLabel(channel)->text(), QStringLiteral("0"));
        QCOMPARE(TestSupport::propertyPanel(w)->maxLabel(channel)->text(), QStringLiteral("10"));
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
    QuillmereTestAccess::setSelectColor(w, QColor(255, 0, 0));

    for (int channel = 0; channel < 3; ++channel)
        TestSupport::propertyPanel(w)->slider(channel)->moveMaxHandle(60);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(255, 0, 0));
    QCOMPARE(item->image().pixelColor(1, 0), QColor(255, 0, 0));
    QCOMPARE(item->image().pixelColor(2, 0), QColor(100, 100, 100));

    for (int channel = 0; channel < 3; ++channel)
        TestSupport::propertyPanel(w)->slider(channel)->moveMaxHandle(10);
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
    QuillmereTestAccess::setSelectColor(w, QColor(1, 2, 3));
    QuillmereTestAccess::setBeginColor(w, QColor(0, 61, 0));
    QuillmereTestAccess::setEndColor(w, QColor(255, 60, 255));
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

    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    // Toggling the switch alone writes nothing.
    QCOMPARE(record->IsSelectColor(), false);
    QuillmereTestAccess::setSelectColor(w, QColor(0, 128, 255));
    TestSupport::propertyPanel(w)->slider(1)->moveMinHandle(5);
    QCOMPARE(item->videoControlOSD(), record);
    QCOMPARE(record->IsSelectColor(), true);
    QCOMPARE(record->selectColor(), QColor(0, 128, 255));
    QCOMPARE(item->image().pixelColor(0, 0), QColor(0, 128, 255));

    // Keying runs also while the switch is off; the switch only goes into the record.
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(false);
    TestSupport::propertyPanel(w)->slider(1)->moveMinHandle(10);
    QCOMPARE(record->IsSelectColor(), false);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(9, 9, 9));
}

void TestKeying::fillColourFromDialog()
{
    Quillmere w;
    showWindow(w);
    OSDItem *item =
        QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(2, 2), QColor(9, 9, 9)));
    LabelEx *swatch = TestSupport::propertyPanel(w)->fillColorSwatch();

    answerColourDialog(QColor(12, 200, 7));
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(QuillmereTestAccess::selectColor(w), QColor(12, 200, 7));
    QCOMPARE(swatch->styleSheet(), QStringLiteral("background-color:#0cc807") + kSwatchBorder);
    // Not applied until the next range change.
    QCOMPARE(item->image().pixelColor(0, 0), QColor(9, 9, 9));

    answerColourDialog(QColor());
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(QuillmereTestAccess::selectColor(w), QColor(12, 200, 7));
    QCOMPARE(swatch->styleSheet(), QStringLiteral("background-color:#0cc807") + kSwatchBorder);

    TestSupport::propertyPanel(w)->slider(0)->moveMinHandle(1);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(12, 200, 7));

    // The two bound dialogs store their colour and touch nothing else.
    answerColourDialog(QColor(1, 2, 3));
    w.slot_displayColorFormColorDialogBegin();
    QCOMPARE(QuillmereTestAccess::beginColor(w), QColor(1, 2, 3));
    answerColourDialog(QColor());
    w.slot_displayColorFormColorDialogEnd();
    QCOMPARE(QuillmereTestAccess::endColor(w), QColor(255, 255, 255));
    QCOMPARE(TestSupport::propertyPanel(w)->minLabel(0)->text(), QStringLiteral("1"));
}

void TestKeying::resetRestoresBase()
{
    Quillmere w;
    showWindow(w);
    QImage base = TestSupport::filledPicture(QSize(6, 6), QColor(40, 40, 40));
    base.setPixelColor(1, 1, QColor(200, 10, 10));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    VideoControlOSD *record = item->videoControlOSD();
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    QuillmereTestAccess::setSelectColor(w, QColor(0, 0, 255));
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(100);
    TestSupport::propertyPanel(w)->slider(1)->moveMinHandle(20);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(0, 0, 255));
    hoverAt(w, QPoint(1, 1));
    clickAt(w, QPoint(1, 1));
    hoverAt(w, QPoint(1, 1));
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(200,10,10)"));

    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("是"));
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    QTest::mouseClick(TestSupport::propertyPanel(w)->resetButton(), Qt::LeftButton);
    QVERIFY(seen.contains(QStringLiteral("OSD1 已经复位成功。")));
    QVERIFY(seen.contains(QStringLiteral("提示")));

    for (int channel = 0; channel < 3; ++channel) {
        QCOMPARE(TestSupport::propertyPanel(w)->slider(channel)->minValue(), 0);
        QCOMPARE(TestSupport::propertyPanel(w)->slider(channel)->maxValue(), 255);
        QCOMPARE(TestSupport::propertyPanel(w)->minLabel(channel)->text(), QStringLiteral("0"));
        QCOMPARE(TestSupport::propertyPanel(w)->maxLabel(channel)->text(), QStringLiteral("255"));
    }
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(--,--,--)"));
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorSwatch()->styleSheet(),
             QStringLiteral("background-color:rgb(0,0,0)") + kSwatchBorder);
    QCOMPARE(TestSupport::propertyPanel(w)->fillColorSwatch()->styleSheet(),
             QStringLiteral("background-color:#000000") + kSwatchBorder);
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
    TableWidgetEx *tabs = TestSupport::tabList(w);
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
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(50); // keys OSD1, base at position 0

    w.on_notifyAddTable(0);
    QImage second = TestSupport::filledPicture(QSize(5, 3), QColor(30, 30, 30));
    second.setPixelColor(0, 0, QColor(100, 30, 30));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, second);
    VideoControlOSD *record = item->videoControlOSD();

    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(0);
    QCOMPARE(TestSupport::tabList(w)->count(), 1);
    QCOMPARE(TestSupport::tabList(w)->currentIndex(), 0);

    QuillmereTestAccess::setSelectColor(w, QColor(0, 255, 0));
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(60);
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
    QuillmereTestAccess::setSelectColor(w, QColor(255, 255, 255));
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(100); // keys both colours of the second item
    QCOMPARE(item->image().pixelColor(2, 2), QColor(255, 255, 255));

    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(0);
    QCOMPARE(TestSupport::tabList(w)->currentIndex(), 0);

    // Narrowing on the moved tab gives back the pixel the wider range had taken.
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(50);
    QCOMPARE(item->image().pixelColor(2, 2), QColor(80, 20, 20));
    QCOMPARE(item->image().pixelColor(0, 0), QColor(255, 255, 255));
}

void TestKeying::newItemInTabStartsAfresh()
{
    Quillmere w;
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(4, 4), QColor(10, 10, 10)));
    TestSupport::propertyPanel(w)->slider(2)->moveMaxHandle(200);

    const QImage fresh = TestSupport::filledPicture(QSize(6, 2), QColor(120, 0, 0));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, fresh);
    QVERIFY(!item->isKeyApplied());
    TestSupport::propertyPanel(w)->slider(2)->moveMaxHandle(190);
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
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(100);
    QCOMPARE(secondItem->image().pixelColor(1, 1), QColor(0, 0, 0));
    w.on_notifyAddTable(0);
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(3, 3), QColor(30, 30, 30)));
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(99);

    TableWidgetEx *tabs = TestSupport::tabList(w);
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(0);
    QCOMPARE(tabs->currentIndex(), 1);
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(3, 3), QColor(40, 40, 40)));

    tabs->setCurrentIndex(0);
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(50);
    QCOMPARE(secondItem->image().pixelColor(1, 1), QColor(90, 20, 20));
    QCOMPARE(secondItem->image().pixelColor(0, 0), QColor(0, 0, 0));
}

void TestKeying::resetListStartsAfresh()
{
    Quillmere w;
    QuillmereTestAccess::addPictureItem(w, TestSupport::filledPicture(QSize(4, 4), QColor(10, 10, 10)));
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(200);

    TestSupport::answerNextModal(QStringLiteral("是"));
    w.slot_removeAllTable();
    const QImage fresh = TestSupport::filledPicture(QSize(2, 5), QColor(150, 7, 7));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, fresh);
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(199);
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
    QuillmereTestAccess::setSelectColor(w, QColor(0, 0, 255));
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(20);
    QCOMPARE(item->image().pixelColor(0, 0), QColor(0, 0, 255));
    QCOMPARE(item->image().pixelColor(1, 0), QColor(200, 200, 200));
    verifyItemShows(item, item->videoControlOSD(), item->image(), QColor(0, 0, 255), false);
}

void TestKeying::emptyPictureKeysWithoutHarm()
{
    // A file Qt cannot read leaves the item with an empty image.
    Quillmere w;
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, QImage());
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(20);
    QVERIFY(item->image().isNull());
    VideoControlOSD *record = item->videoControlOSD();
    QVERIFY(record->image().isEmpty());
    QCOMPARE(record->OSDFileLength(), 0);
    QCOMPARE(record->size(), QSize(0, 0));
    hoverAt(w, QPoint(0, 0));
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(), QStringLiteral("(--,--,--)"));
}

QTEST_MAIN(TestKeying)
#include "tst_keying.moc"

void TestKeying::panelFollowsTheCurrentTab()
{
    Quillmere w;
    const QImage first = TestSupport::randomPicture(16, 12, 3);
    const QImage second = TestSupport::randomPicture(16, 12, 4);
    OSDItem *firstItem = QuillmereTestAccess::addPictureItem(w, first);
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(120);

    // A new tab starts with a recipe of its own.
    w.on_notifyAddTable(0);
    QCOMPARE(TestSupport::propertyPanel(w)->slider(0)->maxValue(), 255);
    QCOMPARE(TestSupport::propertyPanel(w)->maxLabel(0)->text(), QStringLiteral("255"));
    QVERIFY(!TestSupport::propertyPanel(w)->selectColorCheck()->isChecked());
    OSDItem *secondItem = QuillmereTestAccess::addPictureItem(w, second);
    TestSupport::propertyPanel(w)->slider(1)->moveMaxHandle(60);

    // Back on OSD1 the panel shows OSD1's ranges, and a touch of another slider keys OSD1 with them,
    // not with OSD2's.
    TestSupport::tabList(w)->setCurrentIndex(0);
    QCOMPARE(TestSupport::propertyPanel(w)->slider(0)->maxValue(), 120);
    QCOMPARE(TestSupport::propertyPanel(w)->maxLabel(0)->text(), QStringLiteral("120"));
    QCOMPARE(TestSupport::propertyPanel(w)->slider(1)->maxValue(), 255);
    QVERIFY(TestSupport::propertyPanel(w)->selectColorCheck()->isChecked());
    TestSupport::propertyPanel(w)->slider(2)->moveMaxHandle(200);
    QVERIFY(TestSupport::identicalPixels(
        firstItem->image(),
        keyedByDefinition(first, QColor(0, 0, 0), QColor(120, 255, 200), QColor(0, 0, 0))));
    QVERIFY(TestSupport::identicalPixels(
        secondItem->image(),
        keyedByDefinition(second, QColor(0, 0, 0), QColor(255, 60, 255), QColor(0, 0, 0))));
    QCOMPARE(w.document()->at(1)->key.end, QColor(255, 60, 255));
}

void TestKeying::fillAfterKeyingReachesPixelsAndRecord()
{
    Quillmere w;
    showWindow(w);
    const QImage base = TestSupport::randomPicture(16, 12, 5);
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, base);
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(100);
    const int steps = w.undoStack()->count();

    // The colour chosen after keying keys again at once: the pixels and the record hold it.
    const QColor green(0, 200, 0);
    answerColourDialog(green);
    w.slot_displayColorFormColorDialog();
    const QImage expected = keyedByDefinition(base, QColor(0, 0, 0), QColor(100, 255, 255), green);
    verifyItemShows(item, item->videoControlOSD(), expected, green, true);
    QCOMPARE(w.undoStack()->count(), steps + 1);
    w.undoStack()->undo();
    item = QuillmereTestAccess::currentItems(w).value(0);
    verifyItemShows(item, item->videoControlOSD(),
                    keyedByDefinition(base, QColor(0, 0, 0), QColor(100, 255, 255), QColor(0, 0, 0)),
                    QColor(0, 0, 0), true);
    w.undoStack()->redo();

    // The colour stays with its tab: the next tab keys with its own.
    w.on_notifyAddTable(0);
    OSDItem *other = QuillmereTestAccess::addPictureItem(w, base);
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(100);
    QCOMPARE(other->videoControlOSD()->selectColor(), QColor(0, 0, 0));
    QCOMPARE(
        other->image().pixelColor(0, 0),
        keyedByDefinition(base, QColor(0, 0, 0), QColor(100, 255, 255), QColor(0, 0, 0)).pixelColor(0, 0));
}

void TestKeying::resetOfAnImportedPicture()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two.pic"));
    TestSupport::writeSmallRecords(path, 2);
    Quillmere w;
    showWindow(w);
    TestSupport::importFile(w, path);
    OSDItem *item = TestSupport::onlyItem(w, TestSupport::tabList(w)->currentIndex());
    QVERIFY(item);
    const QByteArray pixels = item->videoControlOSD()->image();
    const int steps = w.undoStack()->count();

    // The file holds no picture from before keying: the reset says so instead of claiming success.
    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    w.slot_Resetbutton();
    QVERIFY2(seen.join(QLatin1Char('|')).contains(QStringLiteral("没有原图")), qPrintable(seen.join('|')));
    QVERIFY(!seen.join(QLatin1Char('|')).contains(QStringLiteral("复位成功")));
    QCOMPARE(w.undoStack()->count(), steps);

    // Keyed here, it goes back to what was imported.
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(254);
    QVERIFY(item->videoControlOSD()->image() != pixels);
    seen.clear();
    TestSupport::answerNextModal(QStringLiteral("是"), &seen);
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    w.slot_Resetbutton();
    QVERIFY2(seen.join(QLatin1Char('|')).contains(QStringLiteral("复位成功")), qPrintable(seen.join('|')));
    QCOMPARE(item->videoControlOSD()->image(), pixels);
}
