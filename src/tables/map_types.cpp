#include "tables/map_types.h"

#include "tables/value_tables.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace orba {

void copyText(char *buf, size_t size, const char *text)
{
    if (!buf || size == 0)
        return;
    size_t n = text ? std::strlen(text) : 0;
    if (n > size - 1)
        n = size - 1;
    if (n)
        std::memcpy(buf, text, n);
    buf[n] = '\0';
}

} // namespace orba

namespace {

uint32_t depthOf(uint32_t length)
{
    for (uint32_t d = 2; d <= 12; ++d)
        if (length == (1u << d))
            return d;
    return 0;
}

} // namespace

void MAP_TYPE::name(char *buf, size_t size) const
{
    orba::copyText(buf, size, m_name);
}

std::string MAP_TYPE::labelText() const
{
    char buf[64];
    label(buf, sizeof buf);
    return buf;
}

void MAP_TYPE::setName(const char *name)
{
    orba::copyText(m_name, sizeof m_name, name);
}

MAP_FLOAT::MAP_FLOAT(uint16_t id, float def, float minimum, float maximum, const VALUE_ENTRY *table,
                     uint32_t lengthOrSteps, const char *name)
    : MAP_TYPE(id), m_min(minimum), m_max(maximum)
{
    m_default = def > maximum ? maximum : (def < minimum ? minimum : def);
    if (table) {
        m_table = table;
        m_tableLength = lengthOrSteps;
        m_depth = depthOf(lengthOrSteps);
        m_minIndex = indexOf(minimum);
        m_maxIndex = indexOf(maximum);
    } else {
        m_minIndex = 0;
        m_maxIndex = lengthOrSteps;
    }
    m_index.store(indexOf(m_default), std::memory_order_relaxed);
    setName(name);
}

void MAP_FLOAT::setLabelFormat(const char *format)
{
    m_format = format ? format : "";
}

uint32_t MAP_FLOAT::indexOf(float value) const
{
    // Not a number, as a peer may send: no step is nearer than another, so the holder keeps its own.
    if (std::isnan(value))
        return index();
    if (value > m_max)
        value = m_max;
    if (value < m_min)
        value = m_min;
    if (!m_table) {
        const float scaled = float(double(m_maxIndex) * (double(value) - double(m_min)) / (double(m_max) - double(m_min)));
        return uint32_t(scaled + 0.5f);
    }
    if (m_depth == 0)
        return 0;
    uint32_t bit = 1u << (m_depth - 1);
    while (bit >= m_tableLength)
        bit >>= 1;
    uint32_t idx = 0;
    for (; bit; bit >>= 1) {
        const uint32_t probe = idx | bit;
        if (probe < m_tableLength && m_table[probe].value <= value)
            idx = probe;
    }
    if (idx + 1 >= m_tableLength)
        return idx;
    const float below = std::fabs(value - m_table[idx].value);
    const float above = std::fabs(value - m_table[idx + 1].value);
    return above < below ? idx + 1 : idx;
}

float MAP_FLOAT::valueAt(uint32_t index) const
{
    if (index > m_maxIndex)
        index = m_maxIndex;
    if (index < m_minIndex)
        index = m_minIndex;
    if (m_table)
        return m_table[index].value;
    if (m_maxIndex == m_minIndex)
        return m_min;
    return float(double(m_min) + (double(m_max) - double(m_min)) * double(index) / double(m_maxIndex - m_minIndex));
}

bool MAP_FLOAT::setValue(float value)
{
    return setIndex(indexOf(value));
}

bool MAP_FLOAT::setIndex(uint32_t index)
{
    if (index > m_maxIndex)
        index = m_maxIndex;
    if (index < m_minIndex)
        index = m_minIndex;
    return m_index.exchange(index, std::memory_order_relaxed) != index;
}

void MAP_FLOAT::label(char *buf, size_t size) const
{
    char text[64];
    if (m_table) {
        orba::copyText(text, sizeof text, m_table[index()].label);
    } else {
        std::snprintf(text, sizeof text, m_format.empty() ? "%+4.1f" : m_format.c_str(), double(value()));
    }
    text[8] = '\0';
    orba::copyText(buf, size, text);
}

MAP_INT::MAP_INT(uint16_t id, uint32_t def, uint32_t minimum, uint32_t maximum, const char *const *labels,
                 const char *name)
    : MAP_TYPE(id), m_min(minimum), m_max(maximum), m_labels(labels)
{
    m_default = def > maximum ? maximum : (def < minimum ? minimum : def);
    m_value.store(m_default, std::memory_order_relaxed);
    setName(name);
}

bool MAP_INT::set(uint32_t value)
{
    if (value > m_max)
        value = m_max;
    if (value < m_min)
        value = m_min;
    return m_value.exchange(value, std::memory_order_relaxed) != value;
}

void MAP_INT::label(char *buf, size_t size) const
{
    if (m_labels) {
        orba::copyText(buf, size, m_labels[value()]);
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%d", int(value()));
    orba::copyText(buf, size, text);
}

MAP_BOOL::MAP_BOOL(uint16_t id, uint8_t def, const char *name) : MAP_TYPE(id), m_default(def)
{
    m_value.store(def, std::memory_order_relaxed);
    setName(name);
}

bool MAP_BOOL::set(uint8_t value)
{
    return m_value.exchange(value, std::memory_order_relaxed) != value;
}

void MAP_BOOL::label(char *buf, size_t size) const
{
    orba::copyText(buf, size, value() ? "In" : "Out");
}
