#include "mainwindow/overviewscene.h"

#include "core/geometry/occlusion.h"
#include "core/geometry/outputscreen.h"
#include "mainwindow/overviewitem.h"

#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QPainter>
#include <QPen>

#include <cmath>
#include <limits>

namespace {

// Above every picture, whatever the number of tabs.
constexpr qreal kOutlineZ = std::numeric_limits<int>::max();

// Guides above the outline.
constexpr qreal kGuideZ = kOutlineZ;

// The view's scale along x: a drag's snapping distance is given in its pixels.
qreal viewScale(const QGraphicsSceneMouseEvent *event)
{
    QWidget *viewport = event->widget();
    const auto *view = viewport ? qobject_cast<const QGraphicsView *>(viewport->parentWidget()) : nullptr;
    if (!view)
        return 1;
    const qreal scale = std::hypot(view->transform().m11(), view->transform().m12());
    return scale > 0 ? scale : 1;
}

} // namespace

OverviewScene::OverviewScene(QObject *parent)
    : QGraphicsScene(parent), m_screenSize(OutputScreen::defaultSize())
{
    // Fifty items that move often: a linear walk costs less than keeping a tree up to date.
    setItemIndexMethod(NoIndex);
    m_outline = new QGraphicsRectItem;
    QPen pen(QColor(255, 170, 0), 2);
    pen.setCosmetic(true);
    m_outline->setPen(pen);
    m_outline->setZValue(kOutlineZ);
    m_outline->setVisible(false);
    addItem(m_outline);
    layoutChanged();
}

void OverviewScene::setScreenSize(const QSize &size)
{
    m_screenSize = OutputScreen(size).size();
    layoutChanged();
    update();
}

void OverviewScene::setEntries(const QList<Entry> &entries)
{
    m_dragged = -1;
    showGuides(QRectF());
    qDeleteAll(m_items);
    m_items.clear();
    for (const Entry &entry : entries) {
        auto *item = new OverviewItem(entry.pixmap, entry.title);
        item->setPos(entry.pos);
        item->setZValue(m_items.size());
        addItem(item);
        m_items.append(item);
    }
    if (m_current >= m_items.size())
        m_current = -1;
    layoutChanged();
}

void OverviewScene::setEntryPos(int index, const QPoint &pos)
{
    if (index < 0 || index >= m_items.size() || entryPos(index) == pos)
        return;
    m_items.at(index)->setPos(pos);
    layoutChanged();
}

QPoint OverviewScene::entryPos(int index) const
{
    if (index < 0 || index >= m_items.size())
        return QPoint();
    return m_items.at(index)->pos().toPoint();
}

void OverviewScene::setEntryPixmap(int index, const QPixmap &pixmap)
{
    if (index < 0 || index >= m_items.size())
        return;
    m_items.at(index)->setPixmap(pixmap);
    layoutChanged();
}

void OverviewScene::setCurrentEntry(int index)
{
    m_current = index >= 0 && index < m_items.size() ? index : -1;
    layoutChanged();
}

void OverviewScene::layoutChanged()
{
    QVector<Occlusion::Layer> layers;
    layers.reserve(m_items.size());
    const QRect screen(QPoint(0, 0), m_screenSize);
    QRectF extent = screen;
    for (const OverviewItem *item : qAsConst(m_items)) {
        const QRect rect(item->pos().toPoint(), item->pixmap().size());
        layers.append({rect, !item->pixmap().hasAlphaChannel()});
        extent |= rect;
    }
    const QVector<QRegion> parts = Occlusion::visibleParts(layers);
    for (int i = 0; i < m_items.size(); ++i)
        m_items.at(i)->setVisibleRegion(parts.at(i).translated(-layers.at(i).rect.topLeft()));

    if (m_current >= 0) {
        m_outline->setRect(m_items.at(m_current)->sceneBoundingRect());
        m_outline->setVisible(true);
    } else {
        m_outline->setVisible(false);
    }
    const qreal margin = qMax(m_screenSize.width(), m_screenSize.height()) / 4.0;
    setSceneRect(extent.adjusted(-margin, -margin, margin, margin));
    placeLabels();
}

void OverviewScene::placeLabels()
{
    // A label goes below its picture only where the scene ends above it, as on a small screen far
    // out: the view could not scroll to a label there.
    for (OverviewItem *item : qAsConst(m_items))
        item->setLabelBelow(item->pos().y() - item->labelHeight() / m_labelScale < sceneRect().top());
}

void OverviewScene::showGuides(const QRectF &snappedRect)
{
    QVector<QLineF> lines;
    if (!snappedRect.isNull()) {
        const QRectF screen(QPointF(0, 0), m_screenSize);
        // Positions are whole pixels, so a centred picture of odd size lies half a pixel off.
        auto on = [](qreal a, qreal b) { return std::abs(a - b) <= 0.5; };
        for (const qreal x : {screen.left(), screen.center().x(), screen.right()}) {
            for (const qreal edge : {snappedRect.left(), snappedRect.center().x(), snappedRect.right()}) {
                if (on(x, edge)) {
                    lines.append(QLineF(x, sceneRect().top(), x, sceneRect().bottom()));
                    break;
                }
            }
        }
        for (const qreal y : {screen.top(), screen.center().y(), screen.bottom()}) {
            for (const qreal edge : {snappedRect.top(), snappedRect.center().y(), snappedRect.bottom()}) {
                if (on(y, edge)) {
                    lines.append(QLineF(sceneRect().left(), y, sceneRect().right(), y));
                    break;
                }
            }
        }
    }
    while (m_guides.size() < lines.size()) {
        auto *guide = new QGraphicsLineItem;
        QPen pen(QColor(0, 200, 255), 1, Qt::DashLine);
        pen.setCosmetic(true);
        guide->setPen(pen);
        guide->setZValue(kGuideZ);
        addItem(guide);
        m_guides.append(guide);
    }
    for (int i = 0; i < m_guides.size(); ++i) {
        m_guides.at(i)->setVisible(i < lines.size());
        if (i < lines.size())
            m_guides.at(i)->setLine(lines.at(i));
    }
}

void OverviewScene::drawBackground(QPainter *painter, const QRectF &rect)
{
    const QTransform &world = painter->worldTransform();
    const qreal scale = std::hypot(world.m11(), world.m12());
    if (scale > 0 && !qFuzzyCompare(scale, m_labelScale)) {
        m_labelScale = scale;
        // Not while painting: moving a label asks for another paint.
        QMetaObject::invokeMethod(this, &OverviewScene::placeLabels, Qt::QueuedConnection);
    }
    painter->fillRect(rect, QColor(58, 58, 62));
    const QRectF screen(QPointF(0, 0), m_screenSize);
    painter->fillRect(screen & rect, Qt::black);
    QPen pen(QColor(120, 120, 128), 1);
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(screen);
}

int OverviewScene::entryAt(const QPointF &scenePos) const
{
    // Items come topmost first; a press on a label picks the label's picture.
    const QList<QGraphicsItem *> found = items(scenePos, Qt::IntersectsItemShape, Qt::DescendingOrder);
    for (QGraphicsItem *item : found) {
        for (QGraphicsItem *up = item; up; up = up->parentItem()) {
            if (auto *entry = qgraphicsitem_cast<OverviewItem *>(up))
                return m_items.indexOf(entry);
        }
    }
    return -1;
}

void OverviewScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    const int index = entryAt(event->scenePos());
    if (index < 0) {
        QGraphicsScene::mousePressEvent(event);
        return;
    }
    event->accept();
    if (event->button() == Qt::LeftButton) {
        m_dragged = index;
        m_dragMoved = false;
        m_pressScenePos = event->scenePos();
        m_pressItemPos = entryPos(index);
    }
    emit entryPicked(index);
}

void OverviewScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_dragged < 0 || !(event->buttons() & Qt::LeftButton)) {
        QGraphicsScene::mouseMoveEvent(event);
        return;
    }
    event->accept();
    const OverviewItem *item = m_items.at(m_dragged);
    QPointF at = QPointF(m_pressItemPos) + (event->scenePos() - m_pressScenePos);
    const bool snapping = !(event->modifiers() & Qt::AltModifier);
    if (snapping) {
        const qreal threshold = snapDistance() / viewScale(event);
        at = OutputScreen(m_screenSize).snapped(QRectF(at, item->pixmap().size()), threshold);
    }
    const QPoint pos(qRound(at.x()), qRound(at.y()));
    showGuides(snapping ? QRectF(pos, item->pixmap().size()) : QRectF());
    if (pos == entryPos(m_dragged))
        return;
    setEntryPos(m_dragged, pos);
    m_dragMoved = true;
    emit entryMoved(m_dragged, pos);
}

void OverviewScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_dragged < 0 || event->button() != Qt::LeftButton) {
        QGraphicsScene::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const int index = m_dragged;
    const bool moved = m_dragMoved;
    m_dragged = -1;
    m_dragMoved = false;
    showGuides(QRectF());
    if (moved)
        emit entryDragFinished(index);
}
