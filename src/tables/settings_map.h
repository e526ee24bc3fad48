// SETTINGS_MAP: one complete parameter set built from the settings table (the live set that mirrors
// the processor, and working copies made by the preset code). SETTINGS_FLAGS: one change mark per
// parameter, set by the change flow and taken by the sender or the GUI refresh.
#pragma once

#include "tables/map_types.h"
#include "tables/settings_table.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// Where a change came from.
enum class ChangeSource : uint8_t {
    User,      // an edit made here: to send
    Processor, // a value from the processor: to show
    Local,     // a local bulk copy such as a preset load: both
};
inline constexpr ChangeSource CHANGE_USER = ChangeSource::User;
inline constexpr ChangeSource CHANGE_PROCESSOR = ChangeSource::Processor;
inline constexpr ChangeSource CHANGE_LOCAL = ChangeSource::Local;

// Where a change goes, by its source.
constexpr bool changeIsSent(ChangeSource source)
{
    return source == ChangeSource::User || source == ChangeSource::Local;
}
constexpr bool changeIsShown(ChangeSource source)
{
    return source == ChangeSource::Processor || source == ChangeSource::Local;
}

using ChangeCallback = void (*)(void *context, uint16_t id, ChangeSource source);

struct SetChecksums
{
    uint32_t presetChecksum = 0; // over every parameter that is not an installation parameter
    uint16_t presetCount = 0;
    uint32_t systemChecksum = 0; // over the installation parameters
    uint16_t systemCount = 0;
};

class SETTINGS_MAP
{
public:
    SETTINGS_MAP();
    ~SETTINGS_MAP();
    SETTINGS_MAP(const SETTINGS_MAP &) = delete;
    SETTINGS_MAP &operator=(const SETTINGS_MAP &) = delete;

    void setChangeCallback(ChangeCallback callback, void *context);

    // Setters dispatch on the id's type and do nothing (false) for an unknown id or another type.
    // They call the callback only when the stored value really changed, and return whether it did.
    bool setIndex(uint16_t id, uint32_t raw, ChangeSource source);
    bool setFloat(uint16_t id, float value, ChangeSource source);
    bool setInt(uint16_t id, uint32_t value, ChangeSource source);
    bool setBool(uint16_t id, bool value, ChangeSource source);

    uint32_t getRaw(uint16_t id) const;
    uint32_t getRawMin(uint16_t id) const;
    uint32_t getRawMax(uint16_t id) const;
    float getFloat(uint16_t id) const;
    float getFloatDefault(uint16_t id) const;
    uint32_t floatToIndex(uint16_t id, float value) const;
    float indexToFloat(uint16_t id, uint32_t index) const;
    uint32_t getInt(uint16_t id) const;
    uint32_t getIntDefault(uint16_t id) const;
    bool getBool(uint16_t id) const;
    bool getBoolDefault(uint16_t id) const;

    // Display text of the current value ("???" for an unknown id), terminated, cut to size-1.
    void label(uint16_t id, char *buf, size_t size) const;
    std::string label(uint16_t id) const;

    void resetAll();                            // defaults, no callback
    void assignFrom(const SETTINGS_MAP &other); // every value, no callback
    // Copies with change source 2. Flags bit 0: refuse (-1); bit 1: skip installation parameters.
    // Returns -1 when refused or src is missing, else 0.
    int copyValuesFrom(const SETTINGS_MAP *src, unsigned flags);

    SetChecksums checksums() const;

    MAP_TYPE *holder(uint16_t id);
    const MAP_TYPE *holder(uint16_t id) const;
    MAP_FLOAT *floatHolder(uint16_t id);
    const MAP_FLOAT *floatHolder(uint16_t id) const;
    MAP_INT *intHolder(uint16_t id);
    const MAP_INT *intHolder(uint16_t id) const;
    MAP_BOOL *boolHolder(uint16_t id);
    const MAP_BOOL *boolHolder(uint16_t id) const;

private:
    void changed(uint16_t id, ChangeSource source) const;

    std::array<std::unique_ptr<MAP_TYPE>, SETTINGS_COUNT> m_holders;
    ChangeCallback m_callback = nullptr;
    void *m_context = nullptr;
};

// Change marks: one byte per parameter; an id outside the table is ignored (test gives false).
template <int N, int (*IndexOf)(uint16_t)> class ChangeFlags
{
public:
    ChangeFlags() { clearAll(); }
    void set(uint16_t id)
    {
        if (const int i = IndexOf(id); i >= 0)
            m_flags[i].store(1, std::memory_order_relaxed);
    }
    void clear(uint16_t id)
    {
        if (const int i = IndexOf(id); i >= 0)
            m_flags[i].store(0, std::memory_order_relaxed);
    }
    bool test(uint16_t id) const
    {
        const int i = IndexOf(id);
        return i >= 0 && m_flags[i].load(std::memory_order_relaxed) != 0;
    }
    // Tests and clears in one step, so a mark set meanwhile by another thread is never lost.
    bool take(uint16_t id)
    {
        const int i = IndexOf(id);
        return i >= 0 && m_flags[i].exchange(0, std::memory_order_relaxed) != 0;
    }
    void setAll()
    {
        for (auto &f : m_flags)
            f.store(1, std::memory_order_relaxed);
    }
    void clearAll()
    {
        for (auto &f : m_flags)
            f.store(0, std::memory_order_relaxed);
    }

private:
    std::array<std::atomic<uint8_t>, N> m_flags;
};

using SETTINGS_FLAGS = ChangeFlags<SETTINGS_COUNT, orba::settingIndex>;
