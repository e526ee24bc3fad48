// The processor's answers to parameter and preset messages: live values and globals, slot headers,
// rename, clear, lock, grab, take and the current preset. Slots that are in use and locked keep
// their contents: pushes and clears of them are refused and answered with what the slot still holds.
#include "sim/sim_processor.h"

#include <cstring>
#include <vector>

namespace orba::sim {

namespace {

bool validSlot(unsigned slot)
{
    return slot < unsigned(PRESET_SLOTS);
}

} // namespace

// ---- Sending ----

void SimProcessor::sendSet(uint8_t target, const SETTINGS_MAP &set)
{
    packWholeSet(target, set, &SimProcessor::sendPacked, this);
}

void SimProcessor::sendHeaders(const std::vector<int> &slotList)
{
    uint8_t frame[PRESET_HEADERS_LENGTH];
    for (size_t first = 0; first < slotList.size(); first += PRESET_HEADERS_PER_FRAME) {
        uint8_t numbers[PRESET_HEADERS_PER_FRAME];
        PresetHeader headers[PRESET_HEADERS_PER_FRAME];
        int n = 0;
        for (size_t i = first; i < slotList.size() && n < PRESET_HEADERS_PER_FRAME; ++i, ++n) {
            numbers[n] = uint8_t(slotList[i]);
            headers[n] = m_bank.header(slotList[i]);
        }
        send(frame, buildPresetHeaders(frame, numbers, headers, n));
    }
}

void SimProcessor::sendCurrentPreset()
{
    uint8_t frame[CURRENT_PRESET_LENGTH];
    send(frame, buildCurrentPreset(frame, m_bank.current));
}

void SimProcessor::sendGlobals(const std::vector<uint16_t> &ids)
{
    auto packer = ValuePacker::forGlobals(&SimProcessor::sendPacked, this);
    for (uint16_t id : ids)
        if (putGlobalEntry(packer.entry(), m_bank.globals, id))
            packer.commit();
    packer.finish();
}

// ---- Live values and globals ----

void SimProcessor::onValues(const uint8_t *f, size_t n)
{
    ValuesMsg msg;
    if (!parseValues(f, n, msg))
        return;
    if (msg.target == TARGET_LIVE) {
        // Stored, then answered with the values as stored, so the application sees the steps.
        auto packer = ValuePacker::forValues(TARGET_LIVE, &SimProcessor::sendPacked, this);
        for (size_t i = 0; i < msg.count; ++i) {
            const uint8_t *entry = msg.entries + i * VALUE_ENTRY_SIZE;
            if (applySettingEntry(m_bank.live, entry, CHANGE_PROCESSOR) &&
                putSettingEntry(packer.entry(), m_bank.live, entryId(entry))) {
                packer.commit();
                if (m_log)
                    m_log("live " + std::to_string(entryId(entry)) + " = " +
                          std::to_string(m_bank.live.getRaw(entryId(entry))));
            }
        }
        packer.finish();
        changed();
        return;
    }
    const int slot = msg.target;
    if (!validSlot(unsigned(slot)) || m_bank.locked(slot))
        return;
    for (size_t i = 0; i < msg.count; ++i)
        applySettingEntry(m_bank.values(slot), msg.entries + i * VALUE_ENTRY_SIZE, CHANGE_PROCESSOR);
    if (msg.block == msg.blocks) {
        m_bank.markStored(slot);
        m_session.pushed[size_t(slot)] = true;
    }
    changed();
}

void SimProcessor::onGlobals(const uint8_t *f, size_t n)
{
    GlobalsMsg msg;
    if (!parseGlobals(f, n, msg))
        return;
    std::vector<uint16_t> stored;
    for (size_t i = 0; i < msg.count; ++i) {
        const uint8_t *entry = msg.entries + i * VALUE_ENTRY_SIZE;
        if (applyGlobalEntry(m_bank.globals, entry, CHANGE_PROCESSOR)) {
            stored.push_back(entryId(entry));
            if (m_log)
                m_log("global " + std::to_string(entryId(entry)) + " = " +
                      std::to_string(m_bank.globals.get(entryId(entry))));
        }
    }
    sendGlobals(stored);
    changed();
}

bool SimProcessor::frontPanelSet(uint16_t id, uint32_t raw)
{
    if (orba::settingType(id) < 0)
        return false;
    m_bank.live.setIndex(id, raw, CHANGE_PROCESSOR);
    if (m_session.loggedIn) {
        auto packer = ValuePacker::forValues(TARGET_LIVE, &SimProcessor::sendPacked, this);
        if (putSettingEntry(packer.entry(), m_bank.live, id))
            packer.commit();
        packer.finish();
    }
    changed();
    return true;
}

bool SimProcessor::frontPanelGlobal(uint16_t id, int32_t value)
{
    if (orba::globalType(id) < 0)
        return false;
    m_bank.globals.set(id, value, CHANGE_PROCESSOR);
    if (m_session.loggedIn)
        sendGlobals({id});
    changed();
    return true;
}

// ---- Slots ----

void SimProcessor::onPresetHeaders(const uint8_t *f, size_t n)
{
    PresetHeadersMsg msg;
    if (!parsePresetHeaders(f, n, msg))
        return;
    std::vector<int> answered;
    for (size_t i = 0; i < msg.count; ++i) {
        const uint8_t *entry = msg.entries + i * PRESET_ENTRY_SIZE;
        const int slot = presetEntrySlot(entry);
        if (!validSlot(unsigned(slot)))
            continue;
        if (!m_bank.locked(slot))
            decodePresetEntry(entry, m_bank.header(slot));
        m_session.pushed[size_t(slot)] = false;
        answered.push_back(slot);
    }
    sendHeaders(answered);
    changed();
}

void SimProcessor::onRename(const uint8_t *f, size_t n)
{
    PresetRenameMsg msg;
    if (!parsePresetRename(f, n, msg) || !validSlot(msg.slot))
        return;
    PresetHeader &h = m_bank.header(msg.slot);
    if (!m_bank.factoryLocked(msg.slot))
        h.setName(std::string(msg.name, strnlen(msg.name, PRESET_NAME_LEN)));
    uint8_t frame[PRESET_RENAME_LENGTH];
    send(frame, buildPresetRename(frame, msg.slot, h.name, strnlen(h.name, PRESET_NAME_LEN)));
    // A preset just stored by value goes out whole: in use, with its checksums.
    if (m_session.pushed[msg.slot]) {
        m_session.pushed[msg.slot] = false;
        sendHeaders({msg.slot});
    }
    changed();
}

void SimProcessor::onClear(const uint8_t *f, size_t n)
{
    PresetClearMsg msg;
    if (!parsePresetClear(f, n, msg) || !validSlot(msg.first) || msg.count == 0)
        return;
    std::vector<int> kept;
    for (int slot = msg.first, left = msg.count; left > 0 && slot < PRESET_SLOTS; ++slot, --left) {
        if (m_bank.locked(slot)) {
            kept.push_back(slot);
            continue;
        }
        m_bank.clearSlot(slot);
        m_session.pushed[size_t(slot)] = false;
    }
    uint8_t frame[PRESET_CLEAR_LENGTH];
    send(frame, buildPresetClear(frame, msg.first, msg.count));
    sendHeaders(kept); // the locked ones are still there
    changed();
}

void SimProcessor::onLock(const uint8_t *f, size_t n)
{
    PresetLockMsg msg;
    if (!parsePresetLock(f, n, msg) || !validSlot(msg.slot) || msg.lock > PRESET_FACTORY_LOCKED)
        return;
    m_bank.header(msg.slot).lock = msg.lock;
    uint8_t frame[PRESET_LOCK_LENGTH];
    send(frame, buildPresetLock(frame, msg.slot, msg.lock));
    changed();
}

void SimProcessor::onGrab(const uint8_t *f, size_t n)
{
    uint8_t slot = 0;
    if (!parseGrabPreset(f, n, slot) || !validSlot(slot))
        return;
    sendSet(slot, m_bank.values(slot));
    sendHeaders({slot});
}

void SimProcessor::onTake(const uint8_t *f, size_t n)
{
    TakePresetMsg msg;
    if (!parseTakePreset(f, n, msg) || (msg.mode != 0 && msg.mode != 2))
        return;
    takePreset(msg.slot, msg.mode);
}

bool SimProcessor::takePreset(int slot, int mode)
{
    if (!validSlot(unsigned(slot)) || m_bank.header(slot).inUse == 0)
        return false;
    // Take the slot's values (mode 2 keeps the installation parameters), noting what really
    // changes, in table order.
    const SETTINGS_MAP &from = m_bank.values(slot);
    std::vector<uint16_t> changedIds;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        if (!(mode == 2 && isInstallationParameter(id)) &&
            m_bank.live.setIndex(id, from.getRaw(id), CHANGE_LOCAL))
            changedIds.push_back(id);
    m_bank.current = m_bank.header(slot);
    m_bank.globals.setInt(G_ACT_PRST, slot, CHANGE_LOCAL);
    changed();
    if (!m_session.open || (passwordRequired() && !m_session.loggedIn))
        return true;
    auto packer = ValuePacker::forValues(TARGET_LIVE, &SimProcessor::sendPacked, this);
    for (const uint16_t id : changedIds)
        if (putSettingEntry(packer.entry(), m_bank.live, id))
            packer.commit();
    packer.finish();
    sendCurrentPreset();
    sendGlobals({G_ACT_PRST});
    return true;
}

void SimProcessor::onCurrentPreset(const uint8_t *f, size_t n)
{
    const uint8_t *entry = nullptr;
    if (!parseCurrentPreset(f, n, entry))
        return;
    decodePresetEntry(entry, m_bank.current);
    changed();
}

} // namespace orba::sim
