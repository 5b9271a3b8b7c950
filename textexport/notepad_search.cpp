#include "textexport/notepad.h"

#include <QRegularExpression>
#include <QTextDocument>

QTextCursor NotePad::findFrom(const QString &text, const QTextCursor &from, bool backward, bool matchCase,
                              bool regExp) const
{
    QTextDocument::FindFlags flags;
    if (backward)
        flags |= QTextDocument::FindBackward;
    // The document applies the case flag to patterns as well.
    if (matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (regExp)
        return document()->find(QRegularExpression(text), from, flags);
    return document()->find(text, from, flags);
}

QTextCursor NotePad::findFrom(const QString &text, int from, bool matchCase, bool regExp) const
{
    const QTextDocument::FindFlags flags =
        matchCase ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
    if (regExp)
        return document()->find(QRegularExpression(text), from, flags);
    return document()->find(text, from, flags);
}

int NotePad::search(QString text, bool backward, bool matchCase, bool regExp)
{
    const QTextCursor found = findFrom(text, textCursor(), backward, matchCase, regExp);
    if (found.isNull())
        return 0;
    setTextCursor(found);
    return 1;
}

void NotePad::replace(QString text, QString replacement, bool backward, bool matchCase, bool regExp)
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        search(text, backward, matchCase, regExp);
        return;
    }
    const int oldPosition = cursor.position();
    const int replacedLength = cursor.selectionEnd() - cursor.selectionStart();
    cursor.insertText(replacement);
    if (backward) {
        // Step back over the replaced text, so the next backward search does not find it again.
        const int last = document()->characterCount() - 1;
        cursor.setPosition(qBound(0, oldPosition - replacedLength, last));
    }
    setTextCursor(cursor);
}

void NotePad::replaceAll(QString text, QString replacement, bool matchCase, bool regExp)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(0);
    if (text.isEmpty()) {
        setTextCursor(cursor);
        return;
    }
    cursor.beginEditBlock();
    int from = 0;
    for (;;) {
        QTextCursor match = findFrom(text, from, matchCase, regExp);
        if (match.isNull())
            break;
        const bool emptyMatch = !match.hasSelection();
        match.insertText(replacement);
        // Go on after the inserted text, so a replacement containing the searched text is not
        // searched again.
        from = match.position();
        cursor.setPosition(from);
        if (emptyMatch) {
            // An empty match would be found at the same place forever: step over one character.
            if (from >= document()->characterCount() - 1)
                break;
            ++from;
        }
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void NotePad::gotoLine(int lineNumber)
{
    const int line = qBound(1, lineNumber, document()->blockCount());
    QTextCursor cursor = textCursor();
    cursor.setPosition(document()->findBlockByNumber(line - 1).position());
    setTextCursor(cursor);
}

void NotePad::deleteSelected()
{
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

void NotePad::replaceSelectionCase(bool upper)
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return;
    const QString selected = cursor.selectedText();
    const int start = cursor.selectionStart();
    const bool cursorAtStart = cursor.position() == start;
    const QString converted = upper ? selected.toUpper() : selected.toLower();
    cursor.insertText(converted);
    // Keep the converted text selected, in the direction it was selected.
    const int end = cursor.position();
    cursor.setPosition(cursorAtStart ? end : start);
    cursor.setPosition(cursorAtStart ? start : end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void NotePad::toUpperCase()
{
    replaceSelectionCase(true);
}

void NotePad::toLowerCase()
{
    replaceSelectionCase(false);
}
