// tcApWidget: the application's one top-level window, a view over a Session. It owns what the
// desktop application adds to a session: the settings store "KELQT.ini", the working folders, the
// device list, the quick-save memories, the skin and its bench, the menu and the dialogs. It shows
// what the session reports and turns the user's choices into session commands.
#pragma once

#include "admin/boot_server.h"
#include "common/status_look.h"
#include "link/link_watch.h"
#include "panels/kel_bench.h"
#include "presets/dialogs/grab_push_progress.h"
#include "session/session.h"
#include "skin/skin_pack.h"
#include "skin/vorud_widget.h"

#include <QDir>
#include <QIcon>
#include <QString>
#include <QWidget>

#include <memory>

class QMenu;
class QAction;
class QDialog;
class QLabel;
class QTimer;
class tcSplash;
class tcFileDownloader;
class DeviceRecord;
class DeviceList;
class IniStore;
namespace orba {
class QuickSave;
}

using orba::LinkState;

// The eight icons shared by the preset dialogs.
struct PresetIcons
{
    QIcon folder, pfolder;
    QIcon doc, pdoc, updoc, mpdoc, ldoc, pldoc;
};

// The working folders under the current folder, made when missing.
struct AppFolders
{
    QDir app, maps, presets, favorites, skins;
    static AppFolders makeInCurrent();
};

class tcApWidget : public tcVORudWidget, protected tcKelHost
{
    Q_OBJECT
public:
    // options: the session's ports, limits and timer intervals (tests shorten them).
    explicit tcApWidget(bool wantMenu = true, const orba::SessionOptions &options = {},
                        QWidget *parent = nullptr);
    ~tcApWidget() override;

    orba::Session &session() { return *m_session; }
    IniStore &settings() { return *m_settings; }
    DeviceList &devices() { return *m_devices; }
    orba::QuickSave &quickSave() { return *m_quickSave; }
    orba::PresetTransfer &presetTransfer() { return *m_transfer; }
    const AppFolders &folders() const { return m_folders; }

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
    static QString settingsFileName() { return QStringLiteral("KELQT.ini"); }
    // The pictures of the packed skin the window will most likely start with, found without a
    // side effect (nothing created, renamed or shown), for decoding ahead of the window.
    static std::vector<QByteArray> startSkinPictures();

    // The status texts shown on the skin.
    void set_status_text(const QString &text, StatusLook look);
    void set_device_text(const QString &text, StatusLook look);
    void set_preset_text(const QString &text, StatusLook look);
    QString statusText() const { return m_statusText; }
    StatusLook statusLook() const { return m_statusLook; }
    QString deviceText() const { return m_deviceText; }
    QString presetText() const { return m_presetText; }
    StatusLook presetLook() const { return m_presetLook; }

    bool onlineWanted() const { return m_session && m_session->onlineWanted(); }
    bool tcpMeters() const { return m_session && m_session->tcpMeters(); }
    LinkState linkState() const { return m_session ? m_session->state() : LinkState::Offline; }

    const PresetIcons &presetIcons() const { return m_icons; }
    QMenu *popupMenu() const { return m_menu; }

    // Shows "You must be online." under the title unless on-line is wanted and the link is up.
    bool require_online(const QString &title);

    // Where the IP assignment dialog listens and replies (tests use loopback ports).
    void setBootServerOptions(const orba::BootServerOptions &options) { m_bootOptions = options; }
    // The download that runs now, or none; set and cleared on this thread around the dialog.
    tcFileDownloader *fileDownloader() const { return m_fileDownloader; }

    // On-line mode: remembered, shown, and the session's link made or dropped.
    void set_online(bool wanted);
    // Meters over the control link instead of UDP; remembered.
    void set_tcp_meters(bool on);

    // The banner over the controls while the processor is not on line ("Offline: changes are not
    // sent"), and the short notice of a refused undo; hidden otherwise.
    const QLabel *offlineBanner() const { return m_offlineBanner; }
    const QLabel *notice() const { return m_notice; }
    // Ctrl+Z and Ctrl+Shift+Z: the user's last edit sent to the processor, back and again.
    void undoEdit();
    void redoEdit();

public slots:
    void slot_centerMenu();
    void slot_exitMenu();
    void slot_minimize();
    void slot_about();
    void slot_gui_settings_dirty();
    void slot_gui_globals_dirty();
    void slot_fppasswd_dlg();
    void slot_password_dlg();
    void slot_version_dlg();
    void slot_swup_dlg();
    void slot_rir_dlg();
    void slot_gui_access();
    void slot_gui_lock();
    void slot_preset_take();
    void slot_preset_save();
    void slot_preset_dlg();
    void slot_device_dlg();
    void slot_choose_skin();
    void slot_menu_on_line();
    void slot_animate_timer();
    void slot_crc_check();
    void slot_preset_pkg_install();
    void slot_startup_connect();
    void slot_netsrvr_dlg();
    void slot_config_dlg();
    void slot_time_set();
    void slot_event_dlg();
    // F1: the built-in help page.
    void slot_help();

protected:
    // The skin that needs a loaded bench is skipped until one is loaded.
    bool skinLoaded() const;
    void loadStartSkin();
    void contextMenuAt(int globalX, int globalY) override;

    // tcKelHost: what the bench asks of the window.
    bool kelOnlineWanted() const override { return onlineWanted(); }
    bool kelTcpMeters() const override { return tcpMeters(); }
    void kelSetTcpMeters(bool on) override { set_tcp_meters(on); }
    bool kelAskAccessCode(uint32_t codeCrc) override;
    void kelUnlocked() override;
    void kelWantTicks() override;

    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // With ORBA_REPORT_FIRST_PAINT set, the first paint of a loaded skin is reported on standard
    // error with the wall-clock time, for start-up measurements.
    void paintEvent(QPaintEvent *event) override;
    // Stops the timers and the session's link and lets the bench go; safe to call twice.
    void teardown();

private:
    int loadSkinFrom(std::shared_ptr<const orba::skin::SkinSource> source, QString *reason);
    int loadPackedSkin(const QString &path, orba::skin::PackContents pack, QString *reason);
    void showSkinProblem(const QString &name, const QString &reason);
    void connectBenchSignals();
    void connectSession();
    KelEnvironment benchEnvironment();
    void buildMenu();
    // The window's keyboard shortcuts, in one place.
    void buildActions();
    // False when the lock guards the control and the code was not given.
    bool controlAllowed(int control);
    void buildIcons();
    // The session's target from the current device (none without one).
    void targetCurrentDevice();
    orba::LoginAnswer askLogin();
    void linkStateChanged(LinkState state);

    // The link state on the surface, and undo (ap_widget_edits.cpp).
    void buildEditing(QMenu *menu);
    void showLinkLook(); // the banner and the on-line switch's caption
    void placeOverlays();
    void showNotice(const QString &text);
    void askOfflineEdits(int count);
    void stepEdit(bool undo);

    // What the window shows on the skin.
    void benchShowStatus(int display, const QString &text, StatusLook look); // 1004-1006
    void benchApplyAccess(const DeviceRecord &device);                       // lock code and bits
    void benchApplyAccess(uint32_t codeCrc, uint32_t bits, bool locked);
    void processorAccessChanged(); // globals 1017 and 1018 reported
    bool accessEditable(const tcKelBench *bench, const DeviceRecord *device) const;
    void benchClearAccess();                                                 // code 0, bits 0
    void showMeterDatagram(const QByteArray &datagram);

    // Owned in the order they are made; the session goes first.
    std::unique_ptr<IniStore> m_settings; // "KELQT.ini"
    AppFolders m_folders;
    std::unique_ptr<DeviceList> m_devices;
    std::unique_ptr<orba::QuickSave> m_quickSave;
    std::unique_ptr<orba::Session> m_session;
    // Preset transfers wait with the window's events running; both go before the session.
    std::unique_ptr<orba::ProgressWait> m_transferWait;
    std::unique_ptr<orba::PresetTransfer> m_transfer;

    QString m_skinName = QStringLiteral("default");
    bool m_skinIsFile = true;
    // The skin on the surface now (empty for the built-in one), marked in the skin dialog.
    QString m_loadedSkinName;
    bool m_loadedSkinIsFile = true;
    QString m_scaleProblem; // told once, though every skin load reads the scale file

    QMenu *m_menu = nullptr;
    QAction *m_onlineAction = nullptr;
    QAction *m_undoAction = nullptr, *m_redoAction = nullptr;
    QLabel *m_offlineBanner = nullptr;
    QLabel *m_notice = nullptr;
    QTimer *m_noticeTimer = nullptr;
    PresetIcons m_icons;

    QTimer *m_animateTimer = nullptr;
    QTimer *m_checkTimer = nullptr;
    std::unique_ptr<tcSplash> m_about;

    QString m_statusText, m_deviceText, m_presetText;
    StatusLook m_statusLook = StatusLook::Normal, m_deviceLook = StatusLook::Normal,
               m_presetLook = StatusLook::Normal;

    bool m_tornDown = false;
    bool m_firstPaintReported = false;

    orba::BootServerOptions m_bootOptions;
    tcFileDownloader *m_fileDownloader = nullptr;
};
