#include "app/ap_widget.h"

#include "admin/device_list.h"
#include "app/app_objects.h"
#include "app/splash.h"
#include "common/ini_store.h"
#include "common/message.h"
#include "link/meter.h"
#include "link/tcp.h"
#include "panels/control_ids.h"
#include "presets/package_store.h"
#include "presets/quick_save.h"
#include "tables/globals_map.h"
#include "tables/settings_map.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPixmap>
#include <QProcess>
#include <QTimer>

using orba::app;

namespace orba {
AppObjects &app()
{
    static AppObjects objects;
    return objects;
}
} // namespace orba

tcApWidget::tcApWidget(bool wantMenu, QWidget *parent) : tcVORudWidget(parent)
{
    auto &g = app();
    g.mainWindow = this;

    PresetHeader blank;
    blank.clear();
    blank.inUse = 1;
    m_currentPreset.store(blank);

    setWindowTitle(QStringLiteral("ORBA"));
    setWindowIcon(QIcon(QStringLiteral(":/Resources/talmen_vee.png")));

    g.settings = new IniStore(QStringLiteral("KELQT.ini"), IniStore::XmlFile);
    // A crash must not bring back an older choice, such as the device to connect to.
    g.settings->setSaveOnWrite(true);

    g.appDir = QDir::current();
    g.appDir.mkdir(QStringLiteral("maps"));
    g.mapsDir = QDir(g.appDir.filePath(QStringLiteral("maps")));
    g.appDir.mkdir(QStringLiteral("presets"));
    g.presetsDir = QDir(g.appDir.filePath(QStringLiteral("presets")));
    g.presetsDir.mkdir(QStringLiteral("favorites"));
    g.favoritesDir = QDir(g.presetsDir.filePath(QStringLiteral("favorites")));
    g.appDir.mkdir(QStringLiteral("skins"));
    g.skinsDir = QDir(g.appDir.filePath(QStringLiteral("skins")));

    m_clock.clear();
    m_events.clear();
    m_version.clear();

    if (wantMenu)
        buildMenu();
    connectOwnSignals();

    m_statusText = QStringLiteral("OffLine");
    m_deviceText = QStringLiteral("--------");
    m_presetText = QStringLiteral("--------");

    buildIcons();

    g.grab = new GrabRecord;
    g.headerWait = new HeaderWaitRecord;
    g.settingsToSend = new SETTINGS_FLAGS;
    g.settingsToShow = new SETTINGS_FLAGS;
    g.globalsToSend = new GLOBALS_FLAGS;
    g.globalsToShow = new GLOBALS_FLAGS;
    g.globals = new GLOBALS_MAP;
    g.globals->setChangeCallback(&tcApWidget::onGlobalsChanged, this);
    g.live = new SETTINGS_MAP;
    g.live->setChangeCallback(&tcApWidget::onSettingsChanged, this);
    g.meters = new METERIFACE(nullptr, nullptr);
    m_linkState = LinkState::Initial;
    g.devices = new DeviceList(g.mapsDir);

    const QString device =
        g.settings->readString(QStringLiteral("DEVICE"), QStringLiteral("name"), QStringLiteral("????????"))
            .left(DeviceRecord::NAME_LENGTH);
    g.devices->setCurrentByName(device);
    setDeviceText(device, StatusLook::Normal);

    m_onlineWanted = g.settings->readInt(QStringLiteral("OPTIONS"), QStringLiteral("ONLINE"), 0) != 0;
    m_tcpMeters = g.settings->readInt(QStringLiteral("OPTIONS"), QStringLiteral("TCPMETERS"), 0) != 0;
    if (m_onlineAction)
        m_onlineAction->setChecked(m_onlineWanted);

    auto startTimer = [this](int ms, void (tcApWidget::*slot)()) {
        auto *t = new QTimer(this);
        connect(t, &QTimer::timeout, this, slot);
        t->start(ms);
        return t;
    };
    m_meterTimer = startTimer(101, &tcApWidget::slot_meter_timer);
    m_animateTimer = startTimer(100, &tcApWidget::slot_animate_timer);
    m_pingTimer = startTimer(2000, &tcApWidget::slot_ping_timer);
    m_checkTimer = startTimer(1000, &tcApWidget::slot_crc_check);
    m_watchTimer = startTimer(250, &tcApWidget::slot_link_watch);

    g.presetSlots = new PresetSlotList;
    g.quickSave = new orba::QuickSave(g.presetsDir.path());

    LinkContext context;
    context.live = g.live;
    context.globals = g.globals;
    context.presetSlots = g.presetSlots;
    context.grab = g.grab;
    context.headerWait = g.headerWait;
    context.version = &m_version;
    context.events = &m_events;
    context.currentPreset = &m_currentPreset;
    context.meters = g.meters;
    context.host = this;
    m_link = std::make_unique<MessageLink>(context);
    g.link = m_link.get();

    slot_centerMenu();
    PresetHeader current = m_currentPreset.load();
    current.setName("Unknown");
    m_currentPreset.store(current);

    emit sig_preset_pkg_install();
    emit sig_startup_connect();
    emit sig_crc_check();
}

tcApWidget::~tcApWidget()
{
    teardown();
}

void tcApWidget::buildMenu()
{
    m_menu = new QMenu(this);
    QMenu *file = m_menu->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("About..."), this, &tcApWidget::slot_about);
    file->addAction(QStringLiteral("Center Window"), this, &tcApWidget::slot_centerMenu);
    file->addAction(QStringLiteral("Choose Skin..."), this, &tcApWidget::slot_choose_skin);
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), this, &tcApWidget::slot_exitMenu);

    QMenu *hw = m_menu->addMenu(QStringLiteral("Hardware"));
    hw->addAction(QStringLiteral("Devices..."), this, &tcApWidget::slot_device_dlg);
    hw->addSeparator();
    m_onlineAction = hw->addAction(QStringLiteral("On-Line Mode..."), this, &tcApWidget::slot_menu_on_line);
    m_onlineAction->setCheckable(true);
    hw->addAction(QStringLiteral("Event Scheduler..."), this, &tcApWidget::slot_event_dlg);
    hw->addAction(QStringLiteral("Login Password..."), this, &tcApWidget::slot_password_dlg);
    hw->addAction(QStringLiteral("Front Panel Password..."), this, &tcApWidget::slot_fppasswd_dlg);
    hw->addSeparator();
    hw->addAction(QStringLiteral("Version..."), this, &tcApWidget::slot_version_dlg);
    hw->addSeparator();
    hw->addAction(QStringLiteral("Update..."), this, &tcApWidget::slot_swup_dlg);
    if (QFile::exists(QStringLiteral("rir_loader") + QStringLiteral(ORBA_EXE_SUFFIX)))
        hw->addAction(QStringLiteral("Update Front Panel GUI..."), this, &tcApWidget::slot_rir_dlg);
    hw->addSeparator();
    hw->addAction(QStringLiteral("Assign IP Address..."), this, &tcApWidget::slot_netsrvr_dlg);

    QMenu *presets = m_menu->addMenu(QStringLiteral("Presets"));
    presets->addAction(QStringLiteral("Take..."), this, &tcApWidget::slot_preset_take);
    presets->addAction(QStringLiteral("Save..."), this, &tcApWidget::slot_preset_save);
    presets->addAction(QStringLiteral("Library..."), this, &tcApWidget::slot_preset_dlg);
}

void tcApWidget::buildIcons()
{
    auto folderIcon = [](const char *closed, const char *open) {
        QIcon icon;
        icon.addPixmap(QPixmap(QString::fromLatin1(closed)), QIcon::Normal, QIcon::Off);
        icon.addPixmap(QPixmap(QString::fromLatin1(open)), QIcon::Active, QIcon::On);
        return icon;
    };
    auto fileIcon = [](const char *path) {
        QIcon icon;
        icon.addPixmap(QPixmap(QString::fromLatin1(path)), QIcon::Normal, QIcon::Off);
        return icon;
    };
    m_icons.folder = folderIcon(":/Resources/folder.bmp", ":/Resources/ofolder.bmp");
    m_icons.pfolder = folderIcon(":/Resources/pfolder.bmp", ":/Resources/opfolder.bmp");
    m_icons.doc = fileIcon(":/Resources/doc.bmp");
    m_icons.pdoc = fileIcon(":/Resources/pdoc.bmp");
    m_icons.updoc = fileIcon(":/Resources/updoc.bmp");
    m_icons.mpdoc = fileIcon(":/Resources/mpdoc.bmp");
    m_icons.ldoc = fileIcon(":/Resources/ldoc.bmp");
    m_icons.pldoc = fileIcon(":/Resources/pldoc.bmp");
}

void tcApWidget::connectOwnSignals()
{
    const auto q = Qt::QueuedConnection;
    connect(this, &tcApWidget::sig_map_settings_dirty, this, &tcApWidget::slot_map_settings_dirty, q);
    connect(this, &tcApWidget::sig_gui_settings_dirty, this, &tcApWidget::slot_gui_settings_dirty, q);
    connect(this, &tcApWidget::sig_map_globals_dirty, this, &tcApWidget::slot_map_globals_dirty, q);
    connect(this, &tcApWidget::sig_gui_globals_dirty, this, &tcApWidget::slot_gui_globals_dirty, q);
    connect(this, &tcApWidget::sig_connecting, this, &tcApWidget::slot_connecting, q);
    connect(this, &tcApWidget::sig_connect, this, &tcApWidget::slot_connect, q);
    connect(this, &tcApWidget::sig_connect_accepted, this, &tcApWidget::slot_connect_accepted, q);
    connect(this, &tcApWidget::sig_connect_rejected, this, &tcApWidget::slot_connect_rejected, q);
    connect(this, &tcApWidget::sig_disconnect, this, &tcApWidget::slot_disconnect, q);
    connect(this, &tcApWidget::sig_crc_check, this, &tcApWidget::slot_crc_check, q);
    connect(this, &tcApWidget::sig_preset_pkg_install, this, &tcApWidget::slot_preset_pkg_install, q);
    connect(this, &tcApWidget::sig_startup_connect, this, &tcApWidget::slot_startup_connect, q);
    connect(this, &tcApWidget::sig_request_meters, this, &tcApWidget::slot_request_meters, q);
}

namespace {

// Marks the id and raises the signal once until its slot has run.
template <class Flags>
void markChange(tcApWidget *self, Flags *flags, uint16_t id, std::atomic<bool> &pending,
                void (tcApWidget::*signal)())
{
    flags->set(id);
    if (!pending.exchange(true))
        emit(self->*signal)();
}

} // namespace

void tcApWidget::onSettingsChanged(void *context, uint16_t id, ChangeSource source)
{
    auto *self = static_cast<tcApWidget *>(context);
    if (changeIsSent(source))
        markChange(self, app().settingsToSend, id, self->m_mapSettingsPending,
                   &tcApWidget::sig_map_settings_dirty);
    if (changeIsShown(source))
        markChange(self, app().settingsToShow, id, self->m_guiSettingsPending,
                   &tcApWidget::sig_gui_settings_dirty);
}

void tcApWidget::onGlobalsChanged(void *context, uint16_t id, ChangeSource source)
{
    auto *self = static_cast<tcApWidget *>(context);
    if (changeIsSent(source))
        markChange(self, app().globalsToSend, id, self->m_mapGlobalsPending,
                   &tcApWidget::sig_map_globals_dirty);
    if (changeIsShown(source))
        markChange(self, app().globalsToShow, id, self->m_guiGlobalsPending,
                   &tcApWidget::sig_gui_globals_dirty);
}

void tcApWidget::setStatusText(const QString &text, StatusLook look)
{
    m_statusText = text;
    m_statusLook = look;
    if (skinLoaded())
        benchShowStatus(Ctl::STAT_ONLINE, text, look);
}

void tcApWidget::setDeviceText(const QString &text, StatusLook look)
{
    m_deviceText = text;
    m_deviceLook = look;
    if (skinLoaded())
        benchShowStatus(Ctl::STAT_DEVICE, text, look);
}

void tcApWidget::setPresetText(const QString &text, StatusLook look)
{
    m_presetText = text;
    m_presetLook = look;
    if (skinLoaded())
        benchShowStatus(Ctl::STAT_PRESET, text, look);
}

bool tcApWidget::require_online(const QString &title)
{
    if (m_onlineWanted && m_linkState.load() == LinkState::Online)
        return true;
    orba::showMessage(orba::MessageKind::Information, this, title, QStringLiteral("You must be online."));
    return false;
}

void tcApWidget::slot_centerMenu()
{
    centerOnScreen();
}

void tcApWidget::slot_exitMenu()
{
    QApplication::closeAllWindows();
}

void tcApWidget::slot_minimize()
{
    showMinimized();
}

void tcApWidget::slot_about()
{
    m_about = std::make_unique<tcSplash>(QPixmap(QStringLiteral(":/Resources/splash.bmp")));
    m_about->show();
    m_about->repaint();
}

void tcApWidget::slot_gui_settings_dirty()
{
    m_guiSettingsPending = false;
    refreshGuiSettings();
}

void tcApWidget::slot_gui_globals_dirty()
{
    m_guiGlobalsPending = false;
    refreshGuiGlobals();
}

void tcApWidget::slot_fppasswd_dlg()
{
    fpPasswordDialog();
}

void tcApWidget::slot_map_settings_dirty()
{
    m_mapSettingsPending = false;
}

void tcApWidget::slot_map_globals_dirty()
{
    m_mapGlobalsPending = false;
}

void tcApWidget::slot_password_dlg()
{
    require_online(QStringLiteral("Password Update"));
}

void tcApWidget::slot_swup_dlg()
{
    require_online(QStringLiteral("Update"));
}

void tcApWidget::slot_rir_dlg()
{
    const QFileInfo loader(QDir::current(), QStringLiteral("rir_loader") + QStringLiteral(ORBA_EXE_SUFFIX));
    if (loader.exists())
        QProcess::startDetached(loader.absoluteFilePath(), {});
}

// The GUI access and lock dialogs come with the access codes; both need a connected bench and a
// current device.
void tcApWidget::slot_gui_access() {}
void tcApWidget::slot_gui_lock() {}
// The take dialog and the preset library come with the preset transfers.
void tcApWidget::slot_preset_take() {}
void tcApWidget::slot_preset_dlg() {}

void tcApWidget::slot_animate_timer()
{
    if (tcBench *b = bench())
        b->tick();
}

void tcApWidget::slot_preset_pkg_install()
{
    auto &g = app();
    if (g.settings)
        orba::autoloadPackages(*g.settings, g.presetsDir.path(), g.favoritesDir.path());
}

void tcApWidget::slot_startup_connect()
{
    set_online(m_onlineWanted);
}

// The IP assignment dialog comes with the boot server.
void tcApWidget::slot_netsrvr_dlg() {}
void tcApWidget::slot_config_dlg() {}

void tcApWidget::slot_time_set()
{
    require_online(QStringLiteral("Set Time"));
}

void tcApWidget::slot_event_dlg()
{
    require_online(QStringLiteral("Event Scheduler"));
}

void tcApWidget::closeEvent(QCloseEvent *event)
{
    teardown();
    tcVORudWidget::closeEvent(event);
}

void tcApWidget::teardown()
{
    if (m_tornDown)
        return;
    m_tornDown = true;
    delete m_meterTimer;
    delete m_animateTimer;
    delete m_pingTimer;
    delete m_checkTimer;
    delete m_watchTimer;
    m_meterTimer = m_animateTimer = m_pingTimer = m_checkTimer = m_watchTimer = nullptr;
    // File / Exit closes the window from inside the menu's own key or mouse event, which goes on
    // using the menu after the action returns: the menu goes once that event is over.
    if (m_menu)
        m_menu->deleteLater();
    m_menu = nullptr;
    m_onlineAction = nullptr;

    auto &g = app();
    auto destroy = [](auto *&pointer) {
        auto *object = pointer;
        pointer = nullptr;
        delete object;
    };
    dropTransport();
    if (g.meters)
        g.meters->close();
    destroy(g.meters);
    // The panels point into the parameter sets and save their view into the settings store.
    setBench(nullptr);
    destroy(g.live);
    destroy(g.settingsToSend);
    destroy(g.settingsToShow);
    destroy(g.globals);
    destroy(g.globalsToSend);
    destroy(g.globalsToShow);
    destroy(g.grab);
    destroy(g.headerWait);
    destroy(g.presetSlots);
    destroy(g.quickSave);
    destroy(g.devices);
    g.link = nullptr;
    m_link.reset();
    destroy(g.settings); // flushes "KELQT.ini"
    g.appDir = g.mapsDir = g.presetsDir = g.favoritesDir = g.skinsDir = QDir();
    if (g.mainWindow == this)
        g.mainWindow = nullptr;
}
