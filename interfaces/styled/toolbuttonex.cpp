#include "interfaces/styled/toolbuttonex.h"

#include <QIcon>

ToolButtonEx::ToolButtonEx(QWidget *parent, ButtonType type, QString normalIcon, QString hoverIcon)
    : QPushButton(parent), m_type(type), m_normalIcon(std::move(normalIcon)),
      m_hoverIcon(std::move(hoverIcon))
{
    setCursor(Qt::PointingHandCursor);
    const QString accent =
        type == Confirm ? QStringLiteral("rgb(222,89,15)") : QStringLiteral("rgb(110,110,110)");
    const QString fill = type == Confirm ? QStringLiteral("rgb(222,89,15)") : QStringLiteral("rgb(69,69,69)");
    const QString text = type == Confirm ? QStringLiteral("white") : QStringLiteral("rgb(210,210,210)");
    setStyleSheet(
        QStringLiteral("ToolButtonEx{color:%3;background:%2;border:1px solid %1;border-radius:4px;"
                       "padding:2px 14px;}"
                       "ToolButtonEx:hover{border-color:rgb(240,120,50);background:%4;}"
                       "ToolButtonEx:pressed{background:rgb(26,26,26);}"
                       "ToolButtonEx:disabled{color:rgb(120,120,120);border-color:rgb(80,80,80);}")
            .arg(accent, fill, text,
                 type == Confirm ? QStringLiteral("rgb(240,110,40)") : QStringLiteral("rgb(86,86,86)")));
    if (!m_normalIcon.isEmpty())
        setIcon(QIcon(m_normalIcon));
}

void ToolButtonEx::enterEvent(QEvent *event)
{
    if (!m_hoverIcon.isEmpty())
        setIcon(QIcon(m_hoverIcon));
    QPushButton::enterEvent(event);
}

void ToolButtonEx::leaveEvent(QEvent *event)
{
    if (!m_normalIcon.isEmpty())
        setIcon(QIcon(m_normalIcon));
    QPushButton::leaveEvent(event);
}
