// orba-ctl's status, slot and meter reports, without a processor.
#include "ctl_report.h"
#include "link/meter_datagram.h"
#include "preset_samples.h"

#include <gtest/gtest.h>

using namespace orba;
using namespace orba::ctl;

TEST(CtlReport, SlotsInUseAreNumberedFromOneWithTheirLock)
{
    PresetSlotList list;
    auto put = [&](int slot, const char *name, uint8_t inUse, uint8_t lock) {
        PresetHeader h = orba::test::namedHeader(name);
        h.inUse = inUse;
        h.lock = lock;
        list.set(slot, h);
    };
    put(0, "Factory Default", 1, PRESET_FACTORY_LOCKED);
    put(1, "Left over", 0, PRESET_LOCKED); // a name in an empty slot is no preset
    put(10, "Station Custom", 255, PRESET_LOCKED);
    put(79, "Last", 1, PRESET_UNLOCKED);
    const std::vector<SlotEntry> used = slotsInUse(list);
    ASSERT_EQ(used.size(), 3u);
    EXPECT_EQ(slotLine(used[0]), QStringLiteral("001\tFactory Default\tfactory locked"));
    EXPECT_EQ(slotLine(used[1]), QStringLiteral("011\tStation Custom\tlocked"));
    EXPECT_EQ(slotLine(used[2]), QStringLiteral("080\tLast\tunlocked"));
    EXPECT_EQ(slotJson(used[2])[QStringLiteral("slot")].toInt(), 80);
}

TEST(CtlReport, FullLengthSlotNamesAreKeptWhole)
{
    PresetSlotList list;
    list.set(4, orba::test::usedHeader(std::string(PRESET_NAME_LEN, 'x'))); // no terminator on the wire
    const std::vector<SlotEntry> used = slotsInUse(list);
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(used[0].name, QString(PRESET_NAME_LEN, QLatin1Char('x')));
}

TEST(CtlReport, MainLevelsAreQuarterDecibelsBelowFullScale)
{
    uint8_t body[METER_BODY_SIZE] = {};
    const size_t b = 0; // offsets below are from the body's start
    body[b + 6] = 40;   // input L level: -10 dB
    body[b + 7] = 255;  // input R level: silence
    body[b + 8] = 4;    // input L peak
    body[b + 9] = 5;
    body[b + 10] = 1; // input L overload
    body[b + 12] = 3; // AM positive peaks L
    body[b + 13] = 2;
    body[b + 16] = 99; // AM negative peaks: not the main level
    body[b + 20] = 8;  // HD L
    body[b + 21] = 9;
    MeterHeader header;
    uint8_t datagram[METER_SIZE];
    buildMeterDatagram(datagram, header, body);
    const MainLevels m = mainLevels(datagram);
    EXPECT_FLOAT_EQ(m.in[0], -10.0f);
    EXPECT_FLOAT_EQ(m.in[1], -63.75f);
    EXPECT_FLOAT_EQ(m.inPeak[1], -1.25f);
    EXPECT_TRUE(m.inOver[0]);
    EXPECT_FALSE(m.inOver[1]);
    EXPECT_FLOAT_EQ(m.am[0], -0.75f);
    EXPECT_FLOAT_EQ(m.hd[1], -2.25f);
    EXPECT_EQ(meterLine(m), QStringLiteral("IN\t-10.00\t-63.75\tAM\t-0.75\t-0.50\tHD\t-2.00\t-2.25"));
    const QJsonObject json = meterJson(m);
    EXPECT_EQ(json[QStringLiteral("in")][QStringLiteral("level")][1].toDouble(), -63.75);
    EXPECT_TRUE(json[QStringLiteral("in")][QStringLiteral("over")][0].toBool());
    EXPECT_EQ(json[QStringLiteral("am")][QStringLiteral("level")][0].toDouble(), -0.75);
}
