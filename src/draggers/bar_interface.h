// tcBarInterface: what a graph editor needs of its panel: the selected band row's parameters, read
// and written by band and index, so a band dragger knows nothing of parameter ids; and the panel's
// own handling of a knob or switch edit, which the equaliser editor goes through when a section
// has knobs, so that they and their displays follow.
#pragma once

#include <cstdint>

class tcBarInterface
{
public:
    virtual ~tcBarInterface() = default;
    // Writes the selected row's parameter of the band (change source 0).
    virtual void barSet(int /*band*/, uint32_t /*index*/) {}
    virtual double valueOfIndex(uint32_t /*index*/) { return 0.0; }
    virtual uint32_t indexOfValue(double /*value*/) { return 0; }
    // As if the user had turned the knob to a raw position or flipped the switch.
    virtual void onKnob(int /*number*/, int /*position*/) {}
    virtual void onCheck(int /*number*/, bool /*state*/) {}
};
