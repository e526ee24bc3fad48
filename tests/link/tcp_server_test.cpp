// The listening transport's options: loopback-only binding, a port the system picks, a kept listener.
#include "link/tcp.h"
#include "link_recorder.h"
#include "loopback_peer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

using orba::test::freeTcpPort;
using orba::test::LinkRecorder;

namespace {

constexpr int kShortWaitMs = 100;
constexpr int kEndlessWaitMs = 600000; // so long that any wait on it shows

tcQTcpServer::Options keepListening(bool loopbackOnly = true)
{
    tcQTcpServer::Options o;
    o.loopbackOnly = loopbackOnly;
    o.replaceOnConnect = true;
    return o;
}

// A blocking socket connected to address:port, or -1.
int connectedSocket(uint16_t port, const char *address = "127.0.0.1")
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &to.sin_addr);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A plain blocking connect, true when the peer accepted it.
bool canConnect(const char *address, uint16_t port)
{
    const int fd = connectedSocket(port, address);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

} // namespace

TEST(TcpServerOptions, PortZeroIsBoundAtConstructionAndReadBack)
{
    LinkRecorder serverRec, clientRec;
    tcQTcpServer server(0, serverRec.callbacks(), keepListening());
    const uint16_t port = server.boundPort();
    ASSERT_NE(port, 0);
    tcQTcpClient client("127.0.0.1", port, clientRec.callbacks(), kShortWaitMs);
    ASSERT_TRUE(serverRec.waitStatusCount(LINK_UP, 1));
    ASSERT_TRUE(clientRec.waitStatusCount(LINK_UP, 1));
    const uint8_t hello[3] = {7, 8, 9};
    EXPECT_EQ(client.send(hello, 3), 3);
    ASSERT_TRUE(serverRec.waitBytes(3));
    EXPECT_EQ(server.send(hello, 2), 2);
    ASSERT_TRUE(clientRec.waitBytes(2));
}

TEST(TcpServerOptions, LoopbackOnlyServerRefusesAnotherLocalAddress)
{
    // Every 127/8 address reaches this machine, but a socket bound to 127.0.0.1 answers only there.
    LinkRecorder loopRec, anyRec;
    tcQTcpServer loopOnly(0, loopRec.callbacks(), keepListening(true));
    tcQTcpServer everywhere(0, anyRec.callbacks(), keepListening(false));
    ASSERT_NE(loopOnly.boundPort(), 0);
    ASSERT_NE(everywhere.boundPort(), 0);
    EXPECT_FALSE(canConnect("127.0.0.2", loopOnly.boundPort()));
    EXPECT_TRUE(canConnect("127.0.0.2", everywhere.boundPort()));
    EXPECT_TRUE(canConnect("127.0.0.1", loopOnly.boundPort()));
}

TEST(TcpServerOptions, CloseFromAnotherThreadDropsThePeerAndTheNextIsAccepted)
{
    LinkRecorder serverRec;
    tcQTcpServer server(0, serverRec.callbacks(), keepListening());
    const int first = connectedSocket(server.boundPort());
    ASSERT_GE(first, 0);
    ASSERT_TRUE(serverRec.waitStatusCount(LINK_UP, 1));
    server.close();
    EXPECT_FALSE(server.isConnected());
    uint8_t byte;
    EXPECT_LE(::recv(first, &byte, 1, 0), 0); // the peer sees the end of the connection
    ::close(first);
    // close() from this thread never waits for the worker's accept; the listener is still there.
    server.close();
    const int second = connectedSocket(server.boundPort());
    ASSERT_GE(second, 0);
    EXPECT_TRUE(serverRec.waitStatusCount(LINK_UP, 2));
    ::close(second);
}

TEST(TcpServerOptions, PortInUseLeavesNothingBoundAndDestructionIsPrompt)
{
    LinkRecorder holderRec, rec;
    tcQTcpServer holder(0, holderRec.callbacks(), keepListening());
    ASSERT_NE(holder.boundPort(), 0);
    const auto started = std::chrono::steady_clock::now();
    {
        tcQTcpServer::Options o = keepListening();
        o.acceptWaitMs = kEndlessWaitMs; // a destructor sitting it out would be unmistakable
        tcQTcpServer second(holder.boundPort(), rec.callbacks(), o);
        EXPECT_EQ(second.boundPort(), 0);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_EQ(rec.statuses().back(), LINK_GONE);
}

TEST(TcpServerOptions, DefaultServerStillClosesItsListenerWhileConnected)
{
    const uint16_t port = freeTcpPort();
    LinkRecorder serverRec, clientRec;
    tcQTcpServer server(port, serverRec.callbacks());
    tcQTcpClient client("127.0.0.1", port, clientRec.callbacks(), kShortWaitMs);
    ASSERT_TRUE(serverRec.waitStatusCount(LINK_UP, 1));
    EXPECT_EQ(server.boundPort(), port);
    EXPECT_FALSE(canConnect("127.0.0.1", port));
}
