#include "support/notepadediting.h"

#include "textexport/notepad.h"

#include <QTextCursor>

namespace TestSupport {

QString documentText(const NotePad &editor)
{
    return editor.toPlainText();
}

void select(NotePad &editor, int anchor, int position)
{
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

void placeCursor(NotePad &editor, int position)
{
    select(editor, position, position);
}

} // namespace TestSupport
