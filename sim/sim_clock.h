// The simulated processor's clock: the host's time plus an offset that MSG_SET_CLOCK sets, or, in
// SNTP mode, the host's UTC time plus the time-zone offset (as if the server had been reached; the
// simulator never contacts it). Times are wall-clock readings held as UTC QDateTimes, so
// adding offsets never meets a daylight-saving gap.
#pragma once

#include "link/frames.h"

#include <QDateTime>

#include <cstdint>
#include <functional>

namespace orba::sim {

class SimClock
{
public:
    using HostNow = std::function<QDateTime()>;

    SimClock();

    // The host's current local time; tests inject a fixed or stepping one.
    void setHostNow(HostNow now) { m_hostNow = std::move(now); }

    QDateTime now() const;
    // year - 2000, month, day, weekday (0 = Sunday), hour, minute, second
    void fill(uint8_t out[7]) const;

    // Takes a MSG_SET_CLOCK setting. In manual mode an impossible date or time leaves the clock
    // as it was (false); the weekday is recomputed from the date. The SNTP fields are kept in
    // both modes.
    bool apply(const ClockSetting &setting);

    bool sntp() const { return m_sntp; }
    const uint8_t *server() const { return m_server; }
    int32_t tzOffset() const { return m_tzOffset; }
    void setSntp(bool on, const uint8_t server[4], int32_t tzOffset);

    qint64 offsetSeconds() const { return m_offset; }
    void setOffsetSeconds(qint64 seconds) { m_offset = seconds; }

    // A wall-clock reading as the clock holds it.
    static QDateTime wall(const QDate &date, const QTime &time);

private:
    QDateTime hostWall() const;

    HostNow m_hostNow;
    qint64 m_offset = 0;
    bool m_sntp = false;
    uint8_t m_server[4] = {};
    int32_t m_tzOffset = 0;
};

} // namespace orba::sim
