#include "mainwindow/overviewitem.h"

#include <QBrush>
#include <QFont>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QPainter>
#include <QPen>
#include <QStyleOptionGraphicsItem>

#include <cmath>

namespace {

// Smaller copies below 1/8 would save little: the frame is then mostly the overview's margin.
constexpr int kLevels = 4;
constexpr qreal kLabelPadding = 3;

} // namespace

OverviewItem::OverviewItem(const QPixmap &pixmap, const QString &title) : QGraphicsPixmapItem(pixmap)
{
    // A press anywhere on the rectangle picks the item, also on its transparent pixels, and no mask
    // of a large translucent picture is ever computed.
    setShapeMode(BoundingRectShape);
    setFlag(ItemUsesExtendedStyleOption);
    m_labelBox = new QGraphicsRectItem(this);
    m_labelBox->setFlag(ItemIgnoresTransformations);
    m_labelBox->setPen(Qt::NoPen);
    m_labelBox->setBrush(QColor(0, 0, 0, 160));
    m_label = new QGraphicsSimpleTextItem(m_labelBox);
    m_label->setBrush(QColor(240, 240, 240));
    setTitle(title);
}

void OverviewItem::setTitle(const QString &title)
{
    m_title = title;
    m_label->setText(title);
    m_labelBox->setRect(
        QRectF(QPointF(0, 0), m_label->boundingRect().size() + QSizeF(2 * kLabelPadding, kLabelPadding)));
    m_labelBox->setVisible(!title.isEmpty());
    placeLabel();
}

qreal OverviewItem::labelHeight() const
{
    return m_labelBox->rect().height();
}

void OverviewItem::setLabelBelow(bool below)
{
    if (below == m_labelBelow)
        return;
    m_labelBelow = below;
    placeLabel();
}

void OverviewItem::setPixmap(const QPixmap &pixmap)
{
    QGraphicsPixmapItem::setPixmap(pixmap);
    placeLabel();
}

void OverviewItem::placeLabel()
{
    // The box ignores the view's zoom, so its own rectangle reaches up from the picture's top-left
    // corner, or down from its bottom-left, by the label's height in view pixels.
    const QSizeF size = m_labelBox->rect().size();
    if (m_labelBelow) {
        m_labelBox->setPos(0, pixmap().height());
        m_labelBox->setRect(QRectF(QPointF(0, 0), size));
    } else {
        m_labelBox->setPos(0, 0);
        m_labelBox->setRect(QRectF(QPointF(0, -size.height()), size));
    }
    m_label->setPos(kLabelPadding, m_labelBox->rect().top() + kLabelPadding / 2);
}

void OverviewItem::setVisibleRegion(const QRegion &region)
{
    const bool whole = region == QRegion(boundingRect().toRect());
    if (whole == m_wholeVisible && region == m_visibleRegion)
        return;
    m_visibleRegion = region;
    m_wholeVisible = whole;
    update();
}

const QPixmap &OverviewItem::level(int level)
{
    if (m_levelsKey != pixmap().cacheKey()) {
        m_levels.clear();
        m_levelsKey = pixmap().cacheKey();
    }
    if (m_levels.isEmpty())
        m_levels.append(pixmap());
    while (m_levels.size() <= level) {
        // Each copy halves the one before it, averaging the pixels, so that a filtered draw of it
        // looks like one of the whole picture at a fraction of the cost.
        const QImage larger = m_levels.constLast().toImage();
        const QSize size((larger.width() + 1) / 2, (larger.height() + 1) / 2);
        m_levels.append(
            QPixmap::fromImage(larger.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }
    return m_levels.at(level);
}

void OverviewItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    if (pixmap().isNull() || (!m_wholeVisible && m_visibleRegion.isEmpty()))
        return;
    const QTransform &world = painter->worldTransform();
    const qreal scale = option->levelOfDetailFromTransform(world);
    // The smallest copy that is not smaller than the drawn picture: at 100 % and above the picture
    // itself, pixel for pixel, never smoothed, so the operator sees the true pixels.
    int chosen = 0;
    while (chosen + 1 < kLevels && scale > 0 && scale <= 1.0 / (2 << chosen))
        ++chosen;
    const QPixmap &source = level(chosen);
    const QRectF target(QPointF(0, 0), pixmap().size());
    // Below 100 % the copy is filtered from the next larger one: a line one pixel wide fades
    // rather than vanishes. The raster engine's filtered road costs about a millisecond a frame more.
    painter->setRenderHint(QPainter::SmoothPixmapTransform, scale < 1);

    const QRegion exposed(option->exposedRect.toAlignedRect());
    const QRegion parts = m_wholeVisible ? exposed : m_visibleRegion.intersected(exposed);
    if (parts.isEmpty())
        return;
    // One rectangular clip per part keeps the raster engine on its fast road (a clip of many
    // rectangles does not). An opaque picture's parts grow by a device pixel into the pictures
    // above, which are drawn later and cover it, so that rounding at fractional zoom leaves no seam
    // between pictures; a translucent picture's must not overlap, or it would be blended twice.
    const qreal grow = scale > 0 && !pixmap().hasAlphaChannel() ? 1.0 / scale : 0;
    for (const QRect &part : parts) {
        const QRectF clip = QRectF(part).adjusted(-grow, -grow, grow, grow).intersected(target);
        painter->save();
        painter->setClipRect(clip, Qt::IntersectClip);
        if (chosen == 0 && world.type() <= QTransform::TxTranslate)
            painter->drawPixmap(QPointF(0, 0), source);
        else
            painter->drawPixmap(target, source, QRectF(source.rect()));
        painter->restore();
    }
}
