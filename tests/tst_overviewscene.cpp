// The overview driven through a real view: dragging with snapping at the view's zoom, Alt to place
// freely, picking the topmost picture, and drawing only what is seen without changing a pixel.
#include "mainwindow/overviewitem.h"
#include "mainwindow/overviewscene.h"
#include "support/core/warnings.h"

#include <QApplication>
#include <QGraphicsLineItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsView>
#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QSize kScreen(400, 300);

// Noise, so that a picture drawn in the wrong place or order cannot match by chance.
QPixmap noisePicture(const QSize &size, quint32 seed, bool translucent = false)
{
    QImage image(size, translucent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb rgb = random.generate() | 0xFF000000u;
            image.setPixel(x, y,
                           translucent ? qPremultiply(qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), 100)) : rgb);
        }
    }
    return QPixmap::fromImage(image);
}

struct Overview
{
    OverviewScene scene;
    QGraphicsView view{&scene};

    Overview(const QList<OverviewScene::Entry> &entries, qreal scale)
    {
        scene.setScreenSize(kScreen);
        scene.setEntries(entries);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(800, 600);
        view.setTransform(QTransform::fromScale(scale, scale));
        view.show();
    }

    QWidget *viewport() const { return view.viewport(); }

    void moveTo(const QPoint &at, Qt::KeyboardModifiers modifiers)
    {
        // QTest's move carries no pressed button on Qt 5.
        QMouseEvent move(QEvent::MouseMove, at, viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         modifiers);
        QApplication::sendEvent(viewport(), &move);
    }
};

// The scene drawn at the given zoom over its whole extent.
QImage rendered(QGraphicsScene &scene, const QRectF &source, qreal scale, QImage image = QImage())
{
    if (image.isNull()) {
        image = QImage((source.size() * scale).toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    QPainter painter(&image);
    scene.render(&painter, QRectF(image.rect()), source, Qt::IgnoreAspectRatio);
    return image;
}

// The scene coordinates of the guide lines shown: "x=…" for vertical, "y=…" for horizontal ones.
QStringList shownGuides(const QGraphicsScene &scene)
{
    QStringList guides;
    const QList<QGraphicsItem *> all = scene.items();
    for (const QGraphicsItem *item : all) {
        const auto *line = qgraphicsitem_cast<const QGraphicsLineItem *>(item);
        if (!line || !line->isVisible())
            continue;
        const QLineF at = line->line();
        if (at.x1() == at.x2())
            guides << QStringLiteral("x=%1").arg(at.x1());
        else if (at.y1() == at.y2())
            guides << QStringLiteral("y=%1").arg(at.y1());
        else
            guides << QStringLiteral("slanted");
    }
    guides.sort();
    return guides;
}

} // namespace

class TestOverviewScene : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void dragSnapsWithinViewPixels_data();
    void dragSnapsWithinViewPixels();
    void guidesShowWhileSnapped_data();
    void guidesShowWhileSnapped();
    void labelsLieOutsideTheirPicture_data();
    void labelsLieOutsideTheirPicture();
    void pressPicksTopmost_data();
    void pressPicksTopmost();
    void drawsAsPlainPixmapItems_data();
    void drawsAsPlainPixmapItems();
};

void TestOverviewScene::dragSnapsWithinViewPixels_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QPoint>("drag"); // in scene pixels
    QTest::addColumn<bool>("alt");
    QTest::addColumn<QPoint>("landed");

    // The picture is 100x50 at (40, 40); the screen 400x300.
    QTest::newRow("at 100 % a left edge 6 px from the screen's edge snaps onto it")
        << 1.0 << QPoint(-34, 0) << false << QPoint(0, 40);
    QTest::newRow("at 100 % a left edge 12 px from the screen's edge stays")
        << 1.0 << QPoint(-28, 0) << false << QPoint(12, 40);
    QTest::newRow("at 50 % the same 12 px are 6 view pixels and snap")
        << 0.5 << QPoint(-28, 0) << false << QPoint(0, 40);
    QTest::newRow("at 400 % 6 px are 24 view pixels and do not snap")
        << 4.0 << QPoint(-34, 0) << false << QPoint(6, 40);
    QTest::newRow("centre near the vertical centre line and bottom near the screen's bottom snap")
        << 1.0 << QPoint(107, 205) << false << QPoint(150, 250);
    QTest::newRow("with Alt held the picture stays where the pointer puts it")
        << 1.0 << QPoint(107, 205) << true << QPoint(147, 245);
}

void TestOverviewScene::dragSnapsWithinViewPixels()
{
    QFETCH(qreal, scale);
    QFETCH(QPoint, drag);
    QFETCH(bool, alt);
    QFETCH(QPoint, landed);

    Overview overview({{noisePicture(QSize(100, 50), 1), QPoint(40, 40), QStringLiteral("Logo")},
                       {noisePicture(QSize(60, 60), 2), QPoint(300, 200), QStringLiteral("Clock")}},
                      scale);
    QSignalSpy moved(&overview.scene, &OverviewScene::entryMoved);
    QSignalSpy finished(&overview.scene, &OverviewScene::entryDragFinished);
    const Qt::KeyboardModifiers modifiers = alt ? Qt::AltModifier : Qt::NoModifier;

    const QPointF grab(90, 65);
    overview.view.centerOn(grab);
    const QPoint from = overview.view.mapFromScene(grab);
    const QPoint to = from + (QPointF(drag) * scale).toPoint();
    QTest::mousePress(overview.viewport(), Qt::LeftButton, modifiers, from);
    overview.moveTo((from + to) / 2, modifiers);
    overview.moveTo(to, modifiers);
    QTest::mouseRelease(overview.viewport(), Qt::LeftButton, modifiers, to);

    QCOMPARE(overview.scene.entryPos(0), landed);
    QCOMPARE(overview.scene.entryPos(1), QPoint(300, 200));
    QVERIFY(moved.size() >= 1);
    for (const QList<QVariant> &signal : qAsConst(moved))
        QCOMPARE(signal.at(0).toInt(), 0);
    QCOMPARE(moved.constLast().at(1).toPoint(), landed);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
}

void TestOverviewScene::guidesShowWhileSnapped_data()
{
    QTest::addColumn<QPoint>("drag"); // in scene pixels
    QTest::addColumn<bool>("alt");
    QTest::addColumn<QStringList>("guides");

    // The picture is 100x50 at (40, 40); the screen 400x300.
    QTest::newRow("left edge snapped to the screen's left edge")
        << QPoint(-34, 100) << false << QStringList{"x=0"};
    QTest::newRow("centre on the vertical centre line, bottom on the screen's bottom")
        << QPoint(107, 205) << false << QStringList{"x=200", "y=300"};
    QTest::newRow("right edge on the right, centre on the horizontal centre line")
        << QPoint(257, 86) << false << QStringList{"x=400", "y=150"};
    QTest::newRow("nothing near a line") << QPoint(30, 30) << false << QStringList();
    QTest::newRow("with Alt held nothing snaps") << QPoint(-40, 0) << true << QStringList();
}

void TestOverviewScene::guidesShowWhileSnapped()
{
    QFETCH(QPoint, drag);
    QFETCH(bool, alt);
    QFETCH(QStringList, guides);

    Overview overview({{noisePicture(QSize(100, 50), 1), QPoint(40, 40), QStringLiteral("Logo")}}, 1.0);
    const Qt::KeyboardModifiers modifiers = alt ? Qt::AltModifier : Qt::NoModifier;
    const QPointF grab(90, 65);
    overview.view.centerOn(grab);
    const QPoint from = overview.view.mapFromScene(grab);
    const QPoint to = from + drag;
    QTest::mousePress(overview.viewport(), Qt::LeftButton, modifiers, from);
    overview.moveTo((from + to) / 2, modifiers);
    overview.moveTo(to, modifiers);
    QCOMPARE(shownGuides(overview.scene), guides);

    QTest::mouseRelease(overview.viewport(), Qt::LeftButton, modifiers, to);
    QCOMPARE(shownGuides(overview.scene), QStringList());
}

void TestOverviewScene::labelsLieOutsideTheirPicture_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<qreal>("scale");

    QTest::newRow("inside the screen, 100 %") << kScreen << QPoint(100, 100) << 1.0;
    QTest::newRow("at the screen's top-left, 25 %") << kScreen << QPoint(0, 0) << 0.25;
    QTest::newRow("at the screen's top-left, 300 %") << kScreen << QPoint(0, 0) << 3.0;
    QTest::newRow("above a small screen, where the scene ends just above the picture")
        << QSize(80, 80) << QPoint(0, -20) << 1.0;
}

void TestOverviewScene::labelsLieOutsideTheirPicture()
{
    QFETCH(QSize, screen);
    QFETCH(QPoint, pos);
    QFETCH(qreal, scale);

    Overview overview({{noisePicture(QSize(30, 10), 1), pos, QStringLiteral("OSD3")}}, scale);
    overview.scene.setScreenSize(screen);
    QVERIFY(QTest::qWaitForWindowExposed(&overview.view));
    // Labels are placed for the zoom they are drawn at.
    QCoreApplication::processEvents();

    const QTransform toView = overview.view.viewportTransform();
    const QGraphicsItem *label = nullptr;
    const OverviewItem *picture = nullptr;
    const QList<QGraphicsItem *> all = overview.scene.items();
    for (const QGraphicsItem *item : all) {
        if ((picture = qgraphicsitem_cast<const OverviewItem *>(item)))
            break;
    }
    QVERIFY(picture);
    for (const QGraphicsItem *child : picture->childItems()) {
        if (child->isVisible())
            label = child;
    }
    QVERIFY(label);
    const QRectF labelRect = label->deviceTransform(toView).mapRect(label->boundingRect());
    const QRectF pictureRect = toView.mapRect(picture->sceneBoundingRect());
    QVERIFY2(!labelRect.intersects(pictureRect),
             qPrintable(QStringLiteral("label %1,%2 %3x%4 over picture %5,%6 %7x%8")
                            .arg(labelRect.x())
                            .arg(labelRect.y())
                            .arg(labelRect.width())
                            .arg(labelRect.height())
                            .arg(pictureRect.x())
                            .arg(pictureRect.y())
                            .arg(pictureRect.width())
                            .arg(pictureRect.height())));
    // Beside the picture it names, and where the view can scroll to.
    QVERIFY(qAbs(labelRect.bottom() - pictureRect.top()) <= 1 ||
            qAbs(labelRect.top() - pictureRect.bottom()) <= 1);
    QCOMPARE(labelRect.left(), pictureRect.left());
    QVERIFY(toView.mapRect(overview.scene.sceneRect()).contains(labelRect));
}

void TestOverviewScene::pressPicksTopmost_data()
{
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<int>("picked");

    // Tab 0 at (0, 0), tab 1 above it at (50, 50), tab 2 translucent above both at (120, 0); each
    // 100x100.
    QTest::newRow("where two overlap, the later tab") << QPointF(75, 75) << 1;
    QTest::newRow("where only the first lies, the first") << QPointF(25, 25) << 0;
    QTest::newRow("on a transparent picture above the others, that picture") << QPointF(130, 60) << 2;
    QTest::newRow("on the bare screen, nothing") << QPointF(350, 250) << -1;
}

void TestOverviewScene::pressPicksTopmost()
{
    QFETCH(QPointF, at);
    QFETCH(int, picked);

    Overview overview({{noisePicture(QSize(100, 100), 1), QPoint(0, 0), QStringLiteral("A")},
                       {noisePicture(QSize(100, 100), 2), QPoint(50, 50), QStringLiteral("B")},
                       {noisePicture(QSize(100, 100), 3, true), QPoint(120, 0), QStringLiteral("C")}},
                      1.0);
    QSignalSpy picks(&overview.scene, &OverviewScene::entryPicked);
    QSignalSpy moved(&overview.scene, &OverviewScene::entryMoved);
    QSignalSpy finished(&overview.scene, &OverviewScene::entryDragFinished);
    QTest::mouseClick(overview.viewport(), Qt::LeftButton, Qt::NoModifier, overview.view.mapFromScene(at));

    QCOMPARE(picks.size(), picked >= 0 ? 1 : 0);
    if (picked >= 0)
        QCOMPARE(picks.at(0).at(0).toInt(), picked);
    QCOMPARE(moved.size(), 0);
    QCOMPARE(finished.size(), 0);
    QCOMPARE(overview.scene.entryPos(1), QPoint(50, 50));
}

void TestOverviewScene::drawsAsPlainPixmapItems_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("300 %") << 3.0;
}

void TestOverviewScene::drawsAsPlainPixmapItems()
{
    QFETCH(qreal, scale);

    // Opaque pictures covering each other in part, wholly and not at all, one translucent picture in
    // the middle of the stack and pictures partly off the screen. No titles: labels are the
    // overview's own.
    const QList<OverviewScene::Entry> entries = {
        {noisePicture(QSize(200, 150), 11), QPoint(-40, -30), QString()},
        {noisePicture(QSize(120, 90), 12), QPoint(20, 30), QString()},
        {noisePicture(QSize(150, 150), 13, true), QPoint(60, 60), QString()},
        {noisePicture(QSize(60, 40), 14), QPoint(100, 100), QString()},
        {noisePicture(QSize(300, 120), 15), QPoint(80, 80), QString()},
        {noisePicture(QSize(90, 90), 16), QPoint(350, 250), QString()},
    };
    OverviewScene overview;
    overview.setScreenSize(kScreen);
    overview.setEntries(entries);
    const QRectF extent = overview.sceneRect();
    QVERIFY(extent.contains(QRectF(350, 250, 90, 90)));

    OverviewScene empty;
    empty.setScreenSize(kScreen);
    empty.setSceneRect(extent);
    QGraphicsScene plain;
    plain.setSceneRect(extent);
    for (int i = 0; i < entries.size(); ++i) {
        QGraphicsPixmapItem *item = plain.addPixmap(entries.at(i).pixmap);
        item->setPos(entries.at(i).pos);
        item->setZValue(i);
    }
    const QImage expected = rendered(plain, extent, scale, rendered(empty, extent, scale));
    QCOMPARE(rendered(overview, extent, scale), expected);
}

QTEST_MAIN(TestOverviewScene)
#include "tst_overviewscene.moc"
