// The simulator against the application's own link code on real loopback sockets: a session
// without login, meter pacing, reconnection, keep-alive and garbage. Logins, values, globals and
// meters of an ordinary session run through orba-ctl (tests/ctl) and the window (tests/e2e).
#include "app_client.h"

#include "common/crc32.h"
#include "link/wire.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <random>

using namespace orba;
using orba::test::AppClient;
using orba::test::Frame;
using orba::test::startSim;
using orba::test::waitProcessingEvents;

using SimLinkOnline = orba::test::SimOnline;

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
        if ((b = uint8_t(rng() & 0xFF)) == 0xA5)
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
