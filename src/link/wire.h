// Little-endian field access on byte buffers; every multi-byte field of the link is little-endian
// whatever the host.
#pragma once

#include <cstdint>
#include <cstring>

namespace orba::wire {

inline void put16(uint8_t *p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

inline void put32(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

inline uint16_t get16(const uint8_t *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

inline uint32_t get32(const uint8_t *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void putFloat(uint8_t *p, float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    put32(p, bits);
}

inline float getFloat(const uint8_t *p)
{
    const uint32_t bits = get32(p);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

} // namespace orba::wire
