#include "widgets/styled/checkboxex.h"

#include "widgets/styled/stylesheet.h"

CheckBoxEx::CheckBoxEx(QWidget *parent) : QCheckBox(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFontColor(m_fontColor);
}

void CheckBoxEx::setFontColor(const QColor &color)
{
    m_fontColor = color;
    setStyleSheet(StyleSheet::load("checkbox").arg(color.name()));
}
