// The two quick-save memories A and B: each a parameter set kept in "qsave_a.orba" or
// "qsave_b.orba" of the presets folder. Switching stores the live settings into the memory being
// left and loads the other one, installation parameters included.
#pragma once

#include "tables/settings_map.h"

#include <QString>

namespace orba {

class QuickSave
{
public:
    enum Slot : int { A = 0, B = 1 };

    // Loads both memories from their files; a missing file leaves its set at the defaults.
    explicit QuickSave(const QString &presetsFolder);
    QuickSave(const QuickSave &) = delete;
    QuickSave &operator=(const QuickSave &) = delete;

    // Writes the live set to the memory's file (named "QSAVE") and keeps a copy of it. False when
    // the file could not be written (the copy in memory is kept all the same).
    bool store(int slot, const SETTINGS_MAP &live);
    bool storeBoth(const SETTINGS_MAP &live);
    // Stores the live set into the current memory, then makes the other one current and copies
    // it into the live set (change source 2). Nothing when the slot is current or not A or B.
    // False when storing the memory being left could not be written.
    bool select(int slot, SETTINGS_MAP &live);

    int current() const { return m_current; }
    const SETTINGS_MAP &memory(int slot) const { return slot == B ? m_b : m_a; }
    QString filePath(int slot) const;

private:
    SETTINGS_MAP &slotSet(int slot) { return slot == B ? m_b : m_a; }

    QString m_folder;
    SETTINGS_MAP m_a;
    SETTINGS_MAP m_b;
    int m_current = A;
};

} // namespace orba
