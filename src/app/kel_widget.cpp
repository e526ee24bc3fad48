#include "app/kel_widget.h"

#include "admin/device_list.h"
#include "app/app_objects.h"
#include "link/message_link.h"
#include "panels/access_classes.h"

#include <QCloseEvent>

using orba::app;

KelWidget::KelWidget(QWidget *parent) : tcApWidget(true, parent)
{
    resize(1100, 720);
    loadStartSkin();
    // A skin brings its own title strip, window buttons and border; without one the window keeps the
    // desktop's frame so that it can still be moved and closed.
    if (skinLoaded())
        setWindowFlag(Qt::FramelessWindowHint);
    slot_centerMenu();
}

KelWidget::~KelWidget()
{
    // Stop the link's threads before any part of the window is gone.
    teardown();
}

void KelWidget::slot_map_settings_dirty()
{
    tcApWidget::slot_map_settings_dirty();
    auto &g = app();
    if (g.link && g.live && g.settingsToSend)
        g.link->send_changed_values(*g.live, *g.settingsToSend);
}

void KelWidget::slot_map_globals_dirty()
{
    tcApWidget::slot_map_globals_dirty();
    auto &g = app();
    if (g.link && g.globalsToSend)
        g.link->send_changed_globals(*g.globalsToSend);
}

void KelWidget::refreshGuiSettings()
{
    auto &g = app();
    if (!g.settingsToShow)
        return;
    tcKelBench *bench = kelBench();
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id)) {
        if (g.settingsToShow->take(id) && bench)
            bench->onSettingsId(id);
    }
}

void KelWidget::refreshGuiGlobals()
{
    auto &g = app();
    if (!g.globalsToShow)
        return;
    tcKelBench *bench = kelBench();
    DeviceRecord *device = g.devices ? g.devices->current() : nullptr;
    bool access = false; // code and classes come together: saved and applied once for both
    for (uint16_t id = orba::firstGlobalId(); id != orba::GLOBALS_END; id = orba::nextGlobalId(id)) {
        if (!g.globalsToShow->take(id) || !bench || !device || id == G_ACT_PRST || id == G_REMOTE_PW)
            continue;
        if (id == G_LOCAL_PW || id == G_LOCAL_ACC)
            access = true;
        else
            bench->onGlobalsId(id);
    }
    if (access) {
        const auto code = uint32_t(g.globals->get(G_LOCAL_PW));
        const auto bits = uint32_t(g.globals->get(G_LOCAL_ACC));
        device->saveAccess(code, bits, device->userLocked());
        benchApplyAccess(*device);
    }
}

void KelWidget::fpPasswordDialog()
{
    require_online(QStringLiteral("Front Panel Password"));
}
