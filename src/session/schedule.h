// The processor's preset schedule and clock, free of widgets: the packed event records, the texts
// the scheduler shows, the packets a schedule is sent in, the clock setting, and the one-line text
// form orba-ctl reads and writes.
#pragma once

#include "link/frames.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

class PresetSlotList;

namespace orba {

enum EventType : int { kEventWeekly = 1, kEventLongTerm = 2 };

// One event as it is stored and sent: the packed time word and the 0-based slot to take.
struct ScheduleEvent
{
    uint32_t word = 0;
    uint32_t preset = 0;

    int type() const { return int(word & 7u); }
    std::array<uint8_t, EVENT_RECORD_SIZE> record() const;
    static ScheduleEvent fromRecord(const uint8_t *record);
    bool operator==(const ScheduleEvent &o) const { return word == o.word && preset == o.preset; }
};

struct EventTime
{
    int hour = 0, minute = 0, second = 0;
};

// Days: bit 0 Sunday .. bit 6 Saturday.
uint32_t packWeekly(uint8_t days, const EventTime &time);
uint32_t packLongTerm(int month, int day, const EventTime &time);
uint8_t weeklyDays(uint32_t word);
EventTime weeklyTime(uint32_t word);
int longTermMonth(uint32_t word);
int longTermDay(uint32_t word);
EventTime longTermTime(uint32_t word);
// Sets the type bits: weekly clears bits 1 and 2 and sets bit 0, long-term clears 0 and 2 and sets 1.
uint32_t withType(uint32_t word, EventType type);

// New events: weekly Monday to Friday, long-term today's date; both at 06:00:00.
ScheduleEvent newWeeklyEvent(uint32_t preset);
ScheduleEvent newLongTermEvent(const QDate &today, uint32_t preset);

// Day filter of the weekly view (bit 0 Sunday .. bit 6 Saturday; 127 all).
constexpr int kAllDays = 127;
bool matchesDayFilter(uint32_t word, int mask);

// What the scheduler's trees show.
QString daysText(uint32_t word);     // "SMTWTFS" with "_" for a day that is off
QString longTermDateText(uint32_t word); // "Mar 4"
QString timeText(const EventTime &time, bool hours24); // "hh:mm:ss", or "hh:mm:ss ap" from 12:00:00 am
QString presetText(uint32_t preset, const PresetSlotList &slotList); // "003 - Name" or "003 - ????"
// The scheduler's clock label from the seven clock bytes of the meter stream.
QString clockLabel(const uint8_t *clock, bool hours24);

// The packets a schedule goes out in: at most 1000 events, 128 a packet, one empty packet for none.
struct EventPacket
{
    uint16_t block = 1, blocks = 1, count = 0;
    std::vector<uint8_t> records; // count records
};
std::vector<EventPacket> schedulePackets(const std::vector<ScheduleEvent> &events);

// The clock setting from a date and time, the SNTP flag, and the server and offset texts as typed
// (spaces and tabs ignored; the offset in hours, to the nearest second). False when SNTP is chosen
// and the server is no dotted IPv4 address, or the offset is no number.
bool makeClockSetting(const QDateTime &when, bool sntp, const QString &server, const QString &offsetHours,
                      ClockSetting &out, QString *error = nullptr);

// The text form of one event: "weekly DAYS HH:MM:SS SLOT" or "yearly MM-DD HH:MM:SS SLOT", SLOT
// counted from 1.
QString eventLine(const ScheduleEvent &event);
// False with the reason when the line is no event.
bool parseEventLine(const QString &line, ScheduleEvent &event, QString *error);

} // namespace orba
