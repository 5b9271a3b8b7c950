#pragma once

#include "core/geometry/cutgeometry.h"

#include <QFrame>
#include <QPoint>
#include <QRect>

class QGridLayout;
class QLabel;

// The selection rectangle on the picture: dragged by its inside, resized by its edges and corners,
// drawn as a blue frame with a dashed rule-of-thirds grid. Its geometry in the parent's coordinates
// is the cut window in picture pixels; every move or resize is reported.
class CutDialog : public QFrame
{
    Q_OBJECT
public:
    explicit CutDialog(QWidget *parent = nullptr);

signals:
    void windowsRemoveAndChangeSize(QRect rect);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPoint m_pressPoint;
    bool m_pressed = false;
    CutEdges m_edges;
    QLabel *m_label = nullptr;
    QGridLayout *m_layout = nullptr;
};
