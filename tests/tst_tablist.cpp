// The tab list of the main window: numbering from the pool, the limit, closing, reset.
#include "core/document/osddocument.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "mainwindow/windowlogging.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/styled/tablewidgetex.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

namespace {
QStringList titles(Quillmere &w)
{
    QStringList result;
    TableWidgetEx *tabs = TestSupport::tabList(w);
    for (int i = 0; i < tabs->count(); ++i)
        result << tabs->tabText(i);
    return result;
}

void addTabs(Quillmere &w, int n)
{
    for (int i = 0; i < n; ++i)
        emit TestSupport::tabList(w)->notifyAddTable(0);
}
} // namespace

class TestTabList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void startsWithOsd1();
    void addsCountOnAndReuseLowestFreedNumber();
    void closeAsksWithTheExactQuestion();
    void answeringNoKeepsTheTab();
    void lastTabCannotBeClosed();
    void limitOfFiftyInteractiveTabs_data();
    void limitOfFiftyInteractiveTabs();
    void resetBuildsOsd1AgainAndClearsDataModel();
    void resetAfterClosingOsd1();
    void numbersGoOnPast255();
    void closedTabReleasesItsPageSceneAndItem();
    void deleteItemLeavesAnEmptyTab();
    void newPagesScrollTheirScene_data();
    void newPagesScrollTheirScene();
    void pagesAreGraphicsViewsWithTheirStyle();
    void tabBarClickWritesDebugLines();
};

void TestTabList::startsWithOsd1()
{
    Quillmere w;
    QCOMPARE(titles(w), QStringList{"OSD1"});
    QCOMPARE(w.document()->count(), 1);
    QCOMPARE(w.document()->at(0)->number, 1);
}

void TestTabList::addsCountOnAndReuseLowestFreedNumber()
{
    Quillmere w;
    addTabs(w, 3);
    QCOMPARE(titles(w), (QStringList{"OSD1", "OSD2", "OSD3", "OSD4"}));
    QCOMPARE(TestSupport::tabList(w)->currentIndex(), 3);

    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(2);
    QCOMPARE(titles(w), (QStringList{"OSD1", "OSD2", "OSD4"}));

    addTabs(w, 1);
    QCOMPARE(titles(w), (QStringList{"OSD1", "OSD2", "OSD4", "OSD3"}));
    addTabs(w, 1);
    QCOMPARE(titles(w).last(), QStringLiteral("OSD5"));
}

void TestTabList::closeAsksWithTheExactQuestion()
{
    Quillmere w;
    addTabs(w, 6);
    QCOMPARE(TestSupport::tabList(w)->tabText(6), QStringLiteral("OSD7"));
    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("是"), &seen);
    w.on_removeTable(6);
    QVERIFY(seen.contains(QStringLiteral("提示")));
    QVERIFY2(seen.contains(QString::fromUtf8("是否要删除OSD7 ?")), qPrintable(seen.join('|')));
    QCOMPARE(TestSupport::tabList(w)->count(), 6);
}

void TestTabList::answeringNoKeepsTheTab()
{
    Quillmere w;
    addTabs(w, 2);
    TestSupport::answerNextModal(QStringLiteral("否"));
    w.on_removeTable(1);
    QCOMPARE(titles(w), (QStringList{"OSD1", "OSD2", "OSD3"}));
    QCOMPARE(w.document()->count(), 3);
}

void TestTabList::lastTabCannotBeClosed()
{
    Quillmere w;
    // No box may appear: a pending answer would otherwise click it.
    w.on_removeTable(0);
    QCOMPARE(titles(w), QStringList{"OSD1"});
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestTabList::limitOfFiftyInteractiveTabs_data()
{
    QTest::addColumn<int>("existing");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("refused");
    QTest::newRow("with 49 tabs the add succeeds") << 49 << 50 << false;
    QTest::newRow("with 50 tabs the add is refused") << 50 << 50 << true;
}

void TestTabList::limitOfFiftyInteractiveTabs()
{
    QFETCH(int, existing);
    QFETCH(int, expected);
    QFETCH(bool, refused);
    Quillmere w;
    addTabs(w, existing - 1);
    QCOMPARE(TestSupport::tabList(w)->count(), existing);
    QStringList seen;
    if (refused)
        TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    addTabs(w, 1);
    QCOMPARE(TestSupport::tabList(w)->count(), expected);
    if (refused) {
        QVERIFY(seen.contains(QString::fromUtf8("限制OSD数量为50,不能再添加.")));
        QVERIFY(seen.contains(QStringLiteral("提示")));
    } else {
        QCOMPARE(titles(w).last(), QStringLiteral("OSD50"));
    }
}

void TestTabList::resetBuildsOsd1AgainAndClearsDataModel()
{
    Quillmere w;
    addTabs(w, 4);
    auto *record = new VideoControlOSD;
    DataMode::getInstance()->setOSDInfos({record});
    DataMode::getInstance()->setSourcedatList({nullptr});
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.slot_removeAllTable();
    QCOMPARE(titles(w), QStringList{"OSD1"});
    QVERIFY(DataMode::getInstance()->getOSDInfos().isEmpty());
    QVERIFY(DataMode::getInstance()->getSourcedatList().isEmpty());
    addTabs(w, 1);
    QCOMPARE(titles(w), (QStringList{"OSD1", "OSD2"}));

    TestSupport::answerNextModal(QStringLiteral("是"));
    w.slot_createButten();
    QCOMPARE(titles(w), QStringList{"OSD1"});
}

void TestTabList::resetAfterClosingOsd1()
{
    Quillmere w;
    addTabs(w, 2);
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(0);
    QCOMPARE(titles(w), (QStringList{"OSD2", "OSD3"}));
    addTabs(w, 1);
    QCOMPARE(titles(w).last(), QStringLiteral("OSD1"));
    TestSupport::answerNextModal(QStringLiteral("是"));
    w.slot_removeAllTable();
    QCOMPARE(titles(w), QStringList{"OSD1"});
}

void TestTabList::numbersGoOnPast255()
{
    // An import may bring 300 entries; each keeps a number of its own, none is "OSD0".
    Quillmere w;
    for (int i = 1; i < 257; ++i)
        QuillmereTestAccess::appendTab(w);
    QCOMPARE(titles(w).at(254), QStringLiteral("OSD255"));
    QCOMPARE(titles(w).at(255), QStringLiteral("OSD256"));
    QCOMPARE(titles(w).last(), QStringLiteral("OSD257"));
    QVERIFY(!titles(w).contains(QStringLiteral("OSD0")));
}

void TestTabList::closedTabReleasesItsPageSceneAndItem()
{
    Quillmere w;
    addTabs(w, 1);
    auto *view = qobject_cast<QGraphicsView *>(TestSupport::tabList(w)->widget(1));
    QVERIFY(view);
    QPointer<QGraphicsView> page(view);
    QPointer<QGraphicsScene> scene(view->scene());
    QPointer<OSDItem> itemGuard(QuillmereTestAccess::addPictureItem(w, TestSupport::numberedPicture(4, 4)));
    QCOMPARE(itemGuard->scene(), scene.data());

    TestSupport::answerNextModal(QStringLiteral("是"));
    w.on_removeTable(1);
    QTRY_VERIFY(page.isNull());
    QTRY_VERIFY(scene.isNull());
    QVERIFY(itemGuard.isNull());
}

void TestTabList::deleteItemLeavesAnEmptyTab()
{
    Quillmere w;
    auto *view = qobject_cast<QGraphicsView *>(TestSupport::tabList(w)->currentWidget());
    QPointer<OSDItem> guard(QuillmereTestAccess::addPictureItem(w, TestSupport::numberedPicture(4, 4)));
    QVERIFY(guard);
    // The item asks for its own removal from its context menu.
    guard->slot_removeAllImages();
    QCOMPARE(view->scene()->items().size(), 0);
    QCOMPARE(TestSupport::tabList(w)->count(), 1);
    QTRY_VERIFY(guard.isNull());
}

void TestTabList::newPagesScrollTheirScene_data()
{
    QTest::addColumn<bool>("first");
    QTest::addColumn<QRectF>("sceneRect");
    QTest::addColumn<bool>("antialiasing");
    QTest::newRow("the first tab scrolls 5000 x 3000") << true << QRectF(0, 0, 5000, 3000) << true;
    QTest::newRow("an added tab scrolls 3000 x 3000") << false << QRectF(0, 0, 3000, 3000) << false;
}

void TestTabList::newPagesScrollTheirScene()
{
    QFETCH(bool, first);
    QFETCH(QRectF, sceneRect);
    QFETCH(bool, antialiasing);
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (!first)
        addTabs(w, 1);
    auto *view = qobject_cast<QGraphicsView *>(TestSupport::tabList(w)->currentWidget());
    QCOMPARE(view->sceneRect(), sceneRect);
    QCOMPARE(view->renderHints().testFlag(QPainter::Antialiasing), antialiasing);
    view->horizontalScrollBar()->setValue(200);
    view->verticalScrollBar()->setValue(300);
    w.slot_splitesetZero();
    QCOMPARE(view->horizontalScrollBar()->value(), 0);
    QCOMPARE(view->verticalScrollBar()->value(), 0);
}

void TestTabList::pagesAreGraphicsViewsWithTheirStyle()
{
    Quillmere w;
    addTabs(w, 2);
    TableWidgetEx *tabs = TestSupport::tabList(w);
    for (int i = 0; i < tabs->count(); ++i) {
        auto *view = qobject_cast<QGraphicsView *>(tabs->widget(i));
        QVERIFY(view);
        QCOMPARE(view->objectName(), QStringLiteral("pView"));
        QCOMPARE(view->styleSheet(), QStringLiteral("#pView{background:rgb(38,38,38);border:0px;}"));
        QCOMPARE(view->transformationAnchor(), QGraphicsView::AnchorUnderMouse);
        QVERIFY(view->scene());
        QCOMPARE(view->scene()->parent(), &w);
    }
}

void TestTabList::tabBarClickWritesDebugLines()
{
    // Off unless asked for: an operator's terminal stays quiet.
    QVERIFY(!lcWindow().isDebugEnabled());
    QLoggingCategory::setFilterRules(QStringLiteral("brisklane.window.debug=true"));
    Quillmere w;
    addTabs(w, 1);
    QTest::ignoreMessage(QtDebugMsg, "当前的序号是:currentIndex 1");
    QTest::ignoreMessage(QtDebugMsg, "  当前的序号id是: 0");
    QTest::ignoreMessage(QtDebugMsg, "  当前的序号 标题 是: \"OSD2\"");
    emit TestSupport::tabList(w)->tabBarClicked(0);
    QLoggingCategory::setFilterRules(QString());
}

QTEST_MAIN(TestTabList)
#include "tst_tablist.moc"
