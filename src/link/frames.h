// Frames of the processor link: the header, the message types, and builders and parsers of every
// message in both directions (the application's and the processor's), as pure functions on byte
// buffers, so the application, the processor simulator, the tests and the fuzzers share them.
// Builders write into a caller's buffer of at least the length named for the message and return
// the frame length. Parsers check the type and return false for a frame too short for its fixed
// fields; counted lists report only the entries that lie wholly inside the frame.
#pragma once

#include "link/meter_datagram.h"
#include "tables/globals_map.h"
#include "tables/preset_header.h"
#include "tables/settings_map.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace orba {

enum MsgType : uint8_t {
    MSG_VERSION_REQUEST = 1,
    MSG_VERSION = 2,
    MSG_GRAB_PRESET = 3,
    MSG_VALUES = 4,
    MSG_PRESET_HEADERS = 6,
    MSG_PRESET_RENAME = 7,
    MSG_PRESET_CLEAR = 8,
    MSG_METER_REQUEST_UDP = 11,
    MSG_GLOBALS = 15,
    MSG_PRESET_LOCK = 16,
    MSG_FW_BLOCK = 17,
    MSG_FW_ACK = 18,
    MSG_CONNECT = 20,
    MSG_PING = 21,
    MSG_SET_CLOCK = 22,
    MSG_EVENTS_REQUEST = 23,
    MSG_EVENTS = 24,
    MSG_TAKE_PRESET = 27,
    MSG_CURRENT_PRESET = 28,
    MSG_METER_REQUEST_TCP = 29,
    MSG_METER_DATA = 30,
    MSG_METER_ACK = 31,
};

constexpr uint8_t FRAME_SYNC_BYTE = 0xA5;
constexpr size_t FRAME_HEADER_SIZE = 4;   // sync and length
constexpr size_t FRAME_MIN_LENGTH = 5;    // shortest frame accepted
constexpr size_t FRAME_MAX_LENGTH = 2048; // longest frame accepted
constexpr size_t FRAME_SEND_LIMIT = 1200; // a sent frame is shorter than this
constexpr size_t EMPTY_FRAME_LENGTH = 6;

constexpr size_t VALUE_ENTRY_SIZE = 8;
constexpr int VALUES_PER_FRAME = 148;
constexpr size_t VALUES_HEADER_SIZE = 12;
constexpr size_t GLOBALS_HEADER_SIZE = 8;
constexpr size_t VALUES_FRAME_MAX = VALUES_HEADER_SIZE + VALUES_PER_FRAME * VALUE_ENTRY_SIZE; // 1196
constexpr uint8_t TARGET_LIVE = 255;

constexpr size_t PRESET_ENTRY_SIZE = 156;
constexpr size_t PRESET_HEADERS_OFFSET = 8;
constexpr size_t PRESET_HEADERS_LENGTH = 1100;
constexpr int PRESET_HEADERS_PER_FRAME = 7;
constexpr size_t PRESET_RENAME_LENGTH = 48;
constexpr size_t PRESET_CLEAR_LENGTH = 10;
constexpr size_t PRESET_LOCK_LENGTH = 8;
constexpr size_t GRAB_PRESET_LENGTH = 8;
constexpr size_t TAKE_PRESET_LENGTH = 10;
constexpr size_t CURRENT_PRESET_LENGTH = 164;
constexpr size_t CURRENT_PRESET_OFFSET = 8;

constexpr size_t VERSION_LENGTH = 108;
constexpr size_t VERSION_TEXT_SIZE = 32;

constexpr size_t FW_BLOCK_LENGTH = 1036;
constexpr size_t FW_BLOCK_DATA = 1024;
constexpr size_t FW_ACK_MIN_LENGTH = 14;

constexpr size_t CONNECT_LENGTH = 12;
constexpr size_t CONNECT_REPLY_LENGTH = 8;
constexpr uint32_t CONNECT_NO_DEVICE = 0xFFFFFFFFu;
enum ConnectResult : uint16_t { CONNECT_ACCEPTED = 2, CONNECT_PASSWORD = 3 };

constexpr size_t SET_CLOCK_LENGTH = 28;

constexpr size_t EVENT_RECORD_SIZE = 8;
constexpr int EVENTS_PER_FRAME = 128;
constexpr int EVENTS_MAX = 1000;
constexpr size_t EVENTS_HEADER_SIZE = 12;
constexpr size_t EVENTS_OUT_LENGTH = 1036;

constexpr size_t METER_REQUEST_UDP_LENGTH = 12;
constexpr size_t METER_REQUEST_TCP_LENGTH = 8;
constexpr size_t METER_DATA_OFFSET = 8;
constexpr size_t METER_DATA_LENGTH = 612;

// Writes the sync word, the length and the type (type byte, then a zero byte).
void putFrameHeader(uint8_t *frame, size_t length, uint8_t type);
// Type of a received frame; a 5-byte frame carries only the low byte.
uint16_t frameType(const uint8_t *frame, size_t length);
// How many entries of entrySize from offset lie wholly inside a frame of length, at most claimed.
size_t entriesInFrame(size_t claimed, size_t length, size_t offset, size_t entrySize);
// A frame with a header and type only (version and event requests, ping, meter acknowledgement).
size_t buildEmpty(uint8_t *frame, uint8_t type);

// ---- Value entries (MSG_VALUES, MSG_GLOBALS) ----
void putValueEntryFloat(uint8_t *entry, uint16_t id, float value);
void putValueEntryInt(uint8_t *entry, uint16_t id, int32_t value);
void putValueEntryBool(uint8_t *entry, uint16_t id, bool value);
uint16_t entryId(const uint8_t *entry);
float entryFloat(const uint8_t *entry);
int32_t entryInt(const uint8_t *entry);
bool entryBool(const uint8_t *entry);
// The entry of a parameter, by its kind in the settings table, with its value in a set; false for
// an unknown id (nothing written).
bool putSettingEntry(uint8_t *entry, const SETTINGS_MAP &set, uint16_t id);
bool putGlobalEntry(uint8_t *entry, const GLOBALS_MAP &globals, uint16_t id);
// Stores an entry by the kind of its id; false (nothing stored) for an id of no known kind.
bool applySettingEntry(SETTINGS_MAP &set, const uint8_t *entry, ChangeSource source);
bool applyGlobalEntry(GLOBALS_MAP &globals, const uint8_t *entry, ChangeSource source);

struct ValuesMsg
{
    uint8_t target = 0; // TARGET_LIVE or a preset slot
    uint8_t block = 0;
    uint8_t blocks = 0;
    uint16_t claimed = 0; // n as sent
    size_t count = 0;     // entries wholly inside the frame
    const uint8_t *entries = nullptr;
};
// Writes the header of a MSG_VALUES frame of n entries (entries go at frame + 12); returns 12 + 8n.
size_t putValuesHeader(uint8_t *frame, uint8_t target, uint8_t block, uint8_t blocks, uint16_t n);
bool parseValues(const uint8_t *frame, size_t length, ValuesMsg &msg);

struct GlobalsMsg
{
    uint16_t claimed = 0;
    size_t count = 0;
    const uint8_t *entries = nullptr;
};
// Writes the header of a MSG_GLOBALS frame of n entries (entries go at frame + 8); returns 8 + 8n.
size_t putGlobalsHeader(uint8_t *frame, uint16_t n);
bool parseGlobals(const uint8_t *frame, size_t length, GlobalsMsg &msg);

// Collects value entries into MSG_VALUES (live target, block 1 of 1) or MSG_GLOBALS frames and
// hands each frame to the sink as soon as it holds 148 entries; finish() sends the rest.
using FrameSink = void (*)(void *context, uint8_t *frame, size_t length);
class ValuePacker
{
public:
    static ValuePacker forValues(uint8_t target, FrameSink sink, void *context);
    static ValuePacker forGlobals(FrameSink sink, void *context);

    uint8_t *entry() { return m_frame + m_headerSize + size_t(m_count) * VALUE_ENTRY_SIZE; }
    void commit(); // the entry written at entry() is complete
    void finish(); // sends what is collected, if anything

private:
    ValuePacker(uint8_t type, uint8_t target, FrameSink sink, void *context);
    uint8_t m_type;
    uint8_t m_target;
    size_t m_headerSize;
    FrameSink m_sink;
    void *m_context;
    int m_count = 0;
    uint8_t m_frame[VALUES_FRAME_MAX] = {};
};

// The whole set to a target in numbered blocks of 148 entries in table order, each frame handed to
// the sink as soon as it is filled: with the 221 ids, block 1 of 2 (148) and block 2 of 2 (73).
void packWholeSet(uint8_t target, const SETTINGS_MAP &set, FrameSink sink, void *context);

// ---- Preset header entries (156 bytes) ----
// The reserved block's two text fields travel bitwise inverted; in memory they are plain.
void encodePresetEntry(uint8_t *entry, uint8_t slot, const PresetHeader &header);
// Takes the name, in-use, lock and the fields at 44-155 of an entry into a header; the header's
// other bytes are left as they are.
void decodePresetEntry(const uint8_t *entry, PresetHeader &header);
inline uint8_t presetEntrySlot(const uint8_t *entry)
{
    return entry[0];
}

struct PresetHeadersMsg
{
    uint16_t claimed = 0;
    size_t count = 0;
    const uint8_t *entries = nullptr; // count entries of PRESET_ENTRY_SIZE
};
// n entries (at most 7) from parallel arrays of slots and headers; always 1100 bytes.
size_t buildPresetHeaders(uint8_t *frame, const uint8_t *slots, const PresetHeader *headers, int n);
bool parsePresetHeaders(const uint8_t *frame, size_t length, PresetHeadersMsg &msg);

struct PresetRenameMsg
{
    uint8_t slot = 0;
    char name[PRESET_NAME_LEN + 1] = {};
};
size_t buildPresetRename(uint8_t *frame, uint8_t slot, const char *name, size_t nameLength);
bool parsePresetRename(const uint8_t *frame, size_t length, PresetRenameMsg &msg);

struct PresetClearMsg
{
    uint16_t first = 0;
    uint16_t count = 0;
};
size_t buildPresetClear(uint8_t *frame, uint16_t first, uint16_t count);
bool parsePresetClear(const uint8_t *frame, size_t length, PresetClearMsg &msg);

struct PresetLockMsg
{
    uint8_t slot = 0;
    uint8_t lock = 0;
};
size_t buildPresetLock(uint8_t *frame, uint8_t slot, uint8_t lock);
bool parsePresetLock(const uint8_t *frame, size_t length, PresetLockMsg &msg);

size_t buildGrabPreset(uint8_t *frame, uint8_t slot);
bool parseGrabPreset(const uint8_t *frame, size_t length, uint8_t &slot);

struct TakePresetMsg
{
    uint16_t mode = 0; // 0 when the processor follows presets ("S_FOLLOW"), else 2
    uint8_t slot = 0;
};
size_t buildTakePreset(uint8_t *frame, uint16_t mode, uint8_t slot);
bool parseTakePreset(const uint8_t *frame, size_t length, TakePresetMsg &msg);

// MSG_CURRENT_PRESET: one entry, its slot byte 0.
size_t buildCurrentPreset(uint8_t *frame, const PresetHeader &header);
bool parseCurrentPreset(const uint8_t *frame, size_t length, const uint8_t *&entry);

// ---- Version ----
struct ProcessorVersion
{
    uint16_t major = 0, minor = 0, build = 0;
    // In the order the reply carries them: build date, FPGA version, DSP version.
    char text[3][VERSION_TEXT_SIZE + 1] = {};
};
size_t buildVersion(uint8_t *frame, const ProcessorVersion &version);
// Numbers from a frame of 12 bytes or more; the texts only from a frame of exactly 108 bytes.
bool parseVersion(const uint8_t *frame, size_t length, ProcessorVersion &version);

// ---- Connection ----
size_t buildConnect(uint8_t *frame, uint32_t passwordCrc);
bool parseConnect(const uint8_t *frame, size_t length, uint32_t &passwordCrc);
size_t buildConnectReply(uint8_t *frame, uint16_t result);
bool parseConnectReply(const uint8_t *frame, size_t length, uint16_t &result);

// ---- Firmware ----
struct FwBlockMsg
{
    uint16_t block = 0;
    uint16_t blocks = 0;
    uint16_t byteCount = 0; // as sent
    size_t available = 0;   // data bytes inside the frame, at most 1024 and byteCount
    const uint8_t *data = nullptr;
};
// byteCount is cut to 1024; the rest of the data field is zero.
size_t buildFwBlock(uint8_t *frame, uint16_t block, uint16_t blocks, uint16_t byteCount,
                    const uint8_t *bytes);
bool parseFwBlock(const uint8_t *frame, size_t length, FwBlockMsg &msg);

struct FwAckMsg
{
    uint16_t block = 0;
    uint16_t blocks = 0;
    uint16_t code = 0;
    std::string text; // up to the terminator or the end of the frame
};
// Capacity of the frame: 15 + text length, at most FRAME_MAX_LENGTH (the text is cut to fit).
size_t buildFwAck(uint8_t *frame, uint16_t block, uint16_t blocks, uint16_t code, const char *text);
bool parseFwAck(const uint8_t *frame, size_t length, FwAckMsg &msg);

// ---- Clock and events ----
struct ClockSetting
{
    uint8_t year = 0; // year - 2000
    uint8_t month = 1, day = 1, weekday = 0, hour = 0, minute = 0, second = 0;
    bool sntp = false;
    uint8_t server[4] = {}; // IPv4 address in network order (a.b.c.d)
    int32_t tzOffset = 0;   // seconds
};
size_t buildSetClock(uint8_t *frame, const ClockSetting &setting);
bool parseSetClock(const uint8_t *frame, size_t length, ClockSetting &setting);

struct EventsMsg
{
    uint16_t block = 0;
    uint16_t blocks = 0;
    uint16_t claimed = 0;
    size_t count = 0;
    const uint8_t *records = nullptr; // count records of EVENT_RECORD_SIZE
};
// n records (at most 128). padded: the application's form, always 1036 bytes; otherwise 12 + 8n.
size_t buildEvents(uint8_t *frame, uint16_t block, uint16_t blocks, uint16_t n, const uint8_t *records,
                   bool padded);
bool parseEvents(const uint8_t *frame, size_t length, EventsMsg &msg);

// ---- Meters ----
size_t buildMeterRequestUdp(uint8_t *frame, uint16_t port, uint8_t counter);
bool parseMeterRequestUdp(const uint8_t *frame, size_t length, uint16_t &port, uint8_t &counter);
size_t buildMeterRequestTcp(uint8_t *frame, uint8_t counter);
bool parseMeterRequestTcp(const uint8_t *frame, size_t length, uint8_t &counter);
size_t buildMeterData(uint8_t *frame, const uint8_t *datagram);
// The datagram of a frame of at least 612 bytes.
bool parseMeterData(const uint8_t *frame, size_t length, const uint8_t *&datagram);

// Dotted-decimal IPv4 text, four decimal groups 0-255 (leading zeros are decimal); the address
// in network order as a.b.c.d bytes. No name lookup.
bool parseIPv4(const char *text, uint8_t out[4]);

} // namespace orba
