// The four window fields of the cut panel and how they follow the selection rectangle.
#include "core/geometry/cutgeometry.h"
#include "imagecut/osdimagecutdll.h"
#include "imagecut/pictureedit.h"
#include "widgets/styled/spinboxex.h"

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
    if (fieldsActive())
        applyStart(Qt::Horizontal, arg1);
}

void OSDImageCutDLL::on_spinBox_contrast_Y_valueChanged(int arg1)
{
    if (fieldsActive())
        applyStart(Qt::Vertical, arg1);
}

void OSDImageCutDLL::applyStart(Qt::Orientation axis, int start)
{
    const bool horizontal = axis == Qt::Horizontal;
    SpinBoxEx *box = horizontal ? spinBox_contrast_X : spinBox_contrast_Y;
    StartTyping &typing = horizontal ? xTyping : yTyping;
    // Anything else that changed the window since the last keystroke starts the typing afresh. A
    // start written from the rectangle follows the window on screen and leaves the typing alone.
    if (!isFollowingRect && typing.reached != cutRect)
        typing.base = cutRect;
    const QRect base = isFollowingRect ? cutRect : typing.base;
    const CutSpan span = horizontal ? CutSpan{base.left(), base.right()} : CutSpan{base.top(), base.bottom()};
    const int limit = horizontal ? fieldLimit().width() : fieldLimit().height();
    const std::optional<CutSpan> placed = CutGeometry::spanFromStart(span, start, limit);
    if (!placed) {
        markField(box, false);
        return;
    }
    markField(box, true);
    if (horizontal) {
        cutRect.setLeft(placed->first);
        cutRect.setRight(placed->last);
    } else {
        cutRect.setTop(placed->first);
        cutRect.setBottom(placed->last);
    }
    showCutRect();
    if (!isFollowingRect)
        typing.reached = cutRect;

    // A window moved only as far as it fits: the field says where it really starts.
    if (placed->first != start) {
        const bool wasInitializing = isInitializing;
        isInitializing = true;
        box->setValue(placed->first);
        isInitializing = wasInitializing;
    }
}

void OSDImageCutDLL::endStartTyping()
{
    xTyping = StartTyping();
    yTyping = StartTyping();
}

SpinBoxEx *OSDImageCutDLL::firstRedField() const
{
    for (SpinBoxEx *box : {spinBox_contrast_X, spinBox_contrast_Y, spinBox_contrast_W, spinBox_contrast_H}) {
        if (box->hasBorderError())
            return box;
    }
    return nullptr;
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
    const bool wasFollowing = isFollowingRect;
    isFollowingRect = true;
    spinBox_contrast_X->setValue(rect.left());
    spinBox_contrast_Y->setValue(rect.top());
    spinBox_contrast_W->setValue(rect.right() - rect.left() + 1);
    spinBox_contrast_H->setValue(rect.bottom() - rect.top() + 1);
    isFollowingRect = wasFollowing;
}

void OSDImageCutDLL::on_CheckOutVaue()
{
    isValueChecked = true;
    // The typed start is complete; the next one is placed against the window it left.
    endStartTyping();
}
