// The preset library's icons, drawn in code for the default look: a padlock for each slot lock
// (open, closed, factory), a folder (protected folders carry a lock badge) and a preset file.
#pragma once

#include <QIcon>

namespace orba {

enum class PresetIcon { Unlocked, Locked, FactoryLocked, Folder, ProtectedFolder, File, ProtectedFile };

// 16 x 16 and 32 x 32, made once.
QIcon presetIcon(PresetIcon kind);

} // namespace orba
