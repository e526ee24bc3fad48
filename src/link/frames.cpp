#include "link/frames.h"

#include "link/wire.h"

#include <algorithm>
#include <cstring>

namespace orba {

using wire::get16;
using wire::get32;
using wire::put16;
using wire::put32;

namespace {

bool isType(const uint8_t *frame, size_t length, uint8_t type, size_t minLength)
{
    return length >= minLength && length >= FRAME_MIN_LENGTH && frameType(frame, length) == type;
}

// A text field of the frame, cut at its terminator, at the field's size and at the frame's end.
size_t fieldLength(const uint8_t *frame, size_t length, size_t offset, size_t size)
{
    if (offset >= length)
        return 0;
    const size_t room = std::min(size, length - offset);
    const auto *text = reinterpret_cast<const char *>(frame + offset);
    return strnlen(text, room);
}

} // namespace

void putFrameHeader(uint8_t *frame, size_t length, uint8_t type)
{
    frame[0] = FRAME_SYNC_BYTE;
    frame[1] = FRAME_SYNC_BYTE;
    put16(frame + 2, uint16_t(length));
    frame[4] = type;
    frame[5] = 0;
}

uint16_t frameType(const uint8_t *frame, size_t length)
{
    if (length < 5)
        return 0;
    return length >= 6 ? get16(frame + 4) : frame[4];
}

size_t entriesInFrame(size_t claimed, size_t length, size_t offset, size_t entrySize)
{
    if (length <= offset || entrySize == 0)
        return 0;
    return std::min(claimed, (length - offset) / entrySize);
}

size_t buildEmpty(uint8_t *frame, uint8_t type)
{
    putFrameHeader(frame, EMPTY_FRAME_LENGTH, type);
    return EMPTY_FRAME_LENGTH;
}

// ---- Value entries ----

void putValueEntryFloat(uint8_t *entry, uint16_t id, float value)
{
    put16(entry, id);
    put16(entry + 2, 0);
    wire::putFloat(entry + 4, value);
}

void putValueEntryInt(uint8_t *entry, uint16_t id, int32_t value)
{
    put16(entry, id);
    put16(entry + 2, 0);
    put32(entry + 4, uint32_t(value));
}

void putValueEntryBool(uint8_t *entry, uint16_t id, bool value)
{
    put16(entry, id);
    put16(entry + 2, 0);
    put32(entry + 4, value ? 1u : 0u);
}

uint16_t entryId(const uint8_t *entry)
{
    return get16(entry);
}

float entryFloat(const uint8_t *entry)
{
    return wire::getFloat(entry + 4);
}

int32_t entryInt(const uint8_t *entry)
{
    return int32_t(get32(entry + 4));
}

bool entryBool(const uint8_t *entry)
{
    return entry[4] != 0;
}

bool putSettingEntry(uint8_t *entry, const SETTINGS_MAP &set, uint16_t id)
{
    switch (settingType(id)) {
    case SETTING_FLOAT:
        putValueEntryFloat(entry, id, set.getFloat(id));
        return true;
    case SETTING_INT:
        putValueEntryInt(entry, id, int32_t(set.getInt(id)));
        return true;
    case SETTING_BOOL:
        putValueEntryBool(entry, id, set.getBool(id));
        return true;
    default:
        return false;
    }
}

bool putGlobalEntry(uint8_t *entry, const GLOBALS_MAP &globals, uint16_t id)
{
    switch (globalType(id)) {
    case SETTING_INT:
        putValueEntryInt(entry, id, globals.getInt(id));
        return true;
    case SETTING_BOOL:
        putValueEntryBool(entry, id, globals.getBool(id));
        return true;
    default:
        return false;
    }
}

bool applySettingEntry(SETTINGS_MAP &set, const uint8_t *entry, ChangeSource source)
{
    const uint16_t id = entryId(entry);
    switch (settingType(id)) {
    case SETTING_FLOAT:
        set.setFloat(id, entryFloat(entry), source);
        return true;
    case SETTING_INT:
        set.setInt(id, uint32_t(entryInt(entry)), source);
        return true;
    case SETTING_BOOL:
        set.setBool(id, entryBool(entry), source);
        return true;
    default:
        return false;
    }
}

bool applyGlobalEntry(GLOBALS_MAP &globals, const uint8_t *entry, ChangeSource source)
{
    const uint16_t id = entryId(entry);
    switch (globalType(id)) {
    case SETTING_INT:
        globals.setInt(id, entryInt(entry), source);
        return true;
    case SETTING_BOOL:
        globals.setBool(id, entryBool(entry), source);
        return true;
    default:
        return false;
    }
}

size_t putValuesHeader(uint8_t *frame, uint8_t target, uint8_t block, uint8_t blocks, uint16_t n)
{
    const size_t length = VALUES_HEADER_SIZE + size_t(n) * VALUE_ENTRY_SIZE;
    putFrameHeader(frame, length, MSG_VALUES);
    frame[6] = target;
    frame[7] = 0;
    frame[8] = block;
    frame[9] = blocks;
    put16(frame + 10, n);
    return length;
}

bool parseValues(const uint8_t *frame, size_t length, ValuesMsg &msg)
{
    if (!isType(frame, length, MSG_VALUES, VALUES_HEADER_SIZE))
        return false;
    msg.target = frame[6];
    msg.block = frame[8];
    msg.blocks = frame[9];
    msg.claimed = get16(frame + 10);
    msg.count = entriesInFrame(msg.claimed, length, VALUES_HEADER_SIZE, VALUE_ENTRY_SIZE);
    msg.entries = frame + VALUES_HEADER_SIZE;
    return true;
}

size_t putGlobalsHeader(uint8_t *frame, uint16_t n)
{
    const size_t length = GLOBALS_HEADER_SIZE + size_t(n) * VALUE_ENTRY_SIZE;
    putFrameHeader(frame, length, MSG_GLOBALS);
    put16(frame + 6, n);
    return length;
}

bool parseGlobals(const uint8_t *frame, size_t length, GlobalsMsg &msg)
{
    if (!isType(frame, length, MSG_GLOBALS, GLOBALS_HEADER_SIZE))
        return false;
    msg.claimed = get16(frame + 6);
    msg.count = entriesInFrame(msg.claimed, length, GLOBALS_HEADER_SIZE, VALUE_ENTRY_SIZE);
    msg.entries = frame + GLOBALS_HEADER_SIZE;
    return true;
}

// ---- Packer ----

ValuePacker::ValuePacker(uint8_t type, uint8_t target, FrameSink sink, void *context)
    : m_type(type), m_target(target),
      m_headerSize(type == MSG_VALUES ? VALUES_HEADER_SIZE : GLOBALS_HEADER_SIZE), m_sink(sink),
      m_context(context)
{
}

ValuePacker ValuePacker::forValues(uint8_t target, FrameSink sink, void *context)
{
    return ValuePacker(MSG_VALUES, target, sink, context);
}

ValuePacker ValuePacker::forGlobals(FrameSink sink, void *context)
{
    return ValuePacker(MSG_GLOBALS, 0, sink, context);
}

void ValuePacker::commit()
{
    if (++m_count == VALUES_PER_FRAME)
        finish();
}

void ValuePacker::finish()
{
    if (m_count == 0)
        return;
    const size_t length = m_type == MSG_VALUES ? putValuesHeader(m_frame, m_target, 1, 1, uint16_t(m_count))
                                               : putGlobalsHeader(m_frame, uint16_t(m_count));
    m_count = 0;
    if (m_sink)
        m_sink(m_context, m_frame, length);
}

void packWholeSet(uint8_t target, const SETTINGS_MAP &set, FrameSink sink, void *context)
{
    const int total = settingCount();
    const int blocks = (total + VALUES_PER_FRAME - 1) / VALUES_PER_FRAME;
    uint8_t frame[VALUES_FRAME_MAX];
    uint16_t id = firstSettingId();
    for (int block = 1; block <= blocks; ++block) {
        const int n = std::min(VALUES_PER_FRAME, total - (block - 1) * VALUES_PER_FRAME);
        int written = 0;
        for (; written < n && id != SETTINGS_END; id = nextSettingId(id))
            if (putSettingEntry(frame + VALUES_HEADER_SIZE + size_t(written) * VALUE_ENTRY_SIZE, set, id))
                ++written;
        const size_t length =
            putValuesHeader(frame, target, uint8_t(block), uint8_t(blocks), uint16_t(written));
        sink(context, frame, length);
    }
}

// ---- Preset header entries ----

void encodePresetEntry(uint8_t *entry, uint8_t slot, const PresetHeader &header)
{
    entry[0] = slot;
    std::memcpy(entry + 1, header.name, PRESET_NAME_LEN);
    entry[41] = header.inUse;
    entry[42] = header.lock;
    entry[43] = 0;
    put32(entry + 44, header.presetChecksum);
    put32(entry + 48, header.systemChecksum);
    put32(entry + 52, header.spareWord[0]);
    put32(entry + 56, header.spareWord[1]);
    put16(entry + 60, header.presetCount);
    put16(entry + 62, header.systemCount);
    put16(entry + 64, header.spareCount[0]);
    put16(entry + 66, header.spareCount[1]);
    put32(entry + 68, header.reserved.word[0]);
    put32(entry + 72, header.reserved.word[1]);
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 40; ++i)
            entry[76 + 40 * t + i] = uint8_t(~uint8_t(header.reserved.text[t][i]));
}

void decodePresetEntry(const uint8_t *entry, PresetHeader &header)
{
    std::memcpy(header.name, entry + 1, PRESET_NAME_LEN);
    header.inUse = entry[41];
    header.lock = entry[42];
    header.presetChecksum = get32(entry + 44);
    header.systemChecksum = get32(entry + 48);
    header.spareWord[0] = get32(entry + 52);
    header.spareWord[1] = get32(entry + 56);
    header.presetCount = get16(entry + 60);
    header.systemCount = get16(entry + 62);
    header.spareCount[0] = get16(entry + 64);
    header.spareCount[1] = get16(entry + 66);
    header.reserved.word[0] = get32(entry + 68);
    header.reserved.word[1] = get32(entry + 72);
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 40; ++i)
            header.reserved.text[t][i] = char(uint8_t(~entry[76 + 40 * t + i]));
}

size_t buildPresetHeaders(uint8_t *frame, const uint8_t *slots, const PresetHeader *headers, int n)
{
    n = std::clamp(n, 0, PRESET_HEADERS_PER_FRAME);
    std::memset(frame, 0, PRESET_HEADERS_LENGTH);
    putFrameHeader(frame, PRESET_HEADERS_LENGTH, MSG_PRESET_HEADERS);
    put16(frame + 6, uint16_t(n));
    for (int i = 0; i < n; ++i)
        encodePresetEntry(frame + PRESET_HEADERS_OFFSET + size_t(i) * PRESET_ENTRY_SIZE, slots[i],
                          headers[i]);
    return PRESET_HEADERS_LENGTH;
}

bool parsePresetHeaders(const uint8_t *frame, size_t length, PresetHeadersMsg &msg)
{
    if (!isType(frame, length, MSG_PRESET_HEADERS, PRESET_HEADERS_OFFSET))
        return false;
    msg.claimed = get16(frame + 6);
    msg.count = entriesInFrame(msg.claimed, length, PRESET_HEADERS_OFFSET, PRESET_ENTRY_SIZE);
    msg.entries = frame + PRESET_HEADERS_OFFSET;
    return true;
}

size_t buildPresetRename(uint8_t *frame, uint8_t slot, const char *name, size_t nameLength)
{
    std::memset(frame, 0, PRESET_RENAME_LENGTH);
    putFrameHeader(frame, PRESET_RENAME_LENGTH, MSG_PRESET_RENAME);
    frame[6] = slot;
    std::memcpy(frame + 7, name, std::min<size_t>(strnlen(name, nameLength), PRESET_NAME_LEN));
    return PRESET_RENAME_LENGTH;
}

bool parsePresetRename(const uint8_t *frame, size_t length, PresetRenameMsg &msg)
{
    if (!isType(frame, length, MSG_PRESET_RENAME, 7 + PRESET_NAME_LEN))
        return false;
    msg.slot = frame[6];
    std::memset(msg.name, 0, sizeof msg.name);
    std::memcpy(msg.name, frame + 7, fieldLength(frame, length, 7, PRESET_NAME_LEN));
    return true;
}

size_t buildPresetClear(uint8_t *frame, uint16_t first, uint16_t count)
{
    putFrameHeader(frame, PRESET_CLEAR_LENGTH, MSG_PRESET_CLEAR);
    put16(frame + 6, first);
    put16(frame + 8, count);
    return PRESET_CLEAR_LENGTH;
}

bool parsePresetClear(const uint8_t *frame, size_t length, PresetClearMsg &msg)
{
    if (!isType(frame, length, MSG_PRESET_CLEAR, PRESET_CLEAR_LENGTH))
        return false;
    msg.first = get16(frame + 6);
    msg.count = get16(frame + 8);
    return true;
}

size_t buildPresetLock(uint8_t *frame, uint8_t slot, uint8_t lock)
{
    putFrameHeader(frame, PRESET_LOCK_LENGTH, MSG_PRESET_LOCK);
    frame[6] = slot;
    frame[7] = lock;
    return PRESET_LOCK_LENGTH;
}

bool parsePresetLock(const uint8_t *frame, size_t length, PresetLockMsg &msg)
{
    if (!isType(frame, length, MSG_PRESET_LOCK, PRESET_LOCK_LENGTH))
        return false;
    msg.slot = frame[6];
    msg.lock = frame[7];
    return true;
}

size_t buildGrabPreset(uint8_t *frame, uint8_t slot)
{
    putFrameHeader(frame, GRAB_PRESET_LENGTH, MSG_GRAB_PRESET);
    frame[6] = slot;
    frame[7] = 0;
    return GRAB_PRESET_LENGTH;
}

bool parseGrabPreset(const uint8_t *frame, size_t length, uint8_t &slot)
{
    if (!isType(frame, length, MSG_GRAB_PRESET, 7))
        return false;
    slot = frame[6];
    return true;
}

size_t buildTakePreset(uint8_t *frame, uint16_t mode, uint8_t slot)
{
    putFrameHeader(frame, TAKE_PRESET_LENGTH, MSG_TAKE_PRESET);
    put16(frame + 6, mode);
    frame[8] = slot;
    frame[9] = 0;
    return TAKE_PRESET_LENGTH;
}

bool parseTakePreset(const uint8_t *frame, size_t length, TakePresetMsg &msg)
{
    if (!isType(frame, length, MSG_TAKE_PRESET, 9))
        return false;
    msg.mode = get16(frame + 6);
    msg.slot = frame[8];
    return true;
}

size_t buildCurrentPreset(uint8_t *frame, const PresetHeader &header)
{
    putFrameHeader(frame, CURRENT_PRESET_LENGTH, MSG_CURRENT_PRESET);
    frame[6] = frame[7] = 0;
    encodePresetEntry(frame + CURRENT_PRESET_OFFSET, 0, header);
    return CURRENT_PRESET_LENGTH;
}

bool parseCurrentPreset(const uint8_t *frame, size_t length, const uint8_t *&entry)
{
    if (!isType(frame, length, MSG_CURRENT_PRESET, CURRENT_PRESET_LENGTH))
        return false;
    entry = frame + CURRENT_PRESET_OFFSET;
    return true;
}

// ---- Version ----

size_t buildVersion(uint8_t *frame, const ProcessorVersion &version)
{
    std::memset(frame, 0, VERSION_LENGTH);
    putFrameHeader(frame, VERSION_LENGTH, MSG_VERSION);
    put16(frame + 6, version.major);
    put16(frame + 8, version.minor);
    put16(frame + 10, version.build);
    for (int t = 0; t < 3; ++t)
        std::memcpy(frame + 12 + 32 * t, version.text[t], strnlen(version.text[t], VERSION_TEXT_SIZE));
    return VERSION_LENGTH;
}

bool parseVersion(const uint8_t *frame, size_t length, ProcessorVersion &version)
{
    if (!isType(frame, length, MSG_VERSION, 12))
        return false;
    version = ProcessorVersion{};
    version.major = get16(frame + 6);
    version.minor = get16(frame + 8);
    version.build = get16(frame + 10);
    if (length == VERSION_LENGTH)
        for (int t = 0; t < 3; ++t) {
            const size_t offset = 12 + 32 * size_t(t);
            std::memcpy(version.text[t], frame + offset,
                        fieldLength(frame, length, offset, VERSION_TEXT_SIZE));
        }
    return true;
}

// ---- Connection ----

size_t buildConnect(uint8_t *frame, uint32_t passwordCrc)
{
    putFrameHeader(frame, CONNECT_LENGTH, MSG_CONNECT);
    frame[6] = frame[7] = 0;
    put32(frame + 8, passwordCrc);
    return CONNECT_LENGTH;
}

bool parseConnect(const uint8_t *frame, size_t length, uint32_t &passwordCrc)
{
    if (!isType(frame, length, MSG_CONNECT, CONNECT_LENGTH))
        return false;
    passwordCrc = get32(frame + 8);
    return true;
}

size_t buildConnectReply(uint8_t *frame, uint16_t result)
{
    putFrameHeader(frame, CONNECT_REPLY_LENGTH, MSG_CONNECT);
    put16(frame + 6, result);
    return CONNECT_REPLY_LENGTH;
}

bool parseConnectReply(const uint8_t *frame, size_t length, uint16_t &result)
{
    if (!isType(frame, length, MSG_CONNECT, CONNECT_REPLY_LENGTH))
        return false;
    result = get16(frame + 6);
    return true;
}

// ---- Firmware ----

size_t buildFwBlock(uint8_t *frame, uint16_t block, uint16_t blocks, uint16_t byteCount, const uint8_t *bytes)
{
    byteCount = uint16_t(std::min<size_t>(byteCount, FW_BLOCK_DATA));
    std::memset(frame, 0, FW_BLOCK_LENGTH);
    putFrameHeader(frame, FW_BLOCK_LENGTH, MSG_FW_BLOCK);
    put16(frame + 6, block);
    put16(frame + 8, blocks);
    put16(frame + 10, byteCount);
    if (byteCount)
        std::memcpy(frame + 12, bytes, byteCount);
    return FW_BLOCK_LENGTH;
}

bool parseFwBlock(const uint8_t *frame, size_t length, FwBlockMsg &msg)
{
    if (!isType(frame, length, MSG_FW_BLOCK, 12))
        return false;
    msg.block = get16(frame + 6);
    msg.blocks = get16(frame + 8);
    msg.byteCount = get16(frame + 10);
    msg.available = std::min({size_t(msg.byteCount), FW_BLOCK_DATA, length - 12});
    msg.data = frame + 12;
    return true;
}

size_t buildFwAck(uint8_t *frame, uint16_t block, uint16_t blocks, uint16_t code, const char *text)
{
    const size_t textLength = std::min(std::strlen(text), FRAME_MAX_LENGTH - FW_ACK_MIN_LENGTH - 1);
    const size_t length = FW_ACK_MIN_LENGTH + textLength + 1;
    putFrameHeader(frame, length, MSG_FW_ACK);
    put16(frame + 6, block);
    put16(frame + 8, blocks);
    put16(frame + 10, 0);
    put16(frame + 12, code);
    std::memcpy(frame + 14, text, textLength);
    frame[14 + textLength] = 0;
    return length;
}

bool parseFwAck(const uint8_t *frame, size_t length, FwAckMsg &msg)
{
    if (!isType(frame, length, MSG_FW_ACK, FW_ACK_MIN_LENGTH))
        return false;
    msg.block = get16(frame + 6);
    msg.blocks = get16(frame + 8);
    msg.code = get16(frame + 12);
    const size_t textLength = fieldLength(frame, length, 14, length - 14);
    msg.text.assign(reinterpret_cast<const char *>(frame + 14), textLength);
    return true;
}

// ---- Clock and events ----

size_t buildSetClock(uint8_t *frame, const ClockSetting &s)
{
    std::memset(frame, 0, SET_CLOCK_LENGTH);
    putFrameHeader(frame, SET_CLOCK_LENGTH, MSG_SET_CLOCK);
    const uint8_t clock[7] = {s.year, s.month, s.day, s.weekday, s.hour, s.minute, s.second};
    std::memcpy(frame + 6, clock, 7);
    frame[16] = s.sntp ? 1 : 0;
    std::memcpy(frame + 20, s.server, 4);
    put32(frame + 24, uint32_t(s.tzOffset));
    return SET_CLOCK_LENGTH;
}

bool parseSetClock(const uint8_t *frame, size_t length, ClockSetting &s)
{
    if (!isType(frame, length, MSG_SET_CLOCK, SET_CLOCK_LENGTH))
        return false;
    s.year = frame[6];
    s.month = frame[7];
    s.day = frame[8];
    s.weekday = frame[9];
    s.hour = frame[10];
    s.minute = frame[11];
    s.second = frame[12];
    s.sntp = frame[16] != 0;
    std::memcpy(s.server, frame + 20, 4);
    s.tzOffset = int32_t(get32(frame + 24));
    return true;
}

size_t buildEvents(uint8_t *frame, uint16_t block, uint16_t blocks, uint16_t n, const uint8_t *records,
                   bool padded)
{
    n = uint16_t(std::min<int>(n, EVENTS_PER_FRAME));
    const size_t used = EVENTS_HEADER_SIZE + size_t(n) * EVENT_RECORD_SIZE;
    const size_t length = padded ? EVENTS_OUT_LENGTH : used;
    std::memset(frame, 0, length);
    putFrameHeader(frame, length, MSG_EVENTS);
    put16(frame + 6, block);
    put16(frame + 8, blocks);
    put16(frame + 10, n);
    if (n)
        std::memcpy(frame + EVENTS_HEADER_SIZE, records, size_t(n) * EVENT_RECORD_SIZE);
    return length;
}

bool parseEvents(const uint8_t *frame, size_t length, EventsMsg &msg)
{
    if (!isType(frame, length, MSG_EVENTS, EVENTS_HEADER_SIZE))
        return false;
    msg.block = get16(frame + 6);
    msg.blocks = get16(frame + 8);
    msg.claimed = get16(frame + 10);
    msg.count = entriesInFrame(msg.claimed, length, EVENTS_HEADER_SIZE, EVENT_RECORD_SIZE);
    msg.records = frame + EVENTS_HEADER_SIZE;
    return true;
}

// ---- Meters ----

size_t buildMeterRequestUdp(uint8_t *frame, uint16_t port, uint8_t counter)
{
    std::memset(frame, 0, METER_REQUEST_UDP_LENGTH);
    putFrameHeader(frame, METER_REQUEST_UDP_LENGTH, MSG_METER_REQUEST_UDP);
    put16(frame + 6, port);
    frame[8] = counter;
    return METER_REQUEST_UDP_LENGTH;
}

bool parseMeterRequestUdp(const uint8_t *frame, size_t length, uint16_t &port, uint8_t &counter)
{
    if (!isType(frame, length, MSG_METER_REQUEST_UDP, 9))
        return false;
    port = get16(frame + 6);
    counter = frame[8];
    return true;
}

size_t buildMeterRequestTcp(uint8_t *frame, uint8_t counter)
{
    putFrameHeader(frame, METER_REQUEST_TCP_LENGTH, MSG_METER_REQUEST_TCP);
    frame[6] = counter;
    frame[7] = 0;
    return METER_REQUEST_TCP_LENGTH;
}

bool parseMeterRequestTcp(const uint8_t *frame, size_t length, uint8_t &counter)
{
    if (!isType(frame, length, MSG_METER_REQUEST_TCP, 7))
        return false;
    counter = frame[6];
    return true;
}

size_t buildMeterData(uint8_t *frame, const uint8_t *datagram)
{
    putFrameHeader(frame, METER_DATA_LENGTH, MSG_METER_DATA);
    frame[6] = frame[7] = 0;
    if (datagram != frame + METER_DATA_OFFSET) // the datagram may already be in place
        std::memcpy(frame + METER_DATA_OFFSET, datagram, METER_SIZE);
    return METER_DATA_LENGTH;
}

bool parseMeterData(const uint8_t *frame, size_t length, const uint8_t *&datagram)
{
    if (!isType(frame, length, MSG_METER_DATA, METER_DATA_LENGTH))
        return false;
    datagram = frame + METER_DATA_OFFSET;
    return true;
}

bool parseIPv4(const char *text, uint8_t out[4])
{
    if (!text)
        return false;
    const char *p = text;
    for (int group = 0; group < 4; ++group) {
        if (group > 0 && *p++ != '.')
            return false;
        int value = 0;
        int digits = 0;
        while (*p >= '0' && *p <= '9' && digits < 3) {
            value = value * 10 + (*p++ - '0');
            ++digits;
        }
        if (digits == 0 || value > 255)
            return false;
        out[group] = uint8_t(value);
    }
    return *p == '\0';
}

} // namespace orba
