// Moving presets between the processor's slots, the live settings and files, on a Session: grab a
// slot, push a preset into a slot, paste a list of presets into consecutive slots, copy slots,
// save the live settings into a slot, take a slot or a file, and the slot operations (delete,
// rename, lock). The view hands in how to wait (the window keeps its events running behind a
// progress window, the command line just runs the event loop) and how to show progress.
//
// A wait ends when the processor answers, when the link is lost, or after our own time-out, which
// ends it as a lost link does and says so, naming the slot: a processor that never answers cannot
// hang the caller.
#pragma once

#include "presets/slot_rules.h"
#include "tables/preset_header.h"
#include "tables/settings_map.h"

#include <QEventLoop>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orba {

class Session;

// How a transfer waits for the processor. wait() returns once finished() holds; wake() is called on
// the session's thread whenever it may have come to hold.
class TransferWait
{
public:
    virtual ~TransferWait() = default;
    virtual void wait(const std::function<bool()> &finished) = 0;
    virtual void wake() = 0;
};

// Runs this thread's event loop until the wait is over: the command line, and the base of the
// window's waits.
class EventLoopWait : public TransferWait
{
public:
    void wait(const std::function<bool()> &finished) override;
    void wake() override;

private:
    QEventLoop m_loop;
    bool m_woken = false;
};

// Told before each preset of a paste or copy: i of n, and the preset's name.
class TransferProgress
{
public:
    virtual ~TransferProgress() = default;
    virtual void update(int i, int n, const QString &text) = 0;
};

// The bar's value for i of n: i * 100 / n, 0 when n is 0.
int progressPercent(int i, int n);

struct TransferResult
{
    enum Status {
        Done,
        Offline,   // not on line: nothing was sent
        LinkLost,  // the link ended during a wait
        TimedOut,  // no answer within the time-out
        Refused,   // a rule refused it; nothing was sent
        NotLoaded, // a preset file did not load
        Busy,      // another transfer is waiting
        Cancelled, // the user said no
    };
    Status status = Done;
    QString title; // what to tell the user when not Done
    QString text;
    int slot = -1; // the slot concerned
    int sent = 0;  // presets sent whole (paste) or slots grabbed (copy)
    bool ok() const { return status == Done; }
};

// One preset of the clipboard: its header and its values.
struct ClipPreset
{
    PresetHeader header;
    std::shared_ptr<SETTINGS_MAP> values;
};
using PresetClipboard = std::vector<ClipPreset>;

constexpr int DEFAULT_TRANSFER_TIMEOUT_MS = 10000;

class PresetTransfer
{
public:
    PresetTransfer(Session &session, TransferWait &wait);
    PresetTransfer(const PresetTransfer &) = delete;
    PresetTransfer &operator=(const PresetTransfer &) = delete;

    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    int timeoutMs() const { return m_timeoutMs; }

    // The slot's values into target (when given) once the processor has sent them all; the
    // target keeps its values when the grab does not complete.
    TransferResult grabPreset(int slot, SETTINGS_MAP *target);
    // The set and header into the slot; done when the processor answers with the slot's header.
    TransferResult pushPreset(int slot, const SETTINGS_MAP &set, const PresetHeader &header);
    // The presets into first, first + 1, ... up to slot 79; refused whole when a destination is
    // locked. Ends at the first push that does not complete; what was sent before stays.
    TransferResult pastePresets(int first, const PresetClipboard &presets, TransferProgress *progress);
    // The slots in use among those given, in that order, grabbed into the clipboard (emptied first).
    TransferResult copySlots(const std::vector<int> &chosen, PresetClipboard &clipboard,
                             TransferProgress *progress);

    // The live settings into the slot under the name (save rules, slot lock), made the active
    // preset.
    TransferResult saveToSlot(int slot, const QString &name);
    // Recalls a slot in use on the processor.
    TransferResult takeSlot(int slot);
    // A preset file into the live settings: installation parameters only when the processor
    // follows presets ("S_FOLLOW"); the changes are sent, then the file's header as the current
    // preset.
    TransferResult takeFile(const QString &path);

    // Slot operations; each refusal leaves the slots as they are.
    TransferResult deleteSlots(const std::vector<int> &chosen); // asks first
    TransferResult renameSlot(int slot, const QString &name);   // rename rules
    // Lock, unlock (factory locks only for the technician) and factory lock; each refused slot is
    // told in its own box, the others are changed.
    LockPlan lockSlots(const std::vector<int> &chosen);
    LockPlan unlockSlots(const std::vector<int> &chosen, bool technician);
    LockPlan factoryLockSlots(const std::vector<int> &chosen, bool technician);

private:
    enum class WaitEnd { Answered, LinkLost, TimedOut };
    // The refusal when a grab or push cannot start (bad slot, another wait, off line).
    std::optional<TransferResult> cannotStart(int slot, const char *trace);
    WaitEnd waitFor(const std::function<bool()> &answered);
    TransferResult ended(WaitEnd end, int slot, const char *what) const;
    TransferResult offline() const;
    void sendLocks(const LockPlan &plan, uint8_t lock);

    Session &m_session;
    TransferWait &m_wait;
    int m_timeoutMs = DEFAULT_TRANSFER_TIMEOUT_MS;
    bool m_waiting = false;
};

} // namespace orba
