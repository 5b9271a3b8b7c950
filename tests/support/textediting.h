#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>

class QComboBox;
class QPlainTextEdit;
class QWidget;

namespace TestSupport {

// The character format of every character of the document.
QList<QTextCharFormat> charFormats(QPlainTextEdit *editor);

// How a font looks on screen: the face the font library picks for it, its size and underline.
QString looks(const QFont &font);

// The different looks of the document's characters in the editor.
QStringList shownLooks(QPlainTextEdit *editor);

// Types text into widget, key by key.
void typeInto(QWidget *widget, const QString &text);

// Empties an editable combo box's field as the operator would, with Backspace.
void clearSizeField(QComboBox *combo);

} // namespace TestSupport
