#include "preset_helpers.h"

namespace orba::test {

void changeEveryParameter(SETTINGS_MAP &set, bool shift)
{
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id)) {
        const uint32_t lo = set.getRawMin(id);
        const uint32_t hi = set.getRawMax(id);
        const bool atMax = set.getRaw(id) == hi;
        uint32_t raw = atMax ? lo : hi;
        if (shift && hi - lo > 1)
            raw = atMax ? lo + 1 : hi - 1;
        set.setIndex(id, raw, CHANGE_LOCAL);
    }
}

} // namespace orba::test
