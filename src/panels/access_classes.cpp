#include "panels/access_classes.h"

namespace orba {

uint32_t restrictionClass(int controlId)
{
    switch (controlId) {
    case 1001: // SYS_ABOUT
    case 1002: // SYS_MINIMIZE
    case 1003: // SYS_EXIT
    case 1004: // STAT_ONLINE
    case 1005: // STAT_DEVICE
    case 1034: // DEVICES
    case 1035: // ONLINE
    case 9006: // GUILOCK
    case 9007: // SKIN
    case 11038:
    case 11039:
    case 11044:
    case 11045:
    case 11046: // the multiband row choice only changes the view
        return kRestrictNone;
    case 1006: // STAT_PRESET
    case 1033: // PRESETS
    case 9008: // EVENTSCHED
        return kRestrictTakes | kRestrictSaves;
    case 1007:
    case 1009:
    case 1024:
    case 1025:
    case 1027:
    case 1039:
    case 1040:
    case 1041:
    case 1042: // graph and meter views
        return kRestrictMeters;
    case 1014:
    case 1016:
    case 1018:
    case 1020:
    case 1021:
    case 1022:
    case 1023: // flow buttons
        return kRestrictScreens;
    case 1031: // SAVE
        return kRestrictSaves;
    case 1032: // TAKE
        return kRestrictTakes;
    case 9003: // PASSWORDS
    case 9005: // GUIACCESS
        return kRestrictAny;
    default:
        return kRestrictSettings;
    }
}

} // namespace orba
