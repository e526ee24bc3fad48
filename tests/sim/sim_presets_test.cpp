// Preset presetSlots through the application's link: grab, push with its header, save by value and name,
// take in both modes, rename, clear, lock, the current preset, and what locked presetSlots refuse.
#include "app_client.h"

#include "link/wire.h"

#include <cstring>

using namespace orba;
using orba::test::AppClient;
using orba::test::Frame;
using orba::test::startSim;
using orba::test::waitProcessingEvents;

namespace {

class SimPresets : public orba::test::SimOnline
{
protected:
    sim::SimBank &bank() { return sim->processor().bank(); }
};

bool sameValues(const SETTINGS_MAP &a, const SETTINGS_MAP &b)
{
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        if (a.getRaw(id) != b.getRaw(id))
            return false;
    return true;
}

} // namespace

TEST_F(SimPresets, GrabOfASlotComesInTwoBlocksWithItsHeader)
{
    SETTINGS_MAP target;
    app.grab.begin(7, &target);
    app.headerWait.begin(7);
    app.link->grab_preset(7);
    ASSERT_TRUE(waitProcessingEvents([&] { return app.grab.isDone() && app.headerWait.isDone(); }));
    app.grab.end();

    const auto values = app.framesOfType(MSG_VALUES);
    ASSERT_EQ(values.size(), 2u);
    ValuesMsg first, second;
    ASSERT_TRUE(parseValues(values[0].data(), values[0].size(), first));
    ASSERT_TRUE(parseValues(values[1].data(), values[1].size(), second));
    EXPECT_EQ(first.target, 7);
    EXPECT_EQ(first.block, 1);
    EXPECT_EQ(first.blocks, 2);
    EXPECT_EQ(first.count, 148u);
    EXPECT_EQ(second.block, 2);
    EXPECT_EQ(second.count, 73u);
    EXPECT_TRUE(sameValues(target, bank().values(7)));
    EXPECT_EQ(app.presetSlots.get(7).nameText(), "Urban Bass Heavy");
    EXPECT_EQ(app.presetSlots.get(7).presetChecksum, target.checksums().presetChecksum);
}

TEST_F(SimPresets, PushedValuesAndHeaderAreStoredAndTheHeaderEchoed)
{
    SETTINGS_MAP set;
    set.setFloat(1033, 41.0f, CHANGE_LOCAL);
    set.setBool(1025, true, CHANGE_LOCAL);
    PresetHeader header;
    header.clear();
    header.setName("Pushed From Disk");
    header.inUse = 255;
    header.setChecksums(set.checksums());
    std::strcpy(header.reserved.text[0], "written by a test");

    app.headerWait.begin(30);
    app.link->send_all_values(30, set);
    app.link->send_preset_header(30, header);
    ASSERT_TRUE(waitProcessingEvents([&] { return app.headerWait.isDone(); }));

    EXPECT_TRUE(sameValues(bank().values(30), set));
    EXPECT_EQ(bank().header(30).nameText(), "Pushed From Disk");
    EXPECT_STREQ(bank().header(30).reserved.text[0], "written by a test");
    EXPECT_EQ(app.presetSlots.get(30).nameText(), "Pushed From Disk");
    EXPECT_EQ(app.presetSlots.get(30).inUse, 255);
    EXPECT_STREQ(app.presetSlots.get(30).reserved.text[0], "written by a test");
    ASSERT_EQ(app.framesOfType(MSG_PRESET_HEADERS).size(), 1u);
    EXPECT_EQ(wire::get16(app.framesOfType(MSG_PRESET_HEADERS)[0].data() + 6), 1);
}

TEST_F(SimPresets, SavingByValuesAndNameFillsAnEmptySlot)
{
    SETTINGS_MAP set;
    set.setFloat(1281, 90.0f, CHANGE_LOCAL);
    app.link->send_all_values(25, set);
    app.link->rename_preset(25, "Saved Here");
    ASSERT_TRUE(app.waitFrames(MSG_PRESET_HEADERS, 1));
    ASSERT_TRUE(app.waitFrames(MSG_PRESET_RENAME, 1));
    const PresetHeader h = app.presetSlots.get(25);
    EXPECT_EQ(h.nameText(), "Saved Here");
    EXPECT_NE(h.inUse, 0);
    EXPECT_EQ(h.presetChecksum, set.checksums().presetChecksum);
    EXPECT_EQ(h.systemChecksum, set.checksums().systemChecksum);
    EXPECT_TRUE(sameValues(bank().values(25), set));
}

TEST_F(SimPresets, LockedSlotsKeepTheirContentsAndSayWhatTheyHold)
{
    const SetChecksums before = bank().values(0).checksums();
    SETTINGS_MAP set;
    set.setFloat(1281, 10.0f, CHANGE_LOCAL);
    PresetHeader header;
    header.clear();
    header.setName("Overwrite");
    header.inUse = 255;
    app.headerWait.begin(0);
    app.link->send_all_values(0, set);
    app.link->send_preset_header(0, header);
    ASSERT_TRUE(waitProcessingEvents([&] { return app.headerWait.isDone(); }));
    EXPECT_EQ(bank().values(0).checksums().presetChecksum, before.presetChecksum);
    EXPECT_EQ(app.presetSlots.get(0).nameText(), "Factory Default");

    // A factory preset keeps its name; the user-locked one may be renamed.
    app.link->rename_preset(0, "Mine");
    app.link->rename_preset(10, "Station Custom 2");
    ASSERT_TRUE(app.waitFrames(MSG_PRESET_RENAME, 2));
    EXPECT_EQ(app.presetSlots.get(0).nameText(), "Factory Default");
    EXPECT_EQ(bank().header(10).nameText(), "Station Custom 2");

    // Clearing a range spares the locked presetSlots in it and restates them.
    app.clearFrames();
    app.link->clear_presets(8, 4); // 8 and 11 unlocked, 9 factory locked, 10 locked
    ASSERT_TRUE(app.waitFrames(MSG_PRESET_HEADERS, 1));
    EXPECT_EQ(bank().header(8).inUse, 0);
    EXPECT_EQ(bank().header(11).inUse, 0);
    EXPECT_NE(bank().header(9).inUse, 0);
    EXPECT_NE(bank().header(10).inUse, 0);
    EXPECT_EQ(app.presetSlots.get(8).inUse, 0);
    EXPECT_EQ(app.presetSlots.get(9).nameText(), "Night Time NRSC");
    EXPECT_EQ(app.presetSlots.get(10).nameText(), "Station Custom 2");
}

TEST_F(SimPresets, RenameClearAndLockAreAppliedAndEchoed)
{
    app.link->rename_preset(5, "Rock Block");
    app.link->lock_preset(5, PRESET_LOCKED);
    app.link->clear_presets(78, 5);
    ASSERT_TRUE(app.waitFrames(MSG_PRESET_CLEAR, 1));
    EXPECT_EQ(bank().header(5).nameText(), "Rock Block");
    EXPECT_EQ(bank().header(5).lock, PRESET_LOCKED);
    EXPECT_EQ(app.presetSlots.get(5).nameText(), "Rock Block");
    EXPECT_EQ(app.presetSlots.get(5).lock, PRESET_LOCKED);
    const Frame clear = app.framesOfType(MSG_PRESET_CLEAR).front();
    EXPECT_EQ(wire::get16(clear.data() + 6), 78);
    EXPECT_EQ(wire::get16(clear.data() + 8), 5);
    // Unlocking a factory preset is the technician's business, and the processor obeys it.
    app.link->lock_preset(0, PRESET_UNLOCKED);
    ASSERT_TRUE(app.waitFrames(MSG_PRESET_LOCK, 2));
    EXPECT_EQ(app.presetSlots.get(0).lock, PRESET_UNLOCKED);
}

TEST_F(SimPresets, TakeInMode0CopiesEveryParameter)
{
    bank().values(5).setFloat(257, -6.0f, CHANGE_LOCAL); // an installation parameter
    bank().values(5).setFloat(1033, 40.0f, CHANGE_LOCAL);
    bank().markStored(5);
    bank().live.setFloat(257, 3.0f, CHANGE_LOCAL);
    app.live.setFloat(257, 3.0f, CHANGE_LOCAL);

    app.link->take_preset(5, 0);
    ASSERT_TRUE(app.waitFrames(MSG_GLOBALS, 1));
    EXPECT_TRUE(sameValues(bank().live, bank().values(5)));
    EXPECT_FLOAT_EQ(app.live.getFloat(257), -6.0f);
    EXPECT_FLOAT_EQ(app.live.getFloat(1033), 40.0f);
    EXPECT_EQ(app.current.load().nameText(), "Classic Rock");
    EXPECT_EQ(app.globals.get(G_ACT_PRST), 5);
    // Values, then the current preset, then "ACT_PRST": only what changed is sent.
    const auto frames = app.frames();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[frames.size() - 2][4], MSG_CURRENT_PRESET);
    EXPECT_EQ(frames.back()[4], MSG_GLOBALS);
    size_t entries = 0;
    for (const Frame &f : app.framesOfType(MSG_VALUES))
        entries += wire::get16(f.data() + 10);
    EXPECT_LT(entries, size_t(settingCount()));
    EXPECT_GT(entries, 1u);
}

TEST_F(SimPresets, TakeInMode2LeavesTheInstallationParameters)
{
    bank().values(5).setFloat(257, -6.0f, CHANGE_LOCAL);
    bank().values(5).setFloat(1033, 40.0f, CHANGE_LOCAL);
    bank().markStored(5);
    bank().live.setFloat(257, 3.0f, CHANGE_LOCAL);

    app.link->take_preset(5, 2);
    ASSERT_TRUE(app.waitFrames(MSG_GLOBALS, 1));
    EXPECT_FLOAT_EQ(bank().live.getFloat(257), 3.0f);
    EXPECT_FLOAT_EQ(bank().live.getFloat(1033), 40.0f);
    EXPECT_EQ(bank().live.checksums().presetChecksum, bank().values(5).checksums().presetChecksum);
    for (const Frame &f : app.framesOfType(MSG_VALUES)) {
        ValuesMsg v;
        ASSERT_TRUE(parseValues(f.data(), f.size(), v));
        for (size_t i = 0; i < v.count; ++i)
            EXPECT_FALSE(isInstallationParameter(entryId(v.entries + i * VALUE_ENTRY_SIZE)));
    }
}

TEST_F(SimPresets, TakingAnEmptySlotDoesNothing)
{
    app.link->take_preset(60, 0);
    app.link->request_version();
    ASSERT_TRUE(app.waitFrames(MSG_VERSION, 1));
    EXPECT_EQ(app.frames().size(), 1u);
}

TEST_F(SimPresets, CurrentPresetFromTheApplicationIsStored)
{
    PresetHeader h;
    h.clear();
    h.setName("Saved Elsewhere");
    h.inUse = 255;
    h.presetChecksum = 0x12345678;
    app.link->send_current_preset(h);
    app.link->request_version(); // answered after the current preset was handled
    ASSERT_TRUE(app.waitFrames(MSG_VERSION, 1));
    EXPECT_EQ(bank().current.nameText(), "Saved Elsewhere");
    EXPECT_EQ(bank().current.presetChecksum, 0x12345678u);
}
