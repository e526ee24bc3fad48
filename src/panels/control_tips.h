// What the controls of the surface say in their tooltips where no parameter names them: the
// window's buttons, switches, choices, status displays and graph rows, by skin object name.
#pragma once

namespace orba::panels {

// What the control does, or none for a name the table does not know.
const char *controlPurpose(const char *name);
// A readable name for a global the surface binds ("Headphone Level"), or none.
const char *globalTitle(unsigned id);

} // namespace orba::panels
