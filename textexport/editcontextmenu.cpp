#include "textexport/editcontextmenu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

// Shows the menu for context-menu events of the editor (and of its viewport, where a right click
// on the text lands), before Qt's own menu is built.
template <typename Editor> class MenuFilter : public QObject
{
public:
    explicit MenuFilter(Editor *editor) : QObject(editor), m_editor(editor) {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ContextMenu)
            return false;
        auto *request = static_cast<QContextMenuEvent *>(event);
        QMenu *menu = EditContextMenu::create(m_editor);
        menu->exec(request->globalPos());
        delete menu;
        return true;
    }

private:
    Editor *m_editor;
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
    auto *filter = new MenuFilter<QPlainTextEdit>(editor);
    editor->installEventFilter(filter);
    editor->viewport()->installEventFilter(filter);
}

QMenu *EditContextMenu::create(QLineEdit *field)
{
    auto *menu = new QMenu(field);
    const bool hasSelection = field->hasSelectedText();
    const bool editable = !field->isReadOnly();
    // A password field's text is not handed out.
    const bool shown = field->echoMode() == QLineEdit::Normal;
    const QMimeData *clip = QApplication::clipboard()->mimeData();

    QAction *action = menu->addAction(tr("撤销"), field, &QLineEdit::undo);
    action->setEnabled(editable && field->isUndoAvailable());
    action = menu->addAction(tr("重做"), field, &QLineEdit::redo);
    action->setEnabled(editable && field->isRedoAvailable());
    menu->addSeparator();
    action = menu->addAction(tr("剪切"), field, &QLineEdit::cut);
    action->setEnabled(hasSelection && editable && shown);
    action = menu->addAction(tr("复制"), field, &QLineEdit::copy);
    action->setEnabled(hasSelection && shown);
    action = menu->addAction(tr("粘贴"), field, &QLineEdit::paste);
    action->setEnabled(editable && clip && clip->hasText() && !clip->text().isEmpty());
    action = menu->addAction(tr("删除"), field, &QLineEdit::del);
    action->setEnabled(hasSelection && editable);
    menu->addSeparator();
    action = menu->addAction(tr("全选"), field, &QLineEdit::selectAll);
    action->setEnabled(!field->text().isEmpty());
    return menu;
}

void EditContextMenu::attach(QLineEdit *field)
{
    field->installEventFilter(new MenuFilter<QLineEdit>(field));
}
