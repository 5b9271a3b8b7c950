#pragma once

#include "core/geometry/edgehitflags.h"

#include <QPointer>
#include <QRect>
#include <Qt>

class QEvent;
class QHoverEvent;
class QMouseEvent;
class QRubberBand;
class QWidget;

namespace Utils {

class FramelessHelperPrivate;

// The drag state of one widget managed by a FramelessHelper. It switches mouse tracking and hover
// events on for the widget while it exists and puts the widget's attributes and window flags
// back when it goes.
class FramelessWidgetState
{
public:
    FramelessWidgetState(FramelessHelperPrivate *helperData, QWidget *widget);
    ~FramelessWidgetState();
    FramelessWidgetState(const FramelessWidgetState &) = delete;
    FramelessWidgetState &operator=(const FramelessWidgetState &) = delete;

    QWidget *widget() const { return m_widget; }
    QRubberBand *rubberBand() const { return m_rubberBand; }

    // Creates the rubber band while either rubber-band switch is on and drops it otherwise.
    void updateRubberBandStatus();
    // Handles one of the mouse, leave and hover events that the helper consumes.
    void handleWidgetEvent(QEvent *event);
    // The widget is being destroyed: nothing is restored on it any more.
    void forgetWidget();

private:
    void handleMousePress(QMouseEvent *event);
    void handleMouseRelease(QMouseEvent *event);
    void handleMouseMove(QMouseEvent *event);
    void handleLeave();
    void handleHoverMove(QHoverEvent *event);

    // Ends a drag: lets the mouse go and applies the rubber band's frame.
    void endDrag();

    void resizeWidget(const QPoint &globalPos);
    void moveWidget(const QPoint &globalPos);
    void updateCursorShape(const QPoint &globalPos);
    // The frame geometry of the widget, and the frame rectangle given back to it: a window's
    // geometry is its client area, so the frame margins come off before it is applied.
    QRect widgetFrame() const;
    void applyFrame(const QRect &frame);

    FramelessHelperPrivate *m_helperData;
    QRubberBand *m_rubberBand = nullptr;
    QPointer<QWidget> m_widget;
    int m_dragOffsetX = 0;
    int m_dragOffsetY = 0;
    EdgeHitFlags m_pressEdges;
    EdgeHitFlags m_hoverEdges;
    bool m_leftButtonHeld = false;
    bool m_cursorSet = false;
    bool m_pressedInTitleArea = false;
    // The window holds the mouse for a drag it follows itself.
    bool m_grabbing = false;
    Qt::WindowFlags m_savedWindowFlags;
    bool m_hadMouseTracking = false;
    bool m_hadHover = false;
};

} // namespace Utils
