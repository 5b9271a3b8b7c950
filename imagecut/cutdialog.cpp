#include "imagecut/cutdialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QVector>

CutDialog::CutDialog(QWidget *parent) : QFrame(parent)
{
    setWindowFlags(Qt::FramelessWindowHint);
    // Pointer moves without a button pick the cursor, so they must arrive here too.
    setAttribute(Qt::WA_MouseTracking);
    setGeometry(0, 0, 100, 100);

    m_label = new QLabel(this);
    m_label->setAttribute(Qt::WA_MouseTracking);
    m_layout = new QGridLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->addWidget(m_label, 0, 0);
}

void CutDialog::mousePressEvent(QMouseEvent *event)
{
    m_pressPoint = event->localPos().toPoint();
    m_pressed = event->button() == Qt::LeftButton;
}

void CutDialog::mouseReleaseEvent(QMouseEvent *)
{
    m_pressed = false;
}

void CutDialog::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pointer = event->localPos().toPoint();
    if (!m_pressed) {
        // The edges are chosen while hovering only, so a drag keeps the edges it started with.
        m_edges = CutGeometry::hitEdges(pointer, size());
        setCursor(CutGeometry::cursorShape(m_edges));
        return;
    }

    const QSize bounds = parentWidget() ? parentWidget()->size() : size();
    const QRect next = CutGeometry::dragStep(geometry(), m_pressPoint, pointer, m_edges, bounds);
    if (m_edges.isMove()) {
        // A pure move sends no resize event, so it is reported here.
        move(next.topLeft());
        emit windowsRemoveAndChangeSize(geometry());
    } else if (next != geometry()) {
        setGeometry(next);
    }
}

void CutDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();

    painter.setPen(QPen(QColor(54, 158, 254, 120), 2));
    painter.drawRect(QRectF(QPointF(1, 1), QPointF(w - 1, h - 1)));

    QPen grid;
    grid.setColor(Qt::white);
    grid.setDashPattern(QVector<qreal>{5, 3, 5, 3});
    painter.setPen(grid);
    const int thirdW = w / 3;
    const int thirdH = h / 3;
    painter.drawLine(thirdW, 0, thirdW, h);
    painter.drawLine(2 * thirdW, 0, 2 * thirdW, h);
    painter.drawLine(0, thirdH, w, thirdH);
    painter.drawLine(0, 2 * thirdH, w, 2 * thirdH);
}

void CutDialog::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    emit windowsRemoveAndChangeSize(geometry());
}
