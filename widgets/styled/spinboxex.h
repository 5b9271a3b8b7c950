#pragma once

#include <QColor>
#include <QSpinBox>

// Dark spin box whose number colour can be set and which can show an error border.
class SpinBoxEx : public QSpinBox
{
    Q_OBJECT
public:
    explicit SpinBoxEx(QWidget *parent = nullptr);

    void setFontColor(const QColor &color);
    QColor fontColor() const { return m_fontColor; }

    void setBorderErrorMsg(bool error);
    bool hasBorderError() const { return m_error; }

private:
    void restyle();

    QColor m_fontColor = QColor(210, 210, 210);
    bool m_error = false;
};
