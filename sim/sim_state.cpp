#include "sim/sim_state.h"

#include "common/atomic_file.h"
#include "link/frames.h"
#include "sim/boot_records.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <cstring>

namespace orba::sim {

namespace {

void appendValues(QByteArray &out, const QByteArray &target, const SETTINGS_MAP &set)
{
    out += "values " + target;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id)) {
        out += ' ' + QByteArray::number(id) + '=';
        if (settingType(id) == SETTING_FLOAT)
            out += QByteArray::number(double(set.getFloat(id)), 'g', 9);
        else
            out += QByteArray::number(set.getRaw(id));
    }
    out += '\n';
}

QByteArray entryHex(int slot, const PresetHeader &h)
{
    uint8_t entry[PRESET_ENTRY_SIZE];
    encodePresetEntry(entry, uint8_t(slot), h);
    return QByteArray(reinterpret_cast<const char *>(entry), PRESET_ENTRY_SIZE).toHex();
}

bool readEntry(const QByteArray &hex, PresetHeader &h)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    if (hex.size() != qsizetype(2 * PRESET_ENTRY_SIZE) || bytes.size() != qsizetype(PRESET_ENTRY_SIZE))
        return false;
    h.clear();
    decodePresetEntry(reinterpret_cast<const uint8_t *>(bytes.constData()), h);
    return true;
}

void readValues(const QList<QByteArray> &words, SETTINGS_MAP &set)
{
    for (qsizetype i = 2; i < words.size(); ++i) {
        const qsizetype eq = words[i].indexOf('=');
        bool idOk = false, valueOk = false;
        const uint id = words[i].left(eq).toUInt(&idOk);
        if (eq < 0 || !idOk || id > 0xFFFF)
            continue;
        const QByteArray value = words[i].mid(eq + 1);
        switch (settingType(uint16_t(id))) {
        case SETTING_FLOAT: {
            const double v = value.toDouble(&valueOk);
            if (valueOk && std::isfinite(v))
                set.setFloat(uint16_t(id), float(v), CHANGE_LOCAL);
            break;
        }
        case SETTING_INT:
        case SETTING_BOOL: {
            const uint v = value.toUInt(&valueOk);
            if (valueOk)
                set.setIndex(uint16_t(id), v, CHANGE_LOCAL);
            break;
        }
        default:
            break;
        }
    }
}

} // namespace

QByteArray encodeState(const SimBank &bank, const SimClock &clock)
{
    QByteArray out = QByteArray(STATE_MAGIC) + '\n';
    out += "clock " + QByteArray::number(clock.offsetSeconds()) + '\n';
    out += "sntp " + QByteArray::number(clock.sntp() ? 1 : 0) + ' ' +
           QByteArray::fromStdString(ipText(clock.server())) + ' ' + QByteArray::number(clock.tzOffset()) +
           '\n';
    for (uint16_t id = firstGlobalId(); id != GLOBALS_END; id = nextGlobalId(id))
        out += "global " + QByteArray::number(id) + ' ' + QByteArray::number(bank.globals.get(id)) + '\n';
    out += "current " + entryHex(0, bank.current) + '\n';
    appendValues(out, "live", bank.live);
    for (int s = 0; s < PRESET_SLOTS; ++s) {
        const PresetHeader &h = bank.header(s);
        PresetHeader empty;
        empty.clear();
        if (std::memcmp(&h, &empty, sizeof h) == 0)
            continue;
        out += "slot " + QByteArray::number(s) + ' ' + entryHex(s, h) + '\n';
        appendValues(out, QByteArray::number(s), bank.values(s));
    }
    for (const Event &e : bank.events)
        out += "event " + QByteArray(reinterpret_cast<const char *>(e.data()), int(e.size())).toHex() + '\n';
    return out;
}

bool decodeState(QByteArrayView text, SimBank &bank, SimClock &clock)
{
    const QList<QByteArray> lines = text.toByteArray().split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != STATE_MAGIC)
        return false;
    bank.reset();
    clock.setOffsetSeconds(0);
    const uint8_t none[4] = {};
    clock.setSntp(false, none, 0);
    for (qsizetype l = 1; l < lines.size(); ++l) {
        const QList<QByteArray> w = lines[l].simplified().split(' ');
        const QByteArray &key = w.first();
        bool ok = false, ok2 = false;
        if (key == "clock" && w.size() == 2) {
            const qint64 offset = w[1].toLongLong(&ok);
            if (ok)
                clock.setOffsetSeconds(offset);
        } else if (key == "sntp" && w.size() == 4) {
            uint8_t server[4];
            const int tz = w[3].toInt(&ok);
            if (ok && parseIPv4(w[2].constData(), server))
                clock.setSntp(w[1] == "1", server, tz);
        } else if (key == "global" && w.size() == 3) {
            const uint id = w[1].toUInt(&ok);
            const int value = w[2].toInt(&ok2);
            if (ok && ok2 && id <= 0xFFFF)
                bank.globals.set(uint16_t(id), value, CHANGE_LOCAL);
        } else if (key == "current" && w.size() == 2) {
            readEntry(w[1], bank.current);
        } else if (key == "slot" && w.size() == 3) {
            const uint slot = w[1].toUInt(&ok);
            if (ok && slot < uint(PRESET_SLOTS))
                readEntry(w[2], bank.header(int(slot)));
        } else if (key == "values" && w.size() >= 2) {
            const uint slot = w[1].toUInt(&ok);
            if (w[1] == "live")
                readValues(w, bank.live);
            else if (ok && slot < uint(PRESET_SLOTS))
                readValues(w, bank.values(int(slot)));
        } else if (key == "event" && w.size() == 2 && bank.events.size() < size_t(EVENTS_MAX)) {
            const QByteArray bytes = QByteArray::fromHex(w[1]);
            if (w[1].size() == qsizetype(2 * EVENT_RECORD_SIZE) &&
                bytes.size() == qsizetype(EVENT_RECORD_SIZE)) {
                Event e;
                std::memcpy(e.data(), bytes.constData(), EVENT_RECORD_SIZE);
                bank.events.push_back(e);
            }
        }
    }
    return true;
}

StateLoad loadState(const QString &dir, SimBank &bank, SimClock &clock)
{
    QFile file(QDir(dir).filePath(QString::fromLatin1(STATE_FILE_NAME)));
    if (!file.exists())
        return StateLoad::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return StateLoad::Invalid;
    return decodeState(file.readAll(), bank, clock) ? StateLoad::Loaded : StateLoad::Invalid;
}

bool saveState(const QString &dir, const SimBank &bank, const SimClock &clock)
{
    if (!QDir().mkpath(dir))
        return false;
    return writeFileAtomically(QDir(dir).filePath(QString::fromLatin1(STATE_FILE_NAME)),
                               encodeState(bank, clock));
}

} // namespace orba::sim
