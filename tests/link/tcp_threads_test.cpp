// The transport's callbacks run on its worker only, never on a thread that sends, closes or hangs up.
#include "link/message_link.h"
#include "link/tcp.h"
#include "link_recorder.h"
#include "loopback_peer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using orba::test::LinkRecorder;
using orba::test::LoopbackPeer;

namespace {

constexpr int kShortWaitMs = 100;

// A recorder that also keeps the thread of every callback.
struct ThreadRecorder
{
    LinkRecorder recorder;
    std::mutex lock;
    std::set<std::thread::id> threads;

    void seen()
    {
        std::lock_guard<std::mutex> guard(lock);
        threads.insert(std::this_thread::get_id());
    }
    std::set<std::thread::id> seenThreads()
    {
        std::lock_guard<std::mutex> guard(lock);
        return threads;
    }
    TcpCallbacks callbacks()
    {
        TcpCallbacks c;
        c.context = this;
        c.on_data = [](void *ctx, const uint8_t *, size_t) { static_cast<ThreadRecorder *>(ctx)->seen(); };
        c.on_status = [](void *ctx, int s) {
            auto *self = static_cast<ThreadRecorder *>(ctx);
            if (s != LINK_GONE)
                self->seen();
            self->recorder.recordStatus(s);
        };
        return c;
    }
};

// Sends 1000-byte frames until one is cut by the budget; the peer must have stopped reading.
int sendUntilCut(tcQTcp &transport)
{
    std::vector<uint8_t> frame(1000, 0x55);
    int sent = int(frame.size());
    for (int n = 0; n < 100000 && sent == int(frame.size()); ++n)
        sent = transport.send(frame.data(), frame.size());
    return sent;
}

} // namespace

TEST(TcpThreads, ASendToAVanishedPeerIsReportedOnTheWorkerNotOnTheSender)
{
    LoopbackPeer peer;
    ThreadRecorder rec;
    tcQTcpClient client("127.0.0.1", peer.port(), rec.callbacks(), 60000);
    ASSERT_TRUE(rec.recorder.waitStatusCount(LINK_UP, 1));
    ASSERT_TRUE(peer.waitAccepted(1));
    peer.closeConnection();
    const uint8_t ping[6] = {0xA5, 0xA5, 6, 0, 21, 0};
    int result = 0;
    for (int n = 0; n < 100000 && result >= 0; ++n)
        result = client.send(ping, sizeof ping);
    EXPECT_EQ(result, -1);
    ASSERT_TRUE(rec.recorder.waitStatusCount(LINK_CLOSED, 1));
    EXPECT_EQ(rec.seenThreads().count(std::this_thread::get_id()), 0u);
}

TEST(TcpThreads, CloseAndHangUpFromAnotherThreadAreReportedOnTheWorkerAndTheLinkComesBack)
{
    LoopbackPeer peer;
    ThreadRecorder rec;
    tcQTcpClient client("127.0.0.1", peer.port(), rec.callbacks(), kShortWaitMs);
    ASSERT_TRUE(rec.recorder.waitStatusCount(LINK_UP, 1));
    client.close();
    EXPECT_FALSE(client.isConnected());
    EXPECT_EQ(rec.recorder.count(LINK_CLOSED), 1); // closed by the time close() returns
    ASSERT_TRUE(rec.recorder.waitStatusCount(LINK_UP, 2));
    client.hangUp();
    ASSERT_TRUE(rec.recorder.waitStatusCount(LINK_UP, 3));
    const auto threads = rec.seenThreads();
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_EQ(rec.recorder.statuses(),
              (std::vector<int>{LINK_CONNECTING, LINK_UP, LINK_CLOSED, LINK_CONNECTING, LINK_UP, LINK_CLOSED,
                                LINK_CONNECTING, LINK_UP}));
    EXPECT_TRUE(peer.waitAccepted(3)); // the link came back each time
}

// As the meter acknowledgement: a send from inside on_data while the application sends from its own
// thread; neither waits for the other, and every frame arrives whole.
TEST(TcpThreads, SendingFromTheDataCallbackWhileAnotherThreadSendsStaysWhole)
{
    LoopbackPeer peer;
    struct Acker
    {
        std::atomic<tcQTcp *> transport{nullptr};
        std::atomic<int> acked{0};
    } acker;
    LinkRecorder rec;
    TcpCallbacks c = rec.callbacks();
    c.context = &acker;
    c.on_data = [](void *ctx, const uint8_t *, size_t) {
        auto *self = static_cast<Acker *>(ctx);
        const uint8_t ack[6] = {0xA5, 0xA5, 6, 0, 0x30, 0};
        tcQTcp *transport = self->transport.load();
        if (transport && transport->send(ack, sizeof ack) == int(sizeof ack))
            ++self->acked;
    };
    c.on_status = [](void *, int) {};
    tcQTcpClient client("127.0.0.1", peer.port(), c);
    acker.transport = &client;
    ASSERT_TRUE(peer.waitAccepted(1));
    ASSERT_TRUE(orba::test::waitUntil([&] { return client.isConnected(); }));

    std::thread poker([&] {
        const uint8_t poke[6] = {0xA5, 0xA5, 6, 0, 0x7E, 0};
        for (int i = 0; i < 300; ++i)
            peer.send(poke, sizeof poke);
    });
    std::vector<uint8_t> frame(1100, 0x42);
    frame[0] = frame[1] = 0xA5;
    frame[2] = uint8_t(frame.size());
    frame[3] = uint8_t(frame.size() >> 8);
    frame[4] = 0x42;
    frame[5] = 0;
    int whole = 0;
    for (int i = 0; i < 300; ++i)
        whole += client.send(frame.data(), frame.size()) == int(frame.size());
    poker.join();
    EXPECT_EQ(whole, 300);
    ASSERT_TRUE(orba::test::waitUntil([&] { return acker.acked.load() > 0; }));
    ASSERT_TRUE(peer.waitFrames(size_t(300 + acker.acked.load())));
    for (const auto &f : peer.frames()) {
        ASSERT_TRUE(f.size() == 6 || f.size() == 1100) << f.size();
        EXPECT_TRUE(std::all_of(f.begin() + 6, f.end(), [](uint8_t b) { return b == 0x42; }));
    }
    EXPECT_EQ(peer.framesOfType(0x42).size(), 300u);
}

// As the main window wires a real message layer: the assembler reset on every status report must never
// run beside the worker's feed while sends cut by the budget end the link (the race checker sees any
// overlap; the thread record shows it in any build).
TEST(TcpThreads, TheAssemblerIsNeverResetWhileTheWorkerFeedsIt)
{
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        LoopbackPeer peer;
        MessageLink link(LinkContext{});
        struct Wiring
        {
            MessageLink *link;
            ThreadRecorder threads;
        } wiring{&link, {}};
        TcpCallbacks c;
        c.context = &wiring;
        c.on_data = [](void *ctx, const uint8_t *b, size_t n) {
            auto *self = static_cast<Wiring *>(ctx);
            self->threads.seen();
            self->link->feed(b, n);
        };
        c.on_status = [](void *ctx, int s) {
            auto *self = static_cast<Wiring *>(ctx);
            if (s != LINK_GONE)
                self->threads.seen();
            self->link->reset_assembler();
            self->threads.recorder.recordStatus(s);
        };
        tcQTcpClient client("127.0.0.1", peer.port(), c, kShortWaitMs);
        client.setSendBudget(50);
        ASSERT_TRUE(wiring.threads.recorder.waitStatusCount(LINK_UP, 1));
        ASSERT_TRUE(peer.waitAccepted(1));

        std::atomic<bool> stop{false};
        std::thread streamer([&] {
            std::vector<uint8_t> f(300, 0x11);
            f[0] = f[1] = 0xA5;
            f[2] = uint8_t(f.size());
            f[3] = uint8_t(f.size() >> 8);
            f[4] = 0x7E; // a type nobody handles
            while (!stop.load())
                if (!peer.send(f.data(), f.size()))
                    std::this_thread::yield();
        });
        peer.setReading(false);
        const int sent = sendUntilCut(client);
        EXPECT_GE(sent, 0); // a cut send gives the bytes it got out
        EXPECT_LT(sent, 1000);
        EXPECT_TRUE(wiring.threads.recorder.waitStatusCount(LINK_CLOSED, 1));
        stop.store(true);
        streamer.join();
        const auto threads = wiring.threads.seenThreads();
        EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
        EXPECT_EQ(threads.size(), 1u);
    }
}
