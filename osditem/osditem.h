#pragma once

#include <QGraphicsPixmapItem>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QSize>

class OSDImageCutDLL;
class SourceData;
class VideoControlOSD;

// The graphics item of one OSD item on its tab's preview scene. It carries the item's images and
// links to its record and text source, and reports what happens to it through signals.
class OSDItem : public QObject, public QGraphicsPixmapItem
{
    Q_OBJECT
public:
    OSDItem();
    ~OSDItem() override;

    void setOsdImage(const QImage &image, bool isPicture);
    bool isPicture() const { return m_isPicture; }
    QImage image() const { return m_image; }
    QImage loadedImage() const { return m_loadedImage; }
    QImage displayImage() const { return m_displayImage; }
    void setDisplayImage(const QImage &image) { m_displayImage = image; }
    bool isShowCutArea() const { return m_showCutArea; }
    void setShowCutArea(bool show) { m_showCutArea = show; }

    // The item holds its record and source (see SharedRecord); it never frees them itself.
    VideoControlOSD *videoControlOSD() const { return m_videoControlOSD; }
    void setVideoControlOSD(VideoControlOSD *record);
    SourceData *sourceData() const { return m_sourceData; }
    void setSourceData(SourceData *source);

    QSize imageSize() const { return m_imageSize; }
    QRect cutRect() const { return m_cutRect; }
    int cutWidth() const { return m_cutWidth; }
    int cutHeight() const { return m_cutHeight; }
    OSDImageCutDLL *cutPanel() const { return m_cutPanel; }

signals:
    void signal_closeAllOsdItem();
    void signal_readBackOsdInfo();
    void signal_changeImgbyCut(QImage image, QRect rect);
    void signal_displayCutImg(bool show);
    void signal_imgLocateOnIterm(double x, double y, double PicX, double PicY);
    void signal_itemHoverLeave();
    void signal_itemHoverEnter(QPointF scenePos);
    void signal_mouseClicked();

public slots:
    void slot_setTop();
    void slot_setBottom();
    void slot_removeAllImages();
    void slot_readBackOsdInfo();
    void slot_osdCutout();
    void slot_selectShowArea();
    void slot_applyCutImage(QImage image, QRect rect);

protected:
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

private:
    QSize m_imageSize = QSize(-1, -1);
    QImage m_image;
    QImage m_loadedImage;
    QRect m_cutRect = QRect(0, 0, 100, 100);
    QImage m_displayImage;
    bool m_isPicture = false;
    int m_cutWidth = 100;
    int m_cutHeight = 100;
    bool m_showCutArea = false;
    OSDImageCutDLL *m_cutPanel = nullptr;
    VideoControlOSD *m_videoControlOSD = nullptr;
    SourceData *m_sourceData = nullptr;
};
