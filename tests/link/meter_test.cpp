// The meter receiver: the datagram check, newest-only keeping, the port fallback, real datagrams.
#include "link/meter.h"
#include "link_recorder.h"
#include "loopback_peer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <vector>

using namespace orba;
using orba::test::freeUdpPort;
using orba::test::waitUntil;

namespace {

std::vector<uint8_t> datagram(uint8_t counter, uint8_t marker = 0)
{
    std::vector<uint8_t> d(METER_SIZE);
    MeterHeader h;
    h.counter = counter;
    buildMeterDatagram(d.data(), h, nullptr);
    d[METER_BODY_AT] = marker;
    return d;
}

// A UDP socket bound to port on all addresses, as the receiver binds.
int bindUdp(uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void sendTo(uint16_t port, const std::vector<uint8_t> &bytes, const char *from = nullptr)
{
    ASSERT_TRUE(orba::test::sendDatagram(port, bytes.data(), bytes.size(), from)) << (from ? from : "");
}

} // namespace

TEST(MeterDatagram, OnlyExactly604BytesWithMagicKindAndCounterPass)
{
    auto d = datagram(7);
    EXPECT_EQ(checkMeterDatagram(d.data(), 604, 7), MeterCheck::Accepted);
    EXPECT_EQ(checkMeterDatagram(d.data(), 604, 6), MeterCheck::WrongCounter);
    EXPECT_EQ(checkMeterDatagram(d.data(), 603, 7), MeterCheck::WrongSize);
    d.push_back(0);
    EXPECT_EQ(checkMeterDatagram(d.data(), 605, 7), MeterCheck::WrongSize);
    d = datagram(7);
    d[15] = 'X';
    EXPECT_EQ(checkMeterDatagram(d.data(), 604, 7), MeterCheck::WrongMagic);
    d = datagram(7);
    d[16] = 1;
    EXPECT_EQ(checkMeterDatagram(d.data(), 604, 7), MeterCheck::WrongKind);
}

TEST(MeterDatagram, HeaderMagicKindAndBodyPlaces)
{
    MeterHeader h;
    h.counter = 9;
    const uint8_t clock[7] = {9, 6, 5, 5, 15, 11, 31};
    std::memcpy(h.clock, clock, 7);
    h.sntp = true;
    h.server[0] = 10;
    h.tzOffset = -3600;
    std::vector<uint8_t> body(METER_BODY_SIZE, 0x42);
    std::vector<uint8_t> d(METER_SIZE);
    buildMeterDatagram(d.data(), h, body.data());
    EXPECT_EQ(std::memcmp(d.data(), "CV_QPL_METERMSG_", 16), 0);
    EXPECT_EQ(d[16], 2);
    EXPECT_EQ(d[20], 9);
    EXPECT_EQ(d[603], 0x42);
    // The clock fields' places: SimClockOnline.SetClockMovesTheClockTheMetersCarry; read back:
    // Connection.MetersOverTcpAreAskedForAcknowledgedAndShownWithTheClock.
}

TEST(Meteriface, KeepsOnlyTheNewestDatagramAndDropsOlderRequests)
{
    METERIFACE meters(nullptr, nullptr, freeUdpPort());
    uint8_t out[METER_SIZE];
    EXPECT_EQ(meters.fetch(out), -1);
    EXPECT_EQ(meters.nextRequestCounter(), 1);
    EXPECT_TRUE(meters.check_datagram(datagram(1, 0xA1).data()));
    EXPECT_TRUE(meters.check_datagram(datagram(1, 0xA2).data()));
    EXPECT_EQ(meters.fetch(out), 0);
    EXPECT_EQ(out[METER_BODY_AT], 0xA2);
    EXPECT_EQ(meters.fetch(out), -1);

    meters.nextRequestCounter();
    EXPECT_FALSE(meters.check_datagram(datagram(1).data())); // answers the previous request
    EXPECT_EQ(meters.fetch(out), -1);
}

// A receiver on a free port that takes datagrams from 127.0.0.1, counting what it accepts.
class UdpMeters : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(meters.hasSocket());
        const uint8_t loopback[4] = {127, 0, 0, 1};
        meters.setPeer(loopback);
        counter = meters.nextRequestCounter();
    }
    static void notify(void *context) { ++*static_cast<std::atomic<int> *>(context); }

    std::atomic<int> accepted{0};
    METERIFACE meters{&accepted, &UdpMeters::notify, freeUdpPort()};
    uint8_t counter = 0;
};

TEST_F(UdpMeters, DatagramsOfTheWrongSizeAreDroppedAndGoodOnesKept)
{
    auto longer = datagram(counter, 1);
    longer.push_back(0);
    auto shorter = datagram(counter, 2);
    shorter.pop_back();
    sendTo(meters.port(), longer);
    sendTo(meters.port(), shorter);
    sendTo(meters.port(), datagram(uint8_t(counter - 1), 3));
    sendTo(meters.port(), datagram(counter, 4));
    ASSERT_TRUE(waitUntil([&] { return accepted.load() >= 1; }));
    sendTo(meters.port(), datagram(counter, 5));
    ASSERT_TRUE(waitUntil([&] { return accepted.load() >= 2; }));
    EXPECT_EQ(accepted.load(), 2);
    uint8_t out[METER_SIZE];
    ASSERT_EQ(meters.fetch(out), 0);
    EXPECT_EQ(out[METER_BODY_AT], 5);
}

TEST_F(UdpMeters, DatagramsFromAnyoneButTheProcessorAreDropped)
{
    // In order, so the stranger's datagram has been dealt with once the processor's is taken.
    sendTo(meters.port(), datagram(counter, 1), "127.0.0.2");
    sendTo(meters.port(), datagram(counter, 2), "127.0.0.1");
    ASSERT_TRUE(waitUntil([&] { return accepted.load() >= 1; }));
    EXPECT_EQ(accepted.load(), 1);
    EXPECT_EQ(meters.acceptedCount(), 1u);
    uint8_t out[METER_SIZE];
    ASSERT_EQ(meters.fetch(out), 0);
    EXPECT_EQ(out[METER_BODY_AT], 2);

    // Another processor: only its address counts from now on.
    const uint8_t other[4] = {127, 0, 0, 2};
    meters.setPeer(other);
    sendTo(meters.port(), datagram(counter, 3), "127.0.0.1");
    sendTo(meters.port(), datagram(counter, 4), "127.0.0.2");
    ASSERT_TRUE(waitUntil([&] { return accepted.load() >= 2; }));
    EXPECT_EQ(accepted.load(), 2);
    ASSERT_EQ(meters.fetch(out), 0);
    EXPECT_EQ(out[METER_BODY_AT], 4);
}

// Two copies of the application on one machine: the second must not share the first one's port,
// where only one of them would get the datagrams.
TEST(Meteriface, ASecondReceiverOnThisMachineMovesOnToAnotherPort)
{
    const uint16_t first = freeUdpPort();
    METERIFACE a(nullptr, nullptr, first);
    METERIFACE b(nullptr, nullptr, first);
    ASSERT_TRUE(a.hasSocket());
    ASSERT_TRUE(b.hasSocket());
    EXPECT_EQ(a.port(), first);
    EXPECT_NE(b.port(), first);
    EXPECT_LE(b.port(), first + 9);
}

TEST(Meteriface, WithAllTenPortsTakenItKeepsNoSocketAndStillTakesTcpMeters)
{
    const uint16_t first = freeUdpPort();
    if (first > 65500)
        GTEST_SKIP() << "no room for ten ports";
    std::vector<int> blockers;
    for (int i = 0; i < 10; ++i) {
        const int fd = bindUdp(uint16_t(first + i));
        if (fd < 0) {
            for (int b : blockers)
                ::close(b);
            GTEST_SKIP() << "a port of the range is in use";
        }
        blockers.push_back(fd);
    }
    {
        METERIFACE meters(nullptr, nullptr, first);
        EXPECT_FALSE(meters.hasSocket());
        meters.nextRequestCounter();
        EXPECT_TRUE(meters.check_datagram(datagram(1).data()));
    }
    for (int b : blockers)
        ::close(b);
}

TEST(Meteriface, CloseEndsTheThreadAtOnceAndSaysSo)
{
    METERIFACE meters(nullptr, nullptr, freeUdpPort());
    ASSERT_TRUE(meters.hasSocket());
    testing::internal::CaptureStdout();
    const auto started = std::chrono::steady_clock::now();
    meters.close();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_NE(out.find("Sleeping in METERIFACE::close()  X\n"), std::string::npos) << out;
    EXPECT_FALSE(meters.hasSocket());
    meters.close(); // twice is harmless
}
