// The connection manager of the main window against a loopback stand-in for the processor: the
// handshake, the status texts and codes, going offline, losing the link, the login dialog,
// switching devices, the ping, sending changes and the meters.
#include "admin/device_version_dlg.h"
#include "admin/devices_dlg.h"
#include "admin/pswd_entry_dlg.h"
#include "app_window_test.h"
#include "common/crc32.h"
#include "link/meter.h"
#include "link/tcp.h"
#include "link/wire.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QThread>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>

using namespace orba;
using orba::test::Frame;
using orba::test::LoopbackPeer;
using orba::test::waitProcessingEvents;

namespace {

struct Shown
{
    QString text;
    int code;
    bool operator==(const Shown &o) const { return text == o.text && code == o.code; }
};

// The main window with a skin said to be loaded and its dialogs answered by the test.
class TestWindow : public KelWidget
{
public:
    bool skin = true;
    std::function<int(QDialog *)> answer;
    std::vector<Shown> statuses;
    std::vector<bool> onlineShown;
    int meterDatagrams = 0;
    int accessCleared = 0, meterGroupsReset = 0;

protected:
    bool skinLoaded() const override { return skin; }
    int execDialog(QDialog *dialog) override { return answer ? answer(dialog) : QDialog::Rejected; }
    void benchShowStatus(int display, const QString &text, StatusLook look) override
    {
        if (display == 1004)
            statuses.push_back({text, int(look)});
    }
    void benchSetOnline(bool online) override { onlineShown.push_back(online); }
    void benchClearAccess() override { ++accessCleared; }
    void benchResetMeterGroups() override { ++meterGroupsReset; }
    void showMeterDatagram(const uint8_t *) override { ++meterDatagrams; }
};

class Connection : public test::AppWindowTest<TestWindow>
{
protected:
    TestWindow &open(const QString &device = QStringLiteral("Studio"), uint32_t rcrc = 0x1234)
    {
        if (!device.isEmpty()) {
            addDevice(device, QStringLiteral("127.0.0.1"), rcrc);
            setting(QStringLiteral("DEVICE"), QStringLiteral("name"), device);
        }
        return AppWindowTest::open();
    }
    std::vector<Frame> framesOf(uint8_t type) const { return peer.framesOfType(type); }
    // The GUI thread sends from queued slots, so its events run while waiting.
    bool framesArrive(size_t count)
    {
        return waitProcessingEvents([&] { return peer.frames().size() >= count; });
    }
    void acceptConnect()
    {
        uint8_t f[CONNECT_REPLY_LENGTH];
        reply(f, buildConnectReply(f, CONNECT_ACCEPTED));
    }
    // A meter datagram answering the latest request, sent to the window's receiver from a loopback
    // address (all of 127/8 is this machine).
    static void sendMeters(const char *from)
    {
        uint8_t dg[METER_SIZE];
        MeterHeader h;
        h.counter = app().meters->requestCounter();
        buildMeterDatagram(dg, h, nullptr);
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        ::inet_pton(AF_INET, from, &at.sin_addr);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&at), sizeof at), 0) << from;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(app().meters->port());
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::sendto(fd, dg, sizeof dg, 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
        ::close(fd);
    }
    static bool shown(const std::vector<Shown> &statuses, const Shown &status)
    {
        return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
    }
    PresetHeader usedSlot() const
    {
        PresetHeader h;
        h.clear();
        h.setName("Morning Drive");
        h.inUse = 255;
        return h;
    }
};

} // namespace

TEST_F(Connection, HandshakeSendsTheRememberedPasswordAndGoesOnlineOnReplyTwo)
{
    TestWindow &w = open(QStringLiteral("Studio"), 0xCAFE1234);
    EXPECT_EQ(w.deviceText(), QStringLiteral("Studio"));
    w.set_online(true);
    EXPECT_EQ(w.linkState(), LinkState::Trying);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.statusText() == QStringLiteral("Pending"); }));
    EXPECT_EQ(w.statusLook(), StatusLook::Normal);
    ASSERT_TRUE(framesArrive(1));
    const Frame connect = peer.frames()[0];
    uint32_t crc = 0;
    ASSERT_TRUE(parseConnect(connect.data(), connect.size(), crc));
    EXPECT_EQ(crc, 0xCAFE1234u);

    acceptConnect();
    ASSERT_TRUE(waitProcessingEvents([&] { return w.statusText() == QStringLiteral("Online"); }));
    EXPECT_EQ(w.linkState(), LinkState::Online);
    EXPECT_EQ(w.statuses, (std::vector<Shown>{{"Trying..", 2}, {"Pending", 0}, {"Online", 0}}));

    // Online: the meters are asked for on the receiver's port with a fresh counter.
    ASSERT_TRUE(framesArrive(2));
    const auto requests = framesOf(MSG_METER_REQUEST_UDP);
    ASSERT_EQ(requests.size(), 1u);
    uint16_t port = 0;
    uint8_t counter = 0;
    ASSERT_TRUE(parseMeterRequestUdp(requests[0].data(), requests[0].size(), port, counter));
    EXPECT_EQ(port, app().meters->port());
    EXPECT_EQ(counter, app().meters->requestCounter());
    ASSERT_FALSE(w.onlineShown.empty());
    EXPECT_TRUE(w.onlineShown.back()); // after the start-up's own "not online"

    IniStore saved(QStringLiteral("KELQT.ini"), IniStore::XmlFile);
    EXPECT_EQ(saved.readInt(QStringLiteral("OPTIONS"), QStringLiteral("ONLINE"), 0), 1);
}

TEST_F(Connection, WithTheFirstMeterPortTakenTheRequestCarriesTheOneBound)
{
    const uint16_t first = test::freeUdpPort();
    const int blocker = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(first);
    ASSERT_EQ(::bind(blocker, reinterpret_cast<sockaddr *>(&any), sizeof any), 0);
    setMeterFirstPort(first);
    setting(QStringLiteral("DEVICE"), QStringLiteral("forceconnect"), QStringLiteral("1"));
    TestWindow &w = open();
    EXPECT_GT(app().meters->port(), first);
    w.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_METER_REQUEST_UDP).empty(); }));
    const Frame request = framesOf(MSG_METER_REQUEST_UDP)[0];
    uint16_t port = 0;
    uint8_t counter = 0;
    ASSERT_TRUE(parseMeterRequestUdp(request.data(), request.size(), port, counter));
    EXPECT_EQ(port, app().meters->port());
    ::close(blocker);
}

TEST_F(Connection, ForceconnectGoesOnlineWithoutAHandshake)
{
    setting(QStringLiteral("DEVICE"), QStringLiteral("forceconnect"), QStringLiteral("1"));
    TestWindow &w = open();
    w.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Online; }));
    EXPECT_EQ(w.statusText(), QStringLiteral("Online"));
    ASSERT_TRUE(framesArrive(1));
    EXPECT_TRUE(framesOf(MSG_CONNECT).empty());
    EXPECT_EQ(framesOf(MSG_METER_REQUEST_UDP).size(), 1u);
}

TEST_F(Connection, WithoutASkinTheLinkGoesNoFurtherThanTrying)
{
    TestWindow &w = open();
    w.skin = false;
    w.set_online(true);
    ASSERT_TRUE(peer.waitAccepted(1));
    ASSERT_TRUE(waitProcessingEvents([&] { return w.statusText() == QStringLiteral("Trying.."); }));
    QApplication::processEvents();
    EXPECT_EQ(w.linkState(), LinkState::Trying);
    EXPECT_TRUE(peer.frames().empty());
}

TEST_F(Connection, GoingOfflineByChoiceShowsOfflineWithCodeZeroAndClearsTheSlots)
{
    TestWindow &w = open();
    goOnline();
    app().presetSlots->set(3, usedSlot());
    w.slot_menu_on_line();
    EXPECT_FALSE(w.onlineWanted());
    EXPECT_EQ(w.transport(), nullptr);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Offline; }));
    EXPECT_EQ(w.statusText(), QStringLiteral("Offline"));
    EXPECT_EQ(w.statusLook(), StatusLook::Normal);
    EXPECT_EQ(app().presetSlots->get(3).inUse, 0);
    EXPECT_TRUE(app().grab->isDone());
    EXPECT_TRUE(app().headerWait->isDone());
    EXPECT_GE(w.accessCleared, 1);
    EXPECT_GE(w.meterGroupsReset, 1);
    IniStore saved(QStringLiteral("KELQT.ini"), IniStore::XmlFile);
    EXPECT_EQ(saved.readInt(QStringLiteral("OPTIONS"), QStringLiteral("ONLINE"), 9), 0);
}

TEST_F(Connection, ALostLinkShowsOfflineWithCodeOneClearsTheSlotsAndReconnects)
{
    TestWindow &w = open();
    goOnline();
    app().presetSlots->set(0, usedSlot());
    w.statuses.clear();
    peer.closeConnection();
    ASSERT_TRUE(waitProcessingEvents([&] { return w.statusText() == QStringLiteral("Pending"); }));
    ASSERT_GE(w.statuses.size(), 3u);
    EXPECT_EQ(w.statuses[0], (Shown{"Offline", 1}));
    EXPECT_EQ(w.statuses[1], (Shown{"Trying..", 2}));
    EXPECT_EQ(app().presetSlots->get(0).inUse, 0);
    EXPECT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() >= 2u; }));
    EXPECT_EQ(framesOf(MSG_CONNECT).size(), 2u);
}

TEST_F(Connection, AFailedAttemptLeavesTheSlotsAlone)
{
    TestWindow &w = open();
    setProcessorPort(test::freeTcpPort()); // nothing listens there
    app().presetSlots->set(5, usedSlot());
    w.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.statusText() == QStringLiteral("Offline"); }));
    EXPECT_EQ(w.statusLook(), StatusLook::Alert);
    EXPECT_EQ(app().presetSlots->get(5).inUse, 255);
    EXPECT_FALSE(app().grab->isDone());
}

TEST_F(Connection, ALossWhilePendingClearsTheSlots)
{
    TestWindow &w = open();
    w.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Pending; }));
    ASSERT_TRUE(framesArrive(1)); // the peer holds the connection
    app().presetSlots->set(7, usedSlot());
    w.statuses.clear();
    peer.closeConnection();
    // The link comes back at once, so look for the report rather than the text of the moment.
    ASSERT_TRUE(waitProcessingEvents([&] {
        return std::find(w.statuses.begin(), w.statuses.end(), Shown{"Offline", 1}) != w.statuses.end();
    }));
    EXPECT_EQ(app().presetSlots->get(7).inUse, 0);
}

TEST_F(Connection, RejectedLoginCancelledEndsOnRejectedAndOffline)
{
    TestWindow &w = open();
    int asked = 0;
    w.answer = [&](QDialog *d) {
        auto *login = qobject_cast<tcPswdEntryDlg *>(d);
        EXPECT_NE(login, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Login Password"));
        EXPECT_FALSE(d->findChild<QLineEdit *>(QStringLiteral("edit_new"))->isVisibleTo(d));
        EXPECT_FALSE(d->findChild<QLineEdit *>(QStringLiteral("edit_verify"))->isVisibleTo(d));
        EXPECT_EQ(d->findChild<QLineEdit *>(QStringLiteral("edit_pswd"))->echoMode(), QLineEdit::Password);
        ++asked;
        return int(QDialog::Rejected);
    };
    w.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Pending; }));
    uint8_t f[CONNECT_REPLY_LENGTH];
    reply(f, buildConnectReply(f, CONNECT_PASSWORD));
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Offline; }));
    QApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(w.onlineWanted());
    EXPECT_EQ(w.transport(), nullptr);
    EXPECT_EQ(w.statusText(), QStringLiteral("Rejected"));
    EXPECT_EQ(w.statusLook(), StatusLook::Alert);
}

TEST_F(Connection, RejectedLoginAnsweredSendsThePasswordCrcAndRemembersIt)
{
    TestWindow &w = open(QStringLiteral("Studio"), 0);
    w.answer = [&](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("edit_pswd"))->setText(QStringLiteral("open sesame"));
        d->findChild<QCheckBox *>(QStringLiteral("check_remember"))->setChecked(true);
        return int(QDialog::Accepted);
    };
    w.set_online(true);
    ASSERT_TRUE(framesArrive(1));
    uint8_t f[CONNECT_REPLY_LENGTH];
    reply(f, buildConnectReply(f, CONNECT_PASSWORD));
    ASSERT_TRUE(framesArrive(2));
    const auto connects = framesOf(MSG_CONNECT);
    ASSERT_EQ(connects.size(), 2u);
    uint32_t crc = 0;
    ASSERT_TRUE(parseConnect(connects[1].data(), connects[1].size(), crc));
    EXPECT_EQ(crc, orba::crc32(std::string_view("open sesame")));
    EXPECT_EQ(app().devices->current()->remoteCodeCrc(), crc);
    IniStore cfg(QStringLiteral("maps/Studio.cfg"), IniStore::XmlFile);
    EXPECT_EQ(uint32_t(cfg.readInt(QStringLiteral("Access"), QStringLiteral("rcrc"), 0)), crc);
    EXPECT_EQ(w.statusText(), QStringLiteral("Pending"));
    acceptConnect();
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Online; }));
}

TEST_F(Connection, ChoosingAnotherDeviceWhileOnlineReconnectsToItAndSavesTheChoiceAtOnce)
{
    addDevice(QStringLiteral("Backup"), QStringLiteral("127.0.0.1"), 0x2222);
    TestWindow &w = open(QStringLiteral("Main"), 0x1111);
    goOnline();
    app().presetSlots->set(1, usedSlot());
    const int backup = app().devices->indexOf(app().devices->findByName(QStringLiteral("Backup")));
    w.answer = [&](QDialog *d) {
        auto *devices = qobject_cast<tcDevicesDlg *>(d);
        EXPECT_NE(devices, nullptr);
        d->findChild<QListWidget *>(QStringLiteral("listWidget"))->setCurrentRow(backup);
        devices->accept();
        return d->result();
    };
    w.slot_device_dlg();
    EXPECT_EQ(app().devices->current()->name(), QStringLiteral("Backup"));
    EXPECT_EQ(w.deviceText(), QStringLiteral("Backup"));
    EXPECT_TRUE(w.onlineWanted());
    EXPECT_EQ(app().presetSlots->get(1).inUse, 0); // the old processor's slots are gone

    ASSERT_TRUE(peer.waitAccepted(2));
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() == 2; }));
    const Frame second = framesOf(MSG_CONNECT)[1];
    uint32_t crc = 0;
    ASSERT_TRUE(parseConnect(second.data(), second.size(), crc));
    EXPECT_EQ(crc, 0x2222u);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.statusText() == QStringLiteral("Pending"); }));
    // On disk while the application runs: a crash now reconnects to the chosen device.
    IniStore onDisk(QStringLiteral("KELQT.ini"), IniStore::XmlFile);
    EXPECT_EQ(onDisk.readString(QStringLiteral("DEVICE"), QStringLiteral("name"), {}),
              QStringLiteral("Backup"));
}

TEST_F(Connection, ChoosingADeviceOfflineOnlyMakesItCurrent)
{
    addDevice(QStringLiteral("Backup"), QStringLiteral("127.0.0.1"));
    TestWindow &w = open(QStringLiteral("Main"));
    const int backup = app().devices->indexOf(app().devices->findByName(QStringLiteral("Backup")));
    w.answer = [&](QDialog *d) {
        d->findChild<QListWidget *>(QStringLiteral("listWidget"))->setCurrentRow(backup);
        d->accept();
        return d->result();
    };
    w.slot_device_dlg();
    EXPECT_EQ(app().devices->currentIndex(), backup);
    EXPECT_EQ(w.transport(), nullptr);
    EXPECT_EQ(peer.accepted(), 0);
}

TEST_F(Connection, WithoutACurrentDeviceGoingOnlineOnlyStoresTheWish)
{
    TestWindow &w = open(QString());
    w.set_online(true);
    EXPECT_TRUE(w.onlineWanted());
    EXPECT_EQ(w.transport(), nullptr);
    EXPECT_EQ(w.linkState(), LinkState::Initial);
}

TEST_F(Connection, PingAndChangedValuesGoToTheProcessor)
{
    TestWindow &w = open();
    goOnline();
    peer.clear();
    w.slot_ping_timer();
    ASSERT_TRUE(framesArrive(1));
    EXPECT_EQ(peer.frames()[0], (Frame{0xA5, 0xA5, 6, 0, MSG_PING, 0}));

    const uint16_t id = firstSettingId();
    SETTINGS_MAP &live = *app().live;
    live.setIndex(id, live.getRaw(id) == live.getRawMax(id) ? live.getRawMin(id) : live.getRawMax(id),
                  CHANGE_USER);
    app().globals->setInt(G_DELAY, 77, CHANGE_USER);
    ASSERT_TRUE(waitProcessingEvents(
        [&] { return !framesOf(MSG_VALUES).empty() && !framesOf(MSG_GLOBALS).empty(); }));
    const Frame v = framesOf(MSG_VALUES)[0];
    ValuesMsg values;
    ASSERT_TRUE(parseValues(v.data(), v.size(), values));
    ASSERT_EQ(values.count, 1u);
    EXPECT_EQ(entryId(values.entries), id);
    const Frame g = framesOf(MSG_GLOBALS)[0];
    GlobalsMsg globals;
    ASSERT_TRUE(parseGlobals(g.data(), g.size(), globals));
    ASSERT_EQ(globals.count, 1u);
    EXPECT_EQ(entryInt(globals.entries), 77);
}

TEST_F(Connection, AFrameCutByAReconnectIsNeverCompleted)
{
    open();
    goOnline();
    SETTINGS_MAP &live = *app().live;
    const uint16_t cut = firstSettingId();
    const uint16_t later = nextSettingId(cut);
    const uint32_t cutBefore = live.getRaw(cut);

    SETTINGS_MAP model;
    model.setIndex(cut, cutBefore == live.getRawMax(cut) ? live.getRawMin(cut) : live.getRawMax(cut),
                   CHANGE_LOCAL);
    uint8_t f[12 + 8];
    putValuesHeader(f, TARGET_LIVE, 1, 1, 1);
    putSettingEntry(f + 12, model, cut);
    reply(f, 14); // half a frame, then the link drops
    peer.closeConnection();
    ASSERT_TRUE(peer.waitAccepted(2));
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() == 2; }));
    reply(f + 14, sizeof f - 14); // the rest arrives on the new connection

    const uint32_t laterTarget =
        live.getRaw(later) == live.getRawMax(later) ? live.getRawMin(later) : live.getRawMax(later);
    model.setIndex(later, laterTarget, CHANGE_LOCAL);
    putSettingEntry(f + 12, model, later);
    reply(f, sizeof f);
    ASSERT_TRUE(waitProcessingEvents([&] { return live.getRaw(later) == laterTarget; }));
    EXPECT_EQ(live.getRaw(cut), cutBefore);
}

TEST_F(Connection, MetersOverTcpAreAskedForAcknowledgedAndShownWithTheClock)
{
    TestWindow &w = open();
    goOnline();
    int clockSignals = 0;
    QObject::connect(&w, &tcApWidget::sig_ap_clock, [&] { ++clockSignals; });
    w.set_tcp_meters(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_METER_REQUEST_TCP).empty(); }));
    const Frame request = framesOf(MSG_METER_REQUEST_TCP)[0];
    uint8_t counter = 0;
    ASSERT_TRUE(parseMeterRequestTcp(request.data(), request.size(), counter));
    EXPECT_EQ(counter, app().meters->requestCounter());

    MeterHeader h;
    h.counter = counter;
    const uint8_t clock[7] = {24, 3, 15, 5, 13, 45, 10};
    std::memcpy(h.clock, clock, 7);
    h.sntp = true;
    h.server[0] = 192;
    h.tzOffset = 7200;
    uint8_t dg[METER_SIZE];
    buildMeterDatagram(dg, h, nullptr);
    uint8_t f[METER_DATA_LENGTH];
    reply(f, buildMeterData(f, dg));
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_METER_ACK).empty(); }));

    ASSERT_TRUE(waitProcessingEvents([&] {
        w.slot_meter_timer();
        return w.meterDatagrams == 1;
    }));
    EXPECT_EQ(std::memcmp(w.processor_clock().clock, clock, 7), 0);
    EXPECT_TRUE(w.processor_clock().sntp);
    EXPECT_EQ(w.processor_clock().tzOffset, 7200);
    QApplication::processEvents();
    EXPECT_EQ(clockSignals, 1);

    // The same clock again raises nothing; no new datagram, nothing shown.
    reply(f, buildMeterData(f, dg));
    ASSERT_TRUE(waitProcessingEvents([&] {
        w.slot_meter_timer();
        return w.meterDatagrams == 2;
    }));
    w.slot_meter_timer();
    EXPECT_EQ(w.meterDatagrams, 2);
    QApplication::processEvents();
    EXPECT_EQ(clockSignals, 1);
}

TEST_F(Connection, TheMeterTimerReadsNothingUnlessOnline)
{
    TestWindow &w = open();
    const uint8_t counter = app().meters->nextRequestCounter();
    uint8_t dg[METER_SIZE];
    MeterHeader h;
    h.counter = counter;
    buildMeterDatagram(dg, h, nullptr);
    ASSERT_TRUE(app().meters->check_datagram(dg));
    w.slot_meter_timer();
    EXPECT_EQ(w.meterDatagrams, 0);
    uint8_t out[METER_SIZE];
    EXPECT_EQ(app().meters->fetch(out), 0); // still there for when the link is up
}

TEST_F(Connection, TheVersionDialogShowsEachTextOfTheReplyUnderItsOwnLabel)
{
    TestWindow &w = open();
    goOnline();
    peer.onFrame([&](const Frame &f) {
        if (f[4] != MSG_VERSION_REQUEST)
            return;
        ProcessorVersion v;
        v.major = 3;
        v.minor = 1;
        v.build = 42;
        std::strcpy(v.text[0], "Jun  5 2009");
        std::strcpy(v.text[1], "FPGA 2.0");
        std::strcpy(v.text[2], "DSP 1.7");
        uint8_t out[VERSION_LENGTH];
        peer.send(out, buildVersion(out, v));
    });
    QString shown[4];
    w.answer = [&](QDialog *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Processor Version"));
        auto *version = d->findChild<QLabel *>(QStringLiteral("labelVersion"));
        EXPECT_EQ(version->text(), QStringLiteral("Querying version info..."));
        waitProcessingEvents([&] { return version->text().startsWith(QStringLiteral("Version: 3")); });
        shown[0] = version->text();
        shown[1] = d->findChild<QLabel *>(QStringLiteral("labelDSP"))->text();
        shown[2] = d->findChild<QLabel *>(QStringLiteral("labelFPGA"))->text();
        shown[3] = d->findChild<QLabel *>(QStringLiteral("labelBuild"))->text();
        return int(QDialog::Accepted);
    };
    w.slot_version_dlg();
    EXPECT_EQ(shown[0], QStringLiteral("Version: 3.1.42"));
    EXPECT_EQ(shown[1], QStringLiteral("DSP 1.7"));
    EXPECT_EQ(shown[2], QStringLiteral("FPGA 2.0"));
    EXPECT_EQ(shown[3], QStringLiteral("Jun  5 2009"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Connection, ReportsStillQueuedWhenTheWindowClosesAreHarmless)
{
    TestWindow &w = open();
    w.set_online(true);
    ASSERT_TRUE(peer.waitAccepted(1)); // the link is up, its reports wait in the queue
    ASSERT_TRUE(test::waitUntil([&] { return w.transport()->isConnected(); }));
    w.close();
    QApplication::processEvents();
    EXPECT_EQ(w.transport(), nullptr);
    EXPECT_EQ(app().link, nullptr);
}

TEST_F(Connection, EveryLinkReportClearsTheStoredVersion)
{
    TestWindow &w = open();
    ProcessorVersion v;
    v.major = 9;
    w.store_version(v);
    w.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Pending; }));
    EXPECT_EQ(w.read_version().major, 0);
}

TEST_F(Connection, AProcessorFallenSilentOnLineIsDroppedWithNoReplyAndTriedAgain)
{
    limits.silenceMs = 1000;
    TestWindow &w = open();
    goOnline();
    // Meters alone keep the link: they come for twice the limit.
    for (int i = 0; i < 40; ++i) {
        sendMeters("127.0.0.1");
        test::processEventsFor(50);
    }
    EXPECT_EQ(w.linkState(), LinkState::Online);
    EXPECT_EQ(peer.accepted(), 1);

    w.statuses.clear();
    ASSERT_TRUE(waitProcessingEvents([&] { return w.statusText() == QStringLiteral("No reply"); }));
    EXPECT_EQ(w.statusLook(), StatusLook::Alert);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.statusText() == QStringLiteral("Pending"); }));
    // The end of the dropped link leaves the reason standing until the next attempt.
    EXPECT_EQ(w.statuses, (std::vector<Shown>{{"No reply", 1}, {"Trying..", 2}, {"Pending", 0}}));
    EXPECT_EQ(peer.accepted(), 2);
}

TEST_F(Connection, ALoginWithoutAnAnswerIsGivenUpAsHungAndTriedAgain)
{
    limits.loginMs = 500;
    TestWindow &w = open();
    w.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return w.statusText() == QStringLiteral("Login hung"); }));
    EXPECT_EQ(w.statusLook(), StatusLook::Alert);
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() >= 2; }));
    EXPECT_EQ(peer.accepted(), 2);
    ASSERT_GE(w.statuses.size(), 4u);
    EXPECT_EQ(std::vector<Shown>(w.statuses.begin(), w.statuses.begin() + 4),
              (std::vector<Shown>{{"Trying..", 2}, {"Pending", 0}, {"Login hung", 1}, {"Trying..", 2}}));
}

TEST_F(Connection, TheLoginDialogMayStayOpenLongerThanTheLoginLimit)
{
    limits.loginMs = 300;
    TestWindow &w = open(QStringLiteral("Studio"), 0);
    std::vector<Shown> whileOpen;
    int acceptedWhileOpen = 0;
    w.answer = [&](QDialog *d) {
        test::processEventsFor(1200); // the user takes a while to type
        whileOpen = w.statuses;
        acceptedWhileOpen = peer.accepted();
        d->findChild<QLineEdit *>(QStringLiteral("edit_pswd"))->setText(QStringLiteral("open sesame"));
        return int(QDialog::Accepted);
    };
    w.set_online(true);
    ASSERT_TRUE(framesArrive(1));
    uint8_t f[CONNECT_REPLY_LENGTH];
    reply(f, buildConnectReply(f, CONNECT_PASSWORD));
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() >= 2; }));
    EXPECT_EQ(whileOpen, (std::vector<Shown>{{"Trying..", 2}, {"Pending", 0}}));
    EXPECT_EQ(acceptedWhileOpen, 1);
    uint32_t crc = 0;
    const Frame second = framesOf(MSG_CONNECT)[1];
    ASSERT_TRUE(parseConnect(second.data(), second.size(), crc));
    EXPECT_EQ(crc, orba::crc32(std::string_view("open sesame")));
}

TEST_F(Connection, ADeviceAddressOfZerosIsRefusedAndNeverTakenForThisMachine)
{
    addDevice(QStringLiteral("Unread"), QStringLiteral("0.0.0.0"));
    TestWindow &w = open(QStringLiteral("Studio"));
    goOnline();
    const int unread = app().devices->indexOf(app().devices->findByName(QStringLiteral("Unread")));
    w.answer = [&](QDialog *d) {
        d->findChild<QListWidget *>(QStringLiteral("listWidget"))->setCurrentRow(unread);
        d->accept();
        return d->result();
    };
    w.slot_device_dlg();
    EXPECT_EQ(w.transport(), nullptr);
    EXPECT_TRUE(w.onlineWanted());
    // The old link's end report comes after the choice and leaves the reason standing.
    ASSERT_TRUE(waitProcessingEvents([&] { return w.linkState() == LinkState::Offline; }));
    QApplication::processEvents();
    EXPECT_EQ(w.statusText(), QStringLiteral("No address"));
    EXPECT_EQ(w.statusLook(), StatusLook::Alert);
    EXPECT_EQ(peer.accepted(), 1);
}

TEST_F(Connection, MeterDatagramsAreTakenOnlyFromTheProcessorsAddress)
{
    TestWindow &w = open();
    goOnline();
    // In order: the stranger's datagram has been dealt with once the processor's is taken.
    sendMeters("127.0.0.2");
    sendMeters("127.0.0.1");
    ASSERT_TRUE(waitProcessingEvents([&] {
        w.slot_meter_timer();
        return w.meterDatagrams >= 1;
    }));
    EXPECT_EQ(app().meters->acceptedCount(), 1u);
}
