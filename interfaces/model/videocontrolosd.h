#pragma once

#include "interfaces/model/sharedrecord.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

// One OSD item as the device sees it: its pixel data (blue, green, red, rows top to bottom) and
// everything the device needs to place, cut and key it.
class VideoControlOSD : public SharedRecord
{
public:
    VideoControlOSD();
    ~VideoControlOSD() override;

    void setImage(const QByteArray &data) { m_image = data; }
    QByteArray image() const { return m_image; }

    // The record takes the image over and frees it when replaced or when the record goes.
    void setPImageValue(QImage *image);
    QImage *pImageValue() const { return m_pImage; }

    void setSize(const QSize &size) { m_size = size; }
    QSize size() const { return m_size; }

    void setCompletionImageWidth(int width) { m_completionImageWidth = width; }
    int completionImageWidth() const { return m_completionImageWidth; }

    void setOSDFileLength(int length) { m_osdFileLength = length; }
    int OSDFileLength() const { return m_osdFileLength; }

    void setLocation(const QPoint &location) { m_location = location; }
    QPoint location() const { return m_location; }

    void setCutImageSize(const QRect &rect) { m_cutImageSize = rect; }
    QRect CutImageSize() const { return m_cutImageSize; }

    void setIsEnableCutImage(bool on) { m_isEnableCutImage = on; }
    bool IsEnableCutImage() const { return m_isEnableCutImage; }

    void setIsCanEnableCut(bool on) { m_isCanEnableCut = on; }
    bool IsCanEnableCut() const { return m_isCanEnableCut; }

    void setIsAvailable(bool on) { m_isAvailable = on; }
    bool IsAvailable() const { return m_isAvailable; }

    // Colour key of a text item (the inverse of its text colour); -1 while never set.
    void setRed(int value) { m_red = value; }
    int red() const { return m_red; }
    void setGreen(int value) { m_green = value; }
    int green() const { return m_green; }
    void setBlue(int value) { m_blue = value; }
    int blue() const { return m_blue; }

    void setSelectColor(const QColor &color) { m_selectColor = color; }
    QColor selectColor() const { return m_selectColor; }

    void setIsSelectColor(bool on) { m_isSelectColor = on; }
    bool IsSelectColor() const { return m_isSelectColor; }

private:
    QByteArray m_image;
    QImage *m_pImage = nullptr;
    QSize m_size;
    int m_completionImageWidth = 0;
    int m_osdFileLength = 0;
    QPoint m_location;
    QRect m_cutImageSize;
    bool m_isEnableCutImage = false;
    bool m_isCanEnableCut = false;
    bool m_isAvailable = false;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;
    QColor m_selectColor = QColor(0, 0, 0);
    bool m_isSelectColor = false;
};
