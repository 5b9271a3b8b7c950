#pragma once

#include <QObject>
#include <QStringList>

class DoubleSlider;

namespace TestSupport {

// Every emission of the range slider's three signals, in order, as "name(args)".
class SliderSignalLog : public QObject
{
public:
    explicit SliderSignalLog(DoubleSlider *slider);
    QStringList entries;
};

} // namespace TestSupport
