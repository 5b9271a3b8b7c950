#include "textexport/notepad.h"

#include "core/settings/config.h"
#include "core/text/linescanner.h"

#include <QKeyEvent>
#include <QTextBlock>

namespace {
bool onlyWhitespaceLeftOf(const QTextCursor &cursor)
{
    return cursor.block().text().left(cursor.positionInBlock()).trimmed().isEmpty();
}

int leadingWhitespace(const QString &text)
{
    int count = 0;
    while (count < text.size() && text.at(count).isSpace())
        ++count;
    return count;
}

bool usableState(int state)
{
    return state >= 0 && !(state & LineScanner::DepthUnderflow);
}
} // namespace

void NotePad::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool isReturn = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (isReturn && (event->modifiers() & Qt::ShiftModifier)) {
        // No line separators inside a line.
        event->accept();
        return;
    }
    if (key == Qt::Key_Backspace && unindentBackspace()) {
        event->accept();
        return;
    }
    if (key == Qt::Key_Tab && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        indentTab()) {
        event->accept();
        return;
    }

    mergeCurrentCharFormat(m_charFormat);
    QPlainTextEdit::keyPressEvent(event);
    if (isReturn && m_config->autoIndent)
        autoIndentNewLine();
}

bool NotePad::unindentBackspace()
{
    QTextCursor cursor = textCursor();
    if (!m_config->backUnindent || cursor.hasSelection() || cursor.positionInBlock() == 0 ||
        !onlyWhitespaceLeftOf(cursor))
        return false;
    const int count = qMin(cursor.positionInBlock(), m_config->indentSize);
    if (count <= 0)
        return false;
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, count);
    cursor.removeSelectedText();
    setTextCursor(cursor);
    return true;
}

bool NotePad::indentTab()
{
    QTextCursor cursor = textCursor();
    if (m_config->tabIndents) {
        const QString indent(qMax(0, m_config->indentSize), QLatin1Char(' '));
        if (!cursor.hasSelection() && onlyWhitespaceLeftOf(cursor)) {
            cursor.insertText(indent);
            setTextCursor(cursor);
            return true;
        }
        QTextBlock block = document()->findBlock(cursor.selectionStart());
        const QTextBlock last = document()->findBlock(cursor.selectionEnd());
        if (cursor.hasSelection() && block != last) {
            cursor.beginEditBlock();
            for (;; block = block.next()) {
                QTextCursor lineStart(block);
                lineStart.insertText(indent);
                if (block == last)
                    break;
            }
            cursor.endEditBlock();
            return true;
        }
    }
    if (m_config->spaceTabs) {
        cursor.insertText(QString(qMax(0, m_config->tabSize), QLatin1Char(' ')));
        setTextCursor(cursor);
        return true;
    }
    return false;
}

void NotePad::autoIndentNewLine()
{
    QTextCursor cursor = textCursor();
    const QTextBlock line = cursor.block();
    const QTextBlock previous = line.previous();
    if (!previous.isValid())
        return;
    const int state = line.userState();
    if (!usableState(state) || !(state & LineScanner::InsideBlock))
        return;
    int indent = leadingWhitespace(previous.text());
    const int previousState = previous.userState();
    if (usableState(previousState) && (previousState & LineScanner::OpensBlock))
        indent += m_config->indentSize;
    if (indent <= 0)
        return;
    cursor.insertText(QString(indent, QLatin1Char(' ')));
    setTextCursor(cursor);
}
