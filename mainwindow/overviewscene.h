#pragma once

#include <QGraphicsScene>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QVector>

class OverviewItem;
class QGraphicsLineItem;
class QGraphicsRectItem;

// Every tab's picture composed on the output screen, in tab order (the first at the bottom), to be
// seen together and moved with the mouse. Pictures snap to the screen's edges and centre lines while
// dragged (Alt held: not), and guide lines show the screen lines a snapped picture sits on until the
// release; the scene reports the moves and leaves the tabs' items to its owner.
class OverviewScene : public QGraphicsScene
{
    Q_OBJECT
public:
    struct Entry
    {
        QPixmap pixmap;
        QPoint pos;
        QString title;
    };

    explicit OverviewScene(QObject *parent = nullptr);

    // The output screen; the scene reaches a margin beyond it, and beyond every picture, so that
    // pictures partly or wholly outside can be seen and dragged back.
    void setScreenSize(const QSize &size);
    QSize screenSize() const { return m_screenSize; }

    // Replaces every picture.
    void setEntries(const QList<Entry> &entries);
    int entryCount() const { return m_items.size(); }
    void setEntryPos(int index, const QPoint &pos);
    QPoint entryPos(int index) const;
    void setEntryPixmap(int index, const QPixmap &pixmap);
    // Outlines the picture of the current tab (above all pictures); -1 outlines none.
    void setCurrentEntry(int index);
    int currentEntry() const { return m_current; }

    // How near, in pixels of the view, a dragged picture's edge or centre must come to a screen edge
    // or centre line to snap to it.
    static constexpr qreal snapDistance() { return 8; }

signals:
    // Each position a drag gives a picture (whole pixels).
    void entryMoved(int index, const QPoint &pos);
    // The mouse was released after a drag that moved the picture.
    void entryDragFinished(int index);
    // A press on a picture (the topmost under the pointer).
    void entryPicked(int index);

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    int entryAt(const QPointF &scenePos) const;
    // After any change of a picture's place or pixels: what each picture shows, the outline and the
    // scene's extent.
    void layoutChanged();
    // Shows a guide along every screen edge and centre line that the rectangle's edges or centre
    // lie on; none for a null rectangle.
    void showGuides(const QRectF &snappedRect);
    // Labels keep their size in view pixels, so whether one fits above its picture depends on the
    // zoom it was last drawn at.
    void placeLabels();

    QSize m_screenSize;
    QVector<OverviewItem *> m_items;
    QGraphicsRectItem *m_outline = nullptr;
    QVector<QGraphicsLineItem *> m_guides;
    qreal m_labelScale = 1;
    int m_current = -1;

    int m_dragged = -1;
    bool m_dragMoved = false;
    QPointF m_pressScenePos;
    QPoint m_pressItemPos;
};
