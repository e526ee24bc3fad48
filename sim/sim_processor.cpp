// The processor's session, dispatch, logging, meters, firmware, clock, schedule and version.
// Preset and parameter messages are in sim_processor_presets.cpp.
#include "sim/sim_processor.h"

#include "common/crc32.h"
#include "link/meter_datagram.h"
#include "link/wire.h"
#include "sim/sim_schedule.h"

#include <cstdio>
#include <cstring>

namespace orba::sim {

std::string messageName(uint16_t type)
{
    switch (type) {
    case MSG_VERSION_REQUEST:
        return "MSG_VERSION_REQUEST";
    case MSG_VERSION:
        return "MSG_VERSION";
    case MSG_GRAB_PRESET:
        return "MSG_GRAB_PRESET";
    case MSG_VALUES:
        return "MSG_VALUES";
    case MSG_PRESET_HEADERS:
        return "MSG_PRESET_HEADERS";
    case MSG_PRESET_RENAME:
        return "MSG_PRESET_RENAME";
    case MSG_PRESET_CLEAR:
        return "MSG_PRESET_CLEAR";
    case MSG_METER_REQUEST_UDP:
        return "MSG_METER_REQUEST_UDP";
    case MSG_GLOBALS:
        return "MSG_GLOBALS";
    case MSG_PRESET_LOCK:
        return "MSG_PRESET_LOCK";
    case MSG_FW_BLOCK:
        return "MSG_FW_BLOCK";
    case MSG_FW_ACK:
        return "MSG_FW_ACK";
    case MSG_CONNECT:
        return "MSG_CONNECT";
    case MSG_PING:
        return "MSG_PING";
    case MSG_SET_CLOCK:
        return "MSG_SET_CLOCK";
    case MSG_EVENTS_REQUEST:
        return "MSG_EVENTS_REQUEST";
    case MSG_EVENTS:
        return "MSG_EVENTS";
    case MSG_TAKE_PRESET:
        return "MSG_TAKE_PRESET";
    case MSG_CURRENT_PRESET:
        return "MSG_CURRENT_PRESET";
    case MSG_METER_REQUEST_TCP:
        return "MSG_METER_REQUEST_TCP";
    case MSG_METER_DATA:
        return "MSG_METER_DATA";
    case MSG_METER_ACK:
        return "MSG_METER_ACK";
    default:
        return "type " + std::to_string(type);
    }
}

SimProcessor::SimProcessor(SimHost *host) : m_host(host), m_assembler(&SimProcessor::onFrame, this) {}

void SimProcessor::setPassword(const std::string &text)
{
    m_bank.globals.setInt(G_REMOTE_PW, int32_t(crc32(text)), CHANGE_LOCAL);
}

bool SimProcessor::passwordRequired() const
{
    return m_bank.globals.get(G_REMOTE_PW) != 0;
}

void SimProcessor::changed()
{
    if (m_host)
        m_host->simStateChanged();
}

void SimProcessor::resetToEmpty()
{
    connectionClosed();
    m_bank.reset();
    m_clock.setOffsetSeconds(0);
    const uint8_t none[4] = {};
    m_clock.setSntp(false, none, 0);
    m_firmware = FirmwareReceiver();
    m_synth = MeterSynth();
    m_lastScheduleCheck = QDateTime();
}

void SimProcessor::connectionOpened()
{
    m_assembler.reset();
    m_firmware.reset();
    m_session = Session{};
    m_session.open = true;
    if (m_host)
        m_host->simMetersChanged();
}

void SimProcessor::connectionClosed()
{
    m_assembler.reset();
    m_firmware.reset();
    m_session = Session{};
    if (m_host)
        m_host->simMetersChanged();
}

void SimProcessor::feed(const uint8_t *bytes, size_t count)
{
    m_assembler.feed(bytes, count);
}

void SimProcessor::onFrame(void *self, const uint8_t *frame, size_t length)
{
    static_cast<SimProcessor *>(self)->handleFrame(frame, length);
}

void SimProcessor::sendPacked(void *self, uint8_t *frame, size_t length)
{
    static_cast<SimProcessor *>(self)->send(frame, length);
}

void SimProcessor::send(const uint8_t *frame, size_t length)
{
    logFrame("out", frame, length);
    if (m_host)
        m_host->simFrame(frame, length);
}

namespace {

// A few fields that tell one frame of a kind from the next, for the log; read with the link's own
// parsers, so a frame they refuse shows no details.
std::string frameDetails(uint16_t type, const uint8_t *f, size_t n)
{
    char text[96] = "";
    const auto show = [&](const char *format, auto... values) {
        std::snprintf(text, sizeof text, format, values...);
    };
    switch (type) {
    case MSG_VALUES:
        if (ValuesMsg m; parseValues(f, n, m))
            show("  target %u, block %u of %u, %u entries", unsigned(m.target), unsigned(m.block),
                 unsigned(m.blocks), unsigned(m.claimed));
        break;
    case MSG_EVENTS:
        if (EventsMsg m; parseEvents(f, n, m))
            show("  block %u of %u, %u entries", unsigned(m.block), unsigned(m.blocks), unsigned(m.claimed));
        break;
    case MSG_GLOBALS:
        if (GlobalsMsg m; parseGlobals(f, n, m))
            show("  %u entries", unsigned(m.claimed));
        break;
    case MSG_PRESET_HEADERS:
        if (PresetHeadersMsg m; parsePresetHeaders(f, n, m))
            show("  %u entries", unsigned(m.claimed));
        break;
    case MSG_FW_BLOCK:
        if (FwBlockMsg m; parseFwBlock(f, n, m))
            show("  block %u of %u", unsigned(m.block), unsigned(m.blocks));
        break;
    case MSG_FW_ACK:
        if (FwAckMsg m; parseFwAck(f, n, m))
            show("  block %u of %u, code %u", unsigned(m.block), unsigned(m.blocks), unsigned(m.code));
        break;
    case MSG_GRAB_PRESET:
        if (uint8_t slot = 0; parseGrabPreset(f, n, slot))
            show("  slot %u", unsigned(slot));
        break;
    case MSG_PRESET_RENAME:
        if (PresetRenameMsg m; parsePresetRename(f, n, m))
            show("  slot %u", unsigned(m.slot));
        break;
    case MSG_PRESET_LOCK:
        if (PresetLockMsg m; parsePresetLock(f, n, m))
            show("  slot %u", unsigned(m.slot));
        break;
    case MSG_TAKE_PRESET:
        if (TakePresetMsg m; parseTakePreset(f, n, m))
            show("  slot %u, mode %u", unsigned(m.slot), unsigned(m.mode));
        break;
    case MSG_CONNECT:
        if (uint32_t crc = 0; parseConnect(f, n, crc))
            show("  password CRC %08x", unsigned(crc));
        else if (uint16_t result = 0; parseConnectReply(f, n, result))
            show("  result %u", unsigned(result));
        break;
    default:
        break;
    }
    return text;
}

} // namespace

void SimProcessor::logFrame(const char *direction, const uint8_t *frame, size_t length)
{
    if (!m_log)
        return;
    const uint16_t type = frameType(frame, length);
    char line[64];
    std::snprintf(line, sizeof line, "%-3s %-22s %4zu bytes", direction, messageName(type).c_str(), length);
    m_log(line + frameDetails(type, frame, length));
}

void SimProcessor::handleFrame(const uint8_t *frame, size_t length)
{
    ++m_framesIn;
    logFrame("in", frame, length);
    const uint16_t type = frameType(frame, length);
    // With a password set, nothing but the login and the ping is taken before the login. A session
    // served while there was none stays served when one is set.
    if (!passwordRequired())
        m_session.loggedIn = true;
    else if (!m_session.loggedIn && type != MSG_CONNECT && type != MSG_PING)
        return;
    switch (type) {
    case MSG_CONNECT:
        return onConnect(frame, length);
    case MSG_PING:
        return;
    case MSG_VERSION_REQUEST:
        return sendVersion();
    case MSG_VALUES:
        return onValues(frame, length);
    case MSG_GLOBALS:
        return onGlobals(frame, length);
    case MSG_PRESET_HEADERS:
        return onPresetHeaders(frame, length);
    case MSG_PRESET_RENAME:
        return onRename(frame, length);
    case MSG_PRESET_CLEAR:
        return onClear(frame, length);
    case MSG_PRESET_LOCK:
        return onLock(frame, length);
    case MSG_GRAB_PRESET:
        return onGrab(frame, length);
    case MSG_TAKE_PRESET:
        return onTake(frame, length);
    case MSG_CURRENT_PRESET:
        return onCurrentPreset(frame, length);
    case MSG_FW_BLOCK:
        return onFwBlock(frame, length);
    case MSG_SET_CLOCK:
        return onSetClock(frame, length);
    case MSG_EVENTS_REQUEST:
        return sendEvents();
    case MSG_EVENTS:
        return onEvents(frame, length);
    case MSG_METER_REQUEST_UDP:
        return onMeterRequestUdp(frame, length);
    case MSG_METER_REQUEST_TCP:
        return onMeterRequestTcp(frame, length);
    case MSG_METER_ACK:
        m_session.meterAckPending = false;
        return;
    default:
        return; // the processor's own messages and unknown types
    }
}

// ---- Login ----

void SimProcessor::onConnect(const uint8_t *f, size_t n)
{
    uint32_t crc = 0;
    if (!parseConnect(f, n, crc))
        return;
    const uint32_t expected = uint32_t(m_bank.globals.get(G_REMOTE_PW));
    uint8_t reply[CONNECT_REPLY_LENGTH];
    if (expected != 0 && crc != expected) {
        m_session.loggedIn = false;
        send(reply, buildConnectReply(reply, CONNECT_PASSWORD));
        return;
    }
    m_session.loggedIn = true;
    send(reply, buildConnectReply(reply, CONNECT_ACCEPTED));
    sendFullState();
}

void SimProcessor::sendFullState()
{
    std::vector<int> all;
    for (int s = 0; s < PRESET_SLOTS; ++s)
        all.push_back(s);
    sendHeaders(all);
    sendSet(TARGET_LIVE, m_bank.live);
    std::vector<uint16_t> ids;
    for (uint16_t id = firstGlobalId(); id != GLOBALS_END; id = nextGlobalId(id))
        ids.push_back(id);
    sendGlobals(ids);
    sendCurrentPreset();
}

// ---- Version ----

ProcessorVersion SimProcessor::version() const
{
    ProcessorVersion v;
    v.major = 2;
    v.minor = 1;
    v.build = 4;
    std::string texts[3] = {"Mar 12 2024 10:41:07", "FPGA 3.07", "DSP 2.1.4"};
    if (const auto &img = m_firmware.installed()) {
        unsigned a = 0, b = 0, c = 0;
        if (std::sscanf(img->ap.c_str(), " %u.%u.%u", &a, &b, &c) >= 2) {
            v.major = uint16_t(a);
            v.minor = uint16_t(b);
            v.build = uint16_t(c);
        }
        texts[0] = img->build;
        texts[1] = img->fpga;
        texts[2] = img->dsp;
    }
    for (int i = 0; i < 3; ++i)
        std::snprintf(v.text[i], sizeof v.text[i], "%s", texts[i].c_str());
    return v;
}

void SimProcessor::sendVersion()
{
    uint8_t frame[VERSION_LENGTH];
    send(frame, buildVersion(frame, version()));
}

// ---- Meters ----

void SimProcessor::onMeterRequestUdp(const uint8_t *f, size_t n)
{
    uint16_t port = 0;
    uint8_t counter = 0;
    if (!parseMeterRequestUdp(f, n, port, counter) || port == 0)
        return;
    m_session.meters = MeterMode::Udp;
    m_session.meterPort = port;
    m_session.meterCounter = counter;
    if (m_host)
        m_host->simMetersChanged();
}

void SimProcessor::onMeterRequestTcp(const uint8_t *f, size_t n)
{
    uint8_t counter = 0;
    if (!parseMeterRequestTcp(f, n, counter))
        return;
    m_session.meters = MeterMode::Tcp;
    m_session.meterCounter = counter;
    m_session.meterAckPending = false;
    if (m_host)
        m_host->simMetersChanged();
}

void SimProcessor::buildMeterDatagram(double t, uint8_t *out)
{
    MeterHeader h;
    h.counter = m_session.meterCounter;
    m_clock.fill(h.clock);
    h.sntp = m_clock.sntp();
    std::memcpy(h.server, m_clock.server(), 4);
    h.tzOffset = m_clock.tzOffset();
    orba::buildMeterDatagram(out, h, nullptr);
    m_synth.fill(t, MeterInputs::from(m_bank.live, m_bank.globals), out);
}

void SimProcessor::meterTick(double t)
{
    if (!m_session.open || m_session.meters == MeterMode::Off)
        return;
    if (m_session.meters == MeterMode::Tcp && m_session.meterAckPending && t - m_session.meterSentAt < 1.0)
        return; // paced by the application's acknowledgements
    uint8_t frame[METER_DATA_LENGTH];
    uint8_t *datagram = frame + METER_DATA_OFFSET;
    buildMeterDatagram(t, datagram);
    if (m_session.meters == MeterMode::Udp) {
        if (m_host)
            m_host->simDatagram(m_session.meterPort, datagram, METER_SIZE);
        return;
    }
    m_session.meterAckPending = true;
    m_session.meterSentAt = t;
    send(frame, buildMeterData(frame, datagram));
}

// ---- Firmware ----

void SimProcessor::sendFwAnswer(const FwAnswer &a)
{
    uint8_t frame[FRAME_MAX_LENGTH];
    send(frame, buildFwAck(frame, a.block, a.blocks, a.code, a.text.c_str()));
}

void SimProcessor::onFwBlock(const uint8_t *f, size_t n)
{
    FwBlockMsg block;
    if (!parseFwBlock(f, n, block))
        return;
    const auto answer = m_firmware.onBlock(block);
    if (!answer)
        return;
    sendFwAnswer(*answer);
    if (m_firmware.flashing() && m_host)
        m_host->simFlashStarted();
}

bool SimProcessor::flashStep()
{
    if (!m_firmware.flashing())
        return false;
    sendFwAnswer(m_firmware.flashStep());
    return m_firmware.flashing();
}

// ---- Clock and events ----

void SimProcessor::onSetClock(const uint8_t *f, size_t n)
{
    ClockSetting s;
    if (!parseSetClock(f, n, s) || !m_clock.apply(s))
        return;
    m_lastScheduleCheck = QDateTime(); // a new time: no catching up on the seconds in between
    changed();
}

void SimProcessor::sendEvents()
{
    const auto &events = m_bank.events;
    const size_t count = events.size();
    const uint16_t blocks = uint16_t(count == 0 ? 1 : (count + EVENTS_PER_FRAME - 1) / EVENTS_PER_FRAME);
    uint8_t frame[EVENTS_OUT_LENGTH];
    for (uint16_t b = 0; b < blocks; ++b) {
        const size_t first = size_t(b) * EVENTS_PER_FRAME;
        const size_t n = std::min<size_t>(EVENTS_PER_FRAME, count - first);
        uint8_t records[EVENTS_PER_FRAME * EVENT_RECORD_SIZE];
        for (size_t i = 0; i < n; ++i)
            std::memcpy(records + i * EVENT_RECORD_SIZE, events[first + i].data(), EVENT_RECORD_SIZE);
        send(frame, buildEvents(frame, uint16_t(b + 1), blocks, uint16_t(n), records, false));
    }
}

void SimProcessor::onEvents(const uint8_t *f, size_t n)
{
    EventsMsg msg;
    if (!parseEvents(f, n, msg) || msg.block == 0 || msg.blocks == 0 || msg.block > msg.blocks)
        return;
    Session &s = m_session;
    if (msg.block == 1) {
        s.incomingEvents.clear();
        s.eventsNext = 1;
    } else if (msg.block != s.eventsNext) {
        s.eventsNext = 0; // a block went missing: the list is dropped, the old schedule stays
        return;
    }
    for (size_t i = 0; i < msg.count && s.incomingEvents.size() < size_t(EVENTS_MAX); ++i) {
        Event e;
        std::memcpy(e.data(), msg.records + i * EVENT_RECORD_SIZE, EVENT_RECORD_SIZE);
        s.incomingEvents.push_back(e);
    }
    ++s.eventsNext;
    if (msg.block == msg.blocks) {
        m_bank.events = std::move(s.incomingEvents);
        s.incomingEvents.clear();
        s.eventsNext = 0;
        m_lastScheduleCheck = QDateTime();
        changed();
    }
}

void SimProcessor::clockTick()
{
    const QDateTime now = m_clock.now();
    const auto slotList = dueSlots(m_bank.events, m_lastScheduleCheck, now);
    m_lastScheduleCheck = now;
    const int mode = m_bank.globals.getBool(G_S_FOLLOW) ? 0 : 2;
    for (uint32_t slot : slotList)
        if (slot < uint32_t(PRESET_SLOTS)) {
            if (m_log)
                m_log("schedule: taking preset " + std::to_string(slot + 1));
            takePreset(int(slot), mode);
        }
}

} // namespace orba::sim
