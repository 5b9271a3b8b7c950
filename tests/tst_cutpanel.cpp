// The cut panel as the operator meets it: the four window fields, the two modes, OK, Cancel and the
// close button, and the item that opens it.
#include "imagecut/cutdialog.h"
#include "imagecut/osdimagecutdll.h"
#include "imagecut/pictureedit.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/cutpanelpointer.h"
#include "support/cutpanelsupport.h"
#include "support/testsupport.h"
#include "widgets/styled/spinboxex.h"
#include "widgets/styled/toolbuttonex.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsView>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <QtTest>

using Pointer = TestSupport::CutPanelPointer;
using TestSupport::chooseFromNextMenu;
using TestSupport::field;
using TestSupport::fields;
using TestSupport::isPlain;
using TestSupport::isRed;
using TestSupport::numberedPicture;
using TestSupport::openContextMenu;
using TestSupport::openPanel;
using TestSupport::placeWindow;
using TestSupport::pressOk;
using TestSupport::typeInto;

class TestCutPanel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

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
    void panelOpensOverItsWindowAndEscapeCancels();
    void itemReopensWithTheLoadedPicture();
    void panelGoesWithItsItem();
};

void TestCutPanel::initTestCase()
{
    TestSupport::failOnQtWarnings();
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

void TestCutPanel::panelOpensOverItsWindowAndEscapeCancels()
{
    // The item's window, away from the screen's middle.
    QWidget window;
    window.setGeometry(20, 30, 300, 200);
    auto *view = new QGraphicsView(&window);
    view->setGeometry(window.rect());
    QGraphicsScene scene;
    view->setScene(&scene);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *item = new OSDItem;
    const QImage picture = numberedPicture(800, 500);
    item->setOsdImage(picture, true);
    item->setPixmap(QPixmap::fromImage(picture));
    scene.addItem(item);

    for (int opening = 0; opening < 2; ++opening) {
        item->slot_osdCutout();
        OSDImageCutDLL *panel = item->cutPanel();
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        // Whole on its screen, over the window it is for.
        const QRect available = panel->screen()->availableGeometry();
        QVERIFY2(available.contains(panel->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                            .arg(panel->x())
                                                                            .arg(panel->y())
                                                                            .arg(panel->width())
                                                                            .arg(panel->height())));
        QVERIFY(panel->frameGeometry().contains(window.frameGeometry().center()));
        QCOMPARE(panel->cutWindow(), QRect(0, 0, 100, 100));

        QSignalSpy changed(item, &OSDItem::signal_changeImgbyCut);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : panel, Qt::Key_Escape);
        QTRY_VERIFY(!panel->isVisible());
        QCOMPARE(changed.count(), 0);
        QVERIFY(!item->hasCut());
    }
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
