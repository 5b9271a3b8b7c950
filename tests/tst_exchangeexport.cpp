// Export of the tabs into OSD files, driven through the window's slots and real file dialogs: the
// dialog, the file's location fields, empty tabs, cancelling and failure.
#include "interfaces/model/datamode.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/core/filesizelimit.h"
#include "support/core/pictures.h"
#include "support/exchangefixture.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/styled/custommegbox.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using A = QuillmereTestAccess;
using DialogSeen = TestSupport::FileDialogSeen;
using TestSupport::answerNextFileDialog;

class TestExchangeExport : public ExchangeFixture
{
    Q_OBJECT
private slots:
    void exportDialogAndFile();
    void exportLocationTruncates_data();
    void exportLocationTruncates();
    void exportSkipsEmptyTabs();
    void exportCancelledStillFillsDataModel();
    void exportSecondFilterKeepsTypedName();
    void exportFailureIsReported_data();
    void exportFailureIsReported();
};

void TestExchangeExport::exportDialogAndFile()
{
    Quillmere w;
    QVERIFY(addPicture(w, TestSupport::randomPicture(6, 3, 1)));
    const QString path = m_dir.filePath("dialog.pic");
    DialogSeen seen;
    answerNextFileDialog({path}, &seen);
    w.slot_outputButten();
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("导出文件"));
    QCOMPARE(seen.nameFilters, (QStringList{"PicFile (*.pic)", "LogoFile (*.logo)"}));
    QCOMPARE(seen.selectedNameFilter, QStringLiteral("PicFile (*.pic)"));
    QCOMPARE(seen.acceptMode, int(QFileDialog::AcceptSave));
    QVERIFY(QFileInfo(path).size() > 0);
    // A note, which does not stop the work, says how many items went where.
    auto *note = w.findChild<CustomMegBox *>(QStringLiteral("exportedNote"));
    QVERIFY(note && note->isVisible() && !note->isModal());
    const QString said = TestSupport::labelTexts(note).join('\n');
    QVERIFY2(said.contains(QStringLiteral("1 个OSD")) && said.contains(QDir::toNativeSeparators(path)),
             qPrintable(said));
}

void TestExchangeExport::exportLocationTruncates_data()
{
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<QPoint>("location");
    QTest::newRow("positive x, negative y") << QPointF(10.9, -3.7) << QPoint(10, -3);
    QTest::newRow("small fractions") << QPointF(-0.5, 0.99) << QPoint(0, 0);
    QTest::newRow("large") << QPointF(2999.999, -2999.01) << QPoint(2999, -2999);
    QTest::newRow("whole") << QPointF(4, 5) << QPoint(4, 5);
}

void TestExchangeExport::exportLocationTruncates()
{
    QFETCH(QPointF, pos);
    QFETCH(QPoint, location);
    Quillmere w;
    OSDItem *item = addPicture(w, TestSupport::randomPicture(4, 4, 2));
    QVERIFY(item);
    item->setPos(pos);
    exportTo(w, m_dir.filePath(QStringLiteral("location-%1.pic").arg(++m_fileCounter)));
    QCOMPARE(DataMode::getInstance()->getOSDInfos().value(0)->location(), location);
}

void TestExchangeExport::exportSkipsEmptyTabs()
{
    Quillmere w;
    OSDItem *first = addPicture(w, TestSupport::randomPicture(3, 3, 3));
    w.on_notifyAddTable(0);
    w.on_notifyAddTable(0);
    OSDItem *third =
        addText(w, TestSupport::randomPicture(5, 2, 4), Qt::red, QFont(), QStringLiteral("third"));
    w.on_notifyAddTable(0);
    OSDItem *fourth = addPicture(w, TestSupport::randomPicture(2, 7, 5));
    QVERIFY(first && third && fourth);
    // The second tab is empty.
    QVERIFY(A::scene(w, 1)->items().isEmpty());
    // A tab whose item has been deleted contributes nothing either.
    TestSupport::tabList(w)->setCurrentIndex(3);
    w.slot_deleteItem();

    exportTo(w, m_dir.filePath("gaps.pic"));
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    const QList<SourceData *> sources = DataMode::getInstance()->getSourcedatList();
    QCOMPARE(records.size(), 2);
    QCOMPARE(records.at(0)->image(), first->videoControlOSD()->image());
    QCOMPARE(records.at(1)->image(), third->videoControlOSD()->image());
    QCOMPARE(sources.size(), 2);
    QVERIFY(!sources.at(0));
    QVERIFY(sources.at(1));
    QCOMPARE(sources.at(1)->getContent(), QStringLiteral("third"));
}

void TestExchangeExport::exportCancelledStillFillsDataModel()
{
    Quillmere w;
    OSDItem *item = addPicture(w, TestSupport::randomPicture(4, 2, 6));
    QVERIFY(item);
    item->setPos(3.5, 8.2);
    const QString path = m_dir.filePath("never.pic");
    DialogSeen seen;
    answerNextFileDialog({}, &seen);
    w.slot_outputButten();
    QVERIFY(seen.seen);
    QVERIFY(!QFileInfo::exists(path));
    const QList<VideoControlOSD *> records = DataMode::getInstance()->getOSDInfos();
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.at(0)->image(), item->videoControlOSD()->image());
    QCOMPARE(records.at(0)->location(), QPoint(3, 8));
    QCOMPARE(DataMode::getInstance()->getSourcedatList(), QList<SourceData *>{nullptr});
}

void TestExchangeExport::exportSecondFilterKeepsTypedName()
{
    Quillmere w;
    QVERIFY(addPicture(w, TestSupport::randomPicture(4, 2, 7)));
    const QString path = m_dir.filePath("no_extension");
    answerNextFileDialog({path}, nullptr, QStringLiteral("LogoFile (*.logo)"));
    w.slot_outputButten();
    QVERIFY(QFileInfo(path).isFile());
    QVERIFY(!QFileInfo::exists(path + ".logo"));
    QVERIFY(!QFileInfo::exists(path + ".pic"));
}

void TestExchangeExport::exportFailureIsReported_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<int>("sizeLimit");
    QTest::newRow("missing folder") << "missing/folder/out.pic" << 0;
    QTest::newRow("folder is a file") << "plainfile.txt/out.pic" << 0;
    // The file is smaller than one write buffer: only the last flush reaches the limit.
    QTest::newRow("over an earlier file under a file-size limit") << "earlier.pic" << 4096;
}

void TestExchangeExport::exportFailureIsReported()
{
    QFETCH(QString, relativePath);
    QFETCH(int, sizeLimit);
    QVERIFY(!writeBytes("plainfile.txt", "not a folder").isEmpty());
    const QByteArray earlier = "an earlier export";
    if (sizeLimit > 0)
        QVERIFY(!writeBytes(relativePath, earlier).isEmpty());
    Quillmere w;
    QVERIFY(addPicture(w, TestSupport::randomPicture(60, 40, 8)));
    const QString path = m_dir.filePath(relativePath);
    QStringList shown;
    answerNextFileDialog({path}, nullptr);
    // The file dialog asks first whether the earlier file may be replaced.
    if (sizeLimit > 0)
        TestSupport::answerNextModal(QStringLiteral("&Yes"));
    TestSupport::answerNextModal(QStringLiteral("OK"), &shown);
    {
        std::unique_ptr<TestSupport::FileSizeLimit> limit;
        if (sizeLimit > 0) {
            limit = std::make_unique<TestSupport::FileSizeLimit>(sizeLimit);
            if (!limit->isSet())
                QSKIP("no file-size limit on this system");
        }
        w.slot_outputButten();
    }
    QCOMPARE(shown.value(0), QStringLiteral("错误提示"));
    const QString said = shown.join('\n');
    QVERIFY2(said.contains(QStringLiteral("文件未导出")) && said.contains(QFileInfo(path).fileName()),
             qPrintable(said));
    if (sizeLimit > 0) {
        QVERIFY2(said.contains(TestSupport::FileSizeLimit::reason()), qPrintable(said));
        QCOMPARE(QFileInfo(path).size(), qint64(earlier.size()));
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("earlier.pic*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("earlier.pic")});
    } else {
        QVERIFY(!QFileInfo(path).isFile());
    }
}

QTEST_MAIN(TestExchangeExport)
#include "tst_exchangeexport.moc"
