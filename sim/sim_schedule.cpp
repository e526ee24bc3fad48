#include "sim/sim_schedule.h"

#include "link/wire.h"

namespace orba::sim {

namespace {

Event makeEvent(uint32_t word, uint32_t slot)
{
    Event e{};
    wire::put32(e.data(), word);
    wire::put32(e.data() + 4, slot);
    return e;
}

QDateTime wholeSecond(QDateTime t)
{
    if (t.isValid())
        t.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return t;
}

} // namespace

Event weeklyEvent(unsigned days, int hour, int minute, int second, uint32_t slot)
{
    const uint32_t word = EVENT_WEEKLY | ((days & 0x7Fu) << 8) | (uint32_t(hour & 31) << 15) |
                          (uint32_t(minute & 63) << 20) | (uint32_t(second & 63) << 26);
    return makeEvent(word, slot);
}

Event longTermEvent(int month, int day, int hour, int minute, int second, uint32_t slot)
{
    const uint32_t word = EVENT_LONG_TERM | (uint32_t(month & 15) << 5) | (uint32_t(day & 31) << 9) |
                          (uint32_t(hour & 31) << 14) | (uint32_t(minute & 63) << 19) |
                          (uint32_t(second & 63) << 25);
    return makeEvent(word, slot);
}

uint32_t eventWord(const Event &e)
{
    return wire::get32(e.data());
}

uint32_t eventSlot(const Event &e)
{
    return wire::get32(e.data() + 4);
}

bool eventDue(const Event &e, const QDateTime &at)
{
    const uint32_t w = eventWord(e);
    const QDate d = at.date();
    const QTime t = at.time();
    switch (w & 7u) {
    case EVENT_WEEKLY: {
        const int weekday = d.dayOfWeek() % 7; // 0 = Sunday
        return ((w >> 8) & (1u << weekday)) != 0 && int((w >> 15) & 31) == t.hour() &&
               int((w >> 20) & 63) == t.minute() && int((w >> 26) & 63) == t.second();
    }
    case EVENT_LONG_TERM:
        return int((w >> 5) & 15) == d.month() && int((w >> 9) & 31) == d.day() &&
               int((w >> 14) & 31) == t.hour() && int((w >> 19) & 63) == t.minute() &&
               int((w >> 25) & 63) == t.second();
    default:
        return false;
    }
}

std::vector<uint32_t> dueSlots(const std::vector<Event> &events, const QDateTime &afterAt,
                               const QDateTime &upToAt, int maxSpan)
{
    std::vector<uint32_t> slotList;
    if (events.empty() || !upToAt.isValid())
        return slotList;
    const QDateTime after = wholeSecond(afterAt);
    const QDateTime upTo = wholeSecond(upToAt);
    const qint64 span = after.isValid() ? after.secsTo(upTo) : -1;
    if (span == 0)
        return slotList; // this second was looked at already
    const QDateTime first = span > 0 && span <= maxSpan ? after.addSecs(1) : upTo;
    for (QDateTime at = first; at <= upTo; at = at.addSecs(1))
        for (const Event &e : events)
            if (eventDue(e, at))
                slotList.push_back(eventSlot(e));
    return slotList;
}

} // namespace orba::sim
