// Preset slots through the application's link: what locked slots refuse, rename, clear and lock,
// take without the installation parameters, and a take of an empty slot. Grab, push, save and
// take of whole presets run through orba-ctl in tests/ctl.
#include "app_client.h"

#include "link/wire.h"
#include "preset_samples.h"

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

} // namespace

TEST_F(SimPresets, LockedSlotsKeepTheirContentsAndSayWhatTheyHold)
{
    const SetChecksums before = bank().values(0).checksums();
    SETTINGS_MAP set;
    set.setFloat(1281, 10.0f, CHANGE_LOCAL);
    app.headerWait.begin(0);
    app.link->send_all_values(0, set);
    app.link->send_preset_header(0, orba::test::usedHeader("Overwrite"));
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
