// The message layer on a real loopback connection: packing of parameter sets, the send limit, meter acks.
#include "link/message_link.h"
#include "link/meter.h"
#include "link/tcp.h"
#include "link/wire.h"
#include "link_recorder.h"
#include "loopback_peer.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using namespace orba;
using orba::test::Frame;
using orba::test::freeUdpPort;
using orba::test::LinkRecorder;
using orba::test::LoopbackPeer;

namespace {

// Data to the message layer, status to a recorder: what the main window does, minus the GUI.
struct Wiring
{
    MessageLink *link = nullptr;
    LinkRecorder recorder;
    TcpCallbacks callbacks()
    {
        TcpCallbacks c;
        c.context = this;
        c.on_data = [](void *ctx, const uint8_t *b, size_t n) {
            static_cast<Wiring *>(ctx)->link->feed(b, n);
        };
        c.on_status = [](void *ctx, int s) {
            auto *self = static_cast<Wiring *>(ctx);
            self->link->reset_assembler();
            self->recorder.recordStatus(s);
        };
        return c;
    }
};

class MessageLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LinkContext c;
        c.live = &live;
        c.globals = &globals;
        c.meters = &meters;
        link = std::make_unique<MessageLink>(c);
        wiring.link = link.get();
    }
    void TearDown() override { delete link->setTransport(nullptr); }
    void connect()
    {
        link->setTransport(new tcQTcpClient("127.0.0.1", peer.port(), wiring.callbacks()));
        ASSERT_TRUE(wiring.recorder.waitStatusCount(LINK_UP, 1));
        ASSERT_TRUE(peer.waitAccepted(1));
    }

    LoopbackPeer peer;
    SETTINGS_MAP live;
    GLOBALS_MAP globals;
    METERIFACE meters{nullptr, nullptr, freeUdpPort()};
    Wiring wiring;
    std::unique_ptr<MessageLink> link;
};

ValuesMsg values(const Frame &f)
{
    ValuesMsg v;
    EXPECT_TRUE(parseValues(f.data(), f.size(), v));
    return v;
}

// Target, block, blocks and entry count of a values frame.
using Head = std::tuple<int, int, int, size_t>;
Head head(const ValuesMsg &v)
{
    return {v.target, v.block, v.blocks, v.count};
}

} // namespace

TEST_F(MessageLinkTest, EveryChangedSettingGoesOutIn148And73AsBlockOneOfOne)
{
    connect();
    SETTINGS_FLAGS flags;
    flags.setAll();
    link->send_changed_values(live, flags);
    ASSERT_TRUE(peer.waitFrames(2));
    const auto frames = peer.frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].size(), 1196u);
    EXPECT_EQ(head(values(frames[0])), Head(TARGET_LIVE, 1, 1, 148));
    EXPECT_EQ(head(values(frames[1])), Head(TARGET_LIVE, 1, 1, 73));
    // In table order, with the set's values, the marks cleared.
    const ValuesMsg first = values(frames[0]);
    EXPECT_EQ(entryId(first.entries), firstSettingId());
    EXPECT_EQ(entryId(first.entries + 8), nextSettingId(firstSettingId()));
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        EXPECT_FALSE(flags.test(id));

    // Nothing marked: nothing sent.
    peer.clear();
    link->send_changed_values(live, flags);
    link->send_ping();
    ASSERT_TRUE(peer.waitFrames(1));
    EXPECT_EQ(peer.frames()[0][4], MSG_PING);
}

TEST_F(MessageLinkTest, AWholeSetGoesToASlotInNumberedBlocks)
{
    connect();
    link->send_all_values(17, live);
    ASSERT_TRUE(peer.waitFrames(2));
    const auto frames = peer.frames();
    const ValuesMsg a = values(frames[0]), b = values(frames[1]);
    EXPECT_EQ(head(a), Head(17, 1, 2, 148));
    EXPECT_EQ(head(b), Head(17, 2, 2, 73));
    SETTINGS_MAP copy;
    for (const ValuesMsg *m : {&a, &b})
        for (size_t i = 0; i < m->count; ++i)
            EXPECT_TRUE(applySettingEntry(copy, m->entries + 8 * i, CHANGE_PROCESSOR));
    EXPECT_EQ(copy.checksums().presetChecksum, live.checksums().presetChecksum);
}

TEST_F(MessageLinkTest, ChangedGlobalsAreSentAndTheirMarksCleared)
{
    connect();
    GLOBALS_FLAGS flags;
    globals.setInt(G_AM_FREQ, 990, CHANGE_USER);
    flags.set(G_AM_FREQ);
    flags.set(G_S_FOLLOW);
    link->send_changed_globals(flags);
    ASSERT_TRUE(peer.waitFrames(1));
    const Frame f = peer.frames()[0];
    GlobalsMsg g;
    ASSERT_TRUE(parseGlobals(f.data(), f.size(), g));
    ASSERT_EQ(g.count, 2u);
    EXPECT_EQ(entryId(g.entries), G_S_FOLLOW);
    EXPECT_EQ(entryId(g.entries + 8), G_AM_FREQ);
    EXPECT_EQ(entryInt(g.entries + 8), 990);
    EXPECT_FALSE(flags.test(G_AM_FREQ));
}

TEST_F(MessageLinkTest, FramesOf1200BytesOrMoreAreNeverSent)
{
    connect();
    std::vector<uint8_t> big(1200, 0);
    link->send_frame(big.data(), big.size());
    EXPECT_EQ(big[0], 0xA5); // the header is written all the same
    EXPECT_EQ(wire::get16(big.data() + 2), 1200);
    std::vector<uint8_t> fine(1199, 0);
    fine[4] = MSG_PING;
    link->send_frame(fine.data(), fine.size());
    ASSERT_TRUE(peer.waitFrames(1));
    EXPECT_EQ(peer.frames()[0].size(), 1199u);
    EXPECT_EQ(peer.byteCount(), 1199u);
}

TEST_F(MessageLinkTest, WithoutATransportFramesAreLostAndMarksStillCleared)
{
    SETTINGS_FLAGS flags;
    flags.set(firstSettingId());
    link->send_changed_values(live, flags);
    link->send_ping();
    EXPECT_FALSE(flags.test(firstSettingId()));
    EXPECT_EQ(peer.accepted(), 0);
}

TEST_F(MessageLinkTest, MeterDataIsAcknowledgedEvenWhenItsDatagramIsRejected)
{
    connect();
    const uint8_t counter = meters.nextRequestCounter();
    uint8_t dg[METER_SIZE];
    MeterHeader h;
    h.counter = uint8_t(counter + 1); // not the current request
    buildMeterDatagram(dg, h, nullptr);
    uint8_t f[METER_DATA_LENGTH];
    peer.send(f, buildMeterData(f, dg));
    ASSERT_TRUE(peer.waitFrames(1));
    EXPECT_EQ(peer.frames()[0], (Frame{0xA5, 0xA5, 6, 0, MSG_METER_ACK, 0}));
    uint8_t out[METER_SIZE];
    EXPECT_EQ(meters.fetch(out), -1);

    h.counter = counter;
    buildMeterDatagram(dg, h, nullptr);
    peer.send(f, buildMeterData(f, dg));
    ASSERT_TRUE(peer.waitFrames(2)); // acknowledged before the check, so wait for the datagram
    EXPECT_TRUE(test::waitUntil([&] { return meters.fetch(out) == 0; }));
}
