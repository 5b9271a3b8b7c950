// The arithmetic of the cut selection rectangle: which edges the pointer grabs, the cursor it
// shows, how a drag step changes the rectangle, and the rules of the window fields.
#include "core/geometry/cutgeometry.h"
#include "support/core/warnings.h"

#include <QtTest>

Q_DECLARE_METATYPE(CutEdges)
Q_DECLARE_METATYPE(Qt::CursorShape)

namespace {

// "left", "bottom-right", "none" ... as the operator would name the grabbed part.
CutEdges edgesNamed(const QString &name)
{
    CutEdges edges;
    const QStringList parts = name.split(QLatin1Char('-'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part == QLatin1String("left"))
            edges.left = true;
        else if (part == QLatin1String("right"))
            edges.right = true;
        else if (part == QLatin1String("top"))
            edges.top = true;
        else if (part == QLatin1String("bottom"))
            edges.bottom = true;
    }
    return edges;
}

} // namespace

class TestCutGeometry : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void hitEdgesAndCursor_data();
    void hitEdgesAndCursor();
    void dragStep_data();
    void dragStep();
    void fitsInside_data();
    void fitsInside();
    void defaultWindow_data();
    void defaultWindow();
    void fieldRules_data();
    void fieldRules();
    void spanFromStart_data();
    void spanFromStart();
};

void TestCutGeometry::hitEdgesAndCursor_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("grabbed");
    QTest::addColumn<Qt::CursorShape>("cursor");

    const QSize r(200, 100);
    QTest::newRow("near the left edge halfway down the pointer resizes horizontally")
        << QPoint(2, 50) << r << "left" << Qt::SizeHorCursor;
    QTest::newRow("near the bottom-right corner the pointer resizes along the falling diagonal")
        << QPoint(198, 97) << r << "bottom-right" << Qt::SizeFDiagCursor;
    QTest::newRow("in the middle the pointer moves the rectangle")
        << QPoint(100, 50) << r << "" << Qt::SizeAllCursor;
    QTest::newRow("at the top-left pixel the pointer resizes along the falling diagonal")
        << QPoint(0, 0) << r << "top-left" << Qt::SizeFDiagCursor;
    QTest::newRow("near the top-right corner the pointer resizes along the rising diagonal")
        << QPoint(197, 2) << r << "top-right" << Qt::SizeBDiagCursor;
    QTest::newRow("near the bottom-left corner the pointer resizes along the rising diagonal")
        << QPoint(1, 98) << r << "bottom-left" << Qt::SizeBDiagCursor;
    QTest::newRow("near the top edge the pointer resizes vertically")
        << QPoint(100, 3) << r << "top" << Qt::SizeVerCursor;
    QTest::newRow("four pixels below the last row still grabs the bottom edge")
        << QPoint(100, 103) << r << "bottom" << Qt::SizeVerCursor;
    QTest::newRow("four pixels outside the last column still grabs the right edge")
        << QPoint(203, 50) << r << "right" << Qt::SizeHorCursor;
    QTest::newRow("five pixels inside the first column no longer grabs the left edge")
        << QPoint(5, 50) << r << "" << Qt::SizeAllCursor;
    QTest::newRow("five pixels outside the last column no longer grabs the right edge")
        << QPoint(204, 50) << r << "" << Qt::SizeAllCursor;
    QTest::newRow("four pixels left of the first column still grabs the left edge")
        << QPoint(-4, 50) << r << "left" << Qt::SizeHorCursor;
}

void TestCutGeometry::hitEdgesAndCursor()
{
    QFETCH(QPoint, pointer);
    QFETCH(QSize, size);
    QFETCH(QString, grabbed);
    QFETCH(Qt::CursorShape, cursor);

    const CutEdges edges = CutGeometry::hitEdges(pointer, size);
    QVERIFY2(edges == edgesNamed(grabbed), qPrintable(grabbed));
    QCOMPARE(CutGeometry::cursorShape(edges), cursor);
}

void TestCutGeometry::dragStep_data()
{
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("grabbed");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<QPoint>("expectedPress");

    const QRect r(10, 10, 100, 50); // (10, 10)–(109, 59) on a 400 × 300 picture
    QTest::newRow("dragging the right edge 20 to the right widens the rectangle by 20")
        << r << "right" << QPoint(99, 25) << QPoint(119, 25) << QRect(10, 10, 120, 50) << QPoint(119, 25);
    QTest::newRow("dragging the right edge ignores the vertical part of the motion")
        << r << "right" << QPoint(99, 25) << QPoint(89, 60) << QRect(10, 10, 90, 50) << QPoint(89, 25);
    QTest::newRow("dragging the left edge 10 to the left widens it and keeps the press point")
        << r << "left" << QPoint(1, 25) << QPoint(-9, 25) << QRect(0, 10, 110, 50) << QPoint(1, 25);
    QTest::newRow("dragging the bottom edge 30 down makes it 30 higher")
        << r << "bottom" << QPoint(50, 48) << QPoint(50, 78) << QRect(10, 10, 100, 80) << QPoint(50, 78);
    QTest::newRow("dragging the top edge 5 down makes it 5 lower and keeps the press point")
        << r << "top" << QPoint(50, 1) << QPoint(50, 6) << QRect(10, 15, 100, 45) << QPoint(50, 1);
    QTest::newRow("dragging the right edge outward beyond the picture leaves the rectangle unchanged")
        << QRect(300, 10, 100, 50) << "right" << QPoint(99, 25) << QPoint(105, 25) << QRect(300, 10, 100, 50)
        << QPoint(105, 25);
    QTest::newRow("dragging the left edge past the picture's left side leaves the rectangle unchanged")
        << r << "left" << QPoint(1, 25) << QPoint(-20, 25) << r << QPoint(1, 25);
    QTest::newRow("dragging the right edge onto the picture's last column is allowed")
        << QRect(290, 10, 100, 50) << "right" << QPoint(99, 25) << QPoint(109, 25) << QRect(290, 10, 110, 50)
        << QPoint(109, 25);

    QTest::newRow("dragging the left edge across the right edge keeps a rectangle one pixel wide")
        << r << "left" << QPoint(1, 25) << QPoint(160, 25) << QRect(109, 10, 1, 50) << QPoint(1, 25);
    QTest::newRow("dragging the right edge across the left edge keeps a rectangle one pixel wide")
        << r << "right" << QPoint(99, 25) << QPoint(-60, 25) << QRect(10, 10, 1, 50) << QPoint(-60, 25);
    QTest::newRow("dragging the top edge across the bottom edge keeps a rectangle one pixel high")
        << r << "top" << QPoint(50, 1) << QPoint(50, 200) << QRect(10, 59, 100, 1) << QPoint(50, 1);
    QTest::newRow("dragging the bottom edge across the top edge keeps a rectangle one pixel high")
        << r << "bottom" << QPoint(50, 48) << QPoint(50, -10) << QRect(10, 10, 100, 1) << QPoint(50, -10);

    const QRect big(0, 0, 200, 100);
    QTest::newRow("dragging the bottom-right corner by (+30, +10) grows width and height by 10")
        << big << "bottom-right" << QPoint(198, 97) << QPoint(228, 107) << QRect(0, 0, 210, 110)
        << QPoint(228, 107);
    QTest::newRow("dragging the bottom-right corner by (+30, -10) changes nothing")
        << big << "bottom-right" << QPoint(198, 97) << QPoint(228, 87) << big << QPoint(228, 87);
    QTest::newRow("dragging the bottom-right corner straight right changes nothing")
        << big << "bottom-right" << QPoint(198, 97) << QPoint(218, 97) << big << QPoint(218, 97);
    QTest::newRow("dragging the bottom-right corner by (-8, -20) shrinks width and height by 8")
        << big << "bottom-right" << QPoint(198, 97) << QPoint(190, 77) << QRect(0, 0, 192, 92)
        << QPoint(190, 77);

    const QRect mid(50, 50, 100, 100);
    QTest::newRow("dragging the top-left corner by (-5, -8) grows it by 5 up and left")
        << mid << "top-left" << QPoint(2, 2) << QPoint(-3, -6) << QRect(45, 45, 105, 105) << QPoint(2, 2);
    QTest::newRow("dragging the top-left corner by (+5, -8) changes nothing")
        << mid << "top-left" << QPoint(2, 2) << QPoint(7, -6) << mid << QPoint(2, 2);
    QTest::newRow("dragging the top-right corner by (+10, -12) grows it by 10 up and right")
        << mid << "top-right" << QPoint(98, 2) << QPoint(108, -10) << QRect(50, 40, 110, 110)
        << QPoint(108, 2);
    QTest::newRow("dragging the top-right corner by (+10, +10) changes nothing")
        << mid << "top-right" << QPoint(98, 2) << QPoint(108, 12) << mid << QPoint(108, 2);
    QTest::newRow("dragging the bottom-left corner by (-7, +20) grows it by 7 down and left")
        << mid << "bottom-left" << QPoint(2, 98) << QPoint(-5, 118) << QRect(43, 50, 107, 107)
        << QPoint(2, 118);
    QTest::newRow("dragging the top-left corner far across the rectangle stops when it is one pixel high")
        << QRect(50, 50, 100, 60) << "top-left" << QPoint(2, 2) << QPoint(300, 300) << QRect(109, 109, 41, 1)
        << QPoint(2, 2);
    QTest::newRow("dragging the bottom-left corner far across the rectangle stops when it is one pixel wide")
        << QRect(50, 50, 30, 100) << "bottom-left" << QPoint(2, 98) << QPoint(200, -200)
        << QRect(79, 50, 1, 71) << QPoint(2, -200);
    QTest::newRow("growing the bottom-right corner out of the picture leaves the rectangle unchanged")
        << QRect(300, 200, 100, 100) << "bottom-right" << QPoint(98, 98) << QPoint(103, 103)
        << QRect(300, 200, 100, 100) << QPoint(103, 103);

    QTest::newRow("dragging the middle by (+15, +5) moves the rectangle by that much")
        << r << "" << QPoint(50, 25) << QPoint(65, 30) << QRect(25, 15, 100, 50) << QPoint(50, 25);
    QTest::newRow("dragging the middle past the picture's right edge stops on the last column")
        << QRect(250, 10, 100, 50) << "" << QPoint(50, 25) << QPoint(150, 25) << QRect(300, 10, 100, 50)
        << QPoint(50, 25);
    QTest::newRow("dragging the middle past the picture's top stops at row 0")
        << r << "" << QPoint(50, 25) << QPoint(50, -40) << QRect(10, 0, 100, 50) << QPoint(50, 25);
    QTest::newRow("dragging the middle past the bottom-left corner stops in that corner")
        << r << "" << QPoint(50, 25) << QPoint(-100, 400) << QRect(0, 250, 100, 50) << QPoint(50, 25);
}

void TestCutGeometry::dragStep()
{
    QFETCH(QRect, geometry);
    QFETCH(QString, grabbed);
    QFETCH(QPoint, press);
    QFETCH(QPoint, pointer);
    QFETCH(QRect, expected);
    QFETCH(QPoint, expectedPress);

    QPoint pressPoint = press;
    const QRect result =
        CutGeometry::dragStep(geometry, pressPoint, pointer, edgesNamed(grabbed), QSize(400, 300));
    QCOMPARE(result, expected);
    QCOMPARE(pressPoint, expectedPress);
    QVERIFY(result.width() >= 1 && result.height() >= 1);
}

void TestCutGeometry::fitsInside_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("fits");

    QTest::newRow("the whole picture fits") << QRect(0, 0, 400, 300) << true;
    QTest::newRow("a window touching the right and bottom edges fits") << QRect(300, 200, 100, 100) << true;
    QTest::newRow("one column past the right edge does not fit") << QRect(301, 0, 100, 100) << false;
    QTest::newRow("one row above the top does not fit") << QRect(0, -1, 100, 100) << false;
    QTest::newRow("an empty rectangle does not fit") << QRect(10, 10, 0, 10) << false;
    QTest::newRow("a rectangle turned inside out does not fit")
        << QRect(QPoint(50, 50), QPoint(40, 60)) << false;
}

void TestCutGeometry::fitsInside()
{
    QFETCH(QRect, rect);
    QFETCH(bool, fits);
    QCOMPARE(CutGeometry::fitsInside(rect, QSize(400, 300)), fits);
}

void TestCutGeometry::defaultWindow_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("window");

    QTest::newRow("a large picture starts with 100 x 100 at the top-left corner")
        << QSize(800, 500) << QRect(0, 0, 100, 100);
    QTest::newRow("a 60 x 40 picture starts with the whole picture") << QSize(60, 40) << QRect(0, 0, 60, 40);
    QTest::newRow("a narrow tall picture starts with its full width and 100 rows")
        << QSize(60, 500) << QRect(0, 0, 60, 100);
    QTest::newRow("a picture of exactly 100 x 100 starts with the whole picture")
        << QSize(100, 100) << QRect(0, 0, 100, 100);
}

void TestCutGeometry::defaultWindow()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, window);
    QCOMPARE(CutGeometry::defaultWindow(picture), window);
}

void TestCutGeometry::fieldRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("valid");

    QTest::newRow("a width of 63 is too narrow") << "extent" << 0 << 63 << 64 << false;
    QTest::newRow("a width of 64 from column 0 fills an OSD 64 wide exactly")
        << "extent" << 0 << 64 << 64 << true;
    QTest::newRow("a width of 64 from column 1 passes an OSD 64 wide") << "extent" << 1 << 64 << 64 << false;
    QTest::newRow("a width of 200 from column 10 fits an OSD 210 wide")
        << "extent" << 10 << 200 << 210 << true;
    QTest::newRow("a start of 10 with a window 100 wide fits an OSD 110 wide")
        << "start" << 100 << 10 << 110 << true;
    QTest::newRow("a start of 11 with a window 100 wide passes an OSD 110 wide")
        << "start" << 100 << 11 << 110 << false;
    QTest::newRow("a negative start is refused") << "start" << 100 << -1 << 800 << false;
    QTest::newRow("a start of 0 is accepted") << "start" << 100 << 0 << 800 << true;
}

void TestCutGeometry::fieldRules()
{
    QFETCH(QString, field);
    QFETCH(int, start);
    QFETCH(int, value);
    QFETCH(int, limit);
    QFETCH(bool, valid);

    // For a start, the "start" column carries the window's current extent.
    if (field == QLatin1String("start"))
        QCOMPARE(CutGeometry::isValidStart(value, start, limit), valid);
    else
        QCOMPARE(CutGeometry::isValidExtent(start, value, limit), valid);
}

void TestCutGeometry::spanFromStart_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("newFirst");
    QTest::addColumn<int>("newLast");

    // Along an axis 400 pixels long.
    QTest::newRow("a start inside the window moves only the near edge") << 0 << 99 << 10 << true << 10 << 99;
    QTest::newRow("a start before the window moves only the near edge outward")
        << 100 << 199 << 40 << true << 40 << 199;
    QTest::newRow("a start on the window's last pixel leaves one pixel") << 0 << 99 << 99 << true << 99 << 99;
    QTest::newRow("a start past the window moves the whole window") << 0 << 99 << 150 << true << 150 << 249;
    QTest::newRow("a start past the window and too near the border moves it onto the border")
        << 0 << 99 << 350 << true << 300 << 399;
    QTest::newRow("a start inside a window on the far border moves only the near edge")
        << 300 << 399 << 330 << true << 330 << 399;
    QTest::newRow("a start inside a window ending past the limit is refused")
        << 0 << 449 << 10 << false << 0 << 0;
    QTest::newRow("a start past a window longer than the limit is refused")
        << 0 << 449 << 450 << false << 0 << 0;
    QTest::newRow("a negative start is refused") << 0 << 99 << -1 << false << 0 << 0;
}

void TestCutGeometry::spanFromStart()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, start);
    QFETCH(bool, accepted);
    QFETCH(int, newFirst);
    QFETCH(int, newLast);

    const std::optional<CutSpan> placed = CutGeometry::spanFromStart(CutSpan{first, last}, start, 400);
    QCOMPARE(placed.has_value(), accepted);
    if (accepted)
        QCOMPARE(*placed, (CutSpan{newFirst, newLast}));
}

QTEST_GUILESS_MAIN(TestCutGeometry)
#include "tst_cutgeometry.moc"
