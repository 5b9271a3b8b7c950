// The styled-widget library: message box results, the tab widget's controls and small widgets.
#include "support/testsupport.h"
#include "widgets/styled/closabletabbar.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/labelex.h"
#include "widgets/styled/spinboxex.h"
#include "widgets/styled/tablewidgetex.h"
#include "widgets/styled/toolbuttonex.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// Twenty tabs in a window far too narrow for them.
struct ManyTabs
{
    QWidget window;
    TableWidgetEx *tabs = new TableWidgetEx(&window, TableWidgetEx::OsdTabs, QStringLiteral("OSD"));

    ManyTabs()
    {
        window.resize(420, 200);
        tabs->setGeometry(window.rect());
        for (int i = 1; i <= 20; ++i)
            tabs->addTab(new QWidget, QStringLiteral("OSD%1").arg(i));
        tabs->setCurrentIndex(0);
        window.show();
    }

    QToolButton *scrollButton(const char *name) const
    {
        return tabs->tabBar()->findChild<QToolButton *>(QLatin1String(name));
    }

    // The part of the bar not under its scroll buttons.
    QRect tabArea() const
    {
        QTabBar *bar = tabs->tabBar();
        int left = 0;
        int right = bar->width();
        for (const char *name : {"ScrollLeftButton", "ScrollRightButton"}) {
            const QToolButton *button = scrollButton(name);
            if (!button || !button->isVisible())
                continue;
            if (button->geometry().center().x() < bar->width() / 2)
                left = qMax(left, button->geometry().right() + 1);
            else
                right = qMin(right, button->geometry().left());
        }
        return QRect(left, 0, right - left, bar->height());
    }

    bool shows(int index) const { return tabArea().contains(tabs->tabBar()->tabRect(index)); }

    int firstShown() const
    {
        for (int i = 0; i < tabs->count(); ++i) {
            if (shows(i))
                return i;
        }
        return -1;
    }
};

qreal luminance(QRgb rgb)
{
    auto channel = [](int value) {
        const qreal c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

qreal contrast(QRgb a, QRgb b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

} // namespace

class TestStyledWidgets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void questionBoxResult_data();
    void questionBoxResult();
    void choiceBoxResult_data();
    void choiceBoxResult();
    void informationAndWarningBoxesShowTheirTexts_data();
    void informationAndWarningBoxesShowTheirTexts();
    void tabControlsReportTheOperatorsWish();
    void closeControlPressIsAClickOnlyWhenReleasedOnIt_data();
    void closeControlPressIsAClickOnlyWhenReleasedOnIt();
    void closeControlsLookLikeQtCloseButtons_data();
    void closeControlsLookLikeQtCloseButtons();
    void removedTabsReleaseTheirPages();
    void tabsRemovedThroughTheBaseClassReleaseTheirPages();
    void movedAddButtonFollowsTheLastTab();
    void bulkInsertShowsTheBarWithTheAddControlAfterTheLastTab();
    void currentTabIsScrolledIntoView_data();
    void currentTabIsScrolledIntoView();
    void wheelScrollsTheTabs();
    void tabListOffersEveryTabAndMakesTheChosenCurrent();
    void scrollArrowsAreLargeAndLegible_data();
    void scrollArrowsAreLargeAndLegible();
    void labelClickNeedsPressAndReleaseInside();
    void spinBoxErrorBorderAndFontColour();
    void toolButtonTypesKeepTheirText();
};

void TestStyledWidgets::questionBoxResult_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("yes");
    QTest::newRow("the yes button gives non-zero") << "是" << true;
    QTest::newRow("the no button gives zero") << "否" << false;
    QTest::newRow("Enter gives zero: no is the default") << "Enter key" << false;
    QTest::newRow("Escape gives zero") << "Escape key" << false;
}

void TestStyledWidgets::questionBoxResult()
{
    QFETCH(QString, answer);
    QFETCH(bool, yes);
    QWidget parent;
    QStringList seen;
    TestSupport::replyToNextModal(answer, &seen);
    const int result =
        CustomMegBox::questionMessageBox(&parent, QStringLiteral("提示"), QStringLiteral("是否要删除OSD3 ?"),
                                         QStringLiteral("是"), QStringLiteral("否"));
    QCOMPARE(result != 0, yes);
    QVERIFY(seen.contains(QStringLiteral("提示")));
    QVERIFY(seen.contains(QStringLiteral("是否要删除OSD3 ?")));
}

void TestStyledWidgets::choiceBoxResult_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("choice");
    QTest::newRow("the first button gives Yes") << "导出" << int(CustomMegBox::Yes);
    QTest::newRow("the second button gives No") << "不导出" << int(CustomMegBox::No);
    QTest::newRow("the third button cancels") << "取消" << int(CustomMegBox::Cancelled);
    QTest::newRow("Enter cancels") << "Enter key" << int(CustomMegBox::Cancelled);
    QTest::newRow("Escape cancels") << "Escape key" << int(CustomMegBox::Cancelled);
    QTest::newRow("closing the box cancels") << "close box" << int(CustomMegBox::Cancelled);
}

void TestStyledWidgets::choiceBoxResult()
{
    QFETCH(QString, reply);
    QFETCH(int, choice);
    QWidget parent;
    QStringList seen;
    TestSupport::replyToNextModal(reply, &seen);
    QCOMPARE(int(CustomMegBox::choiceMessageBox(&parent, QStringLiteral("提示"), QStringLiteral("先导出?"),
                                                QStringLiteral("导出"), QStringLiteral("不导出"),
                                                QStringLiteral("取消"))),
             choice);
    QVERIFY(seen.contains(QStringLiteral("先导出?")));
}

void TestStyledWidgets::informationAndWarningBoxesShowTheirTexts_data()
{
    QTest::addColumn<bool>("warning");
    QTest::newRow("information box") << false;
    QTest::newRow("warning box") << true;
}

void TestStyledWidgets::informationAndWarningBoxesShowTheirTexts()
{
    QFETCH(bool, warning);
    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    if (warning)
        CustomMegBox::waringMessageBox(nullptr, QStringLiteral("错误提示"), QStringLiteral("坏文件"),
                                       QStringLiteral("OK"));
    else
        CustomMegBox::informationMessageBox(nullptr, QStringLiteral("提示"), QStringLiteral("好"),
                                            QStringLiteral("OK"));
    QCOMPARE(seen.first(), warning ? QStringLiteral("错误提示") : QStringLiteral("提示"));
    QVERIFY(seen.contains(warning ? QStringLiteral("坏文件") : QStringLiteral("好")));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestStyledWidgets::tabControlsReportTheOperatorsWish()
{
    TableWidgetEx tabs(nullptr, TableWidgetEx::OsdTabs, QStringLiteral("OSD"));
    tabs.resize(600, 300);
    tabs.setIndex(1);
    tabs.addTab(new QWidget, QStringLiteral("OSD1"));
    tabs.setIndex(2);
    tabs.addTab(new QWidget, QStringLiteral("OSD2"));
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    QCOMPARE(tabs.tabToolTip(1), QStringLiteral("OSD2"));

    QSignalSpy add(&tabs, &TableWidgetEx::notifyAddTable);
    QSignalSpy remove(&tabs, &TableWidgetEx::signals_removeTable);
    QSignalSpy removeAll(&tabs, &TableWidgetEx::signal_removeAllTable);

    tabs.addButton()->click();
    QCOMPARE(add.count(), 1);
    tabs.removeAllButton()->click();
    QCOMPARE(removeAll.count(), 1);

    auto *bar = qobject_cast<ClosableTabBar *>(tabs.tabBar());
    QVERIFY(bar && !bar->closeControlRect(1).isEmpty());
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->closeControlRect(1).center());
    QCOMPARE(remove.count(), 1);
    QCOMPARE(remove.first().first().toInt(), 1);
    // Reporting is all it does: the owner decides.
    QCOMPARE(tabs.count(), 2);
}

// As a button: a left press on the control and the release on it request the close; a release
// elsewhere does not; the press does not select the tab; other buttons go to the tab bar.
void TestStyledWidgets::closeControlPressIsAClickOnlyWhenReleasedOnIt_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("releasedOnIt");
    QTest::addColumn<int>("requests");
    QTest::addColumn<int>("barClicks");
    QTest::newRow("left, released on it") << int(Qt::LeftButton) << true << 1 << 0;
    QTest::newRow("left, released on the tab") << int(Qt::LeftButton) << false << 0 << 0;
    QTest::newRow("right") << int(Qt::RightButton) << true << 0 << 1;
}

void TestStyledWidgets::closeControlPressIsAClickOnlyWhenReleasedOnIt()
{
    QFETCH(int, button);
    QFETCH(bool, releasedOnIt);
    QFETCH(int, requests);
    QFETCH(int, barClicks);
    TableWidgetEx tabs(nullptr, TableWidgetEx::OsdTabs, QStringLiteral("OSD"));
    tabs.resize(600, 300);
    for (int i = 1; i <= 3; ++i)
        tabs.addTab(new QWidget, QStringLiteral("OSD%1").arg(i));
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    auto *bar = qobject_cast<ClosableTabBar *>(tabs.tabBar());
    QVERIFY(bar);
    QSignalSpy remove(&tabs, &TableWidgetEx::signals_removeTable);
    QSignalSpy barClicked(bar, &QTabBar::tabBarClicked);
    const QRect control = bar->closeControlRect(1);
    QTest::mousePress(bar, Qt::MouseButton(button), Qt::NoModifier, control.center());
    QTest::mouseMove(bar, releasedOnIt ? control.center() : bar->tabRect(1).topLeft() + QPoint(4, 4));
    QTest::mouseRelease(bar, Qt::MouseButton(button), Qt::NoModifier,
                        releasedOnIt ? control.center() : bar->tabRect(1).topLeft() + QPoint(4, 4));
    QCOMPARE(remove.count(), requests);
    if (requests)
        QCOMPARE(remove.first().first().toInt(), 1);
    QCOMPARE(barClicked.count(), barClicks);
    QCOMPARE(tabs.currentIndex(), 0);
}

// Pixel for pixel and place for place what Qt's own close buttons give under the same style
// sheet, the pointer away, on the current tab's control or on another's, with tabs scrolled.
void TestStyledWidgets::closeControlsLookLikeQtCloseButtons_data()
{
    QTest::addColumn<int>("tabCount");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("pointerOn"); // whose control; -1: none
    QTest::newRow("pointer away") << 4 << 1 << -1;
    QTest::newRow("pointer on the current tab's control") << 4 << 1 << 1;
    QTest::newRow("pointer on another tab's control") << 4 << 1 << 2;
    QTest::newRow("scrolled to the last of 30 tabs") << 30 << 29 << 28;
}

void TestStyledWidgets::closeControlsLookLikeQtCloseButtons()
{
    QFETCH(int, tabCount);
    QFETCH(int, current);
    QFETCH(int, pointerOn);
    // Both in one window, so that both are equally active.
    QWidget window;
    window.resize(600, 200);
    TableWidgetEx drawn(&window, TableWidgetEx::OsdTabs, QStringLiteral("OSD"));
    TableWidgetEx buttons(&window, TableWidgetEx::OsdTabs, QStringLiteral("OSD"));
    static_cast<ClosableTabBar *>(buttons.tabBar())->setCloseControls(false);
    buttons.setTabsClosable(true);
    buttons.move(0, 100);
    for (TableWidgetEx *tabs : {&drawn, &buttons}) {
        tabs->resize(600, 100);
        for (int i = 1; i <= tabCount; ++i)
            tabs->addTab(new QWidget, QStringLiteral("OSD%1").arg(i * 7));
        tabs->setCurrentIndex(current);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *bar = static_cast<ClosableTabBar *>(drawn.tabBar());
    QTabBar *reference = buttons.tabBar();
    for (int i = 0; i < tabCount; ++i) {
        QCOMPARE(bar->tabRect(i), reference->tabRect(i));
        QWidget *button = reference->tabButton(i, QTabBar::RightSide);
        QVERIFY(button);
        QCOMPARE(bar->closeControlRect(i), button->geometry());
    }
    if (pointerOn >= 0) {
        const QPoint at = bar->closeControlRect(pointerOn).center();
        for (QTabBar *b : {static_cast<QTabBar *>(bar), reference}) {
            QHoverEvent hover(QEvent::HoverMove, at, QPoint(-1, -1));
            QApplication::sendEvent(b, &hover);
        }
        reference->tabButton(pointerOn, QTabBar::RightSide)->setAttribute(Qt::WA_UnderMouse);
    }
    const QImage drawnPixels = bar->grab().toImage();
    QCOMPARE(drawnPixels, reference->grab().toImage());
    // The hover image differs from the plain one, so the comparison saw which one was drawn.
    if (pointerOn >= 0) {
        bar->setAttribute(Qt::WA_UnderMouse, false);
        QHoverEvent leave(QEvent::HoverLeave, QPoint(-1, -1), QPoint(-1, -1));
        QApplication::sendEvent(bar, &leave);
        QVERIFY(bar->grab().toImage().copy(bar->closeControlRect(pointerOn)) !=
                drawnPixels.copy(bar->closeControlRect(pointerOn)));
    }
}

void TestStyledWidgets::removedTabsReleaseTheirPages()
{
    TableWidgetEx tabs(nullptr, TableWidgetEx::OsdTabs, QStringLiteral("OSD"));
    QPointer<QWidget> a = new QWidget;
    QPointer<QWidget> b = new QWidget;
    QPointer<QWidget> c = new QWidget;
    tabs.addTab(a, QStringLiteral("OSD1"));
    tabs.addTab(b, QStringLiteral("OSD2"));
    tabs.addTab(c, QStringLiteral("OSD3"));
    tabs.removeTab(1);
    QCOMPARE(tabs.count(), 2);
    QCOMPARE(tabs.tabText(1), QStringLiteral("OSD3"));
    QTRY_VERIFY(b.isNull());
    tabs.clear();
    QCOMPARE(tabs.count(), 0);
    QTRY_VERIFY(a.isNull() && c.isNull());
}

void TestStyledWidgets::tabsRemovedThroughTheBaseClassReleaseTheirPages()
{
    TableWidgetEx tabs(nullptr, TableWidgetEx::OsdTabs, QStringLiteral("OSD"));
    QTabWidget *base = &tabs;
    QPointer<QWidget> a = new QWidget;
    QPointer<QWidget> b = new QWidget;
    QPointer<QWidget> kept = new QWidget;
    base->addTab(a, QStringLiteral("OSD1"));
    base->addTab(b, QStringLiteral("OSD2"));
    base->addTab(kept, QStringLiteral("OSD3"));
    base->removeTab(0);
    QTRY_VERIFY(a.isNull());
    // A page its owner takes back first is not released.
    QWidget owner;
    kept->setParent(&owner);
    QCOMPARE(base->count(), 1);
    base->clear();
    QTRY_VERIFY(b.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!kept.isNull());
}

void TestStyledWidgets::movedAddButtonFollowsTheLastTab()
{
    TableWidgetEx tabs(nullptr, TableWidgetEx::OsdTabs, QStringLiteral("OSD"));
    tabs.resize(700, 300);
    tabs.addTab(new QWidget, QStringLiteral("OSD1"));
    tabs.setBMovedCornerButton(true);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    tabs.addTab(new QWidget, QStringLiteral("OSD2"));
    QApplication::processEvents();
    const QRect last = tabs.tabBar()->tabRect(1);
    const int lastRight = tabs.tabBar()->mapTo(&tabs, last.topRight()).x();
    QTRY_COMPARE(tabs.addButton()->mapTo(&tabs, QPoint(0, 0)).x(), lastRight + 1);

    // With too many tabs for the bar, the add control goes back to the corner.
    for (int i = 3; i <= 40; ++i)
        tabs.addTab(new QWidget, QStringLiteral("OSD%1").arg(i));
    QApplication::processEvents();
    QTRY_VERIFY(tabs.addButton()->parentWidget() != &tabs);
    QVERIFY(tabs.addButton()->isVisible());
}

void TestStyledWidgets::bulkInsertShowsTheBarWithTheAddControlAfterTheLastTab()
{
    TableWidgetEx tabs(nullptr, TableWidgetEx::OsdTabs, QStringLiteral("OSD"));
    tabs.resize(700, 300);
    tabs.setBMovedCornerButton(true);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    tabs.beginBulkInsert();
    tabs.beginBulkInsert();
    for (int i = 1; i <= 4; ++i)
        tabs.addTab(new QWidget, QStringLiteral("OSD%1").arg(i));
    tabs.endBulkInsert();
    QVERIFY(tabs.tabBar()->isHidden());
    tabs.endBulkInsert();
    QVERIFY(tabs.tabBar()->isVisible());
    const int lastRight = tabs.tabBar()->mapTo(&tabs, tabs.tabBar()->tabRect(3).topRight()).x();
    QTRY_COMPARE(tabs.addButton()->mapTo(&tabs, QPoint(0, 0)).x(), lastRight + 1);
}

void TestStyledWidgets::currentTabIsScrolledIntoView_data()
{
    QTest::addColumn<QList<int>>("path"); // the tabs made current in turn
    QTest::addColumn<int>("arrowClicks"); // then the row is scrolled on by the right arrow
    QTest::addColumn<int>("narrowTo");    // then the window narrows to this width; 0 keeps it

    QTest::newRow("the last") << QList<int>{19} << 0 << 0;
    QTest::newRow("back to the first after the last") << QList<int>{19, 0} << 0 << 0;
    QTest::newRow("one in the middle") << QList<int>{10} << 0 << 0;
    QTest::newRow("the last, then the window narrows") << QList<int>{19} << 0 << 300;
    QTest::newRow("the first scrolled away, then the window narrows") << QList<int>{0} << 6 << 300;
    QTest::newRow("one in the middle scrolled away, then the window narrows") << QList<int>{5} << 8 << 260;
}

void TestStyledWidgets::currentTabIsScrolledIntoView()
{
    QFETCH(QList<int>, path);
    QFETCH(int, arrowClicks);
    QFETCH(int, narrowTo);

    ManyTabs many;
    QVERIFY(QTest::qWaitForWindowExposed(&many.window));
    QToolButton *right = many.scrollButton("ScrollRightButton");
    QVERIFY(right->isVisible());
    for (const int index : path) {
        many.tabs->setCurrentIndex(index);
        QTRY_VERIFY2(many.shows(index), qPrintable(QStringLiteral("OSD%1 out of sight").arg(index + 1)));
    }
    for (int i = 0; i < arrowClicks; ++i)
        QTest::mouseClick(right, Qt::LeftButton);
    if (arrowClicks > 0)
        QVERIFY(!many.shows(path.constLast()));
    if (narrowTo > 0) {
        many.window.resize(narrowTo, many.window.height());
        many.tabs->setGeometry(many.window.rect());
        QTRY_VERIFY(many.shows(path.constLast()));
    }
}

void TestStyledWidgets::wheelScrollsTheTabs()
{
    ManyTabs many;
    QVERIFY(QTest::qWaitForWindowExposed(&many.window));
    QTabBar *bar = many.tabs->tabBar();
    QCOMPARE(many.firstShown(), 0);

    auto turn = [&](int notches) {
        const QPoint at = bar->tabRect(many.firstShown()).center();
        QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
    };
    // Turned toward the operator, the row moves on to later tabs; the current tab stays.
    turn(-3);
    QTRY_COMPARE(many.firstShown(), 3);
    QCOMPARE(many.tabs->currentIndex(), 0);
    turn(1);
    QTRY_COMPARE(many.firstShown(), 2);
    turn(5);
    QTRY_COMPARE(many.firstShown(), 0);
    QCOMPARE(many.tabs->currentIndex(), 0);
}

void TestStyledWidgets::tabListOffersEveryTabAndMakesTheChosenCurrent()
{
    ManyTabs many;
    QVERIFY(QTest::qWaitForWindowExposed(&many.window));
    auto *list = many.tabs->findChild<QToolButton *>(QStringLiteral("tabListButton"));
    QVERIFY(list && list->isVisible());
    QVERIFY(!list->toolTip().isEmpty());

    QStringList entries;
    TestSupport::chooseFromNextMenu(QStringLiteral("OSD17"), &entries);
    QTest::mouseClick(list, Qt::LeftButton);
    QStringList titles;
    for (int i = 1; i <= 20; ++i)
        titles << QStringLiteral("OSD%1").arg(i);
    QTRY_COMPARE(entries, titles);
    QTRY_COMPARE(many.tabs->currentIndex(), 16);
    QTRY_VERIFY(many.shows(16));
}

void TestStyledWidgets::scrollArrowsAreLargeAndLegible_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("enabled");

    // At the start of the row the left arrow has nowhere to go.
    QTest::newRow("left, disabled") << QStringLiteral("ScrollLeftButton") << false;
    QTest::newRow("right") << QStringLiteral("ScrollRightButton") << true;
}

void TestStyledWidgets::scrollArrowsAreLargeAndLegible()
{
    QFETCH(QString, button);
    QFETCH(bool, enabled);

    ManyTabs many;
    QVERIFY(QTest::qWaitForWindowExposed(&many.window));
    QToolButton *arrow = many.scrollButton(qPrintable(button));
    QVERIFY(arrow && arrow->isVisible());
    QCOMPARE(arrow->isEnabled(), enabled);
    QVERIFY(arrow->width() >= 16 && arrow->height() >= 16);

    // The glyph: every pixel unlike the button's background.
    const QImage image = arrow->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = image.pixel(0, 0);
    QRect glyph;
    qreal best = 1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel == background)
                continue;
            glyph |= QRect(x, y, 1, 1);
            best = qMax(best, contrast(pixel, background));
        }
    }
    const qreal ratio = image.devicePixelRatio();
    QVERIFY2(glyph.height() / ratio >= 12 && glyph.width() / ratio >= 6,
             qPrintable(QStringLiteral("glyph %1x%2").arg(glyph.width()).arg(glyph.height())));
    QVERIFY2(best >= 4.5, qPrintable(QStringLiteral("contrast %1:1").arg(best)));
}

void TestStyledWidgets::labelClickNeedsPressAndReleaseInside()
{
    LabelEx label;
    label.resize(40, 22);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QSignalSpy clicked(&label, &LabelEx::signal_mouseclicked);
    QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(clicked.count(), 1);
    QTest::mouseClick(&label, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(clicked.count(), 1);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(200, 5));
    QCOMPARE(clicked.count(), 1);
}

void TestStyledWidgets::spinBoxErrorBorderAndFontColour()
{
    SpinBoxEx box;
    QVERIFY(!box.hasBorderError());
    box.setFontColor(QColor(255, 0, 0));
    box.setBorderErrorMsg(true);
    QVERIFY(box.hasBorderError());
    QCOMPARE(box.fontColor(), QColor(255, 0, 0));
    QVERIFY(box.styleSheet().contains(QStringLiteral("color:#ff0000")));
    QVERIFY(box.styleSheet().contains(QStringLiteral("border:1px solid rgb(255,0,0)")));
    box.setBorderErrorMsg(false);
    box.setFontColor(QColor(210, 210, 210));
    QVERIFY(!box.styleSheet().contains(QStringLiteral("rgb(255,0,0)")));
}

void TestStyledWidgets::toolButtonTypesKeepTheirText()
{
    QWidget parent;
    ToolButtonEx ok(&parent, ToolButtonEx::Confirm, QString(), QString());
    ToolButtonEx cancel(&parent, ToolButtonEx::Cancel, QString(), QString());
    ok.setText(QStringLiteral("确定"));
    cancel.setText(QStringLiteral("取消"));
    QSignalSpy clicked(&ok, &QAbstractButton::clicked);
    ok.click();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(int(ok.type()), 5);
    QCOMPARE(int(cancel.type()), 6);
    QVERIFY(ok.styleSheet() != cancel.styleSheet());
}

QTEST_MAIN(TestStyledWidgets)
#include "tst_styledwidgets.moc"
