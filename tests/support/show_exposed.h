// Showing a widget and waiting until the platform has exposed it, so painting and grabbing work.
#pragma once

#include "wait.h"

#include <QWidget>
#include <QWindow>

namespace orba::test {

// False when the window never got exposed (a test should fail then, not go on blind).
inline bool showExposed(QWidget &widget, int timeoutMs = 5000)
{
    widget.show();
    const bool exposed = waitProcessingEvents(
        [&] { return widget.windowHandle() && widget.windowHandle()->isExposed(); }, timeoutMs);
    QCoreApplication::processEvents(); // what the exposure queued
    return exposed;
}

} // namespace orba::test
