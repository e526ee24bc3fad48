// Session: everything of one processor session that is not a widget. It owns the processor's data
// as the link stores it (live settings, globals, preset slots, version, clock, events, current
// preset), the link and its transport, the meter receiver, the ping, meter and link-watch timers
// and the connection state machine. A view (the main window, the command-line client) connects to
// its signals and gives it commands; it never reaches the link itself except through link() for
// the send operations.
//
// Threads: the transport's worker stores into the data and tells the session, which turns every
// report into a queued call; every signal below is emitted on the session's own thread.
#pragma once

#include "common/status_look.h"
#include "link/link_watch.h"
#include "link/message_link.h"
#include "link/records.h"
#include "session/edit_history.h"
#include "tables/globals_map.h"
#include "tables/preset_header.h"
#include "tables/settings_map.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class QTimer;
class tcQTcpClient;

namespace orba {

// The states of the connection manager.
enum class LinkState : int { Initial, Trying, Pending, Online, Offline };

// The processor a session connects to.
struct SessionTarget
{
    QString name;          // the device's name; empty for a bare address (no device record)
    QString address;       // dotted-decimal IPv4
    uint32_t loginCrc = 0; // CRC-32 of the login password, 0 for none remembered
};

// What the user answered when the processor asked for the login password.
struct LoginAnswer
{
    bool given = false;    // false: cancelled, the session goes off line with "Rejected"
    uint32_t loginCrc = 0; // CRC-32 of the password given
};

struct SessionOptions
{
    uint16_t processorPort = 0;  // 0: orba::processorPort()
    uint16_t meterFirstPort = 0; // 0: orba::meterFirstPort()
    LinkLimits limits;
    int pingMs = 2000;
    int meterMs = 101;
    int watchMs = 250;
    bool forceConnect = false; // on line at once when the link is up, without the login
};

class Session : public QObject, private LinkHost
{
    Q_OBJECT
public:
    // Runs while the login waits for an answer; it may run a modal dialog (an event loop).
    using LoginPrompt = std::function<LoginAnswer()>;

    explicit Session(const SessionOptions &options = {}, QObject *parent = nullptr);
    ~Session() override; // drops the link first, so no report arrives after

    // ---- The processor's data.
    SETTINGS_MAP &live() { return *m_live; }
    GLOBALS_MAP &globals() { return *m_globals; }
    PresetSlotList &presetSlots() { return *m_presetSlots; }
    GrabRecord &grab() { return *m_grab; }
    HeaderWaitRecord &headerWait() { return *m_headerWait; }
    EventList &events() { return *m_events; }
    ProcessorVersion version() const { return m_version->load(); }
    const VersionRecord *versionRecord() const { return m_version.get(); }
    PresetHeader currentPreset() const { return m_currentPreset->load(); }
    MeterHeader clock() const { return m_clock->load(); }
    // Which settings and globals changed since the view last took them (sig_gui_settings_dirty and
    // sig_gui_globals_dirty say when there are some).
    SETTINGS_FLAGS &settingsToShow() { return *m_settingsToShow; }
    GLOBALS_FLAGS &globalsToShow() { return *m_globalsToShow; }
    // Whether the live settings (and, when the processor follows presets, the system settings)
    // differ from the current preset.
    bool presetModified() const;

    // ---- The link.
    MessageLink &link() { return *m_link; }
    METERIFACE &meters() { return *m_meters; }
    const SessionOptions &options() const { return m_options; }
    void setLimits(const LinkLimits &limits); // for the next link made
    // The processor to connect to; takes effect with the next set_online(true).
    // Another processor also forgets the edits made off line and the undo steps.
    void setTarget(const SessionTarget &target);
    const SessionTarget &target() const { return m_target; }
    void setLoginPrompt(LoginPrompt prompt) { m_loginPrompt = std::move(prompt); }

    // The one place where the link is made or dropped: drops any link, then connects to the target
    // when wanted.
    void set_online(bool wanted);
    bool onlineWanted() const { return m_onlineWanted; }
    LinkState state() const { return m_state; }
    bool isOnline() const { return m_onlineWanted && m_state == LinkState::Online; }
    QString statusText() const { return m_statusText; }
    StatusLook statusLook() const { return m_statusLook; }

    // Meters over the control link instead of UDP; asked for again at once.
    void set_tcp_meters(bool on);
    bool tcpMeters() const { return m_tcpMeters; }
    void slot_request_meters();

    // Sends every changed setting and global now instead of at the next turn of the event loop;
    // false when some frame did not go out.
    bool sendChanges();
    // Only while on line: the set goes into the slot, named, and becomes the current preset.
    void saveToSlot(const SETTINGS_MAP &set, int slot, const QString &name);
    // The first empty slot, else the first unlocked one, else -1.
    static int proposeSaveSlot(const PresetSlotList &list);

    // ---- Edits made while not on line: nothing is sent then, so each parameter's last value is
    // kept until the user, asked on the next connection (offlineEditsWaiting), chooses.
    int offlineEditCount() const { return int(m_offlineSettings.size() + m_offlineGlobals.size()); }
    // On line only: the kept values are set again, shown and sent; false when off line (kept).
    bool sendOfflineEdits();
    // The processor's values stay; the kept ones go.
    void dropOfflineEdits();

    // ---- Undo of the user's own edits sent in this session. Edits come on this thread.
    enum class UndoResult { Done, Nothing, Offline };
    UndoResult undo();
    UndoResult redo();
    // The name of the parameter the next undo or redo sets back; empty when there is none.
    QString undoName();
    QString redoName();
    const EditHistory &history() const { return m_history; }

signals:
    void statusChanged(const QString &text, StatusLook look);
    void stateChanged(LinkState state);
    void onlineWantedChanged(bool wanted);
    void sig_recv_version();
    void sig_gui_settings_dirty();
    void sig_gui_globals_dirty();
    void sig_summary_changed(); // the slot list changed or was forgotten with its processor
    void sig_crc_check();       // the processor's current preset changed
    void liveValuesComplete();  // the last block of a live-values transfer was stored
    void grabDone();            // the pending grab's values are all stored
    void sig_new_events();
    void sig_ap_clock();
    void metersArrived(const QByteArray &datagram); // the newest meter datagram, METER_SIZE bytes
    void changesSent(bool ok); // changed settings or globals were sent; ok: every frame went out
    // The processor acknowledged a firmware block (MSG_FW_ACK), for the download that runs.
    void sig_fw_ack(int block, int count, int code, const QString &text);
    // On line, the processor's values in, and edits were made while off line: the view asks the
    // user and calls sendOfflineEdits() or dropOfflineEdits().
    void offlineEditsWaiting(int count);

private:
    // LinkHost, on the transport's worker thread.
    void linkVersionStored() override;
    void linkSlotsChanged() override;
    void linkEventsReady() override;
    void linkCurrentPresetChanged() override;
    void linkConnectReply(uint16_t result) override;
    void linkLiveValues(uint8_t block, uint8_t blocks) override;
    void linkGrabDone() override;
    void linkFirmwareAck(const orba::FwAckMsg &ack) override;

    static void onSettingsChanged(void *context, uint16_t id, ChangeSource source);
    static void onGlobalsChanged(void *context, uint16_t id, ChangeSource source);
    static void onLinkData(void *context, const uint8_t *bytes, size_t count);
    static void onLinkStatus(void *context, int code);

    void linkStatus(int code);      // on this thread
    void slot_map_settings_dirty(); // sends the changed settings
    void slot_map_globals_dirty();
    void slot_connecting();
    void slot_connect();
    void slot_connect_accepted();
    void slot_connect_rejected();
    void slot_disconnect();
    void slot_ping_timer();
    void slot_meter_timer();
    void slot_link_watch();
    void setStatus(const QString &text, StatusLook look);
    void setState(LinkState state);
    void dropTransport();
    void forgetProcessorSlots();
    uint64_t heardCount() const;
    void dropDeadLink(const QString &status);
    void showLinkEnd(const QString &status, bool reportFollows);
    void sendLogin(uint32_t crc);
    void slot_live_values_complete();
    void userEdit(const EditKey &key, int64_t before, int64_t after);
    void dropOverwrittenSteps(); // values the processor or a preset changed
    UndoResult applyStep(bool undo);
    int64_t currentValue(const EditKey &key) const;
    void setValue(const EditKey &key, int64_t value);
    QString stepName(const EditStep *step) const;

    SessionOptions m_options;
    SessionTarget m_target;
    LoginPrompt m_loginPrompt;

    std::unique_ptr<SETTINGS_MAP> m_live;
    std::unique_ptr<GLOBALS_MAP> m_globals;
    std::unique_ptr<SETTINGS_FLAGS> m_settingsToSend, m_settingsToShow;
    std::unique_ptr<GLOBALS_FLAGS> m_globalsToSend, m_globalsToShow;
    std::unique_ptr<PresetSlotList> m_presetSlots;
    std::unique_ptr<GrabRecord> m_grab;
    std::unique_ptr<HeaderWaitRecord> m_headerWait;
    std::unique_ptr<VersionRecord> m_version;
    std::unique_ptr<ClockRecord> m_clock;
    std::unique_ptr<EventList> m_events;
    std::unique_ptr<CurrentPresetRecord> m_currentPreset;
    std::unique_ptr<METERIFACE> m_meters;
    std::unique_ptr<MessageLink> m_link;
    std::unique_ptr<tcQTcpClient> m_transport; // destroyed first

    QTimer *m_pingTimer = nullptr;
    QTimer *m_meterTimer = nullptr;
    QTimer *m_watchTimer = nullptr;
    LinkWatch m_watch;
    std::atomic<uint32_t> m_linkChunks{0}; // counted on the worker thread

    bool m_onlineWanted = false;
    bool m_tcpMeters = false;
    bool m_loginOpen = false;
    LinkState m_state = LinkState::Initial;
    QString m_statusText = QStringLiteral("OffLine");
    StatusLook m_statusLook = StatusLook::Normal;
    // Why the link ends ("Rejected", "No reply", ...), shown by the end report that follows instead
    // of "Offline"; empty when no reason was given.
    QString m_endStatus;

    // The value of each parameter and global as last reported by its change callback, so a user
    // edit knows the value before it; written on whichever thread changed it.
    std::array<std::atomic<uint32_t>, SETTINGS_COUNT> m_settingWas{};
    std::array<std::atomic<int32_t>, 31> m_globalWas{};
    // Changed by the processor or a local copy since last looked at (any thread).
    std::unique_ptr<SETTINGS_FLAGS> m_settingsOverwritten;
    std::unique_ptr<GLOBALS_FLAGS> m_globalsOverwritten;
    bool m_applyingEdit = false; // an undo or a kept off-line edit is being set
    EditHistory m_history;
    // What was sent lately per key, so the processor's echo of a drag is not taken for its own change.
    struct Sent
    {
        EditKey key;
        int64_t value;
        int64_t ms;
    };
    std::vector<Sent> m_recentlySent;
    std::map<uint16_t, uint32_t> m_offlineSettings;
    std::map<uint16_t, int32_t> m_offlineGlobals;
    bool m_offlineAsked = false; // the view is asking now

    // Coalesce change marks raised many times before this thread gets to them.
    std::atomic<bool> m_sendSettingsPending{false}, m_showSettingsPending{false};
    std::atomic<bool> m_sendGlobalsPending{false}, m_showGlobalsPending{false};
};

} // namespace orba

Q_DECLARE_METATYPE(orba::LinkState)
