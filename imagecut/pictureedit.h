#pragma once

#include <QFrame>
#include <QPixmap>
#include <QRect>
#include <QString>

class PhotoShotDialog;

namespace Ui {
class pictureedit;
}

// Framed scroll area that shows a picture at one screen pixel per picture pixel, with a cover and
// a selection rectangle on it unless the picture is shown scaled.
class pictureedit : public QFrame
{
    Q_OBJECT
public:
    explicit pictureedit(QWidget *parent = nullptr);
    ~pictureedit() override;

    void setPicture(const QPixmap &pixmap, const bool &isZoom);
    void setCutWindow(int x1, int y1, int x2, int y2);
    void setFrameStyles(QString frameStyle, QString vScrollBarStyle, QString hScrollBarStyle,
                        QString areaStyle);

    PhotoShotDialog *overlay() const { return m_overlay; }
    bool isZoom() const { return m_isZoom; }

signals:
    void CutWindowsChangedEvent(QRect rect);

public slots:
    void om_WindowsChanged(QRect rect);

private:
    Ui::pictureedit *ui;
    QPixmap m_picture;
    PhotoShotDialog *m_overlay = nullptr;
    bool m_isZoom = false;
};
