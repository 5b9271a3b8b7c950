#pragma once

#include <QRadioButton>

// Dark radio button; auto-exclusive among its siblings like any QRadioButton.
class RadioButtonEx : public QRadioButton
{
    Q_OBJECT
public:
    explicit RadioButtonEx(QWidget *parent = nullptr);
};
