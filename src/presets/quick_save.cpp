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

void QuickSave::store(int slot, const SETTINGS_MAP &live)
{
    if (slot != A && slot != B)
        return;
    PresetHeader header;
    header.clear();
    header.setName("QSAVE");
    header.inUse = 1;
    const SetChecksums sums = live.checksums();
    header.presetChecksum = sums.presetChecksum;
    header.presetCount = sums.presetCount;
    writePreset(header, live, filePath(slot));
    slotSet(slot).assignFrom(live);
}

void QuickSave::storeBoth(const SETTINGS_MAP &live)
{
    store(A, live);
    store(B, live);
}

void QuickSave::select(int slot, SETTINGS_MAP &live)
{
    if ((slot != A && slot != B) || slot == m_current)
        return;
    store(m_current, live);
    m_current = slot;
    live.copyValuesFrom(&slotSet(slot), 0);
}

} // namespace orba
