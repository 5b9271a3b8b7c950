#include "interfaces/styled/radiobuttonex.h"

#include "interfaces/styled/stylesheet.h"

RadioButtonEx::RadioButtonEx(QWidget *parent) : QRadioButton(parent)
{
    setAutoExclusive(true);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(StyleSheet::load("radiobutton"));
}
