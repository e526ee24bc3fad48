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

// Where a settings document stops parsing.
struct IniParseError
{
    int line = 0;
    QString text;
};

// Pure format code, used by the store and by the fuzzer.
// Parses a whole XML settings document. On a parse error `out` is emptied and `error` says where:
// entries read before the error are no safer than the rest.
bool parseIniXml(const char *data, size_t size, IniEntries &out, IniParseError *error = nullptr);
// Values are written so that every character reads back, control characters included.
QByteArray renderIniXml(const IniEntries &entries);
QString escapeIniXml(const QString &text);

} // namespace orba

class IniStore
{
public:
    enum Mode { ProfileFile = 1, XmlFile = 2 };

    // Reads the file at once (the profile back-end through QSettings); a missing file gives an
    // empty store. A file that is too large or does not parse is renamed to "<name>.bad" and the
    // store starts empty; one that cannot be read at all is left alone and never written. Each case
    // shows one message naming the file.
    IniStore(const QString &path, Mode mode);
    ~IniStore(); // flushes
    IniStore(const IniStore &) = delete;
    IniStore &operator=(const IniStore &) = delete;

    Mode mode() const { return m_mode; }
    const QString &path() const { return m_path; }
    bool isDirty() const { return m_dirty; }
    // XML mode: every write that changes an entry is flushed at once, so a crash loses nothing.
    void setSaveOnWrite(bool on) { m_saveOnWrite = on; }
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
    void load();
    void setAside(const QString &reason);
    void refuse(const QString &reason);

    Mode m_mode;
    QString m_path;
    bool m_dirty = false;
    bool m_saveOnWrite = false;
    bool m_keepFile = false; // the file could not be read or moved away: it is never written
    orba::IniEntries m_entries;
    std::unique_ptr<QSettings> m_profile;
};

namespace orba {
// Leading decimal number of a text, as C's atoi reads it; a text that is no number gives 0.
int leadingInt(const QString &text);
} // namespace orba
