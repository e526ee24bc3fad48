#include "app/ap_widget.h"

#include "admin/device_list.h"
#include "admin/event_dlgs.h"
#include "app/help_dlg.h"
#include "app/splash.h"
#include "common/ini_store.h"
#include "common/message.h"
#include "gui/dialog_run.h"
#include "panels/cg_main.h"
#include "panels/control_ids.h"
#include "presets/package_store.h"
#include "presets/quick_save.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPixmap>
#include <QProcess>
#include <QTimer>

namespace {
const QString kOptions = QStringLiteral("OPTIONS");
const QString kDevice = QStringLiteral("DEVICE");
} // namespace

AppFolders AppFolders::makeInCurrent()
{
    AppFolders f;
    f.app = QDir::current();
    f.app.mkdir(QStringLiteral("maps"));
    f.maps = QDir(f.app.filePath(QStringLiteral("maps")));
    f.app.mkdir(QStringLiteral("presets"));
    f.presets = QDir(f.app.filePath(QStringLiteral("presets")));
    f.presets.mkdir(QStringLiteral("favorites"));
    f.favorites = QDir(f.presets.filePath(QStringLiteral("favorites")));
    f.app.mkdir(QStringLiteral("skins"));
    f.skins = QDir(f.app.filePath(QStringLiteral("skins")));
    return f;
}

tcApWidget::tcApWidget(bool wantMenu, const orba::SessionOptions &options, QWidget *parent)
    : tcVORudWidget(parent)
{
    setWindowTitle(QStringLiteral("ORBA"));
    setWindowIcon(QIcon(QStringLiteral(":/Resources/talmen_vee.png")));

    m_settings = std::make_unique<IniStore>(settingsFileName(), IniStore::XmlFile);
    // A crash must not bring back an older choice, such as the device to connect to.
    m_settings->setSaveOnWrite(true);
    m_folders = AppFolders::makeInCurrent();
    m_devices = std::make_unique<DeviceList>(m_folders.maps);
    m_quickSave = std::make_unique<orba::QuickSave>(m_folders.presets.path());

    orba::SessionOptions sessionOptions = options;
    sessionOptions.forceConnect = m_settings->readInt(kDevice, QStringLiteral("forceconnect"), 0) != 0;
    m_session = std::make_unique<orba::Session>(sessionOptions);
    m_session->setLoginPrompt([this] { return askLogin(); });
    m_transferWait = std::make_unique<orba::ProgressWait>(this);
    m_transfer = std::make_unique<orba::PresetTransfer>(*m_session, *m_transferWait);

    if (wantMenu)
        buildMenu();
    buildActions();
    buildEditing(m_menu);
    buildIcons();
    connectSession();

    m_statusText = QStringLiteral("OffLine");
    m_deviceText = QStringLiteral("--------");
    m_presetText = QStringLiteral("--------");

    const QString device = m_settings->readString(kDevice, QStringLiteral("name"), QStringLiteral("????????"))
                               .left(DeviceRecord::NAME_LENGTH);
    m_devices->setCurrentByName(device);
    targetCurrentDevice();
    set_device_text(device, StatusLook::Normal);

    m_session->set_tcp_meters(m_settings->readInt(kOptions, QStringLiteral("TCPMETERS"), 0) != 0);

    // Runs only while an object needs it (a held auto-repeat button, a marquee): an idle window
    // does not wake ten times a second for nothing.
    m_animateTimer = new QTimer(this);
    m_animateTimer->setInterval(100);
    connect(m_animateTimer, &QTimer::timeout, this, &tcApWidget::slot_animate_timer);
    m_checkTimer = new QTimer(this);
    connect(m_checkTimer, &QTimer::timeout, this, &tcApWidget::slot_crc_check);
    m_checkTimer->start(1000);

    slot_centerMenu();
    // Once the event loop runs: the window is up before the packages and the link take time.
    QMetaObject::invokeMethod(this, &tcApWidget::slot_preset_pkg_install, Qt::QueuedConnection);
    QMetaObject::invokeMethod(this, &tcApWidget::slot_startup_connect, Qt::QueuedConnection);
    QMetaObject::invokeMethod(this, &tcApWidget::slot_crc_check, Qt::QueuedConnection);
}

tcApWidget::~tcApWidget()
{
    teardown();
}

void tcApWidget::connectSession()
{
    using orba::Session;
    Session *s = m_session.get();
    connect(s, &Session::statusChanged, this, &tcApWidget::set_status_text);
    connect(s, &Session::stateChanged, this, &tcApWidget::linkStateChanged);
    connect(s, &Session::onlineWantedChanged, this, [this](bool wanted) {
        if (m_onlineAction)
            m_onlineAction->setChecked(wanted);
        if (tcKelBench *b = kelBench(); b && b->mainPanel())
            b->mainPanel()->setOnlineCheck(wanted);
        m_settings->writeInt(kOptions, QStringLiteral("ONLINE"), wanted ? 1 : 0);
        showLinkLook();
    });
    connect(s, &Session::offlineEditsWaiting, this, &tcApWidget::askOfflineEdits);
    connect(s, &Session::sig_gui_settings_dirty, this, &tcApWidget::slot_gui_settings_dirty);
    connect(s, &Session::sig_gui_globals_dirty, this, &tcApWidget::slot_gui_globals_dirty);
    connect(s, &Session::sig_crc_check, this, &tcApWidget::slot_crc_check);
    connect(s, &Session::metersArrived, this, &tcApWidget::showMeterDatagram);
}

void tcApWidget::linkStateChanged(LinkState state)
{
    showLinkLook();
    tcKelBench *b = kelBench();
    if (state == LinkState::Online) {
        if (const DeviceRecord *device = m_devices->current())
            benchApplyAccess(*device);
    } else if (state == LinkState::Offline && b) {
        benchClearAccess();
        b->resetMeters(); // no stale readings
    }
}

void tcApWidget::targetCurrentDevice()
{
    orba::SessionTarget target;
    if (const DeviceRecord *device = m_devices->current()) {
        target.name = device->name();
        target.address = device->ipAddress();
        target.loginCrc = device->remoteCodeCrc();
    }
    m_session->setTarget(target);
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

// The window's keys. They act while the window has the focus, menu shown or not; a modal dialog
// keeps them to itself.
void tcApWidget::buildActions()
{
    auto add = [this](const char *name, const QKeySequence &keys, auto slot) {
        auto *action = new QAction(QString::fromLatin1(name), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    // Save and take as the skin's buttons do them: a lock that guards them asks for the code.
    add("keySave", QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
        if (controlAllowed(Ctl::SAVE))
            slot_preset_save();
    });
    add("keyTake", QKeySequence(Qt::CTRL | Qt::Key_T), [this] {
        if (controlAllowed(Ctl::TAKE))
            slot_preset_take();
    });
    add("keyQuit", QKeySequence(Qt::CTRL | Qt::Key_Q), &tcApWidget::slot_exitMenu);
    add("keyHelp", QKeySequence(Qt::Key_F1), &tcApWidget::slot_help);
}

bool tcApWidget::controlAllowed(int control)
{
    tcKelBench *bench = kelBench();
    return !bench || bench->accessLevel(control) == 0;
}

void tcApWidget::slot_help()
{
    if (m_tornDown)
        return;
    tcHelpDlg dialog(this);
    orba::runDialog(&dialog);
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

void tcApWidget::set_status_text(const QString &text, StatusLook look)
{
    m_statusText = text;
    m_statusLook = look;
    benchShowStatus(Ctl::STAT_ONLINE, text, look);
}

void tcApWidget::set_device_text(const QString &text, StatusLook look)
{
    m_deviceText = text;
    m_deviceLook = look;
    benchShowStatus(Ctl::STAT_DEVICE, text, look);
}

void tcApWidget::set_preset_text(const QString &text, StatusLook look)
{
    m_presetText = text;
    m_presetLook = look;
    benchShowStatus(Ctl::STAT_PRESET, text, look);
}

bool tcApWidget::require_online(const QString &title)
{
    if (m_session && m_session->isOnline())
        return true;
    orba::showMessage(orba::MessageKind::Information, this, title, QStringLiteral("You must be online."));
    return false;
}

void tcApWidget::set_online(bool wanted)
{
    if (!m_tornDown)
        m_session->set_online(wanted);
}

void tcApWidget::set_tcp_meters(bool on)
{
    if (m_tornDown)
        return;
    m_settings->writeInt(kOptions, QStringLiteral("TCPMETERS"), on ? 1 : 0);
    m_session->set_tcp_meters(on);
}

void tcApWidget::slot_menu_on_line()
{
    set_online(!onlineWanted());
}

// The saved choice: a window closed on line connects again at the next start.
void tcApWidget::slot_startup_connect()
{
    set_online(m_settings->readInt(kOptions, QStringLiteral("ONLINE"), 0) != 0);
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
    // It takes the keyboard so that Esc closes it.
    m_about->activateWindow();
    m_about->setFocus();
}

void tcApWidget::slot_gui_settings_dirty()
{
    orba::Session &s = *m_session;
    tcKelBench *bench = kelBench();
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id)) {
        if (s.settingsToShow().take(id) && bench)
            bench->onSettingsId(id);
    }
}

void tcApWidget::slot_gui_globals_dirty()
{
    orba::Session &s = *m_session;
    tcKelBench *bench = kelBench();
    const bool device = m_devices->current() != nullptr;
    bool access = false; // code and classes come together: saved and applied once for both
    for (uint16_t id = orba::firstGlobalId(); id != orba::GLOBALS_END; id = orba::nextGlobalId(id)) {
        if (!s.globalsToShow().take(id) || !bench || !device || id == G_ACT_PRST || id == G_REMOTE_PW)
            continue;
        if (id == G_LOCAL_PW || id == G_LOCAL_ACC)
            access = true;
        else
            bench->onGlobalsId(id);
    }
    if (access)
        processorAccessChanged();
}

void tcApWidget::slot_rir_dlg()
{
    const QFileInfo loader(QDir::current(), QStringLiteral("rir_loader") + QStringLiteral(ORBA_EXE_SUFFIX));
    if (loader.exists())
        QProcess::startDetached(loader.absoluteFilePath(), {});
}

// The GUI access and lock dialogs come with the access codes; both need a connected bench and a
// current device.

void tcApWidget::slot_animate_timer()
{
    tcBench *b = bench();
    if (!b || !b->tick())
        m_animateTimer->stop();
}

void tcApWidget::kelWantTicks()
{
    if (!m_tornDown && !m_animateTimer->isActive())
        m_animateTimer->start();
}

void tcApWidget::slot_preset_pkg_install()
{
    if (!m_tornDown)
        orba::autoloadPackages(*m_settings, m_folders.presets.path(), m_folders.favorites.path());
}

void tcApWidget::slot_config_dlg() {}

void tcApWidget::slot_time_set()
{
    if (m_tornDown || !require_online(QStringLiteral("Set Time")))
        return;
    const bool hours24 = m_settings->readInt(QStringLiteral("OPTIONS"), QStringLiteral("TIME24HOUR"), 0) != 0;
    orba::runTimeSetDialog(*m_session, hours24, this);
}

void tcApWidget::slot_event_dlg()
{
    if (m_tornDown || !require_online(QStringLiteral("Event Scheduler")))
        return;
    tcEventScheduler dialog(*m_session, *m_settings, this);
    orba::runDialog(&dialog);
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
    m_animateTimer->stop();
    m_checkTimer->stop();
    // File / Exit closes the window from inside the menu's own key or mouse event, which goes on
    // using the menu after the action returns: the menu goes once that event is over.
    if (m_menu)
        m_menu->deleteLater();
    m_menu = nullptr;
    m_onlineAction = nullptr;
    m_undoAction = m_redoAction = nullptr;
    // The link's threads end first, then the panels, which point into the session's parameter sets
    // and save their view into the settings store.
    m_session->disconnect(this); // what on-line mode was stays saved for the next start
    m_session->set_online(false);
    setBench(nullptr);
}
