// The sending half of MessageLink.
#include "link/message_link.h"

#include "link/tcp.h"
#include "link/wire.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <algorithm>

using namespace orba;

MessageLink::MessageLink(const LinkContext &context)
    : m_ctx(context), m_assembler(&MessageLink::onFrame, this)
{
}

bool MessageLink::send_frame(uint8_t *frame, size_t length)
{
    frame[0] = FRAME_SYNC_BYTE;
    frame[1] = FRAME_SYNC_BYTE;
    wire::put16(frame + 2, uint16_t(length));
    tcQTcp *t = m_transport.load();
    if (length < FRAME_SEND_LIMIT && t && t->send(frame, length) == int(length))
        return true;
    ++m_unsent;
    return false;
}

void MessageLink::sendPacked(void *link, uint8_t *frame, size_t length)
{
    static_cast<MessageLink *>(link)->send_frame(frame, length);
}

bool MessageLink::send_changed_values(const SETTINGS_MAP &set, SETTINGS_FLAGS &flags)
{
    const uint32_t unsent = m_unsent.load();
    ValuePacker packer = ValuePacker::forValues(TARGET_LIVE, &MessageLink::sendPacked, this);
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        if (flags.take(id) && putSettingEntry(packer.entry(), set, id))
            packer.commit();
    packer.finish();
    return m_unsent.load() == unsent;
}

void MessageLink::send_all_values(uint8_t slot, const SETTINGS_MAP &set)
{
    packWholeSet(slot, set, &MessageLink::sendPacked, this);
}

bool MessageLink::send_changed_globals(GLOBALS_FLAGS &flags)
{
    if (!m_ctx.globals)
        return true;
    const uint32_t unsent = m_unsent.load();
    ValuePacker packer = ValuePacker::forGlobals(&MessageLink::sendPacked, this);
    for (uint16_t id = firstGlobalId(); id != GLOBALS_END; id = nextGlobalId(id))
        if (flags.take(id) && putGlobalEntry(packer.entry(), *m_ctx.globals, id))
            packer.commit();
    packer.finish();
    return m_unsent.load() == unsent;
}

void MessageLink::request_version()
{
    uint8_t frame[EMPTY_FRAME_LENGTH];
    send_frame(frame, buildEmpty(frame, MSG_VERSION_REQUEST));
}

void MessageLink::grab_preset(uint8_t slot)
{
    uint8_t frame[GRAB_PRESET_LENGTH];
    send_frame(frame, buildGrabPreset(frame, slot));
}

void MessageLink::send_preset_header(uint8_t slot, const PresetHeader &header)
{
    if (slot >= PRESET_SLOTS)
        return;
    uint8_t frame[PRESET_HEADERS_LENGTH];
    send_frame(frame, buildPresetHeaders(frame, &slot, &header, 1));
}

void MessageLink::rename_preset(uint8_t slot, const std::string &name)
{
    uint8_t frame[PRESET_RENAME_LENGTH];
    send_frame(frame, buildPresetRename(frame, slot, name.c_str(), name.size()));
}

void MessageLink::clear_presets(uint16_t first, uint16_t count)
{
    uint8_t frame[PRESET_CLEAR_LENGTH];
    send_frame(frame, buildPresetClear(frame, first, count));
}

void MessageLink::lock_preset(uint8_t slot, uint8_t lock)
{
    uint8_t frame[PRESET_LOCK_LENGTH];
    send_frame(frame, buildPresetLock(frame, slot, lock));
}

void MessageLink::take_preset(uint8_t slot, uint16_t mode)
{
    uint8_t frame[TAKE_PRESET_LENGTH];
    send_frame(frame, buildTakePreset(frame, mode, slot));
}

void MessageLink::take_preset(uint8_t slot)
{
    const bool follow = m_ctx.globals && m_ctx.globals->getBool(G_S_FOLLOW);
    take_preset(slot, follow ? 0 : 2);
}

void MessageLink::send_current_preset(const PresetHeader &header)
{
    uint8_t frame[CURRENT_PRESET_LENGTH];
    send_frame(frame, buildCurrentPreset(frame, header));
}

void MessageLink::send_fw_block(uint16_t block, uint16_t total, uint16_t byteCount, const uint8_t *bytes)
{
    uint8_t frame[FW_BLOCK_LENGTH];
    send_frame(frame, buildFwBlock(frame, block, total, byteCount, bytes));
}

void MessageLink::send_ping()
{
    uint8_t frame[EMPTY_FRAME_LENGTH];
    send_frame(frame, buildEmpty(frame, MSG_PING));
}

void MessageLink::send_meter_ack()
{
    uint8_t frame[EMPTY_FRAME_LENGTH];
    send_frame(frame, buildEmpty(frame, MSG_METER_ACK));
}

void MessageLink::send_connect(uint32_t passwordCrc)
{
    uint8_t frame[CONNECT_LENGTH];
    send_frame(frame, buildConnect(frame, passwordCrc));
}

void MessageLink::request_meters_udp(uint16_t port, uint8_t counter)
{
    uint8_t frame[METER_REQUEST_UDP_LENGTH];
    send_frame(frame, buildMeterRequestUdp(frame, port, counter));
}

void MessageLink::request_meters_tcp(uint8_t counter)
{
    uint8_t frame[METER_REQUEST_TCP_LENGTH];
    send_frame(frame, buildMeterRequestTcp(frame, counter));
}

void MessageLink::send_clock(const ClockSetting &setting)
{
    uint8_t frame[SET_CLOCK_LENGTH];
    send_frame(frame, buildSetClock(frame, setting));
}

void MessageLink::request_events()
{
    uint8_t frame[EMPTY_FRAME_LENGTH];
    send_frame(frame, buildEmpty(frame, MSG_EVENTS_REQUEST));
}

void MessageLink::send_events(uint16_t block, uint16_t blocks, uint16_t n, const uint8_t *records)
{
    uint8_t frame[EVENTS_OUT_LENGTH];
    send_frame(frame, buildEvents(frame, block, blocks, n, records, true));
}
