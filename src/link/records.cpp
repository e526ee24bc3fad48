#include "link/records.h"

#include <algorithm>
#include <cstring>

using namespace orba;
using Guard = std::lock_guard<std::mutex>;

void VersionRecord::store(const ProcessorVersion &version)
{
    Guard guard(m_lock);
    m_version = version;
}

ProcessorVersion VersionRecord::load() const
{
    Guard guard(m_lock);
    return m_version;
}

bool ClockRecord::store(const orba::MeterHeader &header)
{
    Guard guard(m_lock);
    const bool changed = std::memcmp(m_clock.clock, header.clock, sizeof m_clock.clock) != 0;
    m_clock = header;
    return changed;
}

orba::MeterHeader ClockRecord::load() const
{
    Guard guard(m_lock);
    return m_clock;
}

void ClockRecord::clear()
{
    Guard guard(m_lock);
    m_clock = orba::MeterHeader{};
}

void EventList::clear()
{
    Guard guard(m_lock);
    m_count = 0;
}

bool EventList::append(const uint8_t *record)
{
    Guard guard(m_lock);
    if (m_count >= EVENTS_MAX)
        return false;
    std::memcpy(m_entries[size_t(m_count++)].data(), record, EVENT_RECORD_SIZE);
    return true;
}

void EventList::appendRecords(const uint8_t *records, size_t n, bool clearFirst)
{
    Guard guard(m_lock);
    if (clearFirst)
        m_count = 0;
    const size_t take = std::min(n, size_t(EVENTS_MAX - m_count));
    for (size_t i = 0; i < take; ++i)
        std::memcpy(m_entries[size_t(m_count++)].data(), records + i * EVENT_RECORD_SIZE, EVENT_RECORD_SIZE);
}

int EventList::count() const
{
    Guard guard(m_lock);
    return m_count;
}

EventRecord EventList::at(int index) const
{
    Guard guard(m_lock);
    if (index < 0 || index >= m_count)
        return EventRecord{};
    return m_entries[size_t(index)];
}

PresetHeader CurrentPresetRecord::load() const
{
    Guard guard(m_lock);
    return m_header;
}

void CurrentPresetRecord::store(const PresetHeader &header)
{
    Guard guard(m_lock);
    m_header = header;
}

bool CurrentPresetRecord::takeEntry(const uint8_t *entry)
{
    PresetHeader received;
    received.clear();
    decodePresetEntry(entry, received);
    Guard guard(m_lock);
    const bool same =
        std::memcmp(m_header.name, received.name, PRESET_NAME_LEN) == 0 && m_header.inUse == received.inUse &&
        m_header.lock == received.lock && m_header.presetChecksum == received.presetChecksum &&
        m_header.systemChecksum == received.systemChecksum &&
        m_header.spareWord[0] == received.spareWord[0] && m_header.spareWord[1] == received.spareWord[1] &&
        m_header.presetCount == received.presetCount && m_header.systemCount == received.systemCount &&
        m_header.spareCount[0] == received.spareCount[0] && m_header.spareCount[1] == received.spareCount[1];
    if (same)
        return false;
    std::memcpy(m_header.name, received.name, PRESET_NAME_LEN);
    m_header.inUse = received.inUse;
    m_header.lock = received.lock;
    m_header.presetChecksum = received.presetChecksum;
    m_header.systemChecksum = received.systemChecksum;
    m_header.spareWord[0] = received.spareWord[0];
    m_header.spareWord[1] = received.spareWord[1];
    m_header.presetCount = received.presetCount;
    m_header.systemCount = received.systemCount;
    m_header.spareCount[0] = received.spareCount[0];
    m_header.spareCount[1] = received.spareCount[1];
    return true;
}

PresetHeader PresetSlotList::get(int slot) const
{
    PresetHeader header;
    header.clear();
    if (slot < 0 || slot >= PRESET_SLOTS)
        return header;
    Guard guard(m_lock);
    return m_slots[size_t(slot)];
}

void PresetSlotList::set(int slot, const PresetHeader &header)
{
    update(slot, [&](PresetHeader &h) { h = header; });
}

void PresetSlotList::clear(int slot)
{
    update(slot, [](PresetHeader &h) { h.clear(); });
}

void PresetSlotList::clearAll()
{
    Guard guard(m_lock);
    for (auto &h : m_slots)
        h.clear();
}

void GrabRecord::begin(int slot, SETTINGS_MAP *target)
{
    Guard guard(m_lock);
    m_done.store(false);
    m_slot = slot;
    m_target = target;
}

void GrabRecord::end()
{
    Guard guard(m_lock);
    m_target = nullptr;
    m_slot = -1;
}

bool GrabRecord::pending() const
{
    Guard guard(m_lock);
    return m_target != nullptr;
}

int GrabRecord::slot() const
{
    Guard guard(m_lock);
    return m_slot;
}
