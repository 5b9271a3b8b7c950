#include "widgets/framelesswidgetstate.h"

#include "core/geometry/edgeresize.h"
#include "widgets/framelesshelper.h"
#include "widgets/framelesshelperprivate.h"

#include <QEvent>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWidget>
#include <QWindow>

namespace Utils {

namespace {

QMargins frameMarginsOf(const QWidget *widget)
{
    const QRect frame = widget->frameGeometry();
    const QRect client = widget->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

Qt::Edges qtEdges(const EdgeHitFlags &hits)
{
    Qt::Edges edges;
    if (hits.onLeftEdge)
        edges |= Qt::LeftEdge;
    if (hits.onRightEdge)
        edges |= Qt::RightEdge;
    if (hits.onTopEdge)
        edges |= Qt::TopEdge;
    if (hits.onBottomEdge)
        edges |= Qt::BottomEdge;
    return edges;
}

} // namespace

FramelessWidgetState::FramelessWidgetState(FramelessHelperPrivate *helperData, QWidget *widget)
    : m_helperData(helperData), m_widget(widget), m_savedWindowFlags(widget->windowFlags()),
      m_hadMouseTracking(widget->testAttribute(Qt::WA_MouseTracking)),
      m_hadHover(widget->testAttribute(Qt::WA_Hover))
{
    widget->setAttribute(Qt::WA_MouseTracking, true);
    widget->setAttribute(Qt::WA_Hover, true);
    updateRubberBandStatus();
}

FramelessWidgetState::~FramelessWidgetState()
{
    if (m_widget && m_grabbing)
        m_widget->releaseMouse();
    if (m_widget) {
        m_widget->setAttribute(Qt::WA_MouseTracking, m_hadMouseTracking);
        // Setting flags re-creates a shown window, so only flags that really changed are put back.
        if (m_widget->windowFlags() != m_savedWindowFlags)
            m_widget->setWindowFlags(m_savedWindowFlags);
        m_widget->setAttribute(Qt::WA_Hover, m_hadHover);
        if (m_cursorSet)
            m_widget->unsetCursor();
    }
    delete m_rubberBand;
}

void FramelessWidgetState::forgetWidget()
{
    m_widget = nullptr;
}

void FramelessWidgetState::updateRubberBandStatus()
{
    if (m_helperData->moveRubberBand || m_helperData->resizeRubberBand) {
        if (!m_rubberBand)
            m_rubberBand = new QRubberBand(QRubberBand::Rectangle);
    } else {
        delete m_rubberBand;
        m_rubberBand = nullptr;
    }
}

void FramelessWidgetState::handleWidgetEvent(QEvent *event)
{
    if (!m_widget)
        return;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        handleMousePress(static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseButtonRelease:
        handleMouseRelease(static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseMove:
        handleMouseMove(static_cast<QMouseEvent *>(event));
        break;
    case QEvent::Leave:
        handleLeave();
        break;
    case QEvent::HoverMove:
        handleHoverMove(static_cast<QHoverEvent *>(event));
        break;
    default:
        break;
    }
}

QRect FramelessWidgetState::widgetFrame() const
{
    return m_widget->frameGeometry();
}

void FramelessWidgetState::applyFrame(const QRect &frame)
{
    m_widget->setGeometry(frame.marginsRemoved(frameMarginsOf(m_widget)));
}

void FramelessWidgetState::handleMousePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_leftButtonHeld = true;
    m_pressedInTitleArea = qRound(event->localPos().y()) < m_helperData->titleAreaHeight;

    const QRect frame = widgetFrame();
    const QPoint globalPos = event->globalPos();
    m_pressEdges = EdgeHitFlags::at(globalPos, frame, m_helperData->edgeWidth);
    m_dragOffsetX = globalPos.x() - frame.x();
    m_dragOffsetY = globalPos.y() - frame.y();

    const bool resizes = m_helperData->resizeEnabled && m_pressEdges.onEdges;
    const bool moves = !resizes && m_helperData->moveEnabled && m_pressedInTitleArea;
    if (!resizes && !moves)
        return;
    // The platform's own move and resize where it has them: the window manager follows the
    // pointer to the end of the drag.
    if (QWindow *window = m_widget->windowHandle()) {
        if (m_helperData->q->startSystemDrag(window, resizes ? qtEdges(m_pressEdges) : Qt::Edges())) {
            m_leftButtonHeld = false;
            m_pressEdges = EdgeHitFlags();
            return;
        }
    }
    // Otherwise the drag is followed here. The press may have come up from a child that takes the
    // moves and the release for itself; the window takes the mouse until the release, so that the
    // drag ends where it began.
    m_widget->grabMouse();
    m_grabbing = true;
    if (!m_rubberBand)
        return;
    const bool resizing = m_pressEdges.onEdges && m_helperData->resizeRubberBand;
    const bool moving = !m_pressEdges.onEdges && m_helperData->moveRubberBand;
    if (resizing || moving) {
        m_rubberBand->setGeometry(frame);
        m_rubberBand->show();
    }
}

void FramelessWidgetState::endDrag()
{
    m_leftButtonHeld = false;
    m_pressedInTitleArea = false;
    m_pressEdges = EdgeHitFlags();
    if (m_grabbing) {
        m_grabbing = false;
        m_widget->releaseMouse();
    }
    if (m_rubberBand && m_rubberBand->isVisible()) {
        m_rubberBand->hide();
        applyFrame(m_rubberBand->geometry());
    }
}

void FramelessWidgetState::handleMouseRelease(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    endDrag();
}

void FramelessWidgetState::handleMouseMove(QMouseEvent *event)
{
    const QPoint globalPos = event->globalPos();
    // The release went elsewhere (another window took the mouse meanwhile): the drag is over.
    if (m_leftButtonHeld && !(event->buttons() & Qt::LeftButton))
        endDrag();
    if (m_leftButtonHeld) {
        // An edge press inside the title area resizes: resizing is tested first.
        if (m_helperData->resizeEnabled && m_pressEdges.onEdges)
            resizeWidget(globalPos);
        else if (m_helperData->moveEnabled && m_pressedInTitleArea)
            moveWidget(globalPos);
    } else if (m_helperData->resizeEnabled) {
        updateCursorShape(globalPos);
    }
}

void FramelessWidgetState::handleLeave()
{
    if (!m_leftButtonHeld && m_cursorSet) {
        m_widget->unsetCursor();
        m_cursorSet = false;
    }
}

void FramelessWidgetState::handleHoverMove(QHoverEvent *event)
{
    if (m_helperData->resizeEnabled)
        updateCursorShape(m_widget->mapToGlobal(event->posF().toPoint()));
}

void FramelessWidgetState::resizeWidget(const QPoint &globalPos)
{
    const bool throughBand = m_helperData->resizeRubberBand && m_rubberBand;
    const QRect start = throughBand ? m_rubberBand->geometry() : widgetFrame();

    // The size limits are the client area's; the rectangles here are frames.
    const QMargins margins = frameMarginsOf(m_widget);
    const QSize frameExtra(margins.left() + margins.right(), margins.top() + margins.bottom());
    const QSize maximum =
        m_widget->maximumSize().boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)) + frameExtra;
    const std::optional<QRect> resized =
        resizedGeometry(start, globalPos, m_pressEdges, m_widget->minimumSize() + frameExtra, maximum);
    if (!resized)
        return;
    if (throughBand)
        m_rubberBand->setGeometry(*resized);
    else
        applyFrame(*resized);
}

void FramelessWidgetState::moveWidget(const QPoint &globalPos)
{
    const QPoint topLeft(globalPos.x() - m_dragOffsetX, globalPos.y() - m_dragOffsetY);
    if (m_helperData->moveRubberBand && m_rubberBand)
        m_rubberBand->move(topLeft);
    else
        m_widget->move(topLeft);
}

void FramelessWidgetState::updateCursorShape(const QPoint &globalPos)
{
    if (m_widget->isMaximized() || m_widget->isFullScreen()) {
        if (m_cursorSet) {
            m_widget->unsetCursor();
            m_cursorSet = false;
        }
        return;
    }
    m_hoverEdges = EdgeHitFlags::at(globalPos, widgetFrame(), m_helperData->edgeWidth);
    if (m_hoverEdges.onTopLeftEdge || m_hoverEdges.onBottomRightEdge) {
        m_widget->setCursor(Qt::SizeFDiagCursor);
        m_cursorSet = true;
    } else if (m_cursorSet) {
        m_widget->unsetCursor();
        m_cursorSet = false;
    }
}

} // namespace Utils
