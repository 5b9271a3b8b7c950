#include "osditem/osditem.h"

#include "imagecut/osdimagecutdll.h"
#include "interfaces/sourcedata.h"
#include "interfaces/videocontrolosd.h"

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
    m_image = image;
    m_loadedImage = image;
    m_displayImage = image;
    m_imageSize = image.size();
    m_isPicture = isPicture;
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
    // Always the loaded picture: a cut is chosen on the whole picture, never on an earlier cut.
    m_cutPanel->setCutImage(m_imageSize, QPixmap::fromImage(m_loadedImage), false);
    m_cutPanel->setWindowModality(Qt::ApplicationModal);
    m_cutPanel->show();
}

void OSDItem::slot_selectShowArea()
{
    m_showCutArea = !m_showCutArea;
    emit signal_displayCutImg(m_showCutArea);
}

void OSDItem::slot_applyCutImage(QImage image, QRect rect)
{
    m_image = image;
    m_cutWidth = image.width();
    m_cutHeight = image.height();
    m_cutRect = rect;
    emit signal_changeImgbyCut(m_image, rect);
}

void OSDItem::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    QMenu menu;
    if (m_isPicture) {
        auto *cut = new QAction(tr("截取"), this);
        auto *showArea = new QAction(tr("OSD截取开关"), this);
        auto *remove = new QAction(tr("删除"), this);
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
    if (event->button() == Qt::LeftButton)
        emit signal_mouseClicked();
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
