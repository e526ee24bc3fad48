// tcApWidget: the application's one top-level window. It owns the long-lived objects, the timers,
// the connection state and the processor data that the link stores, and it is the hub of signals
// and slots through which the parameter model, the link and the dialogs meet.
#pragma once

#include "tables/preset_header.h"

#include <QIcon>
#include <QString>
#include <QWidget>

#include <atomic>
#include <memory>

class QMenu;
class QAction;
class QTimer;
class tcSplash;

// The eight icons shared by the preset dialogs.
struct PresetIcons
{
    QIcon folder, pfolder;
    QIcon doc, pdoc, updoc, mpdoc, ldoc, pldoc;
};

class tcApWidget : public QWidget
{
    Q_OBJECT
public:
    explicit tcApWidget(bool wantMenu = true, QWidget *parent = nullptr);
    ~tcApWidget() override;

    // The status texts shown on the skin; code 0 normal, 1 error look, 2 warning look.
    void setStatusText(const QString &text, int code);
    void setDeviceText(const QString &text, int code);
    void setPresetText(const QString &text, int code);
    QString statusText() const { return m_statusText; }
    int statusCode() const { return m_statusCode; }
    QString deviceText() const { return m_deviceText; }
    QString presetText() const { return m_presetText; }
    int presetCode() const { return m_presetCode; }

    bool onlineWanted() const { return m_onlineWanted; }
    bool tcpMeters() const { return m_tcpMeters; }
    int linkState() const { return m_linkState.load(); }

    const PresetIcons &presetIcons() const { return m_icons; }
    QMenu *popupMenu() const { return m_menu; }

    // Shows "You must be online." under the title unless on-line is wanted and the link is up.
    bool require_online(const QString &title);

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
    void slot_crc_check();
    void slot_preset_pkg_install();
    void slot_startup_connect();
    void slot_netsrvr_dlg();
    void slot_config_dlg();
    void slot_time_set();
    void slot_event_dlg();
    void slot_request_meters();

protected:
    virtual void hookEmpty() {}
    virtual void afterSkinLoad() {}
    virtual void refreshGuiSettings() = 0;
    virtual void refreshGuiGlobals() = 0;
    virtual void fpPasswordDialog() = 0;

    void closeEvent(QCloseEvent *event) override;
    void teardown();

    void set_online(bool wanted);

private:
    static void onSettingsChanged(void *context, uint16_t id, int source);
    static void onGlobalsChanged(void *context, uint16_t id, int source);
    void buildMenu();
    void buildIcons();
    void connectOwnSignals();

    QMenu *m_menu = nullptr;
    QAction *m_onlineAction = nullptr;
    PresetIcons m_icons;

    QTimer *m_meterTimer = nullptr;
    QTimer *m_animateTimer = nullptr;
    QTimer *m_pingTimer = nullptr;
    QTimer *m_checkTimer = nullptr;
    std::unique_ptr<tcSplash> m_about;

    PresetHeader m_currentPreset{};
    bool m_onlineWanted = false;
    bool m_tcpMeters = false;
    std::atomic<int> m_linkState{0};
    QString m_statusText, m_deviceText, m_presetText;
    int m_statusCode = 0, m_deviceCode = 0, m_presetCode = 0;

    // Coalesce dirty signals raised many times before the GUI thread gets to them.
    std::atomic<bool> m_mapSettingsPending{false}, m_guiSettingsPending{false};
    std::atomic<bool> m_mapGlobalsPending{false}, m_guiGlobalsPending{false};

    bool m_tornDown = false;
};
