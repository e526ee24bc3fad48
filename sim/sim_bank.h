// What the simulated processor stores: the live parameter set, the globals, the 80 preset slots
// (header and a whole parameter set each), the current preset's header and the event schedule.
// One thread uses it (the simulator's); it has no locks.
#pragma once

#include "link/frames.h"
#include "tables/globals_map.h"
#include "tables/preset_header.h"
#include "tables/settings_map.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace orba::sim {

using Event = std::array<uint8_t, EVENT_RECORD_SIZE>;

class SimBank
{
public:
    SimBank(); // every slot empty, every value at its default

    SETTINGS_MAP live;
    GLOBALS_MAP globals;
    PresetHeader current;
    std::vector<Event> events; // at most EVENTS_MAX

    PresetHeader &header(int slot) { return m_headers[size_t(slot)]; }
    const PresetHeader &header(int slot) const { return m_headers[size_t(slot)]; }
    // Writable access marks the slot's set, so a reset restores only the sets that may differ.
    SETTINGS_MAP &values(int slot)
    {
        m_touched[size_t(slot)] = true;
        return *m_values[size_t(slot)];
    }
    const SETTINGS_MAP &values(int slot) const { return *m_values[size_t(slot)]; }

    bool touched(int slot) const { return m_touched[size_t(slot)]; }

    // In use with a lock: refuses new contents and clearing.
    bool locked(int slot) const { return header(slot).isLockedSlot(); }
    bool factoryLocked(int slot) const
    {
        return header(slot).inUse != 0 && header(slot).lock == PRESET_FACTORY_LOCKED;
    }

    void clearSlot(int slot); // empty header, default values
    // In use (255 when it was not) with the checksums and counts of its values.
    void markStored(int slot);
    // Everything back to an empty processor with default values.
    void reset();

    // The bank a new unit ships with: named presets in the first slots (a few factory locked, one
    // locked by its user), the live settings taken from one of them, that one current.
    void loadFactoryBank();

private:
    std::array<PresetHeader, PRESET_SLOTS> m_headers;
    std::array<std::unique_ptr<SETTINGS_MAP>, PRESET_SLOTS> m_values;
    std::array<bool, PRESET_SLOTS> m_touched{};
};

} // namespace orba::sim
