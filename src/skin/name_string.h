// NameString: the name type of the skin tables and object ids. Keeps a checksum (the sum of the
// characters as signed bytes) beside the length so that the long linear searches of the loader
// reject most entries without comparing characters.
#pragma once

#include <QString>

#include <cstddef>
#include <memory>

class NameString
{
public:
    NameString();
    NameString(const char *text); // NOLINT: names are built from parser text everywhere
    NameString(const char *text, size_t length);
    NameString(const QString &text);
    NameString(const NameString &other);
    NameString &operator=(const NameString &other);
    NameString &operator=(const char *text);
    ~NameString();

    void assign(const char *text, size_t length);
    void clear();

    const char *c_str() const { return m_data; }
    size_t length() const { return m_length; }
    size_t capacity() const { return m_capacity; }
    int checksum() const { return m_checksum; }
    bool isEmpty() const { return m_length == 0; }
    QString toQString() const { return QString::fromUtf8(m_data, static_cast<int>(m_length)); }

    bool operator==(const NameString &other) const;
    bool operator!=(const NameString &other) const { return !(*this == other); }
    bool equals(const char *text) const;

    static int checksumOf(const char *text, size_t length);

private:
    void reserve(size_t length);

    char *m_data;
    size_t m_length = 0;
    size_t m_capacity = 0;
    int m_checksum = 0;
};
