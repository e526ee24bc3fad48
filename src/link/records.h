// Records that the link's worker thread fills and the GUI thread reads: the processor's version,
// clock, event list and current preset, the 80 preset slots, and the two wait records of preset
// transfers. Each has one lock, held only for one store or one copy, so a reader never sees a
// half-written record.
#pragma once

#include "link/frames.h"
#include "tables/preset_header.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class SETTINGS_MAP;

class VersionRecord
{
public:
    void store(const orba::ProcessorVersion &version);
    orba::ProcessorVersion load() const;
    void clear() { store(orba::ProcessorVersion{}); }

private:
    mutable std::mutex m_lock;
    orba::ProcessorVersion m_version;
};

// The processor's clock and SNTP settings, from the last meter datagram.
class ClockRecord
{
public:
    // Stores the datagram's clock and SNTP fields; true when the clock differs from the stored one.
    bool store(const orba::MeterHeader &header);
    orba::MeterHeader load() const;
    void clear();

private:
    mutable std::mutex m_lock;
    orba::MeterHeader m_clock;
};

using EventRecord = std::array<uint8_t, orba::EVENT_RECORD_SIZE>;

// The processor's event schedule, built up across MSG_EVENTS blocks; at most 1000 entries.
class EventList
{
public:
    void clear();
    bool append(const uint8_t *record); // false when the list is full
    // One frame's records in one store: emptied first when clearFirst; entries past 1000 dropped.
    void appendRecords(const uint8_t *records, size_t n, bool clearFirst);
    int count() const;
    EventRecord at(int index) const; // eight zero bytes outside 0..count-1

private:
    mutable std::mutex m_lock;
    int m_count = 0;
    std::array<EventRecord, orba::EVENTS_MAX> m_entries{};
};

class CurrentPresetRecord
{
public:
    CurrentPresetRecord() { m_header.clear(); }
    PresetHeader load() const;
    void store(const PresetHeader &header);
    // Compares a received entry with the stored header over the name, in-use, lock and the fields
    // at 44-67; when any differs, takes those fields (not the reserved block) and returns true.
    bool takeEntry(const uint8_t *entry);

private:
    mutable std::mutex m_lock;
    PresetHeader m_header;
};

// The processor's 80 preset slots.
class PresetSlotList
{
public:
    PresetSlotList() { clearAll(); }
    static constexpr int size() { return PRESET_SLOTS; }

    PresetHeader get(int slot) const; // a cleared header for a slot outside 0-79
    void set(int slot, const PresetHeader &header);
    void clear(int slot);
    void clearAll();
    // Runs f(header) on one slot under the lock; nothing for a slot outside 0-79.
    template <class F> void update(int slot, F f)
    {
        if (slot < 0 || slot >= PRESET_SLOTS)
            return;
        std::lock_guard<std::mutex> guard(m_lock);
        f(m_slots[size_t(slot)]);
    }

private:
    mutable std::mutex m_lock;
    std::array<PresetHeader, PRESET_SLOTS> m_slots;
};

// A pending grab: the values the processor sends for a slot go into the target set.
class GrabRecord
{
public:
    void begin(int slot, SETTINGS_MAP *target);
    void end(); // no grab pending; the target is not touched after this returns
    bool pending() const;
    int slot() const;
    bool isDone() const { return m_done.load(); }
    void setDone() { m_done.store(true); }
    // Runs f(*target) under the lock when a grab is pending; returns whether it ran.
    template <class F> bool withTarget(F f)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_target)
            return false;
        f(*m_target);
        return true;
    }

private:
    mutable std::mutex m_lock;
    SETTINGS_MAP *m_target = nullptr;
    int m_slot = -1;
    std::atomic<bool> m_done{false};
};

// A wait for the header of one slot.
class HeaderWaitRecord
{
public:
    void begin(int slot)
    {
        m_done.store(false);
        m_slot.store(slot);
    }
    void end() { m_slot.store(-1); }
    int slot() const { return m_slot.load(); }
    bool isDone() const { return m_done.load(); }
    void setDone() { m_done.store(true); }

private:
    std::atomic<int> m_slot{-1};
    std::atomic<bool> m_done{false};
};
