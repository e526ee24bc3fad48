#include "tables/globals_map.h"
#include "tables/settings_map.h"
#include "tables/value_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace orba;

namespace {

struct Change
{
    uint16_t id;
    ChangeSource source;
};

void record(void *context, uint16_t id, ChangeSource source)
{
    static_cast<std::vector<Change> *>(context)->push_back({id, source});
}

} // namespace

TEST(MapFloat, TableHolderClampsToTheIndexRangeOfItsOwnLimits)
{
    SETTINGS_MAP set;
    const MAP_FLOAT *gain = set.floatHolder(257);
    ASSERT_NE(gain, nullptr);
    EXPECT_EQ(gain->minIndex(), 68u);
    EXPECT_EQ(gain->maxIndex(), 164u);
    set.setFloat(257, -50.0f, CHANGE_USER);
    EXPECT_EQ(set.getRaw(257), 68u);
    set.setFloat(257, 100.0f, CHANGE_USER);
    EXPECT_EQ(set.getRaw(257), 164u);
    set.setIndex(257, 3, CHANGE_USER); // raw indices are clamped too
    EXPECT_EQ(set.getRaw(257), 68u);
    EXPECT_EQ(set.getRawMin(257), 68u);
    EXPECT_EQ(set.getRawMax(257), 164u);
}

TEST(MapFloat, NearestEntryWinsAndHalfWayGoesToTheLowerIndex)
{
    MAP_FLOAT h(1, 0.0f, -80.0f, 57.5f, GAIN_TABLE, 256, "test");
    EXPECT_EQ(h.searchDepth(), 8u);
    EXPECT_EQ(h.indexOf(-59.75f), 20u); // between -60.0 (20) and -59.5 (21)
    EXPECT_EQ(h.indexOf(-59.7f), 21u);
    EXPECT_EQ(h.indexOf(-59.8f), 20u);
    EXPECT_EQ(h.indexOf(-60.5f), 19u); // between -61 and -60
    EXPECT_EQ(h.indexOf(-1000.0f), 0u);
    EXPECT_EQ(h.indexOf(57.5f), 255u);
    EXPECT_EQ(h.indexOf(0.24f), 140u);
    EXPECT_EQ(h.indexOf(0.26f), 141u);
}

TEST(MapFloat, SteppedHolderSnapsToEqualSteps)
{
    MAP_FLOAT h(1, 0.0f, -18.0f, 12.0f, nullptr, 3000, "trim");
    h.setLabelFormat("% +6.2fdB");
    EXPECT_EQ(h.maxIndex(), 3000u);
    EXPECT_TRUE(h.setValue(0.004f) || h.index() == 1800u);
    EXPECT_EQ(h.index(), 1800u);
    EXPECT_TRUE(h.setValue(0.006f));
    EXPECT_EQ(h.index(), 1801u);
    EXPECT_FALSE(h.setValue(0.0099f)); // same step: no change
    EXPECT_EQ(h.labelText(), " +0.01dB");
    h.setValue(-18.0f);
    EXPECT_EQ(h.labelText(), "-18.00dB");
}

TEST(MapFloat, NotANumberChangesNothingInEitherKindOfHolder)
{
    MAP_FLOAT stepped(1, 0.0f, -18.0f, 12.0f, nullptr, 3000, "trim");
    stepped.setValue(3.0f);
    const uint32_t before = stepped.index();
    EXPECT_FALSE(stepped.setValue(std::nanf("")));
    EXPECT_EQ(stepped.index(), before);
    EXPECT_EQ(stepped.indexOf(-std::nanf("")), before);

    SETTINGS_MAP set;
    set.setFloat(257, 5.5f, CHANGE_LOCAL);
    EXPECT_FALSE(set.setFloat(257, std::nanf(""), CHANGE_PROCESSOR));
    EXPECT_FLOAT_EQ(set.getFloat(257), 5.5f);
}

TEST(MapFloat, StepFormatsFromTheTableRenderAsWritten)
{
    SETTINGS_MAP set;
    EXPECT_EQ(set.label(1029), "  -3.0dB"); // AGC Backoff default
    set.setFloat(1536, -18.0f, CHANGE_USER);
    EXPECT_EQ(set.label(1536), "-18.00dB");
    EXPECT_EQ(set.label(1281), "60.0 %");
    EXPECT_EQ(set.label(2050), "100%");
    EXPECT_EQ(set.label(2057), "0.0 dB");
}

TEST(MapInt, ClampsWithUnsignedComparisonsAndReportsOnlyRealChanges)
{
    MAP_INT h(1, 0, 0, 2, nullptr, "int");
    EXPECT_TRUE(h.set(7));
    EXPECT_EQ(h.value(), 2u);
    EXPECT_FALSE(h.set(7));
    EXPECT_TRUE(h.set(uint32_t(-1)) == false); // -1 is huge unsigned: clamps to 2, already 2
    EXPECT_EQ(h.value(), 2u);
    EXPECT_EQ(h.labelText(), "2");
}

TEST(SettingsMap, CompXfr3DefaultIsClampedIntoItsRange)
{
    SETTINGS_MAP set;
    EXPECT_FLOAT_EQ(set.getFloatDefault(1054), 820.0f);
    // 820 itself is no table entry: the value is the entry nearest to it, the lowest it may take.
    EXPECT_EQ(set.getRaw(1054), set.getRawMin(1054));
    EXPECT_EQ(set.label(1054), " 817  Hz");
    set.setFloat(1054, 1500.0f, CHANGE_USER);
    EXPECT_TRUE(set.floatHolder(1054)->reset());
    EXPECT_EQ(set.getRaw(1054), set.getRawMin(1054));
}

TEST(SettingsMap, LabelsOfBooleansIntegersAndTheOffAtMinimumRule)
{
    SETTINGS_MAP set;
    set.setFloat(1032, -80.0f, CHANGE_USER);
    EXPECT_EQ(set.label(1032), "OFF     ");
    set.setIndex(1032, set.getRaw(1032) + 1, CHANGE_USER);
    EXPECT_EQ(set.label(1032), "-79.0 dB");
    set.setFloat(2053, -80.0f, CHANGE_USER);
    EXPECT_EQ(set.label(2053), "OFF     ");
    EXPECT_EQ(set.label(262), "OUT");
    set.setBool(262, true, CHANGE_USER);
    EXPECT_EQ(set.label(262), "IN");
    EXPECT_EQ(set.label(256), "LINE    ");
    EXPECT_EQ(set.label(5643), "Compressor");
    EXPECT_EQ(set.label(4), "???");
    EXPECT_EQ(set.getRawMax(4), 255u);
    EXPECT_EQ(set.getRawMax(262), 1u);
}

TEST(SettingsMap, CallbackFiresOnlyOnRealChangesWithTheirSource)
{
    SETTINGS_MAP set;
    std::vector<Change> changes;
    set.setChangeCallback(record, &changes);
    EXPECT_FALSE(set.setFloat(257, 0.0f, CHANGE_PROCESSOR)); // already 0 dB
    EXPECT_FALSE(set.setFloat(257, 0.2f, CHANGE_PROCESSOR)); // snaps back to 0 dB
    EXPECT_TRUE(set.setFloat(257, 5.3f, CHANGE_PROCESSOR));
    EXPECT_FLOAT_EQ(set.getFloat(257), 5.5f);
    EXPECT_FALSE(set.setInt(257, 3, CHANGE_USER)); // wrong type: nothing
    EXPECT_FALSE(set.setFloat(9999, 1.0f, CHANGE_USER));
    EXPECT_TRUE(set.setBool(270, true, CHANGE_USER));
    EXPECT_TRUE(set.setInt(256, 1, CHANGE_LOCAL));
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].id, 257);
    EXPECT_EQ(changes[0].source, CHANGE_PROCESSOR);
    EXPECT_EQ(changes[1].id, 270);
    EXPECT_EQ(changes[2].source, CHANGE_LOCAL);
    set.resetAll(); // no callback
    EXPECT_EQ(changes.size(), 3u);
    EXPECT_FLOAT_EQ(set.getFloat(257), 0.0f);
}

TEST(SettingsMap, CopyWithFlagsRefusesOrSkipsInstallationParameters)
{
    SETTINGS_MAP src, dst;
    src.setInt(256, 1, CHANGE_USER);          // installation
    src.setFloat(257, 6.0f, CHANGE_USER);     // installation
    src.setInt(2049, 2, CHANGE_USER);         // installation (AM Width)
    src.setFloat(2048, 9100.0f, CHANGE_USER); // AM Bandwidth: not installation
    src.setInt(5643, 2, CHANGE_USER);         // HD Source: not installation
    src.setFloat(5646, 16000.0f, CHANGE_USER);
    src.setFloat(774, 100.0f, CHANGE_USER);

    std::vector<Change> changes;
    dst.setChangeCallback(record, &changes);
    EXPECT_EQ(dst.copyValuesFrom(&src, 1), -1);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(dst.copyValuesFrom(nullptr, 0), -1);

    EXPECT_EQ(dst.copyValuesFrom(&src, 2), 0);
    EXPECT_EQ(dst.getInt(256), 0u);
    EXPECT_FLOAT_EQ(dst.getFloat(257), 0.0f);
    EXPECT_EQ(dst.getInt(2049), 0u);
    EXPECT_FLOAT_EQ(dst.getFloat(2048), 9100.0f);
    EXPECT_EQ(dst.getInt(5643), 2u);
    EXPECT_FLOAT_EQ(dst.getFloat(5646), 16000.0f);
    EXPECT_EQ(dst.label(774), " 99.2 Hz");
    EXPECT_EQ(changes.size(), 4u);
    for (const Change &c : changes)
        EXPECT_EQ(c.source, CHANGE_LOCAL);

    changes.clear();
    EXPECT_EQ(dst.copyValuesFrom(&src, 0), 0);
    EXPECT_EQ(dst.getInt(256), 1u);
    EXPECT_EQ(changes.size(), 3u); // only the three installation parameters still differed
}

TEST(SettingsMap, ChecksumsSplitInstallationFromPresetParameters)
{
    SETTINGS_MAP a, b;
    const SetChecksums base = a.checksums();
    EXPECT_EQ(base.presetCount + base.systemCount, 221);
    EXPECT_EQ(base.systemCount, 33);
    EXPECT_EQ(a.checksums().presetChecksum, b.checksums().presetChecksum);

    b.setFloat(5641, -6.0f, CHANGE_USER); // HD Out Level: installation
    EXPECT_EQ(b.checksums().presetChecksum, base.presetChecksum);
    EXPECT_NE(b.checksums().systemChecksum, base.systemChecksum);

    b.setFloat(1032, 0.0f, CHANGE_USER); // Comp Drive: preset
    EXPECT_NE(b.checksums().presetChecksum, base.presetChecksum);

    SETTINGS_MAP c;
    c.assignFrom(b);
    EXPECT_EQ(c.checksums().presetChecksum, b.checksums().presetChecksum);
    EXPECT_EQ(c.checksums().systemChecksum, b.checksums().systemChecksum);
}

TEST(SettingsFlags, MarksOnlyTableIdsAndTakeClearsAtomically)
{
    SETTINGS_FLAGS flags;
    flags.set(257);
    flags.set(4); // not in the table: ignored
    EXPECT_TRUE(flags.test(257));
    EXPECT_FALSE(flags.test(4));
    EXPECT_TRUE(flags.take(257));
    EXPECT_FALSE(flags.take(257));
    flags.setAll();
    EXPECT_TRUE(flags.test(2054));
    flags.clear(2054);
    EXPECT_FALSE(flags.test(2054));
}

TEST(Globals, IterationOrderTypesAndLabels)
{
    std::vector<uint16_t> order;
    for (uint16_t id = firstGlobalId(); id != GLOBALS_END; id = nextGlobalId(id))
        order.push_back(id);
    const std::vector<uint16_t> expected = {1000, 1003, 1004, 1006, 1007, 1008, 1009, 1010,
                                            1027, 1028, 1029, 1030, 1015, 1016, 1017, 1018};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(globalType(1001), -1);
    EXPECT_EQ(globalType(1003), 3);
    EXPECT_EQ(globalType(1008), 2);
    EXPECT_STREQ(globalName(1002), "????????");

    EXPECT_EQ(globalLabel(1008, 0), "OFF     ");
    EXPECT_EQ(globalLabel(1008, 1234), " 123.4mS");
    EXPECT_EQ(globalLabel(1008, 100000), "10.0000S");
    EXPECT_EQ(globalLabel(1027, 7), "300.0 Hz");
    EXPECT_EQ(globalLabel(1027, 10), " 1.0 kHz");
    EXPECT_EQ(globalLabel(1027, 20), "12.0 kHz");
    EXPECT_EQ(globalLabel(1027, 21), "????????");
    EXPECT_EQ(globalLabel(1028, 25), "25%");
    EXPECT_EQ(globalLabel(1003, 1), "Y");
    EXPECT_EQ(globalLabel(1006, 0), "N");
    EXPECT_EQ(globalLabel(1029, 1), "1");
    EXPECT_EQ(globalLabel(1001, 1), "????????");
}

TEST(Globals, SetStoresWithCallbackOnlyOnChange)
{
    GLOBALS_MAP g;
    std::vector<Change> changes;
    g.setChangeCallback(record, &changes);
    EXPECT_EQ(g.get(1010), 50);
    EXPECT_EQ(g.get(1027), 7);
    EXPECT_EQ(g.get(1000), FP_NO_PASSWORD);
    EXPECT_FALSE(g.set(1010, 50, CHANGE_PROCESSOR));
    EXPECT_TRUE(g.set(1010, 70, CHANGE_PROCESSOR));
    EXPECT_TRUE(g.set(1003, 5, CHANGE_USER)); // booleans keep 0 or 1
    EXPECT_EQ(g.get(1003), 1);
    EXPECT_FALSE(g.set(1003, 9, CHANGE_USER));
    EXPECT_FALSE(g.set(1001, 1, CHANGE_USER));
    EXPECT_FALSE(g.setBool(1010, true, CHANGE_USER)); // wrong type
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].id, 1010);
    EXPECT_EQ(changes[1].source, CHANGE_USER);
    g.resetDefaults();
    EXPECT_EQ(g.get(1010), 50);
    EXPECT_EQ(changes.size(), 2u);
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
