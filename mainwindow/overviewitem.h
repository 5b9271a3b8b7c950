#pragma once

#include <QGraphicsPixmapItem>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QVector>

class QGraphicsRectItem;
class QGraphicsSimpleTextItem;

// One tab's picture on the overview, with the tab's title just above it (below it where the
// overview has no room above), so the label never hides the picture's pixels. It paints only the part
// of its picture that the overview found uncovered, and below full size it paints from a smaller
// copy, so that a frame costs about the pixels that are seen.
class OverviewItem : public QGraphicsPixmapItem
{
public:
    explicit OverviewItem(const QPixmap &pixmap = QPixmap(), const QString &title = QString());

    // Lets qgraphicsitem_cast tell an overview item from its label and the other items of a scene.
    enum
    {
        Type = UserType + 2
    };
    int type() const override { return Type; }

    QString title() const { return m_title; }
    // An empty title shows no label.
    void setTitle(const QString &title);
    // The label's height in pixels of the view: it keeps its size at any zoom.
    qreal labelHeight() const;
    void setLabelBelow(bool below);
    bool isLabelBelow() const { return m_labelBelow; }

    // The part of the picture to paint, in item coordinates; the rest is covered by opaque pictures
    // above. All of it until set.
    void setVisibleRegion(const QRegion &region);
    QRegion visibleRegion() const { return m_visibleRegion; }

    void setPixmap(const QPixmap &pixmap);
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    // The copy of the picture at 1/2^level of its size; level 0 is the picture itself.
    const QPixmap &level(int level);
    void placeLabel();

    QString m_title;
    QGraphicsRectItem *m_labelBox = nullptr;
    QGraphicsSimpleTextItem *m_label = nullptr;
    bool m_labelBelow = false;
    QRegion m_visibleRegion;
    bool m_wholeVisible = true;
    // The smaller copies, made when first painted at their size and dropped with the picture.
    QVector<QPixmap> m_levels;
    qint64 m_levelsKey = 0;
};
