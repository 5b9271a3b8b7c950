// The two-handle range slider driven by the operator: pressing picks a handle, dragging moves it,
// the arrow keys step it.
#include "support/doublesliderdriving.h"
#include "support/slidersignallog.h"
#include "support/testsupport.h"
#include "widgets/doubleslider.h"

#include <QSignalSpy>
#include <QtTest>

using SignalLog = TestSupport::SliderSignalLog;
using TestSupport::dragTo;
using TestSupport::kIdleHandle;
using TestSupport::kSliderRed;
using TestSupport::pressOn;
using TestSupport::releaseOn;

class TestDoubleSliderInput : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }

    void pressPicksHandle_data();
    void pressPicksHandle();
    void stackedHandlesCanBePulledApart_data();
    void stackedHandlesCanBePulledApart();
    void dragMovesActiveHandleWithinNeighbours_data();
    void dragMovesActiveHandleWithinNeighbours();
    void dragNeedsLeftButton();
    void handleStaysActiveUntilLeave();
    void keysMoveActiveHandle_data();
    void keysMoveActiveHandle();
};

void TestDoubleSliderInput::pressPicksHandle_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("active");

    // Handles at 60..69 and 200..209 (values 60 and 200 on a 255-pixel slider).
    QTest::newRow("lower handle") << QPoint(64, 12) << 0;
    QTest::newRow("lower handle, left edge") << QPoint(60, 4) << 0;
    QTest::newRow("lower handle, bottom right") << QPoint(69, 19) << 0;
    QTest::newRow("just right of lower handle") << QPoint(70, 12) << 2;
    QTest::newRow("just below lower handle") << QPoint(64, 20) << 2;
    QTest::newRow("upper handle") << QPoint(205, 10) << 1;
    QTest::newRow("upper handle, right edge") << QPoint(209, 12) << 1;
    QTest::newRow("track between") << QPoint(130, 10) << 2;
}

void TestDoubleSliderInput::pressPicksHandle()
{
    QFETCH(QPoint, pos);
    QFETCH(int, active);

    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(255, 22);
    slider.moveMinHandleNosignal(60);
    slider.moveMaxHandleNosignal(200);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QTRY_COMPARE(slider.minHandleRect(), QRect(60, 4, 10, 16));

    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(205, 12));
    QCOMPARE(slider.activeHandle(), 1);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(205, 12));
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, pos);
    QCOMPARE(slider.activeHandle(), active);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, pos);
}

void TestDoubleSliderInput::stackedHandlesCanBePulledApart_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("dragX");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");

    QTest::newRow("both at 0, press on them") << 0 << QPoint(6, 12) << 1 << 100 << 0 << 100;
    QTest::newRow("both at 0, press far away") << 0 << QPoint(200, 2) << 1 << 100 << 0 << 100;
    QTest::newRow("both at 255, press on them") << 255 << QPoint(250, 12) << 0 << 100 << 100 << 255;
    QTest::newRow("both at 255, press far away") << 255 << QPoint(20, 12) << 0 << 100 << 100 << 255;
    // In the middle the lower handle is found first and cannot pass the upper one.
    QTest::newRow("both at 128") << 128 << QPoint(130, 12) << 0 << 200 << 128 << 128;
}

void TestDoubleSliderInput::stackedHandlesCanBePulledApart()
{
    QFETCH(int, value);
    QFETCH(QPoint, press);
    QFETCH(int, active);
    QFETCH(int, dragX);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);

    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(255, 22);
    slider.moveMaxHandleNosignal(value);
    slider.moveMinHandleNosignal(value);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));

    pressOn(&slider, press);
    QCOMPARE(slider.activeHandle(), active);
    dragTo(&slider, QPoint(dragX, 12));
    releaseOn(&slider, QPoint(dragX, 12));
    QCOMPARE(slider.minValue(), minValue);
    QCOMPARE(slider.maxValue(), maxValue);
}

void TestDoubleSliderInput::dragMovesActiveHandleWithinNeighbours_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QList<int>>("path");
    QTest::addColumn<QStringList>("emitted");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");

    // 132 pixels wide as in the panel; handles start at 60 (x 31) and 200 (x 103).
    QTest::newRow("lower handle") << QPoint(33, 12) << QList<int>{50}
                                  << QStringList{"min(96)", "range(96,200)"} << 96 << 200;
    QTest::newRow("lower handle stops at the upper value")
        << QPoint(33, 12) << QList<int>{120, 130} << QStringList{"min(200)", "range(200,200)"} << 200 << 200;
    QTest::newRow("lower handle stops at the minimum")
        << QPoint(33, 12) << QList<int>{-40} << QStringList{"min(0)", "range(0,200)"} << 0 << 200;
    QTest::newRow("upper handle past the right edge")
        << QPoint(105, 12) << QList<int>{131, 400}
        << QStringList{"max(253)", "range(60,253)", "max(255)", "range(60,255)"} << 60 << 255;
    QTest::newRow("upper handle stops at the lower value")
        << QPoint(105, 12) << QList<int>{10} << QStringList{"max(60)", "range(60,60)"} << 60 << 60;
    QTest::newRow("fractional mouse positions round")
        << QPoint(105, 12) << QList<int>{-1} // marker: 99.6
        << QStringList{"max(193)", "range(60,193)"} << 60 << 193;
    QTest::newRow("no handle") << QPoint(70, 12) << QList<int>{10, 120} << QStringList() << 60 << 200;
    // A fast drag: the pointer leaves the slider (and the window) on its way past the end.
    QTest::newRow("upper handle dragged fast out of the slider reaches the end")
        << QPoint(105, 12) << QList<int>{128, -2, 400}
        << QStringList{"max(247)", "range(60,247)", "max(255)", "range(60,255)"} << 60 << 255;
    QTest::newRow("lower handle dragged fast out of the slider reaches the end")
        << QPoint(33, 12) << QList<int>{5, -2, -40}
        << QStringList{"min(9)", "range(9,200)", "min(0)", "range(0,200)"} << 0 << 200;
}

void TestDoubleSliderInput::dragMovesActiveHandleWithinNeighbours()
{
    QFETCH(QPoint, press);
    QFETCH(QList<int>, path);
    QFETCH(QStringList, emitted);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);

    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(132, 22);
    slider.moveMinHandleNosignal(60);
    slider.moveMaxHandleNosignal(200);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QTRY_COMPARE(slider.maxHandleRect(), QRect(103, 4, 10, 16));
    SignalLog log(&slider);

    pressOn(&slider, press);
    QPoint last = press;
    for (int x : path) {
        if (x == -2) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(&slider, &leave);
        } else if (x == -1) {
            // x 99.6 rounds to 100 before scaling: 100 * 255 / 132 = 193.2.
            const QPointF pos(99.6, 12.0);
            QMouseEvent move(QEvent::MouseMove, pos, slider.mapToGlobal(QPoint(100, 12)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&slider, &move);
            last = QPoint(100, 12);
        } else {
            last = QPoint(x, 12);
            dragTo(&slider, last);
        }
    }
    // Released where the mouse last was: a release elsewhere would drag there first.
    releaseOn(&slider, last);
    QCOMPARE(log.entries, emitted);
    QCOMPARE(slider.minValue(), minValue);
    QCOMPARE(slider.maxValue(), maxValue);
}

void TestDoubleSliderInput::dragNeedsLeftButton()
{
    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(255, 22);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    SignalLog log(&slider);

    pressOn(&slider, QPoint(250, 12), Qt::RightButton);
    QCOMPARE(slider.activeHandle(), 1);
    dragTo(&slider, QPoint(100, 12));
    releaseOn(&slider, QPoint(100, 12), Qt::RightButton);
    dragTo(&slider, QPoint(90, 12));
    QVERIFY(log.entries.isEmpty());
    QCOMPARE(slider.maxValue(), 255);
}

void TestDoubleSliderInput::handleStaysActiveUntilLeave()
{
    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(255, 22);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));

    QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(250, 12));
    QCOMPARE(slider.activeHandle(), 1);
    QTest::keyClick(&slider, Qt::Key_Left);
    QCOMPARE(slider.maxValue(), 254);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&slider, &leave);
    QCOMPARE(slider.activeHandle(), 2);
    QTest::keyClick(&slider, Qt::Key_Left);
    QCOMPARE(slider.maxValue(), 254);
    QTRY_COMPARE(slider.grab().toImage().pixelColor(248, 12), kIdleHandle);
}

void TestDoubleSliderInput::keysMoveActiveHandle_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("emitted");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");

    // Handles at 0 (x 4) and 20 (x 20) on a 255-pixel slider.
    QTest::newRow("lower at 0, Left")
        << QPoint(6, 12) << 1 << QList<int>{Qt::Key_Left} << QStringList() << 0 << 20;
    QTest::newRow("lower, Right and Up")
        << QPoint(6, 12) << 1 << QList<int>{Qt::Key_Right, Qt::Key_Up}
        << QStringList{"min(1)", "range(1,20)", "min(2)", "range(2,20)"} << 2 << 20;
    QTest::newRow("lower, big step stops at the upper value")
        << QPoint(6, 12) << 15 << QList<int>{Qt::Key_Right, Qt::Key_Right}
        << QStringList{"min(15)", "range(15,20)", "min(20)", "range(20,20)"} << 20 << 20;
    QTest::newRow("upper, Down") << QPoint(22, 12) << 1 << QList<int>{Qt::Key_Down}
                                 << QStringList{"max(19)", "range(0,19)"} << 0 << 19;
    QTest::newRow("upper, big step stops at the lower value")
        << QPoint(22, 12) << 50 << QList<int>{Qt::Key_Left} << QStringList{"max(0)", "range(0,0)"} << 0 << 0;
    QTest::newRow("upper, stops at the maximum")
        << QPoint(22, 12) << 200 << QList<int>{Qt::Key_Right, Qt::Key_Right}
        << QStringList{"max(220)", "range(0,220)", "max(255)", "range(0,255)"} << 0 << 255;
    QTest::newRow("no handle") << QPoint(120, 12) << 1 << QList<int>{Qt::Key_Right, Qt::Key_Left}
                               << QStringList() << 0 << 20;
    QTest::newRow("other keys") << QPoint(6, 12) << 1 << QList<int>{Qt::Key_Home, Qt::Key_Plus, Qt::Key_Space}
                                << QStringList() << 0 << 20;
}

void TestDoubleSliderInput::keysMoveActiveHandle()
{
    QFETCH(QPoint, press);
    QFETCH(int, step);
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, emitted);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);

    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(255, 22);
    slider.setSingleStep(step);
    slider.moveMaxHandleNosignal(20);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QTRY_COMPARE(slider.maxHandleRect(), QRect(20, 4, 10, 16));
    SignalLog log(&slider);

    QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, press);
    for (int key : keys)
        QTest::keyClick(&slider, Qt::Key(key));
    QCOMPARE(log.entries, emitted);
    QCOMPARE(slider.minValue(), minValue);
    QCOMPARE(slider.maxValue(), maxValue);
}

QTEST_MAIN(TestDoubleSliderInput)
#include "tst_doublesliderinput.moc"
