// Receive handlers: what each message stores, and that no count taken from a frame reads past it.
#include "link/frames.h"
#include "link/message_link.h"
#include "link/meter.h"
#include "link/wire.h"
#include "link_world.h"
#include "preset_samples.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

using namespace orba;

namespace {

struct Host : LinkHost
{
    int version = 0, slotsChanged = 0, events = 0, currentPreset = 0;
    std::vector<uint16_t> replies;
    std::vector<FwAckMsg> acks;
    void linkVersionStored() override { ++version; }
    void linkSlotsChanged() override { ++slotsChanged; }
    void linkEventsReady() override { ++events; }
    void linkCurrentPresetChanged() override { ++currentPreset; }
    void linkConnectReply(uint16_t r) override { replies.push_back(r); }
    void linkFirmwareAck(const FwAckMsg &a) override { acks.push_back(a); }
};

struct Change
{
    uint16_t id;
    ChangeSource source;
};

class Dispatch : public ::testing::Test, protected orba::test::LinkWorld
{
protected:
    Dispatch()
    {
        live.setChangeCallback(&Dispatch::record, &changes);
        link = std::make_unique<MessageLink>(context(&host));
    }
    static void record(void *context, uint16_t id, ChangeSource source)
    {
        static_cast<std::vector<Change> *>(context)->push_back({id, source});
    }
    // Feeds a frame through the reassembler, as the transport would.
    void receive(std::vector<uint8_t> f)
    {
        wire::put16(f.data() + 2, uint16_t(f.size()));
        link->feed(f.data(), f.size());
    }
    // A float id of the table.
    uint16_t someFloat() const
    {
        for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
            if (settingType(id) == SETTING_FLOAT)
                return id;
        return 0;
    }

    Host host;
    std::vector<Change> changes;
    std::unique_ptr<MessageLink> link;
};

std::vector<uint8_t> valuesFrame(uint8_t target, uint8_t block, uint8_t blocks, uint16_t claimed,
                                 const std::vector<std::vector<uint8_t>> &entries)
{
    std::vector<uint8_t> f(12 + 8 * entries.size());
    putValuesHeader(f.data(), target, block, blocks, claimed);
    for (size_t i = 0; i < entries.size(); ++i)
        std::memcpy(f.data() + 12 + 8 * i, entries[i].data(), 8);
    return f;
}

std::vector<uint8_t> floatEntry(uint16_t id, float v)
{
    std::vector<uint8_t> e(8);
    putValueEntryFloat(e.data(), id, v);
    return e;
}

} // namespace

TEST_F(Dispatch, ValuesToLiveAreStoredAndACountLargerThanTheFrameTakesOnlyTheEntriesInside)
{
    const uint16_t id = someFloat();
    const float target = live.indexToFloat(id, live.getRawMax(id));
    // Claims 148 entries, carries two and a half; the unknown id is skipped, the bytes after the frame
    // unread.
    std::vector<uint8_t> f =
        valuesFrame(TARGET_LIVE, 1, 1, 148, {floatEntry(id, target), floatEntry(0xFFF0, 3)});
    f.insert(f.end(), {0x10, 0x01, 0, 0});
    receive(f);
    EXPECT_FLOAT_EQ(live.getFloat(id), target);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].id, id);
    EXPECT_EQ(changes[0].source, CHANGE_PROCESSOR);
}

TEST_F(Dispatch, ValuesForASlotWithoutAPendingGrabChangeNothing)
{
    const uint16_t id = someFloat();
    receive(valuesFrame(5, 1, 1, 1, {floatEntry(id, live.indexToFloat(id, live.getRawMax(id)))}));
    EXPECT_TRUE(changes.empty());
    EXPECT_FALSE(grab.isDone());
}

TEST_F(Dispatch, GlobalsAreStoredByKindOthersSkippedAndACountLargerThanTheFrameIsBounded)
{
    std::vector<uint8_t> f(8 + 3 * 8 + 3); // claims more than it carries
    putGlobalsHeader(f.data(), 0xFFFF);
    putValueEntryInt(f.data() + 8, G_AM_FREQ, 1230);
    putValueEntryBool(f.data() + 16, G_S_FOLLOW, true);
    putValueEntryInt(f.data() + 24, 1001, 5); // not a global
    receive(f);
    EXPECT_EQ(globals.getInt(G_AM_FREQ), 1230);
    EXPECT_TRUE(globals.getBool(G_S_FOLLOW));
}

TEST_F(Dispatch, PresetHeadersFillSlotsSkipHighSlotsAndCompleteTheHeaderWait)
{
    PresetHeader hs[3];
    const uint8_t nums[3] = {2, 80, 79};
    for (auto &h : hs) {
        h = orba::test::usedHeader("Morning", 1);
        std::strcpy(h.reserved.text[0], "plain");
    }
    std::vector<uint8_t> f(PRESET_HEADERS_LENGTH);
    buildPresetHeaders(f.data(), nums, hs, 3);
    PresetHeader before = presetSlots.get(2);
    before.tail[0] = 0x77; // bytes beyond the wire entry stay as they are
    presetSlots.set(2, before);
    headerWait.begin(79);
    receive(f);
    EXPECT_EQ(presetSlots.get(2).nameText(), "Morning");
    EXPECT_EQ(presetSlots.get(2).lock, 1);
    EXPECT_STREQ(presetSlots.get(2).reserved.text[0], "plain");
    EXPECT_EQ(presetSlots.get(2).tail[0], 0x77);
    EXPECT_EQ(presetSlots.get(79).nameText(), "Morning");
    EXPECT_TRUE(headerWait.isDone());
    EXPECT_EQ(host.slotsChanged, 1);

    // No entries: still a summary change.
    std::vector<uint8_t> empty(PRESET_HEADERS_LENGTH);
    buildPresetHeaders(empty.data(), nums, hs, 0);
    receive(empty);
    EXPECT_EQ(host.slotsChanged, 2);
}

TEST_F(Dispatch, PresetHeadersWithAHugeCountInAShortFrameTakeOnlyWholeEntries)
{
    const PresetHeader h = orba::test::namedHeader("Only");
    const uint8_t slot = 7;
    std::vector<uint8_t> f(PRESET_HEADERS_LENGTH);
    buildPresetHeaders(f.data(), &slot, &h, 1);
    wire::put16(f.data() + 6, 0xFFFF);
    f.resize(8 + 156 + 100); // the second entry is cut
    f[8 + 156] = 9;          // its slot byte
    receive(f);
    EXPECT_EQ(presetSlots.get(7).nameText(), "Only");
    EXPECT_EQ(presetSlots.get(9).nameText(), "");
    EXPECT_EQ(host.slotsChanged, 1);
}

TEST_F(Dispatch, RenameLockAndClearTouchOnlySlotsBelow80)
{
    std::vector<uint8_t> f(PRESET_RENAME_LENGTH);
    buildPresetRename(f.data(), 12, "New name", 8);
    PresetHeader h = presetSlots.get(12);
    h.setName("An older and longer name");
    presetSlots.set(12, h);
    receive(f);
    EXPECT_EQ(presetSlots.get(12).nameText(), "New name");
    buildPresetRename(f.data(), 80, "Nowhere", 7);
    receive(f); // ignored

    std::vector<uint8_t> l(PRESET_LOCK_LENGTH);
    buildPresetLock(l.data(), 12, 2);
    receive(l);
    EXPECT_EQ(presetSlots.get(12).lock, 2);
    buildPresetLock(l.data(), 200, 1);
    receive(l);

    for (int s = 0; s < 80; ++s)
        presetSlots.set(s, orba::test::usedHeader("x"));
    std::vector<uint8_t> c(PRESET_CLEAR_LENGTH);
    buildPresetClear(c.data(), 78, 5);
    receive(c);
    EXPECT_EQ(presetSlots.get(77).inUse, 255);
    EXPECT_EQ(presetSlots.get(78).inUse, 0);
    EXPECT_EQ(presetSlots.get(78).nameText(), "");
    EXPECT_EQ(presetSlots.get(79).inUse, 0);
    buildPresetClear(c.data(), 0xFFFF, 0xFFFF);
    receive(c);
    EXPECT_EQ(presetSlots.get(0).inUse, 255);
}

TEST_F(Dispatch, ShortVersionGivesNumbersAndEmptyTexts)
{
    ProcessorVersion v;
    std::strcpy(v.text[0], "old text");
    version.store(v);
    std::vector<uint8_t> f(14);
    putFrameHeader(f.data(), 14, MSG_VERSION);
    wire::put16(f.data() + 6, 1);
    wire::put16(f.data() + 8, 2);
    wire::put16(f.data() + 10, 3);
    receive(f);
    const ProcessorVersion got = version.load();
    EXPECT_EQ(std::make_tuple(int(got.major), int(got.minor), int(got.build)), std::make_tuple(1, 2, 3));
    for (const auto &t : got.text)
        EXPECT_STREQ(t, "");
    EXPECT_EQ(host.version, 1);
}

TEST_F(Dispatch, EventsBuildUpAcrossBlocksAndAnEmptyListEmpties)
{
    auto eventsFrame = [](uint16_t block, uint16_t blocks, uint16_t n, uint8_t base) {
        std::vector<uint8_t> records(size_t(n) * 8);
        for (size_t i = 0; i < records.size(); ++i)
            records[i] = uint8_t(base + i / 8);
        std::vector<uint8_t> f(EVENTS_OUT_LENGTH);
        f.resize(buildEvents(f.data(), block, blocks, n, records.data(), false));
        return f;
    };
    events.append(EventRecord{9, 9, 9, 9, 9, 9, 9, 9}.data());
    receive(eventsFrame(1, 3, 2, 10));
    EXPECT_EQ(events.count(), 2); // block 1 starts a new list
    EXPECT_EQ(host.events, 0);
    receive(eventsFrame(2, 3, 128, 20));
    receive(eventsFrame(3, 3, 1, 30));
    EXPECT_EQ(events.count(), 131);
    EXPECT_EQ(events.at(0)[0], 10);
    EXPECT_EQ(events.at(2)[0], 20);
    EXPECT_EQ(events.at(130)[7], 30);
    EXPECT_EQ(events.at(131), EventRecord{});
    EXPECT_EQ(host.events, 1);

    receive(eventsFrame(1, 1, 0, 0));
    EXPECT_EQ(events.count(), 0);
    EXPECT_EQ(host.events, 2);
}

TEST_F(Dispatch, EventsStopAtAThousandAndCountsPastTheFrameAreBounded)
{
    std::vector<uint8_t> records(128 * 8, 1);
    std::vector<uint8_t> f(EVENTS_OUT_LENGTH);
    for (uint16_t b = 1; b <= 8; ++b) {
        f.resize(EVENTS_OUT_LENGTH);
        f.resize(buildEvents(f.data(), b, 8, 128, records.data(), false));
        receive(f);
    }
    EXPECT_EQ(events.count(), 1000);
    EXPECT_EQ(host.events, 1);

    f.resize(EVENTS_OUT_LENGTH);
    f.resize(buildEvents(f.data(), 1, 1, 2, records.data(), false));
    wire::put16(f.data() + 10, 60000);
    receive(f);
    EXPECT_EQ(events.count(), 2);
}

TEST_F(Dispatch, CurrentPresetIsTakenOnlyWhenItDiffers)
{
    PresetHeader h = orba::test::namedHeader("Live Show");
    h.inUse = 1;
    h.presetChecksum = 5;
    std::strcpy(h.reserved.text[0], "not taken");
    std::vector<uint8_t> f(CURRENT_PRESET_LENGTH);
    buildCurrentPreset(f.data(), h);
    receive(f);
    EXPECT_EQ(host.currentPreset, 1);
    EXPECT_EQ(current.load().nameText(), "Live Show");
    EXPECT_EQ(current.load().presetChecksum, 5u);
    EXPECT_STREQ(current.load().reserved.text[0], "");
    receive(f);
    EXPECT_EQ(host.currentPreset, 1); // the same again raises nothing
}

TEST_F(Dispatch, ConnectRepliesTwoAndThreeGoToTheHostOthersAreIgnored)
{
    for (uint16_t r : {2, 3, 1, 4}) {
        std::vector<uint8_t> f(CONNECT_REPLY_LENGTH);
        buildConnectReply(f.data(), r);
        receive(f);
    }
    EXPECT_EQ(host.replies, (std::vector<uint16_t>{2, 3}));
}

TEST_F(Dispatch, FramesTooShortForTheirFieldsOrOfUnknownTypeAreDropped)
{
    for (uint8_t type = 0; type < 64; ++type)
        for (size_t length = 5; length < 20; ++length) {
            std::vector<uint8_t> f(std::max<size_t>(length, 6), 0xFF);
            putFrameHeader(f.data(), length, type);
            f.resize(length);
            if (type == MSG_VERSION && length >= 12)
                continue;
            receive(f);
        }
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(host.version, 0);
    EXPECT_TRUE(host.replies.empty());
    EXPECT_EQ(presetSlots.get(0).lock, 0);
    EXPECT_EQ(presetSlots.get(0).inUse, 0);
}
