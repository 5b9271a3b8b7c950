// The OSD graphics item on its own: state, signals, context menus, hover and clicks.
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "osditem/osditem.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QMenu>
#include <QMetaMethod>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

struct MenuEntry
{
    QString text;
    bool hasIcon = false;
    bool enabled = true;
};

QImage filledImage(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// A shown view with one item at a known place, scaled so that view, scene and item
// coordinates all differ.
struct Stage
{
    QGraphicsScene scene;
    QGraphicsView view;
    OSDItem *item = new OSDItem;

    explicit Stage(bool isPicture, bool withCut = true)
    {
        scene.setSceneRect(0, 0, 300, 200);
        view.setScene(&scene);
        view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.scale(2, 2);
        view.resize(700, 500);
        const QImage image = filledImage(40, 30, QColor(200, 10, 10));
        item->setOsdImage(image, isPicture);
        item->setPixmap(QPixmap::fromImage(image));
        if (isPicture && withCut)
            item->setCut(QRect(2, 2, 10, 10));
        item->setFlag(QGraphicsItem::ItemIsMovable, false);
        item->setPos(30, 40);
        scene.addItem(item);
        view.show();
    }

    QPoint viewportPointOf(QPointF itemPoint) const { return view.mapFromScene(item->mapToScene(itemPoint)); }
    QPoint itemCenter() const { return viewportPointOf(QPointF(20, 15)); }
};

// Opens the item's context menu at viewportPos and, once the menu shows, reads its entries and
// then clicks the entry with text `choose` (or closes the menu when `choose` is empty).
QList<MenuEntry> runContextMenu(QGraphicsView &view, QPoint viewportPos, const QString &choose)
{
    QList<MenuEntry> entries;
    bool seen = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible())
            return;
        timer.stop();
        seen = true;
        QAction *target = nullptr;
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            entries.append({action->text(), !action->icon().isNull(), action->isEnabled()});
            if (action->text() == choose)
                target = action;
        }
        if (target) {
            const QPoint at = menu->actionGeometry(target).center();
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
        }
        if (menu->isVisible())
            menu->close();
    });
    timer.start();
    QContextMenuEvent event(QContextMenuEvent::Mouse, viewportPos, view.viewport()->mapToGlobal(viewportPos));
    QApplication::sendEvent(view.viewport(), &event);
    timer.stop();
    if (!seen)
        qWarning("no context menu appeared");
    return entries;
}

QStringList texts(const QList<MenuEntry> &entries)
{
    QStringList result;
    for (const MenuEntry &e : entries)
        result << e.text;
    return result;
}

void sendMouse(QGraphicsView &view, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::NoButton)
{
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, pos, view.viewport()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &event);
}

} // namespace

class TestOsdItem : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void newItemState();
    void metaMethodOrder_data();
    void metaMethodOrder();
    void setOsdImageFillsAllThreeImages();
    void appliedCutKeepsWholePicture();
    void cutSwitchNeedsACut();
    void cutViewSwitchTogglesAndReports();
    void menuEntries_data();
    void menuEntries();
    void menuChoiceEmits_data();
    void menuChoiceEmits();
    void cutSwitchIconOnlyWhileOn();
    void menusLeaveNoChildrenBehind();
    void deletingItemFromItsMenuIsSafe_data();
    void deletingItemFromItsMenuIsSafe();
    void hoverReports();
    void mousePress_data();
    void mousePress();
    void paintsOnlyThePixmap();
    void holdsItsRecords();
};

void TestOsdItem::initTestCase()
{
    TestSupport::failOnQtWarnings();
}

void TestOsdItem::newItemState()
{
    OSDItem item;
    QCOMPARE(item.imageSize(), QSize(-1, -1));
    QCOMPARE(item.cutRect(), QRect(0, 0, 100, 100));
    QCOMPARE(item.cutWidth(), 100);
    QCOMPARE(item.cutHeight(), 100);
    QVERIFY(!item.isShowCutArea());
    QVERIFY(!item.isPicture());
    QVERIFY(item.image().isNull());
    QVERIFY(item.loadedImage().isNull());
    QVERIFY(item.displayImage().isNull());
    QVERIFY(!item.videoControlOSD());
    QVERIFY(!item.sourceData());
    QVERIFY(!item.cutPanel());
    QVERIFY(item.acceptHoverEvents());
    QVERIFY(!item.parent());
    QVERIFY(!item.parentItem());
}

void TestOsdItem::metaMethodOrder_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<int>("type");
    const char *const signals_[] = {"signal_closeAllOsdItem()",
                                    "signal_readBackOsdInfo()",
                                    "signal_changeImgbyCut(QImage,QRect)",
                                    "signal_displayCutImg(bool)",
                                    "signal_imgLocateOnIterm(double,double,double,double)",
                                    "signal_itemHoverLeave()",
                                    "signal_itemHoverEnter(QPointF)",
                                    "signal_mouseClicked()"};
    const char *const slots_[] = {"slot_setTop()",
                                  "slot_setBottom()",
                                  "slot_removeAllImages()",
                                  "slot_readBackOsdInfo()",
                                  "slot_osdCutout()",
                                  "slot_selectShowArea()",
                                  "slot_applyCutImage(QImage,QRect)"};
    int index = 0;
    for (const char *s : signals_) {
        QTest::newRow(s) << index << QByteArray(s) << int(QMetaMethod::Signal);
        ++index;
    }
    for (const char *s : slots_) {
        QTest::newRow(s) << index << QByteArray(s) << int(QMetaMethod::Slot);
        ++index;
    }
}

void TestOsdItem::metaMethodOrder()
{
    QFETCH(int, index);
    QFETCH(QByteArray, signature);
    QFETCH(int, type);
    const QMetaObject &meta = OSDItem::staticMetaObject;
    QCOMPARE(meta.methodCount() - meta.methodOffset(), 15);
    const QMetaMethod method = meta.method(meta.methodOffset() + index);
    QCOMPARE(method.methodSignature(), signature);
    QCOMPARE(int(method.methodType()), type);
    QCOMPARE(method.access(), QMetaMethod::Public);
}

void TestOsdItem::setOsdImageFillsAllThreeImages()
{
    OSDItem item;
    const QImage image = filledImage(7, 3, Qt::green);
    item.setOsdImage(image, true);
    QCOMPARE(item.image(), image);
    QCOMPARE(item.loadedImage(), image);
    QCOMPARE(item.displayImage(), image);
    QCOMPARE(item.imageSize(), QSize(7, 3));
    QVERIFY(item.isPicture());
    // The caller sets the pixmap itself.
    QVERIFY(item.pixmap().isNull());

    item.setOsdImage(filledImage(2, 2, Qt::blue), false);
    QVERIFY(!item.isPicture());
    QCOMPARE(item.imageSize(), QSize(2, 2));
}

void TestOsdItem::appliedCutKeepsWholePicture()
{
    OSDItem item;
    const QImage loaded = filledImage(200, 100, Qt::red);
    item.setOsdImage(loaded, true);
    QSignalSpy spy(&item, &OSDItem::signal_changeImgbyCut);
    // The window is taken from the item's own picture, whatever image the panel sends along.
    item.slot_applyCutImage(filledImage(30, 20, Qt::yellow), QRect(5, 6, 30, 20));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QImage>(), loaded.copy(5, 6, 30, 20));
    QCOMPARE(spy.at(0).at(1).toRect(), QRect(5, 6, 30, 20));
    QVERIFY(item.hasCut());
    QCOMPARE(item.image(), loaded);
    QCOMPARE(item.loadedImage(), loaded);
    QCOMPARE(item.displayImage(), loaded.copy(5, 6, 30, 20));
    QCOMPARE(item.cutRect(), QRect(5, 6, 30, 20));
    QCOMPARE(item.cutWidth(), 30);
    QCOMPARE(item.cutHeight(), 20);
    QCOMPARE(item.imageSize(), QSize(200, 100));

    // A window reaching past the picture is kept inside it; one wholly outside changes nothing.
    item.slot_applyCutImage(QImage(), QRect(190, 90, 30, 20));
    QCOMPARE(item.cutRect(), QRect(190, 90, 10, 10));
    item.slot_applyCutImage(QImage(), QRect(300, 0, 30, 20));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(item.cutRect(), QRect(190, 90, 10, 10));
}

void TestOsdItem::cutSwitchNeedsACut()
{
    Stage stage(true, false);
    QVERIFY(QTest::qWaitForWindowExposed(&stage.view));
    QSignalSpy display(stage.item, &OSDItem::signal_displayCutImg);
    const QList<MenuEntry> entries = runContextMenu(stage.view, stage.itemCenter(), "OSD截取开关");
    QCOMPARE(entries.at(1).text, QStringLiteral("OSD截取开关"));
    QVERIFY(!entries.at(1).enabled);
    QVERIFY(entries.at(0).enabled);
    QCOMPARE(display.count(), 0);
}

void TestOsdItem::cutViewSwitchTogglesAndReports()
{
    OSDItem item;
    QSignalSpy spy(&item, &OSDItem::signal_displayCutImg);
    item.slot_selectShowArea();
    QVERIFY(item.isShowCutArea());
    item.slot_selectShowArea();
    QVERIFY(!item.isShowCutArea());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QCOMPARE(spy.at(1).at(0).toBool(), false);

    // Set directly (as the import does) it reports nothing.
    item.setShowCutArea(true);
    QCOMPARE(spy.count(), 2);
    QVERIFY(item.isShowCutArea());
}

void TestOsdItem::menuEntries_data()
{
    QTest::addColumn<bool>("isPicture");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("picture") << true << QStringList{"截取", "OSD截取开关", "删除"};
    QTest::newRow("text") << false << QStringList{"载入", "删除"};
}

void TestOsdItem::menuEntries()
{
    QFETCH(bool, isPicture);
    QFETCH(QStringList, expected);
    Stage stage(isPicture);
    QVERIFY(QTest::qWaitForWindowExposed(&stage.view));
    const QList<MenuEntry> entries = runContextMenu(stage.view, stage.itemCenter(), QString());
    QCOMPARE(texts(entries), expected);
    for (const MenuEntry &e : entries)
        QVERIFY2(!e.hasIcon, qPrintable(e.text));
    // Off the item there is no menu of the item.
    bool sawMenu = false;
    QTimer probe;
    probe.setInterval(10);
    connect(&probe, &QTimer::timeout, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            sawMenu = true;
            popup->close();
        }
    });
    probe.start();
    const QPoint outside = stage.viewportPointOf(QPointF(60, 60));
    QContextMenuEvent event(QContextMenuEvent::Mouse, outside, stage.view.viewport()->mapToGlobal(outside));
    QApplication::sendEvent(stage.view.viewport(), &event);
    // A menu run with exec() has been seen by the probe by now; one merely popped up is still up.
    QCoreApplication::processEvents();
    probe.stop();
    QVERIFY(!sawMenu);
    QVERIFY(!QApplication::activePopupWidget());
}

void TestOsdItem::menuChoiceEmits_data()
{
    QTest::addColumn<bool>("isPicture");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QByteArray>("signal");
    QTest::newRow("picture delete") << true << "删除" << QByteArray(SIGNAL(signal_closeAllOsdItem()));
    QTest::newRow("picture switch") << true << "OSD截取开关"
                                    << QByteArray(SIGNAL(signal_displayCutImg(bool)));
    QTest::newRow("text delete") << false << "删除" << QByteArray(SIGNAL(signal_closeAllOsdItem()));
    QTest::newRow("text load") << false << "载入" << QByteArray(SIGNAL(signal_readBackOsdInfo()));
}

void TestOsdItem::menuChoiceEmits()
{
    QFETCH(bool, isPicture);
    QFETCH(QString, choice);
    QFETCH(QByteArray, signal);
    Stage stage(isPicture);
    QVERIFY(QTest::qWaitForWindowExposed(&stage.view));
    QSignalSpy chosen(stage.item, signal.constData());
    QSignalSpy closeAll(stage.item, &OSDItem::signal_closeAllOsdItem);
    QSignalSpy readBack(stage.item, &OSDItem::signal_readBackOsdInfo);
    QSignalSpy display(stage.item, &OSDItem::signal_displayCutImg);
    runContextMenu(stage.view, stage.itemCenter(), choice);
    QCOMPARE(chosen.count(), 1);
    // Exactly one of the item's menu signals went out.
    QCOMPARE(closeAll.count() + readBack.count() + display.count(), 1);
}

void TestOsdItem::cutSwitchIconOnlyWhileOn()
{
    Stage stage(true);
    QVERIFY(QTest::qWaitForWindowExposed(&stage.view));
    QSignalSpy display(stage.item, &OSDItem::signal_displayCutImg);
    const QPoint at = stage.itemCenter();

    QList<MenuEntry> entries = runContextMenu(stage.view, at, "OSD截取开关");
    QCOMPARE(entries.at(1).text, QStringLiteral("OSD截取开关"));
    QVERIFY(!entries.at(1).hasIcon);

    entries = runContextMenu(stage.view, at, QString());
    QVERIFY(entries.at(1).hasIcon);
    QVERIFY(!entries.at(0).hasIcon);
    QVERIFY(!entries.at(2).hasIcon);

    entries = runContextMenu(stage.view, at, "OSD截取开关");
    QVERIFY(entries.at(1).hasIcon);
    entries = runContextMenu(stage.view, at, QString());
    QVERIFY(!entries.at(1).hasIcon);

    QCOMPARE(display.count(), 2);
    QCOMPARE(display.at(0).at(0).toBool(), true);
    QCOMPARE(display.at(1).at(0).toBool(), false);
}

void TestOsdItem::menusLeaveNoChildrenBehind()
{
    Stage stage(true);
    QVERIFY(QTest::qWaitForWindowExposed(&stage.view));
    const int before = stage.item->children().size();
    for (int i = 0; i < 5; ++i)
        runContextMenu(stage.view, stage.itemCenter(), i % 2 ? "OSD截取开关" : QString());
    QCOMPARE(stage.item->children().size(), before);
}

void TestOsdItem::deletingItemFromItsMenuIsSafe_data()
{
    QTest::addColumn<bool>("deleteLater");
    QTest::newRow("deleteLater") << true;
    QTest::newRow("at once") << false;
}

void TestOsdItem::deletingItemFromItsMenuIsSafe()
{
    QFETCH(bool, deleteLater);
    Stage stage(true);
    QVERIFY(QTest::qWaitForWindowExposed(&stage.view));
    QPointer<OSDItem> item(stage.item);
    connect(stage.item, &OSDItem::signal_closeAllOsdItem, this, [&] {
        stage.scene.removeItem(item);
        if (deleteLater)
            item->deleteLater();
        else
            delete item.data();
    });
    runContextMenu(stage.view, stage.itemCenter(), "删除");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(item.isNull());
    QVERIFY(stage.scene.items().isEmpty());
}

void TestOsdItem::hoverReports()
{
    Stage stage(true);
    QVERIFY(QTest::qWaitForWindowExposed(&stage.view));
    QSignalSpy enter(stage.item, &OSDItem::signal_itemHoverEnter);
    QSignalSpy move(stage.item, &OSDItem::signal_imgLocateOnIterm);
    QSignalSpy leave(stage.item, &OSDItem::signal_itemHoverLeave);

    sendMouse(stage.view, QEvent::MouseMove, stage.viewportPointOf(QPointF(60, 60)));
    QCOMPARE(enter.count() + move.count() + leave.count(), 0);

    const QPoint first = stage.viewportPointOf(QPointF(4, 6));
    sendMouse(stage.view, QEvent::MouseMove, first);
    QCOMPARE(enter.count(), 1);
    QCOMPARE(enter.at(0).at(0).toPointF(), stage.view.mapToScene(first));
    // The scene is scaled by 2 in the view and the item stands at (30, 40): the four values differ.
    QCOMPARE(move.count(), 1);
    QCOMPARE(move.at(0).at(0).toDouble(), double(first.x()));
    QCOMPARE(move.at(0).at(1).toDouble(), double(first.y()));
    QCOMPARE(move.at(0).at(2).toDouble(), 4.0);
    QCOMPARE(move.at(0).at(3).toDouble(), 6.0);

    const QPoint second = stage.viewportPointOf(QPointF(25, 11));
    sendMouse(stage.view, QEvent::MouseMove, second);
    QCOMPARE(enter.count(), 1);
    QCOMPARE(move.count(), 2);
    QCOMPARE(move.at(1).at(0).toDouble(), double(second.x()));
    QCOMPARE(move.at(1).at(1).toDouble(), double(second.y()));
    QCOMPARE(move.at(1).at(2).toDouble(), 25.0);
    QCOMPARE(move.at(1).at(3).toDouble(), 11.0);
    QCOMPARE(leave.count(), 0);

    sendMouse(stage.view, QEvent::MouseMove, stage.viewportPointOf(QPointF(100, 80)));
    QCOMPARE(leave.count(), 1);
    QCOMPARE(move.count(), 2);
}

void TestOsdItem::mousePress_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("expected");
    QTest::newRow("left") << int(Qt::LeftButton) << 1;
    QTest::newRow("right") << int(Qt::RightButton) << 0;
    QTest::newRow("middle") << int(Qt::MiddleButton) << 0;
}

void TestOsdItem::mousePress()
{
    QFETCH(int, button);
    QFETCH(int, expected);
    Stage stage(true);
    QVERIFY(QTest::qWaitForWindowExposed(&stage.view));
    QSignalSpy clicked(stage.item, &OSDItem::signal_mouseClicked);
    const QPoint at = stage.itemCenter();
    sendMouse(stage.view, QEvent::MouseButtonPress, at, Qt::MouseButton(button));
    sendMouse(stage.view, QEvent::MouseButtonRelease, at, Qt::MouseButton(button));
    QCOMPARE(clicked.count(), expected);
    // The item cannot be dragged away by a press and move.
    sendMouse(stage.view, QEvent::MouseButtonPress, at, Qt::LeftButton);
    sendMouse(stage.view, QEvent::MouseMove, at + QPoint(30, 30));
    sendMouse(stage.view, QEvent::MouseButtonRelease, at + QPoint(30, 30), Qt::LeftButton);
    QCOMPARE(stage.item->pos(), QPointF(30, 40));
}

void TestOsdItem::paintsOnlyThePixmap()
{
    QGraphicsScene scene(0, 0, 20, 10);
    auto *item = new OSDItem;
    QImage pixmapImage = filledImage(6, 4, QColor(10, 200, 30));
    pixmapImage.setPixelColor(0, 0, QColor(1, 2, 3));
    item->setPixmap(QPixmap::fromImage(pixmapImage));
    item->setPos(5, 3);
    scene.addItem(item);
    QImage canvas(20, 10, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        scene.render(&painter, QRectF(0, 0, 20, 10), QRectF(0, 0, 20, 10));
    }
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 5 && x < 11 && y >= 3 && y < 7;
            const QRgb expected = inside ? pixmapImage.pixel(x - 5, y - 3) : qRgb(255, 255, 255);
            QCOMPARE(QColor(canvas.pixel(x, y)), QColor(expected));
        }
    }
}

void TestOsdItem::holdsItsRecords()
{
    const int before = SharedRecord::liveCount();
    auto *item = new OSDItem;
    auto *first = new VideoControlOSD;
    auto *source = new SourceData;
    item->setVideoControlOSD(first);
    item->setSourceData(source);
    QCOMPARE(item->videoControlOSD(), first);
    QCOMPARE(item->sourceData(), source);
    QCOMPARE(first->holderCount(), 1);

    // The data model holds the first record too: replacing it on the item keeps it alive.
    DataMode::getInstance()->setOSDInfos({first});
    auto *second = new VideoControlOSD;
    item->setVideoControlOSD(second);
    QCOMPARE(first->holderCount(), 1);
    QCOMPARE(SharedRecord::liveCount(), before + 3);
    DataMode::getInstance()->clearDataModel();
    QCOMPARE(SharedRecord::liveCount(), before + 2);

    // Setting the same record again keeps the count.
    item->setVideoControlOSD(second);
    QCOMPARE(second->holderCount(), 1);

    delete item;
    QCOMPARE(SharedRecord::liveCount(), before);
}

QTEST_MAIN(TestOsdItem)
#include "tst_osditem.moc"
