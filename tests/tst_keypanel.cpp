// The key panel's controller without the main window: the panel shows the current entry's recipe
// and every edit reaches that entry alone.
#include "core/document/osddocument.h"
#include "mainwindow/keypanelcontroller.h"
#include "mainwindow/propertypanel.h"
#include "support/keyingsupport.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/labelex.h"

#include <QSignalSpy>
#include <QtTest>

using Edit = KeyPanelController::Edit;

class TestKeyPanel : public QObject
{
    Q_OBJECT
private slots:
    void panelFollowsTheCurrentEntry();
    void editsReachTheCurrentEntryOnly_data();
    void editsReachTheCurrentEntryOnly();
};

namespace {
// Two entries; the second has a recipe of its own. The first is current.
struct Fixture
{
    OsdDocument document;
    PropertyPanel panel{nullptr};
    int first = document.insert();
    int second = document.insert();
    int current = first;
    KeyPanelController keys{&document, &panel, [this] { return current; }};

    Fixture()
    {
        KeyRecipe other;
        other.setChannel(0, 30, 60);
        other.enabled = true;
        document.setKey(second, other);
    }
    int shownRedHigh() const { return panel.slider(0)->maxValue(); }
};
} // namespace

void TestKeyPanel::panelFollowsTheCurrentEntry()
{
    Fixture f;
    // Until it is asked to show an entry, the panel stays as it was built.
    const QString builtSwatch = f.panel.fillColorSwatch()->styleSheet();
    f.document.setKey(f.second, KeyRecipe());
    QCOMPARE(f.panel.fillColorSwatch()->styleSheet(), builtSwatch);

    KeyRecipe other;
    other.setChannel(0, 30, 60);
    other.enabled = true;
    f.document.setKey(f.second, other);
    f.current = f.second;
    f.keys.showCurrent();
    QCOMPARE(f.shownRedHigh(), 60);
    QVERIFY(f.panel.selectColorCheck()->isChecked());
    // A change of the shown entry (undo) shows at once; one of another entry does not.
    other.setChannel(0, 30, 70);
    f.document.setKey(f.second, other);
    QCOMPARE(f.shownRedHigh(), 70);
    KeyRecipe narrow;
    narrow.setChannel(0, 0, 10);
    f.document.setKey(f.first, narrow);
    QCOMPARE(f.shownRedHigh(), 70);
    f.current = f.first;
    f.keys.showCurrent();
    QCOMPARE(f.shownRedHigh(), 10);
    QVERIFY(!f.panel.selectColorCheck()->isChecked());
}

void TestKeyPanel::editsReachTheCurrentEntryOnly_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QList<int>>("edits"); // the kinds told, in order
    QTest::addColumn<QString>("recipe");   // the current entry's afterwards
    QTest::newRow("red slider") << "slider" << QList<int>{int(Edit::Range)}
                                << "off #000000 #c8ffff #000000 -";
    QTest::newRow("switch") << "switch" << QList<int>{} << "on #000000 #ffffff #000000 -";
    QTest::newRow("pick") << "pick" << QList<int>{int(Edit::Pick)} << "off #0a141e #0a141e #000000 #0a141e";
    QTest::newRow("fill") << "fill" << QList<int>{int(Edit::Fill)} << "off #000000 #ffffff #010203 -";
    QTest::newRow("fill cancelled") << "no fill" << QList<int>{} << "off #000000 #ffffff #000000 -";
    QTest::newRow("begin colour") << "begin" << QList<int>{} << "off #040506 #ffffff #000000 -";
}

void TestKeyPanel::editsReachTheCurrentEntryOnly()
{
    QFETCH(QString, edit);
    QFETCH(QList<int>, edits);
    QFETCH(QString, recipe);
    Fixture f;
    f.keys.showCurrent();
    const OsdEntry untouched = *f.document.entry(f.second);
    QSignalSpy told(&f.keys, &KeyPanelController::keyEdited);
    if (edit == QLatin1String("slider")) {
        f.panel.slider(0)->moveMaxHandle(200);
    } else if (edit == QLatin1String("switch")) {
        f.panel.selectColorCheck()->setChecked(true);
    } else if (edit == QLatin1String("pick")) {
        f.keys.pick(QColor(10, 20, 30));
    } else if (edit == QLatin1String("fill")) {
        TestSupport::answerColourDialog(QColor(1, 2, 3));
        f.panel.fillColorSwatch()->signal_mouseclicked();
    } else if (edit == QLatin1String("no fill")) {
        TestSupport::answerColourDialog(QColor());
        f.keys.chooseFill(&f.panel);
    } else if (edit == QLatin1String("begin")) {
        TestSupport::answerColourDialog(QColor(4, 5, 6));
        f.keys.chooseBegin(&f.panel);
    }
    const KeyRecipe &k = f.document.entry(f.first)->key;
    QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                 .arg(k.enabled ? "on" : "off", k.begin.name(), k.end.name(), k.fill.name(),
                      k.picked.isValid() ? k.picked.name() : "-"),
             recipe);
    QCOMPARE(*f.document.entry(f.second), untouched);
    QCOMPARE(told.count(), edits.size());
    for (int i = 0; i < told.count(); ++i) {
        QCOMPARE(told.at(i).at(0).toInt(), f.first);
        QCOMPARE(int(told.at(i).at(1).value<Edit>()), edits.at(i));
    }
}

QTEST_MAIN(TestKeyPanel)
#include "tst_keypanel.moc"
