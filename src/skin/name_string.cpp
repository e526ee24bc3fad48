#include "skin/name_string.h"

#include <cstring>

namespace {
constexpr size_t kMinCapacity = 32;
}

NameString::NameString() : m_data(new char[kMinCapacity + 1]), m_capacity(kMinCapacity)
{
    m_data[0] = '\0';
}

NameString::NameString(const char *text) : NameString()
{
    if (text)
        assign(text, std::strlen(text));
}

NameString::NameString(const char *text, size_t length) : NameString()
{
    assign(text, length);
}

NameString::NameString(const QString &text) : NameString()
{
    const QByteArray bytes = text.toUtf8();
    assign(bytes.constData(), static_cast<size_t>(bytes.size()));
}

NameString::NameString(const NameString &other) : NameString()
{
    assign(other.m_data, other.m_length);
}

NameString &NameString::operator=(const NameString &other)
{
    if (this != &other)
        assign(other.m_data, other.m_length);
    return *this;
}

NameString &NameString::operator=(const char *text)
{
    if (text)
        assign(text, std::strlen(text));
    else
        clear();
    return *this;
}

NameString::~NameString()
{
    delete[] m_data;
}

void NameString::reserve(size_t length)
{
    if (length <= m_capacity)
        return;
    char *grown = new char[length + 1];
    std::memcpy(grown, m_data, m_length + 1);
    delete[] m_data;
    m_data = grown;
    m_capacity = length;
}

void NameString::assign(const char *text, size_t length)
{
    if (!text)
        length = 0;
    reserve(length);
    if (length)
        std::memmove(m_data, text, length);
    m_data[length] = '\0';
    m_length = length;
    m_checksum = checksumOf(m_data, length);
}

void NameString::clear()
{
    m_length = 0;
    m_checksum = 0;
    m_data[0] = '\0';
}

int NameString::checksumOf(const char *text, size_t length)
{
    int sum = 0;
    for (size_t i = 0; i < length; ++i)
        sum += static_cast<signed char>(text[i]);
    return sum;
}

bool NameString::operator==(const NameString &other) const
{
    return m_length == other.m_length && m_checksum == other.m_checksum &&
           std::memcmp(m_data, other.m_data, m_length) == 0;
}

bool NameString::equals(const char *text) const
{
    if (!text)
        return m_length == 0;
    const size_t length = std::strlen(text);
    return length == m_length && checksumOf(text, length) == m_checksum &&
           std::memcmp(m_data, text, length) == 0;
}
