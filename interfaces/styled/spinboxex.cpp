#include "interfaces/styled/spinboxex.h"

SpinBoxEx::SpinBoxEx(QWidget *parent) : QSpinBox(parent)
{
    restyle();
}

void SpinBoxEx::setFontColor(const QColor &color)
{
    m_fontColor = color;
    restyle();
}

void SpinBoxEx::setBorderErrorMsg(bool error)
{
    m_error = error;
    restyle();
}

void SpinBoxEx::restyle()
{
    const QString border = m_error ? QStringLiteral("rgb(255,0,0)") : QStringLiteral("rgb(22,22,22)");
    setStyleSheet(
        QStringLiteral(
            "SpinBoxEx{color:%1;background:rgb(38,38,38);border:1px solid %2;"
            "border-radius:3px;padding:1px 4px;selection-background-color:rgb(222,89,15);}"
            "SpinBoxEx::up-button,SpinBoxEx::down-button{width:14px;background:rgb(56,56,56);"
            "border:none;}"
            "SpinBoxEx::up-button:hover,SpinBoxEx::down-button:hover{background:rgb(86,86,86);}"
            "SpinBoxEx::up-arrow{image:url(:/osdimage/res/osdimage/spin_up.png);width:8px;height:7px;}"
            "SpinBoxEx::down-arrow{image:url(:/osdimage/res/osdimage/spin_down.png);width:8px;height:7px;}")
            .arg(m_fontColor.name(), border));
}
