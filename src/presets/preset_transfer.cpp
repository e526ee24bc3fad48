#include "presets/preset_transfer.h"

#include "common/message.h"
#include "presets/name_rules.h"
#include "presets/preset_file.h"
#include "session/session.h"
#include "tables/globals_map.h"

#include <QLoggingCategory>
#include <QTimer>

#include <optional>

// Programs whose output is their data (orba-ctl) switch its debug lines off.
Q_LOGGING_CATEGORY(lcTransfer, "orba.presets.transfer")

namespace orba {

namespace {

const QString kTransferTitle = QStringLiteral("Preset Transfer");

bool validSlot(int slot)
{
    return slot >= 0 && slot < PRESET_SLOTS;
}

TransferResult refused(const QString &title, const QString &text, int slot = -1)
{
    TransferResult r;
    r.status = TransferResult::Refused;
    r.title = title;
    r.text = text;
    r.slot = slot;
    return r;
}

TransferResult badSlot(int slot)
{
    return refused(kTransferTitle,
                   QStringLiteral("There is no preset %1: presets are numbered 1 to %2.")
                       .arg(slot + 1)
                       .arg(PRESET_SLOTS),
                   slot);
}

} // namespace

void EventLoopWait::wait(const std::function<bool()> &finished)
{
    // A wake that comes while the loop is not running (from a nested loop) must not be lost.
    while (!finished()) {
        if (!m_woken)
            m_loop.exec();
        m_woken = false;
    }
}

void EventLoopWait::wake()
{
    m_woken = true;
    m_loop.quit();
}

int progressPercent(int i, int n)
{
    return n == 0 ? 0 : i * 100 / n;
}

PresetTransfer::PresetTransfer(Session &session, TransferWait &wait) : m_session(session), m_wait(wait) {}

PresetTransfer::WaitEnd PresetTransfer::waitFor(const std::function<bool()> &answered)
{
    bool timedOut = false;
    bool lost = false; // a link that came back meanwhile is another link
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        timedOut = true;
        m_wait.wake();
    });
    const auto wake = [this] { m_wait.wake(); };
    const QMetaObject::Connection c[] = {
        QObject::connect(&m_session, &Session::grabDone, &timer, wake),
        QObject::connect(&m_session, &Session::sig_summary_changed, &timer, wake),
        QObject::connect(&m_session, &Session::stateChanged, &timer,
                         [&](LinkState state) {
                             if (state != LinkState::Online)
                                 lost = true;
                             m_wait.wake();
                         }),
    };
    timer.start(m_timeoutMs);
    // A lost link also sets the done flags, so the link is asked first.
    const auto linkLost = [&] { return lost || !m_session.isOnline(); };
    m_wait.wait([&] { return linkLost() || answered() || timedOut; });
    for (const auto &connection : c)
        QObject::disconnect(connection);
    if (linkLost())
        return WaitEnd::LinkLost;
    return answered() ? WaitEnd::Answered : WaitEnd::TimedOut;
}

TransferResult PresetTransfer::ended(WaitEnd end, int slot, const char *what) const
{
    TransferResult r;
    r.slot = slot;
    r.title = kTransferTitle;
    if (end == WaitEnd::LinkLost) {
        r.status = TransferResult::LinkLost;
        r.text = QStringLiteral("The link to the processor was lost while preset %1 was %2.")
                     .arg(slot + 1)
                     .arg(QLatin1String(what));
    } else {
        r.status = TransferResult::TimedOut;
        r.text = QStringLiteral("The processor did not answer within %1 s while preset %2 was %3.")
                     .arg(double(m_timeoutMs) / 1000.0)
                     .arg(slot + 1)
                     .arg(QLatin1String(what));
    }
    return r;
}

TransferResult PresetTransfer::offline() const
{
    TransferResult r;
    r.status = TransferResult::Offline;
    r.title = kTransferTitle;
    r.text = QStringLiteral("You must be online.");
    return r;
}

std::optional<TransferResult> PresetTransfer::cannotStart(int slot, const char *trace)
{
    if (!validSlot(slot))
        return badSlot(slot);
    if (m_waiting) {
        TransferResult r =
            refused(kTransferTitle, QStringLiteral("Another preset transfer is waiting."), slot);
        r.status = TransferResult::Busy;
        return r;
    }
    qCDebug(lcTransfer, "%s %d", trace, slot);
    if (!m_session.isOnline())
        return offline();
    return std::nullopt;
}

TransferResult PresetTransfer::grabPreset(int slot, SETTINGS_MAP *target)
{
    if (std::optional<TransferResult> no = cannotStart(slot, "tcPresetGrabber::grab_preset"))
        return *no;
    SETTINGS_MAP received;
    GrabRecord &record = m_session.grab();
    m_waiting = true;
    record.begin(slot, &received);
    m_session.link().grab_preset(uint8_t(slot));
    const WaitEnd end = waitFor([&record] { return record.isDone(); });
    record.end();
    m_waiting = false;
    if (end != WaitEnd::Answered)
        return ended(end, slot, "being read");
    if (target)
        target->assignFrom(received);
    TransferResult r;
    r.slot = slot;
    return r;
}

TransferResult PresetTransfer::pushPreset(int slot, const SETTINGS_MAP &set, const PresetHeader &header)
{
    if (std::optional<TransferResult> no = cannotStart(slot, "tcPresetGrabber::push_preset"))
        return *no;
    HeaderWaitRecord &record = m_session.headerWait();
    m_waiting = true;
    record.begin(slot);
    m_session.link().send_all_values(uint8_t(slot), set);
    m_session.link().send_preset_header(uint8_t(slot), header);
    const WaitEnd end = waitFor([&record] { return record.isDone(); });
    record.end();
    m_waiting = false;
    if (end != WaitEnd::Answered)
        return ended(end, slot, "being sent");
    TransferResult r;
    r.slot = slot;
    return r;
}

TransferResult PresetTransfer::pastePresets(int first, const PresetClipboard &presets,
                                            TransferProgress *progress)
{
    if (!validSlot(first))
        return badSlot(first);
    const int count = int(presets.size());
    const SlotRefusal refusal = checkPaste(m_session.presetSlots(), first, count);
    if (refusal.refused())
        return refused(refusal.title, refusal.text, first);
    if (!m_session.isOnline())
        return offline();
    TransferResult r;
    for (int i = 0; i < count && first + i < PRESET_SLOTS; ++i) {
        const ClipPreset &preset = presets[size_t(i)];
        const QString name = QString::fromLatin1(preset.header.nameText().c_str());
        if (progress)
            progress->update(i, count, name);
        PresetHeader header = preset.header;
        header.setName(preset.header.nameText());
        const TransferResult one = pushPreset(first + i, *preset.values, header);
        if (!one.ok()) {
            TransferResult stop = one;
            stop.sent = r.sent;
            return stop;
        }
        r.slot = first + i;
        ++r.sent;
    }
    return r;
}

TransferResult PresetTransfer::copySlots(const std::vector<int> &chosen, PresetClipboard &clipboard,
                                         TransferProgress *progress)
{
    clipboard.clear();
    const int count = int(chosen.size());
    TransferResult r;
    for (int i = 0; i < count; ++i) {
        const int slot = chosen[size_t(i)];
        if (!slotInUse(m_session.presetSlots(), slot))
            continue;
        if (progress)
            progress->update(i, count, slotName(m_session.presetSlots().get(slot)));
        auto values = std::make_shared<SETTINGS_MAP>();
        const TransferResult one = grabPreset(slot, values.get());
        if (!one.ok()) {
            TransferResult stop = one;
            stop.sent = r.sent;
            return stop;
        }
        clipboard.push_back({m_session.presetSlots().get(slot), values});
        r.slot = slot;
        ++r.sent;
    }
    return r;
}

TransferResult PresetTransfer::saveToSlot(int slot, const QString &name)
{
    if (!validSlot(slot))
        return badSlot(slot);
    const NameCheck check = checkSaveName(name);
    if (check.result == NameCheck::Empty)
        return refused(QStringLiteral("Save preset"), QStringLiteral("A preset needs a name."), slot);
    if (!check.accepted())
        return refused(check.title, check.text, slot);
    const SlotRefusal refusal = checkSaveSlot(m_session.presetSlots(), slot);
    if (refusal.refused())
        return refused(refusal.title, refusal.text, slot);
    if (!m_session.isOnline())
        return offline();
    m_session.saveToSlot(m_session.live(), slot, name);
    m_session.globals().set(G_ACT_PRST, slot, CHANGE_USER);
    TransferResult r;
    r.slot = slot;
    return r;
}

TransferResult PresetTransfer::takeSlot(int slot)
{
    if (!validSlot(slot))
        return badSlot(slot);
    if (!slotInUse(m_session.presetSlots(), slot))
        return refused(QStringLiteral("Take Preset"), QStringLiteral("Preset %1 is empty.").arg(slot + 1),
                       slot);
    if (!m_session.isOnline())
        return offline();
    m_session.link().take_preset(uint8_t(slot));
    TransferResult r;
    r.slot = slot;
    return r;
}

TransferResult PresetTransfer::takeFile(const QString &path)
{
    SETTINGS_MAP set;
    PresetHeader header;
    header.clear();
    int code = loadPreset(header, set, path);
    if (code == PRESET_OK && header.inUse == 0)
        code = PRESET_CANNOT_OPEN; // nothing was read
    if (code != PRESET_OK) {
        TransferResult r;
        r.status = TransferResult::NotLoaded;
        r.title = QStringLiteral("Error");
        r.text = QStringLiteral("Error taking preset:\n%1").arg(QLatin1String(presetResultText(code)));
        return r;
    }
    if (!m_session.isOnline())
        return offline();
    // Without "S_FOLLOW" the processor keeps its installation parameters, and so do we.
    const bool follow = m_session.globals().getBool(G_S_FOLLOW);
    m_session.live().copyValuesFrom(&set, follow ? 0u : 2u);
    m_session.sendChanges();
    m_session.link().send_current_preset(header);
    return {};
}

TransferResult PresetTransfer::deleteSlots(const std::vector<int> &chosen)
{
    const SlotRefusal refusal = checkDelete(m_session.presetSlots(), chosen);
    if (refusal.refused())
        return refused(refusal.title, refusal.text);
    if (!m_session.isOnline())
        return offline();
    if (showMessage(MessageKind::Question, nullptr, deleteQuestionTitle(), deleteQuestionText(),
                    MsgYes | MsgNo) != MsgYes) {
        TransferResult r;
        r.status = TransferResult::Cancelled;
        return r;
    }
    for (int slot : chosen)
        if (validSlot(slot))
            m_session.link().clear_presets(uint16_t(slot), 1);
    return {};
}

TransferResult PresetTransfer::renameSlot(int slot, const QString &name)
{
    if (!validSlot(slot))
        return badSlot(slot);
    const NameCheck check = checkRenameName(name);
    if (!check.accepted())
        return refused(check.title, check.text, slot);
    if (!m_session.isOnline())
        return offline();
    m_session.link().rename_preset(uint8_t(slot), name.toLatin1().toStdString());
    TransferResult r;
    r.slot = slot;
    return r;
}

void PresetTransfer::sendLocks(const LockPlan &plan, uint8_t lock)
{
    for (const SlotRefusal &refusal : plan.refusals)
        showMessage(MessageKind::Warning, nullptr, refusal.title, refusal.text);
    if (!m_session.isOnline())
        return;
    for (int slot : plan.change)
        m_session.link().lock_preset(uint8_t(slot), lock);
}

LockPlan PresetTransfer::lockSlots(const std::vector<int> &chosen)
{
    LockPlan plan = planLock(m_session.presetSlots(), chosen);
    sendLocks(plan, PRESET_LOCKED);
    return plan;
}

LockPlan PresetTransfer::unlockSlots(const std::vector<int> &chosen, bool technician)
{
    LockPlan plan = planUnlock(m_session.presetSlots(), chosen, technician);
    sendLocks(plan, PRESET_UNLOCKED);
    return plan;
}

LockPlan PresetTransfer::factoryLockSlots(const std::vector<int> &chosen, bool technician)
{
    LockPlan plan = planFactoryLock(chosen, technician);
    sendLocks(plan, PRESET_FACTORY_LOCKED);
    return plan;
}

} // namespace orba
