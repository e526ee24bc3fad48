// The simulator against the application's own link code on real loopback sockets: login, the
// state that follows it, live values and globals, version, meters, reconnection, keep-alive and
// garbage.
#include "app_client.h"

#include "common/crc32.h"
#include "link/wire.h"
#include "panels/binding_table.h"
#include "tables/settings_table.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <random>

using namespace orba;
using orba::test::AppClient;
using orba::test::Frame;
using orba::test::startSim;
using orba::test::waitProcessingEvents;

class SimLinkOnline : public orba::test::SimOnline
{
};

namespace {

sim::SimOptions withPassword(const char *text)
{
    sim::SimOptions o;
    o.setPassword = true;
    o.password = text;
    return o;
}

} // namespace

TEST(SimLink, LoginWithoutPasswordIsAcceptedAndTheWholeStateFollows)
{
    auto sim = startSim();
    AppClient app;
    ASSERT_TRUE(app.connectAndLogin(sim->port()));
    EXPECT_EQ(app.lastConnectReply.load(), CONNECT_ACCEPTED);

    // Every slot header, seven a frame.
    const auto headers = app.framesOfType(MSG_PRESET_HEADERS);
    ASSERT_EQ(headers.size(), 12u);
    EXPECT_EQ(wire::get16(headers.back().data() + 6), 3);
    EXPECT_EQ(app.presetSlots.get(0).nameText(), "Factory Default");
    EXPECT_EQ(app.presetSlots.get(3).nameText(), sim->processor().bank().header(3).nameText());
    EXPECT_EQ(app.presetSlots.get(40).inUse, 0);

    // The live values in two numbered blocks, then the globals and the current preset.
    const auto values = app.framesOfType(MSG_VALUES);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0][6], TARGET_LIVE);
    EXPECT_EQ(values[0][8], 1);
    EXPECT_EQ(values[1][8], 2);
    EXPECT_EQ(values[1][9], 2);
    const SetChecksums mine = app.live.checksums(), its = sim->processor().bank().live.checksums();
    EXPECT_EQ(mine.presetChecksum, its.presetChecksum);
    EXPECT_EQ(mine.systemChecksum, its.systemChecksum);
    EXPECT_EQ(app.globals.get(G_ACT_PRST), sim->processor().bank().globals.get(G_ACT_PRST));
    EXPECT_EQ(app.current.load().nameText(), sim->processor().bank().current.nameText());
    EXPECT_EQ(app.current.load().presetChecksum, its.presetChecksum);
}

TEST(SimLink, WrongPasswordIsRejectedAndNothingIsServedUntilTheRightOne)
{
    auto sim = startSim(withPassword("secret"));
    AppClient app;
    app.connect(sim->port());
    ASSERT_TRUE(waitProcessingEvents([&] { return app.tcp->isConnected(); }));
    app.link->send_connect(crc32("wrong"));
    ASSERT_TRUE(waitProcessingEvents([&] { return app.connectReplies.load() == 1; }));
    EXPECT_EQ(app.lastConnectReply.load(), CONNECT_PASSWORD);
    app.link->send_connect(CONNECT_NO_DEVICE);
    ASSERT_TRUE(waitProcessingEvents([&] { return app.connectReplies.load() == 2; }));
    EXPECT_EQ(app.lastConnectReply.load(), CONNECT_PASSWORD);

    // Ignored while logged out; the answer would have come before the login's.
    app.link->request_version();
    app.link->send_connect(crc32("secret"));
    ASSERT_TRUE(waitProcessingEvents([&] { return app.connectReplies.load() == 3; }));
    EXPECT_EQ(app.lastConnectReply.load(), CONNECT_ACCEPTED);
    ASSERT_TRUE(app.waitFrames(MSG_CURRENT_PRESET, 1));
    EXPECT_TRUE(app.framesOfType(MSG_VERSION).empty());
    EXPECT_EQ(app.framesOfType(MSG_PRESET_HEADERS).size(), 12u);
}

TEST(SimLink, ChangedLoginPasswordGlobalIsTheOneAskedNextTime)
{
    auto sim = startSim(withPassword("old"));
    AppClient app;
    ASSERT_TRUE(app.connectAndLogin(sim->port(), crc32("old")));
    app.globals.setInt(G_REMOTE_PW, int32_t(crc32("new")), CHANGE_USER);
    GLOBALS_FLAGS flags;
    flags.set(G_REMOTE_PW);
    app.link->send_changed_globals(flags);
    ASSERT_TRUE(app.waitFrames(MSG_GLOBALS, 2));
    app.disconnect();

    AppClient again;
    again.connect(sim->port());
    ASSERT_TRUE(waitProcessingEvents([&] { return again.tcp->isConnected(); }));
    again.link->send_connect(crc32("old"));
    ASSERT_TRUE(waitProcessingEvents([&] { return again.connectReplies.load() == 1; }));
    EXPECT_EQ(again.lastConnectReply.load(), CONNECT_PASSWORD);
    again.link->send_connect(crc32("new"));
    ASSERT_TRUE(waitProcessingEvents([&] { return again.connectReplies.load() == 2; }));
    EXPECT_EQ(again.lastConnectReply.load(), CONNECT_ACCEPTED);
}

TEST(SimLink, WithoutAPasswordNoLoginIsNeededAndSettingOneKeepsTheSession)
{
    // The application's "forceconnect" goes on line without MSG_CONNECT.
    auto sim = startSim();
    AppClient app;
    app.connect(sim->port());
    ASSERT_TRUE(waitProcessingEvents([&] { return app.tcp->isConnected(); }));
    app.globals.setInt(G_REMOTE_PW, int32_t(crc32("later")), CHANGE_USER);
    GLOBALS_FLAGS flags;
    flags.set(G_REMOTE_PW);
    app.link->send_changed_globals(flags);
    app.link->request_version();
    ASSERT_TRUE(app.waitFrames(MSG_VERSION, 1));
    EXPECT_TRUE(sim->processor().passwordRequired());
    EXPECT_TRUE(app.framesOfType(MSG_PRESET_HEADERS).empty()); // the state comes with a login only
}

TEST_F(SimLinkOnline, LiveValuesAreStoredQuantisedAndAnsweredAsStored)
{

    // A raw frame: 5.3 dB of line gain (the gain table has 5.5), an id that does not exist, a switch.
    std::vector<uint8_t> frame(12 + 3 * 8);
    putValuesHeader(frame.data(), TARGET_LIVE, 1, 1, 3);
    putValueEntryFloat(frame.data() + 12, 257, 5.3f);
    putValueEntryInt(frame.data() + 20, 9999, 7);
    putValueEntryBool(frame.data() + 28, 262, true);
    app.sendRaw(frame);
    ASSERT_TRUE(app.waitFrames(MSG_VALUES, 1));
    EXPECT_FLOAT_EQ(sim->processor().bank().live.getFloat(257), 5.5f);
    EXPECT_TRUE(sim->processor().bank().live.getBool(262));

    ValuesMsg answer;
    const Frame f = app.framesOfType(MSG_VALUES).front();
    ASSERT_TRUE(parseValues(f.data(), f.size(), answer));
    ASSERT_EQ(answer.count, 2u); // the unknown id is not answered
    EXPECT_EQ(entryId(answer.entries), 257);
    EXPECT_FLOAT_EQ(entryFloat(answer.entries), 5.5f);
    EXPECT_FLOAT_EQ(app.live.getFloat(257), 5.5f);
    EXPECT_TRUE(app.live.getBool(262));
}

TEST_F(SimLinkOnline, GlobalsAreStoredAndAnswered)
{
    std::vector<uint8_t> frame(8 + 2 * 8);
    putGlobalsHeader(frame.data(), 2);
    putValueEntryInt(frame.data() + 8, G_HDPN_LEV, 70);
    putValueEntryInt(frame.data() + 16, 1001, 5); // not a global
    app.sendRaw(frame);
    ASSERT_TRUE(app.waitFrames(MSG_GLOBALS, 1));
    EXPECT_EQ(sim->processor().bank().globals.get(G_HDPN_LEV), 70);
    GlobalsMsg answer;
    const Frame f = app.framesOfType(MSG_GLOBALS).front();
    ASSERT_TRUE(parseGlobals(f.data(), f.size(), answer));
    EXPECT_EQ(answer.count, 1u);
    EXPECT_EQ(app.globals.get(G_HDPN_LEV), 70);
}

TEST_F(SimLinkOnline, UdpMetersEchoTheLatestRequestCounter)
{
    uint8_t datagram[METER_SIZE];
    app.link->request_meters_udp(app.meters.port(), app.meters.nextRequestCounter());
    ASSERT_TRUE(waitProcessingEvents([&] { return app.meters.fetch(datagram) == 0; }));
    EXPECT_EQ(datagram[METER_COUNTER_AT], app.meters.requestCounter());

    // A newer request: only its counter is accepted from then on, and the datagrams carry it.
    const uint8_t second = app.meters.nextRequestCounter();
    app.link->request_meters_udp(app.meters.port(), second);
    ASSERT_TRUE(waitProcessingEvents([&] { return app.meters.fetch(datagram) == 0; }));
    EXPECT_EQ(datagram[METER_COUNTER_AT], second);
    EXPECT_EQ(checkMeterDatagram(datagram, METER_SIZE, second), MeterCheck::Accepted);
}

TEST_F(SimLinkOnline, TcpMetersEchoTheLatestCounterAndArePacedByAcknowledgements)
{
    const uint8_t counter = app.meters.nextRequestCounter();
    app.link->request_meters_tcp(counter);
    uint8_t datagram[METER_SIZE];
    ASSERT_TRUE(waitProcessingEvents([&] { return app.meters.fetch(datagram) == 0; }));
    EXPECT_EQ(datagram[METER_COUNTER_AT], counter);
    // The link acknowledges each frame, so they keep coming.
    ASSERT_TRUE(app.waitFrames(MSG_METER_DATA, 4));
    EXPECT_EQ(app.framesOfType(MSG_METER_DATA).front().size(), METER_DATA_LENGTH);
    EXPECT_EQ(sim->processor().meterMode(), sim::MeterMode::Tcp);
}

TEST_F(SimLinkOnline, UnacknowledgedTcpMetersWaitForTheAcknowledgement)
{
    sim::SimProcessor &p = sim->processor();
    app.linkTakesMeterData = false; // nothing acknowledges
    app.link->request_meters_tcp(9);
    ASSERT_TRUE(waitProcessingEvents([&] { return p.meterMode() == sim::MeterMode::Tcp; }));
    // Times far beyond the uptime the simulator's own meter timer reads, so the pacing holds that
    // timer back too; it may have sent one frame before the first of these.
    const double t = 1e6;
    p.meterTick(t);
    const size_t first = app.settledCount(MSG_METER_DATA);
    ASSERT_GE(first, 1u);
    p.meterTick(t + 0.5);
    p.meterTick(t + 0.9);
    EXPECT_EQ(app.settledCount(MSG_METER_DATA), first);
    p.meterTick(t + 2); // long after: sent again even without an acknowledgement
    EXPECT_EQ(app.settledCount(MSG_METER_DATA), first + 1);
}

TEST(SimLink, NewConnectionReplacesThePreviousApplication)
{
    auto sim = startSim();
    // The first application on a plain socket, which (unlike the link) does not come back by itself.
    const int first = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(sim->port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(first, reinterpret_cast<const sockaddr *>(&to), sizeof to), 0);
    uint8_t f[METER_REQUEST_UDP_LENGTH];
    ASSERT_EQ(::send(first, f, buildConnect(f, CONNECT_NO_DEVICE), 0), ssize_t(CONNECT_LENGTH));
    ASSERT_EQ(::send(first, f, buildMeterRequestUdp(f, 9, 1), 0), ssize_t(METER_REQUEST_UDP_LENGTH));
    ASSERT_TRUE(waitProcessingEvents([&] { return sim->processor().meterMode() == sim::MeterMode::Udp; }));

    AppClient second;
    ASSERT_TRUE(second.connectAndLogin(sim->port()));
    EXPECT_EQ(sim->connectionsAccepted(), 2);
    // The first one's connection ends: everything it was sent, then the end.
    uint8_t buffer[4096];
    ssize_t n;
    while ((n = ::recv(first, buffer, sizeof buffer, 0)) > 0) {
    }
    EXPECT_LE(n, 0);
    ::close(first);
    // The new session starts afresh: no meters until it asks.
    EXPECT_EQ(sim->processor().meterMode(), sim::MeterMode::Off);
    second.link->request_version();
    ASSERT_TRUE(second.waitFrames(MSG_VERSION, 1));
}

TEST(SimLink, SilentApplicationIsDroppedAfterTheKeepAliveButAPingingOneStays)
{
    // Margins wide enough for a loaded machine: a ping every 100 ms against a 2 s keep-alive, for
    // longer than the keep-alive.
    sim::SimOptions o;
    o.keepAliveMs = 2000;
    auto sim = startSim(o);
    AppClient app;
    ASSERT_TRUE(app.connectAndLogin(sim->port()));
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        app.link->send_ping();
        orba::test::processEventsFor(100);
    }
    EXPECT_TRUE(sim->clientConnected());
    EXPECT_EQ(app.closes.load(), 0);
    // Silence: dropped.
    ASSERT_TRUE(waitProcessingEvents([&] { return !sim->clientConnected(); }, 10000));
    ASSERT_TRUE(waitProcessingEvents([&] { return app.closes.load() >= 1; }));
}

TEST_F(SimLinkOnline, GarbageAndImpossibleFieldsAreIgnoredAndTheLinkStaysUsable)
{
    const std::string slot0 = sim->processor().bank().header(0).nameText();

    std::mt19937 rng(7);
    std::vector<uint8_t> junk(20000);
    for (auto &b : junk)
        b = uint8_t(rng() & 0xFF);
    for (auto &b : junk)
        if (b == 0xA5)
            b = 0x5A; // no accidental frames in the noise
    app.sendRaw(junk);
    app.sendRaw({0xA5, 0xA5, 0x04, 0x00, 0xA5, 0xA5, 0x01, 0x08}); // lengths 4 and 2049
    app.sendRaw({0xA5, 0xA5, 0x06, 0x00, 0x00, 0x00});             // type 0
    app.sendRaw({0xA5, 0xA5, 0x06, 0x00, 99, 0x00});               // unknown type
    app.sendRaw({0xA5, 0xA5, 0x05, 0x00, MSG_TAKE_PRESET});        // too short for its fields
    uint8_t f[PRESET_HEADERS_LENGTH];
    app.sendRaw({f, f + buildGrabPreset(f, 80)});
    app.sendRaw({f, f + buildTakePreset(f, 0, 200)});
    app.sendRaw({f, f + buildTakePreset(f, 7, 1)}); // no such mode
    app.sendRaw({f, f + buildPresetLock(f, 3, 7)});
    app.sendRaw({f, f + buildPresetClear(f, 80, 1)});
    app.sendRaw({f, f + buildPresetRename(f, 90, "X", 1)});
    std::vector<uint8_t> lying(12 + 8);
    putValuesHeader(lying.data(), TARGET_LIVE, 1, 1, 500); // claims 500 entries, holds 1
    wire::put16(lying.data() + 2, uint16_t(lying.size()));
    putValueEntryFloat(lying.data() + 12, 257, -3.0f);
    app.sendRaw(lying);
    app.link->request_version();
    ASSERT_TRUE(app.waitFrames(MSG_VERSION, 1));

    EXPECT_TRUE(sim->clientConnected());
    EXPECT_FLOAT_EQ(sim->processor().bank().live.getFloat(257), -3.0f); // the one whole entry
    EXPECT_EQ(sim->processor().bank().header(0).nameText(), slot0);
    EXPECT_EQ(sim->processor().bank().header(3).lock, PRESET_FACTORY_LOCKED);
    // Only the answers to the lying values frame and the version went out.
    const auto frames = app.frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0][4], MSG_VALUES);
}

// The equaliser, AM output, HD output and transmitter screens: every parameter and global they
// show is kept and answered by the simulator.
TEST_F(SimLinkOnline, EveryValueOfTheEqualiserAndAmScreensIsKeptAndAnswered)
{
    SETTINGS_MAP defaults;
    for (const int screen : {2, 5, 6, 7}) {
        SCOPED_TRACE(screen);
        std::vector<uint16_t> ids, globalIds;
        for (const orba::panels::Binding &b : orba::panels::kBindings) {
            if (b.screen != screen || b.id == 0)
                continue;
            for (uint32_t id = b.id; id <= b.idLast; ++id) {
                std::vector<uint16_t> &to = b.isGlobal() ? globalIds : ids;
                if (std::find(to.begin(), to.end(), uint16_t(id)) == to.end())
                    to.push_back(uint16_t(id));
            }
        }
        ASSERT_FALSE(ids.empty());
        // Each parameter at the other end of its range from its default.
        std::vector<uint8_t> frame(12 + 8 * ids.size());
        ASSERT_LT(frame.size(), 1200u);
        putValuesHeader(frame.data(), TARGET_LIVE, 1, 1, uint16_t(ids.size()));
        std::vector<uint32_t> raws;
        for (size_t i = 0; i < ids.size(); ++i) {
            const uint16_t id = ids[i];
            const uint32_t raw = defaults.getRaw(id) == defaults.getRawMax(id) ? defaults.getRawMin(id)
                                                                               : defaults.getRawMax(id);
            raws.push_back(raw);
            uint8_t *entry = frame.data() + 12 + 8 * i;
            switch (settingType(id)) {
            case SETTING_FLOAT:
                putValueEntryFloat(entry, id, defaults.indexToFloat(id, raw));
                break;
            case SETTING_INT:
                putValueEntryInt(entry, id, int32_t(raw));
                break;
            default:
                putValueEntryBool(entry, id, raw != 0);
                break;
            }
        }
        app.clearFrames();
        app.sendRaw(frame);
        ASSERT_TRUE(app.waitFrames(MSG_VALUES, 1));
        ValuesMsg answer;
        const Frame f = app.framesOfType(MSG_VALUES).front();
        ASSERT_TRUE(parseValues(f.data(), f.size(), answer));
        EXPECT_EQ(answer.count, ids.size()) << "every id is answered";
        for (size_t i = 0; i < ids.size(); ++i) {
            EXPECT_EQ(sim->processor().bank().live.getRaw(ids[i]), raws[i]) << ids[i];
            EXPECT_EQ(app.live.getRaw(ids[i]), raws[i]) << ids[i];
        }

        if (globalIds.empty())
            continue;
        std::vector<uint8_t> g(8 + 8 * globalIds.size());
        putGlobalsHeader(g.data(), uint16_t(globalIds.size()));
        for (size_t i = 0; i < globalIds.size(); ++i)
            putValueEntryInt(g.data() + 8 + 8 * i, globalIds[i], 1);
        app.clearFrames();
        app.sendRaw(g);
        ASSERT_TRUE(app.waitFrames(MSG_GLOBALS, 1));
        GlobalsMsg globalsAnswer;
        const Frame gf = app.framesOfType(MSG_GLOBALS).front();
        ASSERT_TRUE(parseGlobals(gf.data(), gf.size(), globalsAnswer));
        EXPECT_EQ(globalsAnswer.count, globalIds.size());
        for (uint16_t id : globalIds)
            EXPECT_EQ(sim->processor().bank().globals.get(id), 1) << id;
    }
}
