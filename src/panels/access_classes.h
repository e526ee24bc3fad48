// The restriction class of each skin object number: the lock bits that make an action on the
// object need the access code while the GUI is locked.
#pragma once

#include <cstdint>

namespace orba {

enum RestrictionBits : uint32_t {
    kRestrictNone = 0,
    kRestrictSettings = 1, // "Setting Changes"
    kRestrictTakes = 2,    // "Preset Takes"
    kRestrictSaves = 4,    // "Preset Saves"
    kRestrictScreens = 16, // "Screen Changes"
    kRestrictMeters = 32,  // "Meter Views"
    kRestrictAny = 0xFFFFFFFFu,
};

uint32_t restrictionClass(int controlId);

} // namespace orba
