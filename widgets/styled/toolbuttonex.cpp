#include "widgets/styled/toolbuttonex.h"

#include "widgets/styled/stylesheet.h"

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
        StyleSheet::load("toolbutton")
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
