#include "osditem/osditem.h"

#include "core/pixels/colorkeyer.h"
#include "core/pixels/rasterform.h"
#include "imagecut/osdimagecutdll.h"
#include "interfaces/model/sourcedata.h"
#include "interfaces/model/videocontrolosd.h"

#include <QAction>
#include <QCursor>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QIcon>
#include <QMenu>
#include <QPointer>

OSDItem::OSDItem()
{
    setAcceptHoverEvents(true);
}

OSDItem::~OSDItem()
{
    // The panel has no parent, so it would outlive the item. It is released later rather than now
    // because the item may be going away while the panel is still delivering its OK signal.
    if (m_cutPanel)
        m_cutPanel->deleteLater();
    SharedRecord::release(m_videoControlOSD);
    SharedRecord::release(m_sourceData);
}

void OSDItem::setOsdImage(const QImage &image, bool isPicture)
{
    // Mono and indexed pictures cannot take a colour per pixel; the same colours in 32 bits can.
    // A translucent picture is shown as the file will hold it, flattened (see RasterForm).
    QImage source =
        image.isNull() || ColorKeyer::canKey(image.format())
            ? image
            : image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const bool flatten = (source.format() == QImage::Format_ARGB32 ||
                          source.format() == QImage::Format_ARGB32_Premultiplied) &&
                         RasterForm::hasAlphaPixels(source);
    m_sourceImage = flatten ? RasterForm::flattened(std::move(source)) : std::move(source);
    m_image = flatten ? m_sourceImage : image;
    m_displayForm = QImage();
    m_imageSize = image.size();
    m_isPicture = isPicture;
    m_keyApplied = false;
    if (m_hasCut)
        setCut(m_cutRect);
}

QImage OSDItem::displayImage() const
{
    return m_hasCut ? m_image.copy(m_cutRect) : m_image;
}

QImage OSDItem::shownImage() const
{
    const QImage &whole = m_displayForm.isNull() ? m_image : m_displayForm;
    return m_showCutArea && m_hasCut ? whole.copy(m_cutRect) : whole;
}

void OSDItem::setKeyedImage(const QImage &keyed, const QImage &displayForm)
{
    m_image = keyed;
    m_displayForm = displayForm;
    m_keyApplied = true;
    showImages();
}

void OSDItem::takeKeyedImage(QImage *keyed, QImage *displayForm)
{
    *keyed = std::move(m_image);
    *displayForm = std::move(m_displayForm);
    m_image = QImage();
    m_displayForm = QImage();
    // The pixmap shares those pixels; without letting go of it they could not be written again.
    setPixmap(QPixmap());
}

void OSDItem::setPositionListener(std::function<void()> listener)
{
    m_positionListener = std::move(listener);
    setFlag(ItemSendsGeometryChanges, bool(m_positionListener));
}

QVariant OSDItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionHasChanged && m_positionListener)
        m_positionListener();
    return QGraphicsPixmapItem::itemChange(change, value);
}

void OSDItem::setCut(const QRect &rect)
{
    const QRect inside = rect.normalized() & QRect(QPoint(0, 0), m_image.size());
    m_hasCut = !inside.isEmpty();
    if (!m_hasCut)
        return;
    m_cutRect = inside;
    m_cutWidth = inside.width();
    m_cutHeight = inside.height();
}

void OSDItem::showImages()
{
    const QPointF at = pos();
    // The pixmap shares the pixels of the image where Qt allows it. Three-byte pictures (imported
    // ones) are drawn as they are rather than held a second time in four bytes a pixel.
    const QImage shown = shownImage();
    const bool packed = shown.format() == QImage::Format_BGR888 || shown.format() == QImage::Format_RGB888;
    setPixmap(QPixmap::fromImage(shown, packed ? Qt::NoFormatConversion : Qt::AutoColor));
    setPos(at);
}

bool OSDItem::pixelUnder(const QPointF &itemPos, QRgb *pixel) const
{
    return pixelOf(m_image, itemPos, pixel);
}

bool OSDItem::sourcePixelUnder(const QPointF &itemPos, QRgb *pixel) const
{
    return m_sourceImage.size() == m_image.size() && pixelOf(m_sourceImage, itemPos, pixel);
}

bool OSDItem::pixelOf(const QImage &picture, const QPointF &itemPos, QRgb *pixel) const
{
    // Truncated toward zero, as the pixmap's pixels lie; (-0.5) is still column 0.
    if (!(itemPos.x() > -1.0) || !(itemPos.y() > -1.0))
        return false;
    const QRect shown = m_showCutArea && m_hasCut ? m_cutRect : QRect(QPoint(0, 0), m_image.size());
    if (!(itemPos.x() < shown.width()) || !(itemPos.y() < shown.height()))
        return false;
    *pixel = picture.pixel(shown.x() + int(itemPos.x()), shown.y() + int(itemPos.y()));
    return true;
}

void OSDItem::setVideoControlOSD(VideoControlOSD *record)
{
    if (record == m_videoControlOSD)
        return;
    SharedRecord::retain(record);
    SharedRecord::release(m_videoControlOSD);
    m_videoControlOSD = record;
}

void OSDItem::setSourceData(SourceData *source)
{
    if (source == m_sourceData)
        return;
    SharedRecord::retain(source);
    SharedRecord::release(m_sourceData);
    m_sourceData = source;
}

void OSDItem::slot_setTop() {}

void OSDItem::slot_setBottom() {}

void OSDItem::slot_removeAllImages()
{
    emit signal_closeAllOsdItem();
}

void OSDItem::slot_readBackOsdInfo()
{
    emit signal_readBackOsdInfo();
}

void OSDItem::slot_osdCutout()
{
    if (!m_cutPanel) {
        m_cutPanel = new OSDImageCutDLL(nullptr);
        connect(m_cutPanel, &OSDImageCutDLL::applyCutImage, this, &OSDItem::slot_applyCutImage);
    }
    // Always the whole keyed picture: a cut is chosen on it, never on an earlier cut.
    m_cutPanel->setCutImage(m_imageSize, QPixmap::fromImage(m_image), false);
    m_cutPanel->setWindowModality(Qt::ApplicationModal);
    // Over the window the item is shown in.
    QWidget *window = scene() && !scene()->views().isEmpty() ? scene()->views().first()->window() : nullptr;
    m_cutPanel->showOver(window);
}

void OSDItem::slot_selectShowArea()
{
    m_showCutArea = !m_showCutArea;
    emit signal_displayCutImg(m_showCutArea);
}

void OSDItem::slot_applyCutImage(QImage image, QRect rect)
{
    Q_UNUSED(image)
    // The window is cut from the keyed picture the panel showed; what the panel cut out of its
    // pixmap is only a copy of that. A window outside the picture changes nothing.
    if ((rect.normalized() & QRect(QPoint(0, 0), m_image.size())).isEmpty())
        return;
    setCut(rect);
    emit signal_changeImgbyCut(displayImage(), m_cutRect);
}

void OSDItem::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    QMenu menu;
    if (m_isPicture) {
        auto *cut = new QAction(tr("截取"), this);
        auto *showArea = new QAction(tr("OSD截取开关"), this);
        auto *remove = new QAction(tr("删除"), this);
        // Without a cut there is no window to show, and the device must not get an empty one.
        showArea->setEnabled(m_hasCut);
        if (m_showCutArea)
            showArea->setIcon(QIcon(QStringLiteral(":/osdimage/res/osdimage/checked.png")));
        connect(cut, &QAction::triggered, this, &OSDItem::slot_osdCutout);
        connect(showArea, &QAction::triggered, this, &OSDItem::slot_selectShowArea);
        connect(remove, &QAction::triggered, this, &OSDItem::slot_removeAllImages);
        menu.addAction(cut);
        menu.addAction(showArea);
        menu.addAction(remove);
    } else {
        auto *load = new QAction(tr("载入"), this);
        auto *remove = new QAction(tr("删除"), this);
        connect(load, &QAction::triggered, this, &OSDItem::slot_readBackOsdInfo);
        connect(remove, &QAction::triggered, this, &OSDItem::slot_removeAllImages);
        menu.addAction(load);
        menu.addAction(remove);
    }
    // The actions belong to this item only for the menu's lifetime; without this every right
    // click would leave a few more children behind.
    const QList<QAction *> actions = menu.actions();
    // "删除" may end up freeing this item while the menu still runs; then its actions are gone too.
    const QPointer<QObject> alive(this);
    menu.exec(QCursor::pos());
    if (!alive)
        return;
    qDeleteAll(actions);
    QGraphicsItem::contextMenuEvent(event);
}

void OSDItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    QGraphicsPixmapItem::paint(painter, option, widget);
}

void OSDItem::hoverMoveEvent(QGraphicsSceneHoverEvent *event)
{
    QPoint viewPos;
    if (scene() && !scene()->views().isEmpty())
        viewPos = scene()->views().first()->mapFromScene(event->scenePos());
    emit signal_imgLocateOnIterm(viewPos.x(), viewPos.y(), event->pos().x(), event->pos().y());
    QGraphicsPixmapItem::hoverMoveEvent(event);
}

void OSDItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->pos();
        emit signal_mouseClicked();
    }
    QGraphicsPixmapItem::mousePressEvent(event);
}

void OSDItem::hoverEnterEvent(QGraphicsSceneHoverEvent *event)
{
    emit signal_itemHoverEnter(event->scenePos());
    QGraphicsPixmapItem::hoverEnterEvent(event);
}

void OSDItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    emit signal_itemHoverLeave();
    QGraphicsPixmapItem::hoverLeaveEvent(event);
}
