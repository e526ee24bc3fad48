// The objects that live for the whole run. The main window creates them in a fixed order and
// destroys them in reverse; each is reached through this one place, cleared before it is destroyed.
#pragma once

#include <QDir>

class IniStore;
class SETTINGS_MAP;
class GLOBALS_MAP;
class tcApWidget;
class PresetSlotList;
class GrabRecord;
class HeaderWaitRecord;
class METERIFACE;
class DeviceList;
class MessageLink;
namespace orba {
class QuickSave;
}

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
    GrabRecord *grab = nullptr;             // a pending grab of a processor slot
    HeaderWaitRecord *headerWait = nullptr; // a wait for one slot's header
    METERIFACE *meters = nullptr;           // the meter receiver
    DeviceList *devices = nullptr;          // the processors, and the current one
    PresetSlotList *presetSlots = nullptr;  // the processor's 80 preset slots
    QuickSave *quickSave = nullptr;         // quick-save memories A and B
    MessageLink *link = nullptr;            // every message to the processor goes through it
    tcApWidget *mainWindow = nullptr;
};

AppObjects &app();

} // namespace orba
