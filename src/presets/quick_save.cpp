#include "presets/quick_save.h"

#include "presets/preset_file.h"

#include <QDir>

namespace orba {

QuickSave::QuickSave(const QString &presetsFolder) : m_folder(presetsFolder)
{
    for (int slot : {A, B}) {
        PresetHeader header;
        held(slot) = loadPreset(header, slotSet(slot), filePath(slot)) == PRESET_OK;
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
    held(slot) = true;
    return written;
}

bool QuickSave::storeBoth(const SETTINGS_MAP &live)
{
    const bool a = store(A, live);
    const bool b = store(B, live);
    return a && b;
}

bool QuickSave::select(int slot, SETTINGS_MAP &live, QStringList *unsaved)
{
    if ((slot != A && slot != B) || slot == m_current)
        return true;
    bool written = true;
    auto storeLive = [&](int which) {
        if (!store(which, live)) {
            written = false;
            if (unsaved)
                unsaved->append(filePath(which));
        }
    };
    storeLive(m_current);
    m_current = slot;
    // An empty memory would put every parameter at its default, processing switched off included.
    if (holds(slot))
        live.copyValuesFrom(&slotSet(slot), 0);
    else
        storeLive(slot);
    return written;
}

} // namespace orba
