#include "sim/sim_bank.h"

namespace orba::sim {

SimBank::SimBank()
{
    for (auto &v : m_values)
        v = std::make_unique<SETTINGS_MAP>();
    reset();
}

void SimBank::reset()
{
    for (int s = 0; s < PRESET_SLOTS; ++s)
        clearSlot(s);
    live.resetAll();
    globals.resetDefaults();
    current.clear();
    events.clear();
}

void SimBank::clearSlot(int slot)
{
    header(slot).clear();
    values(slot).resetAll();
}

void SimBank::markStored(int slot)
{
    PresetHeader &h = header(slot);
    if (h.inUse == 0)
        h.inUse = 255;
    h.setChecksums(values(slot).checksums());
}

} // namespace orba::sim
