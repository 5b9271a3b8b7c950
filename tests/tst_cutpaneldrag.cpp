// The cut panel's selection rectangle dragged with the real pointer: the cursor over it, moving it,
// dragging an edge past its partner or the border.
#include "imagecut/cutdialog.h"
#include "imagecut/osdimagecutdll.h"
#include "support/core/pictures.h"
#include "support/cutpanelpointer.h"
#include "support/cutpanelsupport.h"
#include "support/testsupport.h"
#include "widgets/styled/spinboxex.h"

#include <QtTest>

Q_DECLARE_METATYPE(Qt::CursorShape)
Q_DECLARE_METATYPE(char)

using Pointer = TestSupport::CutPanelPointer;
using TestSupport::field;
using TestSupport::fields;
using TestSupport::isPlain;
using TestSupport::isRed;
using TestSupport::numberedPicture;
using TestSupport::openPanel;
using TestSupport::placeWindow;
using TestSupport::pressOk;
using TestSupport::typeInto;

class TestCutPanelDrag : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }

    void cursorFollowsThePointer_data();
    void cursorFollowsThePointer();
    void draggingTheRectangle_data();
    void draggingTheRectangle();
    void edgeDraggedAcrossItsPartner_data();
    void edgeDraggedAcrossItsPartner();
    void typedStartPastTheWindowMovesIt_data();
    void typedStartPastTheWindowMovesIt();
    void narrowDragKeepsTheLastValidWidth();
    void nearEdgeDraggedAtTheFarBorder_data();
    void nearEdgeDraggedAtTheFarBorder();
};

void TestCutPanelDrag::cursorFollowsThePointer_data()
{
    QTest::addColumn<QPoint>("onRectangle");
    QTest::addColumn<Qt::CursorShape>("cursor");

    QTest::newRow("near the left edge the cursor offers horizontal resizing")
        << QPoint(2, 50) << Qt::SizeHorCursor;
    QTest::newRow("near the bottom-right corner the cursor offers falling-diagonal resizing")
        << QPoint(198, 97) << Qt::SizeFDiagCursor;
    QTest::newRow("in the middle the cursor offers moving") << QPoint(100, 50) << Qt::SizeAllCursor;
    QTest::newRow("near the top-right corner the cursor offers rising-diagonal resizing")
        << QPoint(197, 1) << Qt::SizeBDiagCursor;
    QTest::newRow("near the bottom edge the cursor offers vertical resizing")
        << QPoint(100, 98) << Qt::SizeVerCursor;
}

void TestCutPanelDrag::cursorFollowsThePointer()
{
    QFETCH(QPoint, onRectangle);
    QFETCH(Qt::CursorShape, cursor);

    OSDImageCutDLL panel;
    QVERIFY(openPanel(panel, QSize(400, 300), numberedPicture(400, 300)));
    placeWindow(panel, QRect(50, 40, 200, 100));
    Pointer pointer(panel);
    QCOMPARE(pointer.rectangle()->geometry(), QRect(50, 40, 200, 100));

    // Start from a different shape, so a cursor left over from an earlier move cannot pass.
    pointer.hover(pointer.onRectangle(onRectangle == QPoint(100, 50) ? QPoint(2, 50) : QPoint(100, 50)));
    pointer.hover(pointer.onRectangle(onRectangle));
    QCOMPARE(pointer.rectangle()->cursor().shape(), cursor);
}

void TestCutPanelDrag::draggingTheRectangle_data()
{
    QTest::addColumn<QRect>("start");
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QPoint>("motion");
    QTest::addColumn<QRect>("expected");

    const QRect wide(50, 40, 200, 100);
    QTest::newRow("dragging the bottom-right corner by (+30, +10) grows width and height by 10")
        << wide << QPoint(198, 97) << QPoint(30, 10) << QRect(50, 40, 210, 110);
    QTest::newRow("dragging the bottom-right corner by (+30, -10) changes nothing")
        << wide << QPoint(198, 97) << QPoint(30, -10) << wide;
    QTest::newRow("dragging the top-left corner by (-20, -30) grows it by 20 up and left")
        << wide << QPoint(1, 1) << QPoint(-20, -30) << QRect(30, 20, 220, 120);
    QTest::newRow("dragging the left edge 25 to the right narrows the window by 25")
        << wide << QPoint(2, 50) << QPoint(25, 7) << QRect(75, 40, 175, 100);
    QTest::newRow("dragging the bottom edge 40 down makes the window 40 higher")
        << wide << QPoint(100, 99) << QPoint(-12, 40) << QRect(50, 40, 200, 140);
    QTest::newRow("dragging the right edge outward beyond the picture leaves the window unchanged")
        << QRect(250, 40, 150, 100) << QPoint(148, 50) << QPoint(20, 0) << QRect(250, 40, 150, 100);
    QTest::newRow("dragging the middle by (+30, +20) moves the window by that much")
        << QRect(100, 40, 100, 100) << QPoint(50, 50) << QPoint(30, 20) << QRect(130, 60, 100, 100);
    QTest::newRow("dragging the middle past the picture's right edge stops on its last column")
        << QRect(200, 40, 100, 100) << QPoint(50, 50) << QPoint(300, 0) << QRect(300, 40, 100, 100);
    QTest::newRow("dragging the middle past the picture's top stops at row 0")
        << QRect(200, 40, 100, 100) << QPoint(50, 50) << QPoint(0, -95) << QRect(200, 0, 100, 100);
}

void TestCutPanelDrag::draggingTheRectangle()
{
    QFETCH(QRect, start);
    QFETCH(QPoint, grab);
    QFETCH(QPoint, motion);
    QFETCH(QRect, expected);

    OSDImageCutDLL panel;
    QVERIFY(openPanel(panel, QSize(400, 300), numberedPicture(400, 300)));
    placeWindow(panel, start);
    Pointer pointer(panel);
    QCOMPARE(pointer.rectangle()->geometry(), start);
    QCOMPARE(panel.cutWindow(), start);

    pointer.drag(pointer.onRectangle(grab), motion, 5);

    QCOMPARE(pointer.rectangle()->geometry(), expected);
    // The fields and the window OK would use follow the rectangle.
    QCOMPARE(fields(panel), (QList<int>{expected.x(), expected.y(), expected.width(), expected.height()}));
    QCOMPARE(panel.cutWindow(), expected);
    for (char name : {'X', 'Y', 'W', 'H'})
        QVERIFY(isPlain(field(panel, name)));
}

void TestCutPanelDrag::edgeDraggedAcrossItsPartner_data()
{
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QPoint>("motion");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<char>("redField");
    QTest::addColumn<QRect>("cut");

    // The window starts at (100, 40), 100 × 100. A start field takes any start, so the window
    // follows a left or top edge; the width and height fields keep their last valid value.
    const QRect start(100, 40, 100, 100);
    QTest::newRow("the left edge dragged across the right edge leaves one column")
        << QPoint(1, 50) << QPoint(160, 0) << QRect(199, 40, 1, 100) << 'W' << QRect(199, 40, 1, 100);
    QTest::newRow("the right edge dragged across the left edge leaves one column")
        << QPoint(98, 50) << QPoint(-160, 0) << QRect(100, 40, 1, 100) << 'W' << start;
    QTest::newRow("the top edge dragged across the bottom edge leaves one row")
        << QPoint(50, 1) << QPoint(0, 130) << QRect(100, 139, 100, 1) << 'H' << QRect(100, 139, 100, 1);
    // In steps of 35 rows: the first leaves 65 rows, the last height the field accepts.
    QTest::newRow("the bottom edge dragged across the top edge leaves one row")
        << QPoint(50, 98) << QPoint(0, -140) << QRect(100, 40, 100, 1) << 'H' << QRect(100, 40, 100, 65);
}

void TestCutPanelDrag::edgeDraggedAcrossItsPartner()
{
    QFETCH(QPoint, grab);
    QFETCH(QPoint, motion);
    QFETCH(QRect, expected);
    QFETCH(char, redField);
    QFETCH(QRect, cut);

    OSDImageCutDLL panel;
    QVERIFY(openPanel(panel, QSize(400, 300), numberedPicture(400, 300)));
    placeWindow(panel, QRect(100, 40, 100, 100));
    Pointer pointer(panel);

    pointer.drag(pointer.onRectangle(grab), motion, 4);

    QCOMPARE(pointer.rectangle()->geometry(), expected);
    // Far too small for the fields, which say so; OK still has a window it can cut.
    QCOMPARE(field(panel, redField)->value(), 1);
    QVERIFY(isRed(field(panel, redField)));
    QCOMPARE(panel.cutWindow(), cut);
}

void TestCutPanelDrag::typedStartPastTheWindowMovesIt_data()
{
    QTest::addColumn<QRect>("start");
    QTest::addColumn<char>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QRect>("expected");

    // On a 400 × 300 picture. The spin box applies every keystroke, so "150" passes 1 and 15 first.
    const QRect corner(0, 0, 100, 100);
    QTest::newRow("a start of 150 moves the whole window to column 150")
        << corner << 'X' << "150" << QRect(150, 0, 100, 100);
    QTest::newRow("a start of 350 moves the window only as far as the right border")
        << corner << 'X' << "350" << QRect(300, 0, 100, 100);
    QTest::newRow("a top of 150 moves the whole window down to row 150")
        << corner << 'Y' << "150" << QRect(0, 150, 100, 100);
    QTest::newRow("a top of 250 moves the window only as far as the bottom border")
        << corner << 'Y' << "250" << QRect(0, 200, 100, 100);
    QTest::newRow("a start inside a window on the right border moves only its left edge")
        << QRect(300, 40, 100, 100) << 'X' << "320" << QRect(320, 40, 80, 100);
}

void TestCutPanelDrag::typedStartPastTheWindowMovesIt()
{
    QFETCH(QRect, start);
    QFETCH(char, name);
    QFETCH(QString, typed);
    QFETCH(QRect, expected);

    OSDImageCutDLL panel;
    QVERIFY(openPanel(panel, QSize(400, 300), numberedPicture(400, 300)));
    placeWindow(panel, start);
    QVERIFY(QTest::qWaitForWindowActive(&panel));

    typeInto(field(panel, name), typed);

    QCOMPARE(panel.cutWindow(), expected);
    QCOMPARE(Pointer(panel).rectangle()->geometry(), expected);
    QCOMPARE(fields(panel), (QList<int>{expected.x(), expected.y(), expected.width(), expected.height()}));
    for (char other : {'X', 'Y', 'W', 'H'})
        QVERIFY(isPlain(field(panel, other)));
}

void TestCutPanelDrag::narrowDragKeepsTheLastValidWidth()
{
    OSDImageCutDLL panel;
    const QImage picture = numberedPicture(400, 300);
    QVERIFY(openPanel(panel, QSize(400, 300), picture));
    Pointer pointer(panel);
    QCOMPARE(pointer.rectangle()->geometry(), QRect(0, 0, 100, 100));

    // One pixel at a time, as a slow hand would, from 100 down to 50 pixels.
    pointer.drag(pointer.onRectangle(QPoint(98, 50)), QPoint(-50, 0), 50);

    QCOMPARE(pointer.rectangle()->geometry(), QRect(0, 0, 50, 100));
    QCOMPARE(field(panel, 'W')->value(), 50);
    QVERIFY(isRed(field(panel, 'W')));
    QCOMPARE(panel.cutWindow(), QRect(0, 0, 64, 100));

    // The window shown is not the one the fields hold, so OK waits for the operator.
    QVERIFY(pressOk(panel).isEmpty());
    QVERIFY(panel.isVisible());

    pointer.drag(pointer.onRectangle(QPoint(48, 50)), QPoint(30, 0), 3);
    QVERIFY(isPlain(field(panel, 'W')));
    const QList<QVariant> applied = pressOk(panel);
    QCOMPARE(applied.size(), 2);
    QCOMPARE(applied.at(1).toRect(), QRect(0, 0, 80, 100));
    QCOMPARE(applied.at(0).value<QImage>(), picture.copy(0, 0, 80, 100));
}

void TestCutPanelDrag::nearEdgeDraggedAtTheFarBorder_data()
{
    QTest::addColumn<QRect>("start");
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<QPoint>("motion");
    QTest::addColumn<QRect>("expected");

    // On a 400 × 300 picture; each window touches the right or bottom border.
    QTest::newRow("the left edge dragged 30 inward narrows the window from the left")
        << QRect(300, 40, 100, 100) << QPoint(1, 50) << QPoint(30, 0) << QRect(330, 40, 70, 100);
    QTest::newRow("the left edge dragged 30 outward widens the window to the left")
        << QRect(300, 40, 100, 100) << QPoint(1, 50) << QPoint(-30, 0) << QRect(270, 40, 130, 100);
    QTest::newRow("the top edge dragged 20 inward lowers the window's top")
        << QRect(50, 200, 100, 100) << QPoint(50, 1) << QPoint(0, 20) << QRect(50, 220, 100, 80);
}

void TestCutPanelDrag::nearEdgeDraggedAtTheFarBorder()
{
    QFETCH(QRect, start);
    QFETCH(QPoint, grab);
    QFETCH(QPoint, motion);
    QFETCH(QRect, expected);

    OSDImageCutDLL panel;
    const QImage picture = numberedPicture(400, 300);
    QVERIFY(openPanel(panel, QSize(400, 300), picture));
    placeWindow(panel, start);
    Pointer pointer(panel);
    QCOMPARE(pointer.rectangle()->geometry(), start);

    pointer.drag(pointer.onRectangle(grab), motion, 5);

    QCOMPARE(pointer.rectangle()->geometry(), expected);
    const QList<QVariant> applied = pressOk(panel);
    QCOMPARE(applied.size(), 2);
    QCOMPARE(applied.at(1).toRect(), expected);
    QCOMPARE(applied.at(0).value<QImage>(), picture.copy(expected));
}

QTEST_MAIN(TestCutPanelDrag)
#include "tst_cutpaneldrag.moc"
