// The schedule core: packed events, its texts, its packets, the clock setting, event lines.
#include "link/records.h"
#include "preset_samples.h"
#include "session/schedule.h"

#include <gtest/gtest.h>

using namespace orba;

TEST(Schedule, BothEventTypesRoundTripEveryFieldAtItsLimits)
{
    for (const EventTime t : {EventTime{0, 0, 0}, EventTime{23, 59, 59}, EventTime{12, 30, 1}}) {
        for (uint8_t days : {uint8_t(0), uint8_t(0x7F), uint8_t(0x41)}) {
            const uint32_t w = packWeekly(days, t);
            EXPECT_EQ(w & 7u, 1u);
            EXPECT_EQ(w & 0xF8u, 0u);
            EXPECT_EQ(weeklyDays(w), days);
            EXPECT_EQ(weeklyTime(w).hour, t.hour);
            EXPECT_EQ(weeklyTime(w).minute, t.minute);
            EXPECT_EQ(weeklyTime(w).second, t.second);
        }
        for (const auto &[month, day] : {std::pair{1, 1}, std::pair{12, 31}, std::pair{2, 29}}) {
            const uint32_t w = packLongTerm(month, day, t);
            EXPECT_EQ(w & 7u, 2u);
            EXPECT_EQ(w & 0x80000018u, 0u) << "bits 3, 4 and 31 stay zero";
            EXPECT_EQ(longTermMonth(w), month);
            EXPECT_EQ(longTermDay(w), day);
            EXPECT_EQ(longTermTime(w).hour, t.hour);
            EXPECT_EQ(longTermTime(w).second, t.second);
        }
    }
    const ScheduleEvent e{0xFEDCBA91u, 79};
    const auto r = e.record();
    EXPECT_EQ(r[0], 0x91);
    EXPECT_EQ(r[3], 0xFE);
    EXPECT_EQ(r[4], 79);
    EXPECT_EQ(ScheduleEvent::fromRecord(r.data()), e);
    EXPECT_EQ(withType(0xFFFFFFFFu, kEventWeekly), 0xFFFFFFF9u);
    EXPECT_EQ(withType(0xFFFFFFFFu, kEventLongTerm), 0xFFFFFFFAu);
}

TEST(Schedule, NewEventsStartAtSixOnWeekdaysOrToday)
{
    const ScheduleEvent w = newWeeklyEvent(4);
    EXPECT_EQ(daysText(w.word), QStringLiteral("_MTWTF_"));
    EXPECT_EQ(timeText(weeklyTime(w.word), true), QStringLiteral("06:00:00"));
    EXPECT_EQ(w.preset, 4u);
    const ScheduleEvent l = newLongTermEvent(QDate(2026, 12, 8), 0);
    EXPECT_EQ(longTermDateText(l.word), QStringLiteral("Dec 8"));
}

TEST(Schedule, AWeeklyEventWithoutDaysMeetsNoFilterNotEvenAll)
{
    const uint32_t none = packWeekly(0, EventTime{6, 0, 0});
    EXPECT_EQ(daysText(none), QStringLiteral("_______"));
    for (int mask : {kAllDays, 1, 2, 4, 8, 16, 32, 64})
        EXPECT_FALSE(matchesDayFilter(none, mask)) << mask;
    const uint32_t sunSat = packWeekly(0x41, EventTime{});
    EXPECT_EQ(daysText(sunSat), QStringLiteral("S_____S"));
    EXPECT_TRUE(matchesDayFilter(sunSat, 64));
    EXPECT_FALSE(matchesDayFilter(sunSat, 2));
}

TEST(Schedule, TwelveHourTextsAndTheClockLabel)
{
    EXPECT_EQ(timeText(EventTime{13, 5, 9}, false), QStringLiteral("01:05:09 pm"));
    EXPECT_EQ(timeText(EventTime{13, 5, 9}, true), QStringLiteral("13:05:09"));
    // year-2000, month, day, weekday (Sunday 0), hour, minute, second
    const uint8_t noon[7] = {26, 12, 8, 2, 12, 0, 5};
    EXPECT_EQ(clockLabel(noon, false), QStringLiteral("ORBA Time:  Tue, Dec 8, 2026  -  12:00:05 pm"));
    const uint8_t midnight[7] = {26, 1, 1, 4, 0, 0, 0};
    EXPECT_EQ(clockLabel(midnight, false), QStringLiteral("ORBA Time:  Thu, Jan 1, 2026  -  00:00:00 am"));
    EXPECT_EQ(clockLabel(midnight, true), QStringLiteral("ORBA Time:  Thu, Jan 1, 2026  -  00:00:00"));
    const uint8_t wild[7] = {0, 0, 40, 9, 23, 59, 59}; // out-of-range names are clamped
    EXPECT_EQ(clockLabel(wild, false), QStringLiteral("ORBA Time:  Sat, Jan 40, 2000  -  11:59:59 pm"));
}

TEST(Schedule, PresetTextsNameSlotsInUseAndMarkTheOthers)
{
    PresetSlotList slotList;
    slotList.set(2, test::usedHeader("Morning Talk"));
    EXPECT_EQ(presetText(2, slotList), QStringLiteral("003 - Morning Talk"));
    EXPECT_EQ(presetText(3, slotList), QStringLiteral("004 - ????"));
    EXPECT_EQ(presetText(500, slotList), QStringLiteral("501 - ????"));
}

TEST(Schedule, PacketsHoldAtMost128AndAThousandEventsInAll)
{
    auto many = [](size_t n) {
        std::vector<ScheduleEvent> v;
        for (size_t i = 0; i < n; ++i)
            v.push_back(ScheduleEvent{packWeekly(1, EventTime{}), uint32_t(i % 80)});
        return v;
    };
    const auto thousand = schedulePackets(many(1000));
    ASSERT_EQ(thousand.size(), 8u);
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(thousand[i].count, 128);
    EXPECT_EQ(thousand[7].count, 104);
    EXPECT_EQ(thousand[7].block, 8);
    EXPECT_EQ(thousand[7].blocks, 8);
    EXPECT_EQ(thousand[7].records.size(), 104u * 8);
    EXPECT_EQ(ScheduleEvent::fromRecord(thousand[7].records.data()).preset, uint32_t(896 % 80));
    EXPECT_EQ(schedulePackets(many(1100)).size(), 8u);
    const auto none = schedulePackets({});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].block, 1);
    EXPECT_EQ(none[0].blocks, 1);
    EXPECT_EQ(none[0].count, 0);
    const auto one = schedulePackets(many(129));
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[1].count, 1);
}

TEST(Schedule, ClockSettingTakesOffsetsInHoursAndADottedServer)
{
    const QDateTime when(QDate(2026, 12, 6), QTime(15, 11, 31)); // a Sunday
    ClockSetting c;
    ASSERT_TRUE(makeClockSetting(when, true, QStringLiteral(" 10.1.2.3\t"), QStringLiteral("-5"), c));
    EXPECT_EQ(c.tzOffset, -18000);
    EXPECT_EQ(c.year, 26);
    EXPECT_EQ(c.weekday, 0);
    EXPECT_EQ(c.hour, 15);
    EXPECT_EQ(c.second, 31);
    EXPECT_TRUE(c.sntp);
    EXPECT_EQ(std::vector<uint8_t>(c.server, c.server + 4), (std::vector<uint8_t>{10, 1, 2, 3}));
    ASSERT_TRUE(makeClockSetting(when, true, QStringLiteral("10.1.2.3"), QStringLiteral(" 5 .5"), c));
    EXPECT_EQ(c.tzOffset, 19800);
    ASSERT_TRUE(makeClockSetting(when, false, QStringLiteral("10.1.2.3"), QStringLiteral("0.0003"), c));
    EXPECT_EQ(c.tzOffset, 1) << "to the nearest second";

    QString error;
    EXPECT_FALSE(makeClockSetting(when, true, QStringLiteral("time.server"), QStringLiteral("0"), c, &error));
    EXPECT_EQ(error, QStringLiteral("\"time.server\" is not an IPv4 address."));
    EXPECT_TRUE(makeClockSetting(when, false, QStringLiteral("time.server"), QStringLiteral("0"), c))
        << "by hand the server does not matter";
    EXPECT_FALSE(makeClockSetting(when, true, QStringLiteral("10.1.2.3"), QStringLiteral("five"), c, &error));
    EXPECT_FALSE(makeClockSetting(when, true, QStringLiteral("10.1.2.3"), QStringLiteral("1e9"), c, &error));
}

TEST(Schedule, EventLinesRoundTripAndSayWhatIsWrong)
{
    for (const ScheduleEvent &e : {ScheduleEvent{packWeekly(0x7F, EventTime{23, 59, 59}), 79},
                                   ScheduleEvent{packWeekly(0, EventTime{0, 0, 0}), 0},
                                   ScheduleEvent{packLongTerm(2, 29, EventTime{6, 0, 0}), 11}}) {
        ScheduleEvent back;
        QString error;
        ASSERT_TRUE(parseEventLine(eventLine(e), back, &error)) << eventLine(e).toStdString() << error.toStdString();
        EXPECT_EQ(back, e);
    }
    EXPECT_EQ(eventLine(ScheduleEvent{packWeekly(0x3E, EventTime{6, 0, 0}), 4}),
              QStringLiteral("weekly _MTWTF_ 06:00:00 5"));
    EXPECT_EQ(eventLine(ScheduleEvent{packLongTerm(12, 25, EventTime{7, 30, 0}), 0}),
              QStringLiteral("yearly 12-25 07:30:00 1"));

    const std::pair<const char *, const char *> bad[] = {
        {"", "expected"},
        {"weekly SMTWTFS 06:00:00", "expected"},
        {"weekly SMTWTF 06:00:00 1", "seven day letters"},
        {"weekly MMTWTFS 06:00:00 1", "seven day letters"},
        {"weekly SMTWTFS 24:00:00 1", "not a time of day"},
        {"weekly SMTWTFS 06:60:00 1", "not a time of day"},
        {"weekly SMTWTFS 06:00:00 81", "slot 81 is not 1-80"},
        {"weekly SMTWTFS 06:00:00 0", "slot 0 is not 1-80"},
        {"yearly 02-30 06:00:00 1", "not a date"},
        {"yearly 13-01 06:00:00 1", "not a date"},
        {"monthly 01 06:00:00 1", "expected"},
    };
    for (const auto &[line, why] : bad) {
        ScheduleEvent e;
        QString error;
        EXPECT_FALSE(parseEventLine(QString::fromLatin1(line), e, &error)) << line;
        EXPECT_TRUE(error.contains(QLatin1String(why))) << line << ": " << error.toStdString();
    }
}
