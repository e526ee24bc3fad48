// The rules of the processor's 80 preset slots: which saves, pastes, deletes and lock changes are
// refused, with the title and text the user sees, and the technician setting that opens the
// factory lock. Pure checks over the slot list; PresetTransfer sends them.
#pragma once

#include "link/records.h"

#include <QString>

#include <vector>

class IniStore;

namespace orba {

// A refusal to show in a warning box; empty when the operation may go ahead.
struct SlotRefusal
{
    QString title;
    QString text;
    bool refused() const { return !text.isEmpty(); }
};

// "TECH" in section "FACTORY" of the application settings: non-zero opens the factory lock.
bool technicianMode(const IniStore &settings);
void setTechnicianMode(IniStore &settings, bool on);

// The slot number as the user sees it ("005").
QString slotNumberText(int slot);
QString slotName(const PresetHeader &header);

// Save into a slot: refused when the slot is in use and locked.
SlotRefusal checkSaveSlot(const PresetSlotList &list, int slot);

// Paste of count presets from the first slot on: the destinations stop after slot 79.
int pasteCount(int first, int count);
// Refused whole when any destination is locked.
SlotRefusal checkPaste(const PresetSlotList &list, int first, int count);

// Delete: refused whole when any selected slot is locked.
SlotRefusal checkDelete(const PresetSlotList &list, const std::vector<int> &chosen);
// The question asked before a delete goes ahead.
QString deleteQuestionTitle();
QString deleteQuestionText();

// What lock, unlock and factory lock do to a selection: the slots to change and one refusal per
// factory-locked slot that may not be changed.
struct LockPlan
{
    std::vector<int> change;
    std::vector<SlotRefusal> refusals;
};
LockPlan planLock(const PresetSlotList &list, const std::vector<int> &chosen);
LockPlan planUnlock(const PresetSlotList &list, const std::vector<int> &chosen, bool technician);
// Nothing at all unless the technician setting is on.
LockPlan planFactoryLock(const std::vector<int> &chosen, bool technician);

// Take, copy, view, diff and print use only the slots in use.
bool slotInUse(const PresetSlotList &list, int slot);

} // namespace orba
