#include "widgets/framelesshelper.h"

#include "widgets/framelesshelperprivate.h"
#include "widgets/framelesswidgetstate.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace Utils {

FramelessHelper::FramelessHelper(QObject *parent) : QObject(parent), d(new FramelessHelperPrivate(this)) {}

FramelessHelper::~FramelessHelper()
{
    for (auto it = d->widgets.cbegin(); it != d->widgets.cend(); ++it) {
        if (QWidget *widget = it.value()->widget())
            widget->removeEventFilter(this);
        delete it.value();
    }
    d->widgets.clear();
}

void FramelessHelper::attachWidget(QWidget *widget)
{
    if (!widget || d->widgets.contains(widget))
        return;
    d->widgets.insert(widget, new FramelessWidgetState(d.get(), widget));
    widget->installEventFilter(this);
    connect(widget, &QObject::destroyed, this, &FramelessHelper::forgetWidget);
}

void FramelessHelper::forgetWidget(QObject *widget)
{
    // The widget is half destroyed here: its state must not touch it any more.
    for (auto it = d->widgets.begin(); it != d->widgets.end(); ++it) {
        if (static_cast<QObject *>(it.key()) == widget) {
            it.value()->forgetWidget();
            delete it.value();
            d->widgets.erase(it);
            return;
        }
    }
}

void FramelessHelper::setMoveEnabled(bool enabled)
{
    d->moveEnabled = enabled;
}

void FramelessHelper::setResizeEnabled(bool enabled)
{
    d->resizeEnabled = enabled;
}

void FramelessHelper::setMoveRubberBand(bool enabled)
{
    d->moveRubberBand = enabled;
    updateRubberBands();
}

void FramelessHelper::setResizeRubberBand(bool enabled)
{
    d->resizeRubberBand = enabled;
    updateRubberBands();
}

void FramelessHelper::setEdgeWidth(int width)
{
    if (width != 0)
        d->edgeWidth = width;
}

void FramelessHelper::setTitleAreaHeight(int height)
{
    if (height != 0)
        d->titleAreaHeight = height;
}

bool FramelessHelper::moveEnabled() const
{
    return d->moveEnabled;
}

bool FramelessHelper::resizeEnabled() const
{
    return d->resizeEnabled;
}

bool FramelessHelper::moveRubberBand() const
{
    return d->moveRubberBand;
}

bool FramelessHelper::resizeRubberBand() const
{
    return d->resizeRubberBand;
}

int FramelessHelper::edgeWidth() const
{
    return d->edgeWidth;
}

int FramelessHelper::titleAreaHeight() const
{
    return d->titleAreaHeight;
}

void FramelessHelper::updateRubberBands()
{
    for (FramelessWidgetState *state : qAsConst(d->widgets))
        state->updateRubberBandStatus();
}

bool FramelessHelper::startSystemDrag(QWindow *window, Qt::Edges edges)
{
    return edges ? window->startSystemResize(edges) : window->startSystemMove();
}

bool FramelessHelper::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Leave:
    case QEvent::HoverMove:
        if (watched->isWidgetType()) {
            if (FramelessWidgetState *state = d->widgets.value(static_cast<QWidget *>(watched))) {
                state->handleWidgetEvent(event);
                return true;
            }
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Utils
