// Colour keying of the current tab's item and colour picking from it.
#include "mainwindow/quillmere.h"

void Quillmere::slot_displayColorFormColorDialog() {}
void Quillmere::slot_displayColorFormColorDialogBegin() {}
void Quillmere::slot_displayColorFormColorDialogEnd() {}
void Quillmere::slot_applyDataForDataModel() {}
void Quillmere::applyColorKey(QImage &image)
{
    Q_UNUSED(image)
}
void Quillmere::slot_Resetbutton() {}
void Quillmere::slot_setColorOfMouse(double x, double y, double PicX, double PicY)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
    Q_UNUSED(PicX)
    Q_UNUSED(PicY)
}
void Quillmere::slot_setColorR(int x, int y)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
}
void Quillmere::slot_setColorG(int x, int y)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
}
void Quillmere::slot_setColorB(int x, int y)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
}
