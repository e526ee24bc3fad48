#include "ctl_schedule.h"

#include "common/whole_file.h"

#include <QFile>

namespace orba::ctl {

namespace {

SchedulePlan refused(const QString &error)
{
    SchedulePlan p;
    p.error = error;
    return p;
}

} // namespace

SchedulePlan parseEventsText(const QByteArray &text, bool truncate)
{
    SchedulePlan p;
    p.action = SchedulePlan::PutEvents;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (line.isEmpty())
            continue;
        ScheduleEvent e;
        QString why;
        if (!parseEventLine(line, e, &why))
            return refused(QStringLiteral("line %1: %2").arg(i + 1).arg(why));
        p.events.push_back(e);
    }
    if (p.events.size() > size_t(EVENTS_MAX)) {
        if (!truncate)
            return refused(QStringLiteral("%1 events: the processor holds at most %2 (--truncate sends the first %2)")
                               .arg(p.events.size())
                               .arg(EVENTS_MAX));
        p.events.resize(EVENTS_MAX);
    }
    return p;
}

SchedulePlan planSchedule(const Options &o, const QByteArray &standardInput)
{
    const QString what = o.arguments.value(0);
    if (o.command == QLatin1String("events")) {
        if (what == QLatin1String("get")) {
            SchedulePlan p;
            p.action = SchedulePlan::GetEvents;
            return p;
        }
        const QString path = o.arguments.value(1);
        if (path == QLatin1String("-"))
            return parseEventsText(standardInput, o.truncate);
        QByteArray text;
        switch (readWholeFile(path, kLongestEventsFile, text)) {
        case FileReadResult::Ok:
            return parseEventsText(text, o.truncate);
        case FileReadResult::Missing:
            return refused(QStringLiteral("events put: \"%1\" does not exist").arg(path));
        case FileReadResult::NotRegular:
            return refused(QStringLiteral("events put: \"%1\" is not a regular file").arg(path));
        case FileReadResult::TooLarge:
            return refused(QStringLiteral("events put: \"%1\" is larger than %2").arg(path, sizeText(kLongestEventsFile)));
        case FileReadResult::Unreadable:
            break;
        }
        return refused(QStringLiteral("events put: \"%1\" cannot be read").arg(path));
    }
    SchedulePlan p;
    if (what == QLatin1String("get")) {
        p.action = SchedulePlan::GetClock;
        return p;
    }
    p.action = SchedulePlan::SetClock;
    const QString when = o.arguments.value(1);
    const QDateTime at = when == QLatin1String("now")
                             ? QDateTime::currentDateTime()
                             : QDateTime::fromString(when.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!at.isValid() || at.date().year() < 2000 || at.date().year() > 2255)
        return refused(QStringLiteral("clock set: \"%1\" is not now or \"YYYY-MM-DD HH:MM:SS\" (2000-2255)").arg(when));
    QString error;
    if (!makeClockSetting(at, o.sntpGiven, o.sntpServer, o.tzHours, p.clock, &error))
        return refused(QStringLiteral("clock set: %1").arg(error));
    return p;
}

QString clockLine(const MeterHeader &h)
{
    static const char *const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const uint8_t *c = h.clock;
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d\t%s\t%s\t%d.%d.%d.%d\t%+0.2f", int(c[0]) + 2000, c[1],
                             c[2], c[4], c[5], c[6], days[std::min<int>(c[3], 6)], h.sntp ? "sntp" : "manual",
                             h.server[0], h.server[1], h.server[2], h.server[3], double(h.tzOffset) / 3600.0);
}

} // namespace orba::ctl
