#include "support/editingsteps.h"

#include "core/document/osddocument.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/importing.h"
#include "support/keyingsupport.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/spinboxex.h"

#include <QFile>
#include <QLabel>
#include <QtTest>

namespace A {
using namespace TestSupport;
}

QByteArray EditingSteps::exported(Quillmere &w)
{
    const QString path = m_dir.filePath(QStringLiteral("undo%1.pic").arg(++m_fileCounter));
    exportTo(w, path);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("not written");
}

QStringList EditingSteps::titles(Quillmere &w)
{
    QStringList list;
    for (int i = 0; i < TestSupport::tabList(w)->count(); ++i)
        list << TestSupport::tabList(w)->tabText(i);
    return list;
}

QList<QImage> EditingSteps::shown(Quillmere &w)
{
    QList<QImage> images;
    for (int i = 0; i < TestSupport::tabList(w)->count(); ++i) {
        OSDItem *item = A::onlyItem(w, i);
        images << (item ? item->pixmap().toImage().convertToFormat(QImage::Format_RGB32) : QImage());
    }
    return images;
}

QString EditingSteps::itemsAgainstEntries(Quillmere &w)
{
    for (int i = 0; i < TestSupport::tabList(w)->count(); ++i) {
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

QString EditingSteps::panel(Quillmere &w)
{
    // Every tab's recipe comes back; the panel shows the one of the tab in front.
    QString text;
    for (const OsdEntry &entry : w.document()->entries()) {
        const KeyRecipe &k = entry.key;
        text += QStringLiteral("%1:%2 %3 %4 %5 %6|")
                    .arg(entry.title(), k.enabled ? "on" : "off", k.begin.name(), k.end.name(), k.fill.name(),
                         k.picked.isValid() ? k.picked.name() : "-");
    }
    text += TestSupport::propertyPanel(w)->selectColorCheck()->isChecked() ? QStringLiteral("on")
                                                                           : QStringLiteral("off");
    for (int channel = 0; channel < 3; ++channel) {
        text += QStringLiteral(" %1-%2 %3-%4")
                    .arg(TestSupport::propertyPanel(w)->slider(channel)->minValue())
                    .arg(TestSupport::propertyPanel(w)->slider(channel)->maxValue())
                    .arg(TestSupport::propertyPanel(w)->minLabel(channel)->text(),
                         TestSupport::propertyPanel(w)->maxLabel(channel)->text());
    }
    return text;
}

void EditingSteps::addStepRows()
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

bool EditingSteps::startList(Quillmere &w)
{
    TestSupport::showWindow(w);
    if (!addPicture(w, TestSupport::randomPicture(24, 16, 5)))
        return false;
    w.on_notifyAddTable(0);
    QImage text = TestSupport::patternPicture(8, 3);
    w.on_exportTextImage(&text, Qt::white, QFont(), QStringLiteral("t"));
    TestSupport::tabList(w)->setCurrentIndex(0);
    return TestSupport::tabList(w)->count() == 2;
}

void EditingSteps::doStep(Quillmere &w, const QString &what, const QString &importPath)
{
    if (what == QLatin1String("key")) {
        // One drag: both moves of the handle are one step.
        TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
        TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(150);
        TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(120);
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
        TestSupport::propertyPanel(w)->xSpin()->setValue(5);
        TestSupport::propertyPanel(w)->xSpin()->setValue(7);
        TestSupport::propertyPanel(w)->ySpin()->setValue(9);
    } else if (what == QLatin1String("clear")) {
        w.slot_deleteItem();
    } else if (what == QLatin1String("import")) {
        A::importFile(w, importPath);
    } else {
        QFAIL(qPrintable(what));
    }
}
