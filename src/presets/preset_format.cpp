#include "presets/preset_format.h"

#include "presets/rc4.h"

#include <QtEndian>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace orba {

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n' || c == '\0';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Offset just after the header line, or -1 when the data does not start with the current magic.
qsizetype currentFormatStart(QByteArrayView data)
{
    const PresetLine line = readPresetLine(data, 0);
    return line.field1 == PRESET_MAGIC ? line.next : -1;
}

// Checks the first line's magic and takes the name from it. Returns where the line ends, or -1.
qsizetype takeHeaderLine(QByteArrayView data, const char *magic, PresetHeader &header)
{
    const PresetLine line = readPresetLine(data, 0);
    if (line.field1 != magic)
        return -1;
    header.setName(line.field2.toStdString());
    return line.next;
}

// Deciphers the 92-byte block after the header line; bytes past the end of the data stay zero.
// Returns how many bytes were there.
qsizetype readBlock(QByteArrayView data, qsizetype start, Rc4 &rc4, uint8_t (&block)[PRESET_BLOCK_BYTES])
{
    std::memset(block, 0, sizeof block);
    const qsizetype n = std::min<qsizetype>(PRESET_BLOCK_BYTES, data.size() - start);
    std::memcpy(block, data.data() + start, size_t(n));
    rc4.apply(block, size_t(n));
    return n;
}

void setFromRecord(SETTINGS_MAP &table, uint16_t id, uint32_t value)
{
    switch (settingType(id)) {
    case SETTING_FLOAT: {
        float f;
        std::memcpy(&f, &value, sizeof f);
        if (!std::isnan(f))
            table.setFloat(id, f, CHANGE_LOCAL);
        break;
    }
    case SETTING_INT:
        table.setInt(id, value, CHANGE_LOCAL);
        break;
    case SETTING_BOOL:
        table.setBool(id, value != 0, CHANGE_LOCAL);
        break;
    default:
        break; // not in the table
    }
}

void setFromText(SETTINGS_MAP &table, uint16_t id, QByteArrayView text)
{
    switch (settingType(id)) {
    case SETTING_FLOAT: {
        // An infinity is clamped by the parameter's range like any other large value.
        const double d = std::clamp(leadingDouble(text), -double(FLT_MAX), double(FLT_MAX));
        table.setFloat(id, float(d), CHANGE_LOCAL);
        break;
    }
    case SETTING_INT:
        table.setInt(id, uint32_t(leadingInt32(text)), CHANGE_LOCAL);
        break;
    case SETTING_BOOL:
        table.setBool(id, leadingInt32(text) != 0, CHANGE_LOCAL);
        break;
    default:
        break;
    }
}

void appendLe32(QByteArray &out, uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

PresetLine readPresetLine(QByteArrayView data, qsizetype pos)
{
    PresetLine line;
    const qsizetype limit = std::min<qsizetype>(data.size(), pos + PRESET_LINE_LIMIT);
    qsizetype end = pos;
    while (end < limit && data[end] != '\n')
        ++end;
    line.next = end < limit ? end + 1 : end; // the line feed belongs to the line
    qsizetype textEnd = pos;
    while (textEnd < end && !isLineEnd(data[textEnd]))
        ++textEnd;
    const QByteArrayView text = data.sliced(pos, textEnd - pos);
    const qsizetype c1 = text.indexOf(':');
    if (c1 < 0) {
        line.field1 = text.toByteArray();
        return line;
    }
    line.field1 = text.first(c1).toByteArray();
    const QByteArrayView rest = text.sliced(c1 + 1);
    const qsizetype c2 = rest.indexOf(':');
    if (c2 < 0) {
        line.field2 = rest.toByteArray();
        return line;
    }
    line.field2 = rest.first(c2).toByteArray();
    line.field3 = rest.sliced(c2 + 1).toByteArray();
    return line;
}

int decodePresetHeader(QByteArrayView data, PresetHeader &header)
{
    const qsizetype start = takeHeaderLine(data, PRESET_MAGIC, header);
    if (start < 0)
        return PRESET_INVALID_TYPE;
    Rc4 rc4(PRESET_KEY, PRESET_KEY_LENGTH);
    uint8_t block[PRESET_BLOCK_BYTES];
    const qsizetype got = readBlock(data, start, rc4, block);
    PresetReserved &r = header.reserved;
    r.word[0] = qFromLittleEndian<uint32_t>(block + 4);
    r.word[1] = qFromLittleEndian<uint32_t>(block + 8);
    std::memcpy(r.text, block + 12, sizeof r.text);
    // Only the bytes that were read are inverted back; the rest of a cut block stays zero.
    auto *text = reinterpret_cast<uint8_t *>(r.text);
    for (qsizetype i = 0; i + 12 < got; ++i)
        text[i] = uint8_t(~text[i]);
    return PRESET_OK;
}

int decodeOldPresetHeader(QByteArrayView data, PresetHeader &header)
{
    return takeHeaderLine(data, OLD_PRESET_MAGIC, header) < 0 ? PRESET_INVALID_TYPE : PRESET_OK;
}

int decodePresetHeaderAny(QByteArrayView data, PresetHeader &header)
{
    header.clear();
    if (decodePresetHeader(data, header) == PRESET_OK)
        return PRESET_OK;
    return decodeOldPresetHeader(data, header);
}

int decodePresetRecords(QByteArrayView data, SETTINGS_MAP &table)
{
    const qsizetype start = currentFormatStart(data);
    if (start < 0)
        return PRESET_INVALID_TYPE;
    Rc4 rc4(PRESET_KEY, PRESET_KEY_LENGTH);
    uint8_t block[PRESET_BLOCK_BYTES];
    readBlock(data, start, rc4, block);
    for (qsizetype pos = start + PRESET_BLOCK_BYTES; pos + PRESET_RECORD_BYTES <= data.size();
         pos += PRESET_RECORD_BYTES) {
        uint8_t record[PRESET_RECORD_BYTES];
        std::memcpy(record, data.data() + pos, sizeof record);
        rc4.apply(record, sizeof record);
        const uint16_t id = qFromLittleEndian<uint16_t>(record);
        if (id != 0)
            setFromRecord(table, id, qFromLittleEndian<uint32_t>(record + 2));
    }
    return PRESET_OK;
}

int decodeOldPresetRecords(QByteArrayView data, SETTINGS_MAP &table)
{
    PresetLine line = readPresetLine(data, 0);
    if (line.field1 != OLD_PRESET_MAGIC)
        return PRESET_INVALID_TYPE;
    for (qsizetype pos = line.next; pos < data.size(); pos = line.next) {
        line = readPresetLine(data, pos);
        const auto id = uint16_t(leadingInt32(line.field1));
        if (id != 0)
            setFromText(table, id, line.field2);
    }
    return PRESET_OK;
}

int decodePreset(QByteArrayView data, PresetHeader &header, SETTINGS_MAP &table)
{
    int result = decodePresetHeaderAny(data, header);
    if (result == PRESET_OK) {
        result = decodePresetRecords(data, table);
        if (result != PRESET_OK)
            result = decodeOldPresetRecords(data, table);
        if (result == PRESET_OK)
            header.inUse = 1;
    }
    computePresetChecksums(table, header);
    return result;
}

QByteArray encodePreset(const PresetHeader &header, const SETTINGS_MAP &table, uint32_t timeStamp)
{
    // A line break in the name would end the header line early and shift the whole key stream.
    QByteArray name = QByteArray::fromStdString(header.nameText());
    const qsizetype cut = std::min(name.indexOf('\r') < 0 ? name.size() : name.indexOf('\r'),
                                   name.indexOf('\n') < 0 ? name.size() : name.indexOf('\n'));
    name.truncate(cut);

    QByteArray out;
    out.reserve(64 + PRESET_BLOCK_BYTES + PRESET_RECORD_BYTES * SETTINGS_COUNT);
    out += PRESET_MAGIC;
    out += ':';
    out += name;
    out += ": \n";
    const qsizetype start = out.size();

    appendLe32(out, timeStamp);
    appendLe32(out, 0);
    appendLe32(out, 0);
    for (const auto &field : header.reserved.text)
        for (char c : field)
            out += char(~c);
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id)) {
        char record[PRESET_RECORD_BYTES];
        uint32_t value = 0;
        switch (settingType(id)) {
        case SETTING_FLOAT: {
            const float f = table.getFloat(id);
            std::memcpy(&value, &f, sizeof value);
            break;
        }
        case SETTING_INT:
            value = table.getInt(id);
            break;
        default:
            value = table.getRaw(id) > 0 ? 1 : 0;
            break;
        }
        qToLittleEndian(id, record);
        qToLittleEndian(value, record + 2);
        out.append(record, sizeof record);
    }
    Rc4 rc4(PRESET_KEY, PRESET_KEY_LENGTH);
    rc4.apply(out.data() + start, size_t(out.size() - start));
    return out;
}

void computePresetChecksums(const SETTINGS_MAP &table, PresetHeader &header)
{
    header.setChecksums(table.checksums());
}

const char *presetResultText(int code)
{
    switch (code) {
    case PRESET_OK:
        return "Success";
    case PRESET_INVALID_TYPE:
        return "Invalid File Type";
    case PRESET_CANNOT_OPEN:
        return "Cannot open the file";
    default:
        return "Unknown Error";
    }
}

bool samePreset(const PresetHeader &a, const PresetHeader &b)
{
    return a.nameText() == b.nameText() && a.presetChecksum == b.presetChecksum &&
           a.systemChecksum == b.systemChecksum && a.spareWord[0] == b.spareWord[0] &&
           a.spareWord[1] == b.spareWord[1] && a.presetCount == b.presetCount &&
           a.systemCount == b.systemCount && a.spareCount[0] == b.spareCount[0] &&
           a.spareCount[1] == b.spareCount[1] && a.inUse == b.inUse && a.lock == b.lock;
}

int32_t leadingInt32(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t(1) << 32);
    if (negative)
        value = -value;
    return int32_t(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

double leadingDouble(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const qsizetype start = i;
    int digits = 0;
    int integerDigits = 0; // after leading zeros
    int fractionZeros = 0; // leading zeros of the fraction, when the integer part is zero
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
        integerDigits += integerDigits > 0 || text[i] != '0';
    if (i < text.size() && text[i] == '.') {
        bool leading = integerDigits == 0;
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits) {
            leading = leading && text[i] == '0';
            fractionZeros += leading;
        }
    }
    if (digits == 0)
        return 0.0;
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        qsizetype j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        if (j < text.size() && isDigit(text[j])) {
            for (; j < text.size() && isDigit(text[j]); ++j)
                exponent = std::min(exponent * 10 + (text[j] - '0'), 1000000L);
            if (negativeExponent)
                exponent = -exponent;
            i = j;
        }
    }
    // from_chars reads the C locale's form whatever the process locale is.
    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // As atof: an infinity when too large, zero when too small.
        const long magnitude = integerDigits > 0 ? integerDigits + exponent : exponent - fractionZeros;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace orba
