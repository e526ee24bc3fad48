#include "session/schedule.h"

#include "link/records.h"
#include "link/wire.h"

#include <QRegularExpression>

#include <cmath>

namespace orba {

namespace {

const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char kDayLetters[] = "SMTWTFS";

uint32_t bits(uint32_t word, int first, int count)
{
    return (word >> first) & ((1u << count) - 1u);
}

QString monthName(int month)
{
    return QString::fromLatin1(kMonths[std::clamp(month, 1, 12) - 1]);
}

} // namespace

std::array<uint8_t, EVENT_RECORD_SIZE> ScheduleEvent::record() const
{
    std::array<uint8_t, EVENT_RECORD_SIZE> r{};
    wire::put32(r.data(), word);
    wire::put32(r.data() + 4, preset);
    return r;
}

ScheduleEvent ScheduleEvent::fromRecord(const uint8_t *record)
{
    return ScheduleEvent{wire::get32(record), wire::get32(record + 4)};
}

uint32_t packWeekly(uint8_t days, const EventTime &t)
{
    return uint32_t(kEventWeekly) | (uint32_t(days & 0x7F) << 8) | (uint32_t(t.hour & 0x1F) << 15) |
           (uint32_t(t.minute & 0x3F) << 20) | (uint32_t(t.second & 0x3F) << 26);
}

uint32_t packLongTerm(int month, int day, const EventTime &t)
{
    return uint32_t(kEventLongTerm) | (uint32_t(month & 0xF) << 5) | (uint32_t(day & 0x1F) << 9) |
           (uint32_t(t.hour & 0x1F) << 14) | (uint32_t(t.minute & 0x3F) << 19) |
           (uint32_t(t.second & 0x3F) << 25);
}

uint8_t weeklyDays(uint32_t word)
{
    return uint8_t(bits(word, 8, 7));
}

EventTime weeklyTime(uint32_t word)
{
    return EventTime{int(bits(word, 15, 5)), int(bits(word, 20, 6)), int(bits(word, 26, 6))};
}

int longTermMonth(uint32_t word)
{
    return int(bits(word, 5, 4));
}

int longTermDay(uint32_t word)
{
    return int(bits(word, 9, 5));
}

EventTime longTermTime(uint32_t word)
{
    return EventTime{int(bits(word, 14, 5)), int(bits(word, 19, 6)), int(bits(word, 25, 6))};
}

uint32_t withType(uint32_t word, EventType type)
{
    return type == kEventWeekly ? (word & ~6u) | 1u : (word & ~5u) | 2u;
}

ScheduleEvent newWeeklyEvent(uint32_t preset)
{
    return ScheduleEvent{packWeekly(0x3E, EventTime{6, 0, 0}), preset};
}

ScheduleEvent newLongTermEvent(const QDate &today, uint32_t preset)
{
    return ScheduleEvent{packLongTerm(today.month(), today.day(), EventTime{6, 0, 0}), preset};
}

bool matchesDayFilter(uint32_t word, int mask)
{
    return (weeklyDays(word) & mask) != 0;
}

QString daysText(uint32_t word)
{
    QString out;
    const uint8_t days = weeklyDays(word);
    for (int d = 0; d < 7; ++d)
        out += (days & (1 << d)) ? QLatin1Char(kDayLetters[d]) : QLatin1Char('_');
    return out;
}

QString longTermDateText(uint32_t word)
{
    return QStringLiteral("%1 %2").arg(monthName(longTermMonth(word))).arg(longTermDay(word));
}

QString timeText(const EventTime &t, bool hours24)
{
    // As the event dialogs' time edits show it.
    return QTime(t.hour, t.minute, t.second).toString(hours24 ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm:ss ap"));
}

QString presetText(uint32_t preset, const PresetSlotList &slotList)
{
    const PresetHeader h = slotList.get(int(std::min<uint32_t>(preset, 0x7FFFFFFF)));
    const QString number = QString::asprintf("%03u - ", unsigned(preset + 1));
    if (preset < uint32_t(PresetSlotList::size()) && h.inUse != 0)
        return number + QString::fromLatin1(QByteArray::fromStdString(h.nameText()));
    return number + QStringLiteral("????");
}

QString clockLabel(const uint8_t *c, bool hours24)
{
    const int weekday = std::min<int>(c[3], 6);
    int hour = c[4];
    QString suffix;
    if (!hours24) {
        suffix = hour < 12 ? QStringLiteral(" am") : QStringLiteral(" pm");
        if (hour > 12)
            hour -= 12;
    }
    return QStringLiteral("ORBA Time:  %1, %2 %3, %4  -  ")
               .arg(QLatin1String(kWeekdays[weekday]), monthName(c[1]))
               .arg(c[2])
               .arg(int(c[0]) + 2000) +
           QString::asprintf("%02d:%02d:%02d", hour, c[5], c[6]) + suffix;
}

std::vector<EventPacket> schedulePackets(const std::vector<ScheduleEvent> &events)
{
    const size_t n = std::min<size_t>(events.size(), EVENTS_MAX);
    std::vector<EventPacket> out;
    if (n == 0) {
        out.push_back(EventPacket{1, 1, 0, std::vector<uint8_t>(EVENT_RECORD_SIZE, 0)}); // no null buffer
        return out;
    }
    const auto blocks = uint16_t((n + EVENTS_PER_FRAME - 1) / EVENTS_PER_FRAME);
    for (size_t first = 0; first < n; first += EVENTS_PER_FRAME) {
        EventPacket p;
        p.block = uint16_t(out.size() + 1);
        p.blocks = blocks;
        p.count = uint16_t(std::min<size_t>(EVENTS_PER_FRAME, n - first));
        for (size_t i = first; i < first + p.count; ++i) {
            const auto r = events[i].record();
            p.records.insert(p.records.end(), r.begin(), r.end());
        }
        out.push_back(std::move(p));
    }
    return out;
}

bool makeClockSetting(const QDateTime &when, bool sntp, const QString &server, const QString &offsetHours,
                      ClockSetting &out, QString *error)
{
    auto compact = [](QString s) { return s.remove(QLatin1Char(' ')).remove(QLatin1Char('\t')); };
    const QDate d = when.date();
    const QTime t = when.time();
    out = ClockSetting{};
    out.year = uint8_t(std::clamp(d.year() - 2000, 0, 255));
    out.month = uint8_t(d.month());
    out.day = uint8_t(d.day());
    out.weekday = uint8_t(d.dayOfWeek() % 7); // Qt counts Monday as 1, Sunday as 7
    out.hour = uint8_t(t.hour());
    out.minute = uint8_t(t.minute());
    out.second = uint8_t(t.second());
    out.sntp = sntp;
    const QByteArray address = compact(server).toLatin1();
    if (!parseIPv4(address.constData(), out.server)) {
        std::fill(std::begin(out.server), std::end(out.server), 0);
        if (sntp) {
            if (error)
                *error = QStringLiteral("\"%1\" is not an IPv4 address.").arg(server.trimmed());
            return false;
        }
    }
    bool ok = false;
    const QString offset = compact(offsetHours);
    const double hours = offset.isEmpty() ? 0.0 : offset.toDouble(&ok);
    if (!offset.isEmpty() && (!ok || !std::isfinite(hours) || std::fabs(hours) > 24)) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a time-zone offset in hours.").arg(offsetHours.trimmed());
        return false;
    }
    out.tzOffset = int32_t(std::lround(hours * 3600.0));
    return true;
}

QString eventLine(const ScheduleEvent &e)
{
    const unsigned slot = unsigned(e.preset) + 1;
    if (e.type() == kEventWeekly) {
        const EventTime t = weeklyTime(e.word);
        return QStringLiteral("weekly %1 %2 %3").arg(daysText(e.word), timeText(t, true)).arg(slot);
    }
    const EventTime t = longTermTime(e.word);
    return QString::asprintf("yearly %02d-%02d ", longTermMonth(e.word), longTermDay(e.word)) +
           timeText(t, true) + QStringLiteral(" %1").arg(slot);
}

bool parseEventLine(const QString &line, ScheduleEvent &event, QString *error)
{
    auto failed = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    static const QRegularExpression shape(
        QStringLiteral("^\\s*(weekly|yearly)\\s+(\\S+)\\s+(\\d{1,2}):(\\d{2}):(\\d{2})\\s+(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch m = shape.match(line);
    if (!m.hasMatch())
        return failed(QStringLiteral("expected \"weekly DAYS HH:MM:SS SLOT\" or \"yearly MM-DD HH:MM:SS SLOT\""));
    const EventTime t{m.captured(3).toInt(), m.captured(4).toInt(), m.captured(5).toInt()};
    if (t.hour > 23 || t.minute > 59 || t.second > 59)
        return failed(QStringLiteral("\"%1:%2:%3\" is not a time of day")
                          .arg(m.captured(3), m.captured(4), m.captured(5)));
    const int slot = m.captured(6).toInt();
    if (slot < 1 || slot > PresetSlotList::size())
        return failed(QStringLiteral("slot %1 is not 1-%2").arg(slot).arg(PresetSlotList::size()));
    const QString when = m.captured(2);
    if (m.captured(1) == QLatin1String("weekly")) {
        if (when.size() != 7)
            return failed(QStringLiteral("\"%1\" is not seven day letters \"SMTWTFS\" or \"_\"").arg(when));
        uint8_t days = 0;
        for (int d = 0; d < 7; ++d) {
            if (when[d] == QLatin1Char(kDayLetters[d]))
                days |= uint8_t(1 << d);
            else if (when[d] != QLatin1Char('_'))
                return failed(QStringLiteral("\"%1\" is not seven day letters \"SMTWTFS\" or \"_\"").arg(when));
        }
        event = ScheduleEvent{packWeekly(days, t), uint32_t(slot - 1)};
        return true;
    }
    static const QRegularExpression date(QStringLiteral("^(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch md = date.match(when);
    // Every year: 29 February stands, as the processor takes it in leap years.
    if (!md.hasMatch() || !QDate(2000, md.captured(1).toInt(), md.captured(2).toInt()).isValid())
        return failed(QStringLiteral("\"%1\" is not a date MM-DD").arg(when));
    event = ScheduleEvent{packLongTerm(md.captured(1).toInt(), md.captured(2).toInt(), t), uint32_t(slot - 1)};
    return true;
}

} // namespace orba
