#include "ctl_values.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <limits>

namespace orba::ctl {

namespace {

// Labels compare without case and without any blanks: "+5.5 dB", "+5.5dB" and " +5.5 DB" are one.
QString folded(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (!c.isSpace())
            out += c.toLower();
    return out;
}

QString trimmedLabel(const std::string &label)
{
    return QString::fromLatin1(label.c_str()).trimmed();
}

// The label a raw value shows, through a scratch set so the live one is never touched.
QString labelAt(SETTINGS_MAP &scratch, uint16_t id, uint32_t raw)
{
    scratch.setIndex(id, raw, CHANGE_LOCAL);
    return trimmedLabel(scratch.label(id));
}

ParsedValue refused(const QString &error)
{
    ParsedValue v;
    v.error = error;
    return v;
}

ParsedValue settingRaw(uint32_t raw)
{
    ParsedValue v;
    v.ok = true;
    v.raw = raw;
    return v;
}

ParsedValue globalValue(int32_t value)
{
    ParsedValue v;
    v.ok = true;
    v.global = value;
    return v;
}

struct Number
{
    bool ok = false;
    double value = 0;
    QString unit; // what follows the number, without blanks; empty for a bare number
};

// A decimal number in the C locale, optionally followed by a unit ("5.3", "+5.3 dB", "- 3.0 dB",
// "-.5e1").
Number parseNumber(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^([+-]?)\\s*((?:\\d+(?:\\.\\d*)?|\\.\\d+)(?:[eE][+-]?\\d+)?)\\s*([^\\s\\d.+-][^\\s]*)?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    Number n;
    if (!m.hasMatch())
        return n;
    bool ok = false;
    n.value = (m.captured(1) + m.captured(2)).toDouble(&ok);
    n.ok = ok && std::isfinite(n.value);
    n.unit = m.captured(3);
    return n;
}

// The unit of a label: what follows its number ("+5.5 dB" gives "dB"; "Off" gives nothing).
QString labelUnit(const QString &label)
{
    const Number n = parseNumber(label);
    return n.ok ? n.unit : QString();
}

bool parseSwitch(const QString &text, bool &on)
{
    const QString t = folded(text);
    for (const char *word : {"in", "on", "yes", "y", "true", "1"})
        if (t == QLatin1String(word))
            return on = true, true;
    for (const char *word : {"out", "off", "no", "n", "false", "0"})
        if (t == QLatin1String(word))
            return on = false, true;
    return false;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

ParsedValue parseFloat(const ValueRef &ref, const QString &text)
{
    // A scratch holder gives the labels of every step without touching the live one.
    SETTINGS_MAP scratch;
    const MAP_FLOAT *h = scratch.floatHolder(ref.id);
    const QString wanted = folded(text);
    for (uint32_t i = h->minIndex(); i <= h->maxIndex(); ++i)
        if (folded(labelAt(scratch, ref.id, i)) == wanted)
            return settingRaw(i);
    const QString lowest = labelAt(scratch, ref.id, h->minIndex());
    const QString highest = labelAt(scratch, ref.id, h->maxIndex());
    const QString name = valueName(ref);

    const Number n = parseNumber(text);
    if (!n.ok)
        return refused(QStringLiteral("%1 is not a value of %2 (a number from %3 to %4)")
                           .arg(quoted(text), name, lowest, highest));
    const float value = float(n.value);
    if (!std::isfinite(value) || value < h->minimum() || value > h->maximum())
        return refused(
            QStringLiteral("%1 is out of range for %2 (%3 to %4)").arg(quoted(text), name, lowest, highest));
    const uint32_t index = h->indexOf(value);
    if (!n.unit.isEmpty()) {
        // A unit must be the one the chosen step shows, so "1.2 kHz" never becomes 1.2 Hz.
        if (n.unit.compare(labelUnit(labelAt(scratch, ref.id, index)), Qt::CaseInsensitive) != 0)
            return refused(QStringLiteral("%1: %2 is not in the units of %3 (%4 to %5)")
                               .arg(quoted(text), n.unit, name, lowest, highest));
    }
    return settingRaw(index);
}

ParsedValue parseInt(const ValueRef &ref, const QString &text)
{
    SETTINGS_MAP scratch;
    const MAP_INT *h = scratch.intHolder(ref.id);
    const QString wanted = folded(text);
    if (h->labels()) {
        QStringList choices;
        for (uint32_t v = h->minimum(); v <= h->maximum(); ++v) {
            const QString label = labelAt(scratch, ref.id, v);
            if (folded(label) == wanted)
                return settingRaw(v);
            choices << label;
        }
        bool ok = false;
        const uint value = text.trimmed().toUInt(&ok);
        if (ok && value >= h->minimum() && value <= h->maximum())
            return settingRaw(value);
        return refused(QStringLiteral("%1 is not a value of %2 (one of: %3)")
                           .arg(quoted(text), valueName(ref), choices.join(QStringLiteral(", "))));
    }
    const Number n = parseNumber(text);
    const QString range = QStringLiteral("%1 to %2").arg(h->minimum()).arg(h->maximum());
    if (!n.ok || !n.unit.isEmpty() || n.value != std::floor(n.value))
        return refused(QStringLiteral("%1 is not a value of %2 (a whole number from %3)")
                           .arg(quoted(text), valueName(ref), range));
    if (n.value < double(h->minimum()) || n.value > double(h->maximum()))
        return refused(
            QStringLiteral("%1 is out of range for %2 (%3)").arg(quoted(text), valueName(ref), range));
    return settingRaw(uint32_t(n.value));
}

ParsedValue parseBool(const ValueRef &ref, const QString &text)
{
    SETTINGS_MAP scratch;
    QString labels[2];
    for (uint32_t v = 0; v < 2; ++v) {
        labels[v] = labelAt(scratch, ref.id, v);
        if (folded(labels[v]) == folded(text))
            return settingRaw(v);
    }
    bool on = false;
    if (parseSwitch(text, on))
        return settingRaw(on ? 1 : 0);
    return refused(QStringLiteral("%1 is not a value of %2 (%3 or %4)")
                       .arg(quoted(text), valueName(ref), labels[1], labels[0]));
}

constexpr int32_t kDelayLimit = 100000; // tenths of a millisecond: 10 s
constexpr int32_t kAmFreqLast = 20;

ParsedValue parseGlobal(const ValueRef &ref, const QString &text)
{
    const QString name = valueName(ref);
    if (globalType(ref.id) == SETTING_BOOL) {
        bool on = false;
        if (parseSwitch(text, on))
            return globalValue(on ? 1 : 0);
        return refused(QStringLiteral("%1 is not a value of %2 (Y or N)").arg(quoted(text), name));
    }
    const QString wanted = folded(text);
    const Number n = parseNumber(text);
    switch (ref.id) {
    case G_DELAY: {
        if (wanted == QLatin1String("off"))
            return globalValue(0);
        // Milliseconds, or seconds as the label shows the longest delay ("10.0000S").
        const bool ms = n.unit.isEmpty() || n.unit.compare(QLatin1String("ms"), Qt::CaseInsensitive) == 0;
        const bool seconds = n.unit.compare(QLatin1String("s"), Qt::CaseInsensitive) == 0;
        if (!n.ok || (!ms && !seconds))
            return refused(QStringLiteral("%1 is not a value of %2 (milliseconds from 0 to 10000, or OFF)")
                               .arg(quoted(text), name));
        const double tenths = std::round(n.value * (seconds ? 10000 : 10));
        if (tenths < 0 || tenths > kDelayLimit)
            return refused(
                QStringLiteral("%1 is out of range for %2 (0 to 10000 ms)").arg(quoted(text), name));
        return globalValue(int32_t(tenths));
    }
    case G_AM_FREQ: {
        QStringList choices;
        for (int32_t v = 0; v <= kAmFreqLast; ++v) {
            const QString label = trimmedLabel(globalLabel(ref.id, v));
            if (folded(label) == wanted)
                return globalValue(v);
            choices << label;
        }
        return refused(QStringLiteral("%1 is not a value of %2 (one of: %3)")
                           .arg(quoted(text), name, choices.join(QStringLiteral(", "))));
    }
    case G_AM_LEVEL:
        if (!n.ok || (!n.unit.isEmpty() && n.unit != QLatin1String("%")) || n.value != std::floor(n.value))
            return refused(QStringLiteral("%1 is not a value of %2 (a percentage from 0 to 100)")
                               .arg(quoted(text), name));
        if (n.value < 0 || n.value > 100)
            return refused(QStringLiteral("%1 is out of range for %2 (0 to 100%)").arg(quoted(text), name));
        return globalValue(int32_t(n.value));
    default:
        break;
    }
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    if (!n.ok || !n.unit.isEmpty() || n.value != std::floor(n.value))
        return refused(QStringLiteral("%1 is not a value of %2 (a whole number)").arg(quoted(text), name));
    if (n.value < lowest || n.value > highest)
        return refused(QStringLiteral("%1 is out of range for %2").arg(quoted(text), name));
    return globalValue(int32_t(n.value));
}

} // namespace

std::vector<ValueRef> allValues()
{
    std::vector<ValueRef> out;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        out.push_back({ValueRef::Setting, id});
    for (uint16_t id = firstGlobalId(); id != GLOBALS_END; id = nextGlobalId(id))
        out.push_back({ValueRef::Global, id});
    return out;
}

std::optional<ValueRef> findValue(const QString &name)
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    for (const ValueRef &ref : allValues())
        if (valueName(ref).compare(wanted, Qt::CaseInsensitive) == 0)
            return ref;
    return std::nullopt;
}

QString valueName(const ValueRef &ref)
{
    const char *name = ref.kind == ValueRef::Setting ? settingName(ref.id) : globalName(ref.id);
    return QString::fromLatin1(name).trimmed();
}

QString valueLabel(const ValueRef &ref, const SETTINGS_MAP &live, const GLOBALS_MAP &globals)
{
    return trimmedLabel(ref.kind == ValueRef::Setting ? live.label(ref.id) : globals.label(ref.id));
}

QString valueRaw(const ValueRef &ref, const SETTINGS_MAP &live, const GLOBALS_MAP &globals)
{
    if (ref.kind == ValueRef::Global)
        return QString::number(globals.get(ref.id));
    switch (settingType(ref.id)) {
    case SETTING_FLOAT: {
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, live.getFloat(ref.id));
        return QString::fromLatin1(text, int(result.ptr - text));
    }
    case SETTING_INT:
        return QString::number(int32_t(live.getInt(ref.id)));
    default:
        return live.getBool(ref.id) ? QStringLiteral("1") : QStringLiteral("0");
    }
}

ParsedValue parseValue(const ValueRef &ref, const QString &text)
{
    if (ref.kind == ValueRef::Global)
        return parseGlobal(ref, text);
    switch (settingType(ref.id)) {
    case SETTING_FLOAT:
        return parseFloat(ref, text);
    case SETTING_INT:
        return parseInt(ref, text);
    case SETTING_BOOL:
        return parseBool(ref, text);
    default:
        return refused(QStringLiteral("%1 is not a parameter").arg(valueName(ref)));
    }
}

bool applyValue(const ValueRef &ref, const ParsedValue &value, SETTINGS_MAP &live, GLOBALS_MAP &globals)
{
    if (!value.ok)
        return false;
    if (ref.kind == ValueRef::Global)
        return globals.set(ref.id, value.global, CHANGE_USER);
    return live.setIndex(ref.id, value.raw, CHANGE_USER);
}

} // namespace orba::ctl
