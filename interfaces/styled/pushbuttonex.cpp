#include "interfaces/styled/pushbuttonex.h"

#include "interfaces/styled/stylesheet.h"

PushButtonEx::PushButtonEx(QWidget *parent, BtnType type) : QPushButton(parent), m_type(type)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    if (type == FlatButton) {
        setFlat(true);
        setStyleSheet(StyleSheet::load("flatbutton"));
    } else {
        setStyleSheet(StyleSheet::load("pushbutton"));
    }
}
