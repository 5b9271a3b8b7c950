#pragma once

#include <QPushButton>

// Dark push button. Type 0 is the rounded panel button; callers may restyle it further.
class PushButtonEx : public QPushButton
{
    Q_OBJECT
public:
    enum BtnType
    {
        PanelButton = 0,
        FlatButton = 1
    };

    explicit PushButtonEx(QWidget *parent = nullptr, BtnType type = PanelButton);
    BtnType type() const { return m_type; }

private:
    BtnType m_type;
};
