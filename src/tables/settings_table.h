// The settings table: one constant record per processor parameter, in the table order that fixes
// iteration, bulk messages, preset files and checksums. Table-level lookups need no parameter set.
#pragma once

#include <cstdint>

struct VALUE_ENTRY;

enum SettingType : uint8_t { SETTING_FLOAT = 1, SETTING_INT = 2, SETTING_BOOL = 3 };

struct SETTING_DEF
{
    uint16_t id; // 0xFFFF ends the table
    uint8_t type;
    const char *name;
    uint32_t boolDefault;
    int32_t intDefault, intMin, intMax;
    float floatDefault, floatMin, floatMax;
};

// How a holder is built from its record.
struct SETTING_BUILD
{
    enum Kind : uint8_t { Table, Step, Labels, Boolean };
    uint16_t id;
    Kind kind;
    const VALUE_ENTRY *table;
    uint32_t tableLength;
    double step;
    const char *format;
    const char *const *labels;
};

constexpr int SETTINGS_COUNT = 221;
constexpr uint16_t SETTINGS_END = 0xFFFF;

extern const SETTING_DEF SETTINGS_TABLE[SETTINGS_COUNT + 1];
extern const SETTING_BUILD SETTINGS_BUILD_LIST[SETTINGS_COUNT];

namespace orba {

const SETTING_DEF *findSetting(uint16_t id);
// 1 float, 2 integer, 3 boolean, -1 when the id is not in the table.
int settingType(uint16_t id);
uint16_t firstSettingId();
// The id after this one in table order; 0xFFFF after the last and for an unknown id.
uint16_t nextSettingId(uint16_t id);
int settingCount();
// "???" for an unknown id.
const char *settingName(uint16_t id);
bool isInstallationParameter(uint16_t id);
// Position of the id in the table (0..220), or -1.
int settingIndex(uint16_t id);
// Id at a table position, or 0xFFFF.
uint16_t settingIdAt(int index);

} // namespace orba
