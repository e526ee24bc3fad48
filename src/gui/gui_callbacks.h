// The plain callbacks through which GUI objects report the user's actions to their control panel:
// a function pointer and the context given with it, called as callback(context, controlId, ...).
// An unset callback is skipped.
#pragma once

using GuiNotify = void (*)(void *context, int controlId);
using GuiNotifyInt = void (*)(void *context, int controlId, int value);
using GuiNotifyBool = void (*)(void *context, int controlId, bool value);
using GuiNotifyText = void (*)(void *context, int controlId, const char *text);
using GuiNotifyToggle = void (*)(void *context, int controlId, int index, bool selected);
