#include "imagecut/pictureedit.h"

#include "imagecut/cutdialog.h"
#include "imagecut/photoshotdialog.h"
#include "ui_pictureedit.h"

#include <QScrollBar>

pictureedit::pictureedit(QWidget *parent) : QFrame(parent), ui(new Ui::pictureedit)
{
    ui->setupUi(this);
}

pictureedit::~pictureedit()
{
    // The cover is a child of the picture label and goes with it; nothing to do beyond the form.
    delete ui;
}

void pictureedit::setPicture(const QPixmap &pixmap, const bool &isZoom)
{
    m_picture = pixmap;
    m_isZoom = isZoom;

    if (!m_picture.isNull()) {
        ui->label->resize(m_picture.size());
        ui->label->move(ui->scrollArea->pos());
        ui->label->setPixmap(m_picture);
    }

    if (m_overlay) {
        m_overlay->close();
        delete m_overlay;
        m_overlay = nullptr;
    }
    if (m_isZoom)
        return;

    // Created after the label took the picture's size, so the cover matches the picture exactly
    // even when the layout later stretches the label over a larger viewport.
    m_overlay = new PhotoShotDialog(ui->label);
    connect(m_overlay, &PhotoShotDialog::CutWindowsChanged, this, &pictureedit::om_WindowsChanged);
    m_overlay->show();
}

void pictureedit::setCutWindow(int x1, int y1, int x2, int y2)
{
    if (!m_overlay)
        return;
    m_overlay->cutDialog()->setGeometry(QRect(QPoint(x1, y1), QPoint(x2, y2)));
}

void pictureedit::setFrameStyles(QString frameStyle, QString vScrollBarStyle, QString hScrollBarStyle,
                                 QString areaStyle)
{
    if (!frameStyle.isEmpty())
        setStyleSheet(QStringLiteral("QFrame#pictureedit") + frameStyle);
    if (!vScrollBarStyle.isEmpty())
        ui->scrollArea->verticalScrollBar()->setStyleSheet(vScrollBarStyle);
    if (!hScrollBarStyle.isEmpty())
        ui->scrollArea->horizontalScrollBar()->setStyleSheet(hScrollBarStyle);
    ui->scrollArea->setStyleSheet(QStringLiteral("QScrollArea#scrollArea") + areaStyle);
    ui->scrollAreaWidgetContents->setStyleSheet(QStringLiteral("QWidget#scrollAreaWidgetContents") +
                                                areaStyle);
}

void pictureedit::om_WindowsChanged(QRect rect)
{
    emit CutWindowsChangedEvent(rect);
}
