// Formatting of the text image window: every control applies to the whole document.
#include "textexport/exporttextimage.h"

#include <QAction>
#include <QBrush>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontComboBox>
#include <QFontDialog>
#include <QIcon>
#include <QLoggingCategory>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>

// Off unless QT_LOGGING_RULES asks for it ("brisklane.text.debug=true").
Q_LOGGING_CATEGORY(lcText, "brisklane.text", QtInfoMsg)

void ExportTextImage::applyCharFormat(const QTextCharFormat &format)
{
    QPlainTextEdit *editor = currentEditor();
    if (!editor)
        return;
    // The whole document, never just a word or the selection: the image is rendered in one format.
    QTextCursor cursor = editor->textCursor();
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(format);
    editor->mergeCurrentCharFormat(format);
}

void ExportTextImage::textSize(const QString &size)
{
    m_fontSize = size;
    bool ok = false;
    const int pointSize = size.toInt(&ok, 10);
    if (ok && pointSize > 0) {
        QTextCharFormat format;
        format.setFontPointSize(pointSize);
        applyCharFormat(format);
    }
}

void ExportTextImage::reapplySize()
{
    textSize(m_fontSize);
}

void ExportTextImage::on_comboSizeEditTextChanged(const QString &size)
{
    qCDebug(lcText).noquote() << "Size changed:" << size;
    m_fontSize = size;
}

void ExportTextImage::on_comboSizeFocusOutEvent(QFocusEvent *e)
{
    if (e)
        e->accept();
    textSize(m_fontSize);
}

void ExportTextImage::textFontFamily(const QString &font)
{
    m_fontFamily = font;
    reapplySize();
    QTextCharFormat format;
    format.setFontFamily(font);
    applyCharFormat(format);
    textStyle();
}

void ExportTextImage::applyShownFont()
{
    // The document shows the family the combo shows, which is the one rendered, at the current
    // size and style.
    QTextCharFormat format;
    format.setFontFamily(renderFamily());
    applyCharFormat(format);
    textStyle();
}

void ExportTextImage::textStyle()
{
    QTextCharFormat format;
    // The weights the image is rendered with: weight 0 would show a family's thin or light face.
    format.setFontWeight(actionTextBold->isChecked() ? 75 : 50);
    format.setFontItalic(actionTextItalic->isChecked());
    format.setUnderlineStyle(actionTextUnderline->isChecked() ? QTextCharFormat::SingleUnderline
                                                              : QTextCharFormat::NoUnderline);
    applyCharFormat(format);
    reapplySize();
}

void ExportTextImage::textStyle(int index)
{
    QTextCharFormat format;
    switch (index) {
    case 0:
        format.setFontItalic(false);
        format.setFontWeight(50);
        break;
    case 1:
        format.setFontItalic(false);
        format.setFontWeight(75);
        break;
    case 2:
        format.setFontItalic(true);
        format.setFontWeight(50);
        break;
    default:
        format.setFontItalic(true);
        format.setFontWeight(75);
        break;
    }
    applyCharFormat(format);
    reapplySize();
}

void ExportTextImage::updateTextStyleActs(const QString &style)
{
    if (style == QLatin1String("Normal")) {
        actionTextBold->setChecked(false);
        actionTextItalic->setChecked(false);
    } else if (style == QLatin1String("Bold")) {
        actionTextBold->setChecked(true);
        actionTextItalic->setChecked(false);
    } else if (style == QLatin1String("Italic")) {
        actionTextBold->setChecked(false);
        actionTextItalic->setChecked(true);
    } else {
        actionTextBold->setChecked(true);
        actionTextItalic->setChecked(true);
    }
}

void ExportTextImage::textColor()
{
    const QStringList names = QColor::colorNames();
    const int index = comboColor->currentIndex();
    if (index < 0 || index >= names.size())
        return;
    const QColor chosen(names.at(index));
    m_textColor.setRgb(chosen.red(), chosen.green(), chosen.blue(), m_textColor.alpha());
    QTextCharFormat format;
    format.setForeground(QBrush(chosen, Qt::SolidPattern));
    applyCharFormat(format);
    updateColorSwatch(chosen);
}

void ExportTextImage::updateColorSwatch(const QColor &color)
{
    QPixmap swatch(16, 16);
    swatch.fill(color);
    actionTextColor->setIcon(QIcon(swatch));
    // A chosen pure black is rendered as (2, 2, 2); the editor still shows black.
    if (color.red() == 0 && color.green() == 0 && color.blue() == 0)
        m_textColor = QColor(2, 2, 2, 255);
}

void ExportTextImage::colorStyle()
{
    QTextCharFormat format;
    format.setForeground(QBrush(m_textColor, Qt::SolidPattern));
    applyCharFormat(format);
}

void ExportTextImage::on_textChanged()
{
    QPlainTextEdit *editor = currentEditor();
    if (!editor || !editor->toPlainText().isEmpty())
        return;
    // Text typed into an emptied editor starts with the chosen format.
    applyShownFont();
    colorStyle();
}

void ExportTextImage::textFont()
{
    QPlainTextEdit *editor = currentEditor();
    if (!editor)
        return;
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, editor->font(), this, QString());
    if (!ok)
        return;
    QTextCharFormat format;
    format.setFont(font);
    applyCharFormat(format);
    reapplySize();
    textStyle();
}
