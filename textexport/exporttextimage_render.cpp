// Rendering of the text image window and loading a stored text item for re-editing.
#include "textexport/exporttextimage.h"

#include "core/text/textrenderer.h"
#include "widgets/styled/custommegbox.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>

QString ExportTextImage::renderFamily() const
{
    const QString family = comboFont->currentText();
    // A family the machine lacks may leave the combo without a selection; the closest installed
    // family is used then.
    return family.isEmpty() ? QFontInfo(comboFont->currentFont()).family() : family;
}

QFont ExportTextImage::renderFont() const
{
    return TextRenderer::makeFont(renderFamily(), m_fontSize, actionTextBold->isChecked(),
                                  actionTextItalic->isChecked(), actionTextUnderline->isChecked());
}

void ExportTextImage::refuseEmptyText()
{
    CustomMegBox::informationMessageBox(this, tr("提示"), tr("输入的信息为空不能发送文本!"), tr("确定"));
}

QImage *ExportTextImage::expImage()
{
    QPlainTextEdit *editor = currentEditor();
    const QString text = editor ? editor->document()->toPlainText() : QString();
    if (text.isEmpty()) {
        refuseEmptyText();
        return nullptr;
    }

    const QFont font = renderFont();
    const TextRenderer::Result result = TextRenderer::render(text, font, m_textColor, m_maxImageSize);
    // Only line breaks draw nothing; an empty image would make an item without pixels.
    if (result.image.isNull()) {
        refuseEmptyText();
        return nullptr;
    }

    QImage image = result.image;
    emit exportTextImage(&image, m_textColor, font, result.text);
    m_sentText = text;
    return nullptr;
}

void ExportTextImage::loadText(const QColor &color, const QFont &font, const QString &content)
{
    if (QPlainTextEdit *editor = currentEditor()) {
        editor->clear();
        editor->insertPlainText(content);
    }
    // The swatch shows the item's colour, and so does the colour combo when the colour is one of
    // its names (a black chosen there was stored as (2, 2, 2)); the colour itself is kept as
    // stored, the swatch's rule for a black chosen in the combo is not for a stored one.
    updateColorSwatch(color);
    m_textColor = color;
    const QColor named = color.rgb() == qRgb(2, 2, 2) ? QColor(Qt::black) : color;
    const QStringList names = QColor::colorNames();
    for (int i = 0; i < names.size(); ++i) {
        if (QColor(names.at(i)).rgb() == named.rgb()) {
            comboColor->setCurrentIndex(i);
            break;
        }
    }

    const QString size = QString::number(font.pointSize());
    if (font.pointSize() > 0) {
        // Shown as it is stored, even a size the list or the validator would not offer.
        const QSignalBlocker blocker(comboSize);
        const int index = comboSize->findText(size);
        if (index >= 0)
            comboSize->setCurrentIndex(index);
        else
            comboSize->setEditText(size);
    }
    on_comboSizeEditTextChanged(size);
    comboFont->setCurrentFont(font);
    actionTextBold->setChecked(font.bold());
    actionTextItalic->setChecked(font.italic());
    actionTextUnderline->setChecked(font.underline());
    applyShownFont();
    // The text is shown in the colour it is rendered in, as a colour chosen in the combo is.
    colorStyle();
}

void ExportTextImage::restoreDraft(const QString &text)
{
    QPlainTextEdit *editor = currentEditor();
    if (!editor || text.isEmpty())
        return;
    editor->setPlainText(text);
    // Typing goes on where the text ended.
    editor->moveCursor(QTextCursor::End);
    applyShownFont();
}

QString ExportTextImage::unsentText() const
{
    const QPlainTextEdit *editor = currentEditor();
    const QString text = editor ? editor->toPlainText() : QString();
    return text == m_sentText ? QString() : text;
}
