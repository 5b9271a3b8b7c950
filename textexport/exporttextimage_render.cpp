// Rendering of the text image window and loading a stored text item for re-editing.
#include "textexport/exporttextimage.h"

#include "interfaces/custommegbox.h"
#include "textexport/textrenderer.h"

#include <QAction>
#include <QFontComboBox>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QTextDocument>

QFont ExportTextImage::renderFont() const
{
    QString family = comboFont->currentText();
    // A family the machine lacks may leave the combo without a selection; the closest installed
    // family is used then.
    if (family.isEmpty())
        family = QFontInfo(comboFont->currentFont()).family();
    return TextRenderer::makeFont(family, m_fontSize, actionTextBold->isChecked(),
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
    return nullptr;
}

void ExportTextImage::loadText(const QColor &color, const QFont &font, const QString &content)
{
    if (QPlainTextEdit *editor = currentEditor()) {
        editor->clear();
        editor->insertPlainText(content);
    }
    m_textColor = color;
    on_comboSizeEditTextChanged(QString::number(font.pointSize()));
    comboFont->setCurrentFont(font);
}
