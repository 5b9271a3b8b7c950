#pragma once

#include <QIntValidator>

// Point-size entry: a whole number up to top(). Unlike QIntValidator, which lets a number above the
// maximum stand as unfinished while it has no more digits than the maximum (300 for 200), every
// keystroke that would exceed the maximum is refused. Numbers below bottom() stay unfinished.
class SizeValidator : public QIntValidator
{
    Q_OBJECT
public:
    SizeValidator(int bottom, int top, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
};
