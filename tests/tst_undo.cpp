// Undo and redo in the real window: for every kind of change, the file exported after undo is the
// one exported before the change, byte for byte, and after redo the one exported after it; the
// close question follows the history.
#include "core/document/osddocument.h"
#include "mainwindow/entrycommand.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/editingsteps.h"
#include "support/importing.h"
#include "support/keyingsupport.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/spinboxex.h"

#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

namespace A {
using namespace TestSupport;
}
using Access = QuillmereTestAccess;

class TestUndo : public EditingSteps
{
    Q_OBJECT

private slots:
    void everyStepUndoesExactly_data();
    void everyStepUndoesExactly();
    void closeQuestionFollowsTheHistory();
    void historyKeepsToItsMemoryBudget();
    void droppingOldStepsKeepsTheExportPoint();
    void undoSettingsOutOfReasonKeepTheirDefaults_data();
    void undoSettingsOutOfReasonKeepTheirDefaults();
};

void TestUndo::everyStepUndoesExactly_data()
{
    addStepRows();
}

void TestUndo::everyStepUndoesExactly()
{
    QFETCH(QString, prepare);
    QFETCH(QString, step);
    QFETCH(QString, undoText);

    // A file to import, made before the window under test exists.
    const QString importPath = m_dir.filePath(QStringLiteral("import%1.pic").arg(++m_fileCounter));
    A::writeSmallRecords(importPath, 3);

    Quillmere w;
    QVERIFY(startList(w));

    auto doStep = [&](const QString &what) { EditingSteps::doStep(w, what, importPath); };

    if (!prepare.isEmpty())
        doStep(prepare);
    const QByteArray before = exported(w);
    const QStringList titlesBefore = titles(w);
    const QList<QImage> shownBefore = shown(w);
    const QString panelBefore = panel(w);
    QUndoStack *stack = w.undoStack();
    const int count = stack->count();

    doStep(step);
    QCOMPARE(stack->count(), count + 1);
    QCOMPARE(stack->undoText(), undoText);
    if (step == QLatin1String("fill")) {
        // The fill colour shows in the next keying.
        doStep(QStringLiteral("key"));
        QCOMPARE(stack->count(), count + 2);
    }
    const QByteArray after = exported(w);
    const QStringList titlesAfter = titles(w);
    const QList<QImage> shownAfter = shown(w);
    const QString panelAfter = panel(w);
    QVERIFY(after != before || titlesAfter != titlesBefore);
    QCOMPARE(itemsAgainstEntries(w), QString());
    // A change of one entry is kept as that entry alone: undo and redo leave the other tabs' items be.
    const auto *entryStep = dynamic_cast<const EntryCommand *>(stack->command(count));
    const QStringList listSteps{"add tab", "close tab", "remove all", "import"};
    QCOMPARE(entryStep == nullptr, listSteps.contains(QLatin1String(QTest::currentDataTag())));
    auto otherItems = [&] {
        QList<const OSDItem *> items;
        for (int i = 0; entryStep && i < w.document()->count(); ++i)
            items << (w.document()->at(i)->id == entryStep->entry() ? nullptr : A::onlyItem(w, i));
        return items;
    };
    const QList<const OSDItem *> othersAfter = otherItems();

    for (int round = 0; round < 2; ++round) {
        while (stack->index() > count)
            stack->undo();
        QCOMPARE(titles(w), titlesBefore);
        QVERIFY(shown(w) == shownBefore);
        QCOMPARE(panel(w).section(QLatin1Char('|'), 0, -2), panelBefore.section(QLatin1Char('|'), 0, -2));
        QCOMPARE(Access::key(w).enabled, TestSupport::propertyPanel(w)->selectColorCheck()->isChecked());
        QCOMPARE(TestSupport::propertyPanel(w)->slider(0)->maxValue(), Access::key(w).end.red());
        QVERIFY(exported(w) == before);
        QCOMPARE(itemsAgainstEntries(w), QString());
        QCOMPARE(otherItems(), othersAfter);
        while (stack->canRedo())
            stack->redo();
        QCOMPARE(titles(w), titlesAfter);
        QVERIFY(shown(w) == shownAfter);
        QCOMPARE(panel(w).section(QLatin1Char('|'), 0, -2), panelAfter.section(QLatin1Char('|'), 0, -2));
        QVERIFY(exported(w) == after);
        QCOMPARE(itemsAgainstEntries(w), QString());
    }
}

void TestUndo::closeQuestionFollowsTheHistory()
{
    Quillmere w;
    A::showWindow(w);
    QVERIFY(addPicture(w, A::randomPicture(24, 16, 5)));
    exported(w);
    QVERIFY(!w.hasUnexportedChanges());
    TestSupport::propertyPanel(w)->xSpin()->setValue(40);
    QVERIFY(w.hasUnexportedChanges());

    // Back at the export there is nothing to ask.
    w.undoStack()->undo();
    QVERIFY(!w.hasUnexportedChanges());
    {
        A::ModalCounter boxes(QStringLiteral("取消"));
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(boxes.count(), 0);
    }

    // Past it, the close asks; staying keeps the window and the work.
    A::showWindow(w);
    w.undoStack()->undo();
    QVERIFY(w.hasUnexportedChanges());
    QStringList seen;
    A::answerNextModal(QStringLiteral("取消"), &seen);
    w.close();
    QVERIFY(w.isVisible());
    QVERIFY(seen.contains(QStringLiteral("OSD内容已修改但尚未导出,是否先导出?")));
}

namespace {
void writeUndoSettings(const QString &folder, const QVariant &limit, const QVariant &memoryMiB)
{
    QSettings settings(folder + QStringLiteral("/settings.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Undo/limit"), limit);
    settings.setValue(QStringLiteral("Undo/memoryMiB"), memoryMiB);
}
// A window whose history may hold 24 MiB of pictures (two replacements of the pictures below).
void budgetOf24MiB(Quillmere &w, const QTemporaryDir &folder)
{
    writeUndoSettings(folder.path(), 100, 24);
    w.setSettingsFolder(folder.path());
}
// The undo button as the operator finds it: the history button captioned "撤销".
QToolButton *undoButton(Quillmere &w)
{
    const QList<QToolButton *> buttons = w.findChildren<QToolButton *>(QStringLiteral("historyButton"));
    for (QToolButton *button : buttons) {
        if (button->text() == QStringLiteral("撤销"))
            return button;
    }
    qFatal("no undo button in the window");
}
} // namespace

void TestUndo::historyKeepsToItsMemoryBudget()
{
    // Pictures of 4 MiB (with 3 MiB of record data and a PNG file of about 3 MiB each, kept for
    // projects): a 24 MiB history keeps two replacements.
    QTemporaryDir folder;
    Quillmere w;
    budgetOf24MiB(w, folder);
    QUndoStack *stack = w.undoStack();
    for (int i = 0; i < 6; ++i) {
        QVERIFY(addPicture(w, A::randomPicture(1024, 1024, quint32(i))));
        QVERIFY2(w.historyBytes() <= 24 * 1024 * 1024, qPrintable(QString::number(w.historyBytes())));
    }
    QVERIFY(stack->count() >= 2);
    QVERIFY(stack->count() < 6);
    QVERIFY2(undoButton(w)->toolTip().contains(QStringLiteral("已丢弃")),
             qPrintable(undoButton(w)->toolTip()));

    // What is left undoes in order; the start, where nothing had changed, was dropped with the
    // oldest steps, so the list stays changed.
    const int left = stack->count();
    for (int i = 0; i < left; ++i) {
        stack->undo();
        QVERIFY(A::onlyItem(w, 0));
        QVERIFY(A::identicalPixels(A::onlyItem(w, 0)->sourceImage(),
                                   A::randomPicture(1024, 1024, quint32(4 - i))));
    }
    QVERIFY(!stack->canUndo());
    QVERIFY(w.hasUnexportedChanges());
    while (stack->canRedo())
        stack->redo();
    QVERIFY(A::identicalPixels(A::onlyItem(w, 0)->sourceImage(), A::randomPicture(1024, 1024, 5)));
}

void TestUndo::droppingOldStepsKeepsTheExportPoint()
{
    // Exported after the fifth of six replacements, of which the budget keeps the last two steps:
    // the export point stays between them, so undoing the last step ends the changes again, and
    // the one before it starts them.
    QTemporaryDir folder;
    Quillmere w;
    budgetOf24MiB(w, folder);
    QUndoStack *stack = w.undoStack();
    for (int i = 0; i < 6; ++i) {
        QVERIFY(addPicture(w, A::randomPicture(1024, 1024, quint32(i))));
        if (i == 4) {
            exportTo(w, m_dir.filePath(QStringLiteral("point.pic")));
            QVERIFY(!w.hasUnexportedChanges());
        }
    }
    QCOMPARE(stack->count(), 2);
    QVERIFY(w.hasUnexportedChanges());
    stack->undo();
    QVERIFY(!w.hasUnexportedChanges());
    QVERIFY(A::identicalPixels(A::onlyItem(w, 0)->sourceImage(), A::randomPicture(1024, 1024, 4)));
    stack->undo();
    QVERIFY(w.hasUnexportedChanges());
    stack->redo();
    QVERIFY(!w.hasUnexportedChanges());
}

void TestUndo::undoSettingsOutOfReasonKeepTheirDefaults_data()
{
    QTest::addColumn<QVariant>("memoryMiB");
    QTest::addColumn<qint64>("budgetMiB");
    QTest::newRow("15") << QVariant(15) << qint64(256);
    QTest::newRow("16") << QVariant(16) << qint64(16);
    QTest::newRow("17") << QVariant(17) << qint64(17);
    QTest::newRow("16383") << QVariant(16383) << qint64(16383);
    QTest::newRow("16384") << QVariant(16384) << qint64(16384);
    QTest::newRow("16385") << QVariant(16385) << qint64(256);
    QTest::newRow("text") << QVariant(QStringLiteral("much")) << qint64(256);
}

void TestUndo::undoSettingsOutOfReasonKeepTheirDefaults()
{
    QFETCH(QVariant, memoryMiB);
    QFETCH(qint64, budgetMiB);
    QTemporaryDir folder;
    writeUndoSettings(folder.path(), 100, memoryMiB);
    Quillmere w;
    w.setSettingsFolder(folder.path());
    QCOMPARE(Access::undoBudget(w), budgetMiB * 1024 * 1024);
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
