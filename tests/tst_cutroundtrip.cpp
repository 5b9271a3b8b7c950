// A window cut out of a picture item with the cut panel survives export into an OSD file and
// import back: the imported item's cut view shows the same pixels.
#include "core/pixels/publicbase.h"
#include "imagecut/osdimagecutdll.h"
#include "imagecut/pictureedit.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/importing.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/spinboxex.h"
#include "widgets/styled/toolbuttonex.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGraphicsSceneContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using A = QuillmereTestAccess;

using TestSupport::answerNextFileDialogWithFile;
using TestSupport::keyedByDefinition;
using TestSupport::numberedPicture;
using TestSupport::samePixels;

namespace {

// Chooses an entry of the item's context menu by its text.
void chooseFromMenu(OSDItem *item, const QString &text)
{
    TestSupport::chooseFromNextMenu(text);

    QGraphicsSceneContextMenuEvent event(QEvent::GraphicsSceneContextMenu);
    event.setScenePos(item->sceneBoundingRect().center());
    event.setReason(QGraphicsSceneContextMenuEvent::Mouse);
    item->scene()->sendEvent(item, &event);
}

SpinBoxEx *field(OSDImageCutDLL *panel, char name)
{
    return panel->findChild<SpinBoxEx *>(QStringLiteral("spinBox_contrast_") + QLatin1Char(name));
}

void typeInto(SpinBoxEx *box, const QString &digits)
{
    box->selectAll();
    QTest::keyClicks(box, digits);
    QTest::keyClick(box, Qt::Key_Tab);
}

OSDItem *onlyItem(Quillmere &w)
{
    const QList<OSDItem *> items = A::currentItems(w);
    return items.size() == 1 ? items.first() : nullptr;
}

// Exports the window's one tab into path (a new file: the save dialog would ask before replacing
// one) and imports it into a new window.
std::unique_ptr<Quillmere> exportAndImport(Quillmere &w, const QString &path)
{
    answerNextFileDialogWithFile(path);
    w.slot_outputButten();
    auto imported = std::make_unique<Quillmere>();
    answerNextFileDialogWithFile(path);
    TestSupport::pressImportButton(*imported);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return imported;
}

// What the item shows with the cut view as it is and, switched through the menu, as it is not.
QPair<QImage, QImage> bothViews(OSDItem *item)
{
    const QImage now = item->pixmap().toImage();
    if (!item->hasCut())
        return {now, now};
    chooseFromMenu(item, QStringLiteral("OSD截取开关"));
    const QImage other = item->pixmap().toImage();
    chooseFromMenu(item, QStringLiteral("OSD截取开关"));
    return {now, other};
}

} // namespace

class TestCutRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cutWindowSurvivesExportAndImport();
    void cutAndKeyAgreeInAnyOrder_data();
    void cutAndKeyAgreeInAnyOrder();

private:
    QTemporaryDir m_dir;
    int m_files = 0;
};

void TestCutRoundTrip::initTestCase()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    TestSupport::failOnQtWarnings();
    QVERIFY(m_dir.isValid());
    DataMode::getInstance()->clearDataModel();
}

void TestCutRoundTrip::cutWindowSurvivesExportAndImport()
{
    const QImage picture = numberedPicture(300, 200);
    const QString picturePath = m_dir.filePath(QStringLiteral("picture.png"));
    QVERIFY(picture.save(picturePath));
    const QRect window(10, 20, 100, 70);
    const QImage expectedCut = picture.copy(window);

    Quillmere source;
    answerNextFileDialogWithFile(picturePath);
    source.slot_picturnButten();
    OSDItem *item = onlyItem(source);
    QVERIFY(item);

    // The operator cuts with the panel: the window is made 90 high and its top edge moved down by
    // 20, which leaves it 70 high.
    chooseFromMenu(item, QStringLiteral("截取"));
    OSDImageCutDLL *panel = item->cutPanel();
    QVERIFY(panel && panel->isVisible());
    typeInto(field(panel, 'X'), QStringLiteral("10"));
    typeInto(field(panel, 'W'), QStringLiteral("100"));
    typeInto(field(panel, 'H'), QStringLiteral("90"));
    typeInto(field(panel, 'Y'), QStringLiteral("20"));
    QCOMPARE(panel->cutWindow(), window);
    QTest::mouseClick(panel->findChild<ToolButtonEx *>(QStringLiteral("pushButton_ok")), Qt::LeftButton);
    QVERIFY(!panel->isVisible());

    chooseFromMenu(item, QStringLiteral("OSD截取开关"));
    QVERIFY(item->isShowCutArea());
    QVERIFY(samePixels(item->pixmap().toImage(), expectedCut));

    const QString osdPath = m_dir.filePath(QStringLiteral("cut.pic"));
    answerNextFileDialogWithFile(osdPath);
    source.slot_outputButten();
    QVERIFY(QFileInfo(osdPath).size() > 0);

    Quillmere target;
    answerNextFileDialogWithFile(osdPath);
    TestSupport::pressImportButton(target);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    OSDItem *imported = onlyItem(target);
    QVERIFY(imported);
    QVERIFY(imported->isPicture());
    QVERIFY(imported->isShowCutArea());
    QVERIFY(samePixels(imported->pixmap().toImage(), expectedCut));
    QVERIFY(samePixels(imported->loadedImage(), picture));

    // The cut view switches between the whole picture and the same window.
    chooseFromMenu(imported, QStringLiteral("OSD截取开关"));
    QVERIFY(samePixels(imported->pixmap().toImage(), picture));
    chooseFromMenu(imported, QStringLiteral("OSD截取开关"));
    QVERIFY(samePixels(imported->pixmap().toImage(), expectedCut));

    // Cutting the imported item starts again from its whole picture.
    chooseFromMenu(imported, QStringLiteral("截取"));
    OSDImageCutDLL *importedPanel = imported->cutPanel();
    QVERIFY(importedPanel && importedPanel->isVisible());
    auto *shown = importedPanel->pictureWidget()->findChild<QLabel *>(QStringLiteral("label"));
    QVERIFY(samePixels(shown->pixmap(Qt::ReturnByValue).toImage(), picture));
    importedPanel->close();
}

void TestCutRoundTrip::cutAndKeyAgreeInAnyOrder_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("cut, then key") << QStringList{"cut", "key"};
    QTest::newRow("key, then cut") << QStringList{"key", "cut"};
    QTest::newRow("key, cut, key again") << QStringList{"key", "cut", "key again"};
    QTest::newRow("cut view on, then key") << QStringList{"cut", "view", "key"};
    QTest::newRow("cut, key, reset") << QStringList{"cut", "key", "reset"};
    QTest::newRow("import, key, cut") << QStringList{"import", "key", "cut"};
    QTest::newRow("cut with the view on, import, key, cut elsewhere")
        << QStringList{"cut", "view", "import", "key", "cut elsewhere"};
}

// Whatever the order of cutting, keying and resetting, the preview in both cut views, the
// exported file and what import shows all agree, and the file's window lies inside its picture.
void TestCutRoundTrip::cutAndKeyAgreeInAnyOrder()
{
    QFETCH(QStringList, steps);
    const QColor fill(250, 0, 250);
    QImage source = numberedPicture(300, 200);
    const QString picturePath = m_dir.filePath(QStringLiteral("order.png"));
    QVERIFY(source.save(picturePath));

    auto w = std::make_unique<Quillmere>();
    answerNextFileDialogWithFile(picturePath);
    w->slot_picturnButten();
    OSDItem *item = onlyItem(*w);
    QVERIFY(item);

    QImage expected = source; // the whole keyed picture
    QRect cut;
    bool view = false;
    const auto newOsdPath = [this] { return m_dir.filePath(QStringLiteral("order%1.pic").arg(++m_files)); };
    for (const QString &step : steps) {
        if (step == "cut" || step == "cut elsewhere") {
            cut = step == "cut" ? QRect(10, 20, 100, 50) : QRect(150, 60, 120, 90);
            item->slot_applyCutImage(QImage(), cut);
        } else if (step == "view") {
            chooseFromMenu(item, QStringLiteral("OSD截取开关"));
            view = !view;
        } else if (step == "key" || step == "key again") {
            TestSupport::propertyPanel(*w)->selectColorCheck()->setChecked(true);
            A::setSelectColor(*w, fill);
            if (step == "key") {
                TestSupport::propertyPanel(*w)->slider(0)->moveMaxHandle(40);
                expected = keyedByDefinition(source, QColor(0, 0, 0), QColor(40, 255, 255), fill);
            } else {
                TestSupport::propertyPanel(*w)->slider(0)->moveMaxHandle(255);
                TestSupport::propertyPanel(*w)->slider(0)->moveMinHandle(200);
                expected = keyedByDefinition(source, QColor(200, 0, 0), QColor(255, 255, 255), fill);
            }
        } else if (step == "reset") {
            TestSupport::answerNextModal(QStringLiteral("是"));
            TestSupport::answerNextModal(QStringLiteral("OK"));
            w->slot_Resetbutton();
            expected = source;
        } else if (step == "import") {
            w = exportAndImport(*w, newOsdPath());
            item = onlyItem(*w);
            QVERIFY(item);
            source = expected; // the file holds the keyed picture; keying starts from it now
        }
        QVERIFY2(item->isShowCutArea() == view, qPrintable(step));
    }

    const QImage whole = expected;
    const QImage window = cut.isNull() ? whole : whole.copy(cut);
    const QImage shown = view ? window : whole;
    const QImage hidden = view ? whole : window;
    QPair<QImage, QImage> preview = bothViews(item);
    QVERIFY(samePixels(preview.first, shown));
    QVERIFY(samePixels(preview.second, hidden));
    QVERIFY(samePixels(item->image(), whole));

    // The file: the whole keyed picture and the window inside it, switched as the preview is.
    const QString osdPath = newOsdPath();
    answerNextFileDialogWithFile(osdPath);
    w->slot_outputButten();
    OsdFile::Contents contents;
    OsdFileError error;
    QVERIFY2(OsdFile::read(osdPath, &contents, &error), qPrintable(error.message()));
    QCOMPARE(contents.records().size(), 1);
    const VideoControlOSD *record = contents.records().first();
    const std::unique_ptr<QImage> decoded(PublicBase::osdDataToImage(
        record->image(), record->size().width(), record->size().height(), record->completionImageWidth()));
    QVERIFY(decoded);
    QVERIFY(samePixels(*decoded, whole));
    QCOMPARE(record->IsCanEnableCut(), view && !cut.isNull());
    QCOMPARE(record->IsEnableCutImage(), view && !cut.isNull());
    if (!cut.isNull()) {
        QCOMPARE(record->CutImageSize(), cut);
        QVERIFY(QRect(QPoint(0, 0), record->size()).contains(record->CutImageSize()));
    }

    // Import shows the same.
    std::unique_ptr<Quillmere> imported = exportAndImport(*w, newOsdPath());
    OSDItem *back = onlyItem(*imported);
    QVERIFY(back);
    QCOMPARE(back->isShowCutArea(), view && !cut.isNull());
    preview = bothViews(back);
    QVERIFY(samePixels(preview.first, shown));
    QVERIFY(samePixels(preview.second, hidden));
}

QTEST_MAIN(TestCutRoundTrip)
#include "tst_cutroundtrip.moc"
