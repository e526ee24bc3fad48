// The boot server on loopback: it answers a request from its MAC address at the injected reply
// address and port, ignores everything while replies are off, and reports a port in use.
#include "admin/boot_server.h"
#include "loopback_peer.h"
#include "wait.h"

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace orba;

namespace {

const uint8_t kMac[6] = {0x02, 0x00, 0x00, 0xAB, 0xCD, 0xEF};

std::vector<uint8_t> request(const uint8_t *mac = kMac, uint8_t hardware = 8)
{
    const uint8_t records[] = {3, 0, 6, mac[0],   mac[1], mac[2], mac[3], mac[4], mac[5],
                               1, 0, 1, hardware, 0,      0,      1,      0};
    uint8_t d[BOOT_TAG_SIZE + sizeof records];
    std::memcpy(d, BOOT_TAG, BOOT_TAG_SIZE);
    std::memcpy(d + BOOT_TAG_SIZE, records, sizeof records);
    return std::vector<uint8_t>(d, d + sizeof d);
}

BootSettings settings(const char *ip = "10.0.0.5")
{
    BootSettings s;
    std::memcpy(s.mac, kMac, 6);
    addressFromText(QString::fromLatin1(ip), s.ip);
    addressFromText(QStringLiteral("255.0.0.0"), s.subnet);
    addressFromText(QStringLiteral("10.0.0.1"), s.gateway);
    nameFromText(QStringLiteral("Booted"), s.name);
    return s;
}

class BootServer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        receiver.setProxy(QNetworkProxy::NoProxy); // no system proxy look-up on another thread
        ASSERT_TRUE(receiver.bind(QHostAddress(QHostAddress::LocalHost), 0));
        options.port = test::freeUdpPort();
        options.replyAddress = QHostAddress(QHostAddress::LocalHost);
        options.replyPort = receiver.localPort();
    }
    bool send(const std::vector<uint8_t> &d) { return test::sendDatagram(options.port, d.data(), d.size()); }
    QByteArray nextReply()
    {
        if (!test::waitUntil([&] { return receiver.hasPendingDatagrams(); }))
            return {};
        return receiver.receiveDatagram().data();
    }

    QUdpSocket receiver;
    BootServerOptions options;
};

} // namespace

TEST_F(BootServer, AnswersItsUnitAtTheReplyAddressAndCounts)
{
    tcNetServerDlgThrd server(options);
    ASSERT_TRUE(server.open());
    server.start(settings());
    ASSERT_TRUE(send(request()));
    const QByteArray reply = nextReply();
    ASSERT_EQ(reply.size(), 70);
    uint8_t want[BOOT_REPLY_SIZE];
    buildBootReply(want, settings());
    EXPECT_EQ(reply, QByteArray(reinterpret_cast<const char *>(want), 70));
    EXPECT_EQ(uint8_t(reply[36]), 10);
    EXPECT_EQ(uint8_t(reply[39]), 5);
    EXPECT_EQ(server.repliesSent(), 1);
}

TEST_F(BootServer, TheReplyPortDefaultsToTheListeningPort)
{
    BootServerOptions o;
    o.port = 4321;
    tcNetServerDlgThrd server(o);
    EXPECT_EQ(server.options().replyPort, 4321);
    EXPECT_EQ(server.options().replyAddress, QHostAddress(QHostAddress::Broadcast));
}
