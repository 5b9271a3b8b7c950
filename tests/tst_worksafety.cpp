// Nothing the operator made goes without being asked: closing the window with unexported work,
// remove-all, reset and closing a tab ask first, and Enter never gives the destructive answer.
#include "interfaces/model/videocontrolosd.h"
#include "mainwindow/quillmere.h"
#include "osditem/osditem.h"
#include "support/importing.h"
#include "support/quillmereaccess.h"
#include "support/testsupport.h"
#include "support/windowparts.h"
#include "widgets/doubleslider.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <optional>

using A = QuillmereTestAccess;

namespace {
const QString kCloseQuestion = QStringLiteral("OSD内容已修改但尚未导出,是否先导出?");

// A text item whose pixels of red 20 a red range of 0-100 keys away.
OSDItem *addTextItem(Quillmere &w)
{
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(QColor(200, 50, 50));
    image.setPixelColor(1, 1, QColor(20, 50, 50));
    w.on_exportTextImage(&image, Qt::black, QFont(), QStringLiteral("text"));
    const QList<OSDItem *> items = A::currentItems(w);
    return items.size() == 1 ? items.first() : nullptr;
}

void closeBy(Quillmere &w, const QString &way)
{
    if (way == QLatin1String("Escape"))
        QTest::keyClick(&w, Qt::Key_Escape);
    else if (way == QLatin1String("reject()"))
        w.reject();
    else if (way == QLatin1String("close()"))
        w.close();
    else // The window system's close, as from the title bar, Alt+F4 or the session's end.
        w.windowHandle()->close();
}
} // namespace

class TestWorkSafety : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void closeAsksOnlyWithUnexportedWork_data();
    void closeAsksOnlyWithUnexportedWork();
    void destructiveQuestionsKeepTheWork_data();
    void destructiveQuestionsKeepTheWork();
    void everyChangeIsUnexportedUntilExportOrImport_data();
    void everyChangeIsUnexportedUntilExportOrImport();

private:
    QTemporaryDir m_dir;
};

void TestWorkSafety::initTestCase()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    TestSupport::failOnQtWarnings();
    QVERIFY(m_dir.isValid());
}

void TestWorkSafety::closeAsksOnlyWithUnexportedWork_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("work");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("stays");
    for (const char *way : {"Escape", "reject()", "close()", "window manager"})
        QTest::addRow("%s with nothing unexported closes at once", way) << way << false << ""
                                                                        << "" << false;
    QTest::newRow("Escape with unexported work, answered 取消, stays") << "Escape" << true << "取消"
                                                                       << "" << true;
    QTest::newRow("reject() with unexported work, answered 不导出, closes") << "reject()" << true << "不导出"
                                                                            << "" << false;
    QTest::newRow("close() answered 导出 writes the file, then closes") << "close()" << true << "导出"
                                                                        << "ok.pic" << false;
    QTest::newRow("window manager answered 导出 with the save dialog cancelled stays")
        << "window manager" << true << "导出"
        << "" << true;
    QTest::newRow("close() answered 导出 into a missing folder stays") << "close()" << true << "导出"
                                                                       << "missing/out.pic" << true;
    QTest::newRow("Escape on the question box stays") << "window manager" << true << "Escape key"
                                                      << "" << true;
    QTest::newRow("Enter on the question box stays") << "close()" << true << "Enter key"
                                                     << "" << true;
    QTest::newRow("closing the question box stays") << "Escape" << true << "close box"
                                                    << "" << true;
}

void TestWorkSafety::closeAsksOnlyWithUnexportedWork()
{
    QFETCH(QString, way);
    QFETCH(bool, work);
    QFETCH(QString, reply);
    QFETCH(QString, saveAs);
    QFETCH(bool, stays);
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (work)
        QVERIFY(addTextItem(w));

    // Without work a question must not come; should one come all the same, it is counted and
    // answered instead of blocking the test.
    std::optional<TestSupport::ModalCounter> unexpected;
    QStringList seen;
    const QString path = saveAs.isEmpty() ? QString() : m_dir.filePath(saveAs);
    if (!work) {
        unexpected.emplace(QStringLiteral("取消"));
    } else {
        TestSupport::replyToNextModal(reply, &seen);
        if (reply == QStringLiteral("导出"))
            TestSupport::answerNextFileDialogWithFile(path);
        if (saveAs.contains(QLatin1Char('/')))
            TestSupport::answerNextModal(QStringLiteral("OK"));
    }
    closeBy(w, way);

    QCOMPARE(w.isVisible(), stays);
    QCOMPARE(unexpected ? unexpected->count() : 0, 0);
    if (work) {
        QCOMPARE(seen.value(0), QStringLiteral("提示"));
        QVERIFY2(seen.contains(kCloseQuestion), qPrintable(seen.join('|')));
    }
    QCOMPARE(QFileInfo(path).size() > 0, !path.isEmpty() && !stays);
}

void TestWorkSafety::destructiveQuestionsKeepTheWork_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("question");
    QTest::newRow("Enter on closing a tab keeps it") << "close tab"
                                                     << "Enter key"
                                                     << "是否要删除OSD2 ?";
    QTest::newRow("Enter on remove-all keeps the tabs") << "remove all"
                                                        << "Enter key"
                                                        << "是否要删除全部OSD ?";
    QTest::newRow("Enter on the clear button keeps the tabs") << "clear"
                                                              << "Enter key"
                                                              << "是否要删除全部OSD ?";
    QTest::newRow("Enter on reset keeps the keyed pixels") << "reset"
                                                           << "Enter key"
                                                           << "是否要复位OSD2 ?";
    QTest::newRow("Enter on closing the window keeps it open") << "close window"
                                                               << "Enter key" << kCloseQuestion;
    QTest::newRow("否 on remove-all keeps the tabs") << "remove all"
                                                     << "否"
                                                     << "是否要删除全部OSD ?";
    QTest::newRow("否 on reset keeps the keyed pixels") << "reset"
                                                        << "否"
                                                        << "是否要复位OSD2 ?";
}

void TestWorkSafety::destructiveQuestionsKeepTheWork()
{
    QFETCH(QString, action);
    QFETCH(QString, reply);
    QFETCH(QString, question);
    Quillmere w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    OSDItem *first = addTextItem(w);
    w.on_notifyAddTable(0);
    OSDItem *second = addTextItem(w);
    QVERIFY(first && second);
    TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(100);
    QCOMPARE(second->image().pixelColor(1, 1), QColor(0, 0, 0));
    const QImage keyed = second->image();
    const QByteArray recordPixels = second->videoControlOSD()->image();

    QStringList seen;
    TestSupport::replyToNextModal(reply, &seen);
    if (action == QLatin1String("close tab"))
        w.on_removeTable(1);
    else if (action == QLatin1String("remove all"))
        w.slot_removeAllTable();
    else if (action == QLatin1String("clear"))
        w.slot_createButten();
    else if (action == QLatin1String("reset"))
        w.slot_Resetbutton();
    else
        w.close();

    QVERIFY2(seen.contains(question), qPrintable(seen.join('|')));
    QVERIFY(w.isVisible());
    QCOMPARE(TestSupport::tabList(w)->count(), 2);
    QCOMPARE(A::scene(w, 0)->items(), QList<QGraphicsItem *>{first});
    QCOMPARE(A::scene(w, 1)->items(), QList<QGraphicsItem *>{second});
    QCOMPARE(second->image(), keyed);
    QCOMPARE(second->videoControlOSD()->image(), recordPixels);
    QCOMPARE(TestSupport::propertyPanel(w)->slider(0)->maxValue(), 100);
}

void TestWorkSafety::everyChangeIsUnexportedUntilExportOrImport_data()
{
    QTest::addColumn<QString>("change");
    for (const char *change : {"adding a tab", "closing a tab", "adding a text item", "deleting the item",
                               "keying", "applying a cut", "switching the cut view", "remove-all", "reset"})
        QTest::addRow("%s leaves work unexported", change) << change;
}

void TestWorkSafety::everyChangeIsUnexportedUntilExportOrImport()
{
    QFETCH(QString, change);
    Quillmere w;
    QVERIFY(!w.hasUnexportedChanges());
    QVERIFY(addTextItem(w));
    w.on_notifyAddTable(0);
    w.on_notifyAddTable(0);
    TestSupport::tabList(w)->setCurrentIndex(0);
    if (change == QLatin1String("reset"))
        TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(100);
    const QString path = m_dir.filePath(change + QStringLiteral(".pic"));

    // Neither a cancelled nor a failed export counts as exported.
    TestSupport::answerNextFileDialogWithFile(QString());
    w.slot_outputButten();
    TestSupport::answerNextFileDialogWithFile(m_dir.filePath(QStringLiteral("missing/x.pic")));
    TestSupport::answerNextModal(QStringLiteral("OK"));
    w.slot_outputButten();
    QVERIFY(w.hasUnexportedChanges());
    TestSupport::answerNextFileDialogWithFile(path);
    w.slot_outputButten();
    QVERIFY(!w.hasUnexportedChanges());

    const QImage cut(2, 2, QImage::Format_RGB32);
    if (change == QLatin1String("adding a tab")) {
        w.on_notifyAddTable(0);
    } else if (change == QLatin1String("closing a tab")) {
        TestSupport::answerNextModal(QStringLiteral("是"));
        w.on_removeTable(2);
    } else if (change == QLatin1String("adding a text item")) {
        TestSupport::tabList(w)->setCurrentIndex(1);
        QVERIFY(addTextItem(w));
    } else if (change == QLatin1String("deleting the item")) {
        w.slot_deleteItem();
    } else if (change == QLatin1String("keying")) {
        TestSupport::propertyPanel(w)->slider(0)->moveMaxHandle(100);
    } else if (change == QLatin1String("applying a cut")) {
        // As the cut panel's apply does: the item takes the window, then the window hears of it.
        A::currentItems(w).first()->setCut(QRect(0, 0, 2, 2));
        w.slot_updateImgOfView(cut, QRect(0, 0, 2, 2));
    } else if (change == QLatin1String("switching the cut view")) {
        w.slot_getIsDisPlayImg(true);
    } else if (change == QLatin1String("remove-all")) {
        TestSupport::answerNextModal(QStringLiteral("是"));
        w.slot_removeAllTable();
    } else {
        TestSupport::answerNextModal(QStringLiteral("是"));
        TestSupport::answerNextModal(QStringLiteral("OK"));
        w.slot_Resetbutton();
    }
    QVERIFY(w.hasUnexportedChanges());

    TestSupport::answerNextFileDialogWithFile(path);
    TestSupport::pressImportButton(w);
    QCOMPARE(TestSupport::tabList(w)->count(), 1);
    QVERIFY(!w.hasUnexportedChanges());
}

QTEST_MAIN(TestWorkSafety)
#include "tst_worksafety.moc"
