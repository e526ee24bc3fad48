#include "session/session.h"

#include "link/frames.h"
#include "link/meter.h"
#include "link/ports.h"
#include "link/tcp.h"

#include <QTimer>

#include <algorithm>
#include <chrono>
#include <utility>

namespace orba {

namespace {

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Marks the id and queues one call of the slot until it has run.
template <class Flags, class F>
void markChange(Session *self, Flags &flags, uint16_t id, std::atomic<bool> &pending, F slot)
{
    flags.set(id);
    if (!pending.exchange(true))
        QMetaObject::invokeMethod(self, slot, Qt::QueuedConnection);
}

} // namespace

Session::Session(const SessionOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_live(std::make_unique<SETTINGS_MAP>()),
      m_globals(std::make_unique<GLOBALS_MAP>()), m_settingsToSend(std::make_unique<SETTINGS_FLAGS>()),
      m_settingsToShow(std::make_unique<SETTINGS_FLAGS>()),
      m_globalsToSend(std::make_unique<GLOBALS_FLAGS>()), m_globalsToShow(std::make_unique<GLOBALS_FLAGS>()),
      m_presetSlots(std::make_unique<PresetSlotList>()), m_grab(std::make_unique<GrabRecord>()),
      m_headerWait(std::make_unique<HeaderWaitRecord>()), m_version(std::make_unique<VersionRecord>()),
      m_clock(std::make_unique<ClockRecord>()), m_events(std::make_unique<EventList>()),
      m_currentPreset(std::make_unique<CurrentPresetRecord>()),
      m_settingsOverwritten(std::make_unique<SETTINGS_FLAGS>()),
      m_globalsOverwritten(std::make_unique<GLOBALS_FLAGS>())
{
    qRegisterMetaType<LinkState>();
    qRegisterMetaType<StatusLook>();
    if (m_options.processorPort == 0)
        m_options.processorPort = processorPort();
    if (m_options.meterFirstPort == 0)
        m_options.meterFirstPort = meterFirstPort();
    m_watch.setLimits(m_options.limits);

    m_version->clear();
    m_clock->clear();
    m_events->clear();
    PresetHeader current;
    current.clear();
    current.inUse = 1;
    current.setName("Unknown");
    m_currentPreset->store(current);

    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        m_settingWas[size_t(settingIndex(id))] = m_live->getRaw(id);
    for (uint16_t id = firstGlobalId(); id != GLOBALS_END; id = nextGlobalId(id))
        m_globalWas[size_t(globalIndex(id))] = m_globals->get(id);
    m_live->setChangeCallback(&Session::onSettingsChanged, this);
    m_globals->setChangeCallback(&Session::onGlobalsChanged, this);
    m_meters = std::make_unique<METERIFACE>(nullptr, nullptr, m_options.meterFirstPort);

    LinkContext context;
    context.live = m_live.get();
    context.globals = m_globals.get();
    context.presetSlots = m_presetSlots.get();
    context.grab = m_grab.get();
    context.headerWait = m_headerWait.get();
    context.version = m_version.get();
    context.events = m_events.get();
    context.currentPreset = m_currentPreset.get();
    context.meters = m_meters.get();
    context.host = this;
    m_link = std::make_unique<MessageLink>(context);

    auto startTimer = [this](int ms, void (Session::*slot)()) {
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, slot);
        timer->start(ms);
        return timer;
    };
    m_pingTimer = startTimer(m_options.pingMs, &Session::slot_ping_timer);
    // Meters are read only on line and a link is watched only while there is one: an idle session
    // wakes for nothing else.
    m_meterTimer = startTimer(m_options.meterMs, &Session::slot_meter_timer);
    m_meterTimer->stop();
    m_watchTimer = startTimer(m_options.watchMs, &Session::slot_link_watch);
    m_watchTimer->stop();
}

Session::~Session()
{
    // The worker stores into everything below: it ends before any of it goes.
    dropTransport();
    m_meters->close();
    m_live->setChangeCallback(nullptr, nullptr);
    m_globals->setChangeCallback(nullptr, nullptr);
}

void Session::setLimits(const LinkLimits &limits)
{
    m_options.limits = limits;
    m_watch.setLimits(limits);
}

// ---- Change marks

void Session::onSettingsChanged(void *context, uint16_t id, ChangeSource source)
{
    auto *self = static_cast<Session *>(context);
    if (settingIndex(id) < 0)
        return;
    const uint32_t now = self->m_live->getRaw(id);
    const uint32_t was = self->m_settingWas[size_t(settingIndex(id))].exchange(now);
    // The worker stores only the processor's values, so it never reads m_applyingEdit.
    if (source == CHANGE_USER)
        self->userEdit({false, id}, was, now);
    else if (source == CHANGE_PROCESSOR || !self->m_applyingEdit)
        self->m_settingsOverwritten->set(id);
    if (changeIsSent(source))
        markChange(self, *self->m_settingsToSend, id, self->m_sendSettingsPending,
                   [self] { self->slot_map_settings_dirty(); });
    if (changeIsShown(source))
        markChange(self, *self->m_settingsToShow, id, self->m_showSettingsPending, [self] {
            self->m_showSettingsPending = false;
            self->dropOverwrittenSteps();
            emit self->sig_gui_settings_dirty();
        });
}

void Session::onGlobalsChanged(void *context, uint16_t id, ChangeSource source)
{
    auto *self = static_cast<Session *>(context);
    if (globalIndex(id) < 0)
        return;
    const int32_t now = self->m_globals->get(id);
    const int32_t was = self->m_globalWas[size_t(globalIndex(id))].exchange(now);
    if (source == CHANGE_USER)
        self->userEdit({true, id}, was, now);
    else if (source == CHANGE_PROCESSOR || !self->m_applyingEdit)
        self->m_globalsOverwritten->set(id);
    if (changeIsSent(source))
        markChange(self, *self->m_globalsToSend, id, self->m_sendGlobalsPending,
                   [self] { self->slot_map_globals_dirty(); });
    if (changeIsShown(source))
        markChange(self, *self->m_globalsToShow, id, self->m_showGlobalsPending, [self] {
            self->m_showGlobalsPending = false;
            self->dropOverwrittenSteps();
            emit self->sig_gui_globals_dirty();
        });
}

void Session::slot_map_settings_dirty()
{
    m_sendSettingsPending = false;
    // Edits made before the login is through are kept as off-line edits, not sent half-way.
    if (m_state != LinkState::Online)
        return m_settingsToSend->clearAll();
    emit changesSent(m_link->send_changed_values(*m_live, *m_settingsToSend));
}

void Session::slot_map_globals_dirty()
{
    m_sendGlobalsPending = false;
    if (m_state != LinkState::Online)
        return m_globalsToSend->clearAll();
    emit changesSent(m_link->send_changed_globals(*m_globalsToSend));
}

bool Session::sendChanges()
{
    m_sendSettingsPending = m_sendGlobalsPending = false;
    const bool settings = m_link->send_changed_values(*m_live, *m_settingsToSend);
    const bool globals = m_link->send_changed_globals(*m_globalsToSend);
    return settings && globals;
}

bool Session::presetModified() const
{
    const SetChecksums sums = m_live->checksums();
    const PresetHeader current = currentPreset();
    return sums.presetChecksum != current.presetChecksum ||
           (m_globals->getBool(G_S_FOLLOW) && sums.systemChecksum != current.systemChecksum);
}

// ---- Reports from the worker thread

void Session::onLinkData(void *context, const uint8_t *bytes, size_t count)
{
    auto *self = static_cast<Session *>(context);
    ++self->m_linkChunks;
    self->m_link->feed(bytes, count);
}

void Session::onLinkStatus(void *context, int code)
{
    auto *self = static_cast<Session *>(context);
    // The transport reports on its own worker, the only thread that feeds the reassembler (and on
    // the destroying thread once the worker has ended): a frame cut by a reconnect is never
    // completed with bytes of the next connection.
    self->m_link->reset_assembler();
    self->m_version->clear();
    QMetaObject::invokeMethod(self, [self, code] { self->linkStatus(code); }, Qt::QueuedConnection);
}

void Session::linkVersionStored()
{
    QMetaObject::invokeMethod(this, &Session::sig_recv_version, Qt::QueuedConnection);
}

void Session::linkSlotsChanged()
{
    QMetaObject::invokeMethod(this, &Session::sig_summary_changed, Qt::QueuedConnection);
}

void Session::linkEventsReady()
{
    QMetaObject::invokeMethod(this, &Session::sig_new_events, Qt::QueuedConnection);
}

void Session::linkFirmwareAck(const FwAckMsg &ack)
{
    const int block = ack.block, count = ack.blocks, code = ack.code;
    const QString text = QString::fromLatin1(ack.text.c_str());
    QMetaObject::invokeMethod(
        this, [this, block, count, code, text] { emit sig_fw_ack(block, count, code, text); },
        Qt::QueuedConnection);
}

void Session::linkCurrentPresetChanged()
{
    QMetaObject::invokeMethod(this, &Session::sig_crc_check, Qt::QueuedConnection);
}

void Session::linkConnectReply(uint16_t result)
{
    if (result == CONNECT_ACCEPTED)
        QMetaObject::invokeMethod(this, &Session::slot_connect_accepted, Qt::QueuedConnection);
    else if (result == CONNECT_PASSWORD)
        QMetaObject::invokeMethod(this, &Session::slot_connect_rejected, Qt::QueuedConnection);
}

void Session::linkLiveValues(uint8_t block, uint8_t blocks)
{
    if (block == blocks)
        QMetaObject::invokeMethod(this, &Session::slot_live_values_complete, Qt::QueuedConnection);
}

void Session::linkGrabDone()
{
    QMetaObject::invokeMethod(this, &Session::grabDone, Qt::QueuedConnection);
}

// ---- The connection state machine (this thread)

void Session::setStatus(const QString &text, StatusLook look)
{
    m_statusText = text;
    m_statusLook = look;
    emit statusChanged(text, look);
}

void Session::setState(LinkState state)
{
    if (m_state == state)
        return;
    m_state = state;
    // On line the meter timer watches the link too: one wake-up less a few times a second.
    if (state == LinkState::Online) {
        m_meterTimer->start();
        m_watchTimer->stop();
    } else {
        m_meterTimer->stop();
        if (m_transport)
            m_watchTimer->start();
    }
    emit stateChanged(state);
}

void Session::dropTransport()
{
    // Nobody may send through the transport while it is being destroyed.
    m_link->setTransport(nullptr);
    m_transport.reset();
    m_watchTimer->stop();
}

void Session::forgetProcessorSlots()
{
    m_presetSlots->clearAll();
    emit sig_summary_changed();
    // A dialog that waits for the processor gives up.
    m_grab->setDone();
    m_headerWait->setDone();
}

void Session::set_online(bool wanted)
{
    m_onlineWanted = wanted;
    emit onlineWantedChanged(wanted);

    const LinkState before = m_state;
    const bool hadTransport = m_transport != nullptr;
    dropTransport();
    m_watch.idle();
    m_meters->clearPeer();
    if (!wanted || (m_target.name.isEmpty() && m_target.address.isEmpty()))
        return;

    const QByteArray address = m_target.address.toLatin1();
    uint8_t peer[4] = {};
    if (!parseIPv4(address.constData(), peer) || (peer[0] | peer[1] | peer[2] | peer[3]) == 0) {
        // 0.0.0.0 is what an unreadable device file gives; the system would take it for this machine.
        // The end report of a link dropped here or just before comes after this.
        showLinkEnd(QStringLiteral("No address"), hadTransport || before == LinkState::Trying ||
                                                      before == LinkState::Pending ||
                                                      before == LinkState::Online);
        return;
    }
    // The report of the link just dropped arrives after the new attempt has set "trying"; a link
    // that was up is lost here and now, so its processor's slots go with it.
    if (before == LinkState::Pending || before == LinkState::Online)
        forgetProcessorSlots();
    setState(LinkState::Trying);
    TcpCallbacks callbacks;
    callbacks.context = this;
    callbacks.on_data = &Session::onLinkData;
    callbacks.on_status = &Session::onLinkStatus;
    m_meters->setPeer(peer);
    m_transport = std::make_unique<tcQTcpClient>(address.constData(), m_options.processorPort, callbacks,
                                                 m_watch.limits().connectWaitMs);
    m_link->setTransport(m_transport.get());
    m_watchTimer->start();
}

void Session::linkStatus(int code)
{
    switch (code) {
    case LINK_CLOSED:
    case LINK_GONE:
        slot_disconnect();
        break;
    case LINK_UP:
        slot_connect();
        break;
    case LINK_CONNECTING:
        slot_connecting();
        break;
    default:
        break;
    }
    emit sig_recv_version();
}

void Session::slot_connecting()
{
    setState(LinkState::Trying);
    m_watch.idle();
    setStatus(QStringLiteral("Trying.."), StatusLook::Busy);
}

void Session::slot_connect()
{
    if (m_options.forceConnect) {
        slot_connect_accepted();
        return;
    }
    setState(LinkState::Pending);
    setStatus(QStringLiteral("Pending"), StatusLook::Normal);
    // Without a device record there is no remembered password to offer.
    sendLogin(m_target.name.isEmpty() ? CONNECT_NO_DEVICE : m_target.loginCrc);
}

void Session::sendLogin(uint32_t crc)
{
    m_link->send_connect(crc);
    m_watch.loginSent(nowMs());
}

void Session::slot_connect_accepted()
{
    m_watch.online(nowMs(), heardCount());
    setState(LinkState::Online);
    setStatus(QStringLiteral("Online"), StatusLook::Normal);
    slot_request_meters();
}

void Session::slot_connect_rejected()
{
    if (m_loginOpen)
        return;
    const tcQTcpClient *asked = m_transport.get();
    m_watch.idle(); // the user takes their time; the processor has answered
    m_loginOpen = true;
    const LoginAnswer answer = m_loginPrompt ? m_loginPrompt() : LoginAnswer{};
    m_loginOpen = false;

    if (!answer.given) {
        const bool reportFollows = m_transport != nullptr;
        set_online(false);
        showLinkEnd(QStringLiteral("Rejected"), reportFollows);
        return;
    }
    // While the prompt was open the link may have dropped or been replaced; that connection asks
    // again on its own.
    if (m_transport.get() != asked || m_state != LinkState::Pending)
        return;
    setStatus(QStringLiteral("Pending"), StatusLook::Normal);
    sendLogin(answer.loginCrc);
}

void Session::slot_disconnect()
{
    const LinkState before = m_state;
    setState(LinkState::Offline);
    m_watch.idle();
    const QString reason = std::exchange(m_endStatus, QString());
    if (reason.isEmpty())
        setStatus(QStringLiteral("Offline"), m_onlineWanted ? StatusLook::Alert : StatusLook::Normal);
    else if (m_statusText != reason) // a stale report of the old link showed something else since
        setStatus(reason, StatusLook::Alert);
    if (before != LinkState::Trying)
        forgetProcessorSlots();
}

void Session::slot_ping_timer()
{
    m_link->send_ping();
}

uint64_t Session::heardCount() const
{
    return uint64_t(m_linkChunks.load()) + m_meters->acceptedCount();
}

void Session::slot_link_watch()
{
    if (!m_transport)
        return;
    switch (m_watch.check(nowMs(), heardCount())) {
    case LinkWatch::Verdict::Alive:
        break;
    case LinkWatch::Verdict::LoginUnanswered:
        dropDeadLink(QStringLiteral("Login hung"));
        break;
    case LinkWatch::Verdict::Silent:
        dropDeadLink(QStringLiteral("No reply"));
        break;
    }
}

// A processor that holds the connection but says nothing is as good as gone: the link is ended as
// if it had closed, and the transport tries again after its pause.
void Session::dropDeadLink(const QString &status)
{
    showLinkEnd(status, true);
    m_transport->hangUp();
}

void Session::showLinkEnd(const QString &status, bool reportFollows)
{
    m_endStatus = reportFollows ? status : QString();
    setStatus(status, StatusLook::Alert);
}

void Session::set_tcp_meters(bool on)
{
    m_tcpMeters = on;
    QMetaObject::invokeMethod(this, &Session::slot_request_meters, Qt::QueuedConnection);
}

void Session::slot_request_meters()
{
    const uint8_t counter = m_meters->nextRequestCounter();
    if (m_tcpMeters)
        m_link->request_meters_tcp(counter);
    else
        m_link->request_meters_udp(m_meters->port(), counter);
}

void Session::slot_meter_timer()
{
    slot_link_watch(); // may end the link
    if (m_state != LinkState::Online)
        return;
    QByteArray datagram(int(METER_SIZE), Qt::Uninitialized);
    if (m_meters->fetch(reinterpret_cast<uint8_t *>(datagram.data())) != 0)
        return;
    if (m_clock->store(readMeterHeader(reinterpret_cast<const uint8_t *>(datagram.constData()))))
        emit sig_ap_clock();
    emit metersArrived(datagram);
}

// ---- Presets

int Session::proposeSaveSlot(const PresetSlotList &list)
{
    for (int i = 0; i < PRESET_SLOTS; ++i) {
        if (list.get(i).inUse == 0)
            return i;
    }
    for (int i = 0; i < PRESET_SLOTS; ++i) {
        if (list.get(i).lock == PRESET_UNLOCKED)
            return i;
    }
    return -1;
}

void Session::saveToSlot(const SETTINGS_MAP &set, int slot, const QString &name)
{
    if (m_state != LinkState::Online || slot < 0 || slot >= PRESET_SLOTS)
        return;
    const std::string text = name.left(PRESET_NAME_LEN).toLatin1().toStdString();
    PresetHeader header;
    header.clear();
    header.setName(text);
    header.inUse = 255;
    header.setChecksums(set.checksums());
    m_presetSlots->set(slot, header);
    m_link->send_all_values(uint8_t(slot), set);
    m_link->rename_preset(uint8_t(slot), text);
    m_link->send_current_preset(header);
    // The processor takes the header as told and does not send it back: it is the current preset
    // from now on.
    m_currentPreset->store(header);
    emit sig_crc_check();
}

// ---- Edits made off line, undo

void Session::setTarget(const SessionTarget &target)
{
    if (target.name != m_target.name || target.address != m_target.address) {
        m_offlineSettings.clear();
        m_offlineGlobals.clear();
        m_history.clear();
        m_recentlySent.clear();
    }
    m_target = target;
}

void Session::userEdit(const EditKey &key, int64_t before, int64_t after)
{
    if (m_state != LinkState::Online) {
        // Nothing goes out: the last value of each is kept for the next connection.
        if (key.global)
            m_offlineGlobals[key.id] = int32_t(after);
        else
            m_offlineSettings[key.id] = uint32_t(after);
        return;
    }
    const int64_t now = nowMs();
    m_history.record(key, before, after, now);
    constexpr int64_t kEchoMs = 3000;
    constexpr size_t kEchoKept = 256;
    auto old = [now](const Sent &s) { return now - s.ms > kEchoMs; };
    m_recentlySent.erase(std::remove_if(m_recentlySent.begin(), m_recentlySent.end(), old),
                         m_recentlySent.end());
    if (m_recentlySent.size() >= kEchoKept)
        m_recentlySent.erase(m_recentlySent.begin());
    m_recentlySent.push_back({key, after, now});
}

void Session::dropOverwrittenSteps()
{
    auto check = [this](const EditKey &key) {
        // The processor answers every value with what it stored: an echo of one sent lately is ours.
        const int64_t value = currentValue(key);
        for (const Sent &s : m_recentlySent)
            if (s.key == key && s.value == value)
                return;
        m_history.drop(key);
    };
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
        if (m_settingsOverwritten->take(id))
            check({false, id});
    for (uint16_t id = firstGlobalId(); id != GLOBALS_END; id = nextGlobalId(id))
        if (m_globalsOverwritten->take(id))
            check({true, id});
}

int64_t Session::currentValue(const EditKey &key) const
{
    return key.global ? int64_t(m_globals->get(key.id)) : int64_t(m_live->getRaw(key.id));
}

void Session::setValue(const EditKey &key, int64_t value)
{
    // Set as a local copy: shown and sent, and not taken for a new edit.
    m_applyingEdit = true;
    if (key.global)
        m_globals->set(key.id, int32_t(value), CHANGE_LOCAL);
    else
        m_live->setIndex(key.id, uint32_t(value), CHANGE_LOCAL);
    m_applyingEdit = false;
    m_recentlySent.push_back({key, value, nowMs()});
}

bool Session::sendOfflineEdits()
{
    if (!isOnline())
        return false;
    const auto settings = std::exchange(m_offlineSettings, {});
    const auto globals = std::exchange(m_offlineGlobals, {});
    // Sent even where the value here is already the one kept: the processor's own values may
    // still be on their way (its globals come after the live values).
    for (const auto &[id, raw] : settings) {
        setValue({false, id}, raw);
        m_settingsToSend->set(id);
    }
    for (const auto &[id, value] : globals) {
        setValue({true, id}, value);
        m_globalsToSend->set(id);
    }
    sendChanges();
    return true;
}

void Session::dropOfflineEdits()
{
    m_offlineSettings.clear();
    m_offlineGlobals.clear();
}

void Session::slot_live_values_complete()
{
    emit liveValuesComplete();
    if (!isOnline() || offlineEditCount() == 0 || m_offlineAsked)
        return;
    m_offlineAsked = true;
    emit offlineEditsWaiting(offlineEditCount());
    m_offlineAsked = false;
}

Session::UndoResult Session::applyStep(bool undo)
{
    dropOverwrittenSteps();
    if (!(undo ? m_history.nextUndo() : m_history.nextRedo()))
        return UndoResult::Nothing;
    if (!isOnline())
        return UndoResult::Offline;
    const std::optional<EditStep> step = undo ? m_history.takeUndo() : m_history.takeRedo();
    setValue(step->key, undo ? step->before : step->after);
    return UndoResult::Done;
}

Session::UndoResult Session::undo()
{
    return applyStep(true);
}

Session::UndoResult Session::redo()
{
    return applyStep(false);
}

QString Session::stepName(const EditStep *step) const
{
    if (!step)
        return {};
    return QString::fromLatin1(step->key.global ? globalName(step->key.id) : settingName(step->key.id))
        .trimmed();
}

QString Session::undoName()
{
    dropOverwrittenSteps();
    return stepName(m_history.nextUndo());
}

QString Session::redoName()
{
    dropOverwrittenSteps();
    return stepName(m_history.nextRedo());
}

} // namespace orba
