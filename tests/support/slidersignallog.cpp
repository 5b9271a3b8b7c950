#include "support/slidersignallog.h"

#include "widgets/doubleslider.h"

namespace TestSupport {

SliderSignalLog::SliderSignalLog(DoubleSlider *slider)
{
    connect(slider, &DoubleSlider::minValueChanged, this,
            [this](int v) { entries << QStringLiteral("min(%1)").arg(v); });
    connect(slider, &DoubleSlider::maxValueChanged, this,
            [this](int v) { entries << QStringLiteral("max(%1)").arg(v); });
    connect(slider, &DoubleSlider::signal_valueChanged, this,
            [this](int a, int b) { entries << QStringLiteral("range(%1,%2)").arg(a).arg(b); });
}

} // namespace TestSupport
