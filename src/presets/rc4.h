// RC4 stream cipher of the preset files: one key schedule per file, one continuous key stream over
// everything after the header line. Enciphering and deciphering are the same operation.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orba {

class Rc4
{
public:
    Rc4(const uint8_t *key, size_t keyLength);
    // XORs the next bytes of the key stream into data.
    void apply(uint8_t *data, size_t size);
    void apply(char *data, size_t size) { apply(reinterpret_cast<uint8_t *>(data), size); }

private:
    uint8_t m_s[256];
    uint8_t m_i = 0;
    uint8_t m_j = 0;
};

// The key shared by every preset and quick-save file; files move between installations only
// when both use the same one.
constexpr size_t PRESET_KEY_LENGTH = 7;
extern const uint8_t PRESET_KEY[PRESET_KEY_LENGTH];

} // namespace orba
