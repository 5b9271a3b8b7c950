// Undo and redo in the real window: for every kind of change, the file exported after undo is the
// one exported before the change, byte for byte, and after redo the one exported after it; the
// close question follows the history.
#include "core/document/osddocument.h"
#include "interfaces/styled/checkboxex.h"
#include "interfaces/styled/spinboxex.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/exchangefixture.h"
#include "support/importing.h"
#include "support/keyingsupport.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "widgets/doubleslider.h"

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

class TestUndo : public ExchangeFixture
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

private:
    // The list as a file, as tab titles and as the previews show it, for comparing two moments.
    QByteArray exported(Quillmere &w);
    static QStringList titles(Quillmere &w);
    static QList<QImage> shown(Quillmere &w);
    // The keying controls: ranges, their numbers and the switch.
    static QString panel(Quillmere &w);
    // Where an item's picture, place, cut or cut view is not its entry's; empty while all agree.
    static QString itemsAgainstEntries(Quillmere &w);
};

QByteArray TestUndo::exported(Quillmere &w)
{
    const QString path = m_dir.filePath(QStringLiteral("undo%1.pic").arg(++m_fileCounter));
    exportTo(w, path);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("not written");
}

QStringList TestUndo::titles(Quillmere &w)
{
    QStringList list;
    for (int i = 0; i < Access::tabWidget(w)->count(); ++i)
        list << Access::tabWidget(w)->tabText(i);
    return list;
}

QList<QImage> TestUndo::shown(Quillmere &w)
{
    QList<QImage> images;
    for (int i = 0; i < Access::tabWidget(w)->count(); ++i) {
        OSDItem *item = A::onlyItem(w, i);
        images << (item ? item->pixmap().toImage().convertToFormat(QImage::Format_RGB32) : QImage());
    }
    return images;
}

QString TestUndo::itemsAgainstEntries(Quillmere &w)
{
    for (int i = 0; i < Access::tabWidget(w)->count(); ++i) {
        const OsdEntry *entry = w.document()->at(i);
        const OSDItem *item = A::onlyItem(w, i);
        if (!entry || (entry->kind == OsdEntry::Kind::Empty) != !item)
            return QStringLiteral("tab %1").arg(i);
        if (!item)
            continue;
        if (item->sourceImage().cacheKey() != entry->source.cacheKey() ||
            item->isPicture() != (entry->kind == OsdEntry::Kind::Picture) ||
            item->pos() != QPointF(entry->position) || item->hasCut() != entry->hasCut() ||
            (entry->hasCut() && item->cutRect() != entry->cut) || item->isShowCutArea() != entry->cutView)
            return entry->title();
    }
    return QString();
}

QString TestUndo::panel(Quillmere &w)
{
    // Every tab's recipe comes back; the panel shows the one of the tab in front.
    QString text;
    for (const OsdEntry &entry : w.document()->entries()) {
        const KeyRecipe &k = entry.key;
        text += QStringLiteral("%1:%2 %3 %4 %5 %6|")
                    .arg(entry.title(), k.enabled ? "on" : "off", k.begin.name(), k.end.name(), k.fill.name(),
                         k.picked.isValid() ? k.picked.name() : "-");
    }
    text += Access::selectColorCheck(w)->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
    for (int channel = 0; channel < 3; ++channel) {
        text += QStringLiteral(" %1-%2 %3-%4")
                    .arg(Access::slider(w, channel)->minValue())
                    .arg(Access::slider(w, channel)->maxValue())
                    .arg(Access::minLabel(w, channel)->text(), Access::maxLabel(w, channel)->text());
    }
    return text;
}

void TestUndo::everyStepUndoesExactly_data()
{
    // The list: OSD1 a picture (current), OSD2 a text. "prepare" runs before the first export.
    QTest::addColumn<QString>("prepare");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("undoText");
    QTest::newRow("add tab") << ""
                             << "add tab"
                             << "添加 OSD3";
    QTest::newRow("close tab") << "key"
                               << "close OSD2"
                               << "删除 OSD2";
    QTest::newRow("remove all") << "cut"
                                << "remove all"
                                << "删除全部OSD";
    QTest::newRow("reset") << "key"
                           << "reset"
                           << "复位 OSD1";
    QTest::newRow("picture") << "key"
                             << "picture"
                             << "图片 OSD1";
    QTest::newRow("text") << ""
                          << "text"
                          << "文字 OSD1";
    QTest::newRow("cut") << "key"
                         << "cut"
                         << "截取 OSD1";
    QTest::newRow("cut view") << "cut"
                              << "cut view"
                              << "截取显示 OSD1";
    QTest::newRow("slider drag") << ""
                                 << "key"
                                 << "扣色 OSD1";
    QTest::newRow("pick") << "key"
                          << "pick"
                          << "扣色 OSD1";
    QTest::newRow("fill colour, then keyed") << ""
                                             << "fill"
                                             << "填充色 OSD1";
    QTest::newRow("move") << ""
                          << "move"
                          << "移动 OSD1";
    QTest::newRow("clear the tab") << "cut"
                                   << "clear"
                                   << "清空 OSD1";
    QTest::newRow("import") << "key"
                            << "import"
                            << "导入";
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
    A::showWindow(w);
    OSDItem *picture = addPicture(w, A::randomPicture(24, 16, 5));
    QVERIFY(picture);
    w.on_notifyAddTable(0);
    QImage text = A::patternPicture(8, 3);
    w.on_exportTextImage(&text, Qt::white, QFont(), QStringLiteral("t"));
    Access::tabWidget(w)->setCurrentIndex(0);

    auto doStep = [&](const QString &what) {
        if (what == QLatin1String("key")) {
            // One drag: both moves of the handle are one step.
            Access::selectColorCheck(w)->setChecked(true);
            Access::sliderR(w)->moveMaxHandle(150);
            Access::sliderR(w)->moveMaxHandle(120);
        } else if (what == QLatin1String("cut")) {
            A::onlyItem(w, 0)->slot_applyCutImage(QImage(), QRect(2, 3, 12, 9));
        } else if (what == QLatin1String("add tab")) {
            w.on_notifyAddTable(0);
        } else if (what == QLatin1String("close OSD2")) {
            A::answerNextModal(QStringLiteral("是"));
            w.on_removeTable(1);
        } else if (what == QLatin1String("remove all")) {
            A::answerNextModal(QStringLiteral("是"));
            w.slot_removeAllTable();
        } else if (what == QLatin1String("reset")) {
            A::answerNextModal(QStringLiteral("是"));
            A::answerNextModal(QStringLiteral("OK"));
            w.slot_Resetbutton();
        } else if (what == QLatin1String("picture")) {
            QVERIFY(addPicture(w, A::randomPicture(10, 12, 9)));
        } else if (what == QLatin1String("text")) {
            QImage other = A::patternPicture(6, 5);
            w.on_exportTextImage(&other, Qt::yellow, QFont(), QStringLiteral("u"));
        } else if (what == QLatin1String("cut view")) {
            w.slot_getIsDisPlayImg(true);
        } else if (what == QLatin1String("pick")) {
            A::hoverAt(w, QPoint(7, 5));
            A::clickAt(w, QPoint(7, 5));
            A::hoverAt(w, QPoint(7, 5));
        } else if (what == QLatin1String("fill")) {
            A::answerColourDialog(QColor(1, 2, 3));
            w.slot_displayColorFormColorDialog();
        } else if (what == QLatin1String("move")) {
            // Stepping the field twice is one move.
            Access::xSpin(w)->setValue(5);
            Access::xSpin(w)->setValue(7);
            Access::ySpin(w)->setValue(9);
        } else if (what == QLatin1String("clear")) {
            w.slot_deleteItem();
        } else if (what == QLatin1String("import")) {
            A::importFile(w, importPath);
        } else {
            QFAIL(qPrintable(what));
        }
    };

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

    for (int round = 0; round < 2; ++round) {
        while (stack->index() > count)
            stack->undo();
        QCOMPARE(titles(w), titlesBefore);
        QVERIFY(shown(w) == shownBefore);
        QCOMPARE(panel(w).section(QLatin1Char('|'), 0, -2), panelBefore.section(QLatin1Char('|'), 0, -2));
        QCOMPARE(Access::key(w).enabled, Access::selectColorCheck(w)->isChecked());
        QCOMPARE(Access::slider(w, 0)->maxValue(), Access::key(w).end.red());
        QVERIFY(exported(w) == before);
        QCOMPARE(itemsAgainstEntries(w), QString());
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
    Access::xSpin(w)->setValue(40);
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
// A window whose history may hold 16 MiB of pictures (two replacements of the pictures below).
void budgetOf16MiB(Quillmere &w, const QTemporaryDir &folder)
{
    writeUndoSettings(folder.path(), 100, 16);
    w.setSettingsFolder(folder.path());
}
} // namespace

void TestUndo::historyKeepsToItsMemoryBudget()
{
    // Pictures of 4 MiB (and 3 MiB of record data each): a 16 MiB history keeps two replacements.
    QTemporaryDir folder;
    Quillmere w;
    budgetOf16MiB(w, folder);
    QUndoStack *stack = w.undoStack();
    for (int i = 0; i < 6; ++i) {
        QVERIFY(addPicture(w, A::randomPicture(1024, 1024, quint32(i))));
        QVERIFY2(w.historyBytes() <= 16 * 1024 * 1024, qPrintable(QString::number(w.historyBytes())));
    }
    QVERIFY(stack->count() >= 2);
    QVERIFY(stack->count() < 6);
    QVERIFY2(Access::undoButton(w)->toolTip().contains(QStringLiteral("已丢弃")),
             qPrintable(Access::undoButton(w)->toolTip()));

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
    budgetOf16MiB(w, folder);
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
