// The cut controller without the main window: an entry's cut and cut view reach its item and its
// record, and what the item's panel and menu did reaches the entry.
#include "core/document/osddocument.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/records/itemrecords.h"
#include "mainwindow/cutcontroller.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"

#include <QtTest>

class TestCutController : public QObject
{
    Q_OBJECT
private slots:
    void itemEditsReachTheEntry();
    void entryChangesReachItemAndRecord_data();
    void entryChangesReachItemAndRecord();
};

namespace {
// One entry whose item shows a 40x30 picture with its record.
struct Fixture
{
    OsdDocument document;
    OSDItem item;
    int id = document.insert();
    bool follow = true;
    CutController cuts{&document, [this](int e) { return e == id ? &item : nullptr; },
                       [this] { return follow; }};

    Fixture()
    {
        const QImage picture = TestSupport::patternPicture(40, 30);
        item.setOsdImage(picture, true);
        item.showImages();
        item.setVideoControlOSD(ItemRecords::pictureRecord(picture));
    }
    const VideoControlOSD &record() const { return *item.videoControlOSD(); }
};
} // namespace

void TestCutController::itemEditsReachTheEntry()
{
    Fixture f;
    // As the cut panel's apply does: the item takes the window, then the controller hears of it.
    f.item.slot_applyCutImage(QImage(), QRect(2, 3, 10, 8));
    f.cuts.cutEdited(f.id);
    QCOMPARE(f.document.entry(f.id)->cut, QRect(2, 3, 10, 8));
    QCOMPARE(f.record().CutImageSize(), QRect(2, 3, 10, 8));
    QVERIFY(!f.record().IsEnableCutImage());
    // The item's menu switches its own view; entry and record follow, and the preview shows the window.
    f.item.slot_selectShowArea();
    f.cuts.cutViewEdited(f.id, f.item.isShowCutArea());
    QVERIFY(f.document.entry(f.id)->showsCut());
    QVERIFY(f.record().IsEnableCutImage() && f.record().IsCanEnableCut());
    QCOMPARE(f.item.pixmap().size(), QSize(10, 8));
    // A switch asked for without the item's menu still reaches the item.
    f.cuts.cutViewEdited(f.id, false);
    QVERIFY(!f.item.isShowCutArea());
    QCOMPARE(f.item.pixmap().size(), QSize(40, 30));
    QVERIFY(!f.record().IsEnableCutImage());
}

void TestCutController::entryChangesReachItemAndRecord_data()
{
    QTest::addColumn<bool>("follow");
    QTest::addColumn<QRect>("cut");
    QTest::newRow("a window") << true << QRect(5, 5, 20, 10);
    QTest::newRow("the whole picture") << true << QRect(0, 0, 40, 30);
    QTest::newRow("while items are put back") << false << QRect(5, 5, 20, 10);
}

void TestCutController::entryChangesReachItemAndRecord()
{
    QFETCH(bool, follow);
    QFETCH(QRect, cut);
    Fixture f;
    f.follow = follow;
    f.document.setCut(f.id, cut);
    f.document.setCutView(f.id, true);
    QCOMPARE(f.item.hasCut(), follow);
    QCOMPARE(f.item.isShowCutArea(), follow);
    QCOMPARE(f.item.pixmap().size(), follow ? cut.size() : QSize(40, 30));
    QCOMPARE(f.record().IsEnableCutImage(), follow);
    if (follow)
        QCOMPARE(f.record().CutImageSize(), cut);
    // Undo taking the cut away leaves the record's switch off: the device never gets an empty window.
    f.document.setCut(f.id, QRect());
    f.document.setCutView(f.id, false);
    QVERIFY(!f.item.hasCut());
    QVERIFY(!f.record().IsEnableCutImage());
}

QTEST_MAIN(TestCutController)
#include "tst_cutcontroller.moc"
