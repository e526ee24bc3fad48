#include "common/crc32.h"

#include <array>

namespace orba {

namespace {

std::array<uint32_t, 256> buildTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

const std::array<uint32_t, 256> &table()
{
    static const std::array<uint32_t, 256> t = buildTable();
    return t;
}

} // namespace

void Crc32::update(const void *data, size_t size)
{
    const auto &t = table();
    const auto *p = static_cast<const uint8_t *>(data);
    uint32_t c = m_state;
    for (size_t i = 0; i < size; ++i)
        c = t[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    m_state = c;
}

void Crc32::updateWord(uint32_t word)
{
    const uint8_t bytes[4] = {uint8_t(word), uint8_t(word >> 8), uint8_t(word >> 16), uint8_t(word >> 24)};
    update(bytes, 4);
}

uint32_t crc32(const void *data, size_t size)
{
    Crc32 c;
    c.update(data, size);
    return c.value();
}

uint32_t crc32(std::string_view text)
{
    return crc32(text.data(), text.size());
}

} // namespace orba
