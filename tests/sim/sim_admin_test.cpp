// Administration through the simulator: firmware downloads, the schedule and the clock, state kept
// across runs.
#include "app_client.h"

#include "link/wire.h"
#include "preset_samples.h"
#include "sim/sim_schedule.h"
#include "sim/sim_state.h"
#include "test_files.h"
#include "work_dir.h"

#include <QDir>
#include <QFile>

using namespace orba;
using orba::test::AppClient;
using orba::test::startSim;
using orba::test::waitProcessingEvents;

using SimEventsOnline = orba::test::SimOnline;
using SimFirmwareOnline = orba::test::SimOnline;

namespace {

std::vector<uint8_t> firmwareImage(const char *signature, size_t size)
{
    std::string text =
        std::string("BUILD: Apr 02 2024\r\nDSPVER: 2.2.0\r\nMCSVER: 3.10\r\nAPVER: 2.2.1\r\n") + signature +
        "\r\nENDHEADER\r\n";
    std::vector<uint8_t> image(text.begin(), text.end());
    for (size_t i = image.size(); i < size; ++i)
        image.push_back(uint8_t(i * 7 + 3));
    return image;
}

// Sends the image the way the download dialog does: the next block after each acknowledgement.
std::vector<FwAckMsg> download(AppClient &app, const std::vector<uint8_t> &image, size_t finalAnswers)
{
    const uint16_t blocks = uint16_t((image.size() + 1023) / 1024);
    for (uint16_t b = 1; b <= blocks; ++b) {
        const size_t offset = size_t(b - 1) * 1024;
        const size_t n = std::min<size_t>(1024, image.size() - offset);
        const size_t before = app.fwAcks().size();
        app.link->send_fw_block(b, blocks, uint16_t(n), image.data() + offset);
        if (!waitProcessingEvents([&] { return app.fwAcks().size() > before; }))
            return app.fwAcks();
        if (app.fwAcks().back().code != 0)
            return app.fwAcks();
    }
    waitProcessingEvents([&] { return app.fwAcks().size() >= blocks + finalAnswers; });
    return app.fwAcks();
}

} // namespace

TEST_F(SimFirmwareOnline, WrongSignatureIsAnErrorWithTheSignatureFound)
{
    const auto acks = download(app, firmwareImage("TALMEN TEST UPGRADE", 3000), 0);
    ASSERT_EQ(acks.size(), 1u);
    EXPECT_EQ(acks[0].code, 3);
    EXPECT_EQ(acks[0].block, 1);
    EXPECT_NE(acks[0].text.find("TALMEN TEST UPGRADE"), std::string::npos);
    EXPECT_FALSE(sim->processor().firmware().flashing());
}

TEST_F(SimEventsOnline, ListWithAMissingBlockLeavesTheScheduleAsItWas)
{
    const sim::Event e = sim::weeklyEvent(1, 6, 0, 0, 2);
    app.link->send_events(1, 1, 1, e.data());
    app.link->send_events(1, 3, 1, e.data());
    app.link->send_events(3, 3, 1, e.data()); // block 2 never came
    app.link->request_version();
    ASSERT_TRUE(app.waitFrames(MSG_VERSION, 1));
    EXPECT_EQ(sim->processor().bank().events.size(), 1u);
}

TEST(SimClock, ImpossibleDateIsIgnored)
{
    sim::SimClock clock;
    ClockSetting s;
    s.month = 2;
    s.day = 30;
    EXPECT_FALSE(clock.apply(s));
    EXPECT_EQ(clock.offsetSeconds(), 0);
}

using SimState = orba::test::WorkDirTest;

TEST_F(SimState, SlotsLiveValuesGlobalsEventsAndClockSurviveARestart)
{
    sim::SimOptions o;
    o.stateDir = path("state");
    {
        auto sim = startSim(o);
        AppClient app;
        ASSERT_TRUE(app.connectAndLogin(sim->port()));
        app.link->rename_preset(11, "Kept Across Runs");
        app.live.setFloat(1281, 77.0f, CHANGE_USER);
        SETTINGS_FLAGS flags;
        flags.set(1281);
        app.link->send_changed_values(app.live, flags);
        const sim::Event e = sim::longTermEvent(12, 24, 18, 0, 0, 4);
        app.link->send_events(1, 1, 1, e.data());
        ClockSetting s;
        s.year = 40, s.month = 1, s.day = 2, s.hour = 3;
        app.link->send_clock(s);
        app.link->request_version();
        ASSERT_TRUE(app.waitFrames(MSG_VERSION, 1));
    } // the server saves what is pending as it goes
    ASSERT_TRUE(QFile::exists(QDir(path("state")).filePath(sim::STATE_FILE_NAME)));

    auto again = startSim(o);
    const sim::SimBank &bank = again->processor().bank();
    EXPECT_EQ(bank.header(11).nameText(), "Kept Across Runs");
    EXPECT_FLOAT_EQ(bank.live.getFloat(1281), 77.0f);
    ASSERT_EQ(bank.events.size(), 1u);
    EXPECT_EQ(sim::eventSlot(bank.events[0]), 4u);
    EXPECT_EQ(again->processor().clock().now().date().year(), 2040);
    EXPECT_EQ(bank.header(0).lock, PRESET_FACTORY_LOCKED);
    EXPECT_EQ(bank.values(2).checksums().presetChecksum, bank.header(2).presetChecksum);
}

TEST_F(SimState, PushedRenamedClearedLockedAndTakenSlotsSurviveARestart)
{
    sim::SimOptions o;
    o.stateDir = path("state");
    SETTINGS_MAP pushed;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        pushed.setIndex(id, pushed.getRawMax(id), CHANGE_LOCAL);
    {
        auto sim = startSim(o);
        AppClient app;
        ASSERT_TRUE(app.connectAndLogin(sim->port()));
        PresetHeader h = orba::test::usedHeader("Pushed");
        h.setChecksums(pushed.checksums());
        app.link->send_all_values(30, pushed);
        app.link->send_preset_header(30, h);
        app.link->rename_preset(5, "Renamed Five");
        app.link->clear_presets(6, 1);
        app.link->lock_preset(30, PRESET_LOCKED);
        app.link->lock_preset(7, PRESET_FACTORY_LOCKED);
        app.link->take_preset(30, 0);
        app.link->grab_preset(30);
        app.link->request_version();
        ASSERT_TRUE(app.waitFrames(MSG_VERSION, 1));
    }

    auto again = startSim(o);
    const sim::SimBank &bank = again->processor().bank();
    EXPECT_EQ(bank.header(30).nameText(), "Pushed");
    EXPECT_EQ(bank.header(30).lock, PRESET_LOCKED);
    EXPECT_EQ(bank.header(7).lock, PRESET_FACTORY_LOCKED);
    EXPECT_EQ(bank.header(5).nameText(), "Renamed Five");
    EXPECT_EQ(bank.header(6).inUse, 0);
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id)) {
        EXPECT_EQ(bank.values(30).getRaw(id), pushed.getRaw(id)) << id;
        EXPECT_EQ(bank.live.getRaw(id), pushed.getRaw(id)) << id; // taken with every parameter
    }
    EXPECT_EQ(bank.current.nameText(), "Pushed");
    EXPECT_EQ(bank.globals.get(G_ACT_PRST), 30);
}

TEST_F(SimState, AFileThatIsNoStateStopsTheStartAndIsLeftAlone)
{
    QDir().mkpath(path("state"));
    const QString file = QDir(path("state")).filePath(sim::STATE_FILE_NAME);
    ASSERT_TRUE(orba::test::writeAll(file, "something else\n"));
    sim::SimOptions o;
    o.stateDir = path("state");
    o.port = 0;
    sim::SimServer server(o);
    QString error;
    EXPECT_FALSE(server.start(&error));
    EXPECT_TRUE(error.contains("not a simulator state file"));
    EXPECT_EQ(orba::test::readAll(file), "something else\n");
}
