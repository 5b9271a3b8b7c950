#include "interfaces/styled/radiobuttonex.h"

RadioButtonEx::RadioButtonEx(QWidget *parent) : QRadioButton(parent)
{
    setAutoExclusive(true);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(
        QStringLiteral("RadioButtonEx{color:rgb(210,210,210);spacing:6px;}"
                       "RadioButtonEx::indicator{width:12px;height:12px;border-radius:7px;"
                       "border:1px solid rgb(110,110,110);background:rgb(38,38,38);}"
                       "RadioButtonEx::indicator:hover{border-color:rgb(222,89,15);}"
                       "RadioButtonEx::indicator:checked{background:qradialgradient(cx:0.5,cy:0.5,"
                       "radius:0.5,fx:0.5,fy:0.5,stop:0 rgb(222,89,15),stop:0.55 rgb(222,89,15),"
                       "stop:0.65 rgb(38,38,38),stop:1 rgb(38,38,38));border-color:rgb(222,89,15);}"));
}
