// Placing entries without the main window: the position fields and buttons against the document.
#include "core/document/osddocument.h"
#include "mainwindow/placementcontroller.h"
#include "mainwindow/propertypanel.h"
#include "widgets/styled/spinboxex.h"

#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

class TestPlacement : public QObject
{
    Q_OBJECT
private slots:
    void fieldsFollowTheCurrentEntry();
    void editsMoveOnlyTheCurrentEntry_data();
    void editsMoveOnlyTheCurrentEntry();
};

namespace {
// Two entries with pictures at (10, 20) and (300, 400), and an empty one; the first is current.
struct Fixture
{
    OsdDocument document;
    PropertyPanel panel{nullptr};
    PlacementController placement{&document, &panel, [](int) { return QSize(100, 50); }};
    int first = document.insert();
    int second = document.insert();
    int empty = document.insert();

    Fixture()
    {
        const QImage picture(100, 50, QImage::Format_RGB32);
        document.setSource(first, OsdEntry::Kind::Picture, picture);
        document.setSource(second, OsdEntry::Kind::Picture, picture);
        document.setPosition(first, QPoint(10, 20));
        document.setPosition(second, QPoint(300, 400));
        placement.setCurrent(first);
    }
    QPoint shown() const { return QPoint(panel.xSpin()->value(), panel.ySpin()->value()); }
    bool enabled() const { return panel.xSpin()->isEnabled() && panel.ySpin()->isEnabled(); }
};
} // namespace

void TestPlacement::fieldsFollowTheCurrentEntry()
{
    Fixture f;
    QCOMPARE(f.shown(), QPoint(10, 20));
    QVERIFY(f.enabled());
    f.placement.setCurrent(f.second);
    QCOMPARE(f.shown(), QPoint(300, 400));
    // A move from elsewhere (undo, the overview) shows at once; one of another entry does not.
    f.document.setPosition(f.second, QPoint(-5, 7));
    QCOMPARE(f.shown(), QPoint(-5, 7));
    f.document.setPosition(f.first, QPoint(1, 1));
    QCOMPARE(f.shown(), QPoint(-5, 7));
    // Nothing to place: fields and buttons are off, also when the item goes from the current tab.
    f.placement.setCurrent(f.empty);
    QVERIFY(!f.enabled());
    QVERIFY(!f.panel.alignButton(0)->isEnabled());
    f.placement.setCurrent(f.second);
    QVERIFY(f.enabled());
    f.document.setSource(f.second, OsdEntry::Kind::Empty, QImage());
    QVERIFY(!f.enabled());
}

void TestPlacement::editsMoveOnlyTheCurrentEntry_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("moves");
    QTest::newRow("x field") << "x 15" << QPoint(15, 20) << 1;
    QTest::newRow("both fields") << "x 15 y 25" << QPoint(15, 25) << 2;
    QTest::newRow("the same value") << "x 10" << QPoint(10, 20) << 0;
    QTest::newRow("nudge") << "nudge" << QPoint(9, 21) << 1;
    // 1920x1080 screen, 100x50 shown: the last column and row the item fits in; one axis a button.
    QTest::newRow("right") << "align 2" << QPoint(1820, 20) << 1;
    QTest::newRow("bottom") << "align 5" << QPoint(10, 1030) << 1;
    QTest::newRow("left") << "align 0" << QPoint(0, 20) << 1;
    QTest::newRow("on the empty entry") << "empty x 15" << QPoint(10, 20) << 0;
}

void TestPlacement::editsMoveOnlyTheCurrentEntry()
{
    QFETCH(QString, edit);
    QFETCH(QPoint, position);
    QFETCH(int, moves);
    Fixture f;
    QSignalSpy moved(&f.placement, &PlacementController::moved);
    const QStringList words = edit.split(QLatin1Char(' '));
    for (int i = 0; i < words.size(); ++i) {
        const QString &word = words[i];
        if (word == QLatin1String("x"))
            f.panel.xSpin()->setValue(words[++i].toInt());
        else if (word == QLatin1String("y"))
            f.panel.ySpin()->setValue(words[++i].toInt());
        else if (word == QLatin1String("nudge"))
            f.placement.nudge(QPoint(-1, 1));
        else if (word == QLatin1String("align"))
            f.panel.alignButton(words[++i].toInt())->click();
        else if (word == QLatin1String("empty"))
            f.placement.setCurrent(f.empty);
    }
    QCOMPARE(f.document.entry(f.first)->position, position);
    QCOMPARE(f.document.entry(f.second)->position, QPoint(300, 400));
    QCOMPARE(moved.count(), moves);
    for (const QList<QVariant> &move : moved)
        QCOMPARE(move.at(0).toInt(), f.first);
}

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
