// PresetHeader: what travels with a preset (name, use, lock, the two checksums with their counts,
// a reserved block). Its wire form is the 156-byte preset header entry of the link; processor slots
// are indexed 0-79 and shown numbered from 1.
#pragma once

#include "tables/settings_map.h"

#include <cstdint>
#include <cstring>
#include <string>

constexpr int PRESET_NAME_LEN = 40;
constexpr int PRESET_SLOTS = 80;

enum PresetLock : uint8_t { PRESET_UNLOCKED = 0, PRESET_LOCKED = 1, PRESET_FACTORY_LOCKED = 2 };

struct PresetReserved
{
    uint32_t word[2];
    char text[2][40];
};

struct PresetHeader
{
    char name[PRESET_NAME_LEN]; // zero-padded; a full 40-character name has no terminator
    uint8_t inUse;
    uint8_t lock;
    uint8_t spare[2];
    uint32_t presetChecksum;
    uint32_t systemChecksum;
    uint32_t spareWord[2];
    uint16_t presetCount;
    uint16_t systemCount;
    uint16_t spareCount[2];
    PresetReserved reserved;
    uint8_t tail[44];

    void clear() { std::memset(this, 0, sizeof *this); }
    // Name up to the first terminator, at most 40 characters.
    std::string nameText() const { return std::string(name, strnlen(name, PRESET_NAME_LEN)); }
    // Sets the name, cut to 40 characters, the rest zero.
    void setName(const std::string &text)
    {
        std::memset(name, 0, sizeof name);
        std::memcpy(name, text.data(), text.size() < sizeof name ? text.size() : sizeof name);
    }
    void setChecksums(const SetChecksums &c)
    {
        presetChecksum = c.presetChecksum;
        presetCount = c.presetCount;
        systemChecksum = c.systemChecksum;
        systemCount = c.systemCount;
    }
    // A slot counts as locked for save, paste and delete when in use and its lock is not 0.
    bool isLockedSlot() const { return inUse != 0 && lock != 0; }
};

static_assert(sizeof(PresetReserved) == 88, "reserved block is 88 bytes");
