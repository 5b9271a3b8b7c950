// The two-handle range slider: geometry, painting, setters and their signals.
#include "support/doublesliderdriving.h"
#include "support/slidersignallog.h"
#include "support/testsupport.h"
#include "widgets/doubleslider.h"

#include <QImage>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QtTest>

using SignalLog = TestSupport::SliderSignalLog;
using TestSupport::kIdleHandle;
using TestSupport::kSliderRed;

namespace {

const QColor kTrack(Qt::gray);

} // namespace

class TestDoubleSlider : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }

    void valueOffset_data();
    void valueOffset();
    void handleLeft_data();
    void handleLeft();
    void valueAt_data();
    void valueAt();

    void startState();
    void metaMethods();
    void paintsTrackSpanAndHandles_data();
    void paintsTrackSpanAndHandles();
    void activeHandleTakesTheColour();

    void settersSignal_data();
    void settersSignal();
    void noSignalSettersChangeValuesAndPicture();
    void setRangeClampsThroughSignals();

    void zeroSpanDoesNotDivideByZero();
};

void TestDoubleSlider::valueOffset_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("offset");

    QTest::newRow("lower end") << 0 << 0 << 255 << 255 << 0;
    QTest::newRow("upper end, as wide as the span") << 255 << 0 << 255 << 255 << 255;
    QTest::newRow("truncates") << 100 << 0 << 255 << 132 << 51; // 13200 / 255 = 51.76
    QTest::newRow("upper end, narrow") << 255 << 0 << 255 << 132 << 132;
    QTest::newRow("shifted range") << 15 << 10 << 20 << 100 << 50;
    QTest::newRow("below minimum truncates toward zero") << -1 << 0 << 255 << 100 << 0; // -100 / 255
    QTest::newRow("zero span") << 7 << 7 << 7 << 200 << 0;
    QTest::newRow("zero span, value elsewhere") << 9 << 7 << 7 << 200 << 0;
    QTest::newRow("huge range does not overflow") << 2000000000 << 0 << 2000000000 << 300 << 300;
}

void TestDoubleSlider::valueOffset()
{
    QFETCH(int, value);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, width);
    QFETCH(int, offset);
    QCOMPARE(DoubleSlider::valueOffset(value, minimum, maximum, width), offset);
}

void TestDoubleSlider::handleLeft_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");

    QTest::newRow("0") << 0 << 255 << 4 << 5;
    QTest::newRow("4") << 4 << 255 << 4 << 5;
    QTest::newRow("5") << 5 << 255 << 5 << 5;
    QTest::newRow("6") << 6 << 255 << 6 << 6;
    QTest::newRow("middle") << 120 << 255 << 120 << 120;
    QTest::newRow("W-10") << 245 << 255 << 245 << 245;
    QTest::newRow("W-9") << 246 << 255 << 246 << 245;
    QTest::newRow("W-8") << 247 << 255 << 247 << 245;
    QTest::newRow("W") << 255 << 255 << 247 << 245;
    QTest::newRow("negative") << -30 << 255 << 4 << 5;
}

void TestDoubleSlider::handleLeft()
{
    QFETCH(int, offset);
    QFETCH(int, width);
    QFETCH(int, lower);
    QFETCH(int, upper);
    QCOMPARE(DoubleSlider::lowerHandleLeft(offset, width), lower);
    QCOMPARE(DoubleSlider::upperHandleLeft(offset, width), upper);
}

void TestDoubleSlider::valueAt_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("value");

    QTest::newRow("left edge") << 0 << 0 << 255 << 255 << 0;
    QTest::newRow("one to one") << 77 << 0 << 255 << 255 << 77;
    QTest::newRow("truncates") << 100 << 0 << 255 << 132 << 193;           // 193.18
    QTest::newRow("truncates below .99") << 131 << 0 << 255 << 132 << 253; // 253.07
    QTest::newRow("right edge") << 132 << 0 << 255 << 132 << 255;
    QTest::newRow("past the right edge, unclamped") << 200 << 0 << 255 << 100 << 510;
    QTest::newRow("left of the widget truncates toward zero") << -1 << 0 << 255 << 1000 << 0; // -0.255
    QTest::newRow("further left") << -10 << 0 << 255 << 100 << -25;
    QTest::newRow("shifted range") << 50 << 10 << 20 << 100 << 15;
    QTest::newRow("zero span") << 60 << 42 << 42 << 100 << 42;
    QTest::newRow("zero width") << 60 << 0 << 255 << 0 << 0;
}

void TestDoubleSlider::valueAt()
{
    QFETCH(int, x);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, width);
    QFETCH(int, value);
    QCOMPARE(DoubleSlider::valueAt(x, minimum, maximum, width), value);
}

void TestDoubleSlider::startState()
{
    QWidget parent;
    DoubleSlider slider(&parent, QColor(0, 255, 0));
    QCOMPARE(slider.parentWidget(), &parent);
    QCOMPARE(slider.color(), QColor(0, 255, 0));
    QCOMPARE(slider.focusPolicy(), Qt::StrongFocus);
    QCOMPARE(slider.minimum(), 0);
    QCOMPARE(slider.maximum(), 255);
    QCOMPARE(slider.singleStep(), 1);
    QCOMPARE(slider.minValue(), 0);
    QCOMPARE(slider.maxValue(), 255);
    QCOMPARE(slider.activeHandle(), 2);
    QVERIFY(slider.minHandleRect().isNull());
    QVERIFY(slider.maxHandleRect().isNull());
    QVERIFY(slider.label().isEmpty());
}

void TestDoubleSlider::metaMethods()
{
    const QMetaObject *meta = &DoubleSlider::staticMetaObject;
    const QStringList expected = {
        QStringLiteral("minValueChanged(int)"),
        QStringLiteral("maxValueChanged(int)"),
        QStringLiteral("signal_valueChanged(int,int)"),
        QStringLiteral("setLabel(QString)"),
        QStringLiteral("setMaxValue(int)"),
        QStringLiteral("setMinValue(int)"),
        QStringLiteral("setMaxValueNosignal(int)"),
        QStringLiteral("setMinValueNosignal(int)"),
    };
    QCOMPARE(meta->methodCount() - meta->methodOffset(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QMetaMethod method = meta->method(meta->methodOffset() + i);
        QCOMPARE(QString::fromLatin1(method.methodSignature()), expected.at(i));
        QCOMPARE(method.methodType(), i < 3 ? QMetaMethod::Signal : QMetaMethod::Slot);
    }
    const QMetaMethod range = meta->method(meta->methodOffset() + 2);
    QCOMPARE(range.parameterNames(), (QList<QByteArray>{"min", "max"}));
}

void TestDoubleSlider::paintsTrackSpanAndHandles_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("lowerLeft");
    QTest::addColumn<int>("upperLeft");

    QTest::newRow("new, 255 wide") << 255 << 0 << 255 << 4 << 245;
    QTest::newRow("panel width") << 132 << 0 << 255 << 4 << 122;
    QTest::newRow("inner values") << 255 << 60 << 200 << 60 << 200;
    QTest::newRow("inner values, narrow") << 132 << 60 << 200 << 31 << 103; // 7920/255, 26400/255
}

void TestDoubleSlider::paintsTrackSpanAndHandles()
{
    QFETCH(int, width);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, lowerLeft);
    QFETCH(int, upperLeft);

    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(width, 22);
    slider.moveMaxHandleNosignal(maxValue);
    slider.moveMinHandleNosignal(minValue);
    const QImage shot = slider.grab().toImage();

    QCOMPARE(slider.minHandleRect(), QRect(lowerLeft, 4, 10, 16));
    QCOMPARE(slider.maxHandleRect(), QRect(upperLeft, 4, 10, 16));

    const int a = lowerLeft;
    const int b = upperLeft;
    // Handles: 10 x 16, corners rounded, drawn idle; nothing above or below them.
    for (int left : {a, b}) {
        QCOMPARE(shot.pixelColor(left, 12), kIdleHandle);
        QCOMPARE(shot.pixelColor(left + 9, 12), kIdleHandle);
        QCOMPARE(shot.pixelColor(left + 4, 4), kIdleHandle);
        QCOMPARE(shot.pixelColor(left + 4, 19), kIdleHandle);
        QVERIFY(shot.pixelColor(left + 4, 3) != kIdleHandle);
        QVERIFY(shot.pixelColor(left + 4, 20) != kIdleHandle);
        QVERIFY(shot.pixelColor(left, 4) != kIdleHandle); // rounded corner
    }
    if (b > a + 10)
        QCOMPARE(shot.pixelColor(a + 10, 10), kSliderRed);
    // The span runs between the handles, 4 pixels high (rows 9 to 12).
    if (b - 1 > a + 10) {
        const int mid = (a + b) / 2 + 5;
        QCOMPARE(shot.pixelColor(mid, 9), kSliderRed);
        QCOMPARE(shot.pixelColor(mid, 12), kSliderRed);
        QVERIFY(shot.pixelColor(mid, 8) != kSliderRed);
        QVERIFY(shot.pixelColor(mid, 13) != kSliderRed);
        QCOMPARE(shot.pixelColor(b - 1, 10), kSliderRed);
    }
    // The grey track shows outside the span and ends 5 pixels before the right edge.
    if (a > 8) {
        QCOMPARE(shot.pixelColor(a - 1, 10), kTrack);
        QCOMPARE(shot.pixelColor(5, 10), kTrack);
        QVERIFY(shot.pixelColor(3, 10) != kTrack);
    }
    if (b + 10 < width - 6) {
        QCOMPARE(shot.pixelColor(b + 10, 10), kTrack);
        QCOMPARE(shot.pixelColor(width - 6, 10), kTrack);
        QVERIFY(shot.pixelColor(width - 4, 10) != kTrack);
    }
}

void TestDoubleSlider::activeHandleTakesTheColour()
{
    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(255, 22);
    slider.moveMinHandleNosignal(60);
    slider.moveMaxHandleNosignal(200);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));

    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(205, 12));
    QCOMPARE(slider.activeHandle(), 1);
    QImage shot = slider.grab().toImage();
    QCOMPARE(shot.pixelColor(205, 12), kSliderRed);
    QCOMPARE(shot.pixelColor(65, 12), kIdleHandle);

    QTest::mousePress(&slider, Qt::RightButton, Qt::NoModifier, QPoint(65, 12));
    QCOMPARE(slider.activeHandle(), 0);
    shot = slider.grab().toImage();
    QCOMPARE(shot.pixelColor(65, 12), kSliderRed);
    QCOMPARE(shot.pixelColor(205, 12), kIdleHandle);
}

void TestDoubleSlider::settersSignal_data()
{
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QStringList>("emitted");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");

    QTest::newRow("same lower value") << "min 0" << QStringList() << 0 << 255;
    QTest::newRow("same upper value") << "max 255" << QStringList() << 0 << 255;
    QTest::newRow("new lower value") << "min 40" << QStringList{"min(40)", "range(40,255)"} << 40 << 255;
    QTest::newRow("new upper value") << "max 90" << QStringList{"max(90)", "range(0,90)"} << 0 << 90;
    QTest::newRow("both") << "min 40,max 90"
                          << QStringList{"min(40)", "range(40,255)", "max(90)", "range(40,90)"} << 40 << 90;
    QTest::newRow("silent lower value is reported with the next upper change")
        << "minSilent 33,max 90" << QStringList{"max(90)", "range(33,90)"} << 33 << 90;
    QTest::newRow("silent upper value is reported with the next lower change")
        << "maxSilent 120,min 7" << QStringList{"min(7)", "range(7,120)"} << 7 << 120;
    QTest::newRow("move handles signal")
        << "moveMax 100,moveMin 50" << QStringList{"max(100)", "range(0,100)", "min(50)", "range(50,100)"}
        << 50 << 100;
    QTest::newRow("setters do not clamp")
        << "min 300" << QStringList{"min(300)", "range(300,255)"} << 300 << 255;
}

void TestDoubleSlider::settersSignal()
{
    QFETCH(QString, calls);
    QFETCH(QStringList, emitted);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);

    DoubleSlider slider(nullptr, kSliderRed);
    SignalLog log(&slider);
    const QStringList steps = calls.split(QLatin1Char(','));
    for (const QString &step : steps) {
        const QStringList parts = step.split(QLatin1Char(' '));
        const int value = parts.at(1).toInt();
        if (parts.at(0) == QLatin1String("min"))
            slider.setMinValue(value);
        else if (parts.at(0) == QLatin1String("max"))
            slider.setMaxValue(value);
        else if (parts.at(0) == QLatin1String("minSilent"))
            slider.setMinValueNosignal(value);
        else if (parts.at(0) == QLatin1String("maxSilent"))
            slider.setMaxValueNosignal(value);
        else if (parts.at(0) == QLatin1String("moveMin"))
            slider.moveMinHandle(value);
        else if (parts.at(0) == QLatin1String("moveMax"))
            slider.moveMaxHandle(value);
    }
    QCOMPARE(log.entries, emitted);
    QCOMPARE(slider.minValue(), minValue);
    QCOMPARE(slider.maxValue(), maxValue);
}

void TestDoubleSlider::noSignalSettersChangeValuesAndPicture()
{
    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(255, 22);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    SignalLog log(&slider);

    slider.moveMaxHandleNosignal(30);
    slider.moveMinHandleNosignal(30);
    QCOMPARE(slider.minValue(), 30);
    QCOMPARE(slider.maxValue(), 30);
    QVERIFY(log.entries.isEmpty());
    // The repaint has been asked for: once it ran, the handles sit at the new place.
    QTRY_COMPARE(slider.minHandleRect(), QRect(30, 4, 10, 16));
    QCOMPARE(slider.maxHandleRect(), QRect(30, 4, 10, 16));
}

void TestDoubleSlider::setRangeClampsThroughSignals()
{
    DoubleSlider slider(nullptr, kSliderRed);
    SignalLog log(&slider);
    slider.setRange(10, 100);
    QCOMPARE(slider.minimum(), 10);
    QCOMPARE(slider.maximum(), 100);
    QCOMPARE(log.entries, (QStringList{"min(10)", "range(10,255)", "max(100)", "range(10,100)"}));

    log.entries.clear();
    slider.setRange(0, 200); // values inside: untouched
    QVERIFY(log.entries.isEmpty());
    QCOMPARE(slider.minValue(), 10);
    QCOMPARE(slider.maxValue(), 100);
}

void TestDoubleSlider::zeroSpanDoesNotDivideByZero()
{
    DoubleSlider slider(nullptr, kSliderRed);
    slider.resize(200, 22);
    slider.setRange(50, 50);
    QCOMPARE(slider.minValue(), 50);
    QCOMPARE(slider.maxValue(), 50);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));

    // Both handles rest at the left end.
    const QImage shot = slider.grab().toImage();
    QCOMPARE(slider.minHandleRect(), QRect(4, 4, 10, 16));
    QCOMPARE(slider.maxHandleRect(), QRect(5, 4, 10, 16));
    QCOMPARE(shot.pixelColor(100, 10), kTrack);

    // Stacked at the minimum: the upper handle is taken; a drag anywhere gives the only value.
    SignalLog log(&slider);
    TestSupport::pressOn(&slider, QPoint(8, 12));
    QCOMPARE(slider.activeHandle(), 1);
    TestSupport::dragTo(&slider, QPoint(150, 12));
    TestSupport::releaseOn(&slider, QPoint(150, 12));
    QCOMPARE(slider.maxValue(), 50);
    QVERIFY(log.entries.isEmpty());
}

QTEST_MAIN(TestDoubleSlider)
#include "tst_doubleslider.moc"
