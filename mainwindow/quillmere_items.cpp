// Adding picture and text items to the current tab, and the cut view of picture items.
#include "mainwindow/quillmere.h"

void Quillmere::slot_picturnButten() {}
void Quillmere::on_exportTextImage(QImage *img, QColor color, QFont font, QString text)
{
    Q_UNUSED(img)
    Q_UNUSED(color)
    Q_UNUSED(font)
    Q_UNUSED(text)
}
void Quillmere::slot_updateImgOfView(QImage image, QRect rect)
{
    Q_UNUSED(image)
    Q_UNUSED(rect)
}
void Quillmere::slot_getIsDisPlayImg(bool show)
{
    m_isDisplayCutImage = show;
}
