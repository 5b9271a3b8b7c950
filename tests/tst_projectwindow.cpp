// Project files in the window: after every kind of change the window that opens the saved project
// exports the same file, shows the same tabs, pictures and keying panel, and starts with a clean,
// empty history; saving, opening and closing ask what an operator expects and lose nothing.
#include "core/document/osddocument.h"
#include "core/settings/config.h"
#include "interfaces/project/projectfile.h"
#include "mainwindow/projectcontroller.h"
#include "mainwindow/quillmere.h"
#include "support/editingsteps.h"
#include "support/importing.h"
#include "support/keyingsupport.h"
#include "support/testsupport.h"

#include <QFile>
#include <QMenu>
#include <QUndoStack>
#include <QtTest>

class TestProjectWindow : public EditingSteps
{
    Q_OBJECT

private slots:
    void savedListOpensAsItWas_data();
    void savedListOpensAsItWas();
    void openingReplacesUnsavedWork();
    void saveMarksAndNamesTheProject();
    void unsavedWorkIsOfferedForSaving_data();
    void unsavedWorkIsOfferedForSaving();
    void refusedProjectLeavesTheWork();
    void recentProjectsKeepTheirLimit_data();
    void recentProjectsKeepTheirLimit();

private:
    QString projectPath() { return m_dir.filePath(QStringLiteral("p%1.brisklane").arg(++m_fileCounter)); }
    // Saves w's project through the menu's Save As and its file dialog.
    void saveAsThroughDialog(Quillmere &w, const QString &path);
};

void TestProjectWindow::saveAsThroughDialog(Quillmere &w, const QString &path)
{
    TestSupport::answerNextFileDialog({path});
    QVERIFY(w.project()->saveAs());
    QVERIFY(QFile::exists(path));
}

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
    const QString path = projectPath();
    saveAsThroughDialog(w, path);

    Quillmere opened;
    TestSupport::showWindow(opened);
    QString error;
    QVERIFY2(opened.project()->load(path, &error), qPrintable(error));
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

void TestProjectWindow::saveMarksAndNamesTheProject()
{
    const QString importPath = m_dir.filePath(QStringLiteral("import%1.pic").arg(++m_fileCounter));
    Quillmere w;
    QVERIFY(startList(w));
    QVERIFY(w.hasUnexportedChanges());
    const QString path = projectPath();
    saveAsThroughDialog(w, path);
    const QString name = QFileInfo(path).fileName();
    QVERIFY(w.windowTitle().startsWith(name + QStringLiteral("[*] \u2014 Brisklane ")));
    QVERIFY(!w.isWindowModified());
    QVERIFY(!w.hasUnexportedChanges());

    doStep(w, QStringLiteral("move"), importPath);
    QVERIFY(w.isWindowModified());
    // Save goes to the project's file without asking for a name.
    QVERIFY(w.project()->save());
    QVERIFY(!w.isWindowModified());
    ProjectFile file;
    ProjectState saved;
    ProjectFile::Error error;
    QVERIFY2(file.load(path, &saved, &error), qPrintable(error.message()));
    QCOMPARE(saved.entries.at(0).entry.position, w.document()->at(0)->position);
    // The picture keeps the bytes of the file it came from.
    QVERIFY(!saved.entries.at(0).entry.original.isEmpty());
    QCOMPARE(saved.entries.at(0).entry.original, w.document()->at(0)->original);

    // Undo back to the saved point clears the mark again.
    doStep(w, QStringLiteral("move"), importPath);
    QVERIFY(w.isWindowModified());
    w.undoStack()->undo();
    QVERIFY(!w.isWindowModified());
}

void TestProjectWindow::unsavedWorkIsOfferedForSaving_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("workReplaced");
    QTest::newRow("open, save first") << "open"
                                      << "保存" << true << true;
    QTest::newRow("open, do not save") << "open"
                                       << "不保存" << false << true;
    QTest::newRow("open, cancel") << "open"
                                  << "取消" << false << false;
    QTest::newRow("close, save") << "close"
                                 << "保存" << true << true;
    QTest::newRow("close, do not save") << "close"
                                        << "不保存" << false << true;
    QTest::newRow("close, cancel") << "close"
                                   << "取消" << false << false;
}

void TestProjectWindow::unsavedWorkIsOfferedForSaving()
{
    QFETCH(QString, action);
    QFETCH(QString, answer);
    QFETCH(bool, saved);
    QFETCH(bool, workReplaced);

    const QString importPath = m_dir.filePath(QStringLiteral("import%1.pic").arg(++m_fileCounter));
    Quillmere w;
    QVERIFY(startList(w));
    const QString path = projectPath();
    QVERIFY(w.project()->saveTo(path));
    // Another project to open: the same list without the cut to come.
    const QString otherPath = projectPath();
    ProjectFile::Error error;
    QVERIFY(ProjectFile().save(otherPath, w.projectState(), &error));
    const QByteArray savedBytes = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    // The unsaved work: a cut (an export would count as saving it).
    doStep(w, QStringLiteral("cut"), importPath);
    const QRect cut = w.document()->at(0)->cut;
    QVERIFY(!cut.isNull());

    QStringList seen;
    TestSupport::answerNextModal(answer, &seen);
    if (action == QLatin1String("open")) {
        TestSupport::FileDialogSeen dialog;
        if (answer != QStringLiteral("取消"))
            TestSupport::answerNextFileDialog({otherPath}, &dialog);
        w.project()->open();
        QCOMPARE(dialog.seen, answer != QStringLiteral("取消"));
        QVERIFY2(seen.contains(QStringLiteral("当前的OSD内容已修改但尚未保存,是否先保存工程?")),
                 qPrintable(seen.join("|")));
        QCOMPARE(w.document()->at(0)->cut.isNull(), workReplaced);
    } else if (action == QLatin1String("import")) {
        TestSupport::writeSmallRecords(importPath, 3);
        if (answer != QStringLiteral("取消"))
            TestSupport::answerNextFileDialog({importPath});
        w.slot_inputButten();
        QVERIFY(seen.contains(QStringLiteral("当前的OSD内容已修改但尚未保存,是否先保存工程?")));
        QCOMPARE(w.document()->at(0)->cut.isNull(), workReplaced);
        // The work is the imported file's now, no longer the project's.
        QCOMPARE(w.project()->fileName().isEmpty(), workReplaced);
    } else {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.close();
        QVERIFY(seen.contains(
            QStringLiteral("工程 %1 已修改但尚未保存,是否先保存?").arg(QFileInfo(path).fileName())));
        QCOMPARE(!w.isVisible(), workReplaced);
    }
    if (!workReplaced)
        QCOMPARE(w.document()->at(0)->cut, cut);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll() != savedBytes, saved);
}

void TestProjectWindow::refusedProjectLeavesTheWork()
{
    Quillmere w;
    QVERIFY(startList(w));
    const QByteArray before = exported(w);
    const QString bad = writeBytes(QStringLiteral("bad.brisklane"), QByteArray("not a project at all"));
    QStringList seen;
    TestSupport::answerNextModal(QStringLiteral("OK"), &seen);
    QVERIFY(!w.openFiles({bad}));
    QVERIFY(seen.join(QLatin1Char(' ')).contains(QStringLiteral("bad.brisklane")));
    QVERIFY(exported(w) == before);
    QVERIFY(w.project()->fileName().isEmpty());
}

void TestProjectWindow::recentProjectsKeepTheirLimit_data()
{
    QTest::addColumn<int>("saves");
    // The default limit of ten, below it, at it and beyond it.
    QTest::newRow("9 projects") << 9;
    QTest::newRow("10 projects") << 10;
    QTest::newRow("11 projects") << 11;
}

void TestProjectWindow::recentProjectsKeepTheirLimit()
{
    QFETCH(int, saves);
    QTemporaryDir settings;
    Quillmere w;
    w.setSettingsFolder(settings.path());
    QVERIFY(startList(w));
    {
        // The text window's own name in the same list stays.
        Config config(settings.path());
        config.recentFiles = QStringList{QStringLiteral("文本编辑")};
        config.save();
    }
    QStringList paths;
    for (int i = 0; i < saves; ++i) {
        paths.prepend(QFileInfo(projectPath()).absoluteFilePath());
        QVERIFY(w.project()->saveTo(paths.first()));
    }
    QCOMPARE(w.project()->recentProjects(), paths.mid(0, 10));
    QVERIFY(Config(settings.path()).recentFiles.contains(QStringLiteral("文本编辑")));
    // The menu lists them after its three commands and a separator, filled as it opens.
    QMenu *menu = w.project()->menu();
    emit menu->aboutToShow();
    QStringList entries;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions)
        entries << action->text();
    QCOMPARE(entries.size(), 4 + qMin(saves, 10));
    QVERIFY(entries.contains(QDir::toNativeSeparators(paths.first())));
    QCOMPARE(entries.contains(QDir::toNativeSeparators(paths.last())), saves <= 10);
}

QTEST_MAIN(TestProjectWindow)
#include "tst_projectwindow.moc"
