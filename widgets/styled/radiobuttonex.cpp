#include "widgets/styled/radiobuttonex.h"

#include "widgets/styled/stylesheet.h"

RadioButtonEx::RadioButtonEx(QWidget *parent) : QRadioButton(parent)
{
    setAutoExclusive(true);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(StyleSheet::load("radiobutton"));
}
