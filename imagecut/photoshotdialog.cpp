#include "imagecut/photoshotdialog.h"

#include "imagecut/cutdialog.h"

#include <QPainter>
#include <QPainterPath>

PhotoShotDialog::PhotoShotDialog(QWidget *parent) : QWidget(parent)
{
    setWindowFlags(Qt::FramelessWindowHint);
    m_cutDialog = new CutDialog(this);
    connect(m_cutDialog, &CutDialog::windowsRemoveAndChangeSize, this,
            &PhotoShotDialog::om_CutWindowsChanged);
    m_cutDialog->show();
    // The cover sits on the picture's top-left corner with the picture's size, so the rectangle's
    // geometry is the window in picture pixels.
    if (parent)
        setGeometry(0, 0, parent->width(), parent->height());
}

void PhotoShotDialog::om_CutWindowsChanged(QRect rect)
{
    emit CutWindowsChanged(rect);
}

void PhotoShotDialog::paintEvent(QPaintEvent *)
{
    QPainterPath whole;
    whole.addRect(x(), y(), width(), height());
    QPainterPath selection;
    const QRect cut = m_cutDialog->geometry();
    selection.addRect(cut.left(), cut.top(), cut.width(), cut.height());

    QPainter painter(this);
    painter.setOpacity(0.7);
    painter.fillPath(whole.subtracted(selection), QBrush(Qt::black));
}
