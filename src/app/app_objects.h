// The objects that live for the whole run. The main window creates them in a fixed order and
// destroys them in reverse; each is reached through this one place, cleared before it is destroyed.
#pragma once

#include <QDir>

class IniStore;
class SETTINGS_MAP;
class GLOBALS_MAP;
class tcApWidget;
struct PresetHeader;

#include "tables/globals_map.h"
#include "tables/settings_map.h"

namespace orba {

struct AppObjects
{
    IniStore *settings = nullptr; // "KELQT.ini"
    QDir appDir;
    QDir mapsDir;
    QDir presetsDir;
    QDir favoritesDir;
    QDir skinsDir;
    SETTINGS_FLAGS *settingsToSend = nullptr;
    SETTINGS_FLAGS *settingsToShow = nullptr;
    GLOBALS_FLAGS *globalsToSend = nullptr;
    GLOBALS_FLAGS *globalsToShow = nullptr;
    GLOBALS_MAP *globals = nullptr;
    SETTINGS_MAP *live = nullptr;
    PresetHeader *presetSlots = nullptr; // the processor's 80 preset slots
    tcApWidget *mainWindow = nullptr;
};

AppObjects &app();

} // namespace orba
