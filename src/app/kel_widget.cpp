#include "app/kel_widget.h"

#include "app/app_objects.h"
#include "link/message_link.h"

#include <QCloseEvent>

using orba::app;

KelWidget::KelWidget(QWidget *parent) : tcApWidget(true, parent)
{
    resize(1100, 720);
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
    for (uint16_t id = orba::firstSettingId(); id != SETTINGS_END; id = orba::nextSettingId(id))
        g.settingsToShow->take(id);
}

void KelWidget::refreshGuiGlobals()
{
    auto &g = app();
    if (!g.globalsToShow)
        return;
    for (uint16_t id = orba::firstGlobalId(); id != 0xFFFF; id = orba::nextGlobalId(id))
        g.globalsToShow->take(id);
}

void KelWidget::fpPasswordDialog()
{
    require_online(QStringLiteral("Front Panel Password"));
}

void KelWidget::closeEvent(QCloseEvent *event)
{
    tcApWidget::closeEvent(event);
}
