// How the status texts (link, device, preset) look on the main panel.
#pragma once

enum class StatusLook : int {
    Normal = 0,
    Alert = 1, // red: off line when on line is wanted, a refused login, a modified preset
    Busy = 2,  // trying to connect
};
