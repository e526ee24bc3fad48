// Typed value holders, one per parameter of a parameter set. A float keeps its value as an index
// into a value table or into equal steps of its range, so every set snaps to a representable value
// and "changed" is an index comparison. Values are atomics: the link's worker thread stores what
// the processor sends while the GUI thread reads.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

struct VALUE_ENTRY;

class MAP_TYPE
{
public:
    explicit MAP_TYPE(uint16_t id) : m_id(id) {}
    virtual ~MAP_TYPE() = default;
    MAP_TYPE(const MAP_TYPE &) = delete;
    MAP_TYPE &operator=(const MAP_TYPE &) = delete;

    uint16_t id() const { return m_id; }

    virtual int type() const = 0;  // 1 float, 2 integer, 3 boolean
    virtual bool reset() = 0;      // back to the default; true when the value changed
    // Writes the display text of the current value, terminated, cut to size-1 characters.
    virtual void label(char *buf, size_t size) const = 0;
    virtual void name(char *buf, size_t size) const;

    std::string labelText() const;
    const char *nameText() const { return m_name; }

protected:
    void setName(const char *name);

private:
    uint16_t m_id;
    char m_name[31] = {};
};

class MAP_FLOAT : public MAP_TYPE
{
public:
    // With a table, lengthOrSteps is the table length; without, the number of steps of the range.
    MAP_FLOAT(uint16_t id, float def, float minimum, float maximum, const VALUE_ENTRY *table,
              uint32_t lengthOrSteps, const char *name);

    int type() const override { return 1; }
    bool reset() override { return setValue(m_default); }
    void label(char *buf, size_t size) const override;

    void setLabelFormat(const char *format);
    const char *labelFormat() const { return m_format.empty() ? nullptr : m_format.c_str(); }

    uint32_t indexOf(float value) const;
    float valueAt(uint32_t index) const;
    float value() const { return valueAt(index()); }
    bool setValue(float value);
    bool setIndex(uint32_t index);

    uint32_t index() const { return m_index.load(std::memory_order_relaxed); }
    uint32_t minIndex() const { return m_minIndex; }
    uint32_t maxIndex() const { return m_maxIndex; }
    float defaultValue() const { return m_default; }
    float minimum() const { return m_min; }
    float maximum() const { return m_max; }
    const VALUE_ENTRY *table() const { return m_table; }
    uint32_t tableLength() const { return m_tableLength; }
    uint32_t searchDepth() const { return m_depth; }

private:
    std::atomic<uint32_t> m_index{0};
    uint32_t m_minIndex = 0;
    uint32_t m_maxIndex = 0;
    float m_default;
    float m_min;
    float m_max;
    const VALUE_ENTRY *m_table = nullptr;
    uint32_t m_tableLength = 0;
    uint32_t m_depth = 0;
    std::string m_format;
};

class MAP_INT : public MAP_TYPE
{
public:
    MAP_INT(uint16_t id, uint32_t def, uint32_t minimum, uint32_t maximum, const char *const *labels,
            const char *name);

    int type() const override { return 2; }
    bool reset() override { return set(m_default); }
    void label(char *buf, size_t size) const override;

    bool set(uint32_t value); // clamped with unsigned comparisons
    uint32_t value() const { return m_value.load(std::memory_order_relaxed); }
    uint32_t defaultValue() const { return m_default; }
    uint32_t minimum() const { return m_min; }
    uint32_t maximum() const { return m_max; }
    const char *const *labels() const { return m_labels; }

private:
    std::atomic<uint32_t> m_value{0};
    uint32_t m_default, m_min, m_max;
    const char *const *m_labels;
};

class MAP_BOOL : public MAP_TYPE
{
public:
    MAP_BOOL(uint16_t id, uint8_t def, const char *name);

    int type() const override { return 3; }
    bool reset() override { return set(m_default); }
    void label(char *buf, size_t size) const override; // "In" / "Out"

    bool set(uint8_t value);
    uint8_t value() const { return m_value.load(std::memory_order_relaxed); }
    uint8_t defaultValue() const { return m_default; }

private:
    std::atomic<uint8_t> m_value{0};
    uint8_t m_default;
};

namespace orba {
// Copies text into buf, cut to size-1 characters and terminated.
void copyText(char *buf, size_t size, const char *text);
} // namespace orba
