// The "IP Assignment" dialog and its boot server on loopback ports.
#include "admin/net_server_dlg.h"
#include "loopback_peer.h"
#include "message_recorder.h"
#include "wait.h"

#include <QApplication>
#include <QGroupBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QNetworkProxy>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace orba;
using orba::test::Box;
using orba::test::MessageRecorder;
using orba::test::waitProcessingEvents;

namespace {

const uint8_t kMac[6] = {0x00, 0x50, 0xC2, 0x1F, 0xA0, 0x07};

// Records in the order MAC, hardware marker, request marker.
std::vector<uint8_t> request(uint8_t hardware = 8)
{
    const uint8_t records[] = {3, 0, 6, kMac[0],  kMac[1], kMac[2], kMac[3], kMac[4], kMac[5],
                               1, 0, 1, hardware, 0,       0,       1,       0};
    uint8_t d[BOOT_TAG_SIZE + sizeof records];
    std::memcpy(d, BOOT_TAG, BOOT_TAG_SIZE);
    std::memcpy(d + BOOT_TAG_SIZE, records, sizeof records);
    return std::vector<uint8_t>(d, d + sizeof d);
}

class IpAssignment : public ::testing::Test
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
    std::unique_ptr<tcNetServerDlg> open()
    {
        auto d = std::make_unique<tcNetServerDlg>(options);
        QApplication::processEvents();
        return d;
    }
    template <class T> static T *child(QWidget &d, const char *name)
    {
        T *w = d.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void fill(tcNetServerDlg &d, const QString &ip, const QString &name)
    {
        child<QLineEdit>(d, "edit_MAC")->setText(QStringLiteral("00:50:c2:1f:a0:07"));
        child<QLineEdit>(d, "edit_IP")->setText(ip);
        child<QLineEdit>(d, "edit_SN")->setText(QStringLiteral("255.255.0.0"));
        child<QLineEdit>(d, "edit_GW")->setText(QStringLiteral("10.0.0.1"));
        child<QLineEdit>(d, "edit_NAME")->setText(name);
    }
    bool send(const std::vector<uint8_t> &d) { return test::sendDatagram(options.port, d.data(), d.size()); }
    QByteArray nextReply()
    {
        if (!test::waitUntil([&] { return receiver.hasPendingDatagrams(); }))
            return {};
        return receiver.receiveDatagram().data();
    }
    static int shown(tcNetServerDlg &d) { return child<QLCDNumber>(d, "lcd_REQ")->intValue(); }
    // Whether the requests waiting were answered, once the server has dealt with them.
    bool answered(tcNetServerDlg &d)
    {
        d.server().handlePending();
        QApplication::processEvents();
        return receiver.hasPendingDatagrams();
    }

    MessageRecorder messages;
    QUdpSocket receiver;
    BootServerOptions options;
};

} // namespace

TEST_F(IpAssignment, ShowsItsFieldsWithTheirMasksDefaultsAndTips)
{
    auto d = open();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("IP Assignment"));
    struct Field
    {
        const char *edit, *label, *labelText, *mask, *text, *tip;
    };
    const Field fields[] = {
        {"edit_MAC", "label_MAC", "MAC Address:", "HH:HH:HH:HH:HH:HH", "00:00:00:00:00:00",
         "The MAC address of the audio processor hardware you wish to program. This field acts as a filter "
         "so only the matching hardware is configured."},
        {"edit_IP", "label_IP", "IP Address:", "009.009.009.009", "192.168.1.",
         "The IP address to assign to the audio processor hardware."},
        {"edit_SN", "label_SN", "Subnet:", "009.009.009.009", "255.255.255.0",
         "The subnet to assign to the audio processor hardware."},
        {"edit_GW", "label_GW", "Gateway:", "009.009.009.009", "255.255.255.255",
         "The gateway address to assign to the audio processor hardware (255.255.255.255 if none)."},
        {"edit_NAME", "label_NAME", "Name:", "", "NoName",
         "The name (max 8 chars) to assign to the audio processor hardware."},
    };
    for (const Field &f : fields) {
        QLineEdit *e = child<QLineEdit>(*d, f.edit);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->inputMask(), QString::fromLatin1(f.mask)) << f.edit; // given back without the ";"
        EXPECT_EQ(e->text(), QString::fromLatin1(f.text)) << f.edit;
        EXPECT_EQ(e->toolTip(), QString::fromLatin1(f.tip)) << f.edit;
        EXPECT_TRUE(e->isEnabled());
        EXPECT_EQ(child<QLabel>(*d, f.label)->text(), QString::fromLatin1(f.labelText));
    }
    QStringList groups;
    for (QGroupBox *g : d->findChildren<QGroupBox *>())
        groups << g->title();
    EXPECT_EQ(groups, QStringList({QStringLiteral("Device Filter:"), QStringLiteral("New IP Settings:")}));
    EXPECT_EQ(child<QLabel>(*d, "label_REQ")->text(), QStringLiteral("Requests:"));
    EXPECT_EQ(shown(*d), 0);
    EXPECT_TRUE(
        child<QLCDNumber>(*d, "lcd_REQ")
            ->toolTip()
            .startsWith(QStringLiteral("This counter increments each time a boot request is received")));
    QPushButton *start = child<QPushButton>(*d, "btn_START");
    EXPECT_EQ(start->text(), QStringLiteral("START"));
    EXPECT_EQ(start->toolTip(),
              QStringLiteral("Boot replies will only be sent while this button is pressed. This "
                             "prevents accidental assignments with partially filled in fields "
                             "above."));
    EXPECT_TRUE(messages.empty());
}

TEST_F(IpAssignment, ARequestWithItsRecordsInAnotherOrderIsAnsweredAndCounted)
{
    auto d = open();
    fill(*d, QStringLiteral("10.0.0.5"), QStringLiteral("Studio1"));
    child<QPushButton>(*d, "btn_START")->click();
    ASSERT_EQ(messages.only(),
              Box("Reboot", "Please reboot the ORBA,\nand wait for \"requests\" to increment."));
    EXPECT_EQ(messages.last().kind, MessageKind::Information);
    EXPECT_EQ(child<QPushButton>(*d, "btn_START")->text(), QStringLiteral("STOP"));
    EXPECT_FALSE(child<QLineEdit>(*d, "edit_IP")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(*d, "edit_MAC")->isEnabled());

    ASSERT_TRUE(send(request()));
    const QByteArray reply = nextReply();
    ASSERT_EQ(reply.size(), 70);
    EXPECT_EQ(reply.mid(36, 4), QByteArray("\x0A\x00\x00\x05", 4));
    EXPECT_EQ(reply.mid(27, 6), QByteArray(reinterpret_cast<const char *>(kMac), 6));
    EXPECT_EQ(reply.mid(43, 4), QByteArray("\xFF\xFF\x00\x00", 4));
    EXPECT_EQ(reply.mid(50, 4), QByteArray("\x0A\x00\x00\x01", 4));
    EXPECT_EQ(reply.mid(62, 8), QByteArray("Studio1\0", 8));
    ASSERT_TRUE(waitProcessingEvents([&] { return shown(*d) == 1; }));
    EXPECT_EQ(d->requests(), 1);
    EXPECT_EQ(d->server().repliesSent(), 1);
}

TEST(BootServerOptions, TheReplyGoesToBroadcastOnTheListeningPortUnlessSetOtherwise)
{
    BootServerOptions o;
    o.port = 4321;
    tcNetServerDlgThrd server(o);
    EXPECT_EQ(server.options().replyPort, 4321);
    EXPECT_EQ(server.options().replyAddress, QHostAddress(QHostAddress::Broadcast));
}

TEST_F(IpAssignment, ALongNameIsCutToEightAndAnEmptyOneGoesAsNoName)
{
    auto d = open();
    QPushButton *start = child<QPushButton>(*d, "btn_START");
    fill(*d, QStringLiteral("10.0.0.5"), QStringLiteral("ABCDEFGHIJ"));
    start->click();
    ASSERT_TRUE(send(request()));
    EXPECT_EQ(nextReply().mid(62, 8), QByteArray("ABCDEFGH"));
    start->click();
    EXPECT_EQ(start->text(), QStringLiteral("START"));
    EXPECT_TRUE(child<QLineEdit>(*d, "edit_NAME")->isEnabled());
    child<QLineEdit>(*d, "edit_NAME")->clear();
    start->click();
    ASSERT_TRUE(send(request()));
    EXPECT_EQ(nextReply().mid(62, 8), QByteArray("NoName\0\0", 8));
}

TEST_F(IpAssignment, WithTheButtonUpOrAnotherHardwareMarkerNothingIsAnsweredOrCounted)
{
    auto d = open();
    QPushButton *start = child<QPushButton>(*d, "btn_START");
    fill(*d, QStringLiteral("10.0.0.5"), QStringLiteral("x"));
    ASSERT_TRUE(send(request()));
    EXPECT_FALSE(answered(*d));
    EXPECT_EQ(shown(*d), 0);

    start->click();
    ASSERT_TRUE(send(request(7))); // hardware marker 7: not ours
    EXPECT_FALSE(answered(*d));
    EXPECT_EQ(shown(*d), 0);
    EXPECT_EQ(d->server().repliesSent(), 0);
    ASSERT_TRUE(send(request()));
    ASSERT_EQ(nextReply().size(), 70);
    ASSERT_TRUE(waitProcessingEvents([&] { return shown(*d) == 1; }));
    start->click();
    ASSERT_TRUE(send(request()));
    EXPECT_FALSE(answered(*d));
    EXPECT_EQ(shown(*d), 1);
    // Pressed again, the counter starts from 0.
    start->click();
    EXPECT_EQ(shown(*d), 0);
}

TEST_F(IpAssignment, APortInUseGivesTheBindErrorAndClosesTheDialog)
{
    QUdpSocket holder;
    holder.setProxy(QNetworkProxy::NoProxy);
    ASSERT_TRUE(holder.bind(QHostAddress(QHostAddress::AnyIPv4), 0, QAbstractSocket::DontShareAddress));
    options.port = holder.localPort();
    tcNetServerDlg d(options);
    bool closed = false;
    QObject::connect(&d, &QDialog::rejected, [&] { closed = true; });
    d.show();
    ASSERT_EQ(messages.only(),
              Box("Error", QStringLiteral("Socket bind to UDP port %1 failed.").arg(options.port)));
    EXPECT_EQ(messages.last().kind, MessageKind::Critical);
    ASSERT_TRUE(waitProcessingEvents([&] { return closed; }));
    EXPECT_FALSE(d.isVisible());
}
