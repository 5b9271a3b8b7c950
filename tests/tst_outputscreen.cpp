// The arithmetic of placing items on the output screen.
#include "core/geometry/outputscreen.h"

#include <QtTest>

class TestOutputScreen : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void aligned_data();
    void aligned();
    void snapped_data();
    void snapped();
};

void TestOutputScreen::placement_data()
{
    QTest::addColumn<QRect>("item");
    QTest::addColumn<int>("placement");
    const int inside = int(OutputScreen::Placement::Inside);
    const int partly = int(OutputScreen::Placement::Partly);
    const int outside = int(OutputScreen::Placement::Outside);
    QTest::newRow("whole screen") << QRect(0, 0, 1920, 1080) << inside;
    QTest::newRow("last column in") << QRect(1919, 1079, 1, 1) << inside;
    QTest::newRow("one past the right") << QRect(1720, 0, 201, 10) << partly;
    QTest::newRow("above") << QRect(10, -1, 5, 5) << partly;
    QTest::newRow("larger than the screen") << QRect(-5, -5, 2000, 1200) << partly;
    QTest::newRow("right of it") << QRect(1920, 0, 5, 5) << outside;
    QTest::newRow("left of it") << QRect(-5, 0, 5, 5) << outside;
}

void TestOutputScreen::placement()
{
    QFETCH(QRect, item);
    QFETCH(int, placement);
    QCOMPARE(int(OutputScreen(QSize(1920, 1080)).placement(item)), placement);
}

void TestOutputScreen::aligned_data()
{
    QTest::addColumn<QRect>("item");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QPoint>("topLeft");
    const QRect item(37, 41, 201, 99);
    QTest::newRow("left keeps y") << item << int(Qt::AlignLeft) << QPoint(0, 41);
    QTest::newRow("centre rounds down") << item << int(Qt::AlignHCenter) << QPoint(859, 41);
    QTest::newRow("right") << item << int(Qt::AlignRight) << QPoint(1719, 41);
    QTest::newRow("middle") << item << int(Qt::AlignVCenter) << QPoint(37, 490);
    QTest::newRow("bottom right") << item << int(Qt::AlignBottom | Qt::AlignRight) << QPoint(1719, 981);
    QTest::newRow("centre of a wider item")
        << QRect(0, 0, 1925, 10) << int(Qt::AlignHCenter) << QPoint(-3, 0);
    QTest::newRow("right of a wider item") << QRect(0, 0, 1925, 10) << int(Qt::AlignRight) << QPoint(-5, 0);
}

void TestOutputScreen::aligned()
{
    QFETCH(QRect, item);
    QFETCH(int, alignment);
    QFETCH(QPoint, topLeft);
    QCOMPARE(OutputScreen(QSize(1920, 1080)).aligned(item, Qt::Alignment(alignment)), topLeft);
}

void TestOutputScreen::snapped_data()
{
    QTest::addColumn<QRectF>("item");
    QTest::addColumn<QPointF>("topLeft");
    QTest::newRow("left edge") << QRectF(7, 300, 100, 50) << QPointF(0, 300);
    QTest::newRow("beyond the threshold") << QRectF(9, 300, 100, 50) << QPointF(9, 300);
    QTest::newRow("right edge from outside") << QRectF(1825, 300, 100, 50) << QPointF(1820, 300);
    QTest::newRow("centre line") << QRectF(906, 515, 100, 50) << QPointF(910, 515);
    QTest::newRow("nearest line wins") << QRectF(-3, 1026, 1925, 50) << QPointF(-2.5, 1030);
    QTest::newRow("centre before edge, both axes") << QRectF(-4, 1035, 10, 50) << QPointF(-5, 1030);
}

void TestOutputScreen::snapped()
{
    QFETCH(QRectF, item);
    QFETCH(QPointF, topLeft);
    QCOMPARE(OutputScreen(QSize(1920, 1080)).snapped(item, 8), topLeft);
}

QTEST_GUILESS_MAIN(TestOutputScreen)
#include "tst_outputscreen.moc"
