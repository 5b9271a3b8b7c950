#include "support/textediting.h"

#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

namespace TestSupport {

QList<QTextCharFormat> charFormats(QPlainTextEdit *editor)
{
    QList<QTextCharFormat> formats;
    QTextCursor cursor(editor->document());
    const int length = editor->toPlainText().size();
    for (int position = 1; position <= length; ++position) {
        cursor.setPosition(position);
        formats << cursor.charFormat();
    }
    return formats;
}

QString looks(const QFont &font)
{
    const QFontInfo info(font);
    return QStringLiteral("%1 %2 %3pt%4")
        .arg(info.family(), info.styleName())
        .arg(info.pointSize())
        .arg(info.underline() ? QStringLiteral(" underlined") : QString());
}

QStringList shownLooks(QPlainTextEdit *editor)
{
    QStringList seen;
    for (const QTextCharFormat &format : charFormats(editor))
        seen << looks(format.font().resolve(editor->document()->defaultFont()));
    seen.removeDuplicates();
    return seen;
}

void typeInto(QWidget *widget, const QString &text)
{
    QTest::keyClicks(widget, text);
}

void clearSizeField(QComboBox *combo)
{
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo, Qt::Key_Backspace);
}

} // namespace TestSupport
