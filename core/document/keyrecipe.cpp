#include "core/document/keyrecipe.h"

namespace {
int channelOf(const QColor &c, int channel)
{
    return channel == 0 ? c.red() : channel == 1 ? c.green() : c.blue();
}

void setChannelOf(QColor &c, int channel, int value)
{
    if (channel == 0)
        c.setRed(value);
    else if (channel == 1)
        c.setGreen(value);
    else
        c.setBlue(value);
}
} // namespace

void KeyRecipe::pick(const QColor &colour)
{
    const QColor opaque(colour.red(), colour.green(), colour.blue());
    picked = opaque;
    begin = opaque;
    end = opaque;
}

void KeyRecipe::setChannel(int channel, int low, int high)
{
    setChannelOf(begin, channel, low);
    setChannelOf(end, channel, high);
}

int KeyRecipe::low(int channel) const
{
    return channelOf(begin, channel);
}

int KeyRecipe::high(int channel) const
{
    return channelOf(end, channel);
}

bool KeyRecipe::operator==(const KeyRecipe &other) const
{
    return enabled == other.enabled && begin == other.begin && end == other.end && fill == other.fill &&
           picked == other.picked;
}
