// Administration through the simulator: firmware downloads, the schedule and the clock, state kept
// across runs, and the boot client.
#include "app_client.h"

#include "link/wire.h"
#include "sim/sim_schedule.h"
#include "sim/sim_state.h"
#include "test_files.h"
#include "work_dir.h"

#include <QDir>
#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

using namespace orba;
using orba::test::AppClient;
using orba::test::Frame;
using orba::test::startSim;
using orba::test::waitProcessingEvents;

class SimClockOnline : public orba::test::SimOnline
{
};
class SimEventsOnline : public orba::test::SimOnline
{
};
class SimFirmwareOnline : public orba::test::SimOnline
{
};

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

TEST_F(SimFirmwareOnline, GoodImageOf3000BytesIsAcknowledgedWrittenAndReported)
{
    const auto acks = download(app, firmwareImage("TALMEN ORBA UPGRADE", 3000), 5);
    ASSERT_EQ(acks.size(), 3u + 5u);
    for (uint16_t b = 0; b < 3; ++b) {
        EXPECT_EQ(acks[b].code, 0);
        EXPECT_EQ(acks[b].block, b + 1);
        EXPECT_EQ(acks[b].blocks, 3);
    }
    for (size_t i = 3; i < 7; ++i) {
        EXPECT_EQ(acks[i].code, 4);
        EXPECT_EQ(acks[i].blocks, 5);
        EXPECT_NE(acks[i].text.find("flash"), std::string::npos);
    }
    EXPECT_EQ(acks[7].code, 1);
    EXPECT_EQ(acks[7].block, 3); // the final answer names the last block, as the dialog checks
    EXPECT_EQ(acks[7].blocks, 3);
    EXPECT_EQ(sim->processor().firmware().bytesReceived(), 3000u);

    // The processor now reports the image's versions.
    app.link->request_version();
    ASSERT_TRUE(app.waitFrames(MSG_VERSION, 1));
    const ProcessorVersion v = app.version.load();
    EXPECT_EQ(v.minor, 2);
    EXPECT_EQ(v.build, 1);
    EXPECT_STREQ(v.text[2], " 2.2.0");
}

TEST_F(SimFirmwareOnline, WrongSignatureIsAnErrorWithTheSignatureFound)
{
    const auto acks = download(app, firmwareImage("TALMEN TEST UPGRADE", 3000), 0);
    ASSERT_EQ(acks.size(), 1u);
    EXPECT_EQ(acks[0].code, 3);
    EXPECT_EQ(acks[0].block, 1);
    EXPECT_NE(acks[0].text.find("TALMEN TEST UPGRADE"), std::string::npos);
    EXPECT_FALSE(sim->processor().firmware().flashing());
}

TEST_F(SimEventsOnline, ListOf300RoundTripsInBlocksOf128)
{
    std::vector<sim::Event> sent;
    for (int i = 0; i < 300; ++i)
        sent.push_back(i % 2 ? sim::weeklyEvent(0x3E, i % 24, i % 60, 0, uint32_t(i % 80))
                             : sim::longTermEvent(1 + i % 12, 1 + i % 28, 6, 30, i % 60, uint32_t(i % 12)));
    for (uint16_t b = 0; b < 3; ++b) {
        const uint16_t n = b < 2 ? 128 : 44;
        app.link->send_events(uint16_t(b + 1), 3, n, sent[size_t(b) * 128].data());
    }
    app.link->request_events();
    ASSERT_TRUE(waitProcessingEvents([&] { return app.eventReports.load() == 1; }));
    ASSERT_EQ(sim->processor().bank().events.size(), 300u);
    ASSERT_EQ(app.events.count(), 300);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(app.events.at(i), sent[size_t(i)]) << i;
    const auto frames = app.framesOfType(MSG_EVENTS);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(wire::get16(frames[2].data() + 6), 3);
    EXPECT_EQ(wire::get16(frames[2].data() + 8), 3);
    EXPECT_EQ(wire::get16(frames[2].data() + 10), 44);
    EXPECT_EQ(frames[2].size(), 12u + 44u * 8u);

    // An empty list replaces it and is reported as block 1 of 1 with no entries.
    app.link->send_events(1, 1, 0, nullptr);
    app.link->request_events();
    ASSERT_TRUE(waitProcessingEvents([&] { return app.eventReports.load() == 2; }));
    EXPECT_EQ(app.events.count(), 0);
    const Frame empty = app.framesOfType(MSG_EVENTS).back();
    EXPECT_EQ(empty.size(), 12u);
    EXPECT_EQ(wire::get16(empty.data() + 6), 1);
    EXPECT_EQ(wire::get16(empty.data() + 8), 1);
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

TEST_F(SimClockOnline, SetClockMovesTheClockTheMetersCarry)
{
    // The host's clock stands still, so no second passes between setting and reading.
    const QDateTime host(QDate(2024, 3, 12), QTime(5, 59, 58), Qt::UTC);
    sim->processor().clock().setHostNow([host] { return host; });
    ClockSetting s;
    s.year = 30;
    s.month = 6;
    s.day = 15;
    s.weekday = 1; // wrong on purpose: 15 June 2030 is a Saturday
    s.hour = 12;
    s.minute = 34;
    s.second = 56;
    s.tzOffset = -5 * 3600;
    s.server[0] = 10, s.server[3] = 7;
    app.link->send_clock(s);
    const uint8_t counter = app.meters.nextRequestCounter();
    app.link->request_meters_udp(app.meters.port(), counter);
    uint8_t d[METER_SIZE];
    ASSERT_TRUE(waitProcessingEvents([&] { return app.meters.fetch(d) == 0; }));
    EXPECT_EQ(d[20], 30);
    EXPECT_EQ(d[21], 6);
    EXPECT_EQ(d[22], 15);
    EXPECT_EQ(d[23], 6); // Saturday
    EXPECT_EQ(d[24], 12);
    EXPECT_EQ(d[25], 34);
    EXPECT_EQ(d[26], 56);
    EXPECT_EQ(d[30], 0);
    EXPECT_EQ(d[32], 10);
    EXPECT_EQ(d[35], 7);
    EXPECT_EQ(int32_t(wire::get32(d + 36)), -5 * 3600);

    // SNTP mode: the host's UTC time and the offset.
    s.sntp = true;
    s.tzOffset = 3600;
    app.link->send_clock(s);
    ASSERT_TRUE(waitProcessingEvents([&] { return sim->processor().clock().sntp(); }));
    EXPECT_EQ(sim->processor().clock().now(), sim::SimClock::wall(host.date(), host.time()).addSecs(3600));
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

TEST(SimSchedule, DueWeeklyEventTakesItsPresetAndTheApplicationHearsOfIt)
{
    auto sim = startSim();
    // The host's clock stands still at a Tuesday, 05:59:58, until the test moves it.
    QDateTime host(QDate(2024, 3, 12), QTime(5, 59, 58));
    sim->processor().clock().setHostNow([&host] { return host; });
    AppClient app;
    ASSERT_TRUE(app.connectAndLogin(sim->port()));
    const sim::Event tuesdaySix = sim::weeklyEvent(1u << 2, 6, 0, 0, 3);
    app.link->send_events(1, 1, 1, tuesdaySix.data());
    app.link->request_version();
    ASSERT_TRUE(app.waitFrames(MSG_VERSION, 1));
    sim->clockTick();
    EXPECT_EQ(sim->processor().bank().globals.get(G_ACT_PRST), 1);

    host = host.addSecs(3); // 06:00:01: the tick catches the second it skipped
    sim->clockTick();
    EXPECT_EQ(sim->processor().bank().globals.get(G_ACT_PRST), 3);
    ASSERT_TRUE(waitProcessingEvents([&] { return app.current.load().nameText() == "News Talk"; }));
    ASSERT_TRUE(waitProcessingEvents([&] { return app.globals.get(G_ACT_PRST) == 3; }));
    EXPECT_EQ(app.live.checksums().presetChecksum,
              sim->processor().bank().values(3).checksums().presetChecksum);
}

class SimState : public orba::test::WorkDirTest
{
};

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
        PresetHeader h;
        h.clear();
        h.setName("Pushed");
        h.inUse = 255;
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

namespace {

// A boot server on 127.0.0.1 for the simulator's boot client.
struct BootServer
{
    int fd = -1;
    uint16_t port = 0;
    BootServer()
    {
        fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr *>(&at), sizeof at);
        socklen_t size = sizeof at;
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&at), &size);
        port = ntohs(at.sin_port);
    }
    ~BootServer() { ::close(fd); }
    std::vector<uint8_t> receive()
    {
        uint8_t buffer[1500];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        return n > 0 ? std::vector<uint8_t>(buffer, buffer + n) : std::vector<uint8_t>();
    }
    void reply(uint16_t to, const std::vector<uint8_t> &bytes)
    {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(to);
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr *>(&at), sizeof at);
    }
};

std::vector<uint8_t> bootReply(const uint8_t mac[6], uint8_t marker = 1)
{
    std::vector<uint8_t> r(sim::BOOT_TAG, sim::BOOT_TAG + 16);
    auto rec = [&r](uint8_t type, std::vector<uint8_t> v) {
        r.push_back(type);
        r.push_back(0);
        r.push_back(uint8_t(v.size()));
        r.insert(r.end(), v.begin(), v.end());
    };
    rec(0, {marker});
    rec(1, {8});
    rec(3, {mac, mac + 6});
    rec(4, {10, 0, 0, 5});
    rec(5, {255, 255, 255, 0});
    rec(24, {10, 0, 0, 1});
    rec(6, {0, 0});
    rec(2, {'S', 't', 'u', 'd', 'i', 'o', 'A', 0});
    return r;
}

} // namespace

TEST(SimBoot, RequestsGoToTheBootPortAndValidRepliesArePrinted)
{
    BootServer boot;
    sim::SimOptions o;
    o.boot = true;
    ASSERT_TRUE(sim::parseMac("00:11:22:33:44:55", o.bootMac));
    o.bootPort = boot.port;
    o.bootReplyPort = 0;
    o.port = 0;
    sim::SimServer server(o);
    QStringList lines;
    server.setOutput([&lines](const QString &l) { lines << l; });
    ASSERT_TRUE(server.start(nullptr));

    std::vector<uint8_t> request;
    ASSERT_TRUE(waitProcessingEvents([&] { return !(request = boot.receive()).empty(); }));
    // Its layout is SimBoot.MacTextsAndTheRequestLayout's; here only that it is what goes out.
    ASSERT_EQ(request.size(), sim::BOOT_REQUEST_SIZE);
    uint8_t expected[sim::BOOT_REQUEST_SIZE];
    sim::buildBootRequest(expected, o.bootMac);
    EXPECT_EQ(std::memcmp(request.data(), expected, sizeof expected), 0);

    const uint8_t other[6] = {0, 0x11, 0x22, 0x33, 0x44, 0x56};
    boot.reply(server.bootReplyPort(), bootReply(other));        // another unit's
    boot.reply(server.bootReplyPort(), bootReply(o.bootMac, 0)); // a request, not a reply
    boot.reply(server.bootReplyPort(), bootReply(o.bootMac));
    ASSERT_TRUE(waitProcessingEvents([&] { return server.bootRepliesReceived() == 1; }));
    ASSERT_EQ(lines.filter("boot reply").size(), 1);
    EXPECT_TRUE(lines.filter("boot reply")
                    .first()
                    .contains("address 10.0.0.5, subnet 255.255.255.0, gateway 10.0.0.1, name \"StudioA\""))
        << lines.join('\n').toStdString();
}
