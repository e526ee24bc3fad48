// Where the panels find their readings in a meter datagram (offsets from its start).
#pragma once

#include "link/meter_datagram.h"
#include "link/wire.h"

#include <cstddef>
#include <cstdint>

namespace orba::meterbody {

constexpr size_t kTemperature = METER_BODY_AT; // IEEE-754 single, little-endian, degrees Celsius
constexpr size_t kAnalogStatus = METER_BODY_AT + 4;
constexpr size_t kAesStatus = METER_BODY_AT + 5;
constexpr size_t kInputLevels = METER_BODY_AT + 6; // levels, then peaks at +2, flags at +4
// Positive, negative peaks (the AM meter choice); peaks at +2.
constexpr size_t kAmLevels[2] = {METER_BODY_AT + 12, METER_BODY_AT + 16};
constexpr size_t kHdLevels = METER_BODY_AT + 20;       // peaks at +2
constexpr size_t kCompLeft = METER_BODY_AT + 24;       // five compressor bands
constexpr size_t kCompRight = METER_BODY_AT + 34;      // five compressor bands
constexpr size_t kHdReduction = METER_BODY_AT + 39;    // HD limiter, two channels
constexpr size_t kAmOutReduction = METER_BODY_AT + 41; // AM output limiter, two channels
constexpr size_t kGraphData = METER_BODY_AT + 64;      // 500 bytes
constexpr int kStatusEvery = 6;                        // status lamps follow every sixth frame

inline float temperature(const uint8_t *datagram)
{
    return wire::getFloat(datagram + kTemperature);
}

} // namespace orba::meterbody
