// The simulator's pure pieces: the meter body, the schedule, the boot records, the firmware header
// and the state file.
#include "link/wire.h"
#include "sim/boot_records.h"
#include "sim/sim_bank.h"
#include "sim/sim_firmware.h"
#include "sim/sim_meters.h"
#include "sim/sim_schedule.h"
#include "sim/sim_state.h"

#include <gtest/gtest.h>

#include <set>

using namespace orba;
using namespace orba::sim;

namespace {

std::vector<std::vector<uint8_t>> meterRun(const MeterInputs &in, int frames, double rate = 20)
{
    MeterSynth synth;
    std::vector<std::vector<uint8_t>> out;
    for (int i = 0; i < frames; ++i) {
        std::vector<uint8_t> d(METER_SIZE, 0);
        synth.fill(i / rate, in, d.data());
        out.push_back(d);
    }
    return out;
}

} // namespace

TEST(SimMeters, LevelsMoveLikeProgrammeAndPeaksHoldAboveThem)
{
    const auto run = meterRun(MeterInputs{}, 400);
    std::set<uint8_t> levels;
    for (const auto &d : run) {
        levels.insert(d[MB_INPUT]);
        // Quarter decibels below full scale: a held peak is never below the level.
        EXPECT_LE(d[MB_INPUT + 2], d[MB_INPUT]);
        EXPECT_LE(d[MB_INPUT + 3], d[MB_INPUT + 1]);
        const float t = wire::getFloat(d.data() + MB_TEMPERATURE);
        EXPECT_GT(t, 38.0f);
        EXPECT_LT(t, 42.0f);
        EXPECT_EQ(d[MB_ANALOG_STATUS], INPUT_ACTIVE);
        EXPECT_EQ(d[MB_AES_STATUS], INPUT_PRESENT);
    }
    EXPECT_GT(levels.size(), 30u);
    EXPECT_GT(*levels.begin(), 8);    // rarely louder than -2 dBFS
    EXPECT_LT(*levels.rbegin(), 200); // never silent
}

TEST(SimSchedule, WeeklyAndLongTermEventsFallDueOnTheirSecond)
{
    const QDateTime tue6 = SimClock::wall(QDate(2024, 3, 12), QTime(6, 0, 0)); // a Tuesday
    EXPECT_TRUE(eventDue(weeklyEvent(1u << 2, 6, 0, 0, 1), tue6));
    EXPECT_FALSE(eventDue(weeklyEvent(1u << 3, 6, 0, 0, 1), tue6));
    EXPECT_FALSE(eventDue(weeklyEvent(0x7F, 6, 0, 1, 1), tue6));
    EXPECT_FALSE(eventDue(weeklyEvent(0, 6, 0, 0, 1), tue6)); // no day at all
    EXPECT_TRUE(eventDue(longTermEvent(3, 12, 6, 0, 0, 9), tue6));
    EXPECT_FALSE(eventDue(longTermEvent(4, 12, 6, 0, 0, 9), tue6));
    Event other = weeklyEvent(0x7F, 6, 0, 0, 1);
    other[0] = uint8_t((other[0] & ~7) | 5);
    EXPECT_FALSE(eventDue(other, tue6));
}

TEST(SimSchedule, SkippedSecondsAreCaughtUpButAClockJumpIsNot)
{
    const std::vector<Event> events = {weeklyEvent(0x7F, 6, 0, 0, 4), longTermEvent(3, 12, 6, 0, 1, 7)};
    const QDateTime t0 = SimClock::wall(QDate(2024, 3, 12), QTime(5, 59, 59, 900));
    EXPECT_EQ(dueSlots(events, t0, t0.addMSecs(1150)), (std::vector<uint32_t>{4, 7}));
    EXPECT_TRUE(dueSlots(events, t0.addSecs(1), t0.addSecs(1)).empty()); // the same second twice
    EXPECT_TRUE(dueSlots(events, t0.addSecs(-3600), t0.addSecs(3)).empty());
    EXPECT_EQ(dueSlots(events, QDateTime(), t0.addMSecs(100)), (std::vector<uint32_t>{4}));
}

TEST(SimBoot, ReplyNeedsEveryRecordInsideTheDatagramAndThisUnitsAddress)
{
    const uint8_t mac[6] = {0, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::vector<uint8_t> r(BOOT_TAG, BOOT_TAG + 16);
    auto rec = [&r](uint8_t type, std::vector<uint8_t> v) {
        r.push_back(type);
        r.push_back(uint8_t(v.size() >> 8));
        r.push_back(uint8_t(v.size()));
        r.insert(r.end(), v.begin(), v.end());
    };
    rec(3, {mac, mac + 6}); // in any order
    rec(24, {192, 168, 1, 1});
    rec(1, {8});
    rec(0, {1});
    rec(0, {1, 2}); // a marker of another length is skipped
    rec(4, {192, 168, 1, 20});
    rec(5, {255, 255, 255, 0});
    rec(2, {'N', 'o', 'N', 'a', 'm', 'e', 0, 0});
    rec(99, {1, 2, 3});
    BootReply reply;
    ASSERT_TRUE(parseBootReply(r.data(), r.size(), mac, reply));
    EXPECT_EQ(ipText(reply.ip), "192.168.1.20");
    EXPECT_STREQ(reply.name, "NoName");

    auto without = r;
    without.resize(without.size() - 2); // the last record runs past the end
    EXPECT_FALSE(parseBootReply(without.data(), without.size(), mac, reply));
    const uint8_t otherMac[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(parseBootReply(r.data(), r.size(), otherMac, reply));
    auto badTag = r;
    badTag[0] = 'X';
    EXPECT_FALSE(parseBootReply(badTag.data(), badTag.size(), mac, reply));
    EXPECT_FALSE(parseBootReply(r.data(), 15, mac, reply));
}

TEST(SimFirmwareHeader, KeysAreFoundAnywhereInTheLineAndTheFirstKeyDecides)
{
    const auto info =
        FirmwareReceiver::parseHeader("xx APVER: 2.1.4\r\nBUILD: TALMEN ORBA UPGRADE\r\n"
                                      "TALMEN ORBA UPGRADE\r\nDSPVER:1DSPVER:2\nENDHEADER\r\nAPVER: 9\n");
    EXPECT_EQ(info.ap, "xx  2.1.4");
    EXPECT_EQ(info.build, " TALMEN ORBA UPGRADE");
    EXPECT_EQ(info.signature, "TALMEN ORBA UPGRADE");
    EXPECT_EQ(info.dsp, "12");
    EXPECT_EQ(info.fpga, "???");
    EXPECT_TRUE(info.complete);
    EXPECT_FALSE(FirmwareReceiver::parseHeader("TALMEN ORBA UPGRADE\nENDHEADER").complete); // no line end yet
}

TEST(SimFirmwareHeader, BlocksOutOfOrderEndTheDownloadWithAnError)
{
    FirmwareReceiver r;
    const std::string head = "TALMEN ORBA UPGRADE\nENDHEADER\n";
    FwBlockMsg b;
    b.block = 1;
    b.blocks = 3;
    b.available = head.size();
    b.data = reinterpret_cast<const uint8_t *>(head.data());
    ASSERT_EQ(r.onBlock(b)->code, FW_ACK);
    b.block = 3;
    const auto answer = r.onBlock(b);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->code, FW_ERROR);
    EXPECT_NE(answer->text.find("expected block 2"), std::string::npos);
    b.block = 2;
    EXPECT_FALSE(r.onBlock(b)); // nothing runs any more
    b.block = 0;
    EXPECT_FALSE(r.onBlock(b));
}

TEST(SimStateFile, RoundTripKeepsEverythingAsStored)
{
    SimBank bank;
    bank.loadFactoryBank();
    bank.values(40).setFloat(1033, 37.3f, CHANGE_LOCAL);
    bank.header(40).setName("Odd One");
    std::strcpy(bank.header(40).reserved.text[1], "note");
    bank.markStored(40);
    bank.globals.setInt(G_HDPN_LEV, 61, CHANGE_LOCAL);
    bank.events = {weeklyEvent(3, 4, 5, 6, 7), longTermEvent(8, 9, 10, 11, 12, 13)};
    SimClock clock;
    clock.setOffsetSeconds(-12345);
    const uint8_t server[4] = {10, 1, 2, 3};
    clock.setSntp(true, server, 19800);

    const QByteArray text = encodeState(bank, clock);
    SimBank loaded;
    SimClock loadedClock;
    ASSERT_TRUE(decodeState(text, loaded, loadedClock));
    EXPECT_EQ(encodeState(loaded, loadedClock), text);
    EXPECT_EQ(loaded.header(40).nameText(), "Odd One");
    EXPECT_STREQ(loaded.header(40).reserved.text[1], "note");
    EXPECT_EQ(loaded.values(40).getRaw(1033), bank.values(40).getRaw(1033));
    EXPECT_EQ(loaded.events, bank.events);
    EXPECT_EQ(loadedClock.offsetSeconds(), -12345);
    EXPECT_EQ(loadedClock.tzOffset(), 19800);
}

TEST(SimStateFile, DamagedLinesAreSkippedAndAForeignFileIsRefused)
{
    SimBank bank;
    bank.loadFactoryBank();
    SimClock clock;
    EXPECT_FALSE(decodeState("ORBA PRESET FILE\nslot 1 00\n", bank, clock));
    EXPECT_EQ(bank.header(0).nameText(), "Factory Default"); // untouched
    const QByteArray text = QByteArray(STATE_MAGIC) +
                            "\nslot 99 00\nslot 2 zz\nvalues live 257=nan 1033=abc 1281=70 9999=1 =\n"
                            "global 1010 x\nevent 0102\nclock\nsntp 1 300.1.1.1 0\n";
    ASSERT_TRUE(decodeState(text, bank, clock));
    EXPECT_EQ(bank.header(0).inUse, 0); // a state starts from an empty processor
    EXPECT_FLOAT_EQ(bank.live.getFloat(1281), 70.0f);
    EXPECT_FLOAT_EQ(bank.live.getFloat(257), bank.live.getFloatDefault(257));
    EXPECT_TRUE(bank.events.empty());
    EXPECT_FALSE(clock.sntp());
}
