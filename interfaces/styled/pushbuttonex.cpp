#include "interfaces/styled/pushbuttonex.h"

PushButtonEx::PushButtonEx(QWidget *parent, BtnType type) : QPushButton(parent), m_type(type)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    if (type == FlatButton) {
        setFlat(true);
        setStyleSheet(
            QStringLiteral("PushButtonEx{color:rgb(210,210,210);border:none;background:transparent;}"
                           "PushButtonEx:hover{color:white;}"));
    } else {
        setStyleSheet(QStringLiteral(
            "PushButtonEx{color:#929292;background-color:rgb(69,69,69);border:1px solid rgb(110,110,110);"
            "border-radius:12px;padding:2px 12px;}"
            "PushButtonEx:hover{background-color:#303238;border-color:rgb(222,89,15);color:#fdfdfd;}"
            "PushButtonEx:pressed{background-color:#1a1a1a;border-color:rgb(222,89,15);color:#fdfdfd;}"));
    }
}
