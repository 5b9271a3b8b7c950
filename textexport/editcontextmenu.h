#pragma once

#include <QCoreApplication>

class QLineEdit;
class QMenu;
class QPlainTextEdit;

// The context menu of a text editor or text field, in the interface language. Qt's own menu speaks only
// English unless Qt's translations are installed on the machine, which they often are not.
class EditContextMenu
{
    Q_DECLARE_TR_FUNCTIONS(EditContextMenu)
public:
    // A new menu for the editor as it is now (entries enabled as they apply); the caller owns it.
    static QMenu *create(QPlainTextEdit *editor);
    // Gives the editor this menu instead of Qt's, for a right click on its text and for the menu key.
    static void attach(QPlainTextEdit *editor);

    // The same for a one-line field.
    static QMenu *create(QLineEdit *field);
    static void attach(QLineEdit *field);
};
