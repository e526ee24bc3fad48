// Shows message requests as real message boxes; installed by the application at start-up.
#pragma once

namespace orba {
void installWidgetMessageHandler();
}
