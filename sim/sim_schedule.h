// The processor's own schedule: which events fall due at a second of its clock. Weekly events name
// days of the week and a time; long-term events a month, a day and a time, every year.
#pragma once

#include "sim/sim_bank.h"

#include <QDateTime>

#include <cstdint>
#include <vector>

namespace orba::sim {

enum EventType : uint32_t { EVENT_WEEKLY = 1, EVENT_LONG_TERM = 2 };

// Days: bit 0 Sunday .. bit 6 Saturday.
Event weeklyEvent(unsigned days, int hour, int minute, int second, uint32_t slot);
Event longTermEvent(int month, int day, int hour, int minute, int second, uint32_t slot);

uint32_t eventWord(const Event &e);
uint32_t eventSlot(const Event &e);

// Whether the event is due at this second of the clock; other types never are.
bool eventDue(const Event &e, const QDateTime &at);

// The slots to take, in list order, for every second after `after` up to and including `upTo`.
// A jump of more than `maxSpan` seconds (or backwards) looks at `upTo` alone, so setting the clock
// does not replay a day's schedule.
std::vector<uint32_t> dueSlots(const std::vector<Event> &events, const QDateTime &after,
                               const QDateTime &upTo, int maxSpan = 120);

} // namespace orba::sim
