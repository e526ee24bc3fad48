#include "presets/quick_save.h"

#include "presets/preset_file.h"

#include <QDir>

namespace orba {

QuickSave::QuickSave(const QString &presetsFolder) : m_folder(presetsFolder)
{
    for (int slot : {A, B}) {
        PresetHeader header;
        loadPreset(header, slotSet(slot), filePath(slot));
    }
}

QString QuickSave::filePath(int slot) const
{
    return QDir(m_folder).filePath(slot == B ? QStringLiteral("qsave_b.orba")
                                             : QStringLiteral("qsave_a.orba"));
}

bool QuickSave::store(int slot, const SETTINGS_MAP &live)
{
    if (slot != A && slot != B)
        return true;
    PresetHeader header;
    header.clear();
    header.setName("QSAVE");
    const bool written = writePreset(header, live, filePath(slot));
    slotSet(slot).assignFrom(live);
    return written;
}

bool QuickSave::storeBoth(const SETTINGS_MAP &live)
{
    const bool a = store(A, live);
    const bool b = store(B, live);
    return a && b;
}

bool QuickSave::select(int slot, SETTINGS_MAP &live)
{
    if ((slot != A && slot != B) || slot == m_current)
        return true;
    const bool written = store(m_current, live);
    m_current = slot;
    live.copyValuesFrom(&slotSet(slot), 0);
    return written;
}

} // namespace orba
