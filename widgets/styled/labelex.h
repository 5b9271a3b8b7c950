#pragma once

#include <QLabel>

// A label that reports a click (press and release of the left button inside it).
class LabelEx : public QLabel
{
    Q_OBJECT
public:
    explicit LabelEx(QWidget *parent = nullptr);

signals:
    void signal_mouseclicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
