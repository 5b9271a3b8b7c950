// The export makes its records from the list's value: for every kind of work the file is the one
// the items' own records gave, and the one a saved project gives through ItemRecords::entryRecord;
// each export's records are freed once the data model lets go of them.
#include "core/document/osddocument.h"
#include "interfaces/device/osdfile.h"
#include "interfaces/model/datamode.h"
#include "interfaces/model/sharedrecord.h"
#include "interfaces/model/videocontrolosd.h"
#include "interfaces/project/projectfile.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/pictures.h"
#include "support/core/projects.h"
#include "support/editingsteps.h"
#include "support/importing.h"
#include "support/keyingsupport.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/styled/checkboxex.h"
#include "widgets/styled/tablewidgetex.h"

#include <QtTest>

using TestSupport::onlyItem;

class TestExportRoads : public EditingSteps
{
    Q_OBJECT

private slots:
    void sameFileOnEveryRoad_data();
    void sameFileOnEveryRoad();
    void exportsFreeTheirRecords();

private:
    // Builds one row's work in w through the window, as the operator does it.
    void makeWork(Quillmere &w, const QString &work);
    // The file the items' own records give, each at its entry's position.
    static QByteArray itemsOwnRecordsFile(Quillmere &w);
    // The file of w's list saved as a project, read back and made through ItemRecords::entryRecord.
    QByteArray reopenedProjectFile(Quillmere &w);
};

void TestExportRoads::makeWork(Quillmere &w, const QString &work)
{
    const QString importPath = m_dir.filePath(QStringLiteral("work%1.pic").arg(++m_fileCounter));
    auto picture = [&] { QVERIFY(addPicture(w, TestSupport::randomPicture(24, 16, 5))); };
    if (work == QLatin1String("picture")) {
        picture();
        onlyItem(w, 0)->setPos(QPointF(5.7, -3.2));
    } else if (work == QLatin1String("keyed, fill on")) {
        picture();
        doStep(w, QStringLiteral("key"), importPath);
    } else if (work == QLatin1String("keyed, fill off")) {
        picture();
        doStep(w, QStringLiteral("key"), importPath);
        TestSupport::propertyPanel(w)->selectColorCheck()->setChecked(false);
    } else if (work == QLatin1String("cut, view on") || work == QLatin1String("cut, view off")) {
        picture();
        doStep(w, QStringLiteral("cut"), importPath);
        w.slot_getIsDisPlayImg(work.endsWith(QLatin1String("on")));
    } else if (work == QLatin1String("text")) {
        QImage rendered = TestSupport::patternPicture(8, 3);
        w.on_exportTextImage(&rendered, Qt::yellow, QFont(QStringLiteral("Sans"), 17),
                             QStringLiteral("文字"));
    } else if (work == QLatin1String("imported") || work == QLatin1String("imported, keyed again")) {
        // Four records, the last a text.
        TestSupport::writeSmallRecords(importPath, 4);
        TestSupport::importFile(w, importPath);
        if (work.endsWith(QLatin1String("again"))) {
            TestSupport::tabList(w)->setCurrentIndex(1);
            doStep(w, QStringLiteral("key"), importPath);
        }
    } else if (work == QLatin1String("keyed, then reset")) {
        picture();
        doStep(w, QStringLiteral("key"), importPath);
        doStep(w, QStringLiteral("reset"), importPath);
    } else if (work == QLatin1String("translucent PNG")) {
        QImage translucent = TestSupport::randomPicture(9, 7, 11).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < translucent.height(); ++y)
            translucent.setPixel(0, y, qRgba(200, 100, 50, 40 * y));
        QVERIFY(addPicture(w, translucent));
    } else if (work == QLatin1String("tabs with empty ones between")) {
        picture();
        doStep(w, QStringLiteral("key"), importPath);
        doStep(w, QStringLiteral("cut"), importPath);
        w.on_notifyAddTable(0);
        w.on_notifyAddTable(0);
        QImage rendered = TestSupport::patternPicture(6, 5);
        w.on_exportTextImage(&rendered, Qt::green, QFont(), QStringLiteral("t"));
        w.on_notifyAddTable(0);
        QVERIFY(addPicture(w, TestSupport::randomPicture(7, 9, 6)));
    } else if (work == QLatin1String("moved after an export")) {
        picture();
        exported(w);
        onlyItem(w, 0)->setPos(QPointF(40, 12));
    } else {
        QFAIL(qPrintable(work));
    }
}

QByteArray TestExportRoads::itemsOwnRecordsFile(Quillmere &w)
{
    QList<VideoControlOSD *> records;
    QList<SourceData *> sources;
    for (int i = 0; i < TestSupport::tabList(w)->count(); ++i) {
        OSDItem *item = onlyItem(w, i);
        if (!item || !item->videoControlOSD())
            continue;
        item->videoControlOSD()->setLocation(w.document()->at(i)->position);
        records << item->videoControlOSD();
        sources << item->sourceData();
    }
    QByteArray bytes;
    OsdFileError error;
    return OsdFile::encode(records, sources, &bytes, &error) ? bytes : QByteArray(error.message().toUtf8());
}

QByteArray TestExportRoads::reopenedProjectFile(Quillmere &w)
{
    const QString path = m_dir.filePath(QStringLiteral("work%1.brisklane").arg(++m_fileCounter));
    ProjectFile::Error error;
    ProjectState reopened;
    if (!ProjectFile().save(path, w.projectState(), &error) || !ProjectFile().load(path, &reopened, &error))
        return error.message().toUtf8();
    return Projects::osdFileOf(reopened);
}

void TestExportRoads::sameFileOnEveryRoad_data()
{
    QTest::addColumn<QString>("work");
    QTest::addColumn<int>("records");
    QTest::newRow("a picture, moved") << "picture" << 1;
    QTest::newRow("keyed, fill on") << "keyed, fill on" << 1;
    QTest::newRow("keyed, fill off") << "keyed, fill off" << 1;
    QTest::newRow("cut, view on") << "cut, view on" << 1;
    QTest::newRow("cut, view off") << "cut, view off" << 1;
    QTest::newRow("text") << "text" << 1;
    QTest::newRow("imported records") << "imported" << 4;
    QTest::newRow("imported record keyed again") << "imported, keyed again" << 4;
    QTest::newRow("keyed, then reset") << "keyed, then reset" << 1;
    QTest::newRow("translucent PNG") << "translucent PNG" << 1;
    QTest::newRow("tabs with empty ones between") << "tabs with empty ones between" << 3;
    QTest::newRow("moved after an export") << "moved after an export" << 1;
}

void TestExportRoads::sameFileOnEveryRoad()
{
    QFETCH(QString, work);
    QFETCH(int, records);
    Quillmere w;
    TestSupport::showWindow(w);
    makeWork(w, work);
    if (QTest::currentTestFailed())
        return;

    // The project first: saved work need not have been exported since its last change.
    const QByteArray project = reopenedProjectFile(w);
    const QByteArray file = exported(w);
    QCOMPARE(DataMode::getInstance()->getOSDInfos().size(), records);
    QVERIFY(file == project);
    // Last: it writes the entries' positions into the items' records, as exports once did.
    QVERIFY(file == itemsOwnRecordsFile(w));
}

void TestExportRoads::exportsFreeTheirRecords()
{
    Quillmere w;
    QVERIFY(addPicture(w, TestSupport::randomPicture(6, 4, 1)));
    w.on_notifyAddTable(0);
    QImage rendered = TestSupport::patternPicture(5, 3);
    w.on_exportTextImage(&rendered, Qt::red, QFont(), QStringLiteral("x"));
    const int live = SharedRecord::liveCount();

    // Two records and the text's source, held by the data model alone.
    exported(w);
    const QList<VideoControlOSD *> first = DataMode::getInstance()->getOSDInfos();
    QCOMPARE(first.size(), 2);
    QVERIFY(!first.contains(onlyItem(w, 0)->videoControlOSD()));
    QCOMPARE(first.at(1)->holderCount(), 1);
    QCOMPARE(SharedRecord::liveCount(), live + 3);
    // The next export replaces them: nothing piles up export after export.
    exported(w);
    exported(w);
    QCOMPARE(SharedRecord::liveCount(), live + 3);
    DataMode::getInstance()->clearDataModel();
    QCOMPARE(SharedRecord::liveCount(), live);
}

QTEST_MAIN(TestExportRoads)
#include "tst_exportroads.moc"
