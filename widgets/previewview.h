#pragma once

#include <QGraphicsView>
#include <QMouseEvent>
#include <QSize>

class QLabel;

// A preview of OSD items on the device's output screen: the screen shows as a frame, everything
// outside it is dimmed, and the view zooms (Ctrl+wheel about the cursor, fitScreen, actualSize) with
// the zoom level in a corner. Arrow keys ask to nudge the current item instead of scrolling, since
// placing items is what the keys are for here.
class PreviewView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit PreviewView(QWidget *parent = nullptr);

    static qreal minimumZoom() { return 1.0 / 32; }
    static qreal maximumZoom() { return 32; }

    void setScreenSize(const QSize &size);
    QSize screenSize() const { return m_screenSize; }

    // 1 shows one picture pixel per view pixel.
    qreal zoom() const;
    // Keeps the scene point under viewportAnchor where it is; clamped to the zoom limits.
    void setZoom(qreal zoom, const QPoint &viewportAnchor);
    void setZoom(qreal zoom);
    // Each step is one notch of the wheel; negative steps zoom out.
    void zoomBy(qreal steps, const QPoint &viewportAnchor);
    // The whole screen in the view, as large as it fits.
    void fitScreen();
    void actualSize();
    // Scrolls so that the items come into sight when none of them is, at the same zoom: a page
    // shown after an import, an undo or a tab's return would otherwise show an empty area.
    void bringItemsIntoView();

signals:
    // delta in screen pixels: 1 per press, 10 with Shift.
    void nudgeRequested(const QPoint &delta);
    // An arrow key was let go: the nudges since the press make one move.
    void nudgeFinished();
    void zoomChanged(qreal zoom);

protected:
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void enterEvent(QEvent *event) override;

private:
    // event moved onto the view pixel that is drawn under the pointer's device pixel.
    QMouseEvent onShownPixel(const QMouseEvent &event) const;
    void zoomUpdated();
    void placeZoomLabel();

    QSize m_screenSize;
    QLabel *m_zoomLabel = nullptr;
};
