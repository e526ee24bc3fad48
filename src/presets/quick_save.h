// The two quick-save memories A and B: each a parameter set kept in "qsave_a.orba" or
// "qsave_b.orba" of the presets folder. Switching stores the live settings into the memory being
// left and loads the other one, installation parameters included. A memory that was never stored
// holds nothing: switching to it keeps the live settings and stores them there.
#pragma once

#include "tables/settings_map.h"

#include <QString>
#include <QStringList>

namespace orba {

class QuickSave
{
public:
    enum Slot : int { A = 0, B = 1 };

    // Loads both memories from their files; a memory whose file is missing or unreadable is empty.
    explicit QuickSave(const QString &presetsFolder);
    QuickSave(const QuickSave &) = delete;
    QuickSave &operator=(const QuickSave &) = delete;

    // Writes the live set to the memory's file (named "QSAVE") and keeps a copy of it. False when
    // the file could not be written (the copy in memory is kept all the same).
    bool store(int slot, const SETTINGS_MAP &live);
    bool storeBoth(const SETTINGS_MAP &live);
    // Stores the live set into the current memory, then makes the other one current and copies
    // it into the live set (change source 2); an empty memory takes the live set instead, which
    // stays as it is. Nothing when the slot is current or not A or B. False when a file could not
    // be written; `unsaved` then lists the files.
    bool select(int slot, SETTINGS_MAP &live, QStringList *unsaved = nullptr);

    int current() const { return m_current; }
    // False until the memory was loaded from its file or stored.
    bool holds(int slot) const { return slot == B ? m_heldB : m_heldA; }
    const SETTINGS_MAP &memory(int slot) const { return slot == B ? m_b : m_a; }
    QString filePath(int slot) const;

private:
    SETTINGS_MAP &slotSet(int slot) { return slot == B ? m_b : m_a; }
    bool &held(int slot) { return slot == B ? m_heldB : m_heldA; }

    QString m_folder;
    SETTINGS_MAP m_a;
    SETTINGS_MAP m_b;
    bool m_heldA = false;
    bool m_heldB = false;
    int m_current = A;
};

} // namespace orba
