#include "widgets/previewview.h"

#include "core/geometry/outputscreen.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QGraphicsItem>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QWheelEvent>
#include <QtMath>

namespace {
// One wheel notch zooms by this factor; four notches double.
const qreal kNotchFactor = 1.189207115002721; // 2^(1/4)
const int kLabelMargin = 6;
} // namespace

PreviewView::PreviewView(QWidget *parent) : QGraphicsView(parent), m_screenSize(OutputScreen::defaultSize())
{
    // setZoom puts the anchored scene point back itself, whatever the anchor did.
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    m_zoomLabel = new QLabel(this);
    m_zoomLabel->setObjectName(QStringLiteral("zoomLabel"));
    m_zoomLabel->setStyleSheet(
        QStringLiteral("#zoomLabel{color:rgb(210,210,210);background:rgba(20,20,20,170);"
                       "border-radius:3px;padding:1px 5px;}"));
    m_zoomLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    zoomUpdated();
}

void PreviewView::setScreenSize(const QSize &size)
{
    if (size == m_screenSize)
        return;
    m_screenSize = size;
    viewport()->update();
}

qreal PreviewView::zoom() const
{
    return transform().m11();
}

void PreviewView::setZoom(qreal zoom, const QPoint &viewportAnchor)
{
    zoom = qBound(minimumZoom(), zoom, maximumZoom());
    const QPointF anchored = mapToScene(viewportAnchor);
    setTransform(QTransform::fromScale(zoom, zoom));
    // Scroll so that the anchored scene point is under the anchor again.
    const QPointF drift = transform().map(anchored) - QPointF(viewportAnchor) -
                          QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    horizontalScrollBar()->setValue(qRound(horizontalScrollBar()->value() + drift.x()));
    verticalScrollBar()->setValue(qRound(verticalScrollBar()->value() + drift.y()));
    zoomUpdated();
}

void PreviewView::setZoom(qreal zoom)
{
    setZoom(zoom, viewport()->rect().center());
}

void PreviewView::zoomBy(qreal steps, const QPoint &viewportAnchor)
{
    setZoom(zoom() * qPow(kNotchFactor, steps), viewportAnchor);
}

void PreviewView::fitScreen()
{
    // A little room around the screen keeps its frame in sight beside the scroll bars.
    const QRectF screen(QPointF(0, 0), QSizeF(m_screenSize));
    const qreal room = 0.02 * qMax(screen.width(), screen.height());
    // Twice: the first fit may bring up or take away the scroll bars, which changes the room.
    for (int pass = 0; pass < 2; ++pass)
        fitInView(screen.adjusted(-room, -room, room, room), Qt::KeepAspectRatio);
    // fitInView may leave different factors on the two axes by rounding; pictures keep square pixels.
    const qreal fitted = qBound(minimumZoom(), qMin(transform().m11(), transform().m22()), maximumZoom());
    setTransform(QTransform::fromScale(fitted, fitted));
    centerOn(QRectF(QPointF(0, 0), QSizeF(m_screenSize)).center());
    zoomUpdated();
}

void PreviewView::actualSize()
{
    setZoom(1.0);
}

void PreviewView::drawForeground(QPainter *painter, const QRectF &rect)
{
    const QRectF screen(QPointF(0, 0), QSizeF(m_screenSize));
    painter->save();
    // Whatever lies off the screen, item pixels included, is shown dimmed: the device does not show it.
    QPainterPath outside;
    outside.addRect(rect.united(screen).adjusted(-1, -1, 1, 1));
    outside.addRect(screen);
    outside.setFillRule(Qt::OddEvenFill);
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillPath(outside, QColor(0, 0, 0, 150));
    QPen frame(QColor(222, 89, 15), 1, Qt::DashLine);
    frame.setCosmetic(true);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(screen);
    painter->restore();
}

void PreviewView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    const int delta = event->angleDelta().y();
    if (delta != 0)
        zoomBy(delta / 120.0, event->position().toPoint());
    event->accept();
}

void PreviewView::bringItemsIntoView()
{
    if (!scene())
        return;
    QRectF items;
    const QList<QGraphicsItem *> all = scene()->items();
    for (const QGraphicsItem *item : all) {
        if (item->isVisible() && !item->parentItem())
            items |= item->sceneBoundingRect();
    }
    const QRectF visible = mapToScene(viewport()->rect()).boundingRect();
    if (items.isEmpty() || visible.intersects(items))
        return;
    ensureVisible(items, 20, 20);
}

void PreviewView::showEvent(QShowEvent *event)
{
    QGraphicsView::showEvent(event);
    // Once the page has its size and its scroll ranges.
    QTimer::singleShot(0, this, &PreviewView::bringItemsIntoView);
}

void PreviewView::enterEvent(QEvent *event)
{
    QGraphicsView::enterEvent(event);
    // The preview's keys (the arrow nudges, the zoom) work as soon as the pointer is over it,
    // without a click that might pick a colour; but the operator typing in a field keeps the keys.
    QWidget *focus = QApplication::focusWidget();
    const bool typing =
        focus && (qobject_cast<QAbstractSpinBox *>(focus) || qobject_cast<QLineEdit *>(focus) ||
                  qobject_cast<QTextEdit *>(focus) || qobject_cast<QPlainTextEdit *>(focus));
    if (!typing && isActiveWindow() && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
}

void PreviewView::keyPressEvent(QKeyEvent *event)
{
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    QPoint delta;
    switch (event->key()) {
    case Qt::Key_Left:
        delta = QPoint(-step, 0);
        break;
    case Qt::Key_Right:
        delta = QPoint(step, 0);
        break;
    case Qt::Key_Up:
        delta = QPoint(0, -step);
        break;
    case Qt::Key_Down:
        delta = QPoint(0, step);
        break;
    default:
        QGraphicsView::keyPressEvent(event);
        return;
    }
    emit nudgeRequested(delta);
    event->accept();
}

void PreviewView::keyReleaseEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!event->isAutoRepeat())
            emit nudgeFinished();
        event->accept();
        return;
    default:
        QGraphicsView::keyReleaseEvent(event);
    }
}

void PreviewView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    placeZoomLabel();
}

void PreviewView::mousePressEvent(QMouseEvent *event)
{
    QMouseEvent shown = onShownPixel(*event);
    QGraphicsView::mousePressEvent(&shown);
    event->setAccepted(shown.isAccepted());
}

void PreviewView::mouseMoveEvent(QMouseEvent *event)
{
    QMouseEvent shown = onShownPixel(*event);
    QGraphicsView::mouseMoveEvent(&shown);
    event->setAccepted(shown.isAccepted());
}

void PreviewView::mouseReleaseEvent(QMouseEvent *event)
{
    QMouseEvent shown = onShownPixel(*event);
    QGraphicsView::mouseReleaseEvent(&shown);
    event->setAccepted(shown.isAccepted());
}

void PreviewView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QMouseEvent shown = onShownPixel(*event);
    QGraphicsView::mouseDoubleClickEvent(&shown);
    event->setAccepted(shown.isAccepted());
}

QMouseEvent PreviewView::onShownPixel(const QMouseEvent &event) const
{
    // On a high-density screen the pointer lies on a device pixel, a fraction of a view pixel. Qt
    // hands the widget that position rounded to the nearest view pixel (the fraction is left in the
    // window position): at 200 % half the device pixels would report the next picture pixel. The
    // view pixel drawn under the pointer is the one that holds the device pixel's centre; a centre
    // on the edge between two is drawn from the one before it, as the raster engine samples.
    QPointF pointer = event.localPos();
    if (pointer == QPointF(pointer.toPoint()))
        pointer += event.windowPos() - QPointF(event.windowPos().toPoint());
    // Device pixels are counted from the window's corner, where the viewport need not start on one.
    // Worked out from the device pixel's index, so that a centre on an edge is not pushed across it
    // by the rounding of pointer, which the window system divided by the ratio.
    const qreal ratio = viewport()->devicePixelRatioF();
    const QPoint origin = viewport()->mapTo(viewport()->window(), QPoint(0, 0));
    const auto shownPixel = [ratio](qreal at, int from) {
        return qCeil((qFloor((at + from) * ratio + 1e-3) + 0.5) / ratio) - 1 - from;
    };
    const QPointF by =
        QPointF(shownPixel(pointer.x(), origin.x()), shownPixel(pointer.y(), origin.y())) - event.localPos();
    QMouseEvent shown(event.type(), event.localPos() + by, event.windowPos() + by, event.screenPos() + by,
                      event.button(), event.buttons(), event.modifiers(), event.source());
    shown.setTimestamp(event.timestamp());
    return shown;
}

void PreviewView::zoomUpdated()
{
    m_zoomLabel->setText(QString::number(qRound(zoom() * 100)) + QLatin1Char('%'));
    m_zoomLabel->adjustSize();
    placeZoomLabel();
    emit zoomChanged(zoom());
}

void PreviewView::placeZoomLabel()
{
    // Over the viewport's bottom-left corner; a child of the view, so scrolling leaves it in place.
    const QRect area = viewport()->geometry();
    m_zoomLabel->move(area.left() + kLabelMargin, area.bottom() - m_zoomLabel->height() - kLabelMargin + 1);
    m_zoomLabel->raise();
}
