// The terminal gets warnings and errors; debug and information lines (the skin loader's reports,
// for instance) only when ORBA_DEBUG=1 asks for them.
#pragma once

#include <QtGlobal>

namespace orba {

// Whether a message of this type reaches the terminal, debug lines wanted or not.
bool debugLineShown(QtMsgType type, bool debugWanted);
// Reads ORBA_DEBUG and installs the filter in front of Qt's own output.
void installDebugFilter();

} // namespace orba
