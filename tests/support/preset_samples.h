// Preset headers and parameter sets as the preset tests build and compare them.
#pragma once

#include "tables/preset_header.h"
#include "tables/settings_map.h"

#include <string>

namespace orba::test {

// A cleared header with a name (not marked in use).
inline PresetHeader namedHeader(const std::string &name)
{
    PresetHeader h;
    h.clear();
    h.setName(name);
    return h;
}

// A slot's header marked in use, with a name and a lock.
inline PresetHeader usedHeader(const std::string &name, uint8_t lock = PRESET_UNLOCKED)
{
    PresetHeader h = namedHeader(name);
    h.inUse = 255;
    h.lock = lock;
    return h;
}

// Parameters where two sets differ (by raw value).
inline int differingParameters(const SETTINGS_MAP &a, const SETTINGS_MAP &b)
{
    int n = 0;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        n += a.getRaw(id) != b.getRaw(id) ? 1 : 0;
    return n;
}

} // namespace orba::test
