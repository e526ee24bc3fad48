#include "presets/rc4.h"

#include <utility>

namespace orba {

const uint8_t PRESET_KEY[PRESET_KEY_LENGTH] = {0x4F, 0x52, 0x42, 0x41, 0x9D, 0x36, 0xE5};

Rc4::Rc4(const uint8_t *key, size_t keyLength)
{
    for (int i = 0; i < 256; ++i)
        m_s[i] = uint8_t(i);
    uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = uint8_t(j + m_s[i] + key[size_t(i) % keyLength]);
        std::swap(m_s[i], m_s[j]);
    }
}

void Rc4::apply(uint8_t *data, size_t size)
{
    for (size_t n = 0; n < size; ++n) {
        m_i = uint8_t(m_i + 1);
        m_j = uint8_t(m_j + m_s[m_i]);
        std::swap(m_s[m_i], m_s[m_j]);
        data[n] ^= m_s[uint8_t(m_s[m_i] + m_s[m_j])];
    }
}

} // namespace orba
