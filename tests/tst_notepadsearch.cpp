// The editor's search, replace, go-to-line, delete and case conversion.
#include "core/settings/config.h"
#include "support/notepadediting.h"
#include "support/notepadfixture.h"
#include "textexport/notepad.h"

#include <QtTest>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using TestSupport::documentText;
using TestSupport::placeCursor;
using TestSupport::select;

namespace {

// Ends the process if the guarded code has not finished after a generous time, so a loop that
// never ends fails the test run instead of hanging it.
class Watchdog
{
public:
    explicit Watchdog(const char *what, int seconds = 60)
        : m_thread([this, what, seconds] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (!m_finishedChanged.wait_for(lock, std::chrono::seconds(seconds),
                                              [this] { return m_finished; }))
                  qFatal("%s did not finish", what);
          })
    {}
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_finished = true;
        }
        m_finishedChanged.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_finishedChanged;
    bool m_finished = false;
    std::thread m_thread;
};

} // namespace

class TestNotePadSearch : public NotePadFixture
{
    Q_OBJECT

private slots:
    void searchFinds_data();
    void searchFinds();
    void searchMissingLeavesCursor();
    void replaceReplacesAnySelection();
    void replaceWithoutSelectionSearches();
    void replaceBackwardStepsBack();
    void replaceAllTerminates_data();
    void replaceAllTerminates();
    void replaceAllIsOneUndoStep();
    void gotoLine_data();
    void gotoLine();
    void deleteAndCaseConversion();
};

void TestNotePadSearch::searchFinds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("backward");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("regExp");
    QTest::addColumn<int>("start"); // -1: not found
    QTest::addColumn<int>("end");

    // "Alpha beta ALPHA gamma alpha"
    QTest::newRow("any case") << "alpha" << 0 << false << false << false << 0 << 5;
    QTest::newRow("any case, after the first") << "alpha" << 1 << false << false << false << 11 << 16;
    QTest::newRow("match case") << "alpha" << 0 << false << true << false << 23 << 28;
    QTest::newRow("backward, match case") << "ALPHA" << 28 << true << true << false << 11 << 16;
    QTest::newRow("backward, any case") << "alpha" << 20 << true << false << false << 11 << 16;
    QTest::newRow("pattern") << "b.t" << 0 << false << false << true << 6 << 9;
    QTest::newRow("pattern, any case") << "ALP" << 0 << false << false << true << 0 << 3;
    QTest::newRow("pattern, match case") << "alp" << 0 << false << true << true << 23 << 26;
    QTest::newRow("pattern, backward") << "a$" << 28 << true << false << true << 27 << 28;
    QTest::newRow("missing") << "delta" << 0 << false << false << false << -1 << -1;
    QTest::newRow("missing backward") << "gamma" << 10 << true << false << false << -1 << -1;
    QTest::newRow("invalid pattern") << "(" << 0 << false << false << true << -1 << -1;
}

void TestNotePadSearch::searchFinds()
{
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(bool, backward);
    QFETCH(bool, matchCase);
    QFETCH(bool, regExp);
    QFETCH(int, start);
    QFETCH(int, end);

    NotePad editor(m_config);
    editor.setPlainText(QStringLiteral("Alpha beta ALPHA gamma alpha"));
    placeCursor(editor, from);
    const int result = editor.search(text, backward, matchCase, regExp);
    QCOMPARE(result, start < 0 ? 0 : 1);
    if (start >= 0) {
        QCOMPARE(editor.textCursor().selectionStart(), start);
        QCOMPARE(editor.textCursor().selectionEnd(), end);
    } else {
        QCOMPARE(editor.textCursor().position(), from);
    }
}

void TestNotePadSearch::searchMissingLeavesCursor()
{
    NotePad editor(m_config);
    editor.setPlainText(QStringLiteral("one two three"));
    select(editor, 8, 4);
    QCOMPARE(editor.search(QStringLiteral("four"), false, false, false), 0);
    QCOMPARE(editor.textCursor().anchor(), 8);
    QCOMPARE(editor.textCursor().position(), 4);
    QCOMPARE(editor.search(QStringLiteral("one"), false, false, false), 0); // only before the cursor
    QCOMPARE(editor.textCursor().anchor(), 8);
    QCOMPARE(editor.textCursor().position(), 4);
}

void TestNotePadSearch::replaceReplacesAnySelection()
{
    NotePad editor(m_config);
    editor.setPlainText(QStringLiteral("Alpha beta gamma"));
    select(editor, 6, 10); // "beta", which is not the searched text
    editor.replace(QStringLiteral("zeta"), QStringLiteral("B"), false, false, false);
    QCOMPARE(documentText(editor), QStringLiteral("Alpha B gamma"));
    QCOMPARE(editor.textCursor().position(), 7);
    QVERIFY(!editor.textCursor().hasSelection());

    editor.undo(); // one undo step
    QCOMPARE(documentText(editor), QStringLiteral("Alpha beta gamma"));
}

void TestNotePadSearch::replaceWithoutSelectionSearches()
{
    NotePad editor(m_config);
    editor.setPlainText(QStringLiteral("Alpha beta gamma beta"));
    placeCursor(editor, 8);
    editor.replace(QStringLiteral("beta"), QStringLiteral("B"), false, false, false);
    QCOMPARE(documentText(editor), QStringLiteral("Alpha beta gamma beta"));
    QCOMPARE(editor.textCursor().selectedText(), QStringLiteral("beta"));
    QCOMPARE(editor.textCursor().selectionStart(), 17);

    // The next call replaces the found text.
    editor.replace(QStringLiteral("beta"), QStringLiteral("B"), false, false, false);
    QCOMPARE(documentText(editor), QStringLiteral("Alpha beta gamma B"));
}

void TestNotePadSearch::replaceBackwardStepsBack()
{
    NotePad editor(m_config);
    editor.setPlainText(QStringLiteral("ab ab ab"));
    placeCursor(editor, 8);
    // Search, replace, search, replace ... backward must not find a replacement again.
    for (int i = 0; i < 6; ++i)
        editor.replace(QStringLiteral("ab"), QStringLiteral("abab"), true, false, false);
    QCOMPARE(documentText(editor), QStringLiteral("abab abab abab"));
    QCOMPARE(editor.textCursor().position(), 0);
}

void TestNotePadSearch::replaceAllTerminates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("regExp");
    QTest::addColumn<QString>("expected");

    QTest::newRow("replacement holds the text") << "axbxc"
                                                << "x"
                                                << "xx" << false << false << "axxbxxc";
    QTest::newRow("whole document") << "x"
                                    << "x"
                                    << "xx" << false << false << "xx";
    QTest::newRow("any case") << "Xx"
                              << "x"
                              << "y" << false << false << "yy";
    QTest::newRow("match case") << "Xx"
                                << "x"
                                << "y" << true << false << "Xy";
    QTest::newRow("over lines") << "a-b\nc-d"
                                << "-"
                                << "+" << false << false << "a+b\nc+d";
    QTest::newRow("nothing found") << "abc"
                                   << "z"
                                   << "y" << false << false << "abc";
    QTest::newRow("empty text") << "abc"
                                << ""
                                << "y" << false << false << "abc";
    QTest::newRow("pattern, replacement holds it") << "ab"
                                                   << "a"
                                                   << "aa" << false << true << "aab";
    QTest::newRow("empty matches") << "abc"
                                   << "x*"
                                   << "-" << false << true << "-a-b-c-";
    QTest::newRow("empty and real matches") << "axxb"
                                            << "x*"
                                            << "-" << false << true << "-a--b-";
    QTest::newRow("empty matches, empty replacement") << "aaa"
                                                      << "a*"
                                                      << "" << false << true << "";
    QTest::newRow("line starts") << "one\ntwo"
                                 << "^"
                                 << "> " << false << true << "> one\n> two";
    QTest::newRow("line ends") << "one\ntwo"
                               << "$"
                               << ";" << false << true << "one;\ntwo;";
    QTest::newRow("empty document") << ""
                                    << "x*"
                                    << "y" << false << true << "y";
}

void TestNotePadSearch::replaceAllTerminates()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(bool, matchCase);
    QFETCH(bool, regExp);
    QFETCH(QString, expected);

    NotePad editor(m_config);
    editor.setPlainText(text);
    placeCursor(editor, text.size());
    {
        Watchdog watchdog("replaceAll");
        editor.replaceAll(pattern, replacement, matchCase, regExp);
    }
    QCOMPARE(documentText(editor), expected);
}

void TestNotePadSearch::replaceAllIsOneUndoStep()
{
    NotePad editor(m_config);
    editor.setPlainText(QStringLiteral("a b a b a"));
    editor.replaceAll(QStringLiteral("a"), QStringLiteral("c"), false, false);
    QCOMPARE(documentText(editor), QStringLiteral("c b c b c"));
    editor.undo();
    QCOMPARE(documentText(editor), QStringLiteral("a b a b a"));
}

void TestNotePadSearch::gotoLine_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("position");
    // "first\nsecond\nthird"
    QTest::newRow("line 1") << 1 << 0;
    QTest::newRow("line 2") << 2 << 6;
    QTest::newRow("line 3") << 3 << 13;
    QTest::newRow("past the end") << 9 << 13;
    QTest::newRow("line 0") << 0 << 0;
}

void TestNotePadSearch::gotoLine()
{
    QFETCH(int, line);
    QFETCH(int, position);
    NotePad editor(m_config);
    editor.setPlainText(QStringLiteral("first\nsecond\nthird"));
    select(editor, 8, 10);
    editor.gotoLine(line);
    QCOMPARE(editor.textCursor().position(), position);
    QVERIFY(!editor.textCursor().hasSelection());
}

void TestNotePadSearch::deleteAndCaseConversion()
{
    NotePad editor(m_config);
    editor.setPlainText(QStringLiteral("(Defun foo)\n(bar Baz)"));
    select(editor, 1, 15);
    editor.toUpperCase();
    QCOMPARE(documentText(editor), QStringLiteral("(DEFUN FOO)\n(BAr Baz)"));
    QCOMPARE(editor.document()->blockCount(), 2);
    QCOMPARE(editor.textCursor().selectionStart(), 1);
    QCOMPARE(editor.textCursor().selectionEnd(), 15);

    editor.toLowerCase();
    QCOMPARE(documentText(editor), QStringLiteral("(defun foo)\n(bar Baz)"));

    select(editor, 12, 17);
    editor.deleteSelected();
    QCOMPARE(documentText(editor), QStringLiteral("(defun foo)\nBaz)"));

    placeCursor(editor, 0);
    editor.toUpperCase(); // nothing selected, nothing changes
    QCOMPARE(documentText(editor), QStringLiteral("(defun foo)\nBaz)"));
}

QTEST_MAIN(TestNotePadSearch)
#include "tst_notepadsearch.moc"
