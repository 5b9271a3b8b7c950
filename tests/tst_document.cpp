// The OSD list without any window: ids, numbers, recipes, places and cuts, and what views are told.
#include "core/document/osddocument.h"

#include <QSignalSpy>
#include <QtTest>

class TestDocument : public QObject
{
    Q_OBJECT
private slots:
    void numbersTakeTheLowestFree_data();
    void numbersTakeTheLowestFree();
    void idsAreNeverGivenTwice();
    void changesAreToldByAspect_data();
    void changesAreToldByAspect();
    void entryKeepsItsPlaceAndCut();
    void restorePutsAnEntryBackAsItWas();
    void pickSetsTheRangeToOneColour();
};

void TestDocument::numbersTakeTheLowestFree_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("removedNumber");
    QTest::addColumn<int>("next");
    // Around 255 and 256, the limit of the former pool, and past it.
    QTest::newRow("254 entries") << 254 << 0 << 255;
    QTest::newRow("255 entries") << 255 << 0 << 256;
    QTest::newRow("256 entries") << 256 << 0 << 257;
    QTest::newRow("freed 1") << 3 << 1 << 1;
    QTest::newRow("freed 255 of 300") << 300 << 255 << 255;
}

void TestDocument::numbersTakeTheLowestFree()
{
    QFETCH(int, entries);
    QFETCH(int, removedNumber);
    QFETCH(int, next);
    OsdDocument document;
    for (int i = 0; i < entries; ++i)
        document.insert();
    if (removedNumber > 0)
        document.remove(document.at(removedNumber - 1)->id);
    const int id = document.insert();
    QCOMPARE(document.entry(id)->number, next);
    QCOMPARE(document.entry(id)->title(), QStringLiteral("OSD%1").arg(next));
}

void TestDocument::idsAreNeverGivenTwice()
{
    OsdDocument document;
    const int first = document.insert();
    const int second = document.insert(0);
    QCOMPARE(document.indexOf(second), 0);
    QCOMPARE(document.indexOf(first), 1);
    document.remove(first);
    QVERIFY(!document.entry(first));
    const int third = document.insert();
    QVERIFY(third != first && third != second);
    // The number of the removed entry is free again; its id is not.
    QCOMPARE(document.entry(third)->number, document.entry(second)->number == 1 ? 2 : 1);
    document.clear();
    QCOMPARE(document.count(), 0);
    QVERIFY(document.insert() > third);
}

namespace {
using Aspect = OsdDocument::Aspect;

// One picture for the whole run: sources compare by identity.
const QImage &picture()
{
    static const QImage shared(4, 3, QImage::Format_RGB32);
    return shared;
}

// Each aspect of the second of two entries changed as a view would, and the same change again.
void change(OsdDocument &document, int id, Aspect aspect, int step)
{
    switch (aspect) {
    case Aspect::Source:
        // The same picture with another text is another source.
        document.setSource(id, OsdEntry::Kind::Text, picture(), true,
                           {QStringLiteral("text %1").arg(step), QFont(), QColor(Qt::red)});
        break;
    case Aspect::Key: {
        KeyRecipe key;
        key.setChannel(1, 20, 40 + step);
        document.setKey(id, key);
        break;
    }
    case Aspect::Position:
        document.setPosition(id, QPoint(-3, 7 + step));
        break;
    case Aspect::Cut:
        document.setCut(id, QRect(1, 2, 30, 20 + step));
        break;
    case Aspect::CutView:
        document.setCutView(id, true);
        break;
    }
}
} // namespace

void TestDocument::changesAreToldByAspect_data()
{
    QTest::addColumn<Aspect>("aspect");
    QTest::newRow("source") << Aspect::Source;
    QTest::newRow("key") << Aspect::Key;
    QTest::newRow("position") << Aspect::Position;
    QTest::newRow("cut") << Aspect::Cut;
    QTest::newRow("cut view") << Aspect::CutView;
}

void TestDocument::changesAreToldByAspect()
{
    QFETCH(Aspect, aspect);
    OsdDocument document;
    const int a = document.insert();
    const int b = document.insert();
    const OsdEntry untouched = *document.entry(a);
    QSignalSpy told(&document, &OsdDocument::changed);
    change(document, b, aspect, 0);
    QCOMPARE(told.count(), 1);
    QCOMPARE(told.at(0).at(0).toInt(), b);
    QCOMPARE(told.at(0).at(1).value<Aspect>(), aspect);
    QCOMPARE(*document.entry(a), untouched);
    QVERIFY(!(*document.entry(b) == untouched));
    // The same change again, or an unknown id, tells nothing.
    change(document, b, aspect, 0);
    change(document, 9999, aspect, 0);
    QCOMPARE(told.count(), 1);
}

void TestDocument::entryKeepsItsPlaceAndCut()
{
    OsdDocument document;
    const int id = document.insert();
    document.setCut(id, QRect(4, 5, 10, 6));
    document.setCutView(id, true);
    QVERIFY(document.entry(id)->showsCut());
    // An empty window is no cut: the switch stays as the operator left it, but shows nothing.
    document.setCut(id, QRect(4, 5, 0, 6));
    QVERIFY(!document.entry(id)->hasCut());
    QVERIFY(document.entry(id)->cutView);
    QVERIFY(!document.entry(id)->showsCut());
    QCOMPARE(document.entry(id)->cut, QRect());
}

void TestDocument::restorePutsAnEntryBackAsItWas()
{
    OsdDocument document;
    document.insert();
    const int id = document.insert();
    OsdEntry kept = *document.entry(id);
    kept.key.fill = QColor(1, 2, 3);
    kept.position = QPoint(12, -4);
    document.remove(id);
    document.restore(0, kept);
    QCOMPARE(document.indexOf(id), 0);
    QCOMPARE(*document.entry(id), kept);
    // A restored id is not given again.
    QVERIFY(document.insert() > id);

    // Putting back an entry that is there tells each aspect that differs, once.
    QSignalSpy told(&document, &OsdDocument::changed);
    kept.key.enabled = true;
    kept.cut = QRect(0, 0, 8, 8);
    document.restore(5, kept);
    QCOMPARE(document.count(), 3);
    QCOMPARE(document.indexOf(id), 0);
    QCOMPARE(told.count(), 2);
    QCOMPARE(told.at(0).at(1).value<Aspect>(), Aspect::Key);
    QCOMPARE(told.at(1).at(1).value<Aspect>(), Aspect::Cut);
    document.restore(0, kept);
    QCOMPARE(told.count(), 2);
}

void TestDocument::pickSetsTheRangeToOneColour()
{
    KeyRecipe key;
    key.pick(QColor(10, 20, 30, 7));
    QCOMPARE(key.begin, QColor(10, 20, 30));
    QCOMPARE(key.end, QColor(10, 20, 30));
    QCOMPARE(key.picked, QColor(10, 20, 30));
    for (int channel = 0; channel < 3; ++channel)
        QCOMPARE(key.low(channel), key.high(channel));
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
