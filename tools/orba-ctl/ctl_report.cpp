#include "ctl_report.h"

#include "panels/meter_body.h"

#include <QJsonArray>

namespace orba::ctl {

namespace {

QString versionNumbers(const ProcessorVersion &v)
{
    return QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.build);
}

QString versionText(const ProcessorVersion &v, int which)
{
    return QString::fromLatin1(v.text[which], int(qstrnlen(v.text[which], VERSION_TEXT_SIZE))).trimmed();
}

const char *const kVersionKeys[3] = {"date", "fpga", "dsp"};

// Level bytes count quarter decibels below full scale.
float levelDb(uint8_t byte)
{
    return -float(byte) / 4.0f;
}

void readPair(const uint8_t *at, float out[2])
{
    out[0] = levelDb(at[0]);
    out[1] = levelDb(at[1]);
}

QJsonArray pair(const float values[2])
{
    return QJsonArray{double(values[0]), double(values[1])};
}

QString db(float value)
{
    return QString::number(double(value), 'f', 2);
}

} // namespace

QStringList statusLines(const StatusReport &status)
{
    QStringList lines;
    lines << QStringLiteral("link\t") + status.link;
    lines << QStringLiteral("processor\t") + status.processor;
    if (!status.device.isEmpty())
        lines << QStringLiteral("device\t") + status.device;
    lines << QStringLiteral("version\t") + versionNumbers(status.version);
    for (int i = 0; i < 3; ++i)
        lines << QLatin1String(kVersionKeys[i]) + QLatin1Char('\t') + versionText(status.version, i);
    lines << QStringLiteral("preset\t") + status.preset;
    return lines;
}

QJsonObject statusJson(const StatusReport &status)
{
    QJsonObject version{{QStringLiteral("major"), status.version.major},
                        {QStringLiteral("minor"), status.version.minor},
                        {QStringLiteral("build"), status.version.build},
                        {QStringLiteral("text"), versionNumbers(status.version)}};
    for (int i = 0; i < 3; ++i)
        version.insert(QLatin1String(kVersionKeys[i]), versionText(status.version, i));
    QJsonObject o{{QStringLiteral("link"), status.link},
                  {QStringLiteral("processor"), status.processor},
                  {QStringLiteral("version"), version},
                  {QStringLiteral("preset"), status.preset}};
    if (!status.device.isEmpty())
        o.insert(QStringLiteral("device"), status.device);
    return o;
}

std::vector<SlotEntry> slotsInUse(const PresetSlotList &list)
{
    std::vector<SlotEntry> out;
    for (int i = 0; i < PresetSlotList::size(); ++i) {
        const PresetHeader h = list.get(i);
        if (h.inUse == 0)
            continue;
        out.push_back({i + 1, QString::fromLatin1(QByteArray::fromStdString(h.nameText())), h.lock});
    }
    return out;
}

QString lockText(uint8_t lock)
{
    switch (lock) {
    case PRESET_UNLOCKED:
        return QStringLiteral("unlocked");
    case PRESET_LOCKED:
        return QStringLiteral("locked");
    case PRESET_FACTORY_LOCKED:
        return QStringLiteral("factory locked");
    default:
        return QStringLiteral("lock %1").arg(lock);
    }
}

QString slotLine(const SlotEntry &slot)
{
    return QStringLiteral("%1\t%2\t%3")
        .arg(slot.number, 3, 10, QLatin1Char('0'))
        .arg(slot.name, lockText(slot.lock));
}

QJsonObject slotJson(const SlotEntry &slot)
{
    return QJsonObject{{QStringLiteral("slot"), slot.number},
                       {QStringLiteral("name"), slot.name},
                       {QStringLiteral("lock"), lockText(slot.lock)}};
}

MainLevels mainLevels(const uint8_t *d)
{
    using namespace orba::meterbody;
    MainLevels m;
    readPair(d + kInputLevels, m.in);
    readPair(d + kInputLevels + 2, m.inPeak);
    m.inOver[0] = d[kInputLevels + 4] != 0;
    m.inOver[1] = d[kInputLevels + 5] != 0;
    readPair(d + kAmLevels[0], m.am);
    readPair(d + kAmLevels[0] + 2, m.amPeak);
    readPair(d + kHdLevels, m.hd);
    readPair(d + kHdLevels + 2, m.hdPeak);
    return m;
}

QString meterLine(const MainLevels &m)
{
    return QStringLiteral("IN\t%1\t%2\tAM\t%3\t%4\tHD\t%5\t%6")
        .arg(db(m.in[0]), db(m.in[1]), db(m.am[0]), db(m.am[1]), db(m.hd[0]), db(m.hd[1]));
}

QJsonObject meterJson(const MainLevels &m)
{
    const QJsonObject in{{QStringLiteral("level"), pair(m.in)},
                         {QStringLiteral("peak"), pair(m.inPeak)},
                         {QStringLiteral("over"), QJsonArray{m.inOver[0], m.inOver[1]}}};
    const QJsonObject am{{QStringLiteral("level"), pair(m.am)}, {QStringLiteral("peak"), pair(m.amPeak)}};
    const QJsonObject hd{{QStringLiteral("level"), pair(m.hd)}, {QStringLiteral("peak"), pair(m.hdPeak)}};
    return QJsonObject{{QStringLiteral("in"), in}, {QStringLiteral("am"), am}, {QStringLiteral("hd"), hd}};
}

} // namespace orba::ctl
