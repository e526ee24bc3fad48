// CRC-32 of IEEE 802.3 (reflected polynomial 0xEDB88320, initial value all ones, final complement).
// Used for preset checksums, access codes and passwords.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orba {

// Running CRC: feed any number of pieces, then read value().
class Crc32
{
public:
    void update(const void *data, size_t size);
    void updateWord(uint32_t word); // four bytes, little-endian
    uint32_t value() const { return ~m_state; }

private:
    uint32_t m_state = 0xFFFFFFFFu;
};

uint32_t crc32(const void *data, size_t size);

// CRC of the 8-bit characters of a text; the empty text gives 0.
uint32_t crc32(std::string_view text);

} // namespace orba
