// The transport on real sockets on 127.0.0.1: status sequences, data, sending, destruction.
#include "link/tcp.h"
#include "link_recorder.h"
#include "loopback_peer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <memory>
#include <numeric>
#include <thread>

using orba::test::freeTcpPort;
using orba::test::LinkRecorder;
using orba::test::LoopbackPeer;

namespace {

constexpr int kShortWaitMs = 100;      // connect wait for tests that want several attempts
constexpr int kEndlessWaitMs = 600000; // so long that any wait on it shows

std::vector<int> firstStatuses(const LinkRecorder &r, size_t n)
{
    auto s = r.statuses();
    s.resize(std::min(n, s.size()));
    return s;
}

} // namespace

TEST(TcpClient, UnreachablePortReportsConnectingThenClosedAgainAndAgainButNeverUp)
{
    LinkRecorder rec;
    {
        tcQTcpClient client("127.0.0.1", freeTcpPort(), rec.callbacks(), kShortWaitMs);
        ASSERT_TRUE(rec.waitStatusCount(LINK_CLOSED, 3));
        EXPECT_FALSE(client.isConnected());
    }
    const auto s = rec.statuses();
    ASSERT_GE(s.size(), 7u);
    for (size_t i = 0; i + 1 < s.size(); ++i)
        EXPECT_EQ(s[i], i % 2 == 0 ? LINK_CONNECTING : LINK_CLOSED) << "at " << i;
    EXPECT_EQ(s.back(), LINK_GONE);
    EXPECT_EQ(rec.count(LINK_UP), 0);
}

TEST(TcpClient, ARefusedAttemptWaitsOutTheConnectWaitBeforeTheNextOne)
{
    LinkRecorder rec;
    const auto started = std::chrono::steady_clock::now();
    tcQTcpClient client("127.0.0.1", freeTcpPort(), rec.callbacks(), 300);
    ASSERT_TRUE(rec.waitStatusCount(LINK_CONNECTING, 2));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(290));
}

TEST(TcpClient, ARefusedAttemptStaysConnectingAndReachesAPeerThatStartsWithinIt)
{
    const uint16_t port = freeTcpPort();
    LinkRecorder rec;
    tcQTcpClient client("127.0.0.1", port, rec.callbacks(), 10000);
    ASSERT_TRUE(rec.waitStatusCount(LINK_CONNECTING, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // refused at least once
    EXPECT_EQ(rec.statuses(), (std::vector<int>{LINK_CONNECTING}));
    LoopbackPeer peer(LoopbackPeer::Keep, port);
    ASSERT_TRUE(rec.waitStatusCount(LINK_UP, 1));
    EXPECT_EQ(rec.statuses(), (std::vector<int>{LINK_CONNECTING, LINK_UP}));
}

TEST(TcpClient, APeerThatAcceptsAndClosesAtOnceIsClosedThenTriedNoMoreOftenThanARefusedOne)
{
    LoopbackPeer peer(LoopbackPeer::CloseOnAccept);
    LinkRecorder rec;
    const auto started = std::chrono::steady_clock::now();
    tcQTcpClient client("127.0.0.1", peer.port(), rec.callbacks(), 300);
    ASSERT_TRUE(rec.waitStatusCount(LINK_CONNECTING, 3));
    // Two pauses after two dropped links.
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(590));
    EXPECT_LE(peer.accepted(), 3);
    EXPECT_EQ(firstStatuses(rec, 4),
              (std::vector<int>{LINK_CONNECTING, LINK_UP, LINK_CLOSED, LINK_CONNECTING}));
}

// All zeros would reach this machine; a name is never looked up.
TEST(TcpClient, AnAddressOfAllZerosOrNoDottedQuadNeverConnects)
{
    for (const char *address : {"0.0.0.0", "localhost"}) {
        SCOPED_TRACE(address);
        LoopbackPeer peer;
        LinkRecorder rec;
        tcQTcpClient client(address, peer.port(), rec.callbacks(), kShortWaitMs);
        ASSERT_TRUE(rec.waitStatusCount(LINK_CLOSED, 2));
        EXPECT_EQ(rec.count(LINK_UP), 0);
        EXPECT_EQ(peer.accepted(), 0);
    }
}

TEST(TcpClient, TheSystemProbesAQuietLink)
{
    LoopbackPeer peer;
    LinkRecorder rec;
    tcQTcpClient client("127.0.0.1", peer.port(), rec.callbacks());
    ASSERT_TRUE(rec.waitStatusCount(LINK_UP, 1));
    // The process's socket that leads to the peer: the client's end of the link.
    int keepAlive = -1;
    DIR *fds = ::opendir("/proc/self/fd");
    ASSERT_NE(fds, nullptr);
    while (dirent *entry = ::readdir(fds)) {
        const int fd = std::atoi(entry->d_name);
        sockaddr_in to{};
        socklen_t size = sizeof to;
        if (fd <= 2 || ::getpeername(fd, reinterpret_cast<sockaddr *>(&to), &size) != 0 ||
            to.sin_family != AF_INET || ntohs(to.sin_port) != peer.port())
            continue;
        int on = 0;
        socklen_t onSize = sizeof on;
        if (::getsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, &onSize) == 0)
            keepAlive = on;
    }
    ::closedir(fds);
    EXPECT_EQ(keepAlive, 1);
}

TEST(TcpClient, DestroyingWhileAnAttemptWaitsEndsAtOnce)
{
    LinkRecorder rec;
    const auto started = std::chrono::steady_clock::now();
    {
        // An attempt so long that a destructor sitting it out is unmistakable; the refused
        // connect waits for its next try within it.
        tcQTcpClient client("127.0.0.1", freeTcpPort(), rec.callbacks(), kEndlessWaitMs);
        ASSERT_TRUE(rec.waitStatusCount(LINK_CONNECTING, 1));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_EQ(rec.statuses().back(), LINK_GONE);
}

TEST(TcpClient, DestroyingAConnectedTransportReportsGoneAndNoClosed)
{
    LoopbackPeer peer;
    LinkRecorder rec;
    auto client = std::make_unique<tcQTcpClient>("127.0.0.1", peer.port(), rec.callbacks());
    ASSERT_TRUE(rec.waitStatusCount(LINK_UP, 1));
    ASSERT_TRUE(peer.waitAccepted(1));
    client.reset();
    EXPECT_EQ(rec.statuses(), (std::vector<int>{LINK_CONNECTING, LINK_UP, LINK_GONE}));
}

TEST(TcpClient, SendWhileNotConnectedReturnsMinusOneAndReportsNothing)
{
    LinkRecorder rec;
    tcQTcpClient client("127.0.0.1", freeTcpPort(), rec.callbacks(), 60000);
    ASSERT_TRUE(rec.waitStatusCount(LINK_CONNECTING, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // refused, the next try waits
    const auto before = rec.statuses();
    const uint8_t bytes[6] = {0xA5, 0xA5, 6, 0, 21, 0};
    EXPECT_EQ(client.send(bytes, sizeof bytes), -1);
    EXPECT_EQ(rec.statuses(), before);
}

TEST(TcpClient, BytesGoBothWaysWhole)
{
    LoopbackPeer peer;
    LinkRecorder rec;
    tcQTcpClient client("127.0.0.1", peer.port(), rec.callbacks());
    ASSERT_TRUE(rec.waitStatusCount(LINK_UP, 1));
    ASSERT_TRUE(peer.waitAccepted(1));

    std::vector<uint8_t> out(20000);
    std::iota(out.begin(), out.end(), uint8_t(0));
    EXPECT_EQ(client.send(out.data(), out.size()), int(out.size()));
    ASSERT_TRUE(peer.waitBytes(out.size()));

    std::vector<uint8_t> in(30000);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = uint8_t(i * 7);
    ASSERT_TRUE(peer.send(in.data(), in.size()));
    ASSERT_TRUE(rec.waitBytes(in.size()));
    EXPECT_EQ(rec.bytes(), in);
    EXPECT_GE(rec.chunks(), 4u); // never more than 8192 bytes at a time
}

TEST(TcpClient, APeerClosingIsReportedAndTheLinkComesBack)
{
    LoopbackPeer peer;
    LinkRecorder rec;
    tcQTcpClient client("127.0.0.1", peer.port(), rec.callbacks(), kShortWaitMs);
    ASSERT_TRUE(rec.waitStatusCount(LINK_UP, 1));
    ASSERT_TRUE(peer.waitAccepted(1));
    peer.closeConnection();
    ASSERT_TRUE(rec.waitStatusCount(LINK_UP, 2));
    EXPECT_EQ(firstStatuses(rec, 5),
              (std::vector<int>{LINK_CONNECTING, LINK_UP, LINK_CLOSED, LINK_CONNECTING, LINK_UP}));
    EXPECT_TRUE(peer.waitAccepted(2));
}

TEST(TcpServer, DestroyingAWaitingServerEndsAtOnceWithoutClosedReport)
{
    LinkRecorder rec;
    const auto started = std::chrono::steady_clock::now();
    {
        tcQTcpServer server(freeTcpPort(), rec.callbacks(), kEndlessWaitMs);
        ASSERT_TRUE(rec.waitStatusCount(LINK_CONNECTING, 1));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_EQ(rec.statuses(), (std::vector<int>{LINK_CONNECTING, LINK_GONE}));
}
