// The editor's keys (Tab, Backspace, Return), line states, line numbers, folding and context menu.
#include "core/settings/config.h"
#include "core/text/linescanner.h"
#include "support/notepadediting.h"
#include "support/notepadfixture.h"
#include "textexport/notepad.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QTextBlock>
#include <QtTest>
#include <memory>

using TestSupport::documentText;
using TestSupport::placeCursor;
using TestSupport::select;

namespace {

QVector<int> scannedStates(const NotePad &editor)
{
    QVector<int> states;
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid(); block = block.next())
        states << LineScanner::scanned(block.userState());
    return states;
}

QVector<int> freshScan(const QString &text)
{
    QVector<int> states;
    int previous = LineScanner::Unscanned;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        previous = LineScanner::scanLine(line, previous, LineScanner::Unscanned);
        states << previous;
    }
    return states;
}

const char *kLisp = "; a small program\n"
                    "; with two comment lines\n"
                    "(defun area (w h)\n"
                    "  (let ((a (* w h)))\n"
                    "    (print \"area: (\" a)\n"
                    "    a))\n"
                    "(area 3 4)\n";

} // namespace

class TestNotePad : public NotePadFixture
{
    Q_OBJECT

private slots:
    void tabKey_data();
    void tabKey();
    void backspaceUnindents_data();
    void backspaceUnindents();
    void shiftReturnIsSwallowed();
    void returnIndents_data();
    void returnIndents();

    void linesCarryScannerStates();
    void lineNumbersGetAColumn();
    void lineNumbersAreDrawn();
    void reconfigOnBroadcast();
    void foldMarkerAndLabel();
    void contextMenu();
};

void TestNotePad::tabKey_data()
{
    QTest::addColumn<bool>("tabIndents");
    QTest::addColumn<bool>("spaceTabs");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("expected");

    // Indent size 2, tab size 3.
    QTest::newRow("space tabs") << false << true << "ab" << 1 << 1 << "a   b";
    QTest::newRow("plain tab") << false << false << "ab" << 1 << 1 << "a\tb";
    QTest::newRow("indent at line start") << true << true << "  ab" << 2 << 2 << "    ab";
    QTest::newRow("indent on an empty line") << true << false << "" << 0 << 0 << "  ";
    QTest::newRow("after text, space tabs") << true << true << "ab" << 2 << 2 << "ab   ";
    QTest::newRow("after text, plain tab") << true << false << "ab" << 2 << 2 << "ab\t";
    QTest::newRow("indent lines") << true << false << "a\nb\nc" << 0 << 3 << "  a\n  b\nc";
    QTest::newRow("indent lines, backward selection") << true << true << "a\nb\nc" << 5 << 2 << "a\n  b\n  c";
    QTest::newRow("selection in one line, space tabs") << true << true << "abc" << 0 << 2 << "   c";
}

void TestNotePad::tabKey()
{
    QFETCH(bool, tabIndents);
    QFETCH(bool, spaceTabs);
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, expected);

    m_config->tabIndents = tabIndents;
    m_config->spaceTabs = spaceTabs;
    m_config->indentSize = 2;
    m_config->tabSize = 3;
    NotePad editor(m_config);
    editor.setPlainText(text);
    select(editor, anchor, position);
    QTest::keyClick(&editor, Qt::Key_Tab);
    QCOMPARE(documentText(editor), expected);

    editor.undo(); // every variant is a single undo step
    QCOMPARE(documentText(editor), text);
}

void TestNotePad::backspaceUnindents_data()
{
    QTest::addColumn<bool>("backUnindent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("expected");

    // Indent size 4.
    QTest::newRow("one indent") << true << "      x" << 6 << "  x";
    QTest::newRow("less than an indent") << true << "  x" << 2 << "x";
    QTest::newRow("tabs count as characters") << true << "\t\t\t\t\tx" << 5 << "\tx";
    QTest::newRow("text left of the cursor") << true << "  ab" << 4 << "  a";
    QTest::newRow("line start") << true << "a\n    b" << 2 << "a    b";
    QTest::newRow("switched off") << false << "      x" << 6 << "     x";
}

void TestNotePad::backspaceUnindents()
{
    QFETCH(bool, backUnindent);
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QString, expected);

    m_config->backUnindent = backUnindent;
    NotePad editor(m_config);
    editor.setPlainText(text);
    placeCursor(editor, cursor);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QCOMPARE(documentText(editor), expected);
}

void TestNotePad::shiftReturnIsSwallowed()
{
    NotePad editor(m_config);
    editor.setPlainText(QStringLiteral("ab"));
    placeCursor(editor, 1);
    QTest::keyClick(&editor, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(documentText(editor), QStringLiteral("ab"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QCOMPARE(documentText(editor), QStringLiteral("a\nb"));
}

void TestNotePad::returnIndents_data()
{
    QTest::addColumn<bool>("autoIndent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    // Indent size 4; Return is pressed at the end of the text.
    QTest::newRow("after an opening line") << true << "(defun f (x)"
                                           << "(defun f (x)\n    ";
    QTest::newRow("after an indented opening line") << true << "(defun f (x)\n  (let ((y 1))"
                                                    << "(defun f (x)\n  (let ((y 1))\n      ";
    QTest::newRow("inside a block") << true << "(defun f (x)\n  (print x)"
                                    << "(defun f (x)\n  (print x)\n  ";
    QTest::newRow("after a closed block") << true << "(f 1)"
                                          << "(f 1)\n";
    QTest::newRow("after a stray )") << true << "(a\n  b))"
                                     << "(a\n  b))\n";
    QTest::newRow("switched off") << false << "(defun f (x)"
                                  << "(defun f (x)\n";
}

void TestNotePad::returnIndents()
{
    QFETCH(bool, autoIndent);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    m_config->autoIndent = autoIndent;
    NotePad editor(m_config);
    editor.setPlainText(text);
    placeCursor(editor, text.size());
    QTest::keyClick(&editor, Qt::Key_Return);
    QCOMPARE(documentText(editor), expected);
}

void TestNotePad::linesCarryScannerStates()
{
    NotePad editor(m_config);
    const QString text = QString::fromLatin1(kLisp);
    editor.setPlainText(text);
    QCOMPARE(scannedStates(editor), freshScan(text));

    // Edits keep every line's state equal to a scan of the whole text.
    struct Edit
    {
        int position;
        int removed;
        const char *inserted;
    };
    const Edit edits[] = {
        {text.indexOf(QLatin1String("(defun")), 1, ""},    // the outer block loses its "("
        {0, 0, "("},                                       // a block opens on line 1
        {text.indexOf(QLatin1String("area:")), 0, "\\\""}, // an escaped quote in the string
        {text.indexOf(QLatin1String("area:")), 0, "\"\n"}, // a string opened over lines
        {0, 1, ""},                                        // and the first edit undone
    };
    for (const Edit &edit : edits) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(edit.position);
        cursor.setPosition(edit.position + edit.removed, QTextCursor::KeepAnchor);
        cursor.insertText(QString::fromLatin1(edit.inserted));
        QCOMPARE(scannedStates(editor), freshScan(editor.toPlainText()));
    }
}

void TestNotePad::lineNumbersGetAColumn()
{
    NotePad editor(m_config);
    editor.resize(400, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    QFont bold = editor.font();
    bold.setWeight(QFont::Bold);
    const int digitWidth = qMax(QFontMetrics(editor.font()).horizontalAdvance(QLatin1Char('8')),
                                QFontMetrics(bold).horizontalAdvance(QLatin1Char('8')));

    editor.setPlainText(QStringLiteral("a\nb\nc"));
    QCOMPARE(editor.lineDigits(), 2);
    QVERIFY(editor.numberWidth() >= 2 * digitWidth);
    const int twoDigits = editor.numberWidth();
    QCOMPARE(editor.sideArea()->width(), editor.sideAreaWidth());
    QVERIFY(editor.sideAreaWidth() > editor.numberWidth());
    // The text starts right of the side area, which covers the full height.
    QCOMPARE(editor.viewport()->x(), editor.sideArea()->geometry().right() + 1);
    QCOMPARE(editor.sideArea()->height(), editor.contentsRect().height());

    QStringList lines;
    for (int i = 0; i < 1200; ++i)
        lines << QStringLiteral("(line %1)").arg(i);
    editor.setPlainText(lines.join(QLatin1Char('\n')));
    QCOMPARE(editor.lineDigits(), 4);
    QCOMPARE(editor.numberWidth(), twoDigits + 2 * digitWidth);
    QCOMPARE(editor.viewport()->x(), editor.sideArea()->geometry().right() + 1);

    // A resize keeps the column.
    editor.resize(500, 320);
    QCOMPARE(editor.numberWidth(), twoDigits + 2 * digitWidth);

    m_config->showLineNumber = false;
    m_config->reconfig(2);
    QCOMPARE(editor.numberWidth(), 0);
    QCOMPARE(editor.viewport()->x(), editor.sideArea()->geometry().right() + 1);
}

void TestNotePad::lineNumbersAreDrawn()
{
    NotePad editor(m_config);
    editor.resize(400, 300);
    editor.setPlainText(QString::fromLatin1(kLisp));
    placeCursor(editor, editor.document()->findBlockByNumber(2).position());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    const QImage side = editor.sideArea()->grab().toImage();
    const QColor background(30, 60, 90);
    int yellow = 0;
    int other = 0;
    for (int y = 0; y < side.height(); ++y) {
        for (int x = 0; x < editor.numberWidth(); ++x) {
            const QColor pixel = side.pixelColor(x, y);
            if (pixel == background)
                continue;
            if (pixel.red() > 150 && pixel.green() > 150 && pixel.blue() < 100)
                ++yellow; // the cursor's line
            else
                ++other;
        }
    }
    QVERIFY2(yellow > 10, "the current line number is drawn in yellow");
    QVERIFY2(other > 30, "the other line numbers are drawn");
    // Painting the side area clears the repaint marks.
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid(); block = block.next())
        QVERIFY(!(block.userState() & LineScanner::NeedsRepaint));
}

void TestNotePad::reconfigOnBroadcast()
{
    NotePad editor(m_config);
    editor.setPlainText(QString::fromLatin1(kLisp));
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid(); block = block.next())
        block.setUserState(block.userState() & ~LineScanner::NeedsRepaint);

    m_config->fontSize = 20;
    m_config->tabSize = 6;
    m_config->reconfig(3); // settings only, no repaint marks
    QCOMPARE(editor.font().pointSize(), 20);
    QVERIFY(editor.font().fixedPitch());
    QCOMPARE(editor.tabStopDistance(), 6 * QFontMetricsF(editor.font()).horizontalAdvance(QLatin1Char('X')));
    QVERIFY(!(editor.document()->firstBlock().userState() & LineScanner::NeedsRepaint));

    m_config->fontSize = 14;
    m_config->reconfig(2);
    QCOMPARE(editor.font().pointSize(), 14);
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid(); block = block.next())
        QVERIFY(block.userState() & LineScanner::NeedsRepaint);

    m_config->fontSize = 30;
    m_config->reconfig(1); // neither the font nor the marks
    QCOMPARE(editor.font().pointSize(), 14);
}

void TestNotePad::foldMarkerAndLabel()
{
    NotePad editor(m_config);
    editor.resize(500, 300);
    editor.setPlainText(QString::fromLatin1(kLisp));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const int markerX = editor.numberWidth() + (editor.sideAreaWidth() - editor.numberWidth()) / 2;
    auto lineY = [&](int line) {
        QTextCursor cursor(editor.document()->findBlockByNumber(line));
        return editor.cursorRect(cursor).center().y();
    };
    auto folded = [&](int line) {
        return bool(editor.document()->findBlockByNumber(line).userState() & LineScanner::Folded);
    };

    // Line 3 opens a block, line 1 starts a comment run; line 7 closes nothing.
    QTest::mouseClick(editor.sideArea(), Qt::LeftButton, Qt::NoModifier, QPoint(markerX, lineY(2)));
    QVERIFY(folded(2));
    QTest::mouseClick(editor.sideArea(), Qt::LeftButton, Qt::NoModifier, QPoint(markerX, lineY(0)));
    QVERIFY(folded(0));
    QTest::mouseClick(editor.sideArea(), Qt::LeftButton, Qt::NoModifier, QPoint(markerX, lineY(6)));
    QVERIFY(!folded(6));
    QTest::mouseClick(editor.sideArea(), Qt::LeftButton, Qt::NoModifier, QPoint(markerX, lineY(0)));
    QVERIFY(!folded(0));

    // The label sits a little after the folded line's text; the pointer over it is a hand.
    QTextCursor lineEnd(editor.document()->findBlockByNumber(2));
    lineEnd.movePosition(QTextCursor::EndOfBlock);
    const int xWidth = editor.fontMetrics().horizontalAdvance(QLatin1Char('X'));
    const QPoint onLabel(editor.cursorRect(lineEnd).left() + 5 * xWidth, lineY(2));
    QMouseEvent move(QEvent::MouseMove, onLabel, editor.viewport()->mapToGlobal(onLabel), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &move);
    QCOMPARE(editor.viewport()->cursor().shape(), Qt::PointingHandCursor);

    // A click on the label opens the fold.
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, Qt::NoModifier, onLabel);
    QVERIFY(!folded(2));
    QCOMPARE(editor.viewport()->cursor().shape(), Qt::IBeamCursor);
}

void TestNotePad::contextMenu()
{
    NotePad editor(m_config);
    QApplication::clipboard()->setText(QStringLiteral("clip"));

    auto describe = [](QMenu *menu) {
        QStringList items;
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions)
            items << (action->isSeparator() ? QStringLiteral("|")
                                            : action->text() + (action->isEnabled() ? "+" : "-"));
        return items.join(QLatin1Char(' '));
    };

    std::unique_ptr<QMenu> menu(editor.createContextMenu());
    QCOMPARE(describe(menu.get()), QStringLiteral("撤销- 重做- | 剪切- 复制- 粘贴+ 删除- | 全选-"));

    editor.setPlainText(QStringLiteral("some text"));
    select(editor, 0, 4);
    menu.reset(editor.createContextMenu());
    QCOMPARE(describe(menu.get()), QStringLiteral("撤销- 重做- | 剪切+ 复制+ 粘贴+ 删除+ | 全选+"));

    // The actions work on the editor.
    menu->actions().at(6)->trigger();
    QCOMPARE(documentText(editor), QStringLiteral(" text"));

    // A right click opens the menu at the pointer.
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            shown = describe(popup);
            popup->close();
        }
    });
    const QPoint at(20, 20);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, editor.viewport()->mapToGlobal(at));
    QApplication::sendEvent(editor.viewport(), &event);
    QCOMPARE(shown, QStringLiteral("撤销+ 重做- | 剪切- 复制- 粘贴+ 删除- | 全选+"));
}

QTEST_MAIN(TestNotePad)
#include "tst_notepad.moc"
