// SimProcessor: the processor's side of the link, as the simulator plays it. It cuts frames out of
// the application's byte stream (with the link's own FrameAssembler), answers every message the
// application sends, keeps the processor's data in a SimBank, builds meter datagrams, and runs the
// firmware download and the schedule. It owns no socket and no timer: what it sends goes to a
// SimHost, and the host calls the tick operations when their time has come, so tests and the fuzzer
// drive it in process. One thread uses it.
#pragma once

#include "link/frame_assembler.h"
#include "link/frames.h"
#include "sim/sim_bank.h"
#include "sim/sim_clock.h"
#include "sim/sim_firmware.h"
#include "sim/sim_meters.h"

#include <QDateTime>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orba::sim {

// Where the processor's output goes.
class SimHost
{
public:
    virtual ~SimHost() = default;
    virtual void simFrame(const uint8_t *frame, size_t length) = 0; // to the connected application
    virtual void simDatagram(uint16_t /*port*/, const uint8_t * /*bytes*/, size_t /*size*/) {} // to 127.0.0.1
    virtual void simMetersChanged() {} // the meter mode changed (start or stop the meter clock)
    virtual void simFlashStarted() {}  // call flashStep() until it returns false
    virtual void simStateChanged() {}  // something worth saving changed
};

enum class MeterMode { Off, Udp, Tcp };

class SimProcessor
{
public:
    explicit SimProcessor(SimHost *host);
    SimProcessor(const SimProcessor &) = delete;
    SimProcessor &operator=(const SimProcessor &) = delete;

    SimBank &bank() { return m_bank; }
    const SimBank &bank() const { return m_bank; }
    SimClock &clock() { return m_clock; }
    const FirmwareReceiver &firmware() const { return m_firmware; }

    // The login password: MSG_CONNECT must carry its CRC-32. It is the global "RemotePw", so the
    // application can change it; the empty text (CRC 0) means no password.
    void setPassword(const std::string &text);
    bool passwordRequired() const;

    // One line per frame in and out, when set.
    void setLog(std::function<void(const std::string &)> log) { m_log = std::move(log); }

    // Back to an empty processor: no session, default values, empty slots and schedule, the clock
    // at the host's time, no firmware history.
    void resetToEmpty();

    // ---- The connection. A session starts logged out, with meters off and no download.
    void connectionOpened();
    void connectionClosed();
    bool connected() const { return m_session.open; }
    bool loggedIn() const { return m_session.loggedIn; }

    // Bytes from the application: frames are cut out and handled in order.
    void feed(const uint8_t *bytes, size_t count);
    void handleFrame(const uint8_t *frame, size_t length);
    uint64_t framesIn() const { return m_framesIn; }

    // ---- Meters.
    MeterMode meterMode() const { return m_session.meters; }
    uint16_t meterPort() const { return m_session.meterPort; }
    uint8_t meterCounter() const { return m_session.meterCounter; }
    // One meter datagram for the moment t (seconds of a steady clock): over UDP, or as a
    // MSG_METER_DATA frame once the previous one was acknowledged (or a second has passed).
    void meterTick(double t);
    // The whole datagram of the moment t (also used by meterTick).
    void buildMeterDatagram(double t, uint8_t *out);

    // ---- Firmware: one step of writing flash; false once the final answer went out.
    bool flashStep();

    // ---- Schedule: takes the presets of events due since the last call, by the processor's clock.
    void clockTick();

    // Takes a slot into the live settings (mode 2 keeps the installation parameters) and, while a
    // session is open, sends the changed values, the current preset and "ACT_PRST". False for an
    // empty slot or one outside 0-79.
    bool takePreset(int slot, int mode);
    // An edit on the processor's own front panel: stored and, on a logged-in session, sent to the
    // application. False for an unknown id.
    bool frontPanelSet(uint16_t id, uint32_t raw);
    bool frontPanelGlobal(uint16_t id, int32_t value);

    // Version texts and numbers the processor reports (from the last installed image, if any).
    ProcessorVersion version() const;

private:
    struct Session
    {
        bool open = false;
        bool loggedIn = false;
        MeterMode meters = MeterMode::Off;
        uint16_t meterPort = 0;
        uint8_t meterCounter = 0;
        bool meterAckPending = false;
        double meterSentAt = 0;
        std::vector<Event> incomingEvents;
        uint16_t eventsNext = 0;                 // the next block expected; 0 when no list is coming in
        std::array<bool, PRESET_SLOTS> pushed{}; // values stored since the slot's header went out
    };

    static void onFrame(void *self, const uint8_t *frame, size_t length);
    static void sendPacked(void *self, uint8_t *frame, size_t length);
    void send(const uint8_t *frame, size_t length);
    void logFrame(const char *direction, const uint8_t *frame, size_t length);
    void changed();

    void onConnect(const uint8_t *f, size_t n);
    void onValues(const uint8_t *f, size_t n);
    void onGlobals(const uint8_t *f, size_t n);
    void onPresetHeaders(const uint8_t *f, size_t n);
    void onRename(const uint8_t *f, size_t n);
    void onClear(const uint8_t *f, size_t n);
    void onLock(const uint8_t *f, size_t n);
    void onGrab(const uint8_t *f, size_t n);
    void onTake(const uint8_t *f, size_t n);
    void onCurrentPreset(const uint8_t *f, size_t n);
    void onFwBlock(const uint8_t *f, size_t n);
    void onSetClock(const uint8_t *f, size_t n);
    void onEvents(const uint8_t *f, size_t n);
    void onMeterRequestUdp(const uint8_t *f, size_t n);
    void onMeterRequestTcp(const uint8_t *f, size_t n);

    void sendFullState();
    void sendVersion();
    void sendSet(uint8_t target, const SETTINGS_MAP &set); // numbered blocks of 148
    void sendHeaders(const std::vector<int> &slotList);    // seven a frame
    void sendCurrentPreset();
    void sendGlobals(const std::vector<uint16_t> &ids);
    void sendEvents();
    void sendFwAnswer(const FwAnswer &a);

    SimHost *m_host;
    SimBank m_bank;
    SimClock m_clock;
    MeterSynth m_synth;
    FirmwareReceiver m_firmware;
    FrameAssembler m_assembler;
    Session m_session;
    uint64_t m_framesIn = 0;
    QDateTime m_lastScheduleCheck;
    std::function<void(const std::string &)> m_log;
};

// The name of a message type ("MSG_VALUES"), "type N" for an unknown one.
std::string messageName(uint16_t type);

} // namespace orba::sim
