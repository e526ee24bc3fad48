// IniStore: the section/key/value store behind every settings file. The XML back-end keeps the
// entries in memory and rewrites the whole file on flush; the profile back-end is a plain INI file
// written at once on every write.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <map>
#include <memory>

class QSettings;

namespace orba {

// Entries of an XML store: "section:key" -> value, ordered by code unit.
using IniEntries = std::map<QString, QString>;

// Pure format code, used by the store and by the fuzzer.
// Parses an XML settings document fed in 1000-byte blocks; entries read before a parse error stay.
// Returns false on a parse error.
bool parseIniXml(const char *data, size_t size, IniEntries &out);
QByteArray renderIniXml(const IniEntries &entries);
QString escapeIniXml(const QString &text);

} // namespace orba

class IniStore
{
public:
    enum Mode { ProfileFile = 1, XmlFile = 2 };

    // In XML mode the file is read at once; a missing or unreadable file gives an empty store.
    IniStore(const QString &path, Mode mode);
    ~IniStore(); // flushes
    IniStore(const IniStore &) = delete;
    IniStore &operator=(const IniStore &) = delete;

    Mode mode() const { return m_mode; }
    const QString &path() const { return m_path; }
    bool isDirty() const { return m_dirty; }
    const orba::IniEntries &entries() const { return m_entries; }

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInt(const QString &section, const QString &key, int value);

    QString readString(const QString &section, const QString &key, const QString &def) const;
    // Copies the default into buf, then the value if there is one; cut to size-1 characters.
    void readString(const QString &section, const QString &key, const char *def, char *buf, size_t size) const;
    int readInt(const QString &section, const QString &key, int def) const;

    // XML mode: rewrites the file when dirty, through a temporary file and an atomic rename.
    // A failed write keeps the old file and leaves the store dirty, so the next flush retries.
    bool flush();

private:
    Mode m_mode;
    QString m_path;
    bool m_dirty = false;
    orba::IniEntries m_entries;
    std::unique_ptr<QSettings> m_profile;
};

namespace orba {
// Leading decimal number of a text, as C's atoi reads it; a text that is no number gives 0.
int leadingInt(const QString &text);
} // namespace orba
