// The session against a loopback stand-in for the processor, seen through its signals: the handshake,
// the status texts, losing the link, sending changes, the meters, the dead-processor limits, undo.
#include "link/frames.h"
#include "link/meter.h"
#include "link/wire.h"
#include "loopback_peer.h"
#include "preset_samples.h"
#include "session/session.h"
#include "wait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace orba;
using orba::test::Frame;
using orba::test::LoopbackPeer;
using orba::test::waitProcessingEvents;

namespace {

struct Shown
{
    QString text;
    StatusLook look;
    bool operator==(const Shown &o) const { return text == o.text && look == o.look; }
};

std::ostream &operator<<(std::ostream &out, const Shown &s)
{
    return out << '{' << s.text.toStdString() << ',' << int(s.look) << '}';
}

// The password code a connect frame carries.
uint32_t loginCode(const Frame &connect)
{
    uint32_t crc = 1;
    EXPECT_TRUE(parseConnect(connect.data(), connect.size(), crc));
    return crc;
}

// The raw value at the other end of the parameter's range from the one the set holds.
uint32_t farRaw(const SETTINGS_MAP &set, uint16_t id)
{
    return set.getRaw(id) == set.getRawMax(id) ? set.getRawMin(id) : set.getRawMax(id);
}

class SessionTest : public ::testing::Test
{
protected:
    // A session aimed at the peer, with the statuses it shows recorded.
    Session &open(uint32_t loginCrc = 0x1234)
    {
        options.processorPort = options.processorPort ? options.processorPort : peer.port();
        options.meterFirstPort = options.meterFirstPort ? options.meterFirstPort : test::freeUdpPort();
        session = std::make_unique<Session>(options);
        session->setTarget({QStringLiteral("Studio"), QStringLiteral("127.0.0.1"), loginCrc});
        session->setLoginPrompt([this] {
            ++prompts;
            return prompt ? prompt() : LoginAnswer{};
        });
        statusSpy = std::make_unique<QSignalSpy>(session.get(), &Session::statusChanged);
        return *session;
    }
    std::vector<Shown> statuses() const
    {
        std::vector<Shown> out;
        for (const QList<QVariant> &args : *statusSpy)
            out.push_back({args[0].toString(), args[1].value<StatusLook>()});
        return out;
    }
    bool showed(const Shown &status) const
    {
        const auto all = statuses();
        return std::find(all.begin(), all.end(), status) != all.end();
    }
    std::vector<Frame> framesOf(uint8_t type) const { return peer.framesOfType(type); }
    bool framesArrive(size_t count)
    {
        return waitProcessingEvents([&] { return peer.frames().size() >= count; });
    }
    // The client may see its connection made before the peer's thread has taken it.
    void reply(const uint8_t *frame, size_t length)
    {
        ASSERT_TRUE(waitProcessingEvents([&] { return peer.connected(); }));
        ASSERT_TRUE(peer.send(frame, length));
    }
    void answerLogin(uint16_t result)
    {
        uint8_t f[CONNECT_REPLY_LENGTH];
        reply(f, buildConnectReply(f, result));
    }
    void goOnline()
    {
        session->set_online(true);
        ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_CONNECT).empty(); }));
        answerLogin(CONNECT_ACCEPTED);
        ASSERT_TRUE(waitProcessingEvents([&] { return session->state() == LinkState::Online; }));
        ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_METER_REQUEST_UDP).empty(); }));
    }
    // A meter datagram answering the latest request, sent to the session's receiver from a
    // loopback address (all of 127/8 is this machine).
    void sendMeters(const char *from)
    {
        uint8_t dg[METER_SIZE];
        MeterHeader h;
        h.counter = session->meters().requestCounter();
        buildMeterDatagram(dg, h, nullptr);
        ASSERT_TRUE(test::sendDatagram(session->meters().port(), dg, sizeof dg, from)) << from;
    }

    // A lost link comes back soon; the dead-processor limits stay as shipped unless a test says so.
    SessionOptions options{0, 0, LinkLimits{200, 10000, 15000}};
    LoopbackPeer peer;
    std::function<LoginAnswer()> prompt;
    int prompts = 0;
    std::unique_ptr<Session> session;
    std::unique_ptr<QSignalSpy> statusSpy;
};

TEST_F(SessionTest, HandshakeSendsTheRememberedPasswordAndGoesOnlineOnReplyTwo)
{
    Session &s = open(0xCAFE1234);
    QSignalSpy states(&s, &Session::stateChanged);
    QSignalSpy wanted(&s, &Session::onlineWantedChanged);
    s.set_online(true);
    EXPECT_EQ(s.state(), LinkState::Trying);
    ASSERT_EQ(wanted.size(), 1);
    EXPECT_TRUE(wanted[0][0].toBool());
    ASSERT_TRUE(framesArrive(1));
    EXPECT_EQ(loginCode(peer.frames()[0]), 0xCAFE1234u);
    EXPECT_EQ(s.statusText(), QStringLiteral("Pending"));

    answerLogin(CONNECT_ACCEPTED);
    ASSERT_TRUE(waitProcessingEvents([&] { return s.isOnline(); }));
    EXPECT_EQ(statuses(), (std::vector<Shown>{{"Trying..", StatusLook::Busy},
                                              {"Pending", StatusLook::Normal},
                                              {"Online", StatusLook::Normal}}));
    ASSERT_EQ(states.size(), 3);
    EXPECT_EQ(states[0][0].value<LinkState>(), LinkState::Trying);
    EXPECT_EQ(states[1][0].value<LinkState>(), LinkState::Pending);
    EXPECT_EQ(states[2][0].value<LinkState>(), LinkState::Online);

    // On line the meters are asked for on the receiver's port with a fresh counter.
    ASSERT_TRUE(framesArrive(2));
    const auto requests = framesOf(MSG_METER_REQUEST_UDP);
    ASSERT_EQ(requests.size(), 1u);
    uint16_t port = 0;
    uint8_t counter = 0;
    ASSERT_TRUE(parseMeterRequestUdp(requests[0].data(), requests[0].size(), port, counter));
    EXPECT_EQ(port, s.meters().port());
    EXPECT_EQ(counter, s.meters().requestCounter());
}

TEST_F(SessionTest, ABareAddressWithoutADeviceLogsInWithTheNoDeviceCode)
{
    Session &s = open();
    s.setTarget({QString(), QStringLiteral("127.0.0.1"), 0x1234});
    s.set_online(true);
    ASSERT_TRUE(framesArrive(1));
    EXPECT_EQ(loginCode(peer.frames()[0]), CONNECT_NO_DEVICE);
}

// With the first meter port taken, the meter request carries the one bound.
TEST_F(SessionTest, ForceconnectGoesOnlineWithoutAHandshakeAndAsksForMetersOnTheBoundPort)
{
    const uint16_t first = test::freeUdpPort();
    METERIFACE blocker(nullptr, nullptr, first);
    ASSERT_EQ(blocker.port(), first);
    options.meterFirstPort = first;
    options.forceConnect = true;
    Session &s = open();
    EXPECT_GT(s.meters().port(), first);
    s.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return s.state() == LinkState::Online; }));
    EXPECT_EQ(s.statusText(), QStringLiteral("Online"));
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_METER_REQUEST_UDP).empty(); }));
    EXPECT_TRUE(framesOf(MSG_CONNECT).empty());
    const auto requests = framesOf(MSG_METER_REQUEST_UDP);
    ASSERT_EQ(requests.size(), 1u);
    uint16_t port = 0;
    uint8_t counter = 0;
    ASSERT_TRUE(parseMeterRequestUdp(requests[0].data(), requests[0].size(), port, counter));
    EXPECT_EQ(port, s.meters().port());
}

TEST_F(SessionTest, GoingOfflineByChoiceShowsOfflineNormallyAndForgetsTheProcessorsSlots)
{
    Session &s = open();
    goOnline();
    s.presetSlots().set(3, test::usedHeader("Morning Drive"));
    QSignalSpy slotsSpy(&s, &Session::sig_summary_changed);
    s.set_online(false);
    EXPECT_FALSE(s.onlineWanted());
    ASSERT_TRUE(waitProcessingEvents([&] { return s.state() == LinkState::Offline; }));
    EXPECT_EQ(s.statusText(), QStringLiteral("Offline"));
    EXPECT_EQ(s.statusLook(), StatusLook::Normal);
    EXPECT_EQ(s.presetSlots().get(3).inUse, 0);
    EXPECT_FALSE(slotsSpy.isEmpty());
    // A dialog waiting for the processor gives up.
    EXPECT_TRUE(s.grab().isDone());
    EXPECT_TRUE(s.headerWait().isDone());
}

TEST_F(SessionTest, ALostLinkShowsOfflineInTheAlertLookForgetsTheSlotsAndReconnects)
{
    Session &s = open();
    goOnline();
    s.presetSlots().set(0, test::usedHeader("Morning Drive"));
    statusSpy->clear();
    peer.closeConnection();
    ASSERT_TRUE(waitProcessingEvents([&] { return s.statusText() == QStringLiteral("Pending"); }));
    const auto shown = statuses();
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown[0], (Shown{"Offline", StatusLook::Alert}));
    EXPECT_EQ(shown[1], (Shown{"Trying..", StatusLook::Busy}));
    EXPECT_EQ(s.presetSlots().get(0).inUse, 0);
    EXPECT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() >= 2u; }));
    EXPECT_EQ(framesOf(MSG_CONNECT).size(), 2u);
}

TEST_F(SessionTest, AnAttemptThatIsRefusedShowsTryingUntilItsTimeIsUp)
{
    options.processorPort = test::freeTcpPort(); // nothing listens there
    options.limits.connectWaitMs = 10000;
    Session &s = open();
    s.set_online(true);
    test::processEventsFor(300); // refused at once, and tried again within the attempt
    EXPECT_EQ(s.statusText(), QStringLiteral("Trying.."));
    EXPECT_EQ(s.statusLook(), StatusLook::Busy);
    EXPECT_EQ(s.state(), LinkState::Trying);
}

TEST_F(SessionTest, AFailedAttemptLeavesTheSlotsAlone)
{
    options.processorPort = test::freeTcpPort(); // nothing listens there
    Session &s = open();
    s.presetSlots().set(5, test::usedHeader("Morning Drive"));
    s.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return s.statusText() == QStringLiteral("Offline"); }));
    EXPECT_EQ(s.statusLook(), StatusLook::Alert);
    EXPECT_EQ(s.presetSlots().get(5).inUse, 255);
    EXPECT_FALSE(s.grab().isDone());
}

TEST_F(SessionTest, ALossWhilePendingForgetsTheSlots)
{
    Session &s = open();
    s.set_online(true);
    ASSERT_TRUE(framesArrive(1)); // the peer holds the connection, the login waits
    s.presetSlots().set(7, test::usedHeader("Morning Drive"));
    peer.closeConnection();
    // The link comes back at once, so look for the report rather than the text of the moment.
    ASSERT_TRUE(waitProcessingEvents([&] { return showed({"Offline", StatusLook::Alert}); }));
    EXPECT_EQ(s.presetSlots().get(7).inUse, 0);
}

TEST_F(SessionTest, ThePromptMayStayOpenLongerThanTheLoginLimit)
{
    options.limits.loginMs = 300;
    Session &s = open(0);
    std::vector<Shown> whileOpen;
    int acceptedWhileOpen = 0;
    prompt = [&] {
        test::processEventsFor(1200); // the user takes a while to type
        whileOpen = statuses();
        acceptedWhileOpen = peer.accepted();
        return LoginAnswer{true, 77};
    };
    s.set_online(true);
    ASSERT_TRUE(framesArrive(1));
    answerLogin(CONNECT_PASSWORD);
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() >= 2; }));
    EXPECT_EQ(whileOpen,
              (std::vector<Shown>{{"Trying..", StatusLook::Busy}, {"Pending", StatusLook::Normal}}));
    EXPECT_EQ(acceptedWhileOpen, 1);
}

TEST_F(SessionTest, ALinkReplacedWhileThePromptIsOpenIsNotAnsweredForTheOldOne)
{
    Session &s = open(0);
    prompt = [&] {
        // The user switches off line and on again meanwhile: the new link logs in by itself.
        s.set_online(false);
        s.set_online(true);
        return LoginAnswer{true, 77};
    };
    s.set_online(true);
    ASSERT_TRUE(framesArrive(1));
    answerLogin(CONNECT_PASSWORD);
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() >= 2; }));
    EXPECT_EQ(peer.accepted(), 2);
    test::processEventsFor(100);
    for (const Frame &f : framesOf(MSG_CONNECT))
        EXPECT_EQ(loginCode(f), 0u); // never the answer meant for the link that is gone
}

TEST_F(SessionTest, WithoutATargetGoingOnlineOnlyStoresTheWish)
{
    Session &s = open();
    s.setTarget({});
    s.set_online(true);
    EXPECT_TRUE(s.onlineWanted());
    EXPECT_EQ(s.state(), LinkState::Initial);
    test::processEventsFor(50);
    EXPECT_EQ(peer.accepted(), 0);
}

TEST_F(SessionTest, AnAddressOfZerosIsRefusedAndNeverTakenForThisMachine)
{
    Session &s = open();
    goOnline();
    s.setTarget({QStringLiteral("Unread"), QStringLiteral("0.0.0.0"), 0});
    s.set_online(true);
    EXPECT_TRUE(s.onlineWanted());
    // The old link's end report comes after and leaves the reason standing.
    ASSERT_TRUE(waitProcessingEvents([&] { return s.state() == LinkState::Offline; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(s.statusText(), QStringLiteral("No address"));
    EXPECT_EQ(s.statusLook(), StatusLook::Alert);
    EXPECT_EQ(peer.accepted(), 1);
}

TEST_F(SessionTest, PingAndChangedValuesGoToTheProcessor)
{
    options.pingMs = 50;
    Session &s = open();
    goOnline();
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_PING).empty(); }));
    EXPECT_EQ(framesOf(MSG_PING)[0], (Frame{0xA5, 0xA5, 6, 0, MSG_PING, 0}));

    QSignalSpy sent(&s, &Session::changesSent);
    const uint16_t id = firstSettingId();
    SETTINGS_MAP &live = s.live();
    live.setIndex(id, farRaw(live, id), CHANGE_USER);
    s.globals().setInt(G_DELAY, 77, CHANGE_USER);
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
    ASSERT_EQ(sent.size(), 2);
    EXPECT_TRUE(sent[0][0].toBool());
    EXPECT_TRUE(sent[1][0].toBool());
}

TEST_F(SessionTest, ChangesSentNowSayWhetherTheyWentOut)
{
    Session &s = open();
    const uint16_t id = firstSettingId();
    s.live().setIndex(id, farRaw(s.live(), id), CHANGE_USER);
    EXPECT_FALSE(s.sendChanges()); // no link

    goOnline();
    s.live().setIndex(id, s.live().getRawMin(id), CHANGE_USER);
    s.globals().setInt(G_DELAY, 12, CHANGE_USER);
    EXPECT_TRUE(s.sendChanges());
    ASSERT_TRUE(waitProcessingEvents(
        [&] { return !framesOf(MSG_VALUES).empty() && !framesOf(MSG_GLOBALS).empty(); }));
    // The queued send that the edits raised finds nothing left to send.
    test::processEventsFor(50);
    EXPECT_EQ(framesOf(MSG_VALUES).size(), 1u);
    EXPECT_EQ(framesOf(MSG_GLOBALS).size(), 1u);
}

TEST_F(SessionTest, ProcessorValuesAreShownButNeverEchoed)
{
    Session &s = open();
    goOnline();
    QSignalSpy shown(&s, &Session::sig_gui_settings_dirty);
    QSignalSpy complete(&s, &Session::liveValuesComplete);
    const uint16_t id = firstSettingId();
    SETTINGS_MAP model;
    model.setIndex(id, farRaw(s.live(), id), CHANGE_LOCAL);
    uint8_t f[12 + 8];
    putValuesHeader(f, TARGET_LIVE, 1, 2, 1); // block 1 of 2
    putSettingEntry(f + 12, model, id);
    reply(f, sizeof f);
    ASSERT_TRUE(waitProcessingEvents([&] { return !shown.isEmpty(); }));
    EXPECT_TRUE(s.settingsToShow().take(id));
    EXPECT_TRUE(complete.isEmpty());
    putValuesHeader(f, TARGET_LIVE, 2, 2, 1);
    reply(f, sizeof f);
    ASSERT_TRUE(waitProcessingEvents([&] { return !complete.isEmpty(); }));
    peer.clear();
    s.link().send_ping();
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_PING).empty(); }));
    EXPECT_TRUE(framesOf(MSG_VALUES).empty());
}

TEST_F(SessionTest, AFrameCutByAReconnectIsNeverCompleted)
{
    Session &s = open();
    goOnline();
    SETTINGS_MAP &live = s.live();
    const uint16_t cut = firstSettingId();
    const uint16_t later = nextSettingId(cut);
    const uint32_t cutBefore = live.getRaw(cut);

    SETTINGS_MAP model;
    model.setIndex(cut, farRaw(live, cut), CHANGE_LOCAL);
    uint8_t f[12 + 8];
    putValuesHeader(f, TARGET_LIVE, 1, 1, 1);
    putSettingEntry(f + 12, model, cut);
    reply(f, 14); // half a frame, then the link drops
    peer.closeConnection();
    ASSERT_TRUE(peer.waitAccepted(2));
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() == 2; }));
    reply(f + 14, sizeof f - 14); // the rest arrives on the new connection

    const uint32_t laterTarget = farRaw(live, later);
    model.setIndex(later, laterTarget, CHANGE_LOCAL);
    putSettingEntry(f + 12, model, later);
    reply(f, sizeof f);
    ASSERT_TRUE(waitProcessingEvents([&] { return live.getRaw(later) == laterTarget; }));
    EXPECT_EQ(live.getRaw(cut), cutBefore);
}

TEST_F(SessionTest, MetersOverTcpAreAskedForAcknowledgedAndArriveWithTheClock)
{
    Session &s = open();
    goOnline();
    QSignalSpy clock(&s, &Session::sig_ap_clock);
    QSignalSpy meters(&s, &Session::metersArrived);
    s.set_tcp_meters(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_METER_REQUEST_TCP).empty(); }));
    const Frame request = framesOf(MSG_METER_REQUEST_TCP)[0];
    uint8_t counter = 0;
    ASSERT_TRUE(parseMeterRequestTcp(request.data(), request.size(), counter));
    EXPECT_EQ(counter, s.meters().requestCounter());

    MeterHeader h;
    h.counter = counter;
    const uint8_t time[7] = {24, 3, 15, 5, 13, 45, 10};
    std::memcpy(h.clock, time, 7);
    h.sntp = true;
    h.server[0] = 192;
    h.tzOffset = 7200;
    uint8_t dg[METER_SIZE];
    buildMeterDatagram(dg, h, nullptr);
    uint8_t f[METER_DATA_LENGTH];
    reply(f, buildMeterData(f, dg));
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_METER_ACK).empty(); }));
    ASSERT_TRUE(waitProcessingEvents([&] { return meters.size() == 1; }));
    EXPECT_EQ(meters[0][0].toByteArray(), QByteArray(reinterpret_cast<const char *>(dg), METER_SIZE));
    EXPECT_EQ(std::memcmp(s.clock().clock, time, 7), 0);
    EXPECT_TRUE(s.clock().sntp);
    EXPECT_EQ(s.clock().tzOffset, 7200);
    EXPECT_EQ(clock.size(), 1);

    // The same clock again raises no clock signal.
    reply(f, buildMeterData(f, dg));
    ASSERT_TRUE(waitProcessingEvents([&] { return meters.size() == 2; }));
    EXPECT_EQ(clock.size(), 1);
}

TEST_F(SessionTest, MetersWaitUntilTheSessionIsOnline)
{
    options.meterMs = 20;
    Session &s = open();
    QSignalSpy meters(&s, &Session::metersArrived);
    uint8_t dg[METER_SIZE];
    MeterHeader h;
    h.counter = s.meters().nextRequestCounter();
    buildMeterDatagram(dg, h, nullptr);
    ASSERT_TRUE(s.meters().check_datagram(dg));
    test::processEventsFor(100);
    EXPECT_TRUE(meters.isEmpty());
    uint8_t out[METER_SIZE];
    EXPECT_EQ(s.meters().fetch(out), 0); // still there for when the link is up
}

TEST_F(SessionTest, EveryLinkReportClearsTheStoredVersion)
{
    Session &s = open();
    ProcessorVersion v;
    v.major = 9;
    s.link().context().version->store(v);
    QSignalSpy version(&s, &Session::sig_recv_version);
    s.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return s.state() == LinkState::Pending; }));
    EXPECT_EQ(s.version().major, 0);
    EXPECT_FALSE(version.isEmpty());
}

TEST_F(SessionTest, AProcessorFallenSilentOnLineIsDroppedWithNoReplyAndTriedAgain)
{
    options.limits.silenceMs = 1000;
    Session &s = open();
    goOnline();
    // Meters alone keep the link: they come for twice the limit.
    for (int i = 0; i < 40; ++i) {
        sendMeters("127.0.0.1");
        test::processEventsFor(50);
    }
    EXPECT_EQ(s.state(), LinkState::Online);
    EXPECT_EQ(peer.accepted(), 1);

    statusSpy->clear();
    ASSERT_TRUE(waitProcessingEvents([&] { return s.statusText() == QStringLiteral("No reply"); }));
    EXPECT_EQ(s.statusLook(), StatusLook::Alert);
    ASSERT_TRUE(waitProcessingEvents([&] { return s.statusText() == QStringLiteral("Pending"); }));
    // The end of the dropped link leaves the reason standing until the next attempt.
    EXPECT_EQ(statuses(), (std::vector<Shown>{{"No reply", StatusLook::Alert},
                                              {"Trying..", StatusLook::Busy},
                                              {"Pending", StatusLook::Normal}}));
    // The client is connected once the peer's system has accepted; the peer counts when it gets to it.
    EXPECT_TRUE(waitProcessingEvents([&] { return peer.accepted() == 2; })) << peer.accepted();
}

TEST_F(SessionTest, ALoginWithoutAnAnswerIsGivenUpAsHungAndTriedAgain)
{
    options.limits.loginMs = 500;
    Session &s = open();
    s.set_online(true);
    ASSERT_TRUE(waitProcessingEvents([&] { return s.statusText() == QStringLiteral("Login hung"); }));
    EXPECT_EQ(s.statusLook(), StatusLook::Alert);
    ASSERT_TRUE(waitProcessingEvents([&] { return framesOf(MSG_CONNECT).size() >= 2; }));
    EXPECT_EQ(peer.accepted(), 2);
    const auto shown = statuses();
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(std::vector<Shown>(shown.begin(), shown.begin() + 4),
              (std::vector<Shown>{{"Trying..", StatusLook::Busy},
                                  {"Pending", StatusLook::Normal},
                                  {"Login hung", StatusLook::Alert},
                                  {"Trying..", StatusLook::Busy}}));
}

TEST_F(SessionTest, ASessionDestroyedWithReportsStillQueuedLeavesQuietly)
{
    Session &s = open();
    s.set_online(true);
    ASSERT_TRUE(peer.waitAccepted(1)); // the link is up, its reports wait in the queue
    session.reset();
    statusSpy.reset();
    QCoreApplication::processEvents(); // nothing left to deliver to the session that is gone
    SUCCEED();
}

TEST(SessionSlots, TheSlotProposedForSavingIsTheFirstEmptyThenTheFirstUnlocked)
{
    PresetSlotList list;
    PresetHeader used = test::usedHeader("");
    list.set(0, used);
    EXPECT_EQ(Session::proposeSaveSlot(list), 1);
    for (int i = 0; i < PRESET_SLOTS; ++i) {
        used.lock = i < 5 ? PRESET_LOCKED : PRESET_UNLOCKED;
        list.set(i, used);
    }
    EXPECT_EQ(Session::proposeSaveSlot(list), 5);
    used.lock = PRESET_LOCKED;
    for (int i = 0; i < PRESET_SLOTS; ++i)
        list.set(i, used);
    EXPECT_EQ(Session::proposeSaveSlot(list), -1);
}

} // namespace

// ---- Saving, edits made off line, undo

namespace {

// A value other than the one the set holds.
uint32_t otherRaw(const SETTINGS_MAP &set, uint16_t id, int step = 1)
{
    const uint32_t raw = set.getRaw(id);
    return raw + step <= set.getRawMax(id) ? raw + step : raw - step;
}

} // namespace

class SessionEdits : public SessionTest
{
protected:
    // The processor's live values: one frame, the last block, holding the ids given.
    void sendLive(const SETTINGS_MAP &model, std::initializer_list<uint16_t> ids)
    {
        std::vector<uint8_t> f(12 + 8 * ids.size());
        putValuesHeader(f.data(), TARGET_LIVE, 1, 1, uint16_t(ids.size()));
        size_t at = 12;
        for (uint16_t id : ids) {
            putSettingEntry(f.data() + at, model, id);
            at += 8;
        }
        reply(f.data(), f.size());
    }
    // What the session sent for a parameter, last value first; empty when nothing.
    std::vector<uint32_t> sentValues(uint16_t id) const
    {
        std::vector<uint32_t> out;
        for (const Frame &frame : framesOf(MSG_VALUES)) {
            ValuesMsg v;
            if (!parseValues(frame.data(), frame.size(), v) || v.target != TARGET_LIVE)
                continue;
            for (size_t i = 0; i < v.count; ++i) {
                const uint8_t *entry = v.entries + i * VALUE_ENTRY_SIZE;
                SETTINGS_MAP scratch;
                if (entryId(entry) == id && applySettingEntry(scratch, entry, CHANGE_PROCESSOR))
                    out.insert(out.begin(), scratch.getRaw(id));
            }
        }
        return out;
    }
    const uint16_t gain = 257; // "Input Line Gain": many steps
    const uint16_t other = nextSettingId(257);
};

TEST_F(SessionEdits, SavingIntoASlotMakesItTheCurrentPresetWithoutWaitingForTheProcessor)
{
    Session &s = open();
    goOnline();
    s.live().setIndex(gain, otherRaw(s.live(), gain), CHANGE_USER);
    ASSERT_TRUE(s.presetModified());
    QSignalSpy check(&s, &Session::sig_crc_check);
    s.saveToSlot(s.live(), 4, QStringLiteral("Evening"));
    EXPECT_EQ(s.currentPreset().nameText(), "Evening");
    EXPECT_FALSE(s.presetModified());
    EXPECT_FALSE(check.isEmpty());
}

TEST_F(SessionEdits, EditsMadeOffLineAreKeptAndOfferedOnceTheProcessorsValuesAreIn)
{
    Session &s = open();
    goOnline();
    const uint32_t processorGain = s.live().getRaw(gain);
    s.set_online(false);
    ASSERT_TRUE(waitProcessingEvents([&] { return s.state() == LinkState::Offline; }));

    // Two edits of one parameter keep the last value; another parameter is a second entry.
    const uint32_t mine = otherRaw(s.live(), gain, 2);
    s.live().setIndex(gain, otherRaw(s.live(), gain, 1), CHANGE_USER);
    s.live().setIndex(gain, mine, CHANGE_USER);
    s.globals().setInt(G_DELAY, s.globals().get(G_DELAY) + 3, CHANGE_USER);
    EXPECT_EQ(s.offlineEditCount(), 2);

    int asked = 0;
    QObject::connect(&s, &Session::offlineEditsWaiting, &s, [&](int count) {
        ++asked;
        EXPECT_EQ(count, 2);
        EXPECT_EQ(s.live().getRaw(gain), processorGain); // the processor's value is what shows
        peer.clear();
        EXPECT_TRUE(s.sendOfflineEdits());
    });
    QSignalSpy shown(&s, &Session::sig_gui_settings_dirty);
    peer.clear();
    goOnline();
    SETTINGS_MAP processor;
    processor.setIndex(gain, processorGain, CHANGE_LOCAL);
    sendLive(processor, {gain});
    ASSERT_TRUE(waitProcessingEvents([&] { return asked == 1; }));
    ASSERT_TRUE(waitProcessingEvents([&] { return !sentValues(gain).empty(); }));
    EXPECT_EQ(sentValues(gain).front(), mine);
    ASSERT_TRUE(waitProcessingEvents([&] { return !framesOf(MSG_GLOBALS).empty(); }));
    EXPECT_EQ(s.live().getRaw(gain), mine);
    EXPECT_TRUE(s.settingsToShow().test(gain) || !shown.isEmpty()); // the surface follows
    EXPECT_EQ(s.offlineEditCount(), 0);

    // Asked once: the next values from the processor ask nothing.
    sendLive(processor, {gain});
    test::processEventsFor(100);
    EXPECT_EQ(asked, 1);
}

TEST_F(SessionEdits, KeepingTheProcessorsValuesSendsNothingAndForgetsTheEdits)
{
    Session &s = open();
    s.live().setIndex(gain, otherRaw(s.live(), gain), CHANGE_USER); // never on line yet
    int asked = 0;
    QObject::connect(&s, &Session::offlineEditsWaiting, &s, [&](int) {
        ++asked;
        s.dropOfflineEdits();
    });
    goOnline();
    SETTINGS_MAP processor;
    sendLive(processor, {gain});
    ASSERT_TRUE(waitProcessingEvents([&] { return asked == 1; }));
    ASSERT_TRUE(waitProcessingEvents([&] { return s.live().getRaw(gain) == processor.getRaw(gain); }));
    test::processEventsFor(100);
    EXPECT_TRUE(sentValues(gain).empty());
    EXPECT_EQ(s.offlineEditCount(), 0);
}

TEST_F(SessionEdits, UndoSendsTheValueFromBeforeADragAndRedoSendsItsEnd)
{
    Session &s = open();
    goOnline();
    const uint32_t start = s.live().getRaw(gain);
    const uint32_t end = otherRaw(s.live(), gain, 3);
    for (int i = 1; i <= 3; ++i) {
        s.live().setIndex(gain, end > start ? start + i : start - i, CHANGE_USER);
        ASSERT_TRUE(waitProcessingEvents([&] { return sentValues(gain).size() == size_t(i); }));
    }
    s.live().setIndex(other, otherRaw(s.live(), other), CHANGE_USER);
    ASSERT_TRUE(waitProcessingEvents([&] { return sentValues(gain).size() == 3u; }));
    EXPECT_EQ(s.undoName(), QString::fromLatin1(settingName(other)));

    EXPECT_EQ(s.undo(), Session::UndoResult::Done); // the other parameter
    EXPECT_EQ(s.undoName(), QString::fromLatin1(settingName(gain)));
    EXPECT_EQ(s.undo(), Session::UndoResult::Done); // the whole drag
    ASSERT_TRUE(waitProcessingEvents([&] { return sentValues(gain).size() == 4u; }));
    EXPECT_EQ(sentValues(gain).front(), start);
    EXPECT_EQ(s.live().getRaw(gain), start);
    EXPECT_TRUE(s.settingsToShow().test(gain)); // the knob follows
    EXPECT_EQ(s.undo(), Session::UndoResult::Nothing);

    EXPECT_EQ(s.redoName(), QString::fromLatin1(settingName(gain)));
    EXPECT_EQ(s.redo(), Session::UndoResult::Done);
    ASSERT_TRUE(waitProcessingEvents([&] { return sentValues(gain).size() == 5u; }));
    EXPECT_EQ(sentValues(gain).front(), end);
}

TEST_F(SessionEdits, AValueTheProcessorChangedIsNotUndoneButItsOwnEchoKeepsTheStep)
{
    Session &s = open();
    goOnline();
    const uint32_t start = s.live().getRaw(gain);
    const int d = start + 2 <= s.live().getRawMax(gain) ? 1 : -1;
    const uint32_t first = start + d, mine = start + 2 * d;
    s.live().setIndex(gain, first, CHANGE_USER);
    s.live().setIndex(gain, mine, CHANGE_USER);
    // The processor answers the first send after the second was made, with the value it stored.
    SETTINGS_MAP processor;
    processor.setIndex(gain, first, CHANGE_LOCAL);
    sendLive(processor, {gain});
    ASSERT_TRUE(waitProcessingEvents([&] { return s.live().getRaw(gain) == first; }));
    EXPECT_EQ(s.undoName(), QString::fromLatin1(settingName(gain)));

    // A front-panel turn to a value never sent from here: the step goes.
    processor.setIndex(gain, otherRaw(s.live(), gain, 5), CHANGE_LOCAL);
    sendLive(processor, {gain});
    ASSERT_TRUE(waitProcessingEvents([&] { return s.live().getRaw(gain) == processor.getRaw(gain); }));
    EXPECT_TRUE(s.undoName().isEmpty());
    EXPECT_EQ(s.undo(), Session::UndoResult::Nothing);
    EXPECT_EQ(s.live().getRaw(gain), processor.getRaw(gain));
}

TEST_F(SessionEdits, UndoOffLineIsRefusedAndTheStepKept)
{
    Session &s = open();
    goOnline();
    const uint32_t start = s.live().getRaw(gain);
    s.live().setIndex(gain, otherRaw(s.live(), gain), CHANGE_USER);
    s.set_online(false);
    ASSERT_TRUE(waitProcessingEvents([&] { return s.state() == LinkState::Offline; }));
    EXPECT_EQ(s.undo(), Session::UndoResult::Offline);
    EXPECT_NE(s.live().getRaw(gain), start);
    EXPECT_EQ(s.undoName(), QString::fromLatin1(settingName(gain)));
}
