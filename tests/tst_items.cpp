// Adding picture and text items to the main window, cuts and the cut view, driven through the
// window's slots and real file dialogs.
#include "core/pixels/rasterform.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/customtoolbutton.h"
#include "widgets/doubleslider.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/tablewidgetex.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

using A = QuillmereTestAccess;
using DialogSeen = TestSupport::FileDialogSeen;
using TestSupport::answerNextFileDialogWithFile;
using TestSupport::samePixels;

namespace {

QByteArray expectedOsdBytes(const QImage &image)
{
    QByteArray bytes;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            bytes.append(char(qBlue(p)));
            bytes.append(char(qGreen(p)));
            bytes.append(char(qRed(p)));
        }
    }
    return bytes;
}

// Whether item's signal is connected to the window's slot; true also disconnects it (the only
// public way to ask for one particular connection).
template <typename Signal, typename Slot>
bool takeConnection(OSDItem *item, Signal signal, Quillmere *w, Slot slot)
{
    return QObject::disconnect(item, signal, w, slot);
}

} // namespace

class TestItems : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void pictureRecord_data();
    void pictureRecord();
    void pictureButtonOpensTheDialog();
    void translucentPreviewIsWhatTheFileHolds();
    void cancelChangesNothing();
    void newPictureReplacesTabItem_data();
    void newPictureReplacesTabItem();
    void unreadablePictureKeepsTab();
    void itemConnections_data();
    void itemConnections();
    void textRecord_data();
    void textRecord();
    void brokenTextImageRefused_data();
    void brokenTextImageRefused();
    void cutRebuildsRecordAndCutViewSwitches();
    void cutKeepsFillColour();
    void newCutShowsWhileCutViewOn();
    void cutViewWithoutCutKeepsRecordWhole();
    void replacingLargePictureDoesNotPileUp();

private:
    // Adds a picture item to the current tab through the real picture dialog.
    OSDItem *addPicture(Quillmere &w, const QString &path);
    QString writeImage(const QImage &image, const QString &name);

    QTemporaryDir m_dir;
};

void TestItems::initTestCase()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    TestSupport::failOnQtWarnings();
    QVERIFY(m_dir.isValid());
}

void TestItems::init()
{
    DataMode::getInstance()->clearDataModel();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString TestItems::writeImage(const QImage &image, const QString &name)
{
    const QString path = m_dir.filePath(name);
    if (!image.save(path))
        return QString();
    return path;
}

OSDItem *TestItems::addPicture(Quillmere &w, const QString &path)
{
    answerNextFileDialogWithFile(path, nullptr);
    w.slot_picturnButten();
    const QList<OSDItem *> items = A::currentItems(w);
    return items.size() == 1 ? items.first() : nullptr;
}

void TestItems::pictureRecord_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("png") << "pattern.png";
    QTest::newRow("bmp") << "pattern.bmp";
    QTest::newRow("jpg") << "pattern.jpg";
}

void TestItems::pictureRecord()
{
    QFETCH(QString, name);
    const QImage source = TestSupport::patternPicture(10, 4);
    const QString path = writeImage(source, name);
    QVERIFY(!path.isEmpty());
    // Lossy formats give back what the decoder makes of the file.
    const QImage expected = name.endsWith(".jpg") ? QImage(path) : source;

    Quillmere w;
    const int recordsBefore = SharedRecord::liveCount();
    DialogSeen seen;
    answerNextFileDialogWithFile(path, &seen);
    w.slot_picturnButten();
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("Open File"));
    QCOMPARE(seen.nameFilters, QStringList{"Images (*.png *.bmp *.jpg *.jpeg)"});
    QCOMPARE(seen.acceptMode, int(QFileDialog::AcceptOpen));

    const QList<OSDItem *> items = A::currentItems(w);
    QCOMPARE(items.size(), 1);
    OSDItem *item = items.first();
    QVERIFY(item->isPicture());
    QVERIFY(!(item->flags() & QGraphicsItem::ItemIsMovable));
    QCOMPARE(item->pos(), QPointF(0, 0));
    QCOMPARE(item->pixmap().size(), QSize(10, 4));
    QVERIFY(samePixels(item->loadedImage(), expected));
    QVERIFY(samePixels(item->pixmap().toImage(), expected));
    QCOMPARE(item->imageSize(), QSize(10, 4));
    QVERIFY(!item->isShowCutArea());
    QVERIFY(!item->sourceData());

    VideoControlOSD *record = item->videoControlOSD();
    QVERIFY(record);
    QCOMPARE(SharedRecord::liveCount(), recordsBefore + 1);
    QCOMPARE(record->size(), QSize(10, 4));
    QCOMPARE(record->OSDFileLength(), 120);
    QCOMPARE(record->completionImageWidth(), 10);
    QCOMPARE(record->image().size(), 120);
    QCOMPARE(record->image(), expectedOsdBytes(expected));
    QVERIFY(!record->IsEnableCutImage());
    QVERIFY(!record->IsCanEnableCut());
    QVERIFY(record->IsAvailable());
    QCOMPARE(record->red(), -1);
    QCOMPARE(record->green(), -1);
    QCOMPARE(record->blue(), -1);
    QVERIFY(record->pImageValue());
    QVERIFY(samePixels(*record->pImageValue(), expected));
    // The item is not in the data model until an export.
    QVERIFY(DataMode::getInstance()->getOSDInfos().isEmpty());
}

void TestItems::pictureButtonOpensTheDialog()
{
    const QString path = writeImage(TestSupport::patternPicture(3, 2), "button.png");
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    DialogSeen seen;
    answerNextFileDialogWithFile(path, &seen);
    QTest::mouseClick(TestSupport::toolBarButton(w, QStringLiteral("pictureButton")), Qt::LeftButton);
    QVERIFY(seen.seen);
    QCOMPARE(A::currentItems(w).size(), 1);
    QCOMPARE(A::currentItems(w).first()->videoControlOSD()->size(), QSize(3, 2));
}

void TestItems::cancelChangesNothing()
{
    Quillmere w;
    OSDItem *item = addPicture(w, writeImage(TestSupport::patternPicture(5, 5), "keep.png"));
    QVERIFY(item);
    VideoControlOSD *record = item->videoControlOSD();
    const int records = SharedRecord::liveCount();

    DialogSeen seen;
    answerNextFileDialogWithFile(QString(), &seen);
    w.slot_picturnButten();
    QVERIFY(seen.seen);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(A::currentItems(w), QList<OSDItem *>{item});
    QCOMPARE(item->videoControlOSD(), record);
    QCOMPARE(SharedRecord::liveCount(), records);
}

void TestItems::newPictureReplacesTabItem_data()
{
    QTest::addColumn<bool>("firstIsText");
    QTest::newRow("picture over picture") << false;
    QTest::newRow("picture over text") << true;
}

void TestItems::newPictureReplacesTabItem()
{
    QFETCH(bool, firstIsText);
    Quillmere w;
    // A second tab, so that the base image of the other tab can be seen to stay.
    w.on_notifyAddTable(0);
    QCOMPARE(TestSupport::tabList(w)->currentIndex(), 1);
    const int recordsBefore = SharedRecord::liveCount();

    QPointer<OSDItem> first;
    if (firstIsText) {
        QImage text = TestSupport::patternPicture(8, 3);
        w.on_exportTextImage(&text, Qt::white, QFont(), QStringLiteral("t"));
        first = A::currentItems(w).value(0);
    } else {
        first = addPicture(w, writeImage(TestSupport::patternPicture(6, 6), "first.png"));
    }
    QVERIFY(first);

    OSDItem *second = addPicture(w, writeImage(TestSupport::patternPicture(9, 2), "second.png"));
    QVERIFY(second);
    QVERIFY(second != first);
    QCOMPARE(A::scene(w, 1)->items().size(), 1);
    QVERIFY(!second->isKeyApplied());
    QCOMPARE(second->videoControlOSD()->size(), QSize(9, 2));

    // The replaced item goes, and with it its record; its text source stays while the undo history
    // can bring the text back, and goes with the history.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QCOMPARE(SharedRecord::liveCount(), recordsBefore + 1 + (firstIsText ? 1 : 0));
    w.undoStack()->clear();
    QCOMPARE(SharedRecord::liveCount(), recordsBefore + 1);
}

void TestItems::unreadablePictureKeepsTab()
{
    Quillmere w;
    OSDItem *item = addPicture(w, writeImage(TestSupport::patternPicture(4, 4), "good.png"));
    QVERIFY(item);
    const int records = SharedRecord::liveCount();

    const QString broken = m_dir.filePath("broken.png");
    {
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x89PNG\r\n\x1a\n this is not a picture");
    }
    QStringList shown;
    answerNextFileDialogWithFile(broken, nullptr);
    TestSupport::answerNextModal(QStringLiteral("OK"), &shown);
    w.slot_picturnButten();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(shown.join('\n').contains(QDir::toNativeSeparators(broken)));
    QCOMPARE(shown.value(0), QStringLiteral("错误提示"));
    QCOMPARE(A::currentItems(w), QList<OSDItem *>{item});
    QCOMPARE(SharedRecord::liveCount(), records);
}

void TestItems::itemConnections_data()
{
    QTest::addColumn<bool>("isPicture");
    QTest::addColumn<QStringList>("connected");
    const QStringList common{
        "signal_closeAllOsdItem()", "signal_imgLocateOnIterm(double,double,double,double)",
        "signal_itemHoverLeave()", "signal_itemHoverEnter(QPointF)", "signal_mouseClicked()"};
    QTest::newRow("picture") << true
                             << common + QStringList{"signal_changeImgbyCut(QImage,QRect)",
                                                     "signal_displayCutImg(bool)"};
    QTest::newRow("text") << false << common + QStringList{"signal_readBackOsdInfo()"};
}

void TestItems::itemConnections()
{
    QFETCH(bool, isPicture);
    QFETCH(QStringList, connected);
    Quillmere w;
    OSDItem *item = nullptr;
    if (isPicture) {
        item = addPicture(w, writeImage(TestSupport::patternPicture(4, 4), "connect.png"));
    } else {
        QImage text = TestSupport::patternPicture(4, 4);
        w.on_exportTextImage(&text, Qt::white, QFont(), QStringLiteral("x"));
        item = A::currentItems(w).value(0);
    }
    QVERIFY(item);

    // The connections reach the window: hover shows and hides the colour tip, a click is noted.
    QVERIFY(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip")));
    emit item->signal_itemHoverEnter(QPointF(1, 1));
    QVERIFY(TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip"))->isVisible());
    emit item->signal_itemHoverLeave();
    QVERIFY(!TestSupport::windowPart<QFrame>(w, QStringLiteral("colorTip"))->isVisible());
    // A press picks at once (at the item's corner here) and leaves nothing waiting: the next hover
    // report changes nothing.
    TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(true);
    emit item->signal_mouseClicked();
    const KeyRecipe picked = A::key(w);
    QVERIFY(picked.picked.isValid());
    emit item->signal_imgLocateOnIterm(1, 1, 1, 1);
    QVERIFY(A::key(w) == picked);

    QStringList found;
    Quillmere *win = &w;
    if (takeConnection(item, &OSDItem::signal_changeImgbyCut, win, &Quillmere::slot_updateImgOfView))
        found << "signal_changeImgbyCut(QImage,QRect)";
    if (takeConnection(item, &OSDItem::signal_closeAllOsdItem, win, &Quillmere::slot_deleteItem))
        found << "signal_closeAllOsdItem()";
    if (takeConnection(item, &OSDItem::signal_readBackOsdInfo, win, &Quillmere::slot_loadingText))
        found << "signal_readBackOsdInfo()";
    if (takeConnection(item, &OSDItem::signal_displayCutImg, win, &Quillmere::slot_getIsDisPlayImg))
        found << "signal_displayCutImg(bool)";
    if (takeConnection(item, &OSDItem::signal_imgLocateOnIterm, win, &Quillmere::slot_setColorOfMouse))
        found << "signal_imgLocateOnIterm(double,double,double,double)";
    if (takeConnection(item, &OSDItem::signal_itemHoverLeave, win, &Quillmere::slot_itemHoverLeave))
        found << "signal_itemHoverLeave()";
    if (takeConnection(item, &OSDItem::signal_itemHoverEnter, win, &Quillmere::slot_itemHoverEnter))
        found << "signal_itemHoverEnter(QPointF)";
    if (takeConnection(item, &OSDItem::signal_mouseClicked, win, &Quillmere::slot_mouseClicked))
        found << "signal_mouseClicked()";
    found.sort();
    connected.sort();
    QCOMPARE(found, connected);
    // Each connection was made once: nothing is left after taking them.
    QVERIFY(!QObject::disconnect(item, nullptr, win, nullptr));
}

void TestItems::textRecord_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("red") << QColor(255, 0, 0) << 0 << 255 << 255;
    QTest::newRow("mixed") << QColor(10, 200, 33) << 245 << 55 << 222;
}

void TestItems::textRecord()
{
    QFETCH(QColor, color);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    Quillmere w;
    const QImage rendered = TestSupport::patternPicture(12, 5);
    QImage sent = rendered;
    QFont font(QStringLiteral("Sans"), 17);
    font.setBold(true);
    w.on_exportTextImage(&sent, color, font, QStringLiteral("你好 OSD"));

    const QList<OSDItem *> items = A::currentItems(w);
    QCOMPARE(items.size(), 1);
    OSDItem *item = items.first();
    QVERIFY(!item->isPicture());
    QVERIFY(!(item->flags() & QGraphicsItem::ItemIsMovable));
    QVERIFY(samePixels(item->pixmap().toImage(), rendered));
    QVERIFY(samePixels(item->loadedImage(), rendered));
    QVERIFY(samePixels(item->sourceImage(), rendered));
    QVERIFY(!item->isKeyApplied());
    // The sender keeps its image.
    QCOMPARE(sent, rendered);

    VideoControlOSD *record = item->videoControlOSD();
    QVERIFY(record);
    QCOMPARE(record->red(), red);
    QCOMPARE(record->green(), green);
    QCOMPARE(record->blue(), blue);
    QCOMPARE(record->size(), QSize(12, 5));
    QCOMPARE(record->OSDFileLength(), 12 * 5 * 3);
    QCOMPARE(record->completionImageWidth(), 12);
    QCOMPARE(record->image(), expectedOsdBytes(rendered));
    QVERIFY(!record->IsEnableCutImage());
    QVERIFY(!record->IsCanEnableCut());
    QVERIFY(record->IsAvailable());
    QVERIFY(record->pImageValue());
    QVERIFY(samePixels(*record->pImageValue(), rendered));

    SourceData *source = item->sourceData();
    QVERIFY(source);
    QCOMPARE(source->getTextColor(), color);
    QCOMPARE(source->getTextFont(), font);
    QCOMPARE(source->getContent(), QStringLiteral("你好 OSD"));
}

void TestItems::brokenTextImageRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("no image") << 0;
    QTest::newRow("null image") << 1;
    QTest::newRow("0x0 image") << 2;
    QTest::newRow("0x7 image") << 3;
}

void TestItems::brokenTextImageRefused()
{
    QFETCH(int, kind);
    Quillmere w;
    QImage shown = TestSupport::patternPicture(3, 3);
    w.on_exportTextImage(&shown, Qt::red, QFont(), QStringLiteral("before"));
    OSDItem *before = A::currentItems(w).value(0);
    QVERIFY(before);
    const int records = SharedRecord::liveCount();

    QImage broken;
    if (kind == 2)
        broken = QImage(0, 0, QImage::Format_ARGB32);
    else if (kind == 3)
        broken = QImage(0, 7, QImage::Format_ARGB32);
    w.on_exportTextImage(kind == 0 ? nullptr : &broken, Qt::red, QFont(), QStringLiteral("broken"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(A::currentItems(w), QList<OSDItem *>{before});
    QCOMPARE(SharedRecord::liveCount(), records);
}

void TestItems::cutRebuildsRecordAndCutViewSwitches()
{
    Quillmere w;
    const QImage loaded = TestSupport::patternPicture(200, 150);
    OSDItem *item = addPicture(w, writeImage(loaded, "cut.png"));
    QVERIFY(item);
    const int records = SharedRecord::liveCount();
    VideoControlOSD *before = item->videoControlOSD();
    const QRect rect(10, 20, 100, 50);
    const QImage cut = loaded.copy(rect);

    item->slot_applyCutImage(cut, rect);

    VideoControlOSD *record = item->videoControlOSD();
    QVERIFY(record && record != before);
    // The replaced record is gone; nothing piles up.
    QCOMPARE(SharedRecord::liveCount(), records);
    QCOMPARE(record->size(), QSize(200, 150));
    QCOMPARE(record->CutImageSize(), rect);
    QCOMPARE(record->image(), expectedOsdBytes(loaded));
    QCOMPARE(record->OSDFileLength(), 200 * 150 * 3);
    QCOMPARE(record->completionImageWidth(), 200);
    QVERIFY(record->IsAvailable());
    QVERIFY(!record->IsEnableCutImage());
    QVERIFY(!record->IsCanEnableCut());
    QVERIFY(samePixels(*record->pImageValue(), loaded));
    QCOMPARE(item->displayImage(), cut);
    QVERIFY(samePixels(item->loadedImage(), loaded));
    // The cut view is off: still the whole picture.
    QVERIFY(samePixels(item->pixmap().toImage(), loaded));

    item->setPos(7, 9);
    item->slot_selectShowArea();
    QVERIFY(item->isShowCutArea());
    QVERIFY(samePixels(item->pixmap().toImage(), cut));
    QCOMPARE(item->pos(), QPointF(7, 9));
    // The record follows the switch, so that the file shows what the preview shows.
    QVERIFY(item->videoControlOSD()->IsCanEnableCut());
    QVERIFY(item->videoControlOSD()->IsEnableCutImage());

    item->slot_selectShowArea();
    QVERIFY(!item->isShowCutArea());
    QVERIFY(samePixels(item->pixmap().toImage(), loaded));
    QCOMPARE(item->pos(), QPointF(7, 9));
    QVERIFY(!item->videoControlOSD()->IsCanEnableCut());
    QVERIFY(!item->videoControlOSD()->IsEnableCutImage());
}

void TestItems::cutKeepsFillColour()
{
    Quillmere w;
    OSDItem *item = addPicture(w, writeImage(TestSupport::patternPicture(40, 30), "fill.png"));
    QVERIFY(item);
    item->videoControlOSD()->setSelectColor(QColor(1, 2, 3));
    item->videoControlOSD()->setIsSelectColor(true);
    item->slot_applyCutImage(TestSupport::patternPicture(40, 30).copy(0, 0, 5, 5), QRect(0, 0, 5, 5));
    QCOMPARE(item->videoControlOSD()->selectColor(), QColor(1, 2, 3));
    QVERIFY(item->videoControlOSD()->IsSelectColor());
}

void TestItems::newCutShowsWhileCutViewOn()
{
    Quillmere w;
    const QImage loaded = TestSupport::patternPicture(60, 40);
    OSDItem *item = addPicture(w, writeImage(loaded, "twice.png"));
    QVERIFY(item);
    item->slot_applyCutImage(loaded.copy(0, 0, 10, 10), QRect(0, 0, 10, 10));
    item->slot_selectShowArea();
    QVERIFY(samePixels(item->pixmap().toImage(), loaded.copy(0, 0, 10, 10)));
    const QRect second(20, 5, 30, 25);
    item->slot_applyCutImage(loaded.copy(second), second);
    QVERIFY(samePixels(item->pixmap().toImage(), loaded.copy(second)));
    QCOMPARE(item->videoControlOSD()->CutImageSize(), second);
    QVERIFY(item->videoControlOSD()->IsCanEnableCut());
}

void TestItems::cutViewWithoutCutKeepsRecordWhole()
{
    // The device must never get an empty window: without a cut the switch shows the whole picture
    // and leaves the record's cut flags off, until a cut exists.
    Quillmere w;
    const QImage loaded = TestSupport::patternPicture(30, 20);
    OSDItem *item = addPicture(w, writeImage(loaded, "uncut.png"));
    QVERIFY(item);
    w.slot_getIsDisPlayImg(true);
    QVERIFY(samePixels(item->pixmap().toImage(), loaded));
    QVERIFY(!item->videoControlOSD()->IsCanEnableCut());
    QVERIFY(!item->videoControlOSD()->IsEnableCutImage());

    const QRect window(2, 3, 10, 8);
    item->slot_applyCutImage(QImage(), window);
    QVERIFY(samePixels(item->pixmap().toImage(), loaded.copy(window)));
    QVERIFY(item->videoControlOSD()->IsCanEnableCut());
    QCOMPARE(item->videoControlOSD()->CutImageSize(), window);
}

void TestItems::replacingLargePictureDoesNotPileUp()
{
    const QImage large = TestSupport::patternPicture(3840, 2160);
    const QString path = writeImage(large, "large.bmp");
    QVERIFY(!path.isEmpty());

    Quillmere w;
    const int recordsBefore = SharedRecord::liveCount();
    QList<QPointer<OSDItem>> made;
    const int rounds = 100;
    for (int i = 0; i < rounds; ++i) {
        OSDItem *item = addPicture(w, path);
        QVERIFY(item);
        QCOMPARE(item->videoControlOSD()->size(), QSize(3840, 2160));
        made.append(item);
        // Stop early instead of eating the machine's memory when items or records pile up.
        int alive = 0;
        for (const QPointer<OSDItem> &p : made)
            alive += p.isNull() ? 0 : 1;
        QVERIFY2(alive <= 2, qPrintable(QStringLiteral("round %1: %2 items alive").arg(i).arg(alive)));
        QVERIFY2(
            SharedRecord::liveCount() - recordsBefore <= 2,
            qPrintable(QStringLiteral("round %1: %2 records alive").arg(i).arg(SharedRecord::liveCount())));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int alive = 0;
    for (const QPointer<OSDItem> &p : made)
        alive += p.isNull() ? 0 : 1;
    QCOMPARE(alive, 1);
    QCOMPARE(SharedRecord::liveCount() - recordsBefore, 1);
    // Resident memory over the same rounds is measured by tst_load's heavy tests.
}

void TestItems::translucentPreviewIsWhatTheFileHolds()
{
    // Transparent corners and a half-transparent middle: the device has no transparency and shows
    // the record's colour bytes, so the preview shows them too, keyed or not.
    QImage picture(4, 3, QImage::Format_ARGB32);
    picture.fill(qRgba(0, 0, 0, 0));
    picture.setPixel(1, 1, qRgba(200, 100, 40, 128));
    picture.setPixel(2, 1, qRgba(10, 220, 30, 255));
    Quillmere w;
    OSDItem *item = A::addPictureItem(w, RasterForm::convert(picture));
    for (const bool keyed : {false, true}) {
        if (keyed)
            TestSupport::propertyPanel(w)->slider(1)->moveMaxHandle(200);
        const QImage shown = item->pixmap().toImage();
        const QByteArray held = item->videoControlOSD()->image();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const int at = 3 * (y * picture.width() + x);
                const QRgb fromFile = qRgb(uchar(held[at + 2]), uchar(held[at + 1]), uchar(held[at]));
                QCOMPARE(shown.pixel(x, y), fromFile);
            }
        }
    }
}

QTEST_MAIN(TestItems)
#include "tst_items.moc"
