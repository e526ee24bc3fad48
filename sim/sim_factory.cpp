// The factory bank: presets for the formats an AM station runs, each a few settings away from a
// common processing chain, so that every slot sounds (and reads) different.
#include "sim/sim_bank.h"

#include <initializer_list>

namespace orba::sim {

namespace {

struct Setting
{
    uint16_t id;
    float value; // by the parameter's kind: a float, an integer or 0/1
};

struct FactoryPreset
{
    const char *name;
    uint8_t lock;
    std::initializer_list<Setting> settings;
};

// The chain every preset starts from: all blocks in, a gentle high-pass, the AM band limited.
const Setting BASE[] = {
    {1024, 1},     // Comp AGC In
    {1025, 1},     // Comp In
    {1280, 1},     // MB Lim In
    {1537, 1},     // AM Lim In
    {5633, 1},     // HD Lim In
    {769, 1},      // PEQ Mstr In
    {268, 1},      // Input HPF In Sum
    {261, 50},     // Input HPF Freq Sum
    {2048, 10000}, // AM Bandwidth
    {1544, 1},     // AM Lim Clip Type
};

const FactoryPreset FACTORY[] = {
    {"Factory Default", PRESET_FACTORY_LOCKED, {}},
    {"AM Music Medium",
     PRESET_FACTORY_LOCKED,
     {{770, 1},
      {774, 60},
      {782, 3},
      {773, 1},
      {777, 4500},
      {785, 2},
      {1061, 3},
      {1062, 3},
      {1063, 3},
      {1064, 3},
      {1065, 3},
      {1281, 60}}},
    {"AM Music Loud",
     PRESET_FACTORY_LOCKED,
     {{770, 1},
      {774, 70},
      {782, 4},
      {1032, -4},
      {1033, 34},
      {1061, 4},
      {1062, 4},
      {1063, 5},
      {1064, 5},
      {1065, 5},
      {1281, 82},
      {1287, 3},
      {1288, 1},
      {1538, 2}}},
    {"News Talk",
     PRESET_FACTORY_LOCKED,
     {{261, 120},  {262, 1},     {771, 1},     {775, 400},   {783, -3},    {772, 1},
      {776, 2800}, {784, 4},     {1086, 120},  {1087, 120},  {1088, 120},  {1089, 120},
      {1090, 120}, {1091, 1000}, {1092, 1000}, {1093, 1000}, {1094, 1000}, {1095, 1000},
      {1061, 3},   {1062, 3},    {1063, 3},    {1064, 3},    {1065, 3},    {2048, 9000}}},
    {"Sports Play by Play",
     PRESET_UNLOCKED,
     {{261, 150},
      {772, 1},
      {776, 3200},
      {784, 5},
      {1066, 5},
      {1067, 5},
      {1068, 5},
      {1069, 5},
      {1070, 5},
      {1061, 5},
      {1062, 5},
      {1063, 5},
      {1064, 5},
      {1065, 5},
      {1281, 75},
      {2048, 8000}}},
    {"Classic Rock",
     PRESET_UNLOCKED,
     {{770, 1},
      {774, 80},
      {782, 4},
      {773, 1},
      {777, 8000},
      {785, 2},
      {1287, 2},
      {1290, 150},
      {1281, 70},
      {1061, 3},
      {1062, 3},
      {1063, 3},
      {1064, 3},
      {1065, 3}}},
    {"Country Hits",
     PRESET_UNLOCKED,
     {{772, 1}, {776, 2500}, {784, 2}, {773, 1}, {777, 10000}, {785, 3}, {1281, 65}, {1033, 32}}},
    {"Urban Bass Heavy",
     PRESET_UNLOCKED,
     {{770, 1},
      {774, 55},
      {778, 0.7f},
      {782, 7},
      {1287, 4},
      {1288, 2},
      {1290, 120},
      {1281, 85},
      {1061, 4},
      {1062, 4},
      {1063, 4},
      {1064, 4},
      {1065, 4}}},
    {"Oldies Gentle",
     PRESET_UNLOCKED,
     {{1032, -14},
      {1061, 2},
      {1062, 2},
      {1063, 2},
      {1064, 2},
      {1065, 2},
      {1281, 40},
      {2048, 7000},
      {771, 1},
      {775, 1200},
      {783, 2}}},
    {"Night Time NRSC",
     PRESET_FACTORY_LOCKED,
     {{2048, 6000},
      {1281, 55},
      {1538, -1},
      {5646, 8000},
      {1061, 3},
      {1062, 3},
      {1063, 3},
      {1064, 3},
      {1065, 3}}},
    {"Station Custom",
     PRESET_LOCKED,
     {{770, 1},
      {774, 65},
      {782, 5},
      {772, 1},
      {776, 3000},
      {784, 3},
      {1033, 33},
      {1281, 72},
      {1287, 2},
      {1061, 4},
      {1062, 4},
      {1063, 4},
      {1064, 3},
      {1065, 3}}},
    {"Morning Show",
     PRESET_UNLOCKED,
     {{261, 80},
      {772, 1},
      {776, 2800},
      {784, 3},
      {1281, 68},
      {1061, 3},
      {1062, 3},
      {1063, 4},
      {1064, 4},
      {1065, 4}}},
};

constexpr int FACTORY_LIVE_SLOT = 1;

void apply(SETTINGS_MAP &set, const Setting &s)
{
    switch (settingType(s.id)) {
    case SETTING_FLOAT:
        set.setFloat(s.id, s.value, CHANGE_LOCAL);
        break;
    case SETTING_INT:
        set.setInt(s.id, uint32_t(s.value), CHANGE_LOCAL);
        break;
    case SETTING_BOOL:
        set.setBool(s.id, s.value != 0, CHANGE_LOCAL);
        break;
    }
}

} // namespace

void SimBank::loadFactoryBank()
{
    reset();
    int slot = 0;
    for (const FactoryPreset &p : FACTORY) {
        SETTINGS_MAP &set = values(slot);
        for (const Setting &s : BASE)
            apply(set, s);
        for (const Setting &s : p.settings)
            apply(set, s);
        header(slot).setName(p.name);
        markStored(slot);
        header(slot).lock = p.lock;
        ++slot;
    }
    live.assignFrom(values(FACTORY_LIVE_SLOT));
    current = header(FACTORY_LIVE_SLOT);
    globals.setInt(G_ACT_PRST, FACTORY_LIVE_SLOT, CHANGE_LOCAL);
}

} // namespace orba::sim
