#include "admin/device_list.h"

#include "common/ini_store.h"

#include <QFile>

#include <tuple>

namespace {
const QString kDevice = QStringLiteral("Device");
const QString kAccess = QStringLiteral("Access");
} // namespace

DeviceRecord::DeviceRecord(const QString &name, const QDir &mapsDir)
    : m_name(name),
      m_document(std::make_unique<IniStore>(mapsDir.filePath(fileName(name)), IniStore::XmlFile))
{
    m_ipAddress = m_document->readString(kDevice, QStringLiteral("IPAddr"), QStringLiteral("0.0.0.0"))
                      .left(ADDRESS_LENGTH);
    m_userCodeCrc = uint32_t(m_document->readInt(kAccess, QStringLiteral("ucrc"), 0));
    m_remoteCodeCrc = uint32_t(m_document->readInt(kAccess, QStringLiteral("rcrc"), 0));
    m_userFlags = uint32_t(m_document->readInt(kAccess, QStringLiteral("uflg"), 0));
    m_userLocked = m_document->readInt(kAccess, QStringLiteral("ulck"), 0) != 0;
}

DeviceRecord::~DeviceRecord() = default;

QString DeviceRecord::filePath() const
{
    return m_document->path();
}

bool DeviceRecord::saveAddress()
{
    m_document->writeString(kDevice, QStringLiteral("IPAddr"), m_ipAddress);
    return m_document->flush();
}

bool DeviceRecord::saveAccess(uint32_t codeCrc, uint32_t flags, bool locked)
{
    const auto before = std::make_tuple(m_userCodeCrc, m_userFlags, m_userLocked);
    writeAccess(codeCrc, flags, locked);
    if (m_document->flush())
        return true;
    std::apply([this](uint32_t c, uint32_t f, bool l) { writeAccess(c, f, l); }, before);
    return false;
}

bool DeviceRecord::saveLocked(bool locked)
{
    return saveAccess(m_userCodeCrc, m_userFlags, locked);
}

bool DeviceRecord::saveRemoteCrc(uint32_t crc)
{
    const uint32_t before = m_remoteCodeCrc;
    m_remoteCodeCrc = crc;
    m_document->writeInt(kAccess, QStringLiteral("rcrc"), int(crc));
    if (m_document->flush())
        return true;
    m_remoteCodeCrc = before;
    m_document->writeInt(kAccess, QStringLiteral("rcrc"), int(before));
    return false;
}

// The fields and the document together; the file only on flush.
void DeviceRecord::writeAccess(uint32_t codeCrc, uint32_t flags, bool locked)
{
    m_userCodeCrc = codeCrc;
    m_userFlags = flags;
    m_userLocked = locked;
    m_document->writeInt(kAccess, QStringLiteral("ucrc"), int(codeCrc));
    m_document->writeInt(kAccess, QStringLiteral("uflg"), int(flags));
    m_document->writeInt(kAccess, QStringLiteral("ulck"), locked ? 1 : 0);
}

DeviceList::DeviceList(const QDir &mapsDir) : m_mapsDir(mapsDir)
{
    const QStringList files = m_mapsDir.entryList({QStringLiteral("*.cfg")}, QDir::Files, QDir::Unsorted);
    for (const QString &file : files)
        m_records.push_back(std::make_unique<DeviceRecord>(file.chopped(4), m_mapsDir));
}

DeviceList::~DeviceList() = default;

QString DeviceList::nameAt(int index) const
{
    const DeviceRecord *r = recordAt(index);
    return r ? r->name() : QString();
}

DeviceRecord *DeviceList::recordAt(int index) const
{
    return index >= 0 && index < count() ? m_records[size_t(index)].get() : nullptr;
}

int DeviceList::indexOf(const DeviceRecord *record) const
{
    for (int i = 0; i < count(); ++i)
        if (m_records[size_t(i)].get() == record)
            return i;
    return -1;
}

DeviceRecord *DeviceList::findByName(const QString &name) const
{
    for (const auto &r : m_records)
        if (r->name() == name)
            return r.get();
    return nullptr;
}

void DeviceList::setCurrentByName(const QString &name)
{
    m_current = indexOf(findByName(name));
}

DeviceRecord *DeviceList::add(std::unique_ptr<DeviceRecord> record)
{
    // A device without its file would be gone at the next start.
    if (!record->saveAddress())
        return nullptr;
    m_records.push_back(std::move(record));
    return m_records.back().get();
}

void DeviceList::remove(DeviceRecord *record)
{
    const int index = indexOf(record);
    if (index < 0)
        return;
    const QString path = record->filePath();
    m_records.erase(m_records.begin() + index);
    QFile::remove(path);
    // Keep the current index on the same device when an earlier one goes.
    if (index == m_current)
        m_current = -1;
    else if (index < m_current)
        --m_current;
}
