#pragma once

#include <QCheckBox>
#include <QColor>

// Dark check box whose caption colour can be set.
class CheckBoxEx : public QCheckBox
{
    Q_OBJECT
public:
    explicit CheckBoxEx(QWidget *parent = nullptr);

    void setFontColor(const QColor &color);
    QColor fontColor() const { return m_fontColor; }

private:
    QColor m_fontColor = QColor(210, 210, 210);
};
