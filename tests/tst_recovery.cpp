// The recovery copy: the work of an editor that did not end cleanly is offered at the next start and
// comes back exactly; a clean exit leaves nothing; two editors never share a copy.
#include "core/document/osddocument.h"
#include "mainwindow/quillmere.h"
#include "mainwindow/recoverykeeper.h"
#include "support/editingsteps.h"
#include "support/importing.h"
#include "support/keyingsupport.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUndoStack>
#include <QtTest>

class TestRecovery : public EditingSteps
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void lostWorkIsOffered_data();
    void lostWorkIsOffered();
    void cleanExitLeavesNothing();
    void twoEditorsKeepTwoCopies();
};

void TestRecovery::initTestCase()
{
    EditingSteps::initTestCase();
    QStandardPaths::setTestModeEnabled(true);
}

void TestRecovery::init()
{
    EditingSteps::init();
    QDir(RecoveryKeeper::folder()).removeRecursively();
}

void TestRecovery::lostWorkIsOffered_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("restored");
    QTest::addColumn<bool>("kept");
    QTest::newRow("restore") << "恢复" << true << false;
    QTest::newRow("discard") << "丢弃" << false << false;
    QTest::newRow("decide later") << "以后再说" << false << true;
}

void TestRecovery::lostWorkIsOffered()
{
    QFETCH(QString, answer);
    QFETCH(bool, restored);
    QFETCH(bool, kept);

    const QString importPath = m_dir.filePath(QStringLiteral("import%1.pic").arg(++m_fileCounter));
    QByteArray lost;
    {
        Quillmere w;
        w.keepRecoveryCopy();
        QVERIFY(startList(w));
        doStep(w, QStringLiteral("key"), importPath);
        doStep(w, QStringLiteral("cut"), importPath);
        // Written in the background within a second, without a flush.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(w.recovery()->fileName()), 5000);
        w.recovery()->flush();
        lost = exported(w);
        // The window goes without a clean exit, as in a crash: its copy stays.
    }
    QCOMPARE(RecoveryKeeper::orphans().size(), 1);

    Quillmere next;
    RecoveryKeeper *keeper = next.keepRecoveryCopy();
    QStringList seen;
    TestSupport::answerNextModal(answer, &seen);
    QCOMPARE(keeper->offerRecovery(), restored);
    QVERIFY(!seen.isEmpty());
    QCOMPARE(RecoveryKeeper::orphans().size(), kept ? 1 : 0);
    if (restored) {
        // Saved nowhere yet, so closing would ask.
        QVERIFY(next.hasUnexportedChanges());
        QVERIFY(exported(next) == lost);
    } else {
        QCOMPARE(next.document()->count(), 1);
    }
}

void TestRecovery::cleanExitLeavesNothing()
{
    const QString importPath = m_dir.filePath(QStringLiteral("import%1.pic").arg(++m_fileCounter));
    Quillmere w;
    w.keepRecoveryCopy();
    QVERIFY(startList(w));
    doStep(w, QStringLiteral("move"), importPath);
    w.recovery()->flush();
    QVERIFY(QFile::exists(w.recovery()->fileName()));
    TestSupport::answerNextModal(QStringLiteral("不导出"));
    w.reject();
    QVERIFY(!QFile::exists(w.recovery()->fileName()));
    QVERIFY(RecoveryKeeper::orphans().isEmpty());
}

void TestRecovery::twoEditorsKeepTwoCopies()
{
    const QString importPath = m_dir.filePath(QStringLiteral("import%1.pic").arg(++m_fileCounter));
    Quillmere first;
    Quillmere second;
    first.keepRecoveryCopy();
    second.keepRecoveryCopy();
    QVERIFY(first.recovery()->fileName() != second.recovery()->fileName());
    QVERIFY(startList(first));
    QVERIFY(startList(second));
    doStep(second, QStringLiteral("move"), importPath);
    first.recovery()->flush();
    second.recovery()->flush();
    // Both editors run: neither copy is offered.
    QVERIFY(RecoveryKeeper::orphans().isEmpty());
    QCOMPARE(QDir(RecoveryKeeper::folder()).entryList({QStringLiteral("*.brisklane")}).size(), 2);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
