#pragma once

#include <QColor>
#include <QGraphicsPixmapItem>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <functional>

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

    // Lets qgraphicsitem_cast tell an OSD item from the other items of a scene.
    enum
    {
        Type = UserType + 1
    };
    int type() const override { return Type; }

    // An item owns its pictures and its cut window:
    // - the source picture, as loaded, rendered or imported; keying always starts from it;
    // - the keyed picture, the source with the colour key applied (the source itself until a key is
    //   applied); the record holds it whole;
    // - the cut window, a rectangle inside the keyed picture, and the cut-view switch.
    // The pixmap shows the cut window of the keyed picture while the cut view is on and a cut exists,
    // otherwise the whole keyed picture.

    // A new source picture, unkeyed. Does not change the pixmap (see showImages).
    void setOsdImage(const QImage &image, bool isPicture);
    bool isPicture() const { return m_isPicture; }
    QImage sourceImage() const { return m_sourceImage; }
    // The keyed picture: the whole picture, also after a cut.
    QImage image() const { return m_image; }
    QImage loadedImage() const { return m_image; }
    // The picture of the cut view: the cut window of the keyed picture, or all of it without a cut.
    QImage displayImage() const;
    // The picture the pixmap shows now.
    QImage shownImage() const;
    // A keyed picture made from the source, with, where the keyer made one, the same pixels in a form
    // the pixmap takes without converting; shown at once.
    void setKeyedImage(const QImage &keyed, const QImage &displayForm = QImage());
    // Takes the keyed picture and the pixmap's pixels out of the item, so that the next keying step
    // can write into their memory; the item shows nothing until setKeyedImage.
    void takeKeyedImage(QImage *keyed, QImage *displayForm);
    bool isKeyApplied() const { return m_keyApplied; }
    // The colour range and fill colour the keyed picture was made with, so it can be made again.
    void setKeyRecipe(const QColor &begin, const QColor &end, const QColor &fill)
    {
        m_keyBegin = begin;
        m_keyEnd = end;
        m_keyFill = fill;
    }
    QColor keyBegin() const { return m_keyBegin; }
    QColor keyEnd() const { return m_keyEnd; }
    QColor keyFill() const { return m_keyFill; }
    bool isShowCutArea() const { return m_showCutArea; }
    void setShowCutArea(bool show) { m_showCutArea = show; }
    // Whether the cut view has a window to show: a cut was applied or imported.
    bool hasCut() const { return m_hasCut; }
    // Sets the cut window, kept inside the picture; an empty or outside rectangle clears the cut.
    void setCut(const QRect &rect);
    // Sets the pixmap to what the item shows (see above), keeping the item's position.
    void showImages();
    // The picture pixel under a point in item coordinates (pixels of the shown pixmap), from the
    // keyed picture, in every cut-view state. False where the item shows no pixel.
    bool pixelUnder(const QPointF &itemPos, QRgb *pixel) const;
    // The same pixel of the source picture, before any keying.
    bool sourcePixelUnder(const QPointF &itemPos, QRgb *pixel) const;
    // False for an item made from an imported record: its source is the keyed pixels the file held,
    // with no original picture to go back to.
    bool hasOriginal() const { return m_hasOriginal; }
    void setHasOriginal(bool has) { m_hasOriginal = has; }
    // Where the last left press on the picture was, in item coordinates; signal_mouseClicked
    // reports that press.
    QPointF pressPos() const { return m_pressPos; }

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
    // Called after every change of the item's position, so that the entry it shows follows a move
    // made on the item itself.
    void setPositionListener(std::function<void()> listener);

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
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    bool pixelOf(const QImage &picture, const QPointF &itemPos, QRgb *pixel) const;

    QSize m_imageSize = QSize(-1, -1);
    QImage m_sourceImage;
    QImage m_image;
    // The keyed picture's pixels as the pixmap takes them; null when m_image is shown as it is.
    QImage m_displayForm;
    QRect m_cutRect = QRect(0, 0, 100, 100);
    bool m_hasCut = false;
    bool m_isPicture = false;
    bool m_keyApplied = false;
    bool m_hasOriginal = true;
    QPointF m_pressPos;
    QColor m_keyBegin;
    QColor m_keyEnd;
    QColor m_keyFill;
    int m_cutWidth = 100;
    int m_cutHeight = 100;
    bool m_showCutArea = false;
    OSDImageCutDLL *m_cutPanel = nullptr;
    VideoControlOSD *m_videoControlOSD = nullptr;
    SourceData *m_sourceData = nullptr;
    std::function<void()> m_positionListener;
};
