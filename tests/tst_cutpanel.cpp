// The cut panel as the operator meets it: the selection rectangle dragged with the mouse, the four
// window fields, the two modes, OK, Cancel and the close button, and the item that opens it.
#include "imagecut/cutdialog.h"
#include "imagecut/osdimagecutdll.h"
#include "imagecut/pictureedit.h"
#include "interfaces/styled/spinboxex.h"
#include "interfaces/styled/toolbuttonex.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <QtTest>

Q_DECLARE_METATYPE(Qt::CursorShape)
Q_DECLARE_METATYPE(char)

using TestSupport::chooseFromNextMenu;
using TestSupport::numberedPicture;

namespace {

SpinBoxEx *field(OSDImageCutDLL &panel, char name)
{
    return panel.findChild<SpinBoxEx *>(QStringLiteral("spinBox_contrast_") + QLatin1Char(name));
}

QList<int> fields(OSDImageCutDLL &panel)
{
    return {field(panel, 'X')->value(), field(panel, 'Y')->value(), field(panel, 'W')->value(),
            field(panel, 'H')->value()};
}

bool isRed(SpinBoxEx *box)
{
    return box->fontColor() == QColor(255, 0, 0) && box->hasBorderError();
}

bool isPlain(SpinBoxEx *box)
{
    return box->fontColor() == QColor(210, 210, 210) && !box->hasBorderError();
}

// Types into a field as the operator does: everything selected, then the digits one by one.
void typeInto(SpinBoxEx *box, const QString &digits)
{
    box->selectAll();
    QTest::keyClicks(box, digits);
    QTest::keyClick(box, Qt::Key_Tab);
}

// Drives the real pointer through the panel's window, so the events take the way a mouse's take:
// to the widget under the pointer, kept by the pressed widget while the button is down, and
// passed on to the selection rectangle. Points are in picture pixels.
class Pointer
{
public:
    explicit Pointer(OSDImageCutDLL &panel) : m_panel(panel) {}

    CutDialog *rectangle() const { return m_panel.findChild<CutDialog *>(); }
    QPoint onRectangle(const QPoint &local) const { return rectangle()->geometry().topLeft() + local; }

    void hover(const QPoint &picturePoint) { QTest::mouseMove(window(), toWindow(picturePoint)); }
    void press(const QPoint &picturePoint)
    {
        QTest::mousePress(window(), Qt::LeftButton, Qt::NoModifier, toWindow(picturePoint));
    }
    void release(const QPoint &picturePoint)
    {
        QTest::mouseRelease(window(), Qt::LeftButton, Qt::NoModifier, toWindow(picturePoint));
    }

    // Hover, press, move in even steps, release: one whole drag.
    void drag(const QPoint &from, const QPoint &by, int steps)
    {
        hover(from);
        press(from);
        for (int i = 1; i <= steps; ++i)
            hover(from + by * i / steps);
        release(from + by);
    }

private:
    QWindow *window() const { return m_panel.windowHandle(); }
    QPoint toWindow(const QPoint &picturePoint) const
    {
        return rectangle()->parentWidget()->mapTo(&m_panel, picturePoint);
    }

    OSDImageCutDLL &m_panel;
};

// Places the window through the fields, start first, as the operator would.
void placeWindow(OSDImageCutDLL &panel, const QRect &window)
{
    field(panel, 'X')->setValue(window.x());
    field(panel, 'Y')->setValue(window.y());
    field(panel, 'W')->setValue(window.width());
    field(panel, 'H')->setValue(window.height());
}

bool openPanel(OSDImageCutDLL &panel, const QSize &osdSize, const QImage &picture, bool selectOSDSize = false)
{
    panel.setCutImage(osdSize, QPixmap::fromImage(picture), selectOSDSize);
    panel.show();
    return QTest::qWaitForWindowExposed(&panel);
}

// What OK handed on, or an empty list.
QList<QVariant> pressOk(OSDImageCutDLL &panel)
{
    QSignalSpy applied(&panel, &OSDImageCutDLL::applyCutImage);
    QTest::mouseClick(panel.findChild<ToolButtonEx *>(QStringLiteral("pushButton_ok")), Qt::LeftButton);
    return applied.isEmpty() ? QList<QVariant>() : applied.takeFirst();
}

void openContextMenu(QGraphicsScene &scene, OSDItem *item)
{
    QGraphicsSceneContextMenuEvent event(QEvent::GraphicsSceneContextMenu);
    event.setScenePos(item->sceneBoundingRect().center());
    event.setReason(QGraphicsSceneContextMenuEvent::Mouse);
    scene.sendEvent(item, &event);
}

} // namespace

class TestCutPanel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

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

    void typedWidth_data();
    void typedWidth();
    void typedStartMovesTheLeftEdge();
    void startThatLeavesTheWindowPastTheOsdWidthIsRefused();
    void okIsRefusedWhileAFieldIsRed();
    void smallPictureStartsWithTheWholePicture();
    void okCutsTheChosenWindow();
    void cancelAndCloseEmitNothing();
    void emptyPictureHandsNothingOn();
    void modes();
    void automaticScalingFitsTheOsdSize();
    void cuttingAgainAfterScaling();

    void itemOpensItsOnePanel();
    void itemReopensWithTheLoadedPicture();
    void panelGoesWithItsItem();
};

void TestCutPanel::initTestCase()
{
    TestSupport::failOnQtWarnings();
}

void TestCutPanel::cursorFollowsThePointer_data()
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

void TestCutPanel::cursorFollowsThePointer()
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

void TestCutPanel::draggingTheRectangle_data()
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

void TestCutPanel::draggingTheRectangle()
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

void TestCutPanel::edgeDraggedAcrossItsPartner_data()
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

void TestCutPanel::edgeDraggedAcrossItsPartner()
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

void TestCutPanel::typedStartPastTheWindowMovesIt_data()
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

void TestCutPanel::typedStartPastTheWindowMovesIt()
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

void TestCutPanel::narrowDragKeepsTheLastValidWidth()
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

void TestCutPanel::nearEdgeDraggedAtTheFarBorder_data()
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

void TestCutPanel::nearEdgeDraggedAtTheFarBorder()
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

void TestCutPanel::typedWidth_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("red");
    QTest::addColumn<int>("width");

    QTest::newRow("a width of 63 turns the field red and keeps the window 100 wide") << "63" << true << 100;
    QTest::newRow("a width of 64 fills the OSD width of 64 and is accepted") << "64" << false << 64;
    QTest::newRow("a width of 65 passes the OSD width of 64 and turns the field red") << "65" << true << 100;
}

void TestCutPanel::typedWidth()
{
    QFETCH(QString, typed);
    QFETCH(bool, red);
    QFETCH(int, width);

    OSDImageCutDLL panel;
    QVERIFY(openPanel(panel, QSize(64, 200), numberedPicture(300, 200)));
    QCOMPARE(panel.cutWindow(), QRect(0, 0, 100, 100));

    typeInto(field(panel, 'W'), typed);
    QCOMPARE(field(panel, 'W')->value(), typed.toInt());
    QCOMPARE(isRed(field(panel, 'W')), red);
    QCOMPARE(isPlain(field(panel, 'W')), !red);
    QCOMPARE(panel.cutWindow(), QRect(0, 0, width, 100));
    QCOMPARE(Pointer(panel).rectangle()->geometry(), QRect(0, 0, width, 100));
}

void TestCutPanel::typedStartMovesTheLeftEdge()
{
    OSDImageCutDLL panel;
    QVERIFY(openPanel(panel, QSize(800, 500), numberedPicture(800, 500)));
    QCOMPARE(panel.cutWindow(), QRect(QPoint(0, 0), QPoint(99, 99)));

    typeInto(field(panel, 'X'), QStringLiteral("10"));

    QCOMPARE(panel.cutWindow(), QRect(QPoint(10, 0), QPoint(99, 99)));
    QCOMPARE(fields(panel), (QList<int>{10, 0, 90, 100}));
    QCOMPARE(Pointer(panel).rectangle()->geometry(), QRect(QPoint(10, 0), QPoint(99, 99)));
    for (char name : {'X', 'Y', 'W', 'H'})
        QVERIFY(isPlain(field(panel, name)));
}

void TestCutPanel::startThatLeavesTheWindowPastTheOsdWidthIsRefused()
{
    // The default window of 100 columns already passes the OSD width of 90; moving its left edge
    // leaves the right edge there, and moving the whole window cannot make 100 columns fit.
    OSDImageCutDLL panel;
    QVERIFY(openPanel(panel, QSize(90, 300), numberedPicture(400, 300)));

    field(panel, 'X')->setValue(10);
    QVERIFY(isRed(field(panel, 'X')));
    field(panel, 'X')->setValue(150);
    QVERIFY(isRed(field(panel, 'X')));
    QCOMPARE(panel.cutWindow(), QRect(0, 0, 100, 100));
    QCOMPARE(Pointer(panel).rectangle()->geometry(), QRect(0, 0, 100, 100));

    // Once the window is narrow enough, a start that fits clears the colour.
    field(panel, 'W')->setValue(80);
    field(panel, 'X')->setValue(10);
    QVERIFY(isPlain(field(panel, 'X')));
    QCOMPARE(panel.cutWindow(), QRect(10, 0, 70, 100));
}

void TestCutPanel::okIsRefusedWhileAFieldIsRed()
{
    OSDImageCutDLL panel;
    const QImage picture = numberedPicture(400, 300);
    QVERIFY(openPanel(panel, QSize(400, 300), picture));
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    typeInto(field(panel, 'W'), QStringLiteral("50"));
    QVERIFY(isRed(field(panel, 'W')));

    QVERIFY(pressOk(panel).isEmpty());
    QVERIFY(panel.isVisible());
    QVERIFY(isRed(field(panel, 'W')));
    QTRY_VERIFY(field(panel, 'W')->hasFocus());

    // The operator mends the width, and OK hands the window on.
    typeInto(field(panel, 'W'), QStringLiteral("120"));
    const QList<QVariant> applied = pressOk(panel);
    QCOMPARE(applied.size(), 2);
    QCOMPARE(applied.at(1).toRect(), QRect(0, 0, 120, 100));
    QVERIFY(!panel.isVisible());
}

void TestCutPanel::smallPictureStartsWithTheWholePicture()
{
    OSDImageCutDLL panel;
    // An earlier opening leaves a field red ...
    QVERIFY(openPanel(panel, QSize(400, 300), numberedPicture(400, 300)));
    field(panel, 'W')->setValue(50);
    QVERIFY(isRed(field(panel, 'W')));
    panel.close();

    // ... which the next filling does not carry over.
    const QImage picture = numberedPicture(60, 40);
    QVERIFY(openPanel(panel, QSize(60, 40), picture));
    QCOMPARE(panel.cutWindow(), QRect(QPoint(0, 0), QPoint(59, 39)));
    QCOMPARE(fields(panel), (QList<int>{0, 0, 60, 40}));
    for (char name : {'X', 'Y', 'W', 'H'})
        QVERIFY2(isPlain(field(panel, name)), &name);
    QCOMPARE(Pointer(panel).rectangle()->geometry(), QRect(0, 0, 60, 40));

    const QList<QVariant> applied = pressOk(panel);
    QCOMPARE(applied.size(), 2);
    QCOMPARE(applied.at(0).value<QImage>(), picture);
}

void TestCutPanel::okCutsTheChosenWindow()
{
    OSDImageCutDLL panel;
    const QImage picture = numberedPicture(400, 300);
    QVERIFY(openPanel(panel, QSize(400, 300), picture));

    typeInto(field(panel, 'X'), QStringLiteral("10"));
    typeInto(field(panel, 'Y'), QStringLiteral("20"));
    typeInto(field(panel, 'W'), QStringLiteral("100"));
    typeInto(field(panel, 'H'), QStringLiteral("64"));
    QCOMPARE(fields(panel), (QList<int>{10, 20, 100, 64}));

    const QList<QVariant> applied = pressOk(panel);
    QCOMPARE(applied.size(), 2);
    QCOMPARE(applied.at(1).toRect(), QRect(10, 20, 100, 64));
    QCOMPARE(applied.at(0).value<QImage>(), picture.copy(10, 20, 100, 64));
    QVERIFY(!panel.isVisible());
}

void TestCutPanel::cancelAndCloseEmitNothing()
{
    OSDImageCutDLL panel;
    QSignalSpy applied(&panel, &OSDImageCutDLL::applyCutImage);

    QVERIFY(openPanel(panel, QSize(400, 300), numberedPicture(400, 300)));
    auto *cancel = panel.findChild<ToolButtonEx *>(QStringLiteral("pushButton_cancel"));
    QVERIFY(cancel->isVisible());
    QCOMPARE(cancel->text(), QStringLiteral("取消"));
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(!panel.isVisible());

    QVERIFY(openPanel(panel, QSize(400, 300), numberedPicture(400, 300)));
    panel.windowHandle()->close(); // the title bar's close button
    QTRY_VERIFY(!panel.isVisible());

    QCOMPARE(applied.count(), 0);
}

void TestCutPanel::emptyPictureHandsNothingOn()
{
    // An item without a picture has an invalid size and a null image.
    OSDImageCutDLL panel;
    QVERIFY(openPanel(panel, QSize(-1, -1), QImage()));
    QCOMPARE(panel.cutWindow().isValid(), false);
    QCOMPARE(pressOk(panel).size(), 0);
    QVERIFY(!panel.isVisible());
}

void TestCutPanel::modes()
{
    OSDImageCutDLL panel;
    auto *choice = panel.findChild<QFrame *>(QStringLiteral("frame_cutImageToApply"));
    auto *cancel = panel.findChild<ToolButtonEx *>(QStringLiteral("pushButton_cancel"));
    auto *cut = panel.findChild<QRadioButton *>(QStringLiteral("radioButton_cut"));

    QVERIFY(openPanel(panel, QSize(400, 300), numberedPicture(400, 300), false));
    QCOMPARE(panel.windowTitle(), QStringLiteral("选择OSD显示区域"));
    QVERIFY(!choice->isVisible());
    QVERIFY(cancel->isVisible());
    panel.close();

    QVERIFY(openPanel(panel, QSize(400, 300), numberedPicture(400, 300), true));
    QCOMPARE(panel.windowTitle(), QStringLiteral("选择OSD大小"));
    QVERIFY(choice->isVisible());
    QVERIFY(!cancel->isVisible());
    QVERIFY(cut->isChecked());
    QCOMPARE(cut->text(), QStringLiteral("截取"));
}

void TestCutPanel::automaticScalingFitsTheOsdSize()
{
    OSDImageCutDLL panel;
    const QImage picture = numberedPicture(1920, 1080);
    QVERIFY(openPanel(panel, QSize(960, 960), picture, true));
    QVERIFY(Pointer(panel).rectangle());

    auto *zoom = panel.findChild<QRadioButton *>(QStringLiteral("radioButton_zoom"));
    QCOMPARE(zoom->text(), QStringLiteral("自动缩放"));
    QTest::mouseClick(zoom, Qt::LeftButton);
    QVERIFY(zoom->isChecked());

    // The scaled picture is shown without rectangle or shading.
    QVERIFY(panel.findChildren<CutDialog *>().isEmpty());
    auto *shown = panel.pictureWidget()->findChild<QLabel *>(QStringLiteral("label"));
    QCOMPARE(shown->pixmap(Qt::ReturnByValue).size(), QSize(960, 540));
    QCOMPARE(fields(panel), (QList<int>{0, 0, 960, 540}));

    const QList<QVariant> applied = pressOk(panel);
    QCOMPARE(applied.size(), 2);
    QCOMPARE(applied.at(1).toRect(), QRect(QPoint(0, 0), QPoint(959, 539)));
    const QImage result = applied.at(0).value<QImage>();
    QCOMPARE(result.size(), QSize(960, 540));
    QCOMPARE(result.convertToFormat(QImage::Format_RGB32),
             picture.scaled(960, 540, Qt::KeepAspectRatio, Qt::FastTransformation));
    QVERIFY(!panel.isVisible());

    // Closed in this mode, the panel hands nothing on until it is filled again.
    QSignalSpy late(&panel, &OSDImageCutDLL::applyCutImage);
    panel.on_pushButton_ok_clicked();
    QCOMPARE(late.count(), 0);
}

void TestCutPanel::cuttingAgainAfterScaling()
{
    OSDImageCutDLL panel;
    const QImage picture = numberedPicture(1920, 1080);
    QVERIFY(openPanel(panel, QSize(960, 960), picture, true));
    QTest::mouseClick(panel.findChild<QRadioButton *>(QStringLiteral("radioButton_zoom")), Qt::LeftButton);
    QTest::mouseClick(panel.findChild<QRadioButton *>(QStringLiteral("radioButton_cut")), Qt::LeftButton);

    QCOMPARE(Pointer(panel).rectangle()->geometry(), QRect(0, 0, 100, 100));
    QCOMPARE(fields(panel), (QList<int>{0, 0, 100, 100}));
    for (char name : {'X', 'Y', 'W', 'H'})
        QVERIFY(isPlain(field(panel, name)));
    const QList<QVariant> applied = pressOk(panel);
    QCOMPARE(applied.size(), 2);
    QCOMPARE(applied.at(0).value<QImage>().convertToFormat(QImage::Format_RGB32),
             picture.copy(0, 0, 100, 100));
}

void TestCutPanel::itemOpensItsOnePanel()
{
    QGraphicsScene scene;
    auto *item = new OSDItem;
    const QImage picture = numberedPicture(800, 500);
    item->setOsdImage(picture, true);
    item->setPixmap(QPixmap::fromImage(picture));
    scene.addItem(item);

    chooseFromNextMenu(QStringLiteral("截取"));
    openContextMenu(scene, item);

    OSDImageCutDLL *panel = item->cutPanel();
    QVERIFY(panel);
    QVERIFY(!panel->parent());
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->windowModality(), Qt::ApplicationModal);
    QCOMPARE(QApplication::activeModalWidget(), panel);
    QCOMPARE(panel->windowTitle(), QStringLiteral("选择OSD显示区域"));
    QCOMPARE(panel->cutWindow(), QRect(0, 0, 100, 100));

    // OK reaches the item.
    QSignalSpy changed(item, &OSDItem::signal_changeImgbyCut);
    typeInto(field(*panel, 'X'), QStringLiteral("10"));
    typeInto(field(*panel, 'Y'), QStringLiteral("20"));
    const QList<QVariant> applied = pressOk(*panel);
    QCOMPARE(applied.size(), 2);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(item->cutRect(), QRect(QPoint(10, 20), QPoint(99, 99)));
    QCOMPARE(item->displayImage(), picture.copy(QRect(QPoint(10, 20), QPoint(99, 99))));
    QCOMPARE(item->image(), picture);
}

void TestCutPanel::itemReopensWithTheLoadedPicture()
{
    QGraphicsScene scene;
    auto *item = new OSDItem;
    const QImage picture = numberedPicture(800, 500);
    item->setOsdImage(picture, true);
    item->setPixmap(QPixmap::fromImage(picture));
    scene.addItem(item);

    item->slot_osdCutout();
    QPointer<OSDImageCutDLL> first = item->cutPanel();
    QVERIFY(first);
    placeWindow(*first, QRect(100, 50, 200, 100));
    QCOMPARE(pressOk(*first).size(), 2);
    QCOMPARE(item->displayImage().size(), QSize(200, 100));

    chooseFromNextMenu(QStringLiteral("截取"));
    openContextMenu(scene, item);

    QCOMPARE(item->cutPanel(), first.data());
    QCOMPARE(QApplication::topLevelWidgets().count(QApplication::activeModalWidget()), 1);
    QVERIFY(first->isVisible());
    // Filled afresh from the loaded picture, not from the cut.
    auto *shown = first->pictureWidget()->findChild<QLabel *>(QStringLiteral("label"));
    QCOMPARE(shown->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_RGB32), picture);
    QCOMPARE(first->cutWindow(), QRect(0, 0, 100, 100));
    QCOMPARE(fields(*first), (QList<int>{0, 0, 100, 100}));
    QCOMPARE(field(*first, 'X')->maximum(), 800);
    QCOMPARE(field(*first, 'H')->maximum(), 500);
    first->close();
}

void TestCutPanel::panelGoesWithItsItem()
{
    auto *item = new OSDItem;
    item->setOsdImage(numberedPicture(300, 200), true);
    item->slot_osdCutout();
    QPointer<OSDImageCutDLL> panel = item->cutPanel();
    QVERIFY(panel);

    delete item;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(panel.isNull());
}

QTEST_MAIN(TestCutPanel)
#include "tst_cutpanel.moc"
