// tcApWidget: the application's one top-level window. It owns the long-lived objects, the timers,
// the connection state and the processor data that the link stores, and it is the hub of signals
// and slots through which the parameter model, the link and the dialogs meet.
#pragma once

#include "link/link_watch.h"
#include "link/message_link.h"
#include "link/records.h"
#include "panels/kel_bench.h"
#include "common/status_look.h"
#include "skin/skin_pack.h"
#include "skin/vorud_widget.h"
#include "tables/preset_header.h"

#include <QIcon>
#include <QString>
#include <QWidget>

#include <atomic>
#include <memory>

class QMenu;
class QAction;
class QDialog;
class QTimer;
class tcSplash;
class tcQTcpClient;
class DeviceRecord;

// The eight icons shared by the preset dialogs.
struct PresetIcons
{
    QIcon folder, pfolder;
    QIcon doc, pdoc, updoc, mpdoc, ldoc, pldoc;
};

// Link states of the connection manager.
enum class LinkState : int { Initial, Trying, Pending, Online, Offline };

class tcApWidget : public tcVORudWidget, protected LinkHost, protected tcKelHost
{
    Q_OBJECT
public:
    explicit tcApWidget(bool wantMenu = true, QWidget *parent = nullptr);
    ~tcApWidget() override;

    // The loaded skin's bench, or none.
    tcKelBench *kelBench() const { return static_cast<tcKelBench *>(bench()); }
    QString skinName() const { return m_skinName; }
    bool skinIsFile() const { return m_skinIsFile; }
    // Loads a skin folder (isFile false) or a packed skin file of the skins folder, the latter read
    // straight from the file: 0 on success. On failure `reason` says why, unless the skin is simply
    // missing.
    int load_skin(const QString &name, bool isFile, QString *reason = nullptr);
    // The default skin built into the program, for when no skin on disk loads.
    int loadBuiltInSkin(QString *reason = nullptr);
    static QString builtInSkinPath() { return QStringLiteral(":/skins/default.skin"); }
    // Only while online: the set goes into the slot, named, and becomes the current preset.
    void saveToSlot(const SETTINGS_MAP &set, int slot, const QString &name);
    // The first empty slot, else the first unlocked one, else -1.
    static int proposeSaveSlot(const PresetSlotList &list);

    // The status texts shown on the skin; code 0 normal, 1 error look, 2 warning look.
    void setStatusText(const QString &text, StatusLook look);
    void setDeviceText(const QString &text, StatusLook look);
    void setPresetText(const QString &text, StatusLook look);
    QString statusText() const { return m_statusText; }
    StatusLook statusLook() const { return m_statusLook; }
    QString deviceText() const { return m_deviceText; }
    QString presetText() const { return m_presetText; }
    StatusLook presetLook() const { return m_presetLook; }

    bool onlineWanted() const { return m_onlineWanted; }
    bool tcpMeters() const { return m_tcpMeters; }
    LinkState linkState() const { return m_linkState.load(); }

    const PresetIcons &presetIcons() const { return m_icons; }
    QMenu *popupMenu() const { return m_menu; }

    // Shows "You must be online." under the title unless on-line is wanted and the link is up.
    bool require_online(const QString &title);

    // The one place where the link to the current device is made or dropped.
    void set_online(bool wanted);
    // Meters over the control link instead of UDP; saved, and asked for again at once.
    void set_tcp_meters(bool on);
    // The transport's status callback (worker thread; LINK_GONE on the destroying thread).
    void on_link_status(int code);
    tcQTcpClient *transport() const { return m_transport.get(); }
    // The connect wait and the dead-processor limits, for the next link made (tests shorten them).
    void setLinkLimits(const orba::LinkLimits &limits) { m_watch.setLimits(limits); }

    // What the link's handlers store, and where the GUI reads it.
    orba::ProcessorVersion read_version() const { return m_version.load(); }
    void store_version(const orba::ProcessorVersion &version) { m_version.store(version); }
    void append_event(const uint8_t *record) { m_events.append(record); }
    void clear_events() { m_events.clear(); }
    EventRecord event_at(int index) const { return m_events.at(index); }
    int event_count() const { return m_events.count(); }
    PresetHeader current_preset() const { return m_currentPreset.load(); }
    void store_current_preset(const PresetHeader &header) { m_currentPreset.store(header); }
    orba::MeterHeader processor_clock() const { return m_clock.load(); }

signals:
    void sig_map_settings_dirty();
    void sig_gui_settings_dirty();
    void sig_map_globals_dirty();
    void sig_gui_globals_dirty();
    void sig_crc_check();
    void sig_connecting();
    void sig_connect();
    void sig_connect_accepted();
    void sig_connect_rejected();
    void sig_disconnect();
    void sig_summary_changed();
    void sig_recv_version();
    void sig_preset_pkg_install();
    void sig_startup_connect();
    void sig_new_events();
    void sig_ap_clock();
    void sig_request_meters();

public slots:
    void slot_centerMenu();
    void slot_exitMenu();
    void slot_minimize();
    void slot_about();
    void slot_gui_settings_dirty();
    void slot_gui_globals_dirty();
    virtual void slot_fppasswd_dlg();
    virtual void slot_map_settings_dirty();
    virtual void slot_map_globals_dirty();
    void slot_password_dlg();
    void slot_version_dlg();
    void slot_swup_dlg();
    void slot_rir_dlg();
    void slot_gui_access();
    void slot_gui_lock();
    void slot_preset_take();
    void slot_preset_save();
    void slot_preset_dlg();
    virtual void slot_device_dlg();
    virtual void slot_choose_skin();
    void slot_connecting();
    void slot_connect();
    void slot_connect_rejected();
    void slot_connect_accepted();
    void slot_disconnect();
    void slot_menu_on_line();
    void slot_meter_timer();
    void slot_animate_timer();
    void slot_ping_timer();
    void slot_link_watch();
    void slot_crc_check();
    void slot_preset_pkg_install();
    void slot_startup_connect();
    void slot_netsrvr_dlg();
    void slot_config_dlg();
    void slot_time_set();
    void slot_event_dlg();
    void slot_request_meters();

protected:
    // Seams: the steps that need a skin are skipped until one is loaded (a test may say so without
    // one). Every modal dialog runs through execDialog, so tests can answer it.
    virtual bool skinLoaded() const;
    virtual int execDialog(QDialog *dialog);
    // The preset save dialog: the slot (0-79) and name chosen, or false when cancelled.
    virtual bool askSaveSlot(int proposedSlot, int *slot, QString *name);

    // What the connection manager shows on the skin.
    virtual void benchSetOnline(bool online);                                        // control 1035
    virtual void benchShowStatus(int display, const QString &text, StatusLook look); // 1004-1006
    virtual void benchApplyAccess(const DeviceRecord &device);                       // lock code and bits
    virtual void benchClearAccess();                                                 // code 0, bits 0
    virtual void benchResetMeterGroups();                                            // no stale readings
    virtual void showMeterDatagram(const uint8_t *datagram);                         // to the meter groups
    // Connects the control groups' signals to the window's slots (every skin load).
    void connectBenchSignals();
    int loadSkinFrom(std::shared_ptr<const orba::skin::SkinSource> source, QString *reason);
    int loadPackedSkin(const QString &path, orba::skin::PackContents pack, QString *reason);
    void showSkinProblem(const QString &name, const QString &reason);
    // The saved skin, else the packed skin "default", else the built-in one; a skin that is there
    // but does not load is reported to the user.
    void loadStartSkin();
    void contextMenuAt(int globalX, int globalY) override;

    // tcKelHost: what the bench asks of the window.
    bool kelOnlineWanted() const override { return m_onlineWanted; }
    bool kelTcpMeters() const override { return m_tcpMeters; }
    void kelSetTcpMeters(bool on) override { set_tcp_meters(on); }
    void kelUnlocked() override;

    // LinkHost, on the transport's worker thread: only queued signals from here.
    void linkVersionStored() override { emit sig_recv_version(); }
    void linkSlotsChanged() override { emit sig_summary_changed(); }
    void linkEventsReady() override { emit sig_new_events(); }
    void linkCurrentPresetChanged() override { emit sig_crc_check(); }
    void linkConnectReply(uint16_t result) override;
    void linkFirmwareAck(const orba::FwAckMsg &) override {} // no download runs yet

    virtual void afterSkinLoad() {}
    virtual void refreshGuiSettings() = 0;
    virtual void refreshGuiGlobals() = 0;
    virtual void fpPasswordDialog() = 0;

    void closeEvent(QCloseEvent *event) override;
    // With ORBA_REPORT_FIRST_PAINT set, the first paint of a loaded skin is reported on standard
    // error with the wall-clock time, for start-up measurements.
    void paintEvent(QPaintEvent *event) override;
    void teardown();

private:
    static void onSettingsChanged(void *context, uint16_t id, ChangeSource source);
    static void onGlobalsChanged(void *context, uint16_t id, ChangeSource source);
    static void onLinkData(void *context, const uint8_t *bytes, size_t count);
    static void onLinkStatus(void *context, int code);
    void dropTransport();
    void forgetProcessorSlots();
    uint64_t heardCount() const;
    void dropDeadLink(const QString &status);
    void showLinkEnd(const QString &status, bool reportFollows);
    void buildMenu();
    void buildIcons();
    void connectOwnSignals();
    KelEnvironment benchEnvironment();

    QString m_skinName = QStringLiteral("default");
    bool m_skinIsFile = true;
    QString m_scaleProblem; // told once, though every skin load reads the scale file

    QMenu *m_menu = nullptr;
    QAction *m_onlineAction = nullptr;
    PresetIcons m_icons;

    QTimer *m_meterTimer = nullptr;
    QTimer *m_animateTimer = nullptr;
    QTimer *m_pingTimer = nullptr;
    QTimer *m_checkTimer = nullptr;
    QTimer *m_watchTimer = nullptr;
    std::unique_ptr<tcSplash> m_about;

    VersionRecord m_version;
    ClockRecord m_clock;
    EventList m_events;
    CurrentPresetRecord m_currentPreset;
    std::unique_ptr<MessageLink> m_link;
    std::unique_ptr<tcQTcpClient> m_transport;
    bool m_loginOpen = false;
    // Why the link ends ("Rejected", "No reply", ...), shown by the end report that follows instead
    // of "Offline"; empty when no reason was given.
    QString m_endStatus;
    orba::LinkWatch m_watch;
    std::atomic<uint32_t> m_linkChunks{0}; // chunks received, counted on the worker thread

    bool m_onlineWanted = false;
    bool m_tcpMeters = false;
    std::atomic<LinkState> m_linkState{LinkState::Initial};
    QString m_statusText, m_deviceText, m_presetText;
    StatusLook m_statusLook = StatusLook::Normal, m_deviceLook = StatusLook::Normal,
               m_presetLook = StatusLook::Normal;

    // Coalesce dirty signals raised many times before the GUI thread gets to them.
    std::atomic<bool> m_mapSettingsPending{false}, m_guiSettingsPending{false};
    std::atomic<bool> m_mapGlobalsPending{false}, m_guiGlobalsPending{false};

    bool m_tornDown = false;
    bool m_firstPaintReported = false;
};
