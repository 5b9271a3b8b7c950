// Import of OSD files into tabs and the round trip through export, driven through the window's slots and real
// file dialogs.
#include "interfaces/device/control.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/exchangefixture.h"
#include "support/importing.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/styled/custommegbox.h"
#include "widgets/styled/tablewidgetex.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using A = QuillmereTestAccess;
using DialogSeen = TestSupport::FileDialogSeen;
using TestSupport::answerNextFileDialog;
using TestSupport::onlyItem;
using TestSupport::samePixels;

namespace {

QStringList tabTitles(Quillmere &w)
{
    QStringList titles;
    for (int i = 0; i < TestSupport::tabList(w)->count(); ++i)
        titles << TestSupport::tabList(w)->tabText(i);
    return titles;
}

QStringList expectedTitles(int count)
{
    QStringList titles;
    for (int i = 1; i <= count; ++i)
        titles << QStringLiteral("OSD%1").arg(i);
    return titles;
}

// Every value a record carries, as one comparable text.
QString recordFields(const VideoControlOSD *r)
{
    return QStringLiteral("image %1 size %2x%3 completion %4 length %5 location %6,%7 cut %8,%9 %10x%11 "
                          "enableCut %12 canEnableCut %13 available %14 rgb %15,%16,%17 fill %18 fillOn %19")
        .arg(QString::fromLatin1(r->image().toHex()))
        .arg(r->size().width())
        .arg(r->size().height())
        .arg(r->completionImageWidth())
        .arg(r->OSDFileLength())
        .arg(r->location().x())
        .arg(r->location().y())
        .arg(r->CutImageSize().x())
        .arg(r->CutImageSize().y())
        .arg(r->CutImageSize().width())
        .arg(r->CutImageSize().height())
        .arg(r->IsEnableCutImage())
        .arg(r->IsCanEnableCut())
        .arg(r->IsAvailable())
        .arg(r->red())
        .arg(r->green())
        .arg(r->blue())
        .arg(r->selectColor().name(QColor::HexArgb))
        .arg(r->IsSelectColor());
}

// What an item was before export, to compare with what the import makes of it.
struct Expected
{
    bool isPicture = true;
    QImage loaded;
    QImage shown;
    QPoint location;
    QRect cutRect;
    bool cutView = false;
    QString recordFields;
    QString text;
    QFont font;
    QColor color;
};

} // namespace

class TestExchange : public ExchangeFixture
{
    Q_OBJECT
private slots:
    void importDialog();
    void importCancelChangesNothing();
    void roundTrip_data();
    void roundTrip();
    void importSeveralFilesAppends();
    void importBadFileKeepsWork_data();
    void importBadFileKeepsWork();
    void importEmptyFileWarns_data();
    void importEmptyFileWarns();
    void mismatchedListsWarn();
    void importMoreThanFiftyRecords();
    void importFilesWithoutDialog();
};

void TestExchange::importDialog()
{
    Quillmere w;
    DialogSeen seen;
    answerNextFileDialog({}, &seen);
    TestSupport::pressImportButton(w);
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("导入文件"));
    QCOMPARE(seen.nameFilters,
             (QStringList{"PicFile (*.pic)", "LogoFile (*.logo)", "AllFile (*.pic *.logo)"}));
    QCOMPARE(seen.selectedNameFilter, QStringLiteral("PicFile (*.pic)"));
    QCOMPARE(seen.fileMode, int(QFileDialog::ExistingFiles));
    QCOMPARE(seen.acceptMode, int(QFileDialog::AcceptOpen));
    // The dialog does not stay behind as a child of the window.
    QVERIFY(w.findChildren<QFileDialog *>().isEmpty());
}

void TestExchange::importCancelChangesNothing()
{
    Quillmere w;
    OSDItem *first = addPicture(w, TestSupport::randomPicture(4, 4, 9));
    w.on_notifyAddTable(0);
    OSDItem *second =
        addText(w, TestSupport::randomPicture(3, 3, 10), Qt::blue, QFont(), QStringLiteral("keep"));
    exportTo(w, m_dir.filePath("before-cancel.pic"));
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    const QList<SourceData *> sources = DataMode::getInstance()->getSourcedatList();

    answerNextFileDialog({}, nullptr);
    TestSupport::pressImportButton(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(tabTitles(w), expectedTitles(2));
    QCOMPARE(onlyItem(w, 0), first);
    QCOMPARE(onlyItem(w, 1), second);
    QCOMPARE(TestSupport::tabList(w)->currentIndex(), 1);
    QCOMPARE(DataMode::getInstance()->getOSDInfos(), records);
    QCOMPARE(DataMode::getInstance()->getSourcedatList(), sources);
}

void TestExchange::roundTrip_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QString>("extension");
    QTest::newRow("seed 1 pic") << 1u << ".pic";
    QTest::newRow("seed 2 logo") << 2u << ".logo";
    QTest::newRow("seed 3 pic") << 3u << ".pic";
    QTest::newRow("seed 4 logo") << 4u << ".logo";
}

void TestExchange::roundTrip()
{
    QFETCH(quint32, seed);
    QFETCH(QString, extension);
    QRandomGenerator random(seed);
    const int count = 2 + random.bounded(5);
    QList<Expected> expected;

    Quillmere w;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            w.on_notifyAddTable(0);
        Expected e;
        // The first two items always cover a cut picture shown cut and a text item.
        e.isPicture = i == 0 || (i > 1 && random.bounded(3) != 0);
        const QImage image =
            TestSupport::randomPicture(1 + random.bounded(40), 1 + random.bounded(30), seed * 100 + i);
        OSDItem *item = nullptr;
        if (e.isPicture) {
            item = addPicture(w, image);
            QVERIFY(item);
            if (i == 0 || random.bounded(2)) {
                const int x = random.bounded(image.width());
                const int y = random.bounded(image.height());
                e.cutRect = QRect(x, y, 1 + random.bounded(image.width() - x),
                                  1 + random.bounded(image.height() - y));
                item->slot_applyCutImage(image.copy(e.cutRect), e.cutRect);
            }
            if (i == 0 || random.bounded(2))
                item->slot_selectShowArea();
            e.cutView = item->isShowCutArea();
            e.shown = e.cutView ? image.copy(e.cutRect) : image;
        } else {
            e.text = QStringLiteral("文字 %1").arg(random.bounded(1000));
            e.font = QFont(QStringLiteral("Sans"), 8 + random.bounded(30));
            e.font.setItalic(random.bounded(2));
            e.color = QColor(random.bounded(256), random.bounded(256), random.bounded(256));
            item = addText(w, image, e.color, e.font, e.text);
            QVERIFY(item);
            e.shown = image;
        }
        e.loaded = image;
        const QPointF pos(random.bounded(3000.0) - 500.0, random.bounded(2000.0) - 300.0);
        item->setPos(pos);
        e.location = QPoint(int(pos.x()), int(pos.y()));
        if (random.bounded(2)) {
            // As colour keying leaves it.
            item->videoControlOSD()->setSelectColor(
                QColor(random.bounded(256), random.bounded(256), random.bounded(256)));
            item->videoControlOSD()->setIsSelectColor(random.bounded(2));
        }
        expected.append(e);
    }

    const QString path = m_dir.filePath(QStringLiteral("round%1%2").arg(seed).arg(extension));
    exportTo(w, path);
    QVERIFY(QFileInfo(path).size() > 0);
    // What the export made of the items, one record each.
    QCOMPARE(DataMode::getInstance()->getOSDInfos().size(), count);
    for (int i = 0; i < count; ++i)
        expected[i].recordFields = recordFields(DataMode::getInstance()->getOSDInfos().at(i));

    // Import into a window that holds other work, which the import replaces.
    Quillmere other;
    QVERIFY(addPicture(other, TestSupport::randomPicture(9, 9, 999)));
    other.on_notifyAddTable(0);
    other.on_notifyAddTable(0);
    answerNextFileDialog({path}, nullptr);
    TestSupport::pressImportButton(other);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(tabTitles(other), expectedTitles(count));
    QCOMPARE(TestSupport::tabList(other)->currentIndex(), count - 1);
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    const QList<SourceData *> sources = DataMode::getInstance()->getSourcedatList();
    QCOMPARE(records.size(), count);
    QCOMPARE(sources.size(), count);
    for (int i = 0; i < count; ++i) {
        const Expected &e = expected.at(i);
        const QByteArray row = QByteArray::number(i);
        OSDItem *item = onlyItem(other, i);
        QVERIFY2(item, row);
        QCOMPARE(item->isPicture(), e.isPicture);
        QCOMPARE(item->pos(), QPointF(e.location));
        QVERIFY(!(item->flags() & QGraphicsItem::ItemIsMovable));
        QCOMPARE(item->videoControlOSD(), records.at(i));
        QCOMPARE(item->sourceData(), sources.at(i));

        VideoControlOSD *record = records.at(i);
        QCOMPARE(recordFields(record), e.recordFields);
        QCOMPARE(record->location(), e.location);
        QVERIFY2(samePixels(item->loadedImage(), e.loaded), row);
        QVERIFY2(samePixels(item->pixmap().toImage(), e.shown), row);
        if (e.isPicture) {
            QVERIFY(!sources.at(i));
            QCOMPARE(record->CutImageSize(), e.cutRect);
            QCOMPARE(record->IsCanEnableCut(), e.cutView);
            QCOMPARE(item->isShowCutArea(), e.cutView);
            QVERIFY2(
                samePixels(item->displayImage(), e.cutRect.isNull() ? e.loaded : e.loaded.copy(e.cutRect)),
                row);
        } else {
            QVERIFY(sources.at(i));
            QCOMPARE(sources.at(i)->getContent(), e.text);
            QCOMPARE(sources.at(i)->getTextFont(), e.font);
            QCOMPARE(sources.at(i)->getTextColor(), e.color);
            QVERIFY(!item->isShowCutArea());
        }
    }

    // Imported items answer the window: the cut view of a picture switches its shown image.
    for (int i = 0; i < count; ++i) {
        if (!expected.at(i).isPicture)
            continue;
        TestSupport::tabList(other)->setCurrentIndex(i);
        OSDItem *item = onlyItem(other, i);
        item->slot_selectShowArea();
        const Expected &e = expected.at(i);
        const QImage now = !e.cutView ? (e.cutRect.isNull() ? e.loaded : e.loaded.copy(e.cutRect)) : e.loaded;
        QVERIFY(samePixels(item->pixmap().toImage(), now));
        break;
    }
}

void TestExchange::importSeveralFilesAppends()
{
    Quillmere w;
    addPicture(w, TestSupport::randomPicture(3, 3, 20));
    const QString first = m_dir.filePath("several-a.pic");
    exportTo(w, first);
    A::resetTabs(w);
    addText(w, TestSupport::randomPicture(4, 2, 21), Qt::green, QFont(), QStringLiteral("b1"));
    w.on_notifyAddTable(0);
    addPicture(w, TestSupport::randomPicture(5, 1, 22));
    const QString second = m_dir.filePath("several-b.logo");
    exportTo(w, second);

    Quillmere fresh;
    answerNextFileDialog({first, second}, nullptr, QStringLiteral("AllFile (*.pic *.logo)"));
    TestSupport::pressImportButton(fresh);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(tabTitles(fresh), expectedTitles(3));
    QCOMPARE(onlyItem(fresh, 0)->videoControlOSD()->size(), QSize(3, 3));
    QCOMPARE(onlyItem(fresh, 1)->sourceData()->getContent(), QStringLiteral("b1"));
    QCOMPARE(onlyItem(fresh, 2)->videoControlOSD()->size(), QSize(5, 1));
}

void TestExchange::importBadFileKeepsWork_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("withGoodFile");
    QTest::newRow("garbage") << QByteArray("this is not an OSD file at all") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("garbage after a good file") << QByteArray(4096, '\xff') << true;
}

void TestExchange::importBadFileKeepsWork()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, withGoodFile);
    Quillmere w;
    const QString good = m_dir.filePath(QStringLiteral("good-before-bad-%1.pic").arg(++m_fileCounter));
    OSDItem *first = addPicture(w, TestSupport::randomPicture(4, 4, 30));
    exportTo(w, good);
    w.on_notifyAddTable(0);
    OSDItem *second =
        addText(w, TestSupport::randomPicture(6, 2, 31), Qt::yellow, QFont(), QStringLiteral("work"));
    w.on_notifyAddTable(0);
    A::fillDataModelFromTabs(w);
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    const QList<SourceData *> sources = DataMode::getInstance()->getSourcedatList();
    const int live = SharedRecord::liveCount();

    const QString bad = writeBytes(QStringLiteral("corrupt.pic"), content);
    QVERIFY(!bad.isEmpty());
    QStringList shown;
    answerNextFileDialog(withGoodFile ? QStringList{good, bad} : QStringList{bad}, nullptr,
                         QStringLiteral("AllFile (*.pic *.logo)"));
    TestSupport::answerNextModal(QStringLiteral("OK"), &shown);
    TestSupport::pressImportButton(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(shown.value(0), QStringLiteral("错误提示"));
    QVERIFY2(shown.join('\n').contains(QStringLiteral("corrupt.pic")), qPrintable(shown.join('\n')));
    QCOMPARE(tabTitles(w), expectedTitles(3));
    QCOMPARE(TestSupport::tabList(w)->currentIndex(), 2);
    QCOMPARE(onlyItem(w, 0), first);
    QCOMPARE(onlyItem(w, 1), second);
    QVERIFY(A::scene(w, 2)->items().isEmpty());
    QCOMPARE(DataMode::getInstance()->getOSDInfos(), records);
    QCOMPARE(DataMode::getInstance()->getSourcedatList(), sources);
    QCOMPARE(SharedRecord::liveCount(), live);

    // Nothing of the refused selection is kept for later: a good import still gives just its own.
    answerNextFileDialog({good}, nullptr);
    TestSupport::pressImportButton(w);
    QCOMPARE(tabTitles(w), expectedTitles(1));
}

void TestExchange::importEmptyFileWarns_data()
{
    QTest::addColumn<int>("files");
    QTest::newRow("a file without records keeps the work") << 1;
    QTest::newRow("two files without records keep the work") << 2;
}

void TestExchange::importEmptyFileWarns()
{
    QFETCH(int, files);
    Quillmere empty;
    QStringList paths;
    for (int i = 0; i < files; ++i) {
        paths << m_dir.filePath(QStringLiteral("nothing-%1.pic").arg(++m_fileCounter));
        exportTo(empty, paths.last());
        QVERIFY(QFileInfo::exists(paths.last()));
    }

    Quillmere w;
    OSDItem *first = addPicture(w, TestSupport::randomPicture(4, 4, 40));
    w.on_notifyAddTable(0);
    A::fillDataModelFromTabs(w);
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    const int live = SharedRecord::liveCount();
    QStringList shown;
    answerNextFileDialog(paths, nullptr);
    TestSupport::answerNextModal(QStringLiteral("OK"), &shown);
    TestSupport::pressImportButton(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(shown.value(0), QStringLiteral("错误提示"));
    QVERIFY(shown.contains(QStringLiteral("OSD数据为空或者OSD数据有误,此次导入无效!")));
    // Decided before anything was reset: the tabs, the item and the data model are as they were.
    QCOMPARE(tabTitles(w), expectedTitles(2));
    QCOMPARE(TestSupport::tabList(w)->currentIndex(), 1);
    QCOMPARE(onlyItem(w, 0), first);
    QVERIFY(A::scene(w, 1)->items().isEmpty());
    QCOMPARE(DataMode::getInstance()->getOSDInfos(), records);
    QCOMPARE(DataMode::getInstance()->getSourcedatList(), QList<SourceData *>{nullptr});
    QCOMPARE(SharedRecord::liveCount(), live);
}

void TestExchange::mismatchedListsWarn()
{
    Quillmere w;
    A::resetTabs(w);
    auto *a = new VideoControlOSD;
    auto *b = new VideoControlOSD;
    DataMode::getInstance()->setOSDInfos({a, b});
    DataMode::getInstance()->setSourcedatList({nullptr});
    QStringList shown;
    TestSupport::answerNextModal(QStringLiteral("OK"), &shown);
    A::rebuildFromDataModel(w);
    QVERIFY(shown.contains(QStringLiteral("OSD数据为空或者OSD数据有误,此次导入无效!")));
    QCOMPARE(tabTitles(w), expectedTitles(1));
    QVERIFY(A::scene(w, 0)->items().isEmpty());
}

void TestExchange::importMoreThanFiftyRecords()
{
    const int count = 53;
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    for (int i = 0; i < count; ++i) {
        const QImage image = TestSupport::randomPicture(2, 2, 500 + i);
        auto *record = new VideoControlOSD;
        QByteArray data;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                data.append(char(qBlue(image.pixel(x, y))))
                    .append(char(qGreen(image.pixel(x, y))))
                    .append(char(qRed(image.pixel(x, y))));
        record->setImage(data);
        record->setSize(QSize(2, 2));
        record->setCompletionImageWidth(2);
        record->setOSDFileLength(12);
        record->setLocation(QPoint(i, 2 * i));
        record->setIsAvailable(true);
        records << record;
        sources << nullptr;
    }
    DataMode::getInstance()->setOSDInfos(records);
    DataMode::getInstance()->setSourcedatList(sources);
    const QString path = m_dir.filePath("many.pic");
    QVERIFY(Control::getInstance()->savaOSDfile(path));
    DataMode::getInstance()->clearDataModel();

    Quillmere w;
    answerNextFileDialog({path}, nullptr);
    TestSupport::pressImportButton(w);
    QCOMPARE(tabTitles(w), expectedTitles(count));
    QCOMPARE(onlyItem(w, count - 1)->pos(), QPointF(count - 1, 2 * (count - 1)));

    QStringList shown;
    TestSupport::answerNextModal(QStringLiteral("OK"), &shown);
    w.on_notifyAddTable(0);
    QVERIFY(shown.contains(QStringLiteral("限制OSD数量为50,不能再添加.")));
    QCOMPARE(TestSupport::tabList(w)->count(), count);
}

// As main() does with the files named on the command line: no dialog, the same checks.
void TestExchange::importFilesWithoutDialog()
{
    const QString path = m_dir.filePath(QStringLiteral("given.pic"));
    TestSupport::writeSmallRecords(path, 9);
    Quillmere w;
    w.show();
    QVERIFY(w.importFiles({path}));
    TestSupport::flushDeferredDeletes();
    QCOMPARE(tabTitles(w), expectedTitles(9));
    // Record 3 is a text item, the others pictures; each shows its own picture where it was put.
    QVERIFY(onlyItem(w, 3)->sourceData());
    for (int i : {0, 3, 8}) {
        QCOMPARE(onlyItem(w, i)->pos(), QPointF(i, -i));
        QVERIFY(samePixels(onlyItem(w, i)->image(), TestSupport::recordPicture(i, QSize(32, 8))));
    }
    QVERIFY(!w.hasUnexportedChanges());

    // A file that is not there is named in the warning and leaves the imported tabs.
    QStringList shown;
    TestSupport::answerNextModal(QStringLiteral("OK"), &shown);
    QVERIFY(!w.importFiles({m_dir.filePath(QStringLiteral("missing.pic"))}));
    QVERIFY2(shown.join('\n').contains(QStringLiteral("missing.pic")), qPrintable(shown.join('\n')));
    QCOMPARE(tabTitles(w), expectedTitles(9));
}

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
