// Placing items on the output screen in the real window: the position fields, nudges, alignment
// and drags in the overview all end in the location export stores and import restores; picking
// stays on the picture pixel under the cursor at any zoom; the screen size is remembered.
#include "core/settings/config.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/exchangefixture.h"
#include "support/importing.h"
#include "support/keyingsupport.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/customtoolbutton.h"
#include "widgets/previewview.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/spinboxex.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

using TestSupport::onlyItem;

namespace {

// Presses and drags with the left button on a view's viewport, from one scene point to another.
void dragInView(QGraphicsView *view, const QPointF &from, const QPointF &to, Qt::KeyboardModifiers modifiers)
{
    QWidget *viewport = view->viewport();
    const QPoint start = view->mapFromScene(from);
    const QPoint end = view->mapFromScene(to);
    QTest::mousePress(viewport, Qt::LeftButton, modifiers, start);
    // QTest's move carries no pressed button on Qt 5.
    for (const QPoint &at : {start + (end - start) / 2, end}) {
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         modifiers);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, end);
}

void pressKeys(QWidget *widget, const QString &keys)
{
    // "r" right, "l" left, "u" up, "d" down; upper case with Shift.
    for (const QChar c : keys) {
        const Qt::KeyboardModifiers modifiers = c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        const int key = QString("rlud").indexOf(c.toLower());
        const Qt::Key keyCodes[] = {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down};
        QTest::keyClick(widget, keyCodes[key], modifiers);
    }
}

} // namespace

class TestLayout : public ExchangeFixture
{
    Q_OBJECT

private slots:
    void placingRoundTrips_data();
    void placingRoundTrips();
    void pickingIsExactAtAnyZoom_data();
    void pickingIsExactAtAnyZoom();
    void outputScreenIsRemembered();
    void placementIsRemembered_data();
    void placementIsRemembered();
    void shownPagesShowTheirItem_data();
    void shownPagesShowTheirItem();
    void previewTakesTheKeysUnderThePointer_data();
    void previewTakesTheKeysUnderThePointer();
};

void TestLayout::placingRoundTrips_data()
{
    // The first tab holds a 200 x 100 picture at (0, 0); the second, current one another picture.
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QPoint>("location");
    QTest::addColumn<bool>("offScreen");
    QTest::newRow("fields") << "fields 123 -45" << QPoint(123, -45) << true;
    QTest::newRow("nudges") << "keys rrDlU" << QPoint(1, 0) << false;
    QTest::newRow("align right, bottom") << "align 2 5" << QPoint(1720, 980) << false;
    QTest::newRow("align centre, middle") << "align 1 4" << QPoint(860, 490) << false;
    QTest::newRow("align left after a move") << "fields 50 60 align 0" << QPoint(0, 60) << false;
    QTest::newRow("overview drag snaps") << "drag 1715 3" << QPoint(1720, 0) << false;
    QTest::newRow("overview drag, Alt") << "altdrag 1715 3" << QPoint(1715, 3) << false;
    QTest::newRow("overview drag off the screen") << "altdrag 1800 -50" << QPoint(1800, -50) << true;
}

void TestLayout::placingRoundTrips()
{
    QFETCH(QString, gesture);
    QFETCH(QPoint, location);
    QFETCH(bool, offScreen);
    Quillmere w;
    TestSupport::showWindow(w);
    OSDItem *placed = addPicture(w, TestSupport::randomPicture(200, 100, 7));
    QVERIFY(placed);
    w.on_notifyAddTable(0);
    OSDItem *other = addPicture(w, TestSupport::randomPicture(40, 30, 8));
    QVERIFY(other);
    other->setPos(500, 500);
    TableWidgetEx *tabs = TestSupport::tabList(w);

    const QStringList words = gesture.split(QLatin1Char(' '));
    for (int i = 0; i < words.size(); ++i) {
        const QString &word = words[i];
        if (word == QLatin1String("fields")) {
            tabs->setCurrentIndex(0);
            TestSupport::propertyPanel(w)->xSpin()->setValue(words[++i].toInt());
            TestSupport::propertyPanel(w)->ySpin()->setValue(words[++i].toInt());
        } else if (word == QLatin1String("keys")) {
            tabs->setCurrentIndex(0);
            pressKeys(QuillmereTestAccess::currentView(w), words[++i]);
        } else if (word == QLatin1String("align")) {
            tabs->setCurrentIndex(0);
            while (i + 1 < words.size() && words[i + 1].size() == 1)
                TestSupport::propertyPanel(w)->alignButton(words[++i].toInt())->click();
        } else if (word.endsWith(QLatin1String("drag"))) {
            QTest::mouseClick(TestSupport::toolBarButton(w, QStringLiteral("overviewButton")),
                              Qt::LeftButton);
            QVERIFY(w.isOverviewVisible());
            PreviewView *overview = TestSupport::windowPart<PreviewView>(w, QStringLiteral("overviewView"));
            overview->actualSize();
            const QPointF by(words[i + 1].toInt(), words[i + 2].toInt());
            i += 2;
            const Qt::KeyboardModifiers modifiers =
                word.startsWith(QLatin1String("alt")) ? Qt::AltModifier : Qt::NoModifier;
            dragInView(overview, QPointF(100, 50), QPointF(100, 50) + by, modifiers);
            // Picking the item in the overview made its tab current.
            QCOMPARE(tabs->currentIndex(), 0);
            QTest::mouseClick(TestSupport::toolBarButton(w, QStringLiteral("overviewButton")),
                              Qt::LeftButton);
            QVERIFY(!w.isOverviewVisible());
        }
    }
    QCOMPARE(placed->pos(), QPointF(location));
    QCOMPARE(other->pos(), QPointF(500, 500));
    tabs->setCurrentIndex(0);
    QCOMPARE(QPoint(TestSupport::propertyPanel(w)->xSpin()->value(),
                    TestSupport::propertyPanel(w)->ySpin()->value()),
             location);
    QVERIFY(w.hasUnexportedChanges());

    const QString path = m_dir.filePath(QStringLiteral("placed%1.pic").arg(++m_fileCounter));
    TestSupport::FileDialogSeen seen;
    TestSupport::answerNextFileDialog({path}, &seen);
    w.slot_outputButten();
    QVERIFY(seen.seen);
    // Off the screen is told, not refused: the file is written all the same.
    QCOMPARE(!seen.offScreenNotice.isEmpty(), offScreen);
    if (offScreen)
        QVERIFY(seen.offScreenNotice.join(QLatin1Char(' ')).contains(QStringLiteral("OSD1")));
    QVERIFY(!w.hasUnexportedChanges());

    Quillmere back;
    TestSupport::importFile(back, path);
    QVERIFY(onlyItem(back, 0));
    QCOMPARE(onlyItem(back, 0)->pos(), QPointF(location));
    QCOMPARE(onlyItem(back, 1)->pos(), QPointF(500, 500));
    QCOMPARE(QPoint(TestSupport::propertyPanel(back)->xSpin()->value(),
                    TestSupport::propertyPanel(back)->ySpin()->value()),
             QPoint(500, 500));
}

void TestLayout::pickingIsExactAtAnyZoom_data()
{
    QTest::addColumn<qreal>("zoom");
    QTest::newRow("25 %") << 0.25;
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("400 %") << 4.0;
}

void TestLayout::pickingIsExactAtAnyZoom()
{
    QFETCH(qreal, zoom);
    Quillmere w;
    TestSupport::showWindow(w);
    const QImage picture = TestSupport::randomPicture(96, 64, 11);
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, picture);
    QVERIFY(item);
    item->setPos(30, 20);
    auto *view = qobject_cast<PreviewView *>(QuillmereTestAccess::currentView(w));
    QVERIFY(view);
    view->setZoom(zoom, QPoint(0, 0));
    QCOMPARE(view->zoom(), zoom);
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);

    // Aim inside picture pixel (37, 21); the cursor lands on a whole view pixel.
    const QPoint aim(37, 21);
    const QPoint at = view->mapFromScene(item->mapToScene(QPointF(aim) + QPointF(0.25, 0.25)));
    const QPointF underCursor = item->mapFromScene(view->mapToScene(at));
    const QPoint pixel(qFloor(underCursor.x()), qFloor(underCursor.y()));
    // At 100 % and above every picture pixel can be aimed at exactly.
    if (zoom >= 1)
        QCOMPARE(pixel, aim);
    QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QApplication::sendEvent(view->viewport(), &move);

    const QColor expected = picture.pixelColor(pixel);
    QCOMPARE(TestSupport::propertyPanel(w)->pickedColorLabel()->text(),
             QStringLiteral("(%1,%2,%3)").arg(expected.red()).arg(expected.green()).arg(expected.blue()));
}

void TestLayout::placementIsRemembered_data()
{
    QTest::addColumn<bool>("maximised");
    QTest::newRow("a moved and resized window comes back there") << false;
    QTest::newRow("a maximised window comes back maximised") << true;
}

void TestLayout::placementIsRemembered()
{
    QFETCH(bool, maximised);
    QTemporaryDir folder;
    QRect placed;
    {
        Quillmere w;
        w.setSettingsFolder(folder.path());
        w.rememberPlacement();
        w.setGeometry(70, 60, 900, 640);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (maximised)
            w.showMaximized();
        QTRY_COMPARE(w.isMaximized(), maximised);
        placed = w.geometry();
        w.reject();
        QVERIFY(!w.isVisible());
    }
    {
        Quillmere w;
        w.setSettingsFolder(folder.path());
        w.rememberPlacement();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(w.isMaximized(), maximised);
        if (!maximised)
            QCOMPARE(w.geometry(), placed);
    }
    {
        // A window made for another purpose neither takes nor leaves a place.
        Quillmere w;
        w.setSettingsFolder(folder.path());
        QCOMPARE(w.size(), QSize(850, 620));
    }
}

void TestLayout::shownPagesShowTheirItem_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("a tab that becomes current again") << "tab";
    QTest::newRow("a tab whose closing is undone") << "undo close";
}

void TestLayout::shownPagesShowTheirItem()
{
    QFETCH(QString, how);
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // An item near the bottom-right corner of the screen, far outside the page's top-left part.
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, TestSupport::numberedPicture(120, 80));
    QVERIFY(item);
    item->setPos(1700, 950);
    QGraphicsView *page = QuillmereTestAccess::currentView(w);
    const auto inSight = [](QGraphicsView *view) {
        const QRectF visible = view->mapToScene(view->viewport()->rect()).boundingRect();
        const QList<QGraphicsItem *> items = view->scene()->items();
        return !items.isEmpty() && visible.intersects(items.first()->sceneBoundingRect());
    };
    QVERIFY(!inSight(page));
    const qreal zoom = qobject_cast<PreviewView *>(page)->zoom();

    w.on_notifyAddTable(0);
    QCOMPARE(TestSupport::tabList(w)->currentIndex(), 1);
    if (how == QLatin1String("tab")) {
        TestSupport::tabList(w)->setCurrentIndex(0);
    } else {
        TestSupport::answerNextModal(QStringLiteral("是"));
        w.on_removeTable(0);
        QCOMPARE(TestSupport::tabList(w)->count(), 1);
        w.undoStack()->undo();
        TestSupport::tabList(w)->setCurrentIndex(0);
        page = QuillmereTestAccess::currentView(w);
    }
    QTRY_VERIFY(inSight(page));
    // The zoom stays as it was.
    QCOMPARE(qobject_cast<PreviewView *>(page)->zoom(), zoom);
}

void TestLayout::previewTakesTheKeysUnderThePointer_data()
{
    QTest::addColumn<bool>("typing");
    QTest::newRow("the pointer over the preview gives it the keys") << false;
    QTest::newRow("a field being typed in keeps them") << true;
}

void TestLayout::previewTakesTheKeysUnderThePointer()
{
    QFETCH(bool, typing);
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    OSDItem *item = QuillmereTestAccess::addPictureItem(w, TestSupport::numberedPicture(40, 30));
    QVERIFY(item);
    QWidget *elsewhere =
        typing ? static_cast<QWidget *>(TestSupport::propertyPanel(w)->xSpin())
               : static_cast<QWidget *>(TestSupport::windowPart<QComboBox>(w, QStringLiteral("outputCombo")));
    elsewhere->setFocus();
    QTRY_VERIFY(elsewhere->hasFocus());
    QGraphicsView *page = QuillmereTestAccess::currentView(w);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(page, &enter);
    QCOMPARE(page->hasFocus(), !typing);
    // An arrow then nudges the item (or, while typing, stays with the field).
    const QPointF before = item->pos();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(item->pos(), typing ? before : before + QPointF(1, 0));
}

void TestLayout::outputScreenIsRemembered()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    {
        Quillmere w;
        w.setSettingsFolder(folder.path());
        QCOMPARE(w.outputScreenSize(), QSize(1920, 1080));
        QComboBox *combo = TestSupport::windowPart<QComboBox>(w, QStringLiteral("outputCombo"));
        QCOMPARE(combo->currentText(), QStringLiteral("1920×1080"));
        // The last entry asks for a size of the operator's own.
        TestSupport::actOnNextModal([](QWidget *modal) {
            const QList<QSpinBox *> spins = modal->findChildren<QSpinBox *>();
            QCOMPARE(spins.size(), 2);
            spins[0]->setValue(1024);
            spins[1]->setValue(600);
            qobject_cast<QDialog *>(modal)->accept();
        });
        emit combo->activated(combo->count() - 1);
        QCOMPARE(w.outputScreenSize(), QSize(1024, 600));
        QCOMPARE(combo->currentText(), QStringLiteral("1024×600"));
        auto *page = qobject_cast<PreviewView *>(QuillmereTestAccess::currentView(w));
        QVERIFY(page);
        QCOMPARE(page->screenSize(), QSize(1024, 600));
    }
    {
        Quillmere w;
        w.setSettingsFolder(folder.path());
        QCOMPARE(w.outputScreenSize(), QSize(1024, 600));
        QComboBox *combo = TestSupport::windowPart<QComboBox>(w, QStringLiteral("outputCombo"));
        // A cancelled custom size keeps the screen.
        TestSupport::actOnNextModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
        emit combo->activated(combo->count() - 1);
        QCOMPARE(w.outputScreenSize(), QSize(1024, 600));
        emit combo->activated(combo->findText(QStringLiteral("3840×2160")));
        QCOMPARE(w.outputScreenSize(), QSize(3840, 2160));
    }
    {
        // A size no screen can have, written by hand, gives the default.
        Config config(folder.path());
        QCOMPARE(QSize(config.screenWidth, config.screenHeight), QSize(3840, 2160));
        config.screenWidth = 5;
    }
    Quillmere w;
    w.setSettingsFolder(folder.path());
    QCOMPARE(w.outputScreenSize(), QSize(1920, 1080));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
