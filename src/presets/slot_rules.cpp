#include "presets/slot_rules.h"

#include "common/ini_store.h"

#include <algorithm>

namespace orba {

namespace {

const QString kFactory = QStringLiteral("FACTORY");
const QString kTech = QStringLiteral("TECH");

bool validSlot(int slot)
{
    return slot >= 0 && slot < PRESET_SLOTS;
}

SlotRefusal factoryLocked(const PresetSlotList &list, int slot)
{
    return {
        QStringLiteral("Preset Lock Error"),
        QStringLiteral("Presets %1 \"%2\" is factory locked.").arg(slot + 1).arg(slotName(list.get(slot)))};
}

} // namespace

bool technicianMode(const IniStore &settings)
{
    return settings.readInt(kFactory, kTech, 0) != 0;
}

void setTechnicianMode(IniStore &settings, bool on)
{
    settings.writeInt(kFactory, kTech, on ? 1 : 0);
    settings.flush();
}

QString slotNumberText(int slot)
{
    return QString::asprintf("%03d", slot + 1);
}

QString slotName(const PresetHeader &header)
{
    return QString::fromLatin1(header.nameText().c_str());
}

SlotRefusal checkSaveSlot(const PresetSlotList &list, int slot)
{
    if (validSlot(slot) && list.get(slot).isLockedSlot())
        return {QStringLiteral("Save preset"), QStringLiteral("The destination preset is locked.")};
    return {};
}

int pasteCount(int first, int count)
{
    if (!validSlot(first) || count <= 0)
        return 0;
    return std::min(count, PRESET_SLOTS - first);
}

SlotRefusal checkPaste(const PresetSlotList &list, int first, int count)
{
    const int n = pasteCount(first, count);
    for (int i = 0; i < n; ++i)
        if (list.get(first + i).isLockedSlot())
            return {QStringLiteral("Preset Paste"),
                    QStringLiteral("One or more of the destination presets is locked.")};
    return {};
}

SlotRefusal checkDelete(const PresetSlotList &list, const std::vector<int> &chosen)
{
    for (int slot : chosen)
        if (validSlot(slot) && list.get(slot).isLockedSlot())
            return {QStringLiteral("Preset Delete"),
                    QStringLiteral("One or more of the selected presets is locked.")};
    return {};
}

QString deleteQuestionTitle()
{
    return QStringLiteral("Preset Delete");
}

QString deleteQuestionText()
{
    return QStringLiteral("Are you sure you want to delete the selected presets?");
}

LockPlan planLock(const PresetSlotList &list, const std::vector<int> &chosen)
{
    LockPlan plan;
    for (int slot : chosen) {
        if (!validSlot(slot))
            continue;
        if (list.get(slot).lock == PRESET_FACTORY_LOCKED)
            plan.refusals.push_back(factoryLocked(list, slot));
        else
            plan.change.push_back(slot);
    }
    return plan;
}

LockPlan planUnlock(const PresetSlotList &list, const std::vector<int> &chosen, bool technician)
{
    LockPlan plan;
    for (int slot : chosen) {
        if (!validSlot(slot))
            continue;
        if (list.get(slot).lock == PRESET_FACTORY_LOCKED && !technician)
            plan.refusals.push_back(factoryLocked(list, slot));
        else
            plan.change.push_back(slot);
    }
    return plan;
}

LockPlan planFactoryLock(const std::vector<int> &chosen, bool technician)
{
    LockPlan plan;
    if (!technician)
        return plan;
    for (int slot : chosen)
        if (validSlot(slot))
            plan.change.push_back(slot);
    return plan;
}

bool slotInUse(const PresetSlotList &list, int slot)
{
    return validSlot(slot) && list.get(slot).inUse != 0;
}

} // namespace orba
