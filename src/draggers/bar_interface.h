// tcBarInterface: what a band dragger needs of its panel: the selected band row's parameters, read
// and written by band and index, so the dragger knows nothing of parameter ids.
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
};
