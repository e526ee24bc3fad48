// orba-ctl's schedule and clock commands: the events file read and checked before any connection,
// the clock setting from the command line, and the texts printed.
#pragma once

#include "ctl_options.h"
#include "link/meter_datagram.h"
#include "session/schedule.h"

#include <QByteArray>

#include <vector>

namespace orba::ctl {

constexpr qint64 kLongestEventsFile = 1 << 20;

struct SchedulePlan
{
    enum Action { None, GetEvents, PutEvents, GetClock, SetClock } action = None;
    std::vector<ScheduleEvent> events; // PutEvents
    ClockSetting clock;                // SetClock
    QString error;                     // not empty: refused before connecting
};

// Reads the events text of "events put" (FILE, or "-" for the given standard input text).
SchedulePlan planSchedule(const Options &options, const QByteArray &standardInput = {});
// The events of a text, one a line (empty lines skipped); refused with the first wrong line's
// number, or when more than 1000 come and truncate is not set.
SchedulePlan parseEventsText(const QByteArray &text, bool truncate);

// "YYYY-MM-DD HH:MM:SS<TAB>WEEKDAY<TAB>sntp|manual<TAB>SERVER<TAB>OFFSET" from the meter clock.
QString clockLine(const MeterHeader &clock);

} // namespace orba::ctl
