#pragma once

#include <QColor>
#include <QPoint>

class DoubleSlider;

namespace TestSupport {

// The colour the tests give the slider, and the colour of a handle that is not active.
inline const QColor kSliderRed(255, 0, 0);
inline const QColor kIdleHandle(Qt::darkGray);

// Drags go through the window system's side (the slider is a window of its own here), so the
// moves carry the buttons that are held, as real ones do.
void pressOn(DoubleSlider *slider, const QPoint &pos, Qt::MouseButton button = Qt::LeftButton);
void dragTo(DoubleSlider *slider, const QPoint &pos);
void releaseOn(DoubleSlider *slider, const QPoint &pos, Qt::MouseButton button = Qt::LeftButton);

} // namespace TestSupport
