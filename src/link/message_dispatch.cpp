// The receiving half of MessageLink: dispatch and the handlers, on the transport's worker thread.
#include "link/message_link.h"

#include "link/meter.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <cstring>

using namespace orba;

void MessageLink::on_link_bytes(void *link, const uint8_t *bytes, size_t count)
{
    static_cast<MessageLink *>(link)->feed(bytes, count);
}

void MessageLink::onFrame(void *link, const uint8_t *frame, size_t length)
{
    static_cast<MessageLink *>(link)->dispatch_frame(frame, length);
}

void MessageLink::dispatch_frame(const uint8_t *frame, size_t length)
{
    switch (frameType(frame, length)) {
    case MSG_VERSION:
        return onVersion(frame, length);
    case MSG_VALUES:
        return onValues(frame, length);
    case MSG_PRESET_HEADERS:
        return onPresetHeaders(frame, length);
    case MSG_PRESET_RENAME:
        return onPresetRename(frame, length);
    case MSG_PRESET_CLEAR:
        return onPresetClear(frame, length);
    case MSG_GLOBALS:
        return onGlobals(frame, length);
    case MSG_PRESET_LOCK:
        return onPresetLock(frame, length);
    case MSG_FW_ACK:
        return onFwAck(frame, length);
    case MSG_CONNECT:
        return onConnectReply(frame, length);
    case MSG_EVENTS:
        return onEvents(frame, length);
    case MSG_CURRENT_PRESET:
        return onCurrentPreset(frame, length);
    case MSG_METER_DATA:
        return onMeterData(frame, length);
    default:
        return; // requests of our own and unknown types
    }
}

void MessageLink::onVersion(const uint8_t *frame, size_t length)
{
    ProcessorVersion version;
    if (!parseVersion(frame, length, version))
        return;
    if (m_ctx.version)
        m_ctx.version->store(version);
    if (m_ctx.host)
        m_ctx.host->linkVersionStored();
}

void MessageLink::onValues(const uint8_t *frame, size_t length)
{
    ValuesMsg msg;
    if (!parseValues(frame, length, msg))
        return;
    auto store = [&](SETTINGS_MAP &set) {
        for (size_t i = 0; i < msg.count; ++i)
            applySettingEntry(set, msg.entries + i * VALUE_ENTRY_SIZE, CHANGE_PROCESSOR);
    };
    if (msg.target == TARGET_LIVE) {
        if (m_ctx.live)
            store(*m_ctx.live);
        if (m_ctx.host)
            m_ctx.host->linkLiveValues(msg.block, msg.blocks);
        return;
    }
    if (m_ctx.grab && m_ctx.grab->withTarget(store) && msg.block == msg.blocks) {
        m_ctx.grab->setDone();
        if (m_ctx.host)
            m_ctx.host->linkGrabDone();
    }
}

void MessageLink::onPresetHeaders(const uint8_t *frame, size_t length)
{
    PresetHeadersMsg msg;
    if (!parsePresetHeaders(frame, length, msg))
        return;
    for (size_t i = 0; i < msg.count; ++i) {
        const uint8_t *entry = msg.entries + i * PRESET_ENTRY_SIZE;
        const int slot = presetEntrySlot(entry);
        if (slot >= PRESET_SLOTS)
            continue;
        if (m_ctx.presetSlots)
            m_ctx.presetSlots->update(slot, [entry](PresetHeader &h) { decodePresetEntry(entry, h); });
        if (m_ctx.headerWait && m_ctx.headerWait->slot() == slot)
            m_ctx.headerWait->setDone();
    }
    if (m_ctx.host)
        m_ctx.host->linkSlotsChanged();
}

void MessageLink::onPresetRename(const uint8_t *frame, size_t length)
{
    PresetRenameMsg msg;
    if (!parsePresetRename(frame, length, msg) || msg.slot >= PRESET_SLOTS || !m_ctx.presetSlots)
        return;
    m_ctx.presetSlots->update(msg.slot, [&](PresetHeader &h) {
        std::memset(h.name, 0, sizeof h.name);
        std::memcpy(h.name, msg.name, strnlen(msg.name, PRESET_NAME_LEN));
    });
}

void MessageLink::onPresetClear(const uint8_t *frame, size_t length)
{
    PresetClearMsg msg;
    if (!parsePresetClear(frame, length, msg) || !m_ctx.presetSlots)
        return;
    for (int slot = msg.first, left = msg.count; left > 0 && slot < PRESET_SLOTS; ++slot, --left)
        m_ctx.presetSlots->clear(slot);
}

void MessageLink::onGlobals(const uint8_t *frame, size_t length)
{
    GlobalsMsg msg;
    if (!parseGlobals(frame, length, msg) || !m_ctx.globals)
        return;
    for (size_t i = 0; i < msg.count; ++i)
        applyGlobalEntry(*m_ctx.globals, msg.entries + i * VALUE_ENTRY_SIZE, CHANGE_PROCESSOR);
}

void MessageLink::onPresetLock(const uint8_t *frame, size_t length)
{
    PresetLockMsg msg;
    if (!parsePresetLock(frame, length, msg) || msg.slot >= PRESET_SLOTS || !m_ctx.presetSlots)
        return;
    m_ctx.presetSlots->update(msg.slot, [&](PresetHeader &h) { h.lock = msg.lock; });
}

void MessageLink::onFwAck(const uint8_t *frame, size_t length)
{
    FwAckMsg msg;
    if (parseFwAck(frame, length, msg) && m_ctx.host)
        m_ctx.host->linkFirmwareAck(msg);
}

void MessageLink::onConnectReply(const uint8_t *frame, size_t length)
{
    uint16_t result = 0;
    if (!parseConnectReply(frame, length, result) || !m_ctx.host)
        return;
    if (result == CONNECT_ACCEPTED || result == CONNECT_PASSWORD)
        m_ctx.host->linkConnectReply(result);
}

void MessageLink::onEvents(const uint8_t *frame, size_t length)
{
    EventsMsg msg;
    if (!parseEvents(frame, length, msg))
        return;
    // Block 1 starts a new list even when it carries no entries, so a later block never lands on
    // the previous schedule.
    if (m_ctx.events)
        m_ctx.events->appendRecords(msg.records, msg.count, msg.block == 1);
    if (msg.block == msg.blocks && m_ctx.host)
        m_ctx.host->linkEventsReady();
}

void MessageLink::onCurrentPreset(const uint8_t *frame, size_t length)
{
    const uint8_t *entry = nullptr;
    if (!parseCurrentPreset(frame, length, entry) || !m_ctx.currentPreset)
        return;
    if (m_ctx.currentPreset->takeEntry(entry) && m_ctx.host)
        m_ctx.host->linkCurrentPresetChanged();
}

void MessageLink::onMeterData(const uint8_t *frame, size_t length)
{
    // The processor paces meter frames by the acknowledgement, so it goes out whatever the datagram.
    send_meter_ack();
    const uint8_t *datagram = nullptr;
    if (parseMeterData(frame, length, datagram) && m_ctx.meters)
        m_ctx.meters->check_datagram(datagram, METER_SIZE);
}
