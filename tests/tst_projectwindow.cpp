// The whole list as one value and back in another window: after every kind of change the window
// that opens the saved list exports the same file, shows the same tabs and pictures and the same
// keying panel, and starts with a clean, empty history.
#include "core/document/osddocument.h"
#include "mainwindow/quillmere.h"
#include "support/editingsteps.h"
#include "support/importing.h"
#include "support/keyingsupport.h"

#include <QUndoStack>
#include <QtTest>

class TestProjectWindow : public EditingSteps
{
    Q_OBJECT

private slots:
    void savedListOpensAsItWas_data();
    void savedListOpensAsItWas();
    void openingReplacesUnsavedWork();
};

void TestProjectWindow::savedListOpensAsItWas_data()
{
    addStepRows();
}

void TestProjectWindow::savedListOpensAsItWas()
{
    QFETCH(QString, prepare);
    QFETCH(QString, step);

    const QString importPath = m_dir.filePath(QStringLiteral("import%1.pic").arg(++m_fileCounter));
    TestSupport::writeSmallRecords(importPath, 3);
    Quillmere w;
    QVERIFY(startList(w));
    if (!prepare.isEmpty())
        doStep(w, prepare, importPath);
    doStep(w, step, importPath);
    const ProjectState saved = w.projectState();

    Quillmere opened;
    TestSupport::showWindow(opened);
    opened.openProjectState(saved);
    QCOMPARE(titles(opened), titles(w));
    QVERIFY(shown(opened) == shown(w));
    QCOMPARE(panel(opened), panel(w));
    QCOMPARE(itemsAgainstEntries(opened), QString());
    QVERIFY(exported(opened) == exported(w));
    QCOMPARE(opened.undoStack()->count(), 0);
    QVERIFY(!opened.hasUnexportedChanges());
    // The ids stay the saved ones, so a new tab takes an id no saved entry has.
    QCOMPARE(opened.document()->entries().size(), w.document()->entries().size());
    for (int i = 0; i < w.document()->count(); ++i)
        QCOMPARE(opened.document()->at(i)->id, w.document()->at(i)->id);
    opened.on_notifyAddTable(0);
    const int newId = opened.document()->at(opened.document()->count() - 1)->id;
    for (int i = 0; i < w.document()->count(); ++i)
        QVERIFY(w.document()->at(i)->id != newId);
}

void TestProjectWindow::openingReplacesUnsavedWork()
{
    // The history of what was there before cannot reach into the opened list.
    const QString importPath = m_dir.filePath(QStringLiteral("import%1.pic").arg(++m_fileCounter));
    TestSupport::writeSmallRecords(importPath, 3);
    Quillmere source;
    QVERIFY(startList(source));
    doStep(source, QStringLiteral("cut"), importPath);

    Quillmere w;
    QVERIFY(startList(w));
    doStep(w, QStringLiteral("key"), importPath);
    doStep(w, QStringLiteral("add tab"), importPath);
    QVERIFY(w.undoStack()->count() > 0);
    w.openProjectState(source.projectState());
    QVERIFY(!w.undoStack()->canUndo());
    QVERIFY(exported(w) == exported(source));
    doStep(w, QStringLiteral("move"), importPath);
    QVERIFY(w.hasUnexportedChanges());
    w.undoStack()->undo();
    QVERIFY(!w.hasUnexportedChanges());
    QVERIFY(exported(w) == exported(source));
}

QTEST_MAIN(TestProjectWindow)
#include "tst_projectwindow.moc"
