// The processors the application can talk to. Each device is a record kept in its own settings
// document "maps/<name>.cfg"; the list holds them in directory order and knows which one is
// current (the one the link connects to). Every change is written to disk at once.
#pragma once

#include <QDir>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class IniStore;

class DeviceRecord
{
public:
    static constexpr int NAME_LENGTH = 40;
    static constexpr int ADDRESS_LENGTH = 15;

    // Opens (or creates) "<name>.cfg" in the maps folder and reads the stored fields.
    DeviceRecord(const QString &name, const QDir &mapsDir);
    ~DeviceRecord();
    DeviceRecord(const DeviceRecord &) = delete;
    DeviceRecord &operator=(const DeviceRecord &) = delete;

    const QString &name() const { return m_name; }
    const QString &ipAddress() const { return m_ipAddress; }
    void setIpAddress(const QString &address) { m_ipAddress = address.left(ADDRESS_LENGTH); }
    uint32_t userCodeCrc() const { return m_userCodeCrc; }
    uint32_t userFlags() const { return m_userFlags; }
    uint32_t remoteCodeCrc() const { return m_remoteCodeCrc; }
    bool userLocked() const { return m_userLocked; }
    QString filePath() const;

    // Each writes the document at once. saveAddress keeps the new address when the file cannot be
    // written (the next save retries); the access saves then keep what the file holds, so that the
    // lock and the codes in use are always the ones a restart finds.
    bool saveAddress();
    bool saveAccess(uint32_t codeCrc, uint32_t flags, bool locked);
    bool saveLocked(bool locked);
    bool saveRemoteCrc(uint32_t crc);

    static QString fileName(const QString &name) { return name + QStringLiteral(".cfg"); }

private:
    void writeAccess(uint32_t codeCrc, uint32_t flags, bool locked);

    QString m_name;
    QString m_ipAddress;
    uint32_t m_userCodeCrc = 0;
    uint32_t m_userFlags = 0;
    uint32_t m_remoteCodeCrc = 0;
    bool m_userLocked = false;
    std::unique_ptr<IniStore> m_document;
};

class DeviceList
{
public:
    // Loads a record from every "*.cfg" file of the maps folder, in directory order.
    explicit DeviceList(const QDir &mapsDir);
    ~DeviceList();

    const QDir &mapsDir() const { return m_mapsDir; }
    int count() const { return int(m_records.size()); }
    QString nameAt(int index) const;
    DeviceRecord *recordAt(int index) const; // none for -1 or past the end
    DeviceRecord *current() const { return recordAt(m_current); }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index) { m_current = index >= 0 && index < count() ? index : -1; }
    int indexOf(const DeviceRecord *record) const;

    DeviceRecord *findByName(const QString &name) const; // exact match
    void setCurrentByName(const QString &name);

    // Saves the address and appends the record; none (and the record is dropped) when its file
    // cannot be written.
    DeviceRecord *add(std::unique_ptr<DeviceRecord> record);
    // Takes it out of the list, deletes its file (a file that cannot be deleted still leaves the
    // list) and frees it; the current device stays the same device.
    void remove(DeviceRecord *record);

private:
    QDir m_mapsDir;
    std::vector<std::unique_ptr<DeviceRecord>> m_records;
    int m_current = -1;
};
