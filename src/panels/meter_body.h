// Where the panels find their readings in a meter datagram (offsets from its start).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orba::meterbody {

constexpr size_t kTemperature = 40; // IEEE-754 single, little-endian, degrees Celsius
constexpr size_t kAnalogStatus = 44;
constexpr size_t kAesStatus = 45;
constexpr size_t kInputLevels = 46;       // levels, then peaks at +2, flags at +4
constexpr size_t kAmLevels[2] = {52, 56}; // positive, negative peaks (the AM meter choice); peaks at +2
constexpr size_t kHdLevels = 60;          // peaks at +2
constexpr size_t kCompLeft = 64;          // five compressor bands
constexpr size_t kCompRight = 74;         // five compressor bands
constexpr size_t kHdReduction = 79;       // HD limiter, two channels
constexpr size_t kAmOutReduction = 81;    // AM output limiter, two channels
constexpr size_t kGraphData = 104;        // 500 bytes
constexpr int kStatusEvery = 6;           // status lamps follow every sixth frame

inline float temperature(const uint8_t *datagram)
{
    const uint8_t *p = datagram + kTemperature;
    const uint32_t bits = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace orba::meterbody
