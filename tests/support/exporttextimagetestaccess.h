#pragma once

#include "textexport/exporttextimage.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolBar>

// Reaches the text image window's controls and state, as its friend.
class ExportTextImageTestAccess
{
public:
    explicit ExportTextImageTestAccess(ExportTextImage *window) : w(window) {}

    QPlainTextEdit *editor() const { return w->currentEditor(); }
    QTabWidget *tabWidget() const { return w->m_tabWidget; }
    QFontComboBox *comboFont() const { return w->comboFont; }
    QComboBox *comboStyle() const { return w->comboStyle; }
    QComboBox *comboSize() const { return w->comboSize; }
    QComboBox *comboColor() const { return w->comboColor; }
    QToolBar *formatToolBar() const { return w->m_formatToolBar; }
    QToolBar *actionToolBar() const { return w->m_actionToolBar; }
    QAction *bold() const { return w->actionTextBold; }
    QAction *italic() const { return w->actionTextItalic; }
    QAction *underline() const { return w->actionTextUnderline; }
    QAction *send() const { return w->actionExport; }
    QAction *colorSwatch() const { return w->actionTextColor; }
    QColor textColor() const { return w->m_textColor; }
    QString fontSize() const { return w->m_fontSize; }
    QString fontFamily() const { return w->m_fontFamily; }

private:
    ExportTextImage *w;
};
