#include "tables/settings_map.h"
#include "tables/value_tables.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orba;

namespace {

void appendRange(std::vector<uint16_t> &v, int from, int to)
{
    for (int id = from; id <= to; ++id)
        v.push_back(uint16_t(id));
}

// The table order, written out independently of the table.
std::vector<uint16_t> expectedOrder()
{
    std::vector<uint16_t> v = {256, 257, 266, 258, 262, 270, 268, 269, 261, 267};
    appendRange(v, 768, 785);
    v.insert(v.end(), {1024, 1025});
    appendRange(v, 1052, 1055);
    v.push_back(1126);
    appendRange(v, 1096, 1100);
    v.insert(v.end(), {1133, 1134, 1136, 1029, 1032, 1040, 1033, 1041});
    appendRange(v, 1086, 1095);
    appendRange(v, 1056, 1085);
    v.insert(v.end(), {1287, 1288, 1289, 1290, 1280, 1281, 1282, 1286});
    appendRange(v, 1296, 1305);
    appendRange(v, 1312, 1321);
    appendRange(v, 1360, 1369);
    appendRange(v, 1392, 1401);
    appendRange(v, 1504, 1519);
    appendRange(v, 1536, 1544);
    v.insert(v.end(), {1550, 1546, 1547, 1548, 1549});
    appendRange(v, 5600, 5615);
    appendRange(v, 5632, 5646);
    v.insert(v.end(), {5651, 5647, 5648, 5649, 5650});
    appendRange(v, 2048, 2052);
    appendRange(v, 2055, 2066);
    v.insert(v.end(), {2053, 2054});
    return v;
}

} // namespace

TEST(SettingsTable, IteratesAll221IdsInTableOrderEndingWith2054)
{
    std::vector<uint16_t> seen;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        seen.push_back(id);
    EXPECT_EQ(seen, expectedOrder());
    EXPECT_EQ(settingCount(), 221);
    EXPECT_EQ(seen.back(), 2054);
    EXPECT_EQ(nextSettingId(2054), SETTINGS_END);
    EXPECT_EQ(nextSettingId(9999), SETTINGS_END);
    EXPECT_EQ(nextSettingId(1000), SETTINGS_END); // a globals id is not a setting
}

TEST(SettingsTable, LooksUpRecordsByIdAndAnswersUnknownIdsQuietly)
{
    EXPECT_STREQ(settingName(257), "Input Line Gain");
    EXPECT_STREQ(settingName(4), "???");
    EXPECT_EQ(settingType(256), 2);
    EXPECT_EQ(settingType(257), 1);
    EXPECT_EQ(settingType(262), 3);
    EXPECT_EQ(settingType(1), -1);
    EXPECT_EQ(findSetting(1), nullptr);
}

TEST(SettingsTable, InstallationParametersAreExactlyTheListedOnes)
{
    std::vector<uint16_t> expected = {256, 257, 258, 266, 1548, 1549, 5641, 5642, 5644, 5645};
    appendRange(expected, 2049, 2066);
    appendRange(expected, 5647, 5651);
    std::vector<uint16_t> found;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        if (isInstallationParameter(id))
            found.push_back(id);
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    EXPECT_FALSE(isInstallationParameter(2048));
    EXPECT_FALSE(isInstallationParameter(5643));
    EXPECT_FALSE(isInstallationParameter(5646));
}

// Rows where a table lost or gained an entry would show: the ends, the zero rows, the rows past
// the end of shorter tables and where a label changes its format.
TEST(ValueTables, RowsStayInPlace)
{
    const struct
    {
        const char *got, *expected;
    } rows[] = {
        {FREQ_TABLE[0].label, " 16.0 Hz"},          {FREQ_TABLE[144].label, " 972  Hz"},
        {FREQ_TABLE[145].label, "1.00 kHz"},        {FREQ_TABLE[255].label, "24.0 kHz"},
        {GAIN_TABLE[0].label, "-80.0 dB"},          {GAIN_TABLE[140].label, "  0.0 dB"},
        {GAIN_TABLE[141].label, "+ 0.5 dB"},        {THRESH_TABLE[140].label, "  0.0 FS"},
        {THRESH_TABLE[141].label, "????????"},      {RATIO_TABLE[151].label, "20.0 : 1"},
        {RATIO_TABLE[152].label, "????????"},       {TIME_TABLE[210].label, "1.500 S "},
        {BW_TABLE[127].label, "4.50 oct"},          {HF_CUT_TABLE[15].label, "OFF   "},
        {AM_BW_TABLE[7].label, "10K NRSC"},         {TILT_LF_FREQ_TABLE[31].label, "100.0 Hz"},
        {TILT_HF_FREQ_TABLE[21].label, "????????"}, {TILT_LF_Q_TABLE[18].label, "1.06"},
    };
    for (const auto &row : rows)
        EXPECT_STREQ(row.got, row.expected);
    EXPECT_EQ(FREQ_TABLE[137].value, 800.0f);
    EXPECT_EQ(GAIN_TABLE[255].value, 57.5f);
    EXPECT_EQ(TIME_TABLE[255].value, 7000.0f);
    EXPECT_NE(TILT_LF_Q_TABLE, TILT_HF_Q_TABLE);
}
