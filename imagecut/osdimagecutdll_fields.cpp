// The four window fields of the cut panel and how they follow the selection rectangle.
#include "imagecut/cutgeometry.h"
#include "imagecut/osdimagecutdll.h"
#include "imagecut/pictureedit.h"
#include "interfaces/spinboxex.h"

#include <algorithm>

void OSDImageCutDLL::markField(SpinBoxEx *box, bool valid)
{
    box->setFontColor(valid ? QColor(210, 210, 210) : QColor(255, 0, 0));
    box->setBorderErrorMsg(!valid);
}

QSize OSDImageCutDLL::fieldLimit() const
{
    // A cut window must also stay on the picture, or OK would pad the cut with empty pixels; when
    // scaling, the fields give the output size and only the OSD size limits them.
    return isZoom ? osdSize : osdSize.boundedTo(sourcePixmap.size());
}

void OSDImageCutDLL::on_spinBox_contrast_X_valueChanged(int arg1)
{
    if (!fieldsActive())
        return;
    if (!CutGeometry::isValidStart(arg1, cutRect.width(), fieldLimit().width())) {
        markField(spinBox_contrast_X, false);
        return;
    }
    markField(spinBox_contrast_X, true);
    // The right edge stays where it is; a start beyond it would leave no window at all, so the
    // right edge then comes along and the window keeps one column.
    cutRect.setLeft(arg1);
    cutRect.setRight(std::max(cutRect.right(), arg1));
    showCutRect();
}

void OSDImageCutDLL::on_spinBox_contrast_Y_valueChanged(int arg1)
{
    if (!fieldsActive())
        return;
    if (!CutGeometry::isValidStart(arg1, cutRect.height(), fieldLimit().height())) {
        markField(spinBox_contrast_Y, false);
        return;
    }
    markField(spinBox_contrast_Y, true);
    cutRect.setTop(arg1);
    cutRect.setBottom(std::max(cutRect.bottom(), arg1));
    showCutRect();
}

void OSDImageCutDLL::on_spinBox_contrast_W_valueChanged(int arg1)
{
    if (!fieldsActive())
        return;
    if (!CutGeometry::isValidExtent(cutRect.left(), arg1, fieldLimit().width(), minCutSize.width())) {
        markField(spinBox_contrast_W, false);
        return;
    }
    markField(spinBox_contrast_W, true);
    cutRect.setRight(cutRect.left() + arg1 - 1);
    showCutRect();
}

void OSDImageCutDLL::on_spinBox_contrast_H_valueChanged(int arg1)
{
    if (!fieldsActive())
        return;
    if (!CutGeometry::isValidExtent(cutRect.top(), arg1, fieldLimit().height(), minCutSize.height())) {
        markField(spinBox_contrast_H, false);
        return;
    }
    markField(spinBox_contrast_H, true);
    cutRect.setBottom(cutRect.top() + arg1 - 1);
    showCutRect();
}

void OSDImageCutDLL::on_CutWindowsChangedEvent(QRect rect)
{
    // Each changed field runs its handler, which may resize the rectangle and report it again
    // before this returns; the fields are written from this report's rectangle all the same, so the
    // last report to finish decides what they show.
    spinBox_contrast_X->setValue(rect.left());
    spinBox_contrast_Y->setValue(rect.top());
    spinBox_contrast_W->setValue(rect.right() - rect.left() + 1);
    spinBox_contrast_H->setValue(rect.bottom() - rect.top() + 1);
}

void OSDImageCutDLL::on_CheckOutVaue()
{
    isValueChecked = true;
}
