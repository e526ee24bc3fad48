#include "tables/globals_map.h"

#include <cstdio>

namespace {

struct GLOBAL_DEF
{
    uint16_t id;
    uint8_t type;
    const char *name;
    int32_t def;
};

// Iteration order.
const GLOBAL_DEF GLOBALS_TABLE[GLOBALS_COUNT] = {
    {1000, 2, "FP PSWD", FP_NO_PASSWORD},
    {1003, 3, "S_FOLLOW", 0},
    {1004, 2, "ACT_PRST", 0},
    {1006, 3, "OSCOPE  ", 0},
    {1007, 2, "MAP_STRM", 0},
    {1008, 2, "DELAY   ", 0},
    {1009, 2, "HDPN SRC", 0},
    {1010, 2, "HDPN LEV", 50},
    {1027, 2, "AM FREQ ", 7},
    {1028, 2, "AM LEVEL", 25},
    {1029, 3, "AM TEST ", 0},
    {1030, 3, "AM TILT ", 0},
    {1015, 3, "INFAILOV", 0},
    {1016, 2, "RemotePw", 0},
    {1017, 2, "LocalPw ", 0},
    {1018, 2, "LocalAcc", 0},
};

const char *const AM_FREQ_LABELS[21] = {
    " 25.0 Hz", " 37.5 Hz", " 50.0 Hz", " 75.0 Hz", "100.0 Hz", "150.0 Hz", "200.0 Hz",
    "300.0 Hz", "500.0 Hz", "750.0 Hz", " 1.0 kHz", " 2.0 kHz", " 3.0 kHz", " 4.0 kHz",
    " 5.0 kHz", " 6.0 kHz", " 7.0 kHz", " 8.0 kHz", " 9.0 kHz", "10.0 kHz", "12.0 kHz",
};

int tablePos(uint16_t id)
{
    for (int i = 0; i < GLOBALS_COUNT; ++i)
        if (GLOBALS_TABLE[i].id == id)
            return i;
    return -1;
}

} // namespace

namespace orba {

int globalIndex(uint16_t id)
{
    return tablePos(id) < 0 ? -1 : id - GLOBAL_FIRST;
}

int globalType(uint16_t id)
{
    const int p = tablePos(id);
    return p < 0 ? -1 : GLOBALS_TABLE[p].type;
}

int32_t globalDefault(uint16_t id)
{
    const int p = tablePos(id);
    return p < 0 ? 0 : GLOBALS_TABLE[p].def;
}

const char *globalName(uint16_t id)
{
    const int p = tablePos(id);
    return p < 0 ? "????????" : GLOBALS_TABLE[p].name;
}

uint16_t firstGlobalId()
{
    return GLOBALS_TABLE[0].id;
}

uint16_t nextGlobalId(uint16_t id)
{
    const int p = tablePos(id);
    return p < 0 || p + 1 >= GLOBALS_COUNT ? 0xFFFF : GLOBALS_TABLE[p + 1].id;
}

std::string globalLabel(uint16_t id, int32_t value)
{
    char buf[32];
    switch (globalType(id)) {
    case -1:
        return "????????";
    case 3:
        if (id == G_S_FOLLOW || id == G_OSCOPE)
            return value ? "Y" : "N";
        std::snprintf(buf, sizeof buf, "%d", value ? 1 : 0);
        return buf;
    default:
        break;
    }
    switch (id) {
    case G_DELAY:
        if (value == 0)
            return "OFF     ";
        if (value >= 100000)
            return "10.0000S";
        std::snprintf(buf, sizeof buf, "%4d.%dmS", value / 10, value % 10);
        return buf;
    case G_AM_FREQ:
        return value >= 0 && value <= 20 ? AM_FREQ_LABELS[value] : "????????";
    case G_AM_LEVEL:
        std::snprintf(buf, sizeof buf, "%d%%", value);
        return buf;
    default:
        std::snprintf(buf, sizeof buf, "%d", value);
        return buf;
    }
}

} // namespace orba

GLOBALS_MAP::GLOBALS_MAP()
{
    for (auto &v : m_values)
        v.store(0, std::memory_order_relaxed);
    resetDefaults();
}

void GLOBALS_MAP::setChangeCallback(ChangeCallback callback, void *context)
{
    m_callback = callback;
    m_context = context;
}

bool GLOBALS_MAP::set(uint16_t id, int32_t value, ChangeSource source)
{
    const int type = orba::globalType(id);
    if (type < 0)
        return false;
    if (type == 3)
        value = value != 0 ? 1 : 0;
    if (m_values[id - GLOBAL_FIRST].exchange(value, std::memory_order_relaxed) == value)
        return false;
    if (m_callback)
        m_callback(m_context, id, source);
    return true;
}

bool GLOBALS_MAP::setInt(uint16_t id, int32_t value, ChangeSource source)
{
    return orba::globalType(id) == 2 && set(id, value, source);
}

bool GLOBALS_MAP::setBool(uint16_t id, bool value, ChangeSource source)
{
    return orba::globalType(id) == 3 && set(id, value ? 1 : 0, source);
}

int32_t GLOBALS_MAP::get(uint16_t id) const
{
    return orba::globalType(id) < 0 ? 0 : m_values[id - GLOBAL_FIRST].load(std::memory_order_relaxed);
}

std::string GLOBALS_MAP::label(uint16_t id) const
{
    return orba::globalLabel(id, get(id));
}

void GLOBALS_MAP::resetDefaults()
{
    for (const auto &g : GLOBALS_TABLE)
        m_values[g.id - GLOBAL_FIRST].store(g.def, std::memory_order_relaxed);
}
