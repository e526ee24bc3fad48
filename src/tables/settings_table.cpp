#include "tables/settings_table.h"

#include <array>

namespace {

// Position of every possible id in the table; 255 = not in the table.
struct IdIndex
{
    std::array<uint8_t, 65536> slot;
    IdIndex()
    {
        slot.fill(255);
        for (int i = 0; SETTINGS_TABLE[i].id != SETTINGS_END; ++i)
            slot[SETTINGS_TABLE[i].id] = uint8_t(i);
    }
};

const IdIndex &idIndex()
{
    static const IdIndex index;
    return index;
}

} // namespace

namespace orba {

int settingIndex(uint16_t id)
{
    const uint8_t s = idIndex().slot[id];
    return s == 255 ? -1 : s;
}

uint16_t settingIdAt(int index)
{
    return index >= 0 && index < SETTINGS_COUNT ? SETTINGS_TABLE[index].id : SETTINGS_END;
}

const SETTING_DEF *findSetting(uint16_t id)
{
    const int i = settingIndex(id);
    return i < 0 ? nullptr : &SETTINGS_TABLE[i];
}

int settingType(uint16_t id)
{
    const SETTING_DEF *d = findSetting(id);
    return d ? d->type : -1;
}

uint16_t firstSettingId()
{
    return SETTINGS_TABLE[0].id;
}

uint16_t nextSettingId(uint16_t id)
{
    const int i = settingIndex(id);
    return i < 0 ? SETTINGS_END : SETTINGS_TABLE[i + 1].id;
}

int settingCount()
{
    return SETTINGS_COUNT;
}

const char *settingName(uint16_t id)
{
    const SETTING_DEF *d = findSetting(id);
    return d ? d->name : "???";
}

bool isInstallationParameter(uint16_t id)
{
    switch (id) {
    case 256: case 257: case 258: case 266: case 1548: case 1549:
    case 5641: case 5642: case 5644: case 5645:
        return true;
    default:
        return (id >= 2049 && id <= 2066) || (id >= 5647 && id <= 5651);
    }
}

} // namespace orba
