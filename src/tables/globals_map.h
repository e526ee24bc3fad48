// GLOBALS_MAP: the processor-wide settings outside presets (ids 1000-1030, a separate id space).
// Integers are 32-bit, booleans 8-bit; same change-callback shape as SETTINGS_MAP.
#pragma once

#include "tables/settings_map.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

constexpr uint16_t GLOBAL_FIRST = 1000;
constexpr uint16_t GLOBAL_LAST = 1030;
constexpr int GLOBALS_COUNT = 16;

enum GlobalId : uint16_t {
    G_FP_PSWD = 1000,
    G_S_FOLLOW = 1003,
    G_ACT_PRST = 1004,
    G_OSCOPE = 1006,
    G_MAP_STRM = 1007,
    G_DELAY = 1008,
    G_HDPN_SRC = 1009,
    G_HDPN_LEV = 1010,
    G_INFAILOV = 1015,
    G_REMOTE_PW = 1016,
    G_LOCAL_PW = 1017,
    G_LOCAL_ACC = 1018,
    G_AM_FREQ = 1027,
    G_AM_LEVEL = 1028,
    G_AM_TEST = 1029,
    G_AM_TILT = 1030,
};

// Front-panel code meaning no password required; also the default of "FP PSWD".
constexpr int32_t FP_NO_PASSWORD = 10000;
constexpr int32_t FP_DISABLED = 10001;

namespace orba {
// 2 integer, 3 boolean, -1 for an id that is not a global.
int globalType(uint16_t id);
int32_t globalDefault(uint16_t id);
const char *globalName(uint16_t id); // 8 characters; "????????" for an unknown id
uint16_t firstGlobalId();
constexpr uint16_t GLOBALS_END = 0xFFFF;
uint16_t nextGlobalId(uint16_t id); // GLOBALS_END after the last or for an unknown id
// Label of a value of a global, as the processor shows it ("????????" for an unknown id).
std::string globalLabel(uint16_t id, int32_t value);
// Slot 0..30 of an id in 1000..1030 that is a global, else -1.
int globalIndex(uint16_t id);
} // namespace orba

class GLOBALS_MAP
{
public:
    GLOBALS_MAP();

    void setChangeCallback(ChangeCallback callback, void *context);

    // Integers store the value as is, booleans store value != 0. Unknown ids do nothing.
    bool set(uint16_t id, int32_t value, ChangeSource source);
    bool setInt(uint16_t id, int32_t value, ChangeSource source);
    bool setBool(uint16_t id, bool value, ChangeSource source);
    int32_t get(uint16_t id) const; // 0 for an unknown id
    int32_t getInt(uint16_t id) const { return get(id); }
    bool getBool(uint16_t id) const { return get(id) != 0; }
    std::string label(uint16_t id) const;
    void resetDefaults(); // no callback

private:
    std::array<std::atomic<int32_t>, GLOBAL_LAST - GLOBAL_FIRST + 1> m_values;
    ChangeCallback m_callback = nullptr;
    void *m_context = nullptr;
};

using GLOBALS_FLAGS = ChangeFlags<GLOBAL_LAST - GLOBAL_FIRST + 1, orba::globalIndex>;
