// The OSD list without any window: ids, numbers, recipes and what views are told.
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
    void keyChangesAreTold();
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

void TestDocument::keyChangesAreTold()
{
    OsdDocument document;
    const int a = document.insert();
    const int b = document.insert();
    QSignalSpy told(&document, &OsdDocument::keyChanged);
    KeyRecipe key;
    key.setChannel(1, 20, 40);
    document.setKey(b, key);
    QCOMPARE(told.count(), 1);
    QCOMPARE(told.at(0).at(0).toInt(), b);
    QCOMPARE(document.entry(b)->key.low(1), 20);
    QCOMPARE(document.entry(b)->key.high(1), 40);
    QCOMPARE(document.entry(a)->key, KeyRecipe());
    // The same recipe again, or an unknown id, tells nothing.
    document.setKey(b, key);
    document.setKey(9999, key);
    QCOMPARE(told.count(), 1);
}

void TestDocument::restorePutsAnEntryBackAsItWas()
{
    OsdDocument document;
    document.insert();
    const int id = document.insert();
    OsdEntry kept = *document.entry(id);
    kept.key.fill = QColor(1, 2, 3);
    document.remove(id);
    document.restore(0, kept);
    QCOMPARE(document.indexOf(id), 0);
    QCOMPARE(*document.entry(id), kept);
    // A restored id is not given again.
    QVERIFY(document.insert() > id);

    QSignalSpy told(&document, &OsdDocument::keyChanged);
    kept.key.enabled = true;
    document.restore(5, kept);
    QCOMPARE(document.count(), 3);
    QCOMPARE(document.indexOf(id), 0);
    QCOMPARE(told.count(), 1);
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
