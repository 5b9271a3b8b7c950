#pragma once

#include <QHash>

class QWidget;

namespace Utils {

class FramelessWidgetState;

// What a FramelessHelper shares with the states of its widgets: the managed widgets and the four
// switches that every state reads while it handles an event.
class FramelessHelperPrivate
{
public:
    QHash<QWidget *, FramelessWidgetState *> widgets;
    bool moveEnabled = true;
    bool resizeEnabled = true;
    bool resizeRubberBand = true;
    bool moveRubberBand = true;
};

} // namespace Utils
