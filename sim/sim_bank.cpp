#include "sim/sim_bank.h"

namespace orba::sim {

namespace {

// Copying raw steps is much cheaper than setting every default value again.
const SETTINGS_MAP &defaults()
{
    static const SETTINGS_MAP set;
    return set;
}

} // namespace

SimBank::SimBank()
{
    for (auto &v : m_values)
        v = std::make_unique<SETTINGS_MAP>();
    reset();
}

void SimBank::reset()
{
    for (int s = 0; s < PRESET_SLOTS; ++s) {
        header(s).clear();
        if (m_touched[size_t(s)])
            m_values[size_t(s)]->assignFrom(defaults());
        m_touched[size_t(s)] = false;
    }
    live.assignFrom(defaults());
    globals.resetDefaults();
    current.clear();
    events.clear();
}

void SimBank::clearSlot(int slot)
{
    header(slot).clear();
    values(slot).assignFrom(defaults());
}

void SimBank::markStored(int slot)
{
    PresetHeader &h = header(slot);
    if (h.inUse == 0)
        h.inUse = 255;
    h.setChecksums(values(slot).checksums());
}

} // namespace orba::sim
