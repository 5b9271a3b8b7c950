#include "core/text/linescanner.h"
#include "support/core/warnings.h"

#include <QtTest>

namespace {
constexpr int Closes = LineScanner::ClosesBlock;
constexpr int Opens = LineScanner::OpensBlock;
constexpr int InString = LineScanner::EndsInString;
constexpr int Comment = LineScanner::CommentLine;
constexpr int Inside = LineScanner::InsideBlock;
constexpr int Folded = LineScanner::Folded;
constexpr int Underflow = LineScanner::DepthUnderflow;
constexpr int Repaint = LineScanner::NeedsRepaint;

constexpr int depth(int d)
{
    return d << LineScanner::ValueShift;
}

QVector<int> scanAll(const QStringList &lines)
{
    QVector<int> states;
    int previous = LineScanner::Unscanned;
    for (const QString &line : lines) {
        previous = LineScanner::scanLine(line, previous, LineScanner::Unscanned);
        states << previous;
    }
    return states;
}

QVector<int> withoutMarks(const QVector<int> &states)
{
    QVector<int> result;
    for (int state : states)
        result << LineScanner::scanned(state);
    return result;
}
} // namespace

class TestLineScanner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::failOnQtWarnings(); }
    void scanLine_data();
    void scanLine();
    void scanLines_data();
    void scanLines();
    void carriedValues();
    void rescanAfterEdit_data();
    void rescanAfterEdit();
};

void TestLineScanner::scanLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("old");
    QTest::addColumn<int>("expected");

    const int none = LineScanner::Unscanned;
    const int atDepth1 = Opens | depth(1);
    const int atDepth2 = Opens | Inside | depth(2);
    const int inOpenString = Opens | InString | depth(1);

    QTest::newRow("empty first line") << "" << none << none << (Opens | Closes);
    QTest::newRow("empty line inside a block") << "" << atDepth1 << none << (Inside | depth(1));
    QTest::newRow("opening line") << "(defun foo (x)" << none << none << (Opens | depth(1));
    QTest::newRow("balanced line") << "(car (cdr x))" << none << none << (Opens | Closes);
    QTest::newRow("three open") << "(((" << none << none << (Opens | depth(3));
    QTest::newRow("nested opening") << "  (let ((y 1))" << atDepth1 << none << (Opens | Inside | depth(2));
    QTest::newRow("inside, unchanged depth") << "  (print y)" << atDepth1 << none << (Inside | depth(1));
    QTest::newRow("closing to depth 0") << "    y))" << atDepth2 << none << Closes;
    QTest::newRow("closing one level") << "  y)" << atDepth2 << none << (Closes | Inside | depth(1));
    QTest::newRow("close and reopen") << ") (" << atDepth1 << none << (Inside | depth(1));

    QTest::newRow("stray ) at column 0") << ")" << none << none << (Underflow | depth(0));
    QTest::newRow("stray ) at column 6") << "  a) b) (c" << atDepth1 << none << (Underflow | depth(6));
    QTest::newRow("after a stray ), depth 0") << "(a" << (Underflow | depth(6)) << none << (Opens | depth(1));

    QTest::newRow("parenthesis in a string") << "(print \"a (b\")" << none << none << (Opens | Closes);
    QTest::newRow("escaped quotes") << "(s \"say \\\"(\\\" now\")" << none << none << (Opens | Closes);
    QTest::newRow("escaped backslash ends the string")
        << "(s \"a\\\\\" (b)" << none << none << (Opens | depth(1));
    QTest::newRow("open string") << "(x \"abc" << none << none << inOpenString;
    QTest::newRow("string goes on") << "de) (\" )" << inOpenString << none << Closes;
    QTest::newRow("escaped paren outside a string") << "(a \\) b" << none << none << (Opens | depth(1));

    QTest::newRow("comment line") << "; note (" << none << none << (Comment | Opens | Closes);
    QTest::newRow("indented comment line") << "   ;; more" << none << none << (Comment | Opens | Closes);
    QTest::newRow("comment line in a block") << "  ; (x" << atDepth1 << none << (Comment | Inside | depth(1));
    QTest::newRow("trailing comment") << "(a ; )" << none << none << (Opens | depth(1));
    QTest::newRow("semicolon in a string") << "(a \";\" )" << none << none << (Opens | Closes);
    QTest::newRow("semicolon in a carried string") << "; still\")" << inOpenString << none << Closes;

    QTest::newRow("fold and repaint marks stay")
        << "(a b)" << none << (Folded | Repaint | Opens | depth(3)) << (Folded | Repaint | Opens | Closes);
    QTest::newRow("marks stay on a stray )") << ")" << none << Folded << (Folded | Underflow);
    QTest::newRow("unscanned old state adds no marks") << "(a b)" << none << -1 << (Opens | Closes);
}

void TestLineScanner::scanLine()
{
    QFETCH(QString, text);
    QFETCH(int, previous);
    QFETCH(int, old);
    QFETCH(int, expected);
    QCOMPARE(QString::number(LineScanner::scanLine(text, previous, old), 16), QString::number(expected, 16));
}

void TestLineScanner::scanLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QVector<int>>("states");

    QTest::newRow("function") << QStringList{"(defun f (x)", "  (let ((y 1))", "    (+ x y)))", "(f 2)"}
                              << QVector<int>{Opens | depth(1), Opens | Inside | depth(2), Closes,
                                              Opens | Closes};
    QTest::newRow("comment runs")
        << QStringList{"; a", "; b", "(x", "  ; c", "  ; d", "  y)", "; e"}
        << QVector<int>{Comment | Opens | Closes,    Comment | Opens | Closes,    Opens | depth(1),
                        Comment | Inside | depth(1), Comment | Inside | depth(1), Closes,
                        Comment | Opens | Closes};
    QTest::newRow("string over lines")
        << QStringList{"(msg \"one (", "two ;", "three\")"}
        << QVector<int>{Opens | InString | depth(1), InString | Inside | depth(1), Closes};
    QTest::newRow("stray ) then more")
        << QStringList{"a)", "(b", " c)"} << QVector<int>{Underflow | depth(1), Opens | depth(1), Closes};
}

void TestLineScanner::scanLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QVector<int>, states);
    QCOMPARE(scanAll(lines), states);
}

void TestLineScanner::carriedValues()
{
    QCOMPARE(LineScanner::carriedDepth(LineScanner::Unscanned), 0);
    QCOMPARE(LineScanner::carriedDepth(Opens | Inside | depth(4) | Folded | Repaint), 4);
    QCOMPARE(LineScanner::carriedDepth(Underflow | depth(9)), 0);
    QCOMPARE(LineScanner::underflowColumn(Underflow | depth(9)), 9);
    QCOMPARE(LineScanner::underflowColumn(Opens | depth(9)), -1);
    QVERIFY(LineScanner::carriesString(InString | depth(1)));
    QVERIFY(!LineScanner::carriesString(LineScanner::Unscanned));
    QVERIFY(!LineScanner::carriesString(Underflow | InString));
}

void TestLineScanner::rescanAfterEdit_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("scannedBefore");
    QTest::addColumn<int>("editedLine");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<int>("lastScanned");

    const QStringList block{"(a", " b", " c)", "d", "e"};
    QTest::newRow("opening parenthesis removed") << block << true << 0 << "a" << 3;
    QTest::newRow("parenthesis added") << QStringList{"x", "(a)", "b", "c", "d"} << true << 1 << "(a" << 4;
    QTest::newRow("word changed") << block << true << 1 << " bb" << 2;
    QTest::newRow("comment added inside") << block << true << 1 << " ; b)" << 2;
    QTest::newRow("string opened") << QStringList{"(a", "b", "c)", "(d)"} << true << 0 << "(a \"" << 3;
    QTest::newRow("nothing scanned yet") << block << false << 0 << "(a" << 4;
}

void TestLineScanner::rescanAfterEdit()
{
    QFETCH(QStringList, before);
    QFETCH(bool, scannedBefore);
    QFETCH(int, editedLine);
    QFETCH(QString, newText);
    QFETCH(int, lastScanned);

    QStringList lines = before;
    QVector<int> states = scannedBefore ? scanAll(lines) : QVector<int>(lines.size(), LineScanner::Unscanned);
    lines[editedLine] = newText;

    const int last = LineScanner::rescan(
        editedLine, editedLine, lines.size(), [&](int line) { return lines.at(line); },
        [&](int line) { return states.at(line); }, [&](int line, int state) { states[line] = state; });

    QCOMPARE(last, lastScanned);
    // Every line holds what a scan of the whole text gives.
    QCOMPARE(withoutMarks(states), scanAll(lines));
    for (int line = 0; line < lines.size(); ++line) {
        const bool rescanned = line >= editedLine && line <= lastScanned;
        QCOMPARE(bool(states.at(line) & Repaint), rescanned);
    }
}

QTEST_GUILESS_MAIN(TestLineScanner)
#include "tst_linescanner.moc"
