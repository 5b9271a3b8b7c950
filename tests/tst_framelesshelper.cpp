#include "core/geometry/edgehitflags.h"
#include "core/geometry/edgeresize.h"
#include "mainwindow/quillmere.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/framelesshelper.h"

#include <QRubberBand>
#include <QWindow>
#include <QtTest>

namespace {

// A window that counts the mouse presses it gets to see itself.
class PressCounter : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        QWidget::mousePressEvent(event);
    }
};

// A child that leaves presses on empty space to its window but takes every move and release, as
// the preview does.
class TakesMovesAndReleases : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void mousePressEvent(QMouseEvent *event) override { event->ignore(); }
    void mouseMoveEvent(QMouseEvent *event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent *event) override { event->accept(); }
};

QStringList zoneNames(const Utils::EdgeHitFlags &hits)
{
    QStringList names;
    if (hits.onEdges)
        names << QStringLiteral("any");
    if (hits.onLeftEdge)
        names << QStringLiteral("left");
    if (hits.onRightEdge)
        names << QStringLiteral("right");
    if (hits.onTopEdge)
        names << QStringLiteral("top");
    if (hits.onBottomEdge)
        names << QStringLiteral("bottom");
    if (hits.onTopLeftEdge)
        names << QStringLiteral("topLeft");
    if (hits.onBottomLeftEdge)
        names << QStringLiteral("bottomLeft");
    if (hits.onTopRightEdge)
        names << QStringLiteral("topRight");
    if (hits.onBottomRightEdge)
        names << QStringLiteral("bottomRight");
    return names;
}

// A helper whose platform takes every drag, or none, and that notes the drags offered to it.
class PlatformDragProbe : public Utils::FramelessHelper
{
public:
    bool platformTakes = false;
    QList<int> offered; // the edges of each drag, 0 for a move

protected:
    bool startSystemDrag(QWindow *window, Qt::Edges edges) override
    {
        offered.append(int(edges));
        return platformTakes || FramelessHelper::startSystemDrag(window, edges);
    }
};

QRubberBand *visibleRubberBand()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *band = qobject_cast<QRubberBand *>(window); band && band->isVisible())
            return band;
    }
    return nullptr;
}

// Mouse events through the platform layer, addressed by global position: the window moves
// under the pointer while it is dragged, so window-local positions would drift.
class Mouse
{
public:
    explicit Mouse(QWidget *window) : m_window(window) {}

    void press(const QPoint &global, Qt::MouseButton button = Qt::LeftButton)
    {
        m_buttons |= button;
        m_timestamp += 1000; // far apart, so no press turns into a double click
        send(QEvent::MouseButtonPress, global, button);
    }
    void move(const QPoint &global) { send(QEvent::MouseMove, global, Qt::NoButton); }
    void release(const QPoint &global, Qt::MouseButton button = Qt::LeftButton)
    {
        m_buttons &= ~Qt::MouseButtons(button);
        send(QEvent::MouseButtonRelease, global, button);
    }
    void drag(const QPoint &from, const QPoint &to)
    {
        press(from);
        move(to);
        release(to);
    }

private:
    void send(QEvent::Type type, const QPoint &global, Qt::MouseButton button)
    {
        QWindow *window = m_window->windowHandle();
        QVERIFY(window);
        qt_handleMouseEvent(window, window->mapFromGlobal(global), global, m_buttons, button, type,
                            Qt::NoModifier, ++m_timestamp);
        QCoreApplication::processEvents();
    }

    QWidget *m_window;
    Qt::MouseButtons m_buttons;
    static int m_timestamp;
};

int Mouse::m_timestamp = 100000;

} // namespace

class TestFramelessHelper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void edgeHits_data();
    void edgeHits();
    void resizedGeometry_data();
    void resizedGeometry();
    void settingsBelongToTheirHelper();

    void pressInTitleAreaMoves_data();
    void pressInTitleAreaMoves();
    void leftEdgeKeepsMinimumWidth_data();
    void leftEdgeKeepsMinimumWidth();
    void cursorShapes_data();
    void cursorShapes();
    void rightEdgeResizesThroughRubberBand();
    void edgeDragOverAGreedyChildEnds_data();
    void edgeDragOverAGreedyChildEnds();
    void resizeWithoutRubberBandIsLive();
    void maximizedWindowShowsNoResizeCursor();
    void helperConsumesMouseEvents();
    void destroyingHelperRestoresWidget_data();
    void destroyingHelperRestoresWidget();
    void widgetDestroyedBeforeHelper();
    void mainWindowMovesByTitleArea();
    void platformDragComesFirst_data();
    void platformDragComesFirst();

private:
    // A shown 400x300 window (minimum 200x150) managed with the main window's settings.
    void showManaged(PressCounter &window, Utils::FramelessHelper &helper);
};

void TestFramelessHelper::edgeHits_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QStringList>("zones");

    // Frame (100,200)-(399,599), edge width 5.
    const QStringList none;
    const QStringList left{"any", "left"};
    const QStringList right{"any", "right"};
    const QStringList top{"any", "top"};
    const QStringList bottom{"any", "bottom"};
    QTest::newRow("left edge itself") << QPoint(100, 400) << left;
    QTest::newRow("left zone inner end") << QPoint(105, 400) << left;
    QTest::newRow("left of zone, inside") << QPoint(106, 400) << none;
    QTest::newRow("outside left") << QPoint(99, 400) << none;
    QTest::newRow("right zone inner start") << QPoint(395, 400) << right;
    QTest::newRow("before right zone") << QPoint(394, 400) << none;
    QTest::newRow("right edge itself") << QPoint(399, 400) << right;
    QTest::newRow("one past right edge") << QPoint(400, 400) << right;
    QTest::newRow("two past right edge") << QPoint(401, 400) << none;
    QTest::newRow("top edge itself") << QPoint(250, 200) << top;
    QTest::newRow("top zone inner end") << QPoint(250, 205) << top;
    QTest::newRow("below top zone") << QPoint(250, 206) << none;
    QTest::newRow("above top") << QPoint(250, 199) << none;
    QTest::newRow("bottom zone inner start") << QPoint(250, 595) << bottom;
    QTest::newRow("above bottom zone") << QPoint(250, 594) << none;
    QTest::newRow("one below bottom edge") << QPoint(250, 600) << bottom;
    QTest::newRow("two below bottom edge") << QPoint(250, 601) << none;
    QTest::newRow("top-left") << QPoint(102, 203) << QStringList{"any", "left", "top", "topLeft"};
    QTest::newRow("bottom-left") << QPoint(100, 599) << QStringList{"any", "left", "bottom", "bottomLeft"};
    QTest::newRow("top-right") << QPoint(400, 200) << QStringList{"any", "right", "top", "topRight"};
    QTest::newRow("bottom-right") << QPoint(400, 600) << QStringList{"any", "right", "bottom", "bottomRight"};
    QTest::newRow("centre") << QPoint(250, 400) << none;
}

void TestFramelessHelper::edgeHits()
{
    QFETCH(QPoint, point);
    QFETCH(QStringList, zones);
    const QRect frame(QPoint(100, 200), QPoint(399, 599));
    QCOMPARE(zoneNames(Utils::EdgeHitFlags::at(point, frame, 5)), zones);
}

void TestFramelessHelper::resizedGeometry_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("target");
    QTest::addColumn<QRect>("expected"); // null: no change at all

    // Start (100,100)-(399,299), minimum 200x150, maximum 1000x800.
    QTest::newRow("right edge outward")
        << QPoint(399, 200) << QPoint(450, 230) << QRect(QPoint(100, 100), QPoint(450, 299));
    QTest::newRow("left edge inward")
        << QPoint(101, 200) << QPoint(150, 170) << QRect(QPoint(150, 100), QPoint(399, 299));
    QTest::newRow("left edge exactly to minimum")
        << QPoint(101, 200) << QPoint(200, 200) << QRect(QPoint(200, 100), QPoint(399, 299));
    QTest::newRow("left edge below minimum")
        << QPoint(101, 200) << QPoint(201, 200) << QRect(QPoint(100, 100), QPoint(399, 299));
    QTest::newRow("top edge below minimum height")
        << QPoint(250, 100) << QPoint(250, 151) << QRect(QPoint(100, 100), QPoint(399, 299));
    QTest::newRow("bottom edge") << QPoint(250, 299) << QPoint(0, 350)
                                 << QRect(QPoint(100, 100), QPoint(399, 350));
    QTest::newRow("top-left corner") << QPoint(100, 100) << QPoint(80, 60)
                                     << QRect(QPoint(80, 60), QPoint(399, 299));
    QTest::newRow("top-left, too narrow only")
        << QPoint(100, 100) << QPoint(250, 60) << QRect(QPoint(100, 60), QPoint(399, 299));
    QTest::newRow("bottom-left corner")
        << QPoint(100, 299) << QPoint(90, 320) << QRect(QPoint(90, 100), QPoint(399, 320));
    QTest::newRow("top-right corner")
        << QPoint(399, 100) << QPoint(420, 90) << QRect(QPoint(100, 90), QPoint(420, 299));
    QTest::newRow("bottom-right corner")
        << QPoint(400, 300) << QPoint(500, 400) << QRect(QPoint(100, 100), QPoint(500, 400));
    QTest::newRow("right edge past left") << QPoint(399, 200) << QPoint(90, 200) << QRect();
    QTest::newRow("top edge past bottom") << QPoint(250, 100) << QPoint(250, 310) << QRect();
    QTest::newRow("right edge above maximum")
        << QPoint(399, 200) << QPoint(1100, 200) << QRect(QPoint(100, 100), QPoint(399, 299));
    QTest::newRow("no edge") << QPoint(250, 200) << QPoint(300, 250)
                             << QRect(QPoint(100, 100), QPoint(399, 299));
}

void TestFramelessHelper::resizedGeometry()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, target);
    QFETCH(QRect, expected);
    const QRect start(QPoint(100, 100), QPoint(399, 299));
    const Utils::EdgeHitFlags edges = Utils::EdgeHitFlags::at(press, start, 5);
    const std::optional<QRect> result =
        Utils::resizedGeometry(start, target, edges, QSize(200, 150), QSize(1000, 800));
    if (expected.isNull()) {
        QVERIFY(!result.has_value());
    } else {
        QVERIFY(result.has_value());
        QCOMPARE(*result, expected);
    }
}

void TestFramelessHelper::settingsBelongToTheirHelper()
{
    Utils::FramelessHelper first;
    Utils::FramelessHelper second;
    QCOMPARE(first.edgeWidth(), 5);
    QCOMPARE(first.titleAreaHeight(), 30);

    first.setEdgeWidth(0);
    first.setTitleAreaHeight(0);
    QCOMPARE(first.edgeWidth(), 5);
    QCOMPARE(first.titleAreaHeight(), 30);
    first.setEdgeWidth(1);
    first.setTitleAreaHeight(1);
    QCOMPARE(first.edgeWidth(), 1);
    QCOMPARE(first.titleAreaHeight(), 1);

    PressCounter window;
    showManaged(window, second);
    first.setEdgeWidth(8);
    first.setTitleAreaHeight(40);
    QCOMPARE(second.edgeWidth(), 5);
    QCOMPARE(second.titleAreaHeight(), 30);
    // The other helper's window keeps its own title area, not only its getter: a press at y 35
    // does not move it.
    const QRect before = window.frameGeometry();
    Mouse mouse(&window);
    const QPoint start = window.mapToGlobal(QPoint(150, 35));
    mouse.drag(start, start + QPoint(20, 10));
    QCOMPARE(window.frameGeometry(), before);

    QVERIFY(first.moveEnabled());
    QVERIFY(first.resizeEnabled());
    QVERIFY(first.moveRubberBand());
    QVERIFY(first.resizeRubberBand());
}

void TestFramelessHelper::showManaged(PressCounter &window, Utils::FramelessHelper &helper)
{
    window.setMinimumSize(200, 150);
    window.resize(400, 300);
    // Every window in a new place: the platform drops a move to the pointer's current position.
    static int placement = 0;
    ++placement;
    window.move(150 + placement % 16 * 7, 120 + placement % 16 * 5);
    helper.attachWidget(&window);
    helper.setTitleAreaHeight(30);
    helper.setMoveEnabled(true);
    helper.setResizeEnabled(true);
    helper.setMoveRubberBand(false);
    helper.setResizeRubberBand(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

void TestFramelessHelper::pressInTitleAreaMoves_data()
{
    QTest::addColumn<int>("localY");
    QTest::addColumn<bool>("moves");
    QTest::newRow("y 10") << 10 << true;
    QTest::newRow("y 29, last row of the title area") << 29 << true;
    QTest::newRow("y 30, first row below it") << 30 << false;
    QTest::newRow("y 150") << 150 << false;
}

void TestFramelessHelper::pressInTitleAreaMoves()
{
    QFETCH(int, localY);
    QFETCH(bool, moves);
    PressCounter window;
    Utils::FramelessHelper helper;
    showManaged(window, helper);
    const QRect before = window.frameGeometry();

    Mouse mouse(&window);
    const QPoint start = window.mapToGlobal(QPoint(150, localY));
    mouse.press(start);
    mouse.move(start + QPoint(20, 10));
    mouse.move(start + QPoint(40, 25));
    QVERIFY(!visibleRubberBand()); // moving is live with these settings
    mouse.release(start + QPoint(40, 25));

    QCOMPARE(window.frameGeometry(), moves ? before.translated(40, 25) : before);
    QCOMPARE(window.presses, 0);
}

void TestFramelessHelper::leftEdgeKeepsMinimumWidth_data()
{
    // Pointer positions while the button is held, relative to the x at which the window would be
    // exactly as narrow as its minimum width allows.
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<int>("finalLeft"); // relative to that x as well, when moved
    QTest::newRow("wider than the minimum") << QList<int>{-50} << true << -50;
    QTest::newRow("exactly the minimum") << QList<int>{0} << true << 0;
    QTest::newRow("one below the minimum") << QList<int>{1} << false << 0;
    QTest::newRow("valid, then too far") << QList<int>{-50, 60} << true << -50;
    QTest::newRow("too far, then valid") << QList<int>{60, -100} << true << -100;
    QTest::newRow("outward") << QList<int>{-250} << true << -250;
}

void TestFramelessHelper::leftEdgeKeepsMinimumWidth()
{
    QFETCH(QList<int>, steps);
    QFETCH(bool, moved);
    QFETCH(int, finalLeft);
    PressCounter window;
    Utils::FramelessHelper helper;
    showManaged(window, helper);
    const QRect before = window.frameGeometry();
    const int frameExtra = before.width() - window.width();
    const int limitX = before.right() + 1 - (window.minimumWidth() + frameExtra);

    Mouse mouse(&window);
    const QPoint start = window.mapToGlobal(QPoint(0, 150));
    mouse.press(start);
    QPoint last = start;
    for (int dx : qAsConst(steps)) {
        last = QPoint(limitX + dx, start.y() + 7);
        mouse.move(last);
    }
    mouse.release(last);

    const QRect after = window.frameGeometry();
    QCOMPARE(after.left(), moved ? limitX + finalLeft : before.left());
    QCOMPARE(after.right(), before.right());
    QCOMPARE(after.top(), before.top());
    QCOMPARE(after.bottom(), before.bottom());
    QVERIFY(window.width() >= window.minimumWidth());
}

void TestFramelessHelper::cursorShapes_data()
{
    QTest::addColumn<QPoint>("local");
    QTest::addColumn<bool>("diagonal");
    // Client 400x300; every one of these points lies in a resize zone except the centre.
    QTest::newRow("top-left corner") << QPoint(0, 0) << true;
    QTest::newRow("bottom-right corner") << QPoint(399, 299) << true;
    QTest::newRow("top-right corner") << QPoint(399, 0) << false;
    QTest::newRow("bottom-left corner") << QPoint(0, 299) << false;
    QTest::newRow("right edge") << QPoint(398, 150) << false;
    QTest::newRow("left edge") << QPoint(1, 150) << false;
    QTest::newRow("bottom edge") << QPoint(200, 298) << false;
    QTest::newRow("centre") << QPoint(200, 150) << false;
}

void TestFramelessHelper::cursorShapes()
{
    QFETCH(QPoint, local);
    QFETCH(bool, diagonal);
    PressCounter window;
    Utils::FramelessHelper helper;
    showManaged(window, helper);
    Mouse mouse(&window);

    // Start from a set cursor, so that leaving the corner must take it away again.
    mouse.move(window.mapToGlobal(QPoint(399, 299)));
    QCOMPARE(window.cursor().shape(), Qt::SizeFDiagCursor);

    mouse.move(window.mapToGlobal(local));
    QCOMPARE(window.cursor().shape(), diagonal ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
}

void TestFramelessHelper::rightEdgeResizesThroughRubberBand()
{
    PressCounter window;
    Utils::FramelessHelper helper;
    showManaged(window, helper);
    const QRect before = window.frameGeometry();
    Mouse mouse(&window);

    const QPoint start = window.mapToGlobal(QPoint(398, 150));
    mouse.move(start);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);

    mouse.press(start);
    QRubberBand *band = visibleRubberBand();
    QVERIFY(band);
    QCOMPARE(band->geometry(), before);

    mouse.move(start + QPoint(30, 40));
    mouse.move(start + QPoint(60, 40));
    QCOMPARE(band->geometry(), before.adjusted(0, 0, start.x() + 60 - before.right(), 0));
    QCOMPARE(window.frameGeometry(), before); // nothing happens to the window before the release

    mouse.release(start + QPoint(60, 40));
    QVERIFY(!band->isVisible());
    QCOMPARE(window.frameGeometry(), before.adjusted(0, 0, start.x() + 60 - before.right(), 0));
    QCOMPARE(window.width(), 400 + start.x() + 60 - before.right());
    QCOMPARE(window.presses, 0);
}

void TestFramelessHelper::edgeDragOverAGreedyChildEnds_data()
{
    QTest::addColumn<bool>("releaseSeen");
    QTest::newRow("the release comes") << true;
    // Another window took the mouse: the next move comes without the button.
    QTest::newRow("the release is lost") << false;
}

void TestFramelessHelper::edgeDragOverAGreedyChildEnds()
{
    QFETCH(bool, releaseSeen);
    PressCounter window;
    auto *child = new TakesMovesAndReleases(&window);
    child->setGeometry(0, 30, 300, 270);
    Utils::FramelessHelper helper;
    showManaged(window, helper);
    const QRect before = window.frameGeometry();
    Mouse mouse(&window);

    // One pixel inside the left edge at mid-height, over the child, dragged left.
    const QPoint start = window.mapToGlobal(QPoint(1, 150));
    mouse.press(start);
    QRubberBand *band = visibleRubberBand();
    QVERIFY(band);
    mouse.move(start - QPoint(30, 0));
    // The band follows the pointer with its left edge.
    const QRect dragged(QPoint(start.x() - 30, before.top()), before.bottomRight());
    QCOMPARE(band->geometry(), dragged);
    if (releaseSeen) {
        mouse.release(start - QPoint(30, 0));
        QCOMPARE(window.frameGeometry(), dragged);
    } else {
        QWidget other;
        other.grabMouse();
        mouse.release(start - QPoint(30, 0));
        other.releaseMouse();
        mouse.move(start - QPoint(40, 0));
    }
    QVERIFY(!band->isVisible());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    // The window takes clicks again, and its children do.
    const QRect settled = window.frameGeometry();
    mouse.press(window.mapToGlobal(QPoint(150, 150)));
    mouse.move(window.mapToGlobal(QPoint(120, 150)));
    mouse.release(window.mapToGlobal(QPoint(120, 150)));
    QVERIFY(!visibleRubberBand());
    QCOMPARE(window.frameGeometry(), settled);
}

void TestFramelessHelper::resizeWithoutRubberBandIsLive()
{
    PressCounter window;
    Utils::FramelessHelper helper;
    showManaged(window, helper);
    helper.setResizeRubberBand(false);
    const QRect before = window.frameGeometry();
    Mouse mouse(&window);

    const QPoint start = window.mapToGlobal(QPoint(399, 299));
    mouse.press(start);
    QVERIFY(!visibleRubberBand());
    mouse.move(start + QPoint(25, 35));
    const QRect expected(before.topLeft(), QPoint(start.x() + 25, start.y() + 35));
    QCOMPARE(window.frameGeometry(), expected);
    mouse.release(start + QPoint(25, 35));
    QCOMPARE(window.frameGeometry(), expected);
}

void TestFramelessHelper::maximizedWindowShowsNoResizeCursor()
{
    PressCounter window;
    Utils::FramelessHelper helper;
    showManaged(window, helper);
    Mouse mouse(&window);
    mouse.move(window.mapToGlobal(QPoint(399, 299)));
    QCOMPARE(window.cursor().shape(), Qt::SizeFDiagCursor);

    window.showMaximized();
    QTRY_VERIFY(window.isMaximized() && window.width() > 400);
    for (const QPoint &local : {QPoint(0, 0), QPoint(window.width() - 1, window.height() - 1)}) {
        const QPoint global = window.mapToGlobal(local);
        const Utils::EdgeHitFlags hits = Utils::EdgeHitFlags::at(global, window.frameGeometry(), 5);
        QVERIFY(hits.onTopLeftEdge || hits.onBottomRightEdge); // a diagonal corner of a normal window
        mouse.move(global);
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    }
}

void TestFramelessHelper::helperConsumesMouseEvents()
{
    PressCounter window;
    Utils::FramelessHelper helper;
    showManaged(window, helper);
    const QRect before = window.frameGeometry();
    Mouse mouse(&window);

    // A right-button drag in the title area is swallowed without moving anything.
    const QPoint start = window.mapToGlobal(QPoint(150, 10));
    mouse.press(start, Qt::RightButton);
    mouse.move(start + QPoint(30, 30));
    mouse.release(start + QPoint(30, 30), Qt::RightButton);
    QCOMPARE(window.frameGeometry(), before);
    QCOMPARE(window.presses, 0);
    QVERIFY(!visibleRubberBand());
}

void TestFramelessHelper::destroyingHelperRestoresWidget_data()
{
    QTest::addColumn<bool>("trackingBefore");
    QTest::newRow("no tracking before") << false;
    QTest::newRow("tracking before") << true;
}

void TestFramelessHelper::destroyingHelperRestoresWidget()
{
    QFETCH(bool, trackingBefore);
    PressCounter window;
    window.setMouseTracking(trackingBefore);
    const Qt::WindowFlags flags = window.windowFlags();
    auto *helper = new Utils::FramelessHelper;
    showManaged(window, *helper);
    QVERIFY(window.testAttribute(Qt::WA_MouseTracking));
    QVERIFY(window.testAttribute(Qt::WA_Hover));

    // Someone changes the flags while the helper manages the window.
    window.setWindowFlags(flags | Qt::FramelessWindowHint);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Mouse mouse(&window);
    mouse.move(window.mapToGlobal(QPoint(399, 299)));
    QCOMPARE(window.cursor().shape(), Qt::SizeFDiagCursor);

    delete helper;
    QCOMPARE(window.windowFlags(), flags);
    QCOMPARE(window.testAttribute(Qt::WA_MouseTracking), trackingBefore);
    QVERIFY(!window.testAttribute(Qt::WA_Hover));
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);

    // The window gets its presses again, and the title area no longer moves it.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect before = window.frameGeometry();
    const QPoint start = window.mapToGlobal(QPoint(150, 10));
    mouse.drag(start, start + QPoint(40, 25));
    QCOMPARE(window.presses, 1);
    QCOMPARE(window.frameGeometry(), before);
}

void TestFramelessHelper::widgetDestroyedBeforeHelper()
{
    Utils::FramelessHelper helper;
    helper.setMoveRubberBand(true);
    {
        PressCounter window;
        showManaged(window, helper);
    }
    // The helper must neither touch the dead window now nor when it goes itself.
    helper.setResizeRubberBand(false);
    helper.setMoveRubberBand(false);
}

void TestFramelessHelper::mainWindowMovesByTitleArea()
{
    Quillmere window;
    Utils::FramelessHelper *helper = TestSupport::windowPart<Utils::FramelessHelper>(window);
    QVERIFY(helper);
    QCOMPARE(helper->parent(), &window);
    QVERIFY(helper->moveEnabled());
    QVERIFY(helper->resizeEnabled());
    QVERIFY(!helper->moveRubberBand());
    QVERIFY(helper->resizeRubberBand());
    QCOMPARE(helper->titleAreaHeight(), 30);
    QCOMPARE(helper->edgeWidth(), 5);

    window.move(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Empty toolbar space right of the buttons belongs to the window itself.
    const QPoint local(window.width() - 300, 12);
    QVERIFY(!window.childAt(local));
    const QRect before = window.frameGeometry();
    Mouse mouse(&window);
    const QPoint start = window.mapToGlobal(local);
    mouse.press(start);
    mouse.move(start + QPoint(-30, 20));
    QCOMPARE(window.frameGeometry(), before.translated(-30, 20)); // live, without a rubber band
    mouse.release(start + QPoint(-30, 20));
    QCOMPARE(window.frameGeometry(), before.translated(-30, 20));
}

void TestFramelessHelper::platformDragComesFirst_data()
{
    QTest::addColumn<QPoint>("local");
    QTest::addColumn<bool>("platformTakes");
    QTest::addColumn<QList<int>>("offered");
    const int left = Qt::LeftEdge, right = Qt::RightEdge, top = Qt::TopEdge, bottom = Qt::BottomEdge;
    // Client 400x300, title area 30, edge width 5.
    QTest::newRow("title area, platform moves") << QPoint(150, 10) << true << QList<int>{0};
    QTest::newRow("title area, platform cannot") << QPoint(150, 10) << false << QList<int>{0};
    QTest::newRow("right edge, platform resizes") << QPoint(398, 150) << true << QList<int>{right};
    QTest::newRow("right edge, platform cannot") << QPoint(398, 150) << false << QList<int>{right};
    QTest::newRow("left edge") << QPoint(1, 150) << true << QList<int>{left};
    QTest::newRow("bottom edge") << QPoint(200, 298) << true << QList<int>{bottom};
    QTest::newRow("top edge, inside the title area") << QPoint(200, 0) << true << QList<int>{top};
    QTest::newRow("top-left corner") << QPoint(0, 0) << true << QList<int>{left | top};
    QTest::newRow("bottom-right corner") << QPoint(399, 299) << true << QList<int>{right | bottom};
    QTest::newRow("below the title area") << QPoint(150, 30) << true << QList<int>{};
}

void TestFramelessHelper::platformDragComesFirst()
{
    QFETCH(QPoint, local);
    QFETCH(bool, platformTakes);
    QFETCH(QList<int>, offered);
    PressCounter window;
    PlatformDragProbe helper;
    helper.platformTakes = platformTakes;
    showManaged(window, helper);
    const QRect before = window.frameGeometry();
    Mouse mouse(&window);

    const QPoint start = window.mapToGlobal(local);
    mouse.press(start);
    QCOMPARE(helper.offered, offered);
    const bool followedHere = !offered.isEmpty() && !platformTakes;
    // Only a drag followed here holds the mouse, and only a resize followed here shows the band.
    QCOMPARE(QWidget::mouseGrabber(), followedHere ? &window : nullptr);
    QCOMPARE(visibleRubberBand() != nullptr, followedHere && offered.first() != 0);
    mouse.move(start + QPoint(20, 10));
    mouse.release(start + QPoint(20, 10));
    QCOMPARE(helper.offered, offered); // the press alone offers the drag
    QCOMPARE(window.frameGeometry() != before, followedHere);
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QCOMPARE(window.presses, 0);
}

QTEST_MAIN(TestFramelessHelper)
#include "tst_framelesshelper.moc"
