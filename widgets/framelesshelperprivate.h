#pragma once

#include <QHash>

class QWidget;

namespace Utils {

class FramelessHelper;
class FramelessWidgetState;

// What a FramelessHelper shares with the states of its widgets: the managed widgets, the switches
// and sizes that every state reads while it handles an event, and the helper itself for the
// platform's drag.
class FramelessHelperPrivate
{
public:
    explicit FramelessHelperPrivate(FramelessHelper *helper) : q(helper) {}

    FramelessHelper *q;
    QHash<QWidget *, FramelessWidgetState *> widgets;
    bool moveEnabled = true;
    bool resizeEnabled = true;
    bool resizeRubberBand = true;
    bool moveRubberBand = true;
    int edgeWidth = 5;
    int titleAreaHeight = 30;
};

} // namespace Utils
