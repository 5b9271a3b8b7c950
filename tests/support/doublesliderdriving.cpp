#include "support/doublesliderdriving.h"

#include "widgets/doubleslider.h"

#include <QWindow>
#include <QtTest>

namespace TestSupport {

void pressOn(DoubleSlider *slider, const QPoint &pos, Qt::MouseButton button)
{
    QTest::mousePress(slider->windowHandle(), button, Qt::NoModifier, pos);
}

void dragTo(DoubleSlider *slider, const QPoint &pos)
{
    QTest::mouseMove(slider->windowHandle(), pos);
}

void releaseOn(DoubleSlider *slider, const QPoint &pos, Qt::MouseButton button)
{
    QTest::mouseRelease(slider->windowHandle(), button, Qt::NoModifier, pos);
}

} // namespace TestSupport
