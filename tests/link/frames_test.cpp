// Byte formats of the link messages, and the bounds on counted lists.
#include "link/frames.h"
#include "link/meter_datagram.h"
#include "link/wire.h"
#include "preset_samples.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

using namespace orba;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesAt(const uint8_t *p, size_t n)
{
    return Bytes(p, p + n);
}

PresetHeader sampleHeader()
{
    PresetHeader h = orba::test::usedHeader("Rock Heavy", PRESET_FACTORY_LOCKED);
    h.presetChecksum = 0x11223344;
    h.systemChecksum = 0x55667788;
    h.spareWord[0] = 0xDEADBEEF;
    h.spareWord[1] = 0x01020304;
    h.presetCount = 200;
    h.systemCount = 21;
    h.spareCount[0] = 0xAAAA;
    h.spareCount[1] = 0x5555;
    h.reserved.word[0] = 0xCAFEF00D;
    h.reserved.word[1] = 7;
    std::strcpy(h.reserved.text[0], "engineer's note");
    std::strcpy(h.reserved.text[1], "second text");
    return h;
}

} // namespace

TEST(Frames, HeaderCarriesSyncLengthAndTypeWithAZeroByte)
{
    uint8_t f[EMPTY_FRAME_LENGTH];
    EXPECT_EQ(buildEmpty(f, MSG_PING), 6u);
    EXPECT_EQ(bytesAt(f, 6), (Bytes{0xA5, 0xA5, 6, 0, 21, 0}));
    EXPECT_EQ(frameType(f, 6), MSG_PING);
    EXPECT_EQ(frameType(f, 5), MSG_PING); // a 5-byte frame has only the low type byte
    EXPECT_EQ(frameType(f, 4), 0);
}

TEST(Frames, PresetEntryIsTheHeaderWithTheReservedTextsInverted)
{
    const PresetHeader h = sampleHeader();
    uint8_t e[PRESET_ENTRY_SIZE];
    encodePresetEntry(e, 42, h);
    EXPECT_EQ(e[0], 42);
    EXPECT_EQ(std::memcmp(e + 1, "Rock Heavy", 10), 0);
    EXPECT_EQ(e[11], 0);
    EXPECT_EQ(bytesAt(e + 41, 3), (Bytes{255, 2, 0}));
    EXPECT_EQ(wire::get32(e + 44), 0x11223344u);
    EXPECT_EQ(wire::get32(e + 48), 0x55667788u);
    EXPECT_EQ(wire::get32(e + 52), 0xDEADBEEFu);
    EXPECT_EQ(wire::get16(e + 60), 200);
    EXPECT_EQ(wire::get16(e + 62), 21);
    EXPECT_EQ(wire::get16(e + 66), 0x5555);
    EXPECT_EQ(wire::get32(e + 68), 0xCAFEF00Du);
    EXPECT_EQ(e[76], uint8_t(~uint8_t('e')));
    EXPECT_EQ(e[116], uint8_t(~uint8_t('s')));
    EXPECT_EQ(e[155], 0xFF); // a plain zero byte inverted

    PresetHeader back;
    back.clear();
    back.tail[0] = 9; // not on the wire: left alone
    decodePresetEntry(e, back);
    EXPECT_EQ(back.nameText(), "Rock Heavy");
    EXPECT_EQ(std::memcmp(&back, &h, offsetof(PresetHeader, spare)), 0);
    EXPECT_EQ(std::memcmp(&back.presetChecksum, &h.presetChecksum, 156 - 44), 0);
    EXPECT_EQ(back.tail[0], 9);

    // A full forty-character name has no terminator.
    encodePresetEntry(e, 0, orba::test::namedHeader(std::string(40, 'x')));
    EXPECT_EQ(e[40], 'x');
    decodePresetEntry(e, back);
    EXPECT_EQ(back.nameText(), std::string(40, 'x'));
}

TEST(Frames, ValueEntriesByKind)
{
    uint8_t e[8];
    putValueEntryFloat(e, 257, -3.5f);
    EXPECT_EQ(entryId(e), 257);
    EXPECT_EQ(wire::get16(e + 2), 0);
    EXPECT_FLOAT_EQ(entryFloat(e), -3.5f);
    putValueEntryInt(e, 1008, -20);
    EXPECT_EQ(entryInt(e), -20);
    putValueEntryBool(e, 5, true);
    EXPECT_EQ(e[4], 1);
    EXPECT_TRUE(entryBool(e));
}

TEST(Frames, SettingEntriesFollowTheTableKindAndUnknownIdsAreRefused)
{
    SETTINGS_MAP set;
    uint8_t e[8];
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id)) {
        ASSERT_TRUE(putSettingEntry(e, set, id));
        SETTINGS_MAP other;
        other.resetAll();
        ASSERT_TRUE(applySettingEntry(other, e, CHANGE_PROCESSOR));
        EXPECT_EQ(other.getRaw(id), set.getRaw(id)) << id;
    }
    EXPECT_FALSE(putSettingEntry(e, set, 0xFFFE));
    putValueEntryInt(e, 0xFFFE, 1);
    EXPECT_FALSE(applySettingEntry(set, e, CHANGE_PROCESSOR));
}

TEST(Frames, CountedListsReportOnlyEntriesWhollyInsideTheFrame)
{
    EXPECT_EQ(entriesInFrame(1000, 12 + 8 * 3 + 7, 12, 8), 3u);
    EXPECT_EQ(entriesInFrame(2, 12 + 8 * 3, 12, 8), 2u);
    EXPECT_EQ(entriesInFrame(5, 12, 12, 8), 0u);
    EXPECT_EQ(entriesInFrame(5, 6, 12, 8), 0u);

    uint8_t f[64] = {};
    putValuesHeader(f, TARGET_LIVE, 1, 1, 0xFFFF);
    ValuesMsg v;
    ASSERT_TRUE(parseValues(f, 28, v));
    EXPECT_EQ(v.claimed, 0xFFFF);
    EXPECT_EQ(v.count, 2u);
    EXPECT_FALSE(parseValues(f, 11, v));
}

TEST(Frames, ValuesAndGlobalsHeaders)
{
    uint8_t f[VALUES_FRAME_MAX];
    EXPECT_EQ(putValuesHeader(f, 7, 2, 3, 148), 1196u);
    EXPECT_EQ(bytesAt(f + 4, 6), (Bytes{MSG_VALUES, 0, 7, 0, 2, 3}));
    EXPECT_EQ(wire::get16(f + 10), 148);
    EXPECT_EQ(wire::get16(f + 2), 1196);
    ValuesMsg v;
    ASSERT_TRUE(parseValues(f, 1196, v));
    EXPECT_EQ(std::make_tuple(int(v.target), int(v.block), int(v.blocks), v.count),
              std::make_tuple(7, 2, 3, 148u));

    EXPECT_EQ(putGlobalsHeader(f, 2), 24u);
    EXPECT_EQ(f[4], MSG_GLOBALS);
    GlobalsMsg g;
    ASSERT_TRUE(parseGlobals(f, 24, g));
    EXPECT_EQ(g.count, 2u);
    EXPECT_EQ(g.entries, f + 8);
}

TEST(Frames, PresetHeadersFrameIsAlways1100BytesWithAtMostSevenEntries)
{
    PresetHeader hs[8];
    uint8_t slots[8];
    for (int i = 0; i < 8; ++i) {
        hs[i] = sampleHeader();
        slots[i] = uint8_t(10 + i);
    }
    uint8_t f[PRESET_HEADERS_LENGTH];
    EXPECT_EQ(buildPresetHeaders(f, slots, hs, 8), 1100u);
    PresetHeadersMsg m;
    ASSERT_TRUE(parsePresetHeaders(f, 1100, m));
    EXPECT_EQ(m.claimed, 7);
    EXPECT_EQ(m.count, 7u);
    EXPECT_EQ(presetEntrySlot(m.entries + 6 * PRESET_ENTRY_SIZE), 16);
    buildPresetHeaders(f, slots, hs, 1);
    EXPECT_TRUE(std::all_of(f + 8 + 156, f + 1100, [](uint8_t b) { return b == 0; }));
    ASSERT_TRUE(parsePresetHeaders(f, 8 + 100, m)); // cut short: no whole entry
    EXPECT_EQ(m.count, 0u);
}

// The plain round trips of these messages run through the simulator, which parses with the same
// code (SimPresets.*, SimLink.*, Connection.*); here only their lengths and edges.
TEST(Frames, SmallMessagesLengthsAndEdges)
{
    uint8_t f[FRAME_MAX_LENGTH];
    EXPECT_EQ(buildGrabPreset(f, 79), 8u);
    EXPECT_EQ(buildPresetClear(f, 78, 5), 10u);
    EXPECT_EQ(buildTakePreset(f, 2, 9), 10u);
    EXPECT_EQ(buildConnectReply(f, CONNECT_PASSWORD), 8u);
    EXPECT_EQ(buildMeterRequestTcp(f, 17), 8u);

    EXPECT_EQ(buildPresetRename(f, 3, "Talk", 4), 48u);
    EXPECT_EQ(f[47], 0);
    PresetRenameMsg r;
    const std::string long45(45, 'n');
    buildPresetRename(f, 3, long45.c_str(), long45.size());
    ASSERT_TRUE(parsePresetRename(f, 48, r));
    EXPECT_EQ(std::string(r.name), std::string(40, 'n'));
    EXPECT_FALSE(parsePresetRename(f, 46, r));

    PresetLockMsg l;
    EXPECT_EQ(buildPresetLock(f, 4, 1), 8u);
    EXPECT_FALSE(parsePresetLock(f, 7, l));

    EXPECT_EQ(buildConnect(f, 0xFFFFFFFFu), 12u);
    EXPECT_EQ(bytesAt(f + 4, 4), (Bytes{20, 0, 0, 0}));

    EXPECT_EQ(buildMeterRequestUdp(f, 60002, 200), 12u);
    EXPECT_EQ(wire::get16(f + 6), 60002);
    uint8_t slot = 0;
    EXPECT_FALSE(parseGrabPreset(f, 8, slot)); // a meter request is no grab
}

TEST(Frames, CurrentPresetCarriesOneEntryWithSlotZero)
{
    uint8_t f[CURRENT_PRESET_LENGTH];
    EXPECT_EQ(buildCurrentPreset(f, sampleHeader()), 164u);
    const uint8_t *entry = nullptr;
    ASSERT_TRUE(parseCurrentPreset(f, 164, entry));
    EXPECT_EQ(entry, f + 8);
    EXPECT_EQ(entry[0], 0);
    EXPECT_EQ(entry[41], 255);
    EXPECT_FALSE(parseCurrentPreset(f, 163, entry));
}

TEST(Frames, VersionTextsOnlyFromAFullFrame)
{
    ProcessorVersion v;
    v.major = 2;
    v.minor = 10;
    v.build = 345;
    std::strcpy(v.text[0], "Jun  5 2009");
    std::memset(v.text[1], 'F', 32); // 32 characters: no terminator on the wire
    std::strcpy(v.text[2], "dsp 1.2");
    uint8_t f[VERSION_LENGTH];
    EXPECT_EQ(buildVersion(f, v), 108u);
    ProcessorVersion back;
    ASSERT_TRUE(parseVersion(f, 108, back));
    EXPECT_EQ(std::make_tuple(int(back.major), int(back.minor), int(back.build)),
              std::make_tuple(2, 10, 345));
    EXPECT_STREQ(back.text[0], "Jun  5 2009");
    EXPECT_EQ(std::string(back.text[1]), std::string(32, 'F'));
    EXPECT_STREQ(back.text[2], "dsp 1.2");
    // A short frame: Dispatch.ShortVersionGivesNumbersAndEmptyTexts.
}

TEST(Frames, FirmwareBlockAndAcknowledgement)
{
    uint8_t data[1500];
    for (size_t i = 0; i < sizeof data; ++i)
        data[i] = uint8_t(i);
    uint8_t f[FRAME_MAX_LENGTH];
    EXPECT_EQ(buildFwBlock(f, 3, 10, 2000, data), 1036u);
    FwBlockMsg b;
    ASSERT_TRUE(parseFwBlock(f, 1036, b));
    EXPECT_EQ(std::make_tuple(int(b.block), int(b.blocks), int(b.byteCount), b.available),
              std::make_tuple(3, 10, 1024, 1024u)); // the byte count cut to one block
    EXPECT_EQ(b.data[1023], uint8_t(1023));
    buildFwBlock(f, 10, 10, 100, data);
    ASSERT_TRUE(parseFwBlock(f, 1036, b));
    EXPECT_EQ(b.available, 100u);
    EXPECT_EQ(f[12 + 100], 0);
    ASSERT_TRUE(parseFwBlock(f, 60, b)); // cut short: only what is inside
    EXPECT_EQ(b.available, 48u);

    const size_t n = buildFwAck(f, 3, 10, 2, "Flash written");
    EXPECT_EQ(n, 14 + 13 + 1u);
    FwAckMsg a;
    ASSERT_TRUE(parseFwAck(f, n, a));
    EXPECT_EQ(std::make_tuple(int(a.block), int(a.blocks), int(a.code)), std::make_tuple(3, 10, 2));
    EXPECT_EQ(a.text, "Flash written");
    ASSERT_TRUE(parseFwAck(f, n - 6, a)); // no terminator inside the frame
    EXPECT_EQ(a.text, "Flash wr");
}

TEST(Frames, ClockSetting)
{
    ClockSetting s;
    s.year = 9;
    s.month = 6;
    s.day = 5;
    s.weekday = 5;
    s.hour = 15;
    s.minute = 11;
    s.second = 31;
    s.sntp = true;
    const uint8_t server[4] = {10, 1, 2, 3};
    std::memcpy(s.server, server, 4);
    s.tzOffset = -18000;
    uint8_t f[SET_CLOCK_LENGTH];
    EXPECT_EQ(buildSetClock(f, s), 28u);
    EXPECT_EQ(f[6], 9);
    EXPECT_EQ(bytesAt(f + 12, 2), (Bytes{31, 0}));
    EXPECT_EQ(f[16], 1);
    EXPECT_EQ(bytesAt(f + 20, 4), (Bytes{10, 1, 2, 3}));
}

TEST(Frames, EventsPaddedForTheProcessorAndExactFromIt)
{
    uint8_t records[8 * 3];
    for (size_t i = 0; i < sizeof records; ++i)
        records[i] = uint8_t(i + 1);
    uint8_t f[EVENTS_OUT_LENGTH];
    EXPECT_EQ(buildEvents(f, 1, 2, 3, records, true), 1036u);
    EXPECT_EQ(f[12 + 24], 0);
    EXPECT_EQ(buildEvents(f, 1, 2, 3, records, false), 36u);
    EventsMsg m;
    ASSERT_TRUE(parseEvents(f, 36, m));
    EXPECT_EQ(std::make_tuple(int(m.block), int(m.blocks), m.count), std::make_tuple(1, 2, 3u));
    EXPECT_EQ(m.records[23], 24);
}

TEST(Frames, MeterDataCarriesTheDatagramAt8)
{
    uint8_t dg[METER_SIZE];
    MeterHeader h;
    h.counter = 4;
    buildMeterDatagram(dg, h, nullptr);
    uint8_t f[METER_DATA_LENGTH];
    EXPECT_EQ(buildMeterData(f, dg), 612u);
    const uint8_t *back = nullptr;
    ASSERT_TRUE(parseMeterData(f, 612, back));
    EXPECT_EQ(std::memcmp(back, dg, METER_SIZE), 0);
    EXPECT_FALSE(parseMeterData(f, 611, back));
}

TEST(Frames, DottedQuadsAreDecimalWithoutNameLookup)
{
    uint8_t a[4];
    ASSERT_TRUE(parseIPv4("192.168.001.010", a));
    EXPECT_EQ(a[2], 1);
    EXPECT_EQ(a[3], 10); // decimal, not octal
    ASSERT_TRUE(parseIPv4("127.0.0.1", a));
    EXPECT_EQ(a[0], 127);
    for (const char *bad : {"", "192.168.1", "192.168.1.", "256.1.1.1", "1.2.3.4.5", "localhost", "1.2.3.4 ",
                            "1..2.3", "1234.1.1.1"})
        EXPECT_FALSE(parseIPv4(bad, a)) << bad;
    EXPECT_FALSE(parseIPv4(nullptr, a));
}
