#include "widgets/styled/pushbuttonex.h"

#include "widgets/styled/stylesheet.h"

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
