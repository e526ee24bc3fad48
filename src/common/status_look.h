// How the status texts (link, device, preset) look on the main panel.
#pragma once

enum class StatusLook : int {
    Normal = 0,
    Alert = 1,    // red: off line when on line is wanted, a refused login
    Busy = 2,     // trying to connect
    Modified = 3, // the live settings differ from the current preset
};
