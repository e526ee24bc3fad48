#include "sim/sim_clock.h"

#include <cstring>

namespace orba::sim {

SimClock::SimClock() : m_hostNow([] { return QDateTime::currentDateTime(); }) {}

QDateTime SimClock::wall(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

QDateTime SimClock::hostWall() const
{
    const QDateTime host = m_hostNow();
    return wall(host.date(), host.time());
}

QDateTime SimClock::now() const
{
    if (m_sntp) {
        const QDateTime utc = m_hostNow().toUTC();
        return wall(utc.date(), utc.time()).addSecs(m_tzOffset);
    }
    return hostWall().addSecs(m_offset);
}

void SimClock::fill(uint8_t out[7]) const
{
    const QDateTime t = now();
    const QDate d = t.date();
    const QTime h = t.time();
    out[0] = uint8_t(d.year() - 2000);
    out[1] = uint8_t(d.month());
    out[2] = uint8_t(d.day());
    out[3] = uint8_t(d.dayOfWeek() % 7); // Qt counts Monday 1 .. Sunday 7
    out[4] = uint8_t(h.hour());
    out[5] = uint8_t(h.minute());
    out[6] = uint8_t(h.second());
}

void SimClock::setSntp(bool on, const uint8_t server[4], int32_t tzOffset)
{
    m_sntp = on;
    std::memcpy(m_server, server, 4);
    m_tzOffset = tzOffset;
}

bool SimClock::apply(const ClockSetting &s)
{
    if (s.sntp) {
        setSntp(true, s.server, s.tzOffset);
        return true;
    }
    const QDate date(2000 + s.year, s.month, s.day);
    const QTime time(s.hour, s.minute, s.second);
    if (!date.isValid() || !time.isValid())
        return false;
    // Whole seconds: the host's fraction of a second is not part of the processor's clock.
    QDateTime host = hostWall();
    host.setTime(QTime(host.time().hour(), host.time().minute(), host.time().second()));
    m_offset = host.secsTo(wall(date, time));
    setSntp(false, s.server, s.tzOffset);
    return true;
}

} // namespace orba::sim
