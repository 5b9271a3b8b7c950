// A window cut out of a picture item with the cut panel survives export into an OSD file and
// import back: the imported item's cut view shows the same pixels.
#include "imagecut/osdimagecutdll.h"
#include "imagecut/pictureedit.h"
#include "interfaces/datamode.h"
#include "interfaces/spinboxex.h"
#include "interfaces/toolbuttonex.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"

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

using A = QuillmereTestAccess;

using TestSupport::answerNextFileDialogWithFile;

namespace {

// Every pixel differs from every other, so a wrong window cannot pass for the right one.
QImage numberedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, ((x >> 8) * 16 + (y >> 8)) & 255));
    return image;
}

bool samePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                return false;
    return true;
}

// Chooses an entry of the item's context menu by its text.
void chooseFromMenu(OSDItem *item, const QString &text)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, text] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->stop();
        timer->deleteLater();
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            if (action->text() == text) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        menu->close();
    });
    timer->start();

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

} // namespace

class TestCutRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cutWindowSurvivesExportAndImport();

private:
    QTemporaryDir m_dir;
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
    target.slot_inputButten();
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

QTEST_MAIN(TestCutRoundTrip)
#include "tst_cutroundtrip.moc"
