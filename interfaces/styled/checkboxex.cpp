#include "interfaces/styled/checkboxex.h"

CheckBoxEx::CheckBoxEx(QWidget *parent) : QCheckBox(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFontColor(m_fontColor);
}

void CheckBoxEx::setFontColor(const QColor &color)
{
    m_fontColor = color;
    setStyleSheet(
        QStringLiteral("CheckBoxEx{color:%1;spacing:5px;}"
                       "CheckBoxEx::indicator{width:12px;height:12px;border:1px solid rgb(110,110,110);"
                       "border-radius:2px;background:rgb(38,38,38);}"
                       "CheckBoxEx::indicator:hover{border-color:rgb(222,89,15);}"
                       "CheckBoxEx::indicator:checked{image:url(:/osdimage/res/osdimage/checked.png);"
                       "background:rgb(38,38,38);border-color:rgb(222,89,15);}")
            .arg(color.name()));
}
