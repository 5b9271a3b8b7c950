#pragma once

#include <QPushButton>

// Dialog button of the styled library: type 5 is the confirming button (accent border),
// type 6 the cancelling one. The two strings name optional normal and hover icons.
class ToolButtonEx : public QPushButton
{
    Q_OBJECT
public:
    enum ButtonType
    {
        Normal = 0,
        Confirm = 5,
        Cancel = 6
    };

    ToolButtonEx(QWidget *parent, ButtonType type, QString normalIcon, QString hoverIcon);
    ButtonType type() const { return m_type; }

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    ButtonType m_type;
    QString m_normalIcon;
    QString m_hoverIcon;
};
