#include "widgets/doubleslider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <climits>

DoubleSlider::DoubleSlider(QWidget *parent, const QColor &color) : QWidget(parent), m_color(color)
{
    setFocusPolicy(Qt::StrongFocus);
}

int DoubleSlider::valueOffset(int value, int minimum, int maximum, int width)
{
    const qint64 span = qint64(maximum) - minimum;
    // An empty range has nowhere to go: both handles rest at the left end.
    if (span == 0)
        return 0;
    const qint64 offset = (qint64(value) - minimum) * width / span;
    return int(qBound<qint64>(INT_MIN, offset, INT_MAX));
}

int DoubleSlider::lowerHandleLeft(int offset, int width)
{
    return offset <= 4 ? 4 : qMin(offset, width - 8);
}

int DoubleSlider::upperHandleLeft(int offset, int width)
{
    return offset <= 5 ? 5 : qMin(offset, width - 10);
}

int DoubleSlider::valueAt(int x, int minimum, int maximum, int width)
{
    const double span = double(maximum) - double(minimum);
    if (span == 0 || width <= 0)
        return minimum;
    const double value = double(x) * span / double(width) + double(minimum);
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return int(value); // truncates toward zero
}

void DoubleSlider::setLabel(QString label)
{
    m_label = label;
    update();
}

void DoubleSlider::setMaxValue(int val)
{
    if (val == m_maxValue)
        return;
    m_maxValue = val;
    emit maxValueChanged(val);
    m_reportedMax = val;
    emit signal_valueChanged(m_reportedMin, val);
}

void DoubleSlider::setMinValue(int val)
{
    if (val == m_minValue)
        return;
    m_minValue = val;
    emit minValueChanged(val);
    m_reportedMin = val;
    emit signal_valueChanged(val, m_reportedMax);
}

void DoubleSlider::setMaxValueNosignal(int val)
{
    if (val == m_maxValue)
        return;
    m_maxValue = val;
    m_reportedMax = val;
}

void DoubleSlider::setMinValueNosignal(int val)
{
    if (val == m_minValue)
        return;
    m_minValue = val;
    m_reportedMin = val;
}

void DoubleSlider::moveMaxHandle(int value)
{
    setMaxValue(value);
    update();
}

void DoubleSlider::moveMinHandle(int value)
{
    setMinValue(value);
    update();
}

void DoubleSlider::moveMaxHandleNosignal(int value)
{
    setMaxValueNosignal(value);
    update();
}

void DoubleSlider::moveMinHandleNosignal(int value)
{
    setMinValueNosignal(value);
    update();
}

void DoubleSlider::setRange(int min, int max)
{
    m_minimum = min;
    m_maximum = max;
    if (min > m_minValue)
        setMinValue(min);
    if (m_maxValue > max)
        setMaxValue(max);
}

void DoubleSlider::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    drawSlider(&painter);
}

void DoubleSlider::drawSlider(QPainter *painter)
{
    const int w = width();
    const int a = lowerHandleLeft(valueOffset(m_minValue, m_minimum, m_maximum, w), w);
    const int b = upperHandleLeft(valueOffset(m_maxValue, m_minimum, m_maximum, w), w);

    drawRoundedBar(painter, QRect(QPoint(4, 9), QPoint(w - 5, 12)), Qt::gray);
    drawRoundedBar(painter, QRect(QPoint(a + 4, 9), QPoint(b + 3, 12)), m_color);

    m_minHandleRect = QRect(QPoint(a, 4), QPoint(a + 9, 19));
    m_maxHandleRect = QRect(QPoint(b, 4), QPoint(b + 9, 19));
    drawRoundedBar(painter, m_minHandleRect, m_activeHandle == 0 ? m_color : QColor(Qt::darkGray));
    drawRoundedBar(painter, m_maxHandleRect, m_activeHandle == 1 ? m_color : QColor(Qt::darkGray));
}

void DoubleSlider::drawRoundedBar(QPainter *painter, const QRect &rect, const QColor &color)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::NoPen);
    painter->setBrush(color);
    painter->drawRoundedRect(rect, 2, 2, Qt::AbsoluteSize);
    painter->restore();
}

void DoubleSlider::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->localPos().toPoint();
    if (m_minHandleRect.contains(pos))
        m_activeHandle = 0;
    else if (m_maxHandleRect.contains(pos))
        m_activeHandle = 1;
    else
        m_activeHandle = 2;

    // Two handles stacked at an end can only be pulled apart by the inner one.
    if (m_minValue == m_maxValue) {
        if (m_minValue == m_minimum)
            m_activeHandle = 1;
        else if (m_minValue == m_maximum)
            m_activeHandle = 0;
    }
    m_dragging = event->button() == Qt::LeftButton && m_activeHandle != 2;
    update();
}

void DoubleSlider::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    // The leave that came during the drag takes effect now.
    if (!rect().contains(event->localPos().toPoint())) {
        m_activeHandle = 2;
        update();
    }
}

void DoubleSlider::moveActiveHandleTo(int value)
{
    if (m_activeHandle == 0)
        setMinValue(qBound(m_minimum, value, m_maxValue));
    else if (m_activeHandle == 1)
        setMaxValue(qBound(m_minValue, value, m_maximum));
}

void DoubleSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int x = qRound(event->localPos().x());
    moveActiveHandleTo(valueAt(x, m_minimum, m_maximum, width()));
    update();
}

void DoubleSlider::keyPressEvent(QKeyEvent *event)
{
    QWidget::keyPressEvent(event);
    int direction = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        direction = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        direction = 1;
        break;
    default:
        break;
    }
    if (direction != 0 && m_activeHandle != 2) {
        const int current = m_activeHandle == 0 ? m_minValue : m_maxValue;
        const qint64 target = qint64(current) + qint64(direction) * m_singleStep;
        moveActiveHandleTo(int(qBound<qint64>(INT_MIN, target, INT_MAX)));
        // The arrow moved a handle here; it must not also travel on to the dialog.
        event->accept();
    }
    update();
}

void DoubleSlider::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    // A fast drag leaves the slider (or the window) before it reaches the end: the handle goes
    // on to the end, and lets go at the release.
    if (m_dragging)
        return;
    m_activeHandle = 2;
    update();
}
