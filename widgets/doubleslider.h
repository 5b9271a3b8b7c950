#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

class QPainter;

// A horizontal track with two handles that select a closed integer range [minValue, maxValue]
// inside [minimum, maximum]. It draws itself and reports every handle change through signals.
class DoubleSlider : public QWidget
{
    Q_OBJECT
public:
    DoubleSlider(QWidget *parent, const QColor &color);

    void moveMaxHandle(int value);
    void moveMinHandle(int value);
    void moveMaxHandleNosignal(int value);
    void moveMinHandleNosignal(int value);

    void setRange(int min, int max);
    void setSingleStep(int step) { m_singleStep = step; }

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int minValue() const { return m_minValue; }
    int maxValue() const { return m_maxValue; }
    int singleStep() const { return m_singleStep; }
    QString label() const { return m_label; }
    QColor color() const { return m_color; }
    // 0 lower handle, 1 upper handle, 2 none.
    int activeHandle() const { return m_activeHandle; }
    QRect minHandleRect() const { return m_minHandleRect; }
    QRect maxHandleRect() const { return m_maxHandleRect; }

    // Geometry, kept free of widget state so it can be checked on its own.
    // Offset of a value along a track of the given width; 0 when the range is empty.
    static int valueOffset(int value, int minimum, int maximum, int width);
    // Left edges of the 10-pixel handles for a value offset, kept inside the track.
    static int lowerHandleLeft(int offset, int width);
    static int upperHandleLeft(int offset, int width);
    // The value under pixel column x (not clamped); minimum when the range or width is empty.
    static int valueAt(int x, int minimum, int maximum, int width);

signals:
    void minValueChanged(int);
    void maxValueChanged(int);
    void signal_valueChanged(int min, int max);

public slots:
    void setLabel(QString label);
    void setMaxValue(int val);
    void setMinValue(int val);
    void setMaxValueNosignal(int val);
    void setMinValueNosignal(int val);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void drawSlider(QPainter *painter);
    void drawRoundedBar(QPainter *painter, const QRect &rect, const QColor &color);
    // Moves the active handle to value, kept between its neighbours; signals follow.
    void moveActiveHandleTo(int value);

    int m_minimum = 0;
    int m_maximum = 255;
    int m_singleStep = 1;
    int m_minValue = 0;
    int m_maxValue = 255;
    QRect m_minHandleRect;
    QRect m_maxHandleRect;
    int m_activeHandle = 2;
    // A handle is being dragged: the pointer may leave the slider, and the window, on the way.
    bool m_dragging = false;
    QString m_label;
    int m_reportedMin = 0;
    int m_reportedMax = 255;
    QColor m_color;
};
