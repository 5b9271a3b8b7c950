#include "textexport/editcontextmenu.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

// Shows the menu for context-menu events of the editor and of its viewport (where a right click
// on the text lands), before Qt's own menu is built.
class MenuFilter : public QObject
{
public:
    explicit MenuFilter(QPlainTextEdit *editor) : QObject(editor), m_editor(editor) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ContextMenu || (watched != m_editor && watched != m_editor->viewport()))
            return false;
        auto *request = static_cast<QContextMenuEvent *>(event);
        QMenu *menu = EditContextMenu::create(m_editor);
        menu->exec(request->globalPos());
        delete menu;
        return true;
    }

private:
    QPlainTextEdit *m_editor;
};

} // namespace

QMenu *EditContextMenu::create(QPlainTextEdit *editor)
{
    auto *menu = new QMenu(editor);
    const bool hasSelection = editor->textCursor().hasSelection();
    const bool editable = !editor->isReadOnly();
    QTextDocument *document = editor->document();

    QAction *action = menu->addAction(tr("撤销"), editor, &QPlainTextEdit::undo);
    action->setEnabled(editable && document->isUndoAvailable());
    action = menu->addAction(tr("重做"), editor, &QPlainTextEdit::redo);
    action->setEnabled(editable && document->isRedoAvailable());
    menu->addSeparator();
    action = menu->addAction(tr("剪切"), editor, &QPlainTextEdit::cut);
    action->setEnabled(hasSelection && editable);
    action = menu->addAction(tr("复制"), editor, &QPlainTextEdit::copy);
    action->setEnabled(hasSelection);
    action = menu->addAction(tr("粘贴"), editor, &QPlainTextEdit::paste);
    action->setEnabled(editable && editor->canPaste());
    action = menu->addAction(tr("删除"), editor, [editor] {
        QTextCursor cursor = editor->textCursor();
        cursor.removeSelectedText();
        editor->setTextCursor(cursor);
    });
    action->setEnabled(hasSelection && editable);
    menu->addSeparator();
    action = menu->addAction(tr("全选"), editor, &QPlainTextEdit::selectAll);
    action->setEnabled(!document->isEmpty());
    return menu;
}

void EditContextMenu::attach(QPlainTextEdit *editor)
{
    auto *filter = new MenuFilter(editor);
    editor->installEventFilter(filter);
    editor->viewport()->installEventFilter(filter);
}
