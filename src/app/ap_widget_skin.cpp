// The main window's skin: loading a skin folder or a packed skin with its fallbacks, choosing one,
// wiring the control groups' signals, the right click, and what the connection manager and the
// meter timer show on the bench.
#include "app/ap_widget.h"

#include "admin/device_list.h"
#include "app/app_look.h"
#include "app/scale_file.h"
#include "common/ini_store.h"
#include "common/message.h"
#include "gui/dialog_run.h"
#include "panels/access_classes.h"
#include "panels/cg_main.h"
#include "panels/control_group.h"
#include "panels/control_ids.h"
#include "skin/skin_dlg.h"
#include "skin/skin_pack.h"
#include "skin/skin_source.h"

#include <QDateTime>
#include <QDebug>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kNoSkin = -10;
constexpr int kBadSkinFile = -11;
constexpr qint64 kMaxPeekedSettings = 1 << 20;
const QString kSkinSection = QStringLiteral("SKIN");
const QString kDefaultSkin = QStringLiteral("default");

QString packedSkinFile(const QDir &skins, const QString &name)
{
    return skins.filePath(name.endsWith(QStringLiteral(".skin"), Qt::CaseInsensitive) ? name
                                                                                      : name + QStringLiteral(".skin"));
}
} // namespace

bool tcApWidget::skinLoaded() const
{
    const tcKelBench *b = kelBench();
    return b && b->panelsCreated();
}

KelEnvironment tcApWidget::benchEnvironment()
{
    KelEnvironment env;
    env.live = &m_session->live();
    env.globals = &m_session->globals();
    env.settings = m_settings.get();
    env.quickSave = m_quickSave.get();
    env.settingsToShow = &m_session->settingsToShow();
    env.host = this;
    return env;
}

int tcApWidget::load_skin(const QString &name, bool isFile, QString *reason)
{
    int result = kNoSkin;
    if (!isFile) {
        const QString folder = m_folders.skins.filePath(name);
        if (!QFileInfo(folder).isDir())
            return kNoSkin;
        result = loadSkinFrom(std::make_shared<orba::skin::FolderSkinSource>(folder), reason);
    } else {
        const QString file = packedSkinFile(m_folders.skins, name);
        if (!QFileInfo(file).isFile())
            return kNoSkin;
        // Read into memory and loaded from there: nothing is written, so neither a full disk nor a
        // read-only or linked working folder stands in the way.
        result = loadPackedSkin(file, orba::skin::readPackedSkin(file), reason);
    }
    if (result == 0) {
        m_loadedSkinName = name;
        m_loadedSkinIsFile = isFile;
    }
    return result;
}

int tcApWidget::loadBuiltInSkin(QString *reason)
{
    QFile resource(builtInSkinPath());
    m_loadedSkinName.clear();
    return loadPackedSkin(
        builtInSkinPath(),
        orba::skin::parsePackedSkin(resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray()),
        reason);
}

int tcApWidget::loadPackedSkin(const QString &path, orba::skin::PackContents pack, QString *reason)
{
    if (pack.status != orba::skin::PackStatus::Ok) {
        if (reason)
            *reason = orba::skin::packProblem(pack) + QLatin1Char('.');
        return kBadSkinFile;
    }
    return loadSkinFrom(std::make_shared<orba::skin::PackSkinSource>(path, std::move(pack.entries)), reason);
}

int tcApWidget::loadSkinFrom(std::shared_ptr<const orba::skin::SkinSource> source, QString *reason)
{
    setBench(nullptr);
    auto *bench = new tcKelBench(this, std::move(source), benchEnvironment());
    setBench(bench);
    QString problem;
    const orba::ScaleFactors scale = orba::readScaleFile(QStringLiteral("ap_scale.ini"), problem);
    bench->setScaling(scale.x != 1.0f || scale.y != 1.0f, scale.x, scale.y);
    if (!problem.isEmpty() && problem != m_scaleProblem)
        orba::postMessage(orba::MessageKind::Warning, this, QStringLiteral("Scale"), problem);
    m_scaleProblem = problem;

    const int result = bench->loadSkin();
    if (result != 0) {
        if (reason)
            *reason = bench->loadFailure();
        return result;
    }

    bench->setupFirstScreen();
    // Menus and dialogs take the skin's colours and scale.
    orba::applyLook(bench, std::max(scale.x, scale.y));
    connectBenchSignals();
    tcControlGroupMain *main = bench->mainPanel();
    main->showStatus(Ctl::STAT_ONLINE, m_statusText, m_statusLook);
    main->showStatus(Ctl::STAT_DEVICE, m_deviceText, m_deviceLook);
    main->showStatus(Ctl::STAT_PRESET, m_presetText, m_presetLook);
    main->setOnlineCheck(onlineWanted());
    showLinkLook();
    // A skin chosen while connected keeps the device's lock.
    if (linkState() == LinkState::Online) {
        if (const DeviceRecord *device = m_devices->current())
            benchApplyAccess(*device);
    }
    update();
    return 0;
}

std::vector<QByteArray> tcApWidget::startSkinPictures()
{
    orba::IniEntries entries;
    QFile ini(settingsFileName());
    if (ini.size() <= kMaxPeekedSettings && ini.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = ini.readAll();
        orba::parseIniXml(bytes.constData(), size_t(bytes.size()), entries);
    }
    auto value = [&entries](const char *key, const QString &def) {
        const auto it = entries.find(kSkinSection + QLatin1Char(':') + QLatin1String(key));
        return it == entries.end() ? def : it->second;
    };
    // A folder skin is read as it loads: nothing ahead, not the default skin it would rarely need.
    if (orba::leadingInt(value("file", QStringLiteral("1"))) == 0)
        return {};
    // The order loadStartSkin() tries them in.
    const QDir skins(QDir::current().filePath(QStringLiteral("skins")));
    orba::skin::PackContents pack;
    const QString name = value("name", kDefaultSkin);
    if (QFileInfo(packedSkinFile(skins, name)).isFile())
        pack = orba::skin::readPackedSkin(packedSkinFile(skins, name));
    if (pack.entries.empty() && QFileInfo(packedSkinFile(skins, kDefaultSkin)).isFile())
        pack = orba::skin::readPackedSkin(packedSkinFile(skins, kDefaultSkin));
    if (pack.entries.empty()) {
        QFile resource(builtInSkinPath());
        if (resource.open(QIODevice::ReadOnly))
            pack = orba::skin::parsePackedSkin(resource.readAll());
    }
    // In the order the skin uses them, so what the first screen shows comes first: the pack's own
    // order is by name, and the screens not shown would come in between.
    std::vector<QByteArray> pictures;
    for (const size_t i : orba::skin::picturesInReadingOrder(pack)) {
        const orba::skin::PackEntry &entry = pack.entries[i];
        // Companions are decoded when the window asks for them, after its first paint.
        if (!entry.name.contains(QStringLiteral("@2x."), Qt::CaseInsensitive))
            pictures.push_back(entry.data);
    }
    return pictures;
}

void tcApWidget::loadStartSkin()
{
    m_skinName = m_settings->readString(kSkinSection, QStringLiteral("name"), kDefaultSkin);
    m_skinIsFile = m_settings->readInt(kSkinSection, QStringLiteral("file"), 1) != 0;
    // The first skin that is there but does not load is the one the user hears about.
    QString failedName, failure;
    auto tried = [&](const QString &name, int result, const QString &reason) {
        if (result != 0 && failure.isEmpty() && !reason.isEmpty()) {
            failedName = name;
            failure = reason;
        }
        return result == 0;
    };
    QString reason;
    if (!tried(m_skinName, load_skin(m_skinName, m_skinIsFile, &reason), reason)) {
        const QString fallback = kDefaultSkin;
        reason.clear();
        if (!tried(fallback, load_skin(fallback, true, &reason), reason)) {
            reason.clear();
            if (!tried(builtInSkinPath(), loadBuiltInSkin(&reason), reason))
                qWarning("No skin could be loaded, not even the built-in one: %s", qPrintable(reason));
        }
    }
    if (!failure.isEmpty())
        showSkinProblem(failedName, failure);
}

void tcApWidget::showSkinProblem(const QString &name, const QString &reason)
{
    // After the window is up, so the box has the surface behind it; the link starts meanwhile.
    orba::postMessage(orba::MessageKind::Warning, this, QStringLiteral("Skin Load Error"),
                      QStringLiteral("The skin \"%1\" could not be loaded:\n%2\n\nThe default skin is "
                                     "used instead.")
                          .arg(name, reason));
}

void tcApWidget::slot_choose_skin()
{
    if (m_tornDown)
        return;
    tcSkinDlg dialog(this, m_folders.skins);
    dialog.setCurrentSkin(m_loadedSkinName, m_loadedSkinIsFile);
    if (orba::runDialog(&dialog) != QDialog::Accepted)
        return;
    const QString name = dialog.chosenName();
    const bool isFile = dialog.chosenKind() == 1;
    QString reason;
    if (load_skin(name, isFile, &reason) == 0) {
        m_skinName = name;
        m_skinIsFile = isFile;
        m_settings->writeInt(kSkinSection, QStringLiteral("file"), isFile ? 1 : 0);
        m_settings->writeString(kSkinSection, QStringLiteral("name"), name);
        m_settings->flush();
        return;
    }
    QString text = QStringLiteral("Unable to load the skin \"%1\".").arg(name);
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    orba::showMessage(orba::MessageKind::Information, this, QStringLiteral("Choose Skin"), text);
    if (load_skin(m_skinName, m_skinIsFile) != 0 && load_skin(QStringLiteral("default"), true) != 0)
        loadBuiltInSkin();
}

void tcApWidget::connectBenchSignals()
{
    tcKelBench *b = kelBench();
    if (!b || !b->panelsCreated())
        return;
    const auto q = Qt::QueuedConnection;
    for (tcControlGroup *p : b->panels()) {
        connect(p, &tcControlGroup::sig_about, this, &tcApWidget::slot_about, q);
        connect(p, &tcControlGroup::sig_pset_take, this, &tcApWidget::slot_preset_take, q);
        connect(p, &tcControlGroup::sig_choose_skin, this, &tcApWidget::slot_choose_skin, q);
        connect(p, &tcControlGroup::sig_password, this, &tcApWidget::slot_password_dlg, q);
        connect(p, &tcControlGroup::sig_fppasswd, this, &tcApWidget::slot_fppasswd_dlg, q);
        connect(p, &tcControlGroup::sig_gui_access, this, &tcApWidget::slot_gui_access, q);
        connect(p, &tcControlGroup::sig_gui_lock, this, &tcApWidget::slot_gui_lock, q);
        connect(p, &tcControlGroup::sig_event_dlg, this, &tcApWidget::slot_event_dlg, Qt::DirectConnection);
        connect(p, &tcControlGroup::sig_pset_save, this, &tcApWidget::slot_preset_save, q);
        connect(p, &tcControlGroup::sig_online, this, &tcApWidget::slot_menu_on_line, q);
        connect(p, &tcControlGroup::sig_exit_app, this, &tcApWidget::slot_exitMenu, q);
        connect(p, &tcControlGroup::sig_minimize, this, &tcApWidget::slot_minimize, q);
        connect(p, &tcControlGroup::sig_pset_dlg, this, &tcApWidget::slot_preset_dlg, q);
        connect(p, &tcControlGroup::sig_device_dlg, this, &tcApWidget::slot_device_dlg, q);
        connect(p, &tcControlGroup::sig_time_set, this, &tcApWidget::slot_time_set, Qt::DirectConnection);
    }
}

void tcApWidget::paintEvent(QPaintEvent *event)
{
    tcVORudWidget::paintEvent(event);
    if (m_firstPaintReported || !skinLoaded())
        return;
    m_firstPaintReported = true;
    if (qEnvironmentVariableIsSet("ORBA_REPORT_FIRST_PAINT")) {
        const qint64 ms = QDateTime::currentMSecsSinceEpoch();
        // The size lets scripts/measure.sh open its bare window as large.
        std::fprintf(stderr, "orba: first skinned paint at %lld.%03lld (%dx%d)\n", ms / 1000, ms % 1000,
                     width(), height());
        std::fflush(stderr);
    }
}

void tcApWidget::contextMenuAt(int globalX, int globalY)
{
    if (m_menu)
        m_menu->popup(QPoint(globalX, globalY));
}

void tcApWidget::benchShowStatus(int display, const QString &text, StatusLook look)
{
    if (tcKelBench *b = kelBench(); b && b->mainPanel())
        b->mainPanel()->showStatus(display, text, look);
}

void tcApWidget::showMeterDatagram(const QByteArray &datagram)
{
    if (tcKelBench *b = kelBench(); b && b->panelsCreated())
        b->meterFrame(reinterpret_cast<const uint8_t *>(datagram.constData()));
}
