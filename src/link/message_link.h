// MessageLink: the message layer between the application and the processor. It sends every
// message of the application (each built on the stack and handed whole to the transport) and, on
// the transport's worker thread, cuts the received byte stream into frames and runs the handler of
// each one, storing into the records and parameter sets its context points to. It knows nothing of
// the GUI: what the owner must hear about goes through LinkHost.
#pragma once

#include "link/frame_assembler.h"
#include "link/frames.h"
#include "link/records.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

class tcQTcp;
class METERIFACE;
class GLOBALS_MAP;
class SETTINGS_MAP;

// Told after a handler stored something; called on the transport's worker thread, so an
// implementation only raises queued signals or sets flags.
class LinkHost
{
public:
    virtual ~LinkHost() = default;
    virtual void linkVersionStored() {}
    virtual void linkSlotsChanged() {} // after MSG_PRESET_HEADERS
    virtual void linkEventsReady() {}  // the last block of an event list arrived
    virtual void linkCurrentPresetChanged() {}
    virtual void linkConnectReply(uint16_t /*result*/) {} // CONNECT_ACCEPTED or CONNECT_PASSWORD
    virtual void linkFirmwareAck(const orba::FwAckMsg & /*ack*/) {}
    // A block of live values was stored (blocks: how many the transfer has).
    virtual void linkLiveValues(uint8_t /*block*/, uint8_t /*blocks*/) {}
    // The last block of a pending grab's values was stored (its done flag is set).
    virtual void linkGrabDone() {}
};

// Where received data goes; any pointer may be null, and what would go there is then dropped.
struct LinkContext
{
    SETTINGS_MAP *live = nullptr;
    GLOBALS_MAP *globals = nullptr;
    PresetSlotList *presetSlots = nullptr;
    GrabRecord *grab = nullptr;
    HeaderWaitRecord *headerWait = nullptr;
    VersionRecord *version = nullptr;
    EventList *events = nullptr;
    CurrentPresetRecord *currentPreset = nullptr;
    METERIFACE *meters = nullptr;
    LinkHost *host = nullptr;
};

class MessageLink
{
public:
    explicit MessageLink(const LinkContext &context);
    MessageLink(const MessageLink &) = delete;
    MessageLink &operator=(const MessageLink &) = delete;

    const LinkContext &context() const { return m_ctx; }

    // The transport frames go to; cleared before the transport is destroyed. Returns the old one.
    tcQTcp *setTransport(tcQTcp *transport) { return m_transport.exchange(transport); }
    tcQTcp *transport() const { return m_transport.load(); }

    // ---- Sending (GUI thread; send_meter_ack also from the worker). While no transport is
    // connected the frames are simply lost; the calls that say so return false then.
    // Writes the sync word and the length, then sends unless the frame is 1200 bytes or longer;
    // true when the whole frame went out.
    bool send_frame(uint8_t *frame, size_t length);
    // Every marked id of the set, in table order, in frames of at most 148 entries (block 1 of 1,
    // live target); the marks are cleared as they are packed. True when every frame went out.
    bool send_changed_values(const SETTINGS_MAP &set, SETTINGS_FLAGS &flags);
    // The whole set to a preset slot, in numbered blocks of 148 entries.
    void send_all_values(uint8_t slot, const SETTINGS_MAP &set);
    // Every marked global of the context's globals, in frames of at most 148 entries.
    bool send_changed_globals(GLOBALS_FLAGS &flags);
    void request_version();
    void grab_preset(uint8_t slot);
    void send_preset_header(uint8_t slot, const PresetHeader &header); // slots 0-79 only
    void rename_preset(uint8_t slot, const std::string &name);
    void clear_presets(uint16_t first, uint16_t count);
    void lock_preset(uint8_t slot, uint8_t lock);
    void take_preset(uint8_t slot, uint16_t mode);
    void take_preset(uint8_t slot); // mode 0 when the processor follows presets ("S_FOLLOW"), else 2
    void send_current_preset(const PresetHeader &header);
    void send_fw_block(uint16_t block, uint16_t total, uint16_t byteCount, const uint8_t *bytes);
    void send_ping();
    void send_meter_ack();
    void send_connect(uint32_t passwordCrc);
    void request_meters_udp(uint16_t port, uint8_t counter);
    void request_meters_tcp(uint8_t counter);
    void send_clock(const orba::ClockSetting &setting);
    void request_events();
    void send_events(uint16_t block, uint16_t blocks, uint16_t n, const uint8_t *records);

    // ---- Receiving (transport's worker thread).
    // The transport's data callback; context is the MessageLink.
    static void on_link_bytes(void *link, const uint8_t *bytes, size_t count);
    void feed(const uint8_t *bytes, size_t count) { m_assembler.feed(bytes, count); }
    void reset_assembler() { m_assembler.reset(); }
    const FrameAssembler &assembler() const { return m_assembler; }
    void dispatch_frame(const uint8_t *frame, size_t length);

private:
    static void onFrame(void *link, const uint8_t *frame, size_t length);
    static void sendPacked(void *link, uint8_t *frame, size_t length);

    void onVersion(const uint8_t *frame, size_t length);
    void onValues(const uint8_t *frame, size_t length);
    void onPresetHeaders(const uint8_t *frame, size_t length);
    void onPresetRename(const uint8_t *frame, size_t length);
    void onPresetClear(const uint8_t *frame, size_t length);
    void onGlobals(const uint8_t *frame, size_t length);
    void onPresetLock(const uint8_t *frame, size_t length);
    void onFwAck(const uint8_t *frame, size_t length);
    void onConnectReply(const uint8_t *frame, size_t length);
    void onEvents(const uint8_t *frame, size_t length);
    void onCurrentPreset(const uint8_t *frame, size_t length);
    void onMeterData(const uint8_t *frame, size_t length);

    LinkContext m_ctx;
    std::atomic<tcQTcp *> m_transport{nullptr};
    FrameAssembler m_assembler;
    std::atomic<uint32_t> m_unsent{0}; // frames that did not go out whole
};
