#include "widgets/styled/spinboxex.h"

#include "widgets/styled/stylesheet.h"

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
    setStyleSheet(StyleSheet::load("spinbox").arg(m_fontColor.name(), border));
}
