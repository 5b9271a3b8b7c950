// The keying controller without the main window: edits of the current entry's recipe key its item
// and record, undo's re-keying reuses the kept result, and reset and picks touch only what they may.
#include "core/document/osddocument.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "mainwindow/keyingcontroller.h"
#include "mainwindow/keypanelcontroller.h"
#include "mainwindow/propertypanel.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/keyingsupport.h"
#include "support/testsupport.h"

#include <QtTest>

#include <map>
#include <memory>

using Edit = KeyPanelController::Edit;

class TestKeyingController : public QObject
{
    Q_OBJECT
private slots:
    void editsKeyTheCurrentItem_data();
    void editsKeyTheCurrentItem();
    void reKeyingReusesOnlyTheKeptResult_data();
    void reKeyingReusesOnlyTheKeptResult();
    void keptResultGoesWithItsItem();
    void reset_data();
    void reset();
    void pick_data();
    void pick();
};

namespace {
// Two entries with a picture item each; the first is current. The window's part is played by hooks
// that log what keying asks of it.
struct Fixture
{
    OsdDocument document;
    PropertyPanel panel{nullptr};
    int first = document.insert();
    int second = document.insert();
    int current = first;
    KeyPanelController keys{&document, &panel, [this] { return current; }};
    std::map<int, std::unique_ptr<OSDItem>> items;
    QStringList log;
    QWidget window;
    KeyingController *keying = new KeyingController(&window, &keys, hooks());

    Fixture()
    {
        for (int id : {first, second}) {
            const QImage picture = TestSupport::patternPicture(id == first ? 40 : 30, 30);
            items[id] = std::make_unique<OSDItem>();
            items[id]->setOsdImage(picture, true);
            items[id]->showImages();
            items[id]->setVideoControlOSD(ItemRecords::pictureRecord(picture));
        }
    }
    KeyingController::Window hooks()
    {
        KeyingController::Window h;
        h.currentItems = [this] {
            return items.count(current) ? QList<OSDItem *>{item(current)} : QList<OSDItem *>{};
        };
        h.currentTitle = [this] { return document.entry(current)->title(); };
        h.record = [this](KeyingController::Step step) {
            log << (step == KeyingController::Step::Key    ? "key"
                    : step == KeyingController::Step::Fill ? "fill"
                                                           : "reset");
        };
        h.closeGesture = [this] { log << "gesture"; };
        h.holdSteps = [this] { log << "hold"; };
        h.releaseSteps = [this] { log << "release"; };
        return h;
    }
    OSDItem *item(int id) const { return items.at(id).get(); }
    KeyRecipe key(int id) const { return document.entry(id)->key; }
    void keyItem(int id, const KeyRecipe &k, bool mayReuse = false)
    {
        keying->keyItem(item(id), k.begin, k.end, k.fill, k.enabled, mayReuse);
    }
};

// The item's pixmap and record hold its source keyed with k by the definition.
void verifyKeyed(OSDItem *item, const KeyRecipe &k)
{
    const QImage keyed = TestSupport::keyedByDefinition(item->sourceImage(), k.begin, k.end, k.fill);
    TestSupport::verifyItemShows(item, item->videoControlOSD(), keyed, k.fill, k.enabled);
}

KeyRecipe recipe(int redHigh, const QColor &fill)
{
    KeyRecipe k;
    k.enabled = true;
    k.setChannel(0, 0, redHigh);
    k.fill = fill;
    return k;
}
} // namespace

void TestKeyingController::editsKeyTheCurrentItem_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("keyedBefore");
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("a range") << Edit::Range << false << QStringList{"key"};
    QTest::newRow("a pick, a step of its own")
        << Edit::Pick << false << QStringList{"gesture", "key", "gesture"};
    QTest::newRow("the fill of a keyed picture")
        << Edit::Fill << true << QStringList{"hold", "key", "release", "fill"};
    QTest::newRow("the fill before keying") << Edit::Fill << false << QStringList{"fill"};
}

void TestKeyingController::editsKeyTheCurrentItem()
{
    QFETCH(Edit, edit);
    QFETCH(bool, keyedBefore);
    QFETCH(QStringList, steps);
    Fixture f;
    // The second entry has ranges of its own, which the first's must not lend it.
    f.document.setKey(f.first, recipe(255, Qt::red));
    f.document.setKey(f.second, recipe(120, Qt::blue));
    f.current = f.second;
    if (keyedBefore)
        f.keying->keyCurrentItems();
    const qint64 firstShown = f.item(f.first)->image().cacheKey();
    f.log.clear();
    switch (edit) {
    case Edit::Range:
        f.keys.setChannel(1, 0, 140);
        break;
    case Edit::Pick:
        f.keys.pick(f.item(f.second)->sourceImage().pixelColor(3, 4));
        break;
    case Edit::Fill:
        TestSupport::answerColourDialog(QColor(10, 200, 30));
        f.keys.chooseFill(&f.window);
        break;
    }
    QCOMPARE(f.log, steps);
    QCOMPARE(f.item(f.second)->isKeyApplied(), steps.contains("key"));
    if (f.item(f.second)->isKeyApplied())
        verifyKeyed(f.item(f.second), f.key(f.second));
    QCOMPARE(f.item(f.first)->image().cacheKey(), firstShown);
}

void TestKeyingController::reKeyingReusesOnlyTheKeptResult_data()
{
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<int>("redHigh");
    QTest::addColumn<bool>("mayReuse");
    QTest::addColumn<bool>("reused");
    QTest::newRow("undo to the kept key") << QColor(Qt::red) << 100 << true << true;
    QTest::newRow("the kept key, keyed afresh") << QColor(Qt::red) << 100 << false << false;
    QTest::newRow("another fill") << QColor(Qt::green) << 100 << true << false;
    QTest::newRow("another range") << QColor(Qt::red) << 101 << true << false;
}

void TestKeyingController::reKeyingReusesOnlyTheKeptResult()
{
    QFETCH(QColor, fill);
    QFETCH(int, redHigh);
    QFETCH(bool, mayReuse);
    QFETCH(bool, reused);
    Fixture f;
    // The results are held here too, so only a reuse can show their pixels again.
    f.keyItem(f.first, recipe(100, Qt::red));
    const QImage kept = f.item(f.first)->image();
    f.keyItem(f.first, recipe(200, Qt::blue));
    const QImage last = f.item(f.first)->image();
    f.keyItem(f.first, recipe(redHigh, fill), mayReuse);
    QCOMPARE(f.item(f.first)->image().constBits() == kept.constBits(), reused);
    verifyKeyed(f.item(f.first), recipe(redHigh, fill));
    // Whichever way it came, the result it replaced is kept: redoing shows it without keying.
    f.keyItem(f.first, recipe(200, Qt::blue), true);
    QCOMPARE(f.item(f.first)->image().constBits(), last.constBits());
    verifyKeyed(f.item(f.first), recipe(200, Qt::blue));
}

void TestKeyingController::keptResultGoesWithItsItem()
{
    Fixture f;
    f.keyItem(f.second, recipe(100, Qt::red));
    f.keyItem(f.second, recipe(200, Qt::red));
    f.keyItem(f.first, recipe(100, Qt::red));
    const QImage kept = f.item(f.first)->image();
    f.keyItem(f.first, recipe(200, Qt::red));
    // An item kept earlier goes: the memory kept now stays; its own item goes: it goes along.
    f.items.erase(f.second);
    QVERIFY(!kept.isDetached());
    f.items.erase(f.first);
    QVERIFY(kept.isDetached());
}

void TestKeyingController::reset_data()
{
    QTest::addColumn<bool>("imported");
    QTest::addColumn<QColor>("end"); // keyed from black to this first; invalid: never keyed
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");
    const QString done = QStringLiteral("OSD1 已经复位成功。");
    const QColor some(120, 255, 255);
    QTest::newRow("keyed, agreed") << false << some << "是" << done;
    QTest::newRow("keyed, declined") << false << some << "否" << QString();
    QTest::newRow("keyed with nothing in range") << false << QColor(0, 0, 0) << QString() << done;
    QTest::newRow("imported, keyed here") << true << some << "是" << done;
    QTest::newRow("imported, never keyed")
        << true << QColor() << QString() << QStringLiteral("OSD1 是导入的图片，没有原图，无法复位。");
}

void TestKeyingController::reset()
{
    QFETCH(bool, imported);
    QFETCH(QColor, end);
    QFETCH(QString, answer);
    QFETCH(QString, message);
    Fixture f;
    OSDItem *item = f.item(f.first);
    item->setHasOriginal(!imported);
    KeyRecipe k = recipe(255, Qt::red);
    k.end = end.isValid() ? end : k.end;
    f.document.setKey(f.first, k);
    if (end.isValid())
        f.keying->keyCurrentItems();
    // Only keyed pixels are asked about (the picture holds no black pixel).
    QCOMPARE(!TestSupport::samePixels(item->image(), item->sourceImage()), !answer.isEmpty());
    const KeyRecipe before = f.key(f.first);
    const QByteArray data = item->videoControlOSD()->image();
    f.log.clear();
    QStringList asked;
    QStringList told;
    if (!answer.isEmpty())
        TestSupport::answerNextModal(answer, &asked);
    if (!message.isEmpty())
        TestSupport::answerNextModal(QStringLiteral("OK"), &told);
    f.keying->reset();
    QCOMPARE(asked.contains(QStringLiteral("是否要复位OSD1 ?")), !answer.isEmpty());
    QCOMPARE(told.contains(message), !message.isEmpty());
    if (answer != QStringLiteral("否") && end.isValid()) {
        // The ranges go back, the switch stays, and the item and its record hold the source again.
        KeyRecipe back;
        back.enabled = true;
        QCOMPARE(f.key(f.first), back);
        TestSupport::verifyItemShows(item, item->videoControlOSD(), item->sourceImage(), back.fill, true);
        QCOMPARE(f.log, (QStringList{"hold", "release", "reset"}));
    } else {
        QCOMPARE(f.key(f.first), before);
        QCOMPARE(item->videoControlOSD()->image(), data);
        QVERIFY(f.log.isEmpty());
    }
}

void TestKeyingController::pick_data()
{
    QTest::addColumn<bool>("ofCurrent");
    QTest::addColumn<bool>("keyingOn");
    QTest::addColumn<bool>("keyedBefore");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<bool>("picks");
    QTest::newRow("current item") << true << true << false << QPointF(3, 4) << true;
    QTest::newRow("a keyed area: the picture's own colour") << true << true << true << QPointF(3, 4) << true;
    QTest::newRow("the last column") << true << true << false << QPointF(39.5, 4) << true;
    QTest::newRow("past the last column") << true << true << false << QPointF(40, 4) << false;
    QTest::newRow("keying off") << true << false << false << QPointF(3, 4) << false;
    QTest::newRow("an item not current") << false << true << false << QPointF(3, 4) << false;
}

void TestKeyingController::pick()
{
    QFETCH(bool, ofCurrent);
    QFETCH(bool, keyingOn);
    QFETCH(bool, keyedBefore);
    QFETCH(QPointF, at);
    QFETCH(bool, picks);
    Fixture f;
    KeyRecipe k = recipe(255, Qt::red);
    k.enabled = keyingOn;
    f.document.setKey(f.first, k);
    if (keyedBefore)
        f.keying->keyCurrentItems();
    OSDItem *pressed = f.item(ofCurrent ? f.first : f.second);
    const qint64 shown = pressed->image().cacheKey();
    f.log.clear();
    f.keying->pickAt(pressed, at);
    if (!picks) {
        QCOMPARE(f.key(f.first), k);
        QCOMPARE(f.key(f.second), KeyRecipe());
        QCOMPARE(pressed->image().cacheKey(), shown);
        QVERIFY(f.log.isEmpty());
        return;
    }
    const QColor own = pressed->sourceImage().pixelColor(int(at.x()), int(at.y()));
    QCOMPARE(f.key(f.first).picked, own);
    QCOMPARE(f.key(f.first).begin, own);
    verifyKeyed(pressed, f.key(f.first));
    QCOMPARE(f.log, (QStringList{"gesture", "key", "gesture"}));
}

QTEST_MAIN(TestKeyingController)
#include "tst_keyingcontroller.moc"
